// A message box as the language table describes it; the widgets layer shows it.
#pragma once

#include <functional>
#include <string>

namespace mb {
// Box styles (combinable) and the answers, with their usual values.
inline constexpr unsigned kOk = 0x0;
inline constexpr unsigned kYesNo = 0x4;
inline constexpr unsigned kIconError = 0x10;
inline constexpr unsigned kIconQuestion = 0x20;
inline constexpr unsigned kIconExclamation = 0x30;
inline constexpr unsigned kIconInformation = 0x40;
inline constexpr unsigned kDefButton2 = 0x100;
inline constexpr unsigned kButtonsMask = 0xF;

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
}  // namespace mb

struct MessageBoxRequest {
    std::string text;     // translated
    std::string caption;  // translated; empty = the program's title
    unsigned style = mb::kOk;
    int helpId = 0;  // help topic for F1, 0 = none
};

// Shows the box and returns the button pressed (mb::kIdOk, kIdYes, ...).
using MessageBoxSink = std::function<int(const MessageBoxRequest&)>;
