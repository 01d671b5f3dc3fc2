// CScanSoft: the software scan page of the main window. The program tunes the radio itself to
// each frequency (or memory channel) of a range, listens for the squelch, holds on a signal by
// the two pauses, and can log each opening to "LogSQL.Dat" and record it into "LogScan.Wav".
// The scan runs on the GUI thread as a long radio operation, pumping messages between commands.
#pragma once

#include "RadioController.h"
#include "ScanLogFile.h"
#include "TabPage.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class CAudioRecorder;
class IMainWindowServices;

class CScanSoft : public CTabPage {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 154;
    enum Control : int {
        kStart = 1055,
        kEnd = 1058,
        kMode = 1015,
        kStep = 1016,
        kFilter = 1028,
        kPause = 1059,
        kPause1 = 1060,
        kPause2 = 1061,
        kLog = 1029,
        kRecord = 1112,
        kScanning = 1057,
        kResume = 1025,
        kPreset = 1026,
        kViewLog = 1179,
        kMemoryMode = 1222,
        kStartCaption = 1223,
        kEndCaption = 1224,
        kStartHz = 1225,
        kEndHz = 1226,
    };

    // What the page needs beyond the services: the recorder bar (null while there is none) and
    // whether recording is available.
    struct Audio {
        std::function<CAudioRecorder*()> recorder;
        std::function<bool()> available;
    };
    // logPath: "LogSQL.Dat"; wavFolder: where "LogScan.Wav" goes.
    CScanSoft(IMainWindowServices& services, std::string logPath, std::string wavFolder,
              Audio audio);
    ~CScanSoft() override;

    // Starts a scan at `position` (0: the start), or stops the running one.
    void RunScan(int64_t position);
    void SaveSettings();
    bool Running() const { return !stopped_; }
    // The program closes: the open event is logged, the recording finished, and the loop sends
    // nothing more.
    void FinishForClose();
    // Positions tuned since the page was made.
    int64_t StepsDone() const { return stepsDone_; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    void showEvent(QShowEvent* event) override;

private:
    struct Run {
        int64_t start = 0;
        int64_t end = 0;
        int64_t step = 1;
        int pause = 0;
        int pause1 = -1;
        int pause2 = 0;
        bool onSignal = false;  // Pause 1 is not -1 and the radio has the extended functions
        bool log = false;
        bool recording = false;
    };
    using Clock = std::chrono::steady_clock;

    // Page state.
    void LoadSettings();
    void ApplyEnabling();
    void UpdateModeView();
    void OnMemoryMode();
    void OnResume();
    void OnPreset();
    void OnViewLog();
    void FillModeBox();
    bool ExtendedFunctions() const;
    bool RecordingAvailable() const;
    CAudioRecorder* Recorder() const;
    int64_t Field(int id) const;
    void SetField(int id, int64_t value);
    bool Checked(int id) const;
    void SetChecked(int id, bool on);
    void Enable(int id, bool on);
    void SetControlsForScan(bool scanning);

    // The scan.
    bool CheckStart(Run& run);
    void StartLogAndRecording(Run& run, bool resumed);
    void Loop(Run& run, int64_t position);
    bool Tune(const Run& run, int64_t position);
    void Dwell(const Run& run, int64_t position);
    bool Hold(const Run& run);
    bool Listen(Clock::time_point deadline, bool untilOpen, int& pass);
    bool ReadSquelch();
    void ReadSMeter(bool wait);
    bool StopNow();
    void PauseRecording(CAudioRecorder& recorder, bool pause);
    void EndEvent();
    void TidyUp();
    void StopForSilence();
    std::tm SkedClockNow() const;

    IMainWindowServices& services_;
    std::string logPath_;
    std::string wavFolder_;
    Audio audio_;
    bool stopped_ = true;
    int scanMode_ = 0;  // 0 frequency, 1 memory
    int lastChannel_ = 0;
    int64_t audioStart_ = -1;
    bool recorderPauseWas_ = false;
    bool recordingStarted_ = false;
    bool closingDone_ = false;
    bool pollingWas_ = true;
    int unanswered_ = 0;
    int64_t stepsDone_ = 0;
    Clock::time_point tuned_{};
    int timeSql1_ = 50;
    int timeSql2_ = 100;
    int timeSignal_ = 50;
    std::vector<std::string> modesCopied_;
    lists::CScanLogFile log_;
    std::optional<lists::ScanLogEvent> event_;
    std::optional<radio::CRadioController::LongOperation> busy_;
};
