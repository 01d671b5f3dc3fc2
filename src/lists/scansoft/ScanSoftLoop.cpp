// The software scan's start checks, loop, dwell and tidy-up.
#include "ScanSoftPage.h"
#include "ScanFiles.h"
#include "RadioScanSequence.h"

#include "AudioRecorder.h"
#include "CivCodes.h"
#include "Clock.h"
#include "CommandCodes.h"
#include "FlatButton.h"
#include "Ini.h"
#include "Language.h"
#include "LinkSettings.h"
#include "MainTimer.h"
#include "MainWindowServices.h"
#include "MessagePump.h"
#include "ScanRangeMessage.h"
#include "ScanSteps.h"
#include "SettingsKeys.h"
#include "WaveEngine.h"

#include <QComboBox>

#include <cstdlib>
#include <ctime>

namespace {

constexpr int kMsgPauseLow = 129;
constexpr int kMsgAudioError = 1286;
constexpr int kMemoryFirst = 1;
constexpr int kMemoryLast = 99;
constexpr int kSilentReadsToStop = 3;
constexpr int kSMeterEvery = 3;

using radio::SendResult;

bool Answered(SendResult r)
{
    return r == SendResult::Answered || r == SendResult::Refused;
}

uint8_t Bcd2(int value)
{
    return static_cast<uint8_t>(((value / 10) % 10) << 4 | (value % 10));
}

}  // namespace

bool CScanSoft::CheckStart(Run& run)
{
    const CLanguage& language = services_.Language();
    const radio::RadioState& st = services_.Controller().State();
    run.start = Field(kStart);
    run.end = Field(kEnd);
    run.pause = std::atoi(GetDlgItemText(kPause).c_str());
    run.pause1 = std::atoi(GetDlgItemText(kPause1).c_str());
    run.pause2 = std::max(0, std::atoi(GetDlgItemText(kPause2).c_str()));
    if (run.pause1 < -1) {
        run.pause1 = -run.pause1;
        SetDlgItemText(kPause1, std::to_string(run.pause1));
    }
    const bool memory = scanMode_ == 1;
    const int64_t low = memory ? kMemoryFirst : st.lowerLimit;
    const int64_t high = memory ? kMemoryLast : st.upperLimit;
    auto refuse = [&](const std::string& text, int focus) {
        language.ShowMessage({text, "", mb::kOk | mb::kIconError, 0});
        if (QWidget* w = GetDlgItem(focus))
            w->setFocus(Qt::OtherFocusReason);
        return false;
    };
    if (scans::RefuseScanRange(language, run.start, run.end, low, high, GetDlgItem(kStart),
                               GetDlgItem(kEnd)))
        return false;
    // The bound checked is the one the message names.
    const int minimum = timeSql1_ + services_.Ini().GetInt(settings::setup::DelayCommand);
    if (run.pause < minimum)
        return refuse(language.Format(kMsgPauseLow, {minimum}), kPause);
    if (memory) {
        run.step = 1;
    } else {
        const auto* step = GetDlgItemAs<QComboBox>(kStep);
        const int i = step != nullptr ? step->currentIndex() : -1;
        run.step = i >= 0 && i < static_cast<int>(lists::kScanSteps.size())
                       ? lists::kScanSteps[static_cast<std::size_t>(i)].hz
                       : 5000;
    }
    run.onSignal = run.pause1 != -1 && ExtendedFunctions();
    return true;
}

void CScanSoft::RunScan(int64_t position)
{
    if (!stopped_) {
        stopped_ = true;
        return;
    }
    Run run;
    if (services_.Controller().State().closing || !CheckStart(run))
        return;
    SetControlsForScan(true);
    radio::CRadioController& c = services_.Controller();
    if (scanMode_ == 0) {
        const auto* box = GetDlgItemAs<QComboBox>(kMode);
        const int mode =
            box != nullptr && box->currentIndex() >= 0 ? box->currentData().toInt() : 0;
        auto* filter = GetDlgItemAs<COnOffButton>(kFilter);
        if (mode == lists::kWfmCode && filter != nullptr)
            filter->SetOn(false);
        c.SendCommand(civ::kCmdSelectVfoMode);
        c.SendCommand(civ::kCmdSetMode, static_cast<uint8_t>(mode),
                      {static_cast<uint8_t>(Checked(kFilter) ? 2 : 1)});
    }
    SaveSettings();
    StartLogAndRecording(run, position != 0);
    busy_.emplace(c);
    // The scan reads the radio itself: the window's polling would only slow each step.
    pollingWas_ = c.SetPollingEnabled(false);
    stopped_ = false;
    closingDone_ = false;
    unanswered_ = 0;
    c.SetDisplayNotReady(true);
    Loop(run, position != 0 ? position : run.start);
    TidyUp();
}

