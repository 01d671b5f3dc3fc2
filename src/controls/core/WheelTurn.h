// A wheel's turn counted in whole steps. High-resolution wheels and touchpads send a notch (or a
// row's pixels) in parts; the parts add up, and what is left over waits for the next event
// instead of being dropped, so slow turns scroll as far as fast ones.
#pragma once

inline constexpr int kWheelNotch = 120;  // angle units of one notch of a common wheel

class CWheelTurn {
public:
    // Adds `amount` and returns the whole steps of `perStep` now complete (signed, as the
    // amount). A turn the other way starts afresh.
    long long Add(long long amount, long long perStep);

private:
    long long rest_ = 0;
};
