#include "TuningPart.h"

#include "BandStacking.h"
#include "BandTable.h"
#include "CivCodes.h"
#include "CommandCodes.h"
#include "Limiti.h"
#include "MainWindowServices.h"
#include "MyFontDialog.h"
#include "NumEdit.h"
#include "RadioController.h"
#include "RadioTuningTarget.h"
#include "RadioView.h"
#include "Scale.h"
#include "SkinSlider.h"
#include "Tuning.h"
#include "TuningControls.h"

#include <QPointer>

namespace {

// What the limits dialog asks of the radio: its limits in force, its band edges (the answer is
// stored by the parser before the wait ends) and a fresh frequency and mode.
class LimitsHost : public ILimitsHost {
public:
    explicit LimitsHost(IMainWindowServices& services) : services_(services) {}
    int64_t RadioLowerLimit() const override { return services_.Controller().State().lowerLimit; }
    int64_t RadioUpperLimit() const override { return services_.Controller().State().upperLimit; }
    void RequestBandEdges() override
    {
        services_.Controller().SendCommand(civ::kCmdReadBandEdges, 0, {}, true);
    }
    void ReadFrequencyMode() override { services_.Controller().ReadFrequencyMode(true); }

private:
    IMainWindowServices& services_;
};

class CTuningPart : public IMainWindowPart {
public:
    explicit CTuningPart(IMainWindowServices& services)
        : services_(services),
          target_(services.Controller(), [&services] { return services.IsFirstInit(); })
    {
        table_.Load(services_.Ini());
        tuning_ = std::make_unique<bands::CTuning>(table_, services_.Ini(), target_);
        controls_ = std::make_unique<CTuningControls>(services_.Window(), *tuning_);
        tuning_->SetDisplay(controls_.get());
    }

    CTabPage* CreatePage(unsigned dialogId) override
    {
        if (dialogId != CScale::kTemplateId)
            return nullptr;
        scale_ = new CScale(*tuning_, services_.Ini());
        controls_->SetScale(scale_);
        return scale_;
    }

    bool ServesBands() const override { return true; }
    QMenu* CreateBandMenu() override { return CTuningControls::CreateBandMenu(); }
    const bands::CBandTable* BandTable() const override { return &table_; }

    void OnControlsCreated() override
    {
        // The sliders and the frequency field report the mouse to the tuning controls.
        CMyFontDialog& window = services_.Window();
        for (int id : {CTuningControls::kBandSlider, CTuningControls::kWindowSlider})
            if (auto* slider = window.GetDlgItemAs<CSkinSlider>(id)) {
                slider->EnableNotify();
                slider->LoadHandCursor();
            }
        if (auto* field = window.GetDlgItemAs<CNumEdit>(radio::ctl::kFrequency))
            field->EnableRightClickNotify();
    }

    void SaveState() override { table_.SaveState(services_.Ini()); }
    bool OnCommand(int id, int code) override { return controls_->OnCommand(id, code); }
    bool OnWheel(QPoint pos, int delta) override { return controls_->OnWheel(pos, delta); }
    void OnBandDisplay() override { tuning_->UpdateBandFromFrequency(); }

    bool RunLimitsDialog() override
    {
        LimitsHost host(services_);
        CLimiti dialog(table_, services_.Ini(), host);
        dialog.SetOwner(&services_.Window());
        dialog.DoModal();
        return true;
    }

    int ChooseVfo() override
    {
        CSceltaVFO dialog;
        dialog.SetOwner(&services_.Window());
        if (dialog.DoModal() != ctl::kIdOk)
            return 0;
        return dialog.Choice() == 1 ? radio::kVfoA : radio::kVfoB;
    }

private:
    IMainWindowServices& services_;
    bands::CBandTable table_;
    bands::CRadioTuningTarget target_;
    std::unique_ptr<bands::CTuning> tuning_;
    std::unique_ptr<CTuningControls> controls_;
    QPointer<CScale> scale_;
};

}  // namespace

std::unique_ptr<IMainWindowPart> MakeTuningPart(IMainWindowServices& services)
{
    return std::make_unique<CTuningPart>(services);
}