void CScanSoft::StartLogAndRecording(Run& run, bool resumed)
{
    run.log = run.onSignal && Checked(kLog) && log_.Open(logPath_, resumed);
    run.recording = false;
    recordingStarted_ = false;
    audioStart_ = -1;
    CAudioRecorder* recorder = RecordingAvailable() ? Recorder() : nullptr;
    if (!run.log || !Checked(kRecord) || recorder == nullptr)
        return;
    const int error = recorder->ToggleRecording(true, lists::kScanWavFile, wavFolder_, resumed);
    if (error != 0) {
        const CLanguage& language = services_.Language();
        language.ShowMessage(
            {language.Format(kMsgAudioError, {error}), "", mb::kOk | mb::kIconError, 0});
        SetChecked(kRecord, false);
        return;
    }
    run.recording = recordingStarted_ = true;
    recorderPauseWas_ = recorder->Paused();
    // Paused between events: only the held signals reach the file.
    PauseRecording(*recorder, true);
    audioStart_ = recorder->Engine().GetPositionBytes();
}

bool CScanSoft::StopNow()
{
    platform::PumpMessages();
    radio::CRadioController& c = services_.Controller();
    if (c.LongOperationEndAsked() || c.State().closing)
        stopped_ = true;
    return stopped_;
}

void CScanSoft::Loop(Run& run, int64_t position)
{
    if (StopNow())
        return;
    while (true) {
        if (!Tune(run, position) || StopNow())
            return;
        Dwell(run, position);
        if (StopNow())
            return;
        position += run.step;
        if (position > run.end)
            position = run.start;
        if (StopNow())
            return;
    }
}

bool CScanSoft::Tune(const Run& run, int64_t position)
{
    radio::CRadioController& c = services_.Controller();
    ++stepsDone_;
    tuned_ = Clock::now();
    if (scanMode_ == 1) {
        const int channel = static_cast<int>(position);
        c.SendCommand(civ::kCmdSelectChannel, 0x00, {Bcd2(channel)});
        c.SendCommand(civ::kCmdMemory);
        c.SendCommand(civ::kCmdMemoryToVfo);
        c.SendCommand(civ::kCmdReadFrequency);
        lastChannel_ = channel;
        return true;
    }
    (void)run;
    // The frequency in force, so the band button follows the scan.
    const SendResult r = c.TuneWaiting(position);
    if (!Answered(r) && ++unanswered_ >= kSilentReadsToStop) {
        StopForSilence();
        return false;
    }
    if (Answered(r))
        unanswered_ = 0;
    return true;
}

bool CScanSoft::ReadSquelch()
{
    const SendResult r =
        services_.Controller().SendCommand(civ::kCmdMeter, civ::kMeterSquelch, {}, true);
    if (Answered(r)) {
        unanswered_ = 0;
        return true;
    }
    if (++unanswered_ >= kSilentReadsToStop)
        StopForSilence();
    return !stopped_;
}

void CScanSoft::ReadSMeter(bool wait)
{
    services_.Controller().SendCommand(civ::kCmdMeter, civ::kMeterS, {}, wait);
    if (event_)
        event_->signal = services_.Controller().State().sText;
}

void CScanSoft::StopForSilence()
{
    if (stopped_)
        return;
    stopped_ = true;
    services_.Language().ShowMessage(
        {services_.Language().LoadString(radio::kRadioNotAnsweringText), "",
         mb::kOk | mb::kIconError, 0});
}

// Reads the squelch until the deadline has passed (at least once), or until it opens when asked;
// false when the scan is to stop.
bool CScanSoft::Listen(Clock::time_point deadline, bool untilOpen, int& pass)
{
    do {
        if (StopNow() || !ReadSquelch())
            return false;
        if (++pass % kSMeterEvery == 0)
            ReadSMeter(true);
        if (untilOpen && services_.Controller().State().squelchOpen)
            return true;
    } while (Clock::now() <= deadline);
    return true;
}

