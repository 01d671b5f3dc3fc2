#include "Tuning.h"

#include <climits>
#include <cmath>

namespace bands {

int WholeHz(double hz)
{
    if (!std::isfinite(hz) || hz <= static_cast<double>(INT_MIN))
        return std::isfinite(hz) ? INT_MIN : 0;
    if (hz >= static_cast<double>(INT_MAX))
        return INT_MAX;
    return static_cast<int>(hz);
}

CTuning::CTuning(CBandTable& table, CIni& ini, ITuningTarget& target)
    : table_(table), ini_(ini), target_(target)
{
}

void CTuning::UpdateBandFromFrequency()
{
    if (!tracking_)
        return;
    const int f = WholeHz(static_cast<double>(target_.Frequency()));
    const int i = table_.FindBand(f);
    band_ = i;
    if (i < 0) {
        UpdateTuningSlider(-1, -1, f);
        if (display_ != nullptr)
            display_->ShowBandButton(BandMenuText(kGeneralRow));
        return;
    }
    BandRow& row = table_.Row(i);
    if (display_ != nullptr)
        display_->ShowBandButton(BandMenuText(i));
    row.frequency = f;
    const int mode = target_.CurrentMode();
    if (mode >= 0 && mode < kModeCount)
        row.mode = mode;
    row.filter = target_.FilterOn() ? kFilterNarrow : kFilterWide;
    UpdateTuningSlider(row.upper, row.lower, f);
}

void CTuning::SelectBand(int row, double hz)
{
    if (!CBandTable::IsRow(row))
        return;
    tracking_ = false;
    const BandRow& r = table_.Row(row);
    if (!std::isfinite(hz) || hz < r.lower || hz > r.upper || hz == 0)
        hz = r.frequency;
    target_.SendFrequency(static_cast<int64_t>(hz));
    // A stored mode the radio does not have is not sent.
    if (r.mode >= 0 && r.mode < target_.ModeCount())
        target_.SendModeCommand(r.mode, r.filter);
    target_.ReadFrequencyMode();
    tracking_ = true;
    UpdateBandFromFrequency();
}

void CTuning::OnBandStacking(int n, int choice)
{
    if (choice == kStackRecall)
        RecallRegister(n);
    else if (choice == kStackSave)
        SaveRegister(n);
}

void CTuning::RecallRegister(int n)
{
    if (target_.FirstInitialisation() || n < 1 || n > kRegisterCount)
        return;
    const StackRegister& reg = table_.Row(StackRow()).registers[static_cast<size_t>(n - 1)];
    if (!WithinLimits(reg.frequency))
        return;
    const int mode = reg.mode;
    target_.SendFrequency(reg.frequency);
    SetModeIndex(mode);
}

void CTuning::SaveRegister(int n)
{
    if (n < 1 || n > kRegisterCount)
        return;
    const int row = StackRow();
    StackRegister& reg = table_.Row(row).registers[static_cast<size_t>(n - 1)];
    reg.frequency = WholeHz(static_cast<double>(target_.Frequency()));
    const int mode = target_.CurrentMode();
    reg.mode = (mode >= 0 && mode < kModeCount) ? mode : 0;
    table_.WriteRegister(ini_, row, n);
}

void CTuning::StepFrequency(int64_t step)
{
    if (target_.FirstInitialisation())
        return;
    target_.SetStepping(true);
    const int64_t f = SteppedFrequency(static_cast<double>(target_.Frequency()), step,
                                       target_.LowerLimit(), target_.UpperLimit());
    target_.SendFrequency(f);
    UpdateBandFromFrequency();
    target_.SetStepping(false);
}

bool CTuning::SetModeIndex(int mode)
{
    if (mode < 0 || mode >= target_.ModeCount() || mode >= kModeCount)
        return false;
    return target_.SelectMode(mode);
}

void CTuning::UpdateTuningSlider(int64_t upper, int64_t lower, int64_t hz)
{
    SliderPlacement p;
    if (!window_.Update(upper, lower, hz, target_.LowerLimit(), p))
        return;
    if (display_ != nullptr) {
        display_->ShowTuningSlider(p);
        display_->SetScaleFrequency(hz);
    }
}

bool CTuning::TuneTo(int64_t hz)
{
    if (!WithinLimits(hz))
        return false;
    target_.ApplyFrequency(hz);
    return true;
}

bool CTuning::OnMenuCommand(int id)
{
    if (id >= kBandMenuFirst && id <= kBandMenuLast) {
        SelectBand(id - kBandMenuFirst, 0);
        return true;
    }
    if (id >= kModeMenuFirst && id <= kModeMenuLast) {
        SetModeIndex(id - kModeMenuFirst);
        return true;
    }
    return false;
}

}  // namespace bands
