#include "Scale.h"

#include "ControlResources.h"
#include "FlatButton.h"
#include "Ini.h"
#include "ManualInput.h"
#include "SkinSlider.h"
#include "ToolTipLoc.h"
#include "Tuning.h"

namespace {
using namespace tpl;

constexpr int kImageAvailable = 207;
constexpr int kTipSlider = 1354;
constexpr int kTipLabel = 1332;
constexpr std::array<int, bands::kScaleGroups> kTipGroups = {1329, 1330, 1331};
const settings::IniInt kBande{"CurrentSet", "Bande", 1};

TemplateItem SliderRow(int k)
{
    return Row({Control(CScale::kFirstLabel + k, "CFlatButton", "", kNoTranslate, 8),
                Stretched(Control(CScale::kFirstSlider + k, "CSkinSlider"), 1)});
}

const DialogTemplateRegistration kTemplate{DialogTemplate{
    CScale::kTemplateId, "Bands",
    Column({Row({Control(CScale::kGroupButtons[0], "COnOffButton", "160 - 30 mt"),
                 Control(CScale::kGroupButtons[1], "COnOffButton", "20 - 12 mt"),
                 Control(CScale::kGroupButtons[2], "COnOffButton", "10 mt - 70 cm"), Stretch()}),
            SliderRow(0), SliderRow(1), SliderRow(2), SliderRow(3), Stretch()})}};
}  // namespace

CScale::CScale(bands::CTuning& tuning, CIni& ini)
    : CTabPage(kTemplateId), tuning_(tuning), ini_(ini)
{
    // The group buttons share their ids with the main window's digit buttons: never routed on.
    RouteCommand = 0;
}

CSkinSlider* CScale::Slider(int k) const
{
    return k >= 0 && k < bands::kScaleSliders ? GetDlgItemAs<CSkinSlider>(kFirstSlider + k)
                                              : nullptr;
}

bool CScale::OnInitDialog()
{
    for (int k = 0; k < bands::kScaleSliders; ++k) {
        if (CSkinSlider* s = Slider(k)) {
            s->InitSkin(res::kBitmapChannel);
            s->EnableNotify();
            s->LoadHandCursor();
            ToolTips().AddToolId(s, kTipSlider);
        }
        SetDlgItemText(kFirstLabel + k, "");
        if (auto* b = GetDlgItemAs<CFlatButton>(kFirstLabel + k)) {
            b->SetCursor(kImageAvailable);
            ToolTips().AddToolId(b, kTipLabel);
        }
    }
    for (size_t g = 0; g < kGroupButtons.size(); ++g) {
        if (auto* b = GetDlgItemAs<COnOffButton>(kGroupButtons[g])) {
            // Until the colour scheme is applied, the chosen group shows in red.
            b->SetOnOffColors(RgbColor(255, 0, 0), b->GetColor(CFlatButton::kFgOut));
            b->SetIcon(res::kImageKeyCapHovered, res::kImageKeyCap);
            b->SetCursor(kImageAvailable);
            ToolTips().AddToolId(b, kTipGroups[g]);
        }
    }
    return CTabPage::OnInitDialog();
}

void CScale::showEvent(QShowEvent* e)
{
    CTabPage::showEvent(e);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    for (int k = 0; k < bands::kScaleSliders; ++k) {
        if (CSkinSlider* s = Slider(k))
            s->InitSkin(res::kBitmapChannel);
    }
    ShowGroup(ini_.GetInt(kBande));
}

void CScale::ShowGroup(int group)
{
    if (group < 1 || group > bands::kScaleGroups)
        group = 1;
    group_ = group;
    for (size_t g = 0; g < kGroupButtons.size(); ++g) {
        if (auto* b = GetDlgItemAs<COnOffButton>(kGroupButtons[g]))
            b->SetOn(static_cast<int>(g) + 1 == group);
    }
    const int first = bands::ScaleFirstRow(group);
    for (int k = 0; k < bands::kScaleSliders; ++k) {
        SetDlgItemText(kFirstLabel + k, bands::ScaleLabel(group, k));
        if (CSkinSlider* s = Slider(k)) {
            const bands::ScaleSlider place = bands::ScaleSliderFor(tuning_.Table().Row(first + k));
            s->setRange(place.low, place.high);
            s->SetPosRedraw(place.position);
            s->update();
        }
    }
    ini_.WriteInt(kBande, group);
}

void CScale::SetFrequency(int64_t hz)
{
    std::array<bands::ScaleSlider, bands::kScaleSliders> ranges{};
    for (int k = 0; k < bands::kScaleSliders; ++k) {
        if (CSkinSlider* s = Slider(k))
            ranges[static_cast<size_t>(k)] = {s->minimum(), s->maximum(), s->value()};
    }
    const int k = bands::ScaleSliderContaining(ranges, hz);
    if (CSkinSlider* s = Slider(k))
        s->SetPosRedraw(static_cast<int>(hz));
}

void CScale::ManualInput(int k)
{
    CSkinSlider* s = Slider(k);
    if (s == nullptr)
        return;
    CManualInput dlg;
    dlg.SetOwner(window());
    dlg.SetValue(static_cast<double>(tuning_.Target().Frequency()));
    dlg.SetLimits(std::to_string(s->minimum()) + " Hz", std::to_string(s->maximum()) + " Hz");
    if (dlg.DoModal() != ctl::kIdOk)
        return;
    const double v = dlg.Result();
    if (v >= static_cast<double>(tuning_.Target().LowerLimit())
        && v <= static_cast<double>(tuning_.Target().UpperLimit()))
        tuning_.TuneTo(static_cast<int64_t>(v));
}

bool CScale::OnCommand(int id, int code)
{
    for (size_t g = 0; g < kGroupButtons.size(); ++g) {
        if (id == kGroupButtons[g] && code == ctl::kBnClicked) {
            ShowGroup(static_cast<int>(g) + 1);
            return true;
        }
    }
    if (id >= kFirstLabel && id < kFirstLabel + bands::kScaleSliders && code == ctl::kBnClicked) {
        tuning_.SelectBand(bands::ScaleFirstRow(group_) + id - kFirstLabel, 0);
        return true;
    }
    if (id >= kFirstSlider && id < kFirstSlider + bands::kScaleSliders) {
        const int k = id - kFirstSlider;
        if (code == ctl::kLButtonUp) {
            if (CSkinSlider* s = Slider(k))
                tuning_.TuneTo(s->value());
            return true;
        }
        if (code == ctl::kRButtonUp) {
            ManualInput(k);
            return true;
        }
        return true;
    }
    return CTabPage::OnCommand(id, code);
}
