// The report of report_args (a started program): its working directory and its arguments.
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace report_args {

inline const std::string kProgram = std::string(CORVANE_TESTS_DIR) + "/report_args";

struct Report {
    std::string cwd;
    std::vector<std::string> args;
};

// Waits (up to 10 s) for the report file and reads it; empty when none came.
inline Report WaitForReport(
    const std::string& path, const std::function<void()>& pump = [] {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    })
{
    Report r;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!std::filesystem::exists(path) && std::chrono::steady_clock::now() < end)
        pump();
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("cwd=", 0) == 0)
            r.cwd = line.substr(4);
        else if (line.rfind("arg=", 0) == 0)
            r.args.push_back(line.substr(4));
    }
    return r;
}

}  // namespace report_args
