#include "AudioRecorderPart.h"

#include "AudioErrorText.h"
#include "AudioRecorder.h"
#include "AudioSet.h"
#include "AutoCQ.h"
#include "Clock.h"
#include "Ini.h"
#include "Language.h"
#include "LazyWaveSystem.h"
#include "MainWindowServices.h"
#include "PortAudioSystem.h"
#include "RecorderNames.h"
#include "RadioController.h"
#include "RadioLink.h"
#include "RemoteCodes.h"
#include "SettingsKeys.h"
#include "VekDriver.h"

#include <QPointer>
#include <QTimer>

#include <chrono>
#include <cstdio>

namespace {

constexpr int kMsgInitError = 1259;
constexpr std::uintptr_t kMaxDriverBlock = 32767;
constexpr std::uint8_t kBlockSamples = 0;
constexpr std::uint8_t kBlockFormat = 1;
// How often a recording that waits for the squelch asks for it between the polling rounds: a
// round reads it only once, too seldom for the start of a transmission.
constexpr int kSquelchWatchMs = 40;

class CAudioRecorderPart : public IMainWindowPart, private IRecorderHost, private IKeyerHost {
public:
    CAudioRecorderPart(IMainWindowServices& services, std::shared_ptr<audio::WaveSystem> devices)
        : services_(services), devices_(std::move(devices))
    {
        squelchWatch_.setInterval(kSquelchWatchMs);
        QObject::connect(&squelchWatch_, &QTimer::timeout, [this] { AskSquelch(); });
    }
    ~CAudioRecorderPart() override
    {
        services_.Controller().SetSquelchWatcher({});
        if (keyer_)
            keyer_->Shutdown();
        // The window outlives its part: nothing of it may run after this.
        if (window_)
            window_->Detach();
    }

    CMyFontDialog* CreateToolWindow(unsigned dialogId) override
    {
        if (dialogId != CAudioRecorder::kTemplateId)
            return nullptr;
        window_ = new CAudioRecorder(*this, services_.Ini(), services_.Registry(), devices_);
        // Automatic names tell the program's time, which a test clock may move.
        window_->SetClock([] { return mainwnd::ProgramClock().Now(); });
        services_.Controller().SetSquelchWatcher(window_->Poster());
        return window_;
    }

    CTabPage* CreatePage(unsigned dialogId) override
    {
        if (dialogId != CAutoCQ::kTemplateId)
            return nullptr;
        keyer_ = new CAutoCQ(*this, services_.Ini(), audio::FolderOrProgramFolder({}));
        return keyer_;
    }

    void OnStarted() override
    {
        if (keyer_)
            keyer_->EnableRows(AudioEnabled());
        if (DriverAudio() && AudioEnabled())
            services_.Driver().AudioStart();
    }
    void OnTimer() override
    {
        if (window_)
            window_->OnTimerUpdate();
    }
    void SaveState() override
    {
        if (keyer_)
            keyer_->SavePauses();
        if (window_)
            window_->SaveWindowPos();
    }
    void OnClosing() override
    {
        // A loop waiting in its pause ends unkeyed.
        if (keyer_)
            keyer_->Shutdown();
        if (!window_)
            return;
        window_->StopAll();
        window_->SaveWindowPos();
        if (DriverAudio())
            services_.Driver().AudioStop();
    }

    bool ServesAudio() const override { return true; }
    bool RunAudioSettings() override { return RunSettings(&services_.Window(), false); }
    int TestAudioInput() override { return window_ ? window_->Engine().Open() : 1; }
    std::string AudioInputProblem() override
    {
        return window_ ? window_->Engine().LastProblem() : std::string();
    }
    void ApplyRecordingFormat() override
    {
        if (window_)
            window_->LoadSettings();
    }

