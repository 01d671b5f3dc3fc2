// How the command worker tells the main window that something is waiting. The receiver posts the
// message to its own thread and returns at once; the worker never waits for the GUI.
#pragma once

namespace cat {

class IWorkerNotify {
public:
    virtual ~IWorkerNotify() = default;
    // message is msg::kFramesAvailable, msg::kIdleTick or msg::kAnswerState (their configured
    // numbers); any thread.
    virtual void PostWorkerMessage(unsigned message) = 0;
};

}  // namespace cat
