// A stand-in for the main program's remote-control side: the real server with the real title
// rules, and an answer table per code in place of the radio.
//
//   extension_standin                      as the extension library starts "Corvane": default
//                                          title, ends on code 11 or after its lifetime
//   extension_standin --control [--title T] [--answer CODE=VALUE]... [--lifetime SECONDS]
//       stdin, one command a line:  notify CODE VALUE | registrations | title TEXT
//       stdout, one event a line:   ready PID | request CODE ARGUMENT | notified N | registrations
//       N end of stdin ends the program.
//
// Answers: Get codes answer their table value (1000 + code unless given), Set codes answer 0,
// store the argument as their Get code's value and notify the Get code with it, as the program
// does; code 50 answers 1, codes outside 0..51 answer -1, code 11 answers 0 and ends the program.
#include "IpcServer.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

namespace {

constexpr int kCodes = 52;
constexpr const char* kDefaultTitle = "Corvane Icom 706 Control - 1.0  -  RTX: IC706";

// Set code -> the Get code whose value it changes.
const std::map<int, int> kSetToGet = {
    {1, 0},   {3, 2},   {5, 4},   {7, 6},   {22, 21}, {24, 23}, {26, 25},
    {28, 27}, {30, 29}, {32, 31}, {34, 33}, {36, 35}, {38, 37}, {42, 41},
};

void Say(const std::string& line)
{
    const std::string text = line + "\n";
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, text.data() + done, text.size() - done);
        if (n <= 0)
            return;
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    bool control = false;
    std::string title = kDefaultTitle;
    int lifetimeSeconds = 60;
    std::array<std::int32_t, kCodes> answers{};
    for (int c = 0; c < kCodes; ++c)
        answers[c] = kSetToGet.count(c) ? 0 : 1000 + c;
    answers[50] = 1;
    answers[11] = 0;
    answers[51] = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--control")
            control = true;
        else if (arg == "--title" && i + 1 < argc)
            title = argv[++i];
        else if (arg == "--lifetime" && i + 1 < argc)
            lifetimeSeconds = std::atoi(argv[++i]);
        else if (arg == "--answer" && i + 1 < argc) {
            int code = -1, value = 0;
            if (std::sscanf(argv[++i], "%d=%d", &code, &value) == 2 && code >= 0 && code < kCodes)
                answers[code] = value;
        }
    }

    platform::IpcServer* serverRef = nullptr;
    platform::IpcServer server(
        title, [&](std::int32_t code, std::int32_t argument) -> std::int32_t {
            if (control)
                Say("request " + std::to_string(code) + " " + std::to_string(argument));
            if (code < 0 || code >= kCodes)
                return -1;
            if (code == 11) {
                serverRef->Notify(11, 0);
                // Once the answer and the notification have left.
                QTimer::singleShot(200, &app, &QCoreApplication::quit);
                return 0;
            }
            if (auto set = kSetToGet.find(code); set != kSetToGet.end()) {
                answers[set->second] = argument;
                const int getCode = set->second;
                QTimer::singleShot(0, &app, [serverRef, getCode, argument] {
                    serverRef->Notify(getCode, argument);
                });
            }
            return answers[code];
        });
    serverRef = &server;
    std::string error;
    if (!server.Start({}, &error)) {
        std::fprintf(stderr, "extension_standin: %s\n", error.c_str());
        return 1;
    }
    QTimer::singleShot(lifetimeSeconds * 1000, &app, &QCoreApplication::quit);

    std::string input;
    QSocketNotifier commands(STDIN_FILENO, QSocketNotifier::Read);
    commands.setEnabled(control);
    QObject::connect(&commands, &QSocketNotifier::activated, [&] {
        char buffer[4096];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            commands.setEnabled(false);
            QCoreApplication::quit();
            return;
        }
        input.append(buffer, static_cast<std::size_t>(n));
        for (std::size_t end; (end = input.find('\n')) != std::string::npos;
             input.erase(0, end + 1)) {
            const std::string line = input.substr(0, end);
            int code = 0, value = 0;
            if (std::sscanf(line.c_str(), "notify %d %d", &code, &value) == 2)
                Say("notified " + std::to_string(server.Notify(code, value)));
            else if (line == "registrations")
                Say("registrations " + std::to_string(server.RegistrationCount()));
            else if (line.rfind("title ", 0) == 0)
                server.SetTitle(line.substr(6));
        }
    });
    if (control)
        Say("ready " + std::to_string(::getpid()));
    return app.exec();
}
