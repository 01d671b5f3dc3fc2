// What sets the four models apart: bus address, band edges and the commands each one lacks.
#pragma once

#include <cstdint>
#include <string>

#include "SimulatedRadio.h"

namespace sim {

struct ReceiveRange {
    uint64_t lowHz;
    uint64_t highHz;
};

struct ModelInfo {
    RadioModel model;
    const char* name;
    uint8_t address;
    uint64_t lowHz;         // band edges: the lowest and highest frequency received
    uint64_t highHz;
    bool hasAttenuator;     // 11
    bool hasFunctions;      // 16
    bool hasDuplexOffset;   // 0C, 0D
    bool hasFm;             // modes FM and WFM
    bool hasToneSubs;       // 16 42, 16 43
    bool hasNrAnfSubs;      // 16 40, 16 41
    ReceiveRange ranges[2]; // what the receiver covers, inside the band edges
    int rangeCount;
};

const ModelInfo& ModelInfoFor(RadioModel model);

constexpr int kModeCount = 7;       // LSB USB AM CW RTTY FM WFM
constexpr int kModeFm = 5;
constexpr int kModeWfm = 6;
constexpr int kTuningStepCount = 10;

bool ModelHasMode(const ModelInfo& model, int mode);
// Whether the model's receiver covers the frequency.
bool ModelReceives(const ModelInfo& model, uint64_t hz);
// The covered frequency nearest to hz (the lower one of two at equal distance).
uint64_t NearestReceived(const ModelInfo& model, uint64_t hz);
// A radio's bus address in hexadecimal, with or without 0x. 00 (broadcast), E0 (the controller)
// and FA..FF (frame bytes) cannot be one.
bool ParseBusAddress(std::string text, int& address);
// The tuning step in Hz for step index 0..9; 0 for any other index.
uint64_t TuningStepHz(int index);

}  // namespace sim
