#include "TxRxPart.h"

#include "Ini.h"
#include "Language.h"
#include "LinkPttPorts.h"
#include "MainWindowServices.h"
#include "Profile.h"
#include "PttRoute.h"
#include "PttSetDlg.h"
#include "RadioLink.h"
#include "RadioController.h"
#include "RadioSnapshot.h"
#include "SettingsKeys.h"
#include "TuneCarrier.h"
#include "TxRxWindow.h"

#include <QPointer>

#include <chrono>
#include <cstdio>

namespace {

constexpr int kAskResetPartial = 152;
constexpr int kAskResetTotal = 153;
constexpr int kPttKeyText = 1307;  // "PTT Key : %s"

int64_t SteadyMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

class CTxRxPart : public IMainWindowPart,
                  private txrx::IPttView,
                  private txrx::ITuneRadio,
                  private ITxRxActions {
public:
    CTxRxPart(IMainWindowServices& services, txrx::CTransmitTime::Clock clock)
        : services_(services),
          time_(std::move(clock)),
          ports_(services.Link(), services.Driver(),
                 [&services] { return services.AuxiliaryPort(); }),
          route_(ports_, *this),
          tune_(*this)
    {
    }
    ~CTxRxPart() override
    {
        // The window outlives its part.
        if (window_)
            window_->Detach();
        route_.Shutdown();
    }

    CMyFontDialog* CreateToolWindow(unsigned dialogId) override
    {
        if (dialogId != CTxRx::kTemplateId)
            return nullptr;
        window_ = new CTxRx(*this);
        return window_;
    }

    void OnControlsCreated() override
    {
        route_.SetSettings(txrx::ReadPttSettings(services_.Ini()));
        time_.Load(services_.Ini());
        timeLoaded_ = true;
        ShowTimes();
        ShowPttKey();
    }

    void OnTimer() override
    {
        time_.Tick();
        ShowTimes();
        if (route_.IsOn() && window_)
            window_->BlinkPttButton();
    }

    void SaveState() override { SaveSettings(); }
    void OnClosing() override { route_.Shutdown(); }

    bool KeysTransmitter() const override { return true; }
    void SetPtt(bool on) override { route_.SetPtt(on); }
    bool IsTransmitting() const override { return route_.IsOn(); }

private:
    // txrx::IPttView
    void ShowPtt(bool on) override
    {
        time_.SetKeyed(on);
        if (window_)
            window_->ShowPtt(on);
        services_.TellTransmitState(on);
    }
    void ShowPortFails(int port) override
    {
        const CLanguage& language = services_.Language();
        language.ShowMessage({language.FormatString1(txrx::kMsgPttPortFails, std::to_string(port)),
                              "", mb::kOk | mb::kIconExclamation, 0});
    }

    // txrx::ITuneRadio
    int RemoteCommand(int code, int argument) override
    {
        return services_.RemoteCommand(code, argument);
    }
    bool Wait(int ms) override { return services_.WaitPumpingMessages(ms); }
    bool WaitForRadio() override
    {
        return services_.Controller().WaitForIdle(radio::CRadioSnapshot::kIdleWaitSteps);
    }
    bool Key(bool on) override
    {
        services_.SetPtt(on);
        return route_.IsOn();
    }

    // ITxRxActions
    void OnPttButton(bool down) override
    {
        services_.SetPtt(down);
        // A refused request (closing, off line) leaves the button as the state is.
        if (window_)
            window_->ShowPtt(route_.IsOn());
    }
    bool OnTuneButton(bool down) override
    {
        return tune_.OnTune(down, route_.Settings().tuneSeconds, services_.Link().DelayCommand());
    }
    void OnResetButton() override
    {
        const CLanguage& language = services_.Language();
        const unsigned ask = mb::kYesNo | mb::kIconQuestion;
        if (language.MessageBox(kAskResetPartial, ask) == mb::kIdYes)
            time_.ResetPartial();
        if (language.MessageBox(kAskResetTotal, ask) == mb::kIdYes)
            time_.ResetTotal();
        ShowTimes();
    }
    void OnSetupButton() override
    {
        const txrx::PttSettings before = route_.Settings();
        CPTTSet dialog(services_.Ini(), ports_.DriverKeys(), true);
        dialog.SetOwner(window_);
        dialog.DoModal();
        const txrx::PttSettings now = txrx::ReadPttSettings(services_.Ini());
        route_.SetSettings(now);
        services_.Link().ReloadPttSettings();
        ShowPttKey();
        if ((before.port == 0) == (now.port == 0) && before.front == now.front)
            return;
        // No transmitter keyed behind a window that goes.
        if (now.port == 0 && !ports_.DriverKeys())
            services_.SetPtt(false);
        // Shown, hidden or kept in front at once, not at the next start.
        services_.PlaceToolWindows();
    }
    // Hidden, or moved while shown: the total time and the place are kept at once, so a crash
    // later loses neither.
    void OnPlaceChanged() override { SaveSettings(); }

    void SaveSettings()
    {
        // Not yet loaded, the total would overwrite the stored one with nothing.
        if (timeLoaded_ && !time_.Save(services_.Ini()))
            std::fprintf(stderr, "transmit time not saved: %s\n",
                         services_.Ini().LastError().c_str());
        if (!window_ || window_->isMinimized() || window_->isMaximized())
            return;
        const QRect r = window_->frameGeometry();
        if (!services_.Registry().WriteRect(settings::reg::TxRxRect,
                                            {r.top(), r.bottom() + 1, r.left(), r.right() + 1}))
            std::fprintf(stderr, "TX/RX window place not saved: %s\n",
                         services_.Registry().LastError().c_str());
    }

    void ShowTimes()
    {
        if (window_)
            window_->ShowTimes(time_.Partial().Text(), time_.Total().Text());
    }
    void ShowPttKey()
    {
        if (window_)
            window_->ShowPttKey(
                services_.Language().Format(kPttKeyText, {txrx::KeyName(route_.Settings().key)}));
    }

    // The route's last unkey still shows through the window and the time: they go after it.
    IMainWindowServices& services_;
    QPointer<CTxRx> window_;
    txrx::CTransmitTime time_;
    bool timeLoaded_ = false;
    txrx::CLinkPttPorts ports_;
    txrx::CPttRoute route_;
    txrx::CTuneCarrier tune_;
};

}  // namespace

std::unique_ptr<IMainWindowPart> MakeTxRxPart(IMainWindowServices& services)
{
    return std::make_unique<CTxRxPart>(services, SteadyMs);
}

MainWindowPartFactory TxRxPartFactory(txrx::CTransmitTime::Clock clock)
{
    return [clock](IMainWindowServices& services) -> std::unique_ptr<IMainWindowPart> {
        return std::make_unique<CTxRxPart>(services, clock);
    };
}
