// Skeds for the tests, and the CI-V frames of a radio trace that retune the radio.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "SkedLine.h"

namespace skedtest {

// VFO A on 7.074 MHz LSB, VFO B on 14.074 MHz USB narrow, split off, VFO A active.
inline std::string SkedText(const std::string& key, const std::string& description,
                            const std::string& frequencyA = "7.074.000")
{
    lists::SkedLine s;
    s.key = key;
    s.description = description;
    s.frequencyA = frequencyA;
    s.modeA = "LSB";
    s.frequencyB = "14.074.000";
    s.modeB = "USB";
    s.narrowB = true;
    return lists::JoinSkedLine(s) + "\n";
}

// The frequency, mode, VFO and split frames of the trace from `from` on, as "07 01", "05",
// "06", "0F 00" (the reads the program polls with are left out).
inline std::vector<std::string> TuningFrames(const std::string& trace, std::size_t from = 0)
{
    std::vector<std::string> frames;
    std::istringstream lines(trace.substr(std::min(from, trace.size())));
    for (std::string line; std::getline(lines, line);) {
        // "FE FE 58 E0 cc [ss ...] FD"
        if (line.size() < 17 || line.rfind("FE FE ", 0) != 0)
            continue;
        const std::string command = line.substr(12, 2);
        if (command == "05" || command == "06")
            frames.push_back(command);
        else if (command == "07" || command == "0F")
            frames.push_back(line.substr(12, 5));
    }
    return frames;
}

}  // namespace skedtest
