// Starting outside programs: explicit argument lists (no shell), the working directory set in the
// child only, no descriptor but 0, 1 and 2 handed on, and every start failure (exec included)
// reported to the caller. No signal handler is installed, so this is safe next to Qt.
//
// argv[0] is the program: a path containing '/' (a relative one is taken from the caller's
// current directory, not from workingDirectory), or a bare name searched in PATH.
// An empty workingDirectory keeps the caller's.
#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace platform {

// Where a start failed.
enum class SpawnStep { None, Arguments, Pipe, Fork, WorkingDirectory, Exec, StandardStreams };

// What the program gets as descriptors 0, 1 and 2: the caller's, or /dev/null for all three.
enum class StandardStreams { Inherit, Null };

struct SpawnResult {
    bool started = false;
    pid_t pid = -1;  // the program's process id when started
    SpawnStep failedStep = SpawnStep::None;
    int error = 0;  // errno value of the failed step
    explicit operator bool() const { return started; }
};

// Starts the program and returns once it runs (or failed to). The program is not our child (it is
// detached through an intermediate process), so it never lingers as a zombie and needs no waiting.
SpawnResult SpawnDetached(const std::vector<std::string>& argv,
                          const std::string& workingDirectory = {},
                          StandardStreams streams = StandardStreams::Inherit);

struct RunResult {
    enum class Outcome { Exited, Signalled, TimedOut, NotStarted };
    Outcome outcome = Outcome::NotStarted;
    int exitCode = -1;  // Exited: the exit status; Signalled: the signal number
    SpawnStep failedStep = SpawnStep::None;  // NotStarted: where and why
    int error = 0;
    bool Succeeded() const { return outcome == Outcome::Exited && exitCode == 0; }
};

// Starts the program and blocks until it ends. With timeoutMs >= 0 a program still running after
// that long is killed (SIGKILL), reaped, and reported as TimedOut.
RunResult SpawnAndWait(const std::vector<std::string>& argv,
                       const std::string& workingDirectory = {}, int timeoutMs = -1);

// "exec: No such file or directory" and the like, for messages and logs.
std::string DescribeSpawnFailure(SpawnStep step, int error);

// True when no process of that id runs, so what it left half written is nobody's any more. An id
// taken again by another process counts as running: its files are kept, never wrongly removed.
bool ProcessHasEnded(pid_t pid);

// For a file whose name carries its writer's process id as `pidText` (digits only): true when
// that writer has ended, or, with `ownAreLeftOver`, when the id is this process's (at start-up,
// before this process wrote anything, the file can only be an ended process's).
bool WriterHasEnded(std::string_view pidText, bool ownAreLeftOver);

}  // namespace platform
