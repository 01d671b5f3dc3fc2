#include "RadioTuningTarget.h"

#include "RadioController.h"

namespace bands {

CRadioTuningTarget::CRadioTuningTarget(radio::CRadioController& controller, radio::IRadioView& view,
                                       std::function<bool()> firstInitialisation)
    : controller_(controller), view_(view), firstInitialisation_(std::move(firstInitialisation))
{
}

double CRadioTuningTarget::GetFrequencyField() const { return view_.GetFrequencyField(); }

void CRadioTuningTarget::SetFrequencyField(double hz) { view_.SetFrequencyField(hz); }

void CRadioTuningTarget::ApplyFrequencyField() { controller_.OnKillFocusFrequency(); }

void CRadioTuningTarget::SendFrequencyField()
{
    // Through the controller's own send: limits, no send inside another, the band display.
    controller_.SetFrequency(static_cast<int64_t>(view_.GetFrequencyField()));
}

void CRadioTuningTarget::SendModeCommand(int mode, int data)
{
    if (const radio::ModeInfo* info = radio::ModeInfoFor(mode))
        controller_.SendCommand(civ::kCmdSetMode, info->civ, {static_cast<uint8_t>(data)});
}

void CRadioTuningTarget::ReadFrequencyMode()
{
    // Without waiting: the answers arrive through the receive path.
    controller_.SendCommand(civ::kCmdReadFrequency);
    controller_.SendCommand(civ::kCmdReadMode);
}

int64_t CRadioTuningTarget::LowerLimit() const { return controller_.State().lowerLimit; }

int64_t CRadioTuningTarget::UpperLimit() const { return controller_.State().upperLimit; }

bool CRadioTuningTarget::FirstInitialisation() const { return firstInitialisation_ && firstInitialisation_(); }

void CRadioTuningTarget::SetStepping(bool on) { controller_.SetFrequencyStepping(on); }

void CRadioTuningTarget::SkipPollTicks(int ticks) { controller_.SkipTicks(ticks); }

int CRadioTuningTarget::CurrentMode() const { return controller_.State().mode; }

int CRadioTuningTarget::ModeCount() const { return static_cast<int>(controller_.State().modeNames.size()); }

void CRadioTuningTarget::SetCurrentMode(int mode) { controller_.ShowMode(mode); }

void CRadioTuningTarget::SetDuplexForMode(bool fm)
{
    if (fm) {
        controller_.RestoreDuplexButtons();
        return;
    }
    controller_.ClearDuplexButtons();
}

bool CRadioTuningTarget::FilterOn() const { return controller_.State().filterNarrow; }

void CRadioTuningTarget::SetFilterButton(bool on)
{
    controller_.ShowFilter(on);
}

void CRadioTuningTarget::UpdateStatusLine() { controller_.UpdateStatusLine(); }

}  // namespace bands
