// The driver's settings, from the environment: SIMRADIO_MODEL, SIMRADIO_ADDRESS (hex),
// SIMRADIO_LATENCY (ms), SIMRADIO_AUDIO (0: no receiver audio), SIMRADIO_SIGNALS (signals on the
// air: "LOW-HIGH:READING" in Hz and S reading 0..255, several separated by ','), SIMRADIO_TRACE
// (a file that gets every frame the program sends, and a line "STOPPED WHILE KEYED" when DrvStop
// comes while the transmitter is keyed), SIMRADIO_HANG (n: from the n-th frame on, DrvSendCommand
// writes "HANGING" to the trace and returns only when DrvStop comes).
#pragma once

#include <string>
#include <vector>

#include "SimulatedRadio.h"

namespace simdriver {

struct DriverSettings {
    sim::SimConfig config;
    std::string tracePath;
    bool audio = true;
    int hangFrom = 0;  // 0: never
    std::vector<sim::SignalRange> signals;
    std::string problems;  // settings that were not understood (their defaults were used)
};

DriverSettings ReadSettings();
std::string DescribeSettings(const DriverSettings& settings);

}  // namespace simdriver
