// One bulk memory run (a read, a write, a sync) as the windows run it: the long-operation state
// and polling off for its whole life, the radio's state saved before and restored after, and a
// progress dialog whose Abort asks the run's question. Also the engine's host over the window.
#pragma once

#include "RadioController.h"
#include "TransferHost.h"

#include <memory>
#include <string>

class CWorkProgressDlg;
class IMainWindowServices;
class QWidget;

// Whether the main window can key the transmitter: a PTT port is set, or the driver keys.
bool CanKeyTransmitter(IMainWindowServices& services);

class CBulkRadioRun : public lists::ITransferHost {
public:
    // abortQuestion: the language string asked when Abort is pressed. The services must outlive
    // the run.
    CBulkRadioRun(IMainWindowServices& services, int abortQuestion);
    ~CBulkRadioRun() override;
    CBulkRadioRun(const CBulkRadioRun&) = delete;
    CBulkRadioRun& operator=(const CBulkRadioRun&) = delete;

    // Saves the radio's state and opens the progress over the main window; the main window and
    // the window the run starts from stay disabled until it ends. False (nothing sent, nothing
    // to restore) when the VFO choice was cancelled or the program is closing.
    bool Start(QWidget* from, int lower, int upper, const std::string& status);
    // Moves the bar to pos; false when the run is to stop: the program is closing, or Abort was
    // pressed and the user said Yes.
    bool Step(int pos);
    // Closes the progress and puts the radio back (not while the program closes); once.
    void Finish();

    // lists::ITransferHost
    bool WaitPumpingMessages(int ms) override;
    void SetPtt(bool on) override;

    // The program is ending: a stop then is no fault of the radio.
    bool Closing() const;

private:
    IMainWindowServices& services_;
    radio::CRadioController::LongOperation busy_;
    int abortQuestion_;
    bool pollingWas_;
    bool started_ = false;
    std::unique_ptr<CWorkProgressDlg> progress_;
};
