// CScale: the "Bands" tab page (dialog 4001). Four band sliders show the bands of one of three
// groups (160-30 m, 20-12 m, 10 m-70 cm); a label button selects its band, a slider tunes to
// its position (right click: manual input). The group shown is kept in CurrentSet/"Bande".
#pragma once

#include "TabPage.h"
#include "TuningMath.h"

#include <array>
#include <cstdint>

class CIni;
class CSkinSlider;

namespace bands {
class CTuning;
}

class CScale : public CTabPage {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 4001;
    static constexpr int kFirstSlider = 1236;  // 1236..1239
    static constexpr int kFirstLabel = 1113;   // 1113..1116
    static constexpr std::array<int, bands::kScaleGroups> kGroupButtons = {1210, 1212, 1213};

    CScale(bands::CTuning& tuning, CIni& ini);

    // Moves the first slider whose range strictly contains the frequency.
    void SetFrequency(int64_t hz);
    // Shows group 1..3 (others: 1) and stores it.
    void ShowGroup(int group);
    int Group() const { return group_; }

    CSkinSlider* Slider(int k) const;

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    void showEvent(QShowEvent* e) override;

private:
    void ManualInput(int k);

    bands::CTuning& tuning_;
    CIni& ini_;
    int group_ = 1;
    bool shownOnce_ = false;
};
