// A mark in the runtime folder that a program is running, from its first moment on, so that a
// client does not start a second program while the first is still starting (and has no socket
// yet, or never gets one). The mark is a locked file: the lock goes with the process, so a mark
// left by a program that died is seen as such and removed.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace platform::ipc {

class ProgramMark {
public:
    ProgramMark() = default;
    ~ProgramMark();
    ProgramMark(const ProgramMark&) = delete;
    ProgramMark& operator=(const ProgramMark&) = delete;

    // Marks this process in `folder`; false when the mark could not be made.
    bool Take(const std::string& folder);

private:
    int fd_ = -1;
    std::string path_;
};

// The processes whose marks are in `folder`; marks of processes gone are removed.
std::vector<pid_t> MarkedPrograms(const std::string& folder);

// Held by a client while it looks for a mark and starts a program, so that clients starting at
// once start one program between them: the others wait their turn and then find its mark. The
// lock goes with the process. Waits at most waitMs for the turn.
class StartTurn {
public:
    StartTurn(const std::string& folder, int waitMs);
    ~StartTurn();
    StartTurn(const StartTurn&) = delete;
    StartTurn& operator=(const StartTurn&) = delete;

    // False when the turn could not be had (the folder refused the lock file, or the wait ended).
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// Waits until the program `pid` has marked itself in `folder` or has ended, at most waitMs.
bool WaitForMark(const std::string& folder, pid_t pid, int waitMs);

}  // namespace platform::ipc
