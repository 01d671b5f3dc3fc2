// The date field of the sked dialogs: a QDateEdit with a calendar popup, day first.
#pragma once

// The control class name for dialog templates; the class is registered on the first call.
const char* DatePickerClass();
