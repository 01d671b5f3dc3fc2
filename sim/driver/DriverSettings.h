// The driver's settings, from the environment: SIMRADIO_MODEL, SIMRADIO_ADDRESS (hex),
// SIMRADIO_LATENCY (ms), SIMRADIO_TRACE (a file that gets every frame the program sends, and a line
// "STOPPED WHILE KEYED" when DrvStop comes while the transmitter is keyed).
#pragma once

#include <string>

#include "SimulatedRadio.h"

namespace simdriver {

struct DriverSettings {
    sim::SimConfig config;
    std::string tracePath;
    std::string problems;  // settings that were not understood (their defaults were used)
};

DriverSettings ReadSettings();
std::string DescribeSettings(const DriverSettings& settings);

}  // namespace simdriver