    void OnDriverAudio(std::uintptr_t count, std::intptr_t handle) override
    {
        if (!window_ || !AudioEnabled() || count < 1 || count - 1 > kMaxDriverBlock)
            return;
        block_.resize(count);
        if (!services_.Driver().CopyBuffAudio(handle, block_.data(), static_cast<int>(count),
                                              static_cast<int>(kMaxDriverBlock + 1)))
            return;
        if (block_[0] == kBlockSamples) {
            window_->WriteDriverAudio(static_cast<std::uint32_t>(count - 1), block_.data() + 1);
        } else if (block_[0] == kBlockFormat) {
            const int error = window_->Engine().TakeDriverFormat(block_.data() + 1, count - 1);
            if (error != 0) {
                const CLanguage& language = services_.Language();
                const char* why = error == 1 ? "a recording in another format runs"
                                             : "the radio driver's audio format is not valid";
                language.ShowMessage({audio::AudioErrorText(language, kMsgInitError, error, why),
                                      "", mb::kOk | mb::kIconError, 0});
            }
        }
    }

    std::optional<int> OnRemoteCommand(int code, int argument) override
    {
        if (code != remote::kRecord && code != remote::kPause && code != remote::kPlay)
            return std::nullopt;
        if (!window_ || !AudioEnabled())
            return remote::kNotAvailable;
        const bool down = argument != 0;
        switch (code) {
        case remote::kRecord: return window_->PressRecord(down);
        case remote::kPause: return window_->PressPause(down);
        default: return window_->PressPlay(down);
        }
    }

private:
    // IRecorderHost
    bool DriverAudio() const override { return services_.Link().DriverSupportsAudio(); }
    bool ExtendedFunctions() const override
    {
        return services_.Controller().State().extendedFunctions;
    }
    void PauseDriverAudio(bool pause) override { services_.Driver().AudioPause(pause ? 1 : 0); }
    bool RunAudioSettings(QWidget* owner) override { return RunSettings(owner, true); }
    void WatchSquelch(bool on) override
    {
        if (on)
            squelchWatch_.start();
        else
            squelchWatch_.stop();
    }
    // Only into a quiet line: the polling keeps its pace and reads never pile up.
    void AskSquelch()
    {
        radio::CRadioController& controller = services_.Controller();
        const auto& state = controller.State();
        if (controller.SquelchReadable() && state.pollingAllowed && !state.sending
            && !state.startingUp && !state.closing && controller.Worker().IsIdle())
            controller.SendCommand(civ::kCmdMeter, civ::kMeterSquelch);
    }

    // IKeyerHost
    void SetPtt(bool on) override { services_.SetPtt(on); }
    bool HasPttPort() const override
    {
        return services_.Ini().GetInt(settings::setup::PTTPorta) != 0;
    }
    bool Wait(int ms) override { return services_.WaitPumpingMessages(ms); }
    CAudioRecorder* Recorder() override { return window_; }
    std::uint64_t TickMs() const override
    {
        return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                              std::chrono::steady_clock::now().time_since_epoch())
                                              .count());
    }

    bool RunSettings(QWidget* owner, bool fromRecorder)
    {
        CAudioSet dialog(services_.Ini(), services_.Registry(), *devices_);
        dialog.FromRecorder = fromRecorder;
        dialog.DriverAudio = DriverAudio();
        dialog.SetOwner(owner);
        return dialog.DoModal() == ctl::kIdOk;
    }
    bool AudioEnabled() const
    {
        return services_.Ini().GetInt(settings::audiorecorder::Abilitato) != 0;
    }

    IMainWindowServices& services_;
    std::shared_ptr<audio::WaveSystem> devices_;
    QPointer<CAudioRecorder> window_;
    QPointer<CAutoCQ> keyer_;
    std::vector<std::uint8_t> block_;
    QTimer squelchWatch_;
};

}  // namespace

std::unique_ptr<IMainWindowPart> MakeAudioRecorderPart(IMainWindowServices& services)
{
    // Started when audio is first used: with audio support off the sound drivers stay alone.
    auto devices =
        std::make_unique<audio::LazyWaveSystem>([]() -> std::unique_ptr<audio::WaveSystem> {
            auto system = std::make_unique<audio::PortAudioSystem>();
            if (!system->Ready())
                std::fprintf(stderr, "audio: no sound devices: %s\n", system->Problem().c_str());
            return system;
        });
    return MakeAudioRecorderPartOver(services, std::move(devices));
}

std::unique_ptr<IMainWindowPart> MakeAudioRecorderPartOver(
    IMainWindowServices& services, std::unique_ptr<audio::WaveSystem> devices)
{
    return std::make_unique<CAudioRecorderPart>(services, std::move(devices));
}
