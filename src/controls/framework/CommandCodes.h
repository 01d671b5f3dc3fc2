// Control ids and the notification codes that controls pass to their dialog's OnCommand.
#pragma once

namespace ctl {
// Ids with a fixed meaning: a button with id kIdOk calls OnOK, one with kIdCancel calls OnCancel.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
// Dialog results of DoModal besides kIdOk and kIdCancel.
inline constexpr int kIdAbort = 3;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
// A control without an id of its own (labels nobody refers to).
inline constexpr int kIdStatic = -1;

// Notification codes (the high word of WM_COMMAND's wParam).
inline constexpr int kBnClicked = 0;
inline constexpr int kCbnSelChange = 1;
inline constexpr int kLbnSelChange = 1;
inline constexpr int kLbnDblClk = 2;
inline constexpr int kEnChange = 0x300;
// Mouse notifications of controls that report them (the mouse message numbers).
inline constexpr int kMouseMove = 0x200;
inline constexpr int kLButtonDown = 0x201;
inline constexpr int kLButtonUp = 0x202;
inline constexpr int kRButtonDown = 0x204;
inline constexpr int kRButtonUp = 0x205;
}  // namespace ctl
