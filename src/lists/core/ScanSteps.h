// The tuning steps the scan pages and the scan presets offer. An entry's index is the radio's
// tuning-step code (command 10); the software scan steps by the entry's hertz.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace lists {

struct ScanStep {
    std::string_view text;
    int64_t hz;
};

inline constexpr std::array<ScanStep, 10> kScanSteps{{{"10 Hz", 10},
                                                      {"100 Hz", 100},
                                                      {"1 KHz", 1000},
                                                      {"5 KHz", 5000},
                                                      {"9 KHz", 9000},
                                                      {"10 KHz", 10000},
                                                      {"12.5 KHz", 12500},
                                                      {"20 KHz", 20000},
                                                      {"25 KHz", 25000},
                                                      {"100 KHz", 100000}}};

// The index of a step's text (exact match), or -1.
int ScanStepIndex(std::string_view text);
// The hertz of a step's text; 0 for a text that is no step.
int64_t ScanStepHz(std::string_view text);

}  // namespace lists
