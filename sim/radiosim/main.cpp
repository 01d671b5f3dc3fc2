// radiosim: the simulated radio on a pseudo-terminal, with the bus echo, until SIGINT or SIGTERM.
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "ControlSession.h"
#include "PtyPort.h"
#include "RadiosimOptions.h"
#include "SimulatedRadio.h"

namespace {

int g_signalPipe[2] = {-1, -1};

void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] ssize_t n = write(g_signalPipe[1], &byte, 1);
}

bool InstallSignals()
{
    if (pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGINT, &action, nullptr) == 0 && sigaction(SIGTERM, &action, nullptr) == 0;
}

// Front-panel commands typed on standard input, one a line; the reply goes to standard output.
class StdinCommands {
public:
    explicit StdinCommands(sim::SimulatedRadio& radio) : session_(radio) {}
    // False at end of input.
    bool ReadAvailable()
    {
        char buffer[512];
        const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        pending_.append(buffer, static_cast<size_t>(n));
        for (size_t end; (end = pending_.find('\n')) != std::string::npos;) {
            const std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            if (line.find_first_not_of(" \t\r") == std::string::npos)
                continue;
            std::string reply;
            session_.Run(line, reply);
            std::printf("%s\n", reply.c_str());
            std::fflush(stdout);
        }
        if (pending_.size() > 4096)
            pending_.clear();  // no line is that long
        return true;
    }

private:
    sim::ControlSession session_;
    std::string pending_;
};

}  // namespace

int main(int argc, char** argv)
{
    sim::SimConfig config;
    std::string error;
    const std::vector<std::string> args(argv + 1, argv + argc);
    switch (radiosim::ParseOptions(args, config, error)) {
    case radiosim::ParseResult::Help: std::fputs(radiosim::Usage(), stdout); return 0;
    case radiosim::ParseResult::Error:
        std::fprintf(stderr, "radiosim: %s\n%s", error.c_str(), radiosim::Usage());
        return 2;
    case radiosim::ParseResult::Run: break;
    }
    if (!InstallSignals()) {
        std::perror("radiosim: signals");
        return 1;
    }
    radiosim::PtyPort port;
    if (!port.Open(error)) {
        std::fprintf(stderr, "radiosim: %s\n", error.c_str());
        return 1;
    }
    {
        sim::SimulatedRadio radio(config);
        radio.SetOutput([&port](const uint8_t* bytes, size_t length) { port.Send(bytes, length); });
        StdinCommands commands(radio);
        std::printf("%s\n", port.Path().c_str());
        std::fflush(stdout);

        bool stdinOpen = true;
        for (;;) {
            pollfd fds[3] = {{g_signalPipe[0], POLLIN, 0},
                             {port.Fd(), POLLIN, 0},
                             {stdinOpen ? STDIN_FILENO : -1, POLLIN, 0}};
            if (poll(fds, 3, -1) < 0)
                continue;
            if (fds[0].revents)
                break;
            if (fds[1].revents & POLLIN) {
                uint8_t buffer[4096];
                const long n = port.Receive(buffer, sizeof buffer);
                if (n > 0)
                    radio.Write(buffer, static_cast<size_t>(n));
                if (n < 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
            } else if (fds[1].revents & (POLLHUP | POLLERR)) {
                // No terminal side open: wait for the controller to come back.
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            if (fds[2].revents)
                stdinOpen = commands.ReadAvailable();
        }
        radio.SetOutput(nullptr);
    }
    return 0;
}
