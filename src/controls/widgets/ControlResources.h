// Images and cursors by resource id. A file ":/res/bitmap/<id>.png", ":/res/icon/<id>.png" or
// ":/res/cursor/<id>.png" in the program's Qt resources is used when present; otherwise the
// controls' own drawings below answer.
//
//   cursors: 207 usable, 106 not usable (tool-window buttons), 289 hand (skinned sliders)
//   bitmaps: 285, 286 slider channels; 287 slider thumb, 288 slider thumb while pressed
//   icons:   252 PTT at rest; 253, 254 PTT keyed, bright and dim (the blink's two states)
//   both:    219 key cap (a button's normal look), 220 key cap, lighter (hovered look)
#pragma once

#include <QCursor>
#include <QPixmap>

#include <optional>

namespace res {
inline constexpr int kCursorAvailable = 207;
inline constexpr int kCursorUnavailable = 106;
inline constexpr int kCursorHand = 289;
inline constexpr int kBitmapChannel = 285;
inline constexpr int kBitmapChannel2 = 286;
inline constexpr int kBitmapThumb = 287;
inline constexpr int kBitmapThumbActive = 288;
inline constexpr int kImageKeyCap = 219;
inline constexpr int kImageKeyCapHovered = 220;
inline constexpr int kIconPttIdle = 252;
inline constexpr int kIconPttKeyed = 253;
inline constexpr int kIconPttKeyedDim = 254;

// Null pixmap / nullopt when the id is unknown.
QPixmap LoadBitmap(int id);
QPixmap LoadIcon(int id);
std::optional<QCursor> LoadCursor(int id);
}  // namespace res
