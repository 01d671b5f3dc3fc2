// ITuningTarget over the radio controller: what the main window hands to bands::CTuning. The
// first-initialisation flag stays the main window's; it is asked through a function.
#pragma once

#include "Tuning.h"

#include <functional>

namespace radio {
class CRadioController;
}  // namespace radio

namespace bands {

class CRadioTuningTarget : public ITuningTarget {
public:
    // The controller outlives this object.
    CRadioTuningTarget(radio::CRadioController& controller,
                       std::function<bool()> firstInitialisation);

    int64_t Frequency() const override;
    void ApplyFrequency(int64_t hz) override;
    void SendFrequency(int64_t hz) override;
    void SendModeCommand(int mode, int filter) override;
    void ReadFrequencyMode() override;
    int64_t LowerLimit() const override;
    int64_t UpperLimit() const override;
    bool FirstInitialisation() const override;
    void SetStepping(bool on) override;
    void SkipPollTicks(int ticks) override;
    bool Sending() const override;
    int CurrentMode() const override;
    int ModeCount() const override;
    bool SelectMode(int mode) override;
    bool FilterOn() const override;

private:
    radio::CRadioController& controller_;
    std::function<bool()> firstInitialisation_;
};

}  // namespace bands
