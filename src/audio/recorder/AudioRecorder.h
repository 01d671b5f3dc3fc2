// CAudioRecorder (tool window 252): the recorder bar. It owns the program's one wave engine:
// its buttons record into and play WAV files, the voice keyer and the remote control play and
// record through its operations, and the main window hands it the driver's receiver audio.
// Recording and playback refuse each other for every caller. Closing it only hides it.
#pragma once

#include "MyFontDialog.h"
#include "WaveEngine.h"

#include <QPointer>

#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class CIni;
class Profile;
namespace platform {
class MessageTarget;
}

// What the bar needs of the program around it.
class IRecorderHost {
public:
    virtual ~IRecorderHost() = default;
    // The radio driver delivers the receiver audio.
    virtual bool DriverAudio() const = 0;
    // The radio has the extended functions (its squelch state is known).
    virtual bool ExtendedFunctions() const = 0;
    // Stops or restarts the driver's audio while a file plays.
    virtual void PauseDriverAudio(bool pause) = 0;
    // The audio settings dialog opened from the bar; true when confirmed.
    virtual bool RunAudioSettings(QWidget* owner) = 0;
    // A recording waits for the squelch: its opening should be heard soon.
    virtual void WatchSquelch(bool /*on*/) {}
};

class CAudioRecorder : public CMyFontDialog {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 252;
    enum Control : int {
        kSettings = 1060,
        kRecord = 1112,
        kPause = 1059,
        kPlay = 1198,
        kSlider = 1204,
        kRecSql = 1202,
        kFile = 1200,
        kTime = 1201,
    };
    static constexpr int kAlreadyRecording = 52;
    static constexpr int kAlreadyPlaying = 2;

    // The settings outlive the bar; the host outlives it or detaches first.
    CAudioRecorder(IRecorderHost& host, CIni& ini, Profile& registry,
                   std::shared_ptr<audio::WaveSystem> devices);
    ~CAudioRecorder() override;
    // Stops what runs and forgets the host.
    void Detach();

    audio::WaveEngine& Engine() { return engine_; }
    // Where the squelch messages (WM_USER+12 closed, +13 open) go.
    platform::MessagePoster Poster() const;
    // The local time the automatic names are made of.
    void SetClock(std::function<std::time_t()> clock) { clock_ = std::move(clock); }

    // 0, 52 while recording or playing, or the engine's answer.
    int ToggleRecording(bool start, const std::string& fileName, const std::string& folder,
                        bool append);
    // 0, 2 while playing or recording, or the engine's answer. `notify` gets WM_USER+11 when the
    // playback ends.
    int TogglePlayback(std::optional<platform::MessagePoster> notify, bool start,
                       const std::string& fileName, const std::string& folder,
                       std::uint32_t offset = 0, std::uint32_t length = 0);
    void SetPaused(bool pause);
    // The pause button pressed or not, whatever runs: a caller that pauses for itself (the
    // software scan between its events) leaves it unpressed.
    void SetPauseButton(bool pressed);
    void LoadSettings();
    void OnTimerUpdate();
    void WriteDriverAudio(std::uint32_t count, const std::uint8_t* data);
    void SaveWindowPos();
    // Stops whatever runs (closing the bar or the program).
    void StopAll();
    // The play button usable again (a caller's playback has ended).
    void EnablePlayButton();

    // The buttons as the user or the remote control press them; 0 when the operation ran.
    int PressRecord(bool down);
    int PressPause(bool down);
    int PressPlay(bool down);

    bool Recording() const { return engine_.State() == audio::WaveEngine::kRecording; }
    bool Playing() const { return engine_.State() == audio::WaveEngine::kPlaying; }
    bool Paused() const { return Check(kPause); }
    const std::string& FileName() const { return fileName_; }
    const std::string& Folder() const { return folder_; }
    // The file the last recording went to.
    const std::string& RecordedPath() const { return recordedPath_; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    void OnOK() override {}
    void OnCancel() override {}
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void WindowProc(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam);
    void OnPlaybackEnded();
    void OnSliderReleased();
    void OnFileFieldLeft();
    bool RecordsOnSquelch() const;
    void UpdateSquelchWatch();
    // A start the user asked for that failed says why.
    void ReportFailure(int result);
    void ShowIdle();
    void SetCheck(int id, bool on);
    bool Check(int id) const;
    void SetUsable(int id, bool on);
    void SetSlider(std::int64_t min, std::int64_t max, std::int64_t pos);
    std::string NextRecordingName();

    bool DriverAudio() const { return host_ != nullptr && host_->DriverAudio(); }
    void PauseDriverAudio(bool pause);

    IRecorderHost* host_;
    CIni& ini_;
    Profile& registry_;
    std::shared_ptr<audio::WaveSystem> devices_;
    audio::WaveEngine engine_;
    std::unique_ptr<platform::MessageTarget> target_;
    std::function<std::time_t()> clock_;
    std::string fileName_ = "AUTO";
    std::string lastAutoName_;  // the field shows it while the names stay automatic
    std::optional<std::string> fieldBeforeCaller_;  // the field's text under a caller's file
    std::string folder_;
    std::string recordedPath_;
    std::string baseTitle_;
    bool notifyRequested_ = false;
    platform::MessagePoster notifyWindow_;
    bool seeking_ = false;
    bool placed_ = false;  // shown at least once: its rectangle is a place worth keeping
    bool pauseBright_ = false;
};
