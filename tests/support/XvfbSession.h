// A real X server for screen tests: Xvfb on a free display number with the given screen size,
// optionally with a window manager, and DISPLAY plus the xcb platform set for this process, so a
// QApplication created afterwards draws on it. Everything started is killed at destruction.
#pragma once

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace testing_support {

class XvfbSession {
public:
    XvfbSession(int width, int height, bool windowManager)
    {
        for (int display = 90 + static_cast<int>(::getpid() % 50); display < 400; ++display) {
            const std::string lock = "/tmp/.X" + std::to_string(display) + "-lock";
            struct stat st {};
            if (::stat(lock.c_str(), &st) == 0)
                continue;
            name_ = ":" + std::to_string(display);
            const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
            server_ =
                Spawn({"Xvfb", name_, "-screen", "0", screen, "-nolisten", "tcp", "-noreset"});
            if (WaitForSocket(display))
                break;
            Stop(server_);
            name_.clear();
        }
        if (name_.empty())
            return;
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
    static pid_t Spawn(std::vector<std::string> args)
    {
        const pid_t pid = ::fork();
        if (pid == 0) {
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
    bool WaitForSocket(int display) const
    {
        const std::string socket = "/tmp/.X11-unix/X" + std::to_string(display);
        for (int i = 0; i < 100; ++i) {
            struct stat st {};
            if (::stat(socket.c_str(), &st) == 0)
                return true;
            int status = 0;
            if (::waitpid(server_, &status, WNOHANG) == server_)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
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
