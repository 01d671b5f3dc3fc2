// radiosim started as a real process: its first output line is the pseudo-terminal to open, and
// its standard input takes front-panel and fault commands.
#pragma once

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace cattest {

class RadiosimProcess {
public:
    explicit RadiosimProcess(std::vector<std::string> args = {})
    {
        const std::string program = std::string(CORVANE_BIN_DIR) + "/radiosim";
        int in[2], out[2];
        if (pipe2(in, O_CLOEXEC) != 0)
            return;
        if (pipe2(out, O_CLOEXEC) != 0) {
            close(in[0]);
            close(in[1]);
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        args.insert(args.begin(), program);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        close(out[1]);
        stdin_ = in[1];
        stdout_ = out[0];
        if (pid_ > 0)
            device_ = ReadLine();
    }
    ~RadiosimProcess()
    {
        Kill();
        if (stdin_ >= 0)
            close(stdin_);
        if (stdout_ >= 0)
            close(stdout_);
    }

    // The pseudo-terminal's path, empty when radiosim did not start.
    const std::string& Device() const { return device_; }

    // One command on its standard input; returns its reply line.
    std::string Type(const std::string& line)
    {
        const std::string text = line + "\n";
        if (write(stdin_, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
            return "";
        return ReadLine();
    }

    void Kill()
    {
        if (pid_ <= 0)
            return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    std::string ReadLine(int timeoutMs = 10000)
    {
        std::string line;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        char c;
        while (std::chrono::steady_clock::now() < end) {
            pollfd pfd{stdout_, POLLIN, 0};
            if (poll(&pfd, 1, 100) <= 0)
                continue;
            if (read(stdout_, &c, 1) != 1)
                break;
            if (c == '\n')
                return line;
            line += c;
        }
        return "";
    }

    pid_t pid_ = -1;
    int stdin_ = -1;
    int stdout_ = -1;
    std::string device_;
};

}  // namespace cattest
