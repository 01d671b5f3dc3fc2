// The main window's tuning controls: the eighteen digit buttons (1210-1227), the mouse wheel over
// the frequency display (frame 1312), the tuning sliders 1236 (a band) and 1250 (the 1 MHz
// window), right-click manual input on the frequency field 1000 and the sliders, the band and
// mode menus, and the band-stacking buttons 1054-1056.
//
// The main window creates one over itself and its bands::CTuning, makes it the tuning's display,
// and hands it its commands and wheel events first:
//
//   CTuningControls controls(*this, tuning);
//   tuning.SetDisplay(&controls);
//   bool OnCommand(int id, int code) { return controls.OnCommand(id, code) || ...; }
#pragma once

#include "Tuning.h"
#include "WheelTurn.h"

#include <QPoint>
#include <QPointer>
#include <QTimer>

#include <string>
#include <vector>

class CMyFontDialog;
class CScale;
class QMenu;
class QWidget;

class CTuningControls : public bands::ITuningDisplay {
public:
    static constexpr int kFrequencyField = 1000;
    static constexpr int kBandButton = 1052;
    static constexpr int kBandSlider = 1236;
    static constexpr int kWindowSlider = 1250;
    static constexpr int kDisplayFrame = 1312;
    static constexpr int kWheelSkipTicks = 10;
    // How soon a held-back wheel step is tried again.
    static constexpr int kWheelRetryMs = 10;

    // The window holds the controls named above; it and the tuning outlive this object.
    CTuningControls(CMyFontDialog& window, bands::CTuning& tuning);

    // The band scale page that follows the frequency (may be null).
    void SetScale(CScale* scale);

    // True when the command belonged to a tuning control.
    bool OnCommand(int id, int code);
    // A wheel turn at a point of the window (positive delta: away from the user). True when the
    // cursor lay over the frequency display, so the turn was taken here (a step a notch).
    bool OnWheel(QPoint posInWindow, int delta);

    // The band menu: the twelve bands, a separator and "General", commands 32785..32797.
    static QMenu* CreateBandMenu();
    // The mode menu of the "Mode" button: one command 32775 + i per name of the radio's mode
    // list, up to its first empty entry.
    static QMenu* CreateModeMenu(const std::vector<std::string>& names);

    // bands::ITuningDisplay
    void ShowBandButton(const std::string& text) override;
    void ShowTuningSlider(const bands::SliderPlacement& placement) override;
    void SetScaleFrequency(int64_t hz) override;

private:
    void OnBandStackingButton(int n);
    void OnManualInput(bool slider);
    // Sends the wheel steps held back while another command was being sent.
    void SendWheelSteps();

    CMyFontDialog& window_;
    int64_t wheelSteps_ = 0;  // not yet sent
    CWheelTurn wheelTurn_;
    QTimer* wheelRetry_ = nullptr;
    bands::CTuning& tuning_;
    QPointer<CScale> scale_;
};
