// The date field of the sked dialogs: a QDateEdit with a calendar popup, showing the date as the
// user's locale writes it (the clocks and the printed skeds write it so too).
#pragma once

#include <QString>

#include <optional>
#include <string_view>

// The control class name for dialog templates; the class is registered on the first call.
const char* DatePickerClass();

// A strftime date pattern as a Qt display format; nothing for a conversion without a match.
std::optional<QString> QtDateFormat(std::string_view pattern);
