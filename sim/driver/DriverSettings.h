// The driver's settings, from the environment: SIMRADIO_MODEL, SIMRADIO_ADDRESS (hex),
// SIMRADIO_LATENCY (ms), SIMRADIO_AUDIO (0: no receiver audio), SIMRADIO_TRACE (a file that gets
// every frame the program sends, and a line "STOPPED WHILE KEYED" when DrvStop comes while the
// transmitter is keyed).
#pragma once

#include <string>

#include "SimulatedRadio.h"

namespace simdriver {

struct DriverSettings {
    sim::SimConfig config;
    std::string tracePath;
    bool audio = true;
    std::string problems;  // settings that were not understood (their defaults were used)
};

DriverSettings ReadSettings();
std::string DescribeSettings(const DriverSettings& settings);

}  // namespace simdriver
