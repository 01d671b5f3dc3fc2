#include "MainWindowParts.h"

#include "CorvaneApp.h"
#include "FlatButton.h"
#include "Ini.h"
#include "Language.h"
#include "NumEdit.h"
#include "SkinSlider.h"

#include <QMenu>
#include <QPointer>
#include <QTimer>

#if __has_include("TuningControls.h") && __has_include("Tuning.h")
#define CORVANE_HAS_TUNING 1
#include "BandStacking.h"
#include "RadioTuningTarget.h"
#include "Scale.h"
#include "Tuning.h"
#include "TuningControls.h"
#endif
#if __has_include("MainTimer.h")
#define CORVANE_HAS_TIMER 1
#include "MainTimer.h"
#endif
#if __has_include("RemoteHandler.h")
#define CORVANE_HAS_REMOTE 1
#include "RemoteHandler.h"
#endif

namespace {
namespace rc = radio::ctl;
struct PartsBase {};
constexpr int kStrLocal = 1169;
constexpr int kStrUtc = 1170;
}  // namespace

struct CMainWindowParts::Impl : PartsBase
#ifdef CORVANE_HAS_TIMER
    , public mainwnd::ITimerHost
#endif
#ifdef CORVANE_HAS_REMOTE
    , public remote::IRemoteWindow, public radio::IRadioClients
#endif
{
    CCorvaneDlg& w;
    radio::CRadioController& ctl;
    CIni& ini;

    explicit Impl(CCorvaneDlg& window)
        : w(window), ctl(window.Controller()), ini(*window.IniStore())
    {
    }

#ifdef CORVANE_HAS_TUNING
    bands::CBandTable table;
    bands::CRadioTuningTarget target{ctl, [this] { return w.IsFirstInit(); }};
    std::unique_ptr<bands::CTuning> tuning;
    std::unique_ptr<CTuningControls> controls;
    QPointer<CScale> scale;
#endif

#ifdef CORVANE_HAS_TIMER
    mainwnd::SystemClock clock;
    std::unique_ptr<mainwnd::CMainTimer> timer;

    bool UsesDriver() override { return w.Link().UsesDriver(); }
    bool IsRadioConnected() override { return w.Link().IsRadioConnected(); }
    bool IsOffLine() override { return w.IsOffLine(); }
    void GoOffLine() override
    {
        w.ShowOffLine();
        w.Link().SetOffLine(true);
        ctl.Worker().Stop(true);
    }
    void ShowClock(int fieldId, const std::string& text) override { w.SetDlgItemText(fieldId, text); }
    void ShowUsageTime(int) override {}
#endif

#ifdef CORVANE_HAS_REMOTE
    std::unique_ptr<remote::CRemoteHandler> remote;

    void SetVfoAEqualB() override { w.OnVfoEqual(); }
    void ExitProgram() override
    {
        QPointer<CCorvaneDlg> target(&w);
        QTimer::singleShot(0, &w, [target] {
            if (target)
                target->CloseProgram();
        });
    }
    void SetPtt(bool on) override { w.SetPtt(on); }
    void RunRecorder(remote::RecorderButton, bool) override {}

    void NotifyClients(int code, int64_t value) override
    {
        if (remote)
            remote->NotifyClients(code, value);
    }
    void DdeFrequency(int64_t) override {}
    void DdeMode(const std::string&) override {}
    void DdeVfo(int) override {}
    void DdeSplit(bool) override {}
#endif
};

CMainWindowParts::CMainWindowParts(CCorvaneDlg& window) : impl_(std::make_unique<Impl>(window))
{
#ifdef CORVANE_HAS_TUNING
    impl_->table.Load(impl_->ini);
    impl_->tuning = std::make_unique<bands::CTuning>(impl_->table, impl_->ini, impl_->target);
    impl_->controls = std::make_unique<CTuningControls>(window, *impl_->tuning);
    impl_->tuning->SetDisplay(impl_->controls.get());
#endif
#ifdef CORVANE_HAS_TIMER
    impl_->timer = std::make_unique<mainwnd::CMainTimer>(impl_->ini, *impl_, impl_->clock);
#endif
#ifdef CORVANE_HAS_REMOTE
    impl_->remote = std::make_unique<remote::CRemoteHandler>(
        window.Controller(), window, impl_->ini, window.Link(), window.Driver(), *impl_);
    window.Controller().SetClients(impl_.get());
#endif
}

