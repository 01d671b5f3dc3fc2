// Message boxes: a MessageBoxRequest (already translated) shown as a QMessageBox.
#pragma once

#include "MessageBoxRequest.h"

class CLanguage;
class QWidget;

namespace framework {

// Shows the box over `parent` (null: the main window) and returns the button pressed
// (mb::kIdOk, mb::kIdYes, ...). F1 in the box opens its help topic when it has one.
int ShowMessageBox(const MessageBoxRequest& request, QWidget* parent = nullptr);

// Makes CLanguage::MessageBox and its relatives show their boxes with ShowMessageBox.
void InstallMessageBoxes(CLanguage& language);

}  // namespace framework
