// The simulated radio's view of the shared model table, and what only the simulation needs:
// bus address parsing and the tuning steps.
#pragma once

#include <cstdint>
#include <string>

#include "ModelCaps.h"
#include "SimulatedRadio.h"

namespace sim {

using ModelInfo = civ::ModelCaps;
using civ::kModeCount;
using civ::kModeFm;
using civ::kModeWfm;

constexpr int kTuningStepCount = 10;

const ModelInfo& ModelInfoFor(RadioModel model);

// A radio's bus address in hexadecimal, with or without 0x. 00 (broadcast), E0 (the controller)
// and FA..FF (frame bytes) cannot be one.
bool ParseBusAddress(std::string text, int& address);
// The tuning step in Hz for step index 0..9; 0 for any other index.
uint64_t TuningStepHz(int index);

}  // namespace sim
