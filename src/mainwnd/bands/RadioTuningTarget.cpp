#include "RadioTuningTarget.h"

#include "RadioController.h"

namespace bands {

CRadioTuningTarget::CRadioTuningTarget(radio::CRadioController& controller,
                                       std::function<bool()> firstInitialisation)
    : controller_(controller), firstInitialisation_(std::move(firstInitialisation))
{
}

int64_t CRadioTuningTarget::Frequency() const
{
    return controller_.State().frequencyHz;
}

void CRadioTuningTarget::ApplyFrequency(int64_t hz)
{
    controller_.OnKillFocusFrequency(static_cast<double>(hz));
}

void CRadioTuningTarget::SendFrequency(int64_t hz)
{
    // Through the controller's own send: limits, no send inside another, the band display.
    controller_.SetFrequency(hz);
}

void CRadioTuningTarget::SendModeCommand(int mode, int filter)
{
    if (const radio::ModeInfo* info = radio::ModeInfoFor(mode))
        controller_.SendCommand(civ::kCmdSetMode, info->civ,
                                {civ::FilterByte(info->civ, filter == kFilterNarrow)});
}

void CRadioTuningTarget::ReadFrequencyMode()
{
    // Without waiting: the answers arrive through the receive path.
    controller_.SendCommand(civ::kCmdReadFrequency);
    controller_.SendCommand(civ::kCmdReadMode);
}

int64_t CRadioTuningTarget::LowerLimit() const
{
    return controller_.State().lowerLimit;
}

int64_t CRadioTuningTarget::UpperLimit() const
{
    return controller_.State().upperLimit;
}

bool CRadioTuningTarget::FirstInitialisation() const
{
    return firstInitialisation_ && firstInitialisation_();
}

void CRadioTuningTarget::SetStepping(bool on)
{
    controller_.SetFrequencyStepping(on);
}

bool CRadioTuningTarget::Sending() const
{
    return controller_.State().sending;
}

void CRadioTuningTarget::SkipPollTicks(int ticks)
{
    controller_.SkipTicks(ticks);
}

int CRadioTuningTarget::CurrentMode() const
{
    return controller_.State().mode;
}

int CRadioTuningTarget::ModeCount() const
{
    return static_cast<int>(controller_.State().modeNames.size());
}

bool CRadioTuningTarget::SelectMode(int mode)
{
    return controller_.SetMode(mode);
}

bool CRadioTuningTarget::FilterOn() const
{
    return controller_.State().filterNarrow;
}

}  // namespace bands
