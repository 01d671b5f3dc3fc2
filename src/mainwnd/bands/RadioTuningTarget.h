// ITuningTarget over the radio controller and the main window's view: what the main window hands
// to bands::CTuning. The first-initialisation flag stays the main window's; it is asked through a
// function.
#pragma once

#include "Tuning.h"

#include <functional>

namespace radio {
class CRadioController;
class IRadioView;
}  // namespace radio

namespace bands {

class CRadioTuningTarget : public ITuningTarget {
public:
    // The controller and the view outlive this object.
    CRadioTuningTarget(radio::CRadioController& controller, radio::IRadioView& view,
                       std::function<bool()> firstInitialisation);

    double GetFrequencyField() const override;
    void SetFrequencyField(double hz) override;
    void ApplyFrequencyField() override;
    void SendFrequencyField() override;
    void SendModeCommand(int mode, int data) override;
    void ReadFrequencyMode() override;
    int64_t LowerLimit() const override;
    int64_t UpperLimit() const override;
    bool FirstInitialisation() const override;
    void SetStepping(bool on) override;
    void SkipPollTicks(int ticks) override;
    int CurrentMode() const override;
    int ModeCount() const override;
    void SetCurrentMode(int mode) override;
    void SetDuplexForMode(bool fm) override;
    bool FilterOn() const override;
    void SetFilterButton(bool on) override;
    void UpdateStatusLine() override;

private:
    radio::CRadioController& controller_;
    radio::IRadioView& view_;
    std::function<bool()> firstInitialisation_;
};

}  // namespace bands
