// The link to the radio: reads the link settings, chooses the transport (the driver library or
// one of the two serial back-ends), starts the worker, measures how fast the radio answers and
// derives the worker's times from it, and keeps the off-line state. GUI thread only; everything
// a window does goes through the host interfaces (RadioLinkHost.h).
#pragma once

#include <memory>
#include <string>

#include "GestCommand.h"
#include "LinkSettings.h"
#include "RadioLinkHost.h"
#include "TraceLog.h"

class CIni;
class CLanguage;
class Profile;

namespace cat {
class CGestCommand;
class CMonitoredPort;
class CSerialLineListener;
class CVekDriver;
class ICivWriter;
}  // namespace cat

class CRadioLink {
public:
    // LoadSettings results.
    enum LoadResult : int {
        kDriverRefused = -1,  // the driver library gave up at its start
        kNotConnected = 0,    // declined or failed
        kConnected = 1,
        kWantsSetup = 2,  // the user asked for the configuration dialog
        kSetupShown = 3,
    };
    // CNoPort results.
    enum NoPortResult : int { kNoPortExit = 1, kNoPortSetup = 2, kNoPortOffLine = 3 };

    // Below this many ms for five reads the measurement is taken again once, then this is used.
    static constexpr int kMinSpeedTestMs = 105;
    static constexpr int kSpeedTestReads = 5;
    static constexpr int kIdleWaitSteps = 5000;

    CRadioLink(const RadioLinkHost& host, CIni& ini, const Profile& profile,
               const CLanguage& language, cat::CGestCommand& worker, cat::CVekDriver& driver);
    ~CRadioLink();
    CRadioLink(const CRadioLink&) = delete;
    CRadioLink& operator=(const CRadioLink&) = delete;

    int LoadSettings(bool forceSetup);
    // Installs the chosen driver library when its version differs; false when a copy failed
    // (the old library stays and the user has been told).
    bool LoadDriver();
    bool OpenPort();
    // Closes the auxiliary ports, the CAT port (the worker is stopped first) or the driver.
    void ClosePort();
    // The serial port's device went away: stops the worker, closes the port, goes off line and
    // says so once (the log, the frequency field, the status line); Sync opens the port again.
    // False, doing nothing, for news of a port closed since.
    bool OnLineLost(int port, int error);
    bool IsRadioConnected();

    // The answer time in ms, or -1 when the radio could not be measured.
    int RunSpeedTest();
    // At start-up and after Sync: R >= 0 sets the worker's times; R < 0 runs the no-port dialog
    // and acts on its result. Returns 0 on success, else the dialog's result.
    int ApplySpeedTestResult(int result, bool atStartup);
    // "Sync." and Esc.
    void OnSync();

    // What the main window acts on for a no-port result (1 ends the program, 3 goes off line).
    void HandleNoPortResult(int result, bool atStartup);

    const LinkSettings& Settings() const { return settings_; }
    // After the PTT settings dialog: its keys, read again from the INI.
    void ReloadPttSettings() { ReadPttKeys(ini_, settings_); }
    bool UsesDriver() const { return useDriver_; }
    bool DriverSupportsAudio() const { return driverAudio_; }
    bool DriverSupportsPtt() const { return driverPtt_; }
    bool IsOffLine() const { return offLine_; }
    void SetOffLine(bool offLine);
    bool IsLinkTestRunning() const { return linkTest_; }
    bool IsLogOpen() const { return log_.IsOpen(); }
    cat::CTraceLog& Log() { return log_; }
    int DelayCommand() const { return settings_.delayCommand; }
    int PollInterval() const { return settings_.pollInterval; }
    cat::CMonitoredPort* MonitoredPort() { return monitored_.get(); }
    cat::CSerialLineListener* ListenerPort() { return listener_.get(); }

private:
    enum class WaitEnd { kIdle, kTimedOut, kInterrupted };

    int ShowQuestion(int id, const std::string& insert = {});
    int ConnectDriver();
    // Message 1305 after the driver's name and `why`; its answer as a LoadSettings result.
    int AskDriverSetup(const std::string& why);
    void SetUpAudio();
    void OpenLog();
    void StartWorker();
    cat::ICivWriter* SerialWriter();
    void CloseSerialPort();
    bool HasTransport() const;

    int MeasureOnce(bool lastTry);
    bool SpeedTestInterrupted();
    WaitEnd WaitForWorkerIdle();
    void EndSpeedTest(bool pollingWasHeld);
    void RestoreAfterSpeedTest(bool pollingWasHeld);
    void FinishSpeedTest(int ms, bool pollingWasHeld);

    RadioLinkHost host_;
    CIni& ini_;
    const Profile& profile_;
    const CLanguage& language_;
    cat::CGestCommand& worker_;
    cat::CVekDriver& driver_;

    LinkSettings settings_;
    std::unique_ptr<cat::CMonitoredPort> monitored_;
    std::unique_ptr<cat::CSerialLineListener> listener_;
    cat::CTraceLog log_;
    bool useDriver_ = false;
    bool driverAudio_ = false;
    bool driverPtt_ = false;
    bool offLine_ = false;
    bool linkTest_ = false;
    bool wasOffLine_ = false;  // the off-line state when the speed test began
};
