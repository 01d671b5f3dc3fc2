// CLevelMeter: the LED-bar S-meter. Bars of segments, green up to the medium threshold, yellow
// up to the high one and red above; every reading is shown as it is set (no fall-off).
#pragma once

#include "MeterSegments.h"

#include <QWidget>

#include <vector>

class CLevelMeter : public QWidget {
    Q_OBJECT
public:
    static constexpr int kControlId = 1164;

    struct Band {
        int value = 0;
        int peak = 0;
        int hold = 0;
    };

    explicit CLevelMeter(QWidget* parent = nullptr);

    // Places the meter in `parent` at `rect`, shown, with the meter's control id.
    bool Create(const QRect& rect, QWidget* parent);
    void SetBackgroundColor(COLORREF color);
    // The main window's configuration: 1 bar of 18 segments, scale 18, yellow from 9, red from 13.
    void SetMeterBands() { SetMeterBands(1, 18); }
    void SetMeterBands(int bands, int leds);
    void SetRangeValue() { SetRangeValue(9, 13, 18); }
    void SetRangeValue(int medium, int high, int max);
    void ShowGrid();
    void ShowFalloff() {}
    // Sets the first bar; false for a null pointer.
    bool SetData(const int* value);
    void ResetControl();

    const MeterConfig& Config() const { return config_; }
    const std::vector<Band>& Bands() const { return bands_; }

protected:
    void paintEvent(QPaintEvent* e) override;
    QSize sizeHint() const override { return {180, 16}; }

private:
    MeterConfig config_;
    int falloffHold_ = 10;
    std::vector<Band> bands_;
};
