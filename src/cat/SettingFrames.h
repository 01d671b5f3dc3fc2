// Which waiting command a newer one makes pointless: both set the same one thing on the radio
// (the frequency, the mode, the duplex offset, one switch), so only the newer value matters.
#pragma once

#include <cstdint>

namespace cat {

// True when `newer` sets what `waiting` sets, on the same radio. Reads, VFO and memory commands
// and anything unknown never match, so the order around them stays as queued.
bool SetsSameSetting(const uint8_t* waiting, int waitingLength, const uint8_t* newer,
                     int newerLength);

}  // namespace cat
