// A stand-in for the controller's side of the tuning operations: it keeps a frequency, a mode and
// the filter, and records the CI-V commands asked for.
#pragma once

#include "Tuning.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tuningtest {

struct Sent {
    int command;  // 0x05, 0x06
    int64_t a;    // 05: the frequency; 06: the mode
    int b;        // 06: the data byte
    bool operator==(const Sent&) const = default;
};

class FakeTarget : public bands::ITuningTarget {
public:
    int64_t field = 14175000;
    int64_t lower = 30000;
    int64_t upper = 469999999;
    bool firstInit = false;
    bool stepping = false;
    bool steppingWhileSending = false;
    int mode = 1;
    int modeCount = 7;
    bool filter = true;
    int skipTicks = 0;
    int applies = 0;
    int reads = 0;
    std::vector<Sent> sent;

    int64_t Frequency() const override { return field; }
    void ApplyFrequency(int64_t hz) override
    {
        field = hz;
        ++applies;
        sent.push_back({0x05, field, 0});
    }
    void SendFrequency(int64_t hz) override
    {
        field = hz;
        if (stepping)
            steppingWhileSending = true;
        sent.push_back({0x05, field, 0});
    }
    void SendModeCommand(int m, int filter) override { sent.push_back({0x06, m, filter}); }
    void ReadFrequencyMode() override { ++reads; }
    int64_t LowerLimit() const override { return lower; }
    int64_t UpperLimit() const override { return upper; }
    bool FirstInitialisation() const override { return firstInit; }
    void SetStepping(bool on) override { stepping = on; }
    void SkipPollTicks(int ticks) override { skipTicks = ticks; }
    int CurrentMode() const override { return mode; }
    int ModeCount() const override { return modeCount; }
    // The mode menu's command as the controller sends it.
    bool SelectMode(int m) override
    {
        if (m < 0 || m >= modeCount)
            return false;
        mode = m;
        sent.push_back({0x06, m, filter ? 2 : 1});
        return true;
    }
    bool FilterOn() const override { return filter; }
};

class FakeDisplay : public bands::ITuningDisplay {
public:
    std::string bandText;
    std::vector<bands::SliderPlacement> sliders;
    std::vector<int64_t> scale;
    void ShowBandButton(const std::string& text) override { bandText = text; }
    void ShowTuningSlider(const bands::SliderPlacement& p) override { sliders.push_back(p); }
    void SetScaleFrequency(int64_t hz) override { scale.push_back(hz); }
};

}  // namespace tuningtest
