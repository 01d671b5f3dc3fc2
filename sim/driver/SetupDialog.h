// The driver's set-up dialog: a message box when the program runs a Qt application, else
// nothing (the caller prints instead).
#pragma once

#include <string>

namespace simdriver {

// True when the text was shown in a dialog owned by `owner` (a QWidget* or null).
bool ShowSetupDialog(void* owner, const std::string& text);

}  // namespace simdriver
