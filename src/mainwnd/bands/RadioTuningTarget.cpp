#include "RadioTuningTarget.h"

#include "RadioController.h"

namespace bands {

CRadioTuningTarget::CRadioTuningTarget(radio::CRadioController& controller, radio::IRadioView& view,
                                       radio::IRadioClients* clients, std::function<bool()> firstInitialisation)
    : controller_(controller), view_(view), clients_(clients), firstInitialisation_(std::move(firstInitialisation))
{
}

double CRadioTuningTarget::GetFrequencyField() const { return view_.GetFrequencyField(); }

void CRadioTuningTarget::SetFrequencyField(double hz) { view_.SetFrequencyField(hz); }

void CRadioTuningTarget::ApplyFrequencyField() { controller_.OnKillFocusFrequency(); }

void CRadioTuningTarget::SendFrequencyField()
{
    uint8_t bcd[5];
    const int64_t hz = controller_.FrequencyToBcd(bcd);
    if (hz == 0)
        return;  // outside the radio's limits: nothing the radio could take
    controller_.SendCommand(civ::kCmdSetFrequency, bcd[0], {bcd[1], bcd[2], bcd[3], bcd[4]});
    controller_.State().frequencyHz = hz;
    controller_.State().frequencyBlank = false;
}

void CRadioTuningTarget::SendModeCommand(int mode, int data)
{
    controller_.SendCommand(civ::kCmdSetMode, static_cast<uint8_t>(mode), {static_cast<uint8_t>(data)});
}

void CRadioTuningTarget::ReadFrequencyMode() { controller_.ReadFrequencyMode(true); }

int64_t CRadioTuningTarget::LowerLimit() const { return controller_.State().lowerLimit; }

int64_t CRadioTuningTarget::UpperLimit() const { return controller_.State().upperLimit; }

bool CRadioTuningTarget::FirstInitialisation() const { return firstInitialisation_ && firstInitialisation_(); }

void CRadioTuningTarget::SetStepping(bool on) { controller_.State().frequencyStepRunning = on; }

void CRadioTuningTarget::SkipPollTicks(int ticks) { controller_.SkipTicks(ticks); }

int CRadioTuningTarget::CurrentMode() const { return controller_.State().mode; }

int CRadioTuningTarget::ModeCount() const
{
    // The list may end in an empty entry that is no mode.
    int n = 0;
    for (const std::string& name : controller_.State().modeNames) {
        if (name.empty())
            break;
        ++n;
    }
    return n;
}

void CRadioTuningTarget::SetCurrentMode(int mode)
{
    radio::RadioState& s = controller_.State();
    if (mode < 0 || mode >= static_cast<int>(s.modeNames.size()))
        return;
    s.mode = mode;
    const std::string& name = s.modeNames[static_cast<size_t>(mode)];
    view_.SetModeText(name);
    if (clients_ != nullptr)
        clients_->DdeMode(name);
}

void CRadioTuningTarget::SetDuplexForMode(bool fm)
{
    if (fm) {
        controller_.RestoreDuplexButtons();
        return;
    }
    // Off without forgetting what FM will restore.
    radio::RadioState& s = controller_.State();
    s.duplexPlus = false;
    s.duplexMinus = false;
    view_.SetButton(radio::ctl::kDupPlus, false);
    view_.SetButton(radio::ctl::kDupMinus, false);
}

bool CRadioTuningTarget::FilterOn() const { return controller_.State().filterNarrow; }

void CRadioTuningTarget::SetFilterButton(bool on)
{
    controller_.State().filterNarrow = on;
    view_.SetButton(radio::ctl::kFilter, on);
}

void CRadioTuningTarget::UpdateStatusLine() { controller_.UpdateStatusLine(); }

}  // namespace bands
