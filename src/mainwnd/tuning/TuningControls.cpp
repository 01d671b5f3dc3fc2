#include "TuningControls.h"

#include "BandStacking.h"
#include "FlatButton.h"
#include "FrameworkContext.h"
#include "Language.h"
#include "ManualInput.h"
#include "MyFontDialog.h"
#include "Scale.h"
#include "SkinSlider.h"

#include <QMenu>

#include <climits>

CTuningControls::CTuningControls(CMyFontDialog& window, bands::CTuning& tuning)
    : window_(window), tuning_(tuning)
{
}

bool CTuningControls::OnCommand(int id, int code)
{
    if (id >= bands::kFirstDigitButton && id <= bands::kLastDigitButton) {
        if (code == ctl::kBnClicked) {
            if (const int64_t step = bands::DigitButtonStep(id); step != 0)
                tuning_.StepFrequency(step);
        }
        return true;
    }
    for (int n = 1; n <= bands::kRegisterCount; ++n) {
        if (id == bands::kStackButtons[n - 1] && code == ctl::kBnClicked) {
            OnBandStackingButton(n);
            return true;
        }
    }
    if (id == kBandSlider || id == kWindowSlider) {
        if (code == ctl::kLButtonUp) {
            if (auto* s = window_.GetDlgItemAs<CSkinSlider>(id))
                tuning_.TuneTo(s->value());
        } else if (code == ctl::kRButtonUp) {
            OnManualInput(true);
        }
        return code == ctl::kLButtonUp || code == ctl::kRButtonUp;
    }
    if (id == kFrequencyField && code == ctl::kRButtonUp) {
        OnManualInput(false);
        return true;
    }
    if (code == 0 && tuning_.OnMenuCommand(id))
        return true;
    return false;
}

bool CTuningControls::OnWheel(QPoint posInWindow, int delta)
{
    QWidget* frame = window_.GetDlgItem(kDisplayFrame);
    if (frame == nullptr || !frame->isVisible())
        return false;
    const QRect area(frame->mapTo(&window_, QPoint(0, 0)), frame->size());
    if (!area.contains(posInWindow))
        return false;
    tuning_.Target().SkipPollTicks(kWheelSkipTicks);
    std::array<int, 9> edges{};
    for (size_t d = 0; d < bands::kPlusButtons.size(); ++d) {
        QWidget* b = window_.GetDlgItem(bands::kPlusButtons[d]);
        edges[d] = b != nullptr ? b->mapTo(&window_, QPoint(0, 0)).x() : INT_MAX;
    }
    // One step a notch: a fine-grained wheel's or a touchpad's parts of a notch add up.
    wheelSteps_ += wheelTurn_.Add(delta, kWheelNotch) * bands::WheelStep(posInWindow.x(), edges, 1);
    SendWheelSteps();
    return true;
}

void CTuningControls::SendWheelSteps()
{
    // A poll's command may be waiting for its answer when the wheel turns; the step goes out
    // once it is done instead of being refused.
    if (wheelSteps_ != 0 && tuning_.Target().Sending()) {
        if (wheelRetry_ == nullptr) {
            wheelRetry_ = new QTimer(&window_);
            wheelRetry_->setSingleShot(true);
            QObject::connect(wheelRetry_, &QTimer::timeout, &window_, [this] { SendWheelSteps(); });
        }
        wheelRetry_->start(kWheelRetryMs);
        return;
    }
    const int64_t step = wheelSteps_;
    wheelSteps_ = 0;
    if (step != 0)
        tuning_.StepFrequency(step);
}

QMenu* CTuningControls::CreateBandMenu()
{
    auto* menu = new QMenu;
    const CLanguage& language = framework::Language();
    for (int i = 0; i < bands::kBandCount; ++i) {
        if (i == bands::kGeneralRow)
            menu->addSeparator();
        CFlatButton::AddMenuCommand(
            menu, bands::kBandMenuFirst + i,
            QString::fromStdString(language.Translate(bands::BandMenuText(i))));
    }
    return menu;
}

QMenu* CTuningControls::CreateModeMenu(const std::vector<std::string>& names)
{
    auto* menu = new QMenu;
    for (size_t i = 0; i < names.size() && i < static_cast<size_t>(bands::kModeCount); ++i) {
        if (names[i].empty())
            break;
        CFlatButton::AddMenuCommand(menu, bands::kModeMenuFirst + static_cast<int>(i),
                                    QString::fromStdString(names[i]));
    }
    return menu;
}

void CTuningControls::ShowBandButton(const std::string& text)
{
    window_.SetDlgItemText(kBandButton, framework::Language().Translate(text));
}

void CTuningControls::ShowTuningSlider(const bands::SliderPlacement& p)
{
    auto* shown = window_.GetDlgItemAs<CSkinSlider>(p.band ? kBandSlider : kWindowSlider);
    if (QWidget* hidden = window_.GetDlgItem(p.band ? kWindowSlider : kBandSlider))
        hidden->hide();
    if (shown == nullptr)
        return;
    const auto clampInt = [](int64_t v) {
        return static_cast<int>(v < 0 ? 0 : (v > INT_MAX ? INT_MAX : v));
    };
    shown->show();
    shown->setRange(clampInt(p.low), clampInt(p.high));
    shown->SetPosRedraw(clampInt(p.position));
    shown->update();
}

void CTuningControls::SetScale(CScale* scale)
{
    scale_ = scale;
}

void CTuningControls::SetScaleFrequency(int64_t hz)
{
    if (scale_)
        scale_->SetFrequency(hz);
}

void CTuningControls::OnBandStackingButton(int n)
{
    CBandStacking dlg;
    dlg.SetOwner(&window_);
    // The window, and these controls with it, may be destroyed while the dialog runs.
    const QPointer<QWidget> window(&window_);
    dlg.DoModal();
    if (window)
        tuning_.OnBandStacking(n, dlg.Choice());
}

void CTuningControls::OnManualInput(bool slider)
{
    bands::ITuningTarget& target = tuning_.Target();
    const std::string unit = slider ? " Hz" : "";
    CManualInput dlg;
    dlg.SetOwner(&window_);
    dlg.SetValue(static_cast<double>(target.Frequency()));
    dlg.SetLimits(std::to_string(target.LowerLimit()) + unit,
                  std::to_string(target.UpperLimit()) + unit);
    if (dlg.DoModal() != ctl::kIdOk)
        return;
    const double v = dlg.Result();
    if (v >= static_cast<double>(target.LowerLimit())
        && v <= static_cast<double>(target.UpperLimit()))
        tuning_.TuneTo(static_cast<int64_t>(v));
}
