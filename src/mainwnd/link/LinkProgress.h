// Progress and waiting for the radio link: the progress dialog and the message pump that keeps
// the GUI (and received frames) moving while the link waits.
#pragma once

#include <string>

class ILinkProgress {
public:
    virtual ~ILinkProgress() = default;

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
};
