// What the X server knows of the keyboard now.
#pragma once

#include <cstdint>
#include <optional>

// Whether the X server holds down the key of this native scan code (its X keycode) at this
// moment; nothing off X11 (offscreen, Wayland) or for a code that is no X keycode.
std::optional<bool> ServerHoldsKey(uint32_t nativeScanCode);
