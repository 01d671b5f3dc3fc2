// The speed test: how long five frequency reads take, which becomes the worker's reply time-out
// and half its poll interval.
#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <thread>

#include "GestCommand.h"
#include "Ini.h"
#include "Language.h"
#include "RadioLink.h"
#include "SettingsKeys.h"
#include "VekDriver.h"

namespace {

constexpr int kMsgSpeedTest = 1358;
constexpr int kProgressSteps = 6;
constexpr int kSettleMs = 1000;
constexpr int kSettlePoll = 10000;
constexpr int kSettleReplyTimeout = 10;
constexpr int kMeasurePoll = 10000;
constexpr int kMeasureReplyTimeout = 1000;
constexpr int kTooFast = -2;  // internal: measure again
constexpr const char* kSettleTimeout = "Timeout attesa svuotamento buffer nel test di velocità";
constexpr const char* kSendTimeout = "Timeout invio comando nel test di velocità";

std::string Milliseconds(int ms)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d ms", ms);
    return text;
}

}  // namespace

int CRadioLink::RunSpeedTest()
{
    int result = MeasureOnce(false);
    if (result == kTooFast)
        result = MeasureOnce(true);
    return result;
}

int CRadioLink::MeasureOnce(bool lastTry)
{
    linkTest_ = true;
    host_.display.ShowLatency("");
    if (settings_.latency > 0) {
        host_.display.ShowLatency(Milliseconds(settings_.latency));
        linkTest_ = false;
        return settings_.latency;
    }
    if (!HasTransport()) {
        // Without a transport the worker drops every frame: nothing could be measured.
        linkTest_ = false;
        return -1;
    }

    const bool pollingWasHeld = host_.radio.SetPollingHeld(true);
    host_.radio.SetSending(true);
    if (driverAudio_)
        driver_.AudioStop();
    host_.progress.OpenProgress(language_.LoadString(kMsgSpeedTest), kProgressSteps);
    wasOffLine_ = offLine_;

    if (!host_.progress.WaitPumpingMessages(kSettleMs) || SpeedTestInterrupted()) {
        RestoreAfterSpeedTest(pollingWasHeld);
        return -1;
    }
    worker_.SetTimes(kSettlePoll, kSettleReplyTimeout);
    WaitEnd end = WaitForWorkerIdle();
    if (end != WaitEnd::kIdle) {
        if (end == WaitEnd::kTimedOut)
            log_.WriteText(language_.Translate(kSettleTimeout) + "\r\n");
        RestoreAfterSpeedTest(pollingWasHeld);
        return -1;
    }

    worker_.SetTimes(kMeasurePoll, kMeasureReplyTimeout);
    // The worker drops a read the radio never answers: that is no answer, not a fast one.
    const uint64_t droppedBefore = worker_.DroppedCount();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kSpeedTestReads; ++i) {
        host_.progress.StepProgress();
        host_.radio.SendFrequencyRead();
        end = WaitForWorkerIdle();
        if (end == WaitEnd::kIdle && worker_.DroppedCount() != droppedBefore)
            end = WaitEnd::kTimedOut;
        if (end != WaitEnd::kIdle) {
            if (end == WaitEnd::kTimedOut)
                log_.WriteText(language_.Translate(kSendTimeout) + "\r\n");
            RestoreAfterSpeedTest(pollingWasHeld);
            return -1;
        }
    }
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    int ms = static_cast<int>(std::min<long long>(elapsed.count(), INT_MAX / 2));
    char line[64];
    std::snprintf(line, sizeof line, "\r\nTimeout calcolato:%dms\r\n", ms);
    log_.WriteText(line);

    if (ms < kMinSpeedTestMs) {
        // A fast link: one more measurement, then the floor (the old test repeated forever).
        if (!lastTry) {
            RestoreAfterSpeedTest(pollingWasHeld);
            return kTooFast;
        }
        ms = kMinSpeedTestMs;
    }
    FinishSpeedTest(ms, pollingWasHeld);
    return ms;
}

bool CRadioLink::SpeedTestInterrupted()
{
    return host_.progress.IsClosing() || host_.progress.ProgressCancelled()
           || (offLine_ && !wasOffLine_) || !IsRadioConnected();
}

CRadioLink::WaitEnd CRadioLink::WaitForWorkerIdle()
{
    for (int step = 0; step < kIdleWaitSteps; ++step) {
        host_.progress.PumpMessages();
        if (SpeedTestInterrupted())
            return WaitEnd::kInterrupted;
        if (worker_.IsIdle())
            return WaitEnd::kIdle;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return WaitEnd::kTimedOut;
}

void CRadioLink::EndSpeedTest(bool pollingWasHeld)
{
    linkTest_ = false;
    host_.radio.SetPollingHeld(pollingWasHeld);
    host_.radio.SetSending(false);
    if (driverAudio_)
        driver_.AudioStart();
    host_.progress.CloseProgress();
}

void CRadioLink::RestoreAfterSpeedTest(bool pollingWasHeld)
{
    EndSpeedTest(pollingWasHeld);
    // The measuring times must not outlive a failed test.
    worker_.SetTimes(settings_.pollInterval, settings_.delayCommand);
}

void CRadioLink::FinishSpeedTest(int ms, bool pollingWasHeld)
{
    host_.display.ShowLatency(Milliseconds(ms));
    EndSpeedTest(pollingWasHeld);
}

int CRadioLink::ApplySpeedTestResult(int result, bool atStartup)
{
    if (result >= 0) {
        const int r = std::min(result, INT_MAX / 2);
        settings_.delayCommand = r;
        settings_.pollInterval = 2 * r;
        ini_.WriteInt(settings::smeter::Refresh, 2 * r);
        worker_.SetTimes(2 * r, r);
        offLine_ = false;
        host_.display.ShowLineLost("");
        return 0;
    }
    const int choice = host_.user.RunNoPortDialog(settings_.id.port);
    HandleNoPortResult(choice, atStartup);
    return choice;
}

void CRadioLink::HandleNoPortResult(int result, bool atStartup)
{
    if (result == kNoPortExit) {
        host_.user.CloseProgram(atStartup);
    } else if (result == kNoPortOffLine) {
        offLine_ = true;
        host_.display.ShowOffLine();
    }
}

void CRadioLink::OnSync()
{
    if (offLine_)
        LoadSettings(false);
    const int result = RunSpeedTest();
    if (ApplySpeedTestResult(result, false) != 0)
        return;
    host_.radio.ReadFrequencyMode(false);
    host_.radio.RefreshAfterSync();
}
