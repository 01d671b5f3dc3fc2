// The main window's band and tuning operations: following the band of the frequency, selecting
// a band from the band menu, the band-stacking registers, frequency steps, the operating mode,
// and the range of the tuning slider. They act on the radio through ITuningTarget
// (CRadioTuningTarget over the radio controller and the main window), and show their results
// through ITuningDisplay (the tuning controls).
#pragma once

#include "BandTable.h"
#include "TuningMath.h"

#include <cstdint>
#include <string>

class CIni;

namespace bands {

inline constexpr int kModeWfm = civ::kModeWfm;
inline constexpr int kModeFm = civ::kModeFm;
// Mode menu commands 32775.. for modes 0..6.
inline constexpr int kModeMenuFirst = 32775;
inline constexpr int kModeMenuLast = kModeMenuFirst + kModeCount - 1;
// Band-stacking buttons of registers 1..3.
inline constexpr int kStackButtons[kRegisterCount] = {1054, 1055, 1056};
// Choices of the band-stacking dialog.
enum StackChoice : int { kStackCancel = 0, kStackRecall = 1, kStackSave = 2 };

class ITuningTarget {
public:
    virtual ~ITuningTarget() = default;

    // The frequency in force (the one the frequency field shows), in Hz.
    virtual int64_t Frequency() const = 0;
    // A frequency as if typed into the field: command 05 and the band update.
    virtual void ApplyFrequency(int64_t hz) = 0;
    // Shows a frequency and sends it with command 05, without waiting.
    virtual void SendFrequency(int64_t hz) = 0;
    // Command 06 with the mode as sub-command, without waiting; filter is the stored code
    // (kFilterWide, kFilterNarrow), sent as the byte the mode takes.
    virtual void SendModeCommand(int mode, int filter) = 0;
    // Commands 03 and 04.
    virtual void ReadFrequencyMode() = 0;

    virtual int64_t LowerLimit() const = 0;
    virtual int64_t UpperLimit() const = 0;
    // Steps and recalls are ignored until the first initialisation has ended.
    virtual bool FirstInitialisation() const = 0;
    // Set while a step is being sent.
    virtual void SetStepping(bool on) = 0;
    // A wheel step: the next polling ticks are skipped.
    virtual void SkipPollTicks(int ticks) = 0;
    // True while another command is being sent; a step sent now would be refused.
    virtual bool Sending() const { return false; }

    // The current mode (-1 none yet) and the size of the radio's mode list.
    virtual int CurrentMode() const = 0;
    virtual int ModeCount() const = 0;
    // Selects a mode as the mode menu does; false for a mode outside the radio's mode list.
    virtual bool SelectMode(int mode) = 0;
    virtual bool FilterOn() const = 0;
};

class ITuningDisplay {
public:
    virtual ~ITuningDisplay() = default;
    // The "Band" button's caption (English; the display translates it).
    virtual void ShowBandButton(const std::string& text) = 0;
    // The tuning slider under the display, then the band scale page.
    virtual void ShowTuningSlider(const SliderPlacement& placement) = 0;
    virtual void SetScaleFrequency(int64_t hz) = 0;
};

class CTuning {
public:
    // The table, the store and the target outlive this object.
    CTuning(CBandTable& table, CIni& ini, ITuningTarget& target);

    void SetDisplay(ITuningDisplay* display) { display_ = display; }

    CBandTable& Table() { return table_; }
    ITuningTarget& Target() { return target_; }
    // 0..11, or -1 when the frequency lies in no amateur band.
    int CurrentBand() const { return band_; }
    bool Tracking() const { return tracking_; }

    // After each frequency change: the band of the frequency remembers it.
    void UpdateBandFromFrequency();
    // Band menu: row 0..12 and a frequency (0: the row's last frequency).
    void SelectBand(int row, double hz);
    // Band-stacking register n (1..3) with the dialog's choice.
    void OnBandStacking(int n, int choice);
    void RecallRegister(int n);
    void SaveRegister(int n);
    // Digit buttons and wheel: the frequency plus the step, kept within the radio's limits.
    void StepFrequency(int64_t step);
    // Mode menu; false for a mode outside the radio's mode list (nothing happens).
    bool SetModeIndex(int mode);
    // The slider under the display: the band's limits, or -1/-1 for the 1 MHz window.
    void UpdateTuningSlider(int64_t upper, int64_t lower, int64_t hz);
    // Sliders and manual input: tunes when the frequency lies within the radio's limits.
    bool TuneTo(int64_t hz);
    bool WithinLimits(int64_t hz) const
    {
        return hz >= target_.LowerLimit() && hz <= target_.UpperLimit();
    }

    // Menu commands: band 32785..32797 and mode 32775..32781. False for other ids.
    bool OnMenuCommand(int id);

private:
    int StackRow() const { return band_ < 0 ? kGeneralRow : band_; }

    CBandTable& table_;
    CIni& ini_;
    ITuningTarget& target_;
    ITuningDisplay* display_ = nullptr;
    CTuningWindow window_;
    int band_ = -1;
    bool tracking_ = true;
};

// The field's value as whole Hz within the 32-bit range of the band table.
int WholeHz(double hz);

}  // namespace bands
