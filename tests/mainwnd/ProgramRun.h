// The program itself as a child process started from a program folder, its standard error going
// to a file beside it, and ended by a signal.
#pragma once

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "TempDir.h"

extern char** environ;

namespace wndtest {

// Returns as soon as pred holds; the ceiling only stops a broken run, so it is generous for a
// loaded machine, where the program's start-up alone can take most of a minute.
inline bool WaitFor(const std::function<bool()>& pred,
                    std::chrono::seconds ceiling = std::chrono::seconds(120))
{
    const auto end = std::chrono::steady_clock::now() + ceiling;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end)
            return pred();
        ::usleep(10000);
    }
    return true;
}

class ProgramRun {
public:
    explicit ProgramRun(const std::string& program) : errors_(program + ".stderr")
    {
        char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors_.c_str(),
                                           O_WRONLY | O_CREAT | O_TRUNC, 0600);
        started_ = ::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv, environ) == 0;
        ::posix_spawn_file_actions_destroy(&actions);
    }
    ~ProgramRun()
    {
        // A program left running would answer the next test's calls in its place.
        if (started_ && !waited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool Started() const { return started_; }
    bool Running() { return ::waitpid(pid_, nullptr, WNOHANG) == 0; }
    std::string Errors() const { return testing_support::GetFile(errors_); }
    // The exit status; -1 for a signal death or a program that does not end.
    int Stop(int signo)
    {
        ::kill(pid_, signo);
        int status = 0;
        WaitFor([&] {
            if (!waited_)
                waited_ = ::waitpid(pid_, &status, WNOHANG) == pid_;
            return waited_;
        });
        return waited_ && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    bool started_ = false;
    bool waited_ = false;
    std::string errors_;
};

}  // namespace wndtest
