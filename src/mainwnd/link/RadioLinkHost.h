// What the radio link needs from the main window: message boxes, dialogs, displays, the message
// pump, polling and the command layer's "send without waiting". The main window implements it;
// tests implement it over a real worker.
#pragma once

#include <string>

#include "GestCommand.h"
#include "MessageBoxRequest.h"
#include "SerialOwner.h"
#include "VekDriverApi.h"
#include "WorkerNotify.h"

class IRadioLinkHost {
public:
    virtual ~IRadioLinkHost() = default;

    // Shows a box built from the language table; returns mb::kIdYes, mb::kIdNo, ...
    virtual int ShowMessageBox(const MessageBoxRequest& request) = 0;
    // The configuration dialog, modally.
    virtual void RunSetupDialog() = 0;
    virtual void SetWaitCursor(bool on) = 0;

    // The mode list; without FM and WFM for a radio that lacks them.
    virtual void FillModeList(bool withFmModes) = 0;

    // Audio set-up, used when the driver does not carry audio.
    virtual bool RunAudioSettingsDialog() = 0;
    // 0 when the audio input works, else the audio error number.
    virtual int TestAudioInput() = 0;
    virtual void ApplyRecordingFormat() = 0;
    virtual void PlaceRecorderBar(int front, int enabled) = 0;

    // The diagnostics text written at the top of a new trace log.
    virtual std::string DiagnosticsText() = 0;
    virtual void PlaceToolWindows() = 0;

    // Returns whether polling was held before; the link restores that state afterwards.
    virtual bool SetPollingHeld(bool held) = 0;
    virtual void SetSending(bool sending) = 0;
    // Queues the frequency read (03) and returns at once.
    virtual void SendFrequencyRead() = 0;
    virtual void ReadFrequencyMode(bool wait) = 0;
    // The band display and the on/off button after a successful sync.
    virtual void RefreshAfterSync() = 0;

    // The latency field ("" clears it) and "OFF LINE" in the frequency field.
    virtual void ShowLatency(const std::string& text) = 0;
    virtual void ShowOffLine() = 0;
    // The lost serial port in the status line until the link is back ("" clears it).
    virtual void ShowLineLost(const std::string& text) = 0;

    // Progress dialog with an Abort button, titled with the main window's title.
    virtual void OpenProgress(const std::string& text, int steps) = 0;
    virtual void StepProgress() = 0;
    virtual bool ProgressCancelled() = 0;
    virtual void CloseProgress() = 0;

    // Waits ms while dispatching messages; false when the program is being closed.
    virtual bool WaitPumpingMessages(int ms) = 0;
    // Dispatches what is waiting now (received frames included).
    virtual void PumpMessages() = 0;
    virtual bool IsClosing() = 0;

    // The no-port dialog modally: 1 exit, 2 setup, 3 work off line.
    virtual int RunNoPortDialog(int port) = 0;
    // Ends the program: from start-up the main window ends, otherwise the shutdown routine runs.
    virtual void CloseProgram(bool atStartup) = 0;

    // The remote handler's auxiliary ports, closed before the CAT port.
    virtual void CloseAuxiliaryPorts() = 0;

    // Where the worker, the serial back-ends and the driver post to.
    virtual cat::IWorkerNotify* WorkerNotifyTarget() = 0;
    virtual cat::ISerialOwner* SerialOwner() = 0;
    virtual DrvPostFn DriverPostFunction() = 0;
    virtual void* DriverPostContext() = 0;
};
