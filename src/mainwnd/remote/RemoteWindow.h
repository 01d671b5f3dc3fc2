// What the remote-control handler cannot do without the main window: the operations that live in
// the window's own handlers or in its tool windows. The main window implements it.
#pragma once

namespace remote {

enum class RecorderButton : int { Record, Pause, Play };

class IRemoteWindow {
public:
    virtual ~IRemoteWindow() = default;

    // The A=B operation.
    virtual void SetVfoAEqualB() = 0;
    // Closes the program through the shutdown routine (it may be posted and run later).
    virtual void ExitProgram() = 0;
    // PTT through the TX/RX window.
    virtual void SetPtt(bool on) = 0;
    // Puts the recorder's button into the state and runs its operation; 0 when it ran.
    virtual int RunRecorder(RecorderButton button, bool down) = 0;
};

}  // namespace remote
