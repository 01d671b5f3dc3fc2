// A real X server for screen tests: Xvfb on a free display number with the given screen size,
// optionally with a window manager, and DISPLAY plus the xcb platform set for this process, so a
// QApplication created afterwards draws on it. Everything started is killed at destruction.
#pragma once

#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace testing_support {

class XvfbSession {
public:
    XvfbSession(int width, int height, bool windowManager)
    {
        // The server picks a free display itself and tells its number once it listens: tests
        // started side by side never share one.
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
        server_ = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", screen,
                         "-nolisten", "tcp", "-noreset"},
                        fds[0]);
        ::close(fds[1]);
        std::string number;
        char c = 0;
        while (number.size() < 8 && ::read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        ::close(fds[0]);
        if (c != '\n' || number.empty()) {
            Stop(server_);
            return;
        }
        name_ = ":" + number;
        ::setenv("DISPLAY", name_.c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        if (windowManager)
            manager_ = Spawn({"openbox", "--sm-disable"});
    }
    ~XvfbSession()
    {
        Stop(manager_);
        Stop(server_);
    }
    XvfbSession(const XvfbSession&) = delete;
    XvfbSession& operator=(const XvfbSession&) = delete;

    bool Ok() const { return !name_.empty(); }
    const std::string& Display() const { return name_; }

private:
    static pid_t Spawn(std::vector<std::string> args, int closeInChild = -1)
    {
        const pid_t pid = ::fork();
        if (pid == 0) {
            if (closeInChild >= 0)
                ::close(closeInChild);
            std::vector<char*> argv;
            for (auto& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            ::freopen("/dev/null", "w", stdout);
            ::freopen("/dev/null", "w", stderr);
            ::execvp(argv[0], argv.data());
            ::_exit(127);
        }
        return pid;
    }
    static void Stop(pid_t& pid)
    {
        if (pid <= 0)
            return;
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
        pid = -1;
    }

    std::string name_;
    pid_t server_ = -1;
    pid_t manager_ = -1;
};

}  // namespace testing_support
