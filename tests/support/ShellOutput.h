// Runs a shell command (the X tools a user would use: xprop, xdotool) and gives what it printed.
#pragma once

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>

namespace testing_support {

inline std::string Shell(const std::string& command)
{
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, p) != nullptr)
            out += buffer;
        ::pclose(p);
    }
    return out;
}

// A guard against a hang, not a timing check.
inline bool WaitUntil(const std::function<bool()>& pred,
                      std::chrono::seconds limit = std::chrono::seconds(120))
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end)
            return pred();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

// A window manager has announced itself on $DISPLAY.
inline bool WindowManagerRuns()
{
    return Shell("xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null").find("window id")
           != std::string::npos;
}

}  // namespace testing_support