void CScanSoft::Dwell(const Run& run, int64_t position)
{
    // The deadline is fixed by the tuning: polls never move it.
    const Clock::time_point deadline = tuned_ + std::chrono::milliseconds(run.pause);
    int pass = 0;
    if (!Listen(deadline, run.onSignal, pass) || !run.onSignal
        || !services_.Controller().State().squelchOpen)
        return;
    ReadSMeter(true);
    if (run.log) {
        CAudioRecorder* recorder = recordingStarted_ ? Recorder() : nullptr;
        if (recorder != nullptr)
            PauseRecording(*recorder, false);
        event_ = lists::ScanLogEvent{SkedClockNow(), position, services_.Controller().State().sText,
                                     audioStart_, 0};
    }
    Hold(run);
    EndEvent();
    services_.Controller().SendCommand(civ::kCmdMeter, civ::kMeterS);
}

bool CScanSoft::Hold(const Run& run)
{
    radio::CRadioController& c = services_.Controller();
    int pass = 0;
    if (run.pause1 > 0) {
        const Clock::time_point end = Clock::now() + std::chrono::milliseconds(run.pause1);
        do {
            if (StopNow() || !ReadSquelch())
                return false;
            if (c.State().squelchOpen)
                ReadSMeter(true);
        } while (Clock::now() <= end);
        return true;
    }
    while (true) {
        do {
            if (StopNow() || !ReadSquelch())
                return false;
        } while (c.State().squelchOpen);
        const Clock::time_point end = Clock::now() + std::chrono::milliseconds(run.pause2);
        if (!Listen(end, true, pass))
            return false;
        if (!c.State().squelchOpen)
            return true;
    }
}

void CScanSoft::PauseRecording(CAudioRecorder& recorder, bool pause)
{
    recorder.SetPaused(pause);
    // The scan's own pause between events: the button stays the user's and does not blink.
    recorder.SetPauseButton(false);
}

void CScanSoft::EndEvent()
{
    if (!event_)
        return;
    CAudioRecorder* recorder = recordingStarted_ ? Recorder() : nullptr;
    if (recorder != nullptr) {
        PauseRecording(*recorder, true);
        const int64_t now = recorder->Engine().GetPositionBytes();
        event_->audioBytes = std::max<int64_t>(0, now - audioStart_);
        audioStart_ = now;
    } else {
        event_->audioStart = -1;
    }
    log_.Write(*event_);
    event_.reset();
}

void CScanSoft::FinishForClose()
{
    if (stopped_ && !busy_)
        return;
    stopped_ = true;
    closingDone_ = true;
    EndEvent();
    log_.Close();
    if (CAudioRecorder* recorder = recordingStarted_ ? Recorder() : nullptr)
        recorder->ToggleRecording(false, "", "AUTO", false);
    recordingStarted_ = false;
}

void CScanSoft::TidyUp()
{
    radio::CRadioController& c = services_.Controller();
    c.SetDisplayNotReady(false);
    stopped_ = true;
    if (!closingDone_) {
        EndEvent();
        log_.Close();
        // Stopping clears the pause button: its saved state comes back after.
        if (CAudioRecorder* recorder = recordingStarted_ ? Recorder() : nullptr) {
            recorder->ToggleRecording(false, "", "AUTO", false);
            recorder->SetPauseButton(recorderPauseWas_);
        }
        recordingStarted_ = false;
    }
    SetControlsForScan(false);
    const bool closing = c.State().closing;
    c.SetPollingEnabled(pollingWas_);
    // The sked that asked for the radio fires when this operation has unwound.
    busy_.reset();
    if (!closing)
        c.ReadFrequencyMode(false);
}

std::tm CScanSoft::SkedClockNow() const
{
    const mainwnd::IClock& clock = mainwnd::ProgramClock();
    const std::time_t now = clock.Now();
    const int offset = ParseUtcOffset(services_.Ini().GetString(settings::setup::UTCOffset));
    std::optional<std::tm> t;
    if (offset == mainwnd::kUtcOffsetAuto) {
        t = clock.Utc(now);
    } else if (std::optional<std::tm> local = clock.Local(now)) {
        std::tm fields = *local;
        fields.tm_isdst = 0;
        const std::time_t moved = ::timegm(&fields) + static_cast<std::time_t>(offset) * 3600;
        t = clock.Utc(moved);
    }
    return t.value_or(std::tm{});
}