CMainWindowParts::~CMainWindowParts()
{
#ifdef CORVANE_HAS_REMOTE
    impl_->w.Controller().SetClients(nullptr);
#endif
}

QWidget* CMainWindowParts::CreatePage([[maybe_unused]] unsigned dialogId)
{
#ifdef CORVANE_HAS_TUNING
    if (dialogId == CScale::kTemplateId) {
        impl_->scale = new CScale(*impl_->tuning, impl_->ini);
        impl_->controls->SetScale(impl_->scale);
        return impl_->scale;
    }
#endif
    return nullptr;
}

QMenu* CMainWindowParts::CreateBandMenu()
{
#ifdef CORVANE_HAS_TUNING
    return CTuningControls::CreateBandMenu();
#else
    return nullptr;
#endif
}

void CMainWindowParts::OnControlsCreated()
{
#ifdef CORVANE_HAS_TUNING
    // The sliders and the frequency field report the mouse to the tuning controls.
    for (int id : {CTuningControls::kBandSlider, CTuningControls::kWindowSlider})
        if (auto* s = impl_->w.GetDlgItemAs<CSkinSlider>(id)) {
            s->EnableNotify();
            s->LoadHandCursor();
        }
    if (auto* f = impl_->w.GetDlgItemAs<CNumEdit>(rc::kFrequency))
        f->EnableRightClickNotify();
#endif
#ifdef CORVANE_HAS_TIMER
    const CLanguage& language = *impl_->w.LanguageTable();
    impl_->timer->SetCaptions(language.LoadString(kStrLocal), language.LoadString(kStrUtc));
    impl_->timer->SetUtcOffset(impl_->w.Link().Settings().utcOffset);
#endif
}

bool CMainWindowParts::OnCommand([[maybe_unused]] int id, [[maybe_unused]] int code)
{
#ifdef CORVANE_HAS_TUNING
    return impl_->controls->OnCommand(id, code);
#else
    return false;
#endif
}

void CMainWindowParts::OnTimer()
{
#ifdef CORVANE_HAS_TIMER
    impl_->timer->OnTimer();
#endif
}

bool CMainWindowParts::OnWheel([[maybe_unused]] QPoint pos, [[maybe_unused]] int delta)
{
#ifdef CORVANE_HAS_TUNING
    return impl_->controls->OnWheel(pos, delta);
#else
    return false;
#endif
}

void CMainWindowParts::SaveState()
{
#ifdef CORVANE_HAS_TUNING
    impl_->table.SaveState(impl_->ini);
#endif
}

void CMainWindowParts::OnClosing()
{
#ifdef CORVANE_HAS_REMOTE
    impl_->remote->Shutdown();
#endif
}

bool CMainWindowParts::ServesBands() const
{
#ifdef CORVANE_HAS_TUNING
    return true;
#else
    return false;
#endif
}

void CMainWindowParts::OnStarted()
{
#ifdef CORVANE_HAS_REMOTE
    impl_->remote->SetVersionText(impl_->w.VersionText());
    impl_->remote->StartServer(impl_->w.windowTitle().toStdString());
#endif
}

void CMainWindowParts::OnBandDisplay()
{
#ifdef CORVANE_HAS_TUNING
    impl_->tuning->UpdateBandFromFrequency();
#endif
}

int CMainWindowParts::ChooseVfo()
{
#ifdef CORVANE_HAS_TUNING
    CSceltaVFO dialog;
    dialog.SetOwner(&impl_->w);
    if (dialog.DoModal() != ctl::kIdOk)
        return 0;
    return dialog.Choice() == 1 ? radio::kVfoA : radio::kVfoB;
#else
    return -1;
#endif
}

void CMainWindowParts::CloseAuxiliaryPorts()
{
#ifdef CORVANE_HAS_REMOTE
    impl_->remote->CloseAuxiliaryPort();
#endif
}

void CMainWindowParts::OnTitleChanged([[maybe_unused]] const std::string& title)
{
#ifdef CORVANE_HAS_REMOTE
    impl_->remote->SetTitle(title);
#endif
}
