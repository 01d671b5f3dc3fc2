// The serial path of the radio link (command worker + serial back-end) against radiosim on a
// pseudo-terminal at 19200 baud with pacing on and no answer latency: the median round trip of a
// 03 read against the time its bytes need on the wire. BENCH_LINK_NO_PACING=1 runs radiosim without
// pacing, which leaves only what the program adds.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <string>
#include <vector>

#include "GestCommand.h"
#include "MonitoredPort.h"
#include "RadiosimProcess.h"
#include "SerialLineListener.h"
#include "WindowMessages.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kBaud = 19200;
constexpr int kReads = 500;
constexpr int kWarmUp = 20;
constexpr int kPort = 7;
constexpr uint8_t kAddress = 0x58;
const uint8_t kRead[] = {0xFE, 0xFE, kAddress, 0xE0, 0x03, 0xFD};
constexpr int kAnswerLength = 11;  // FE FE E0 58 03 <5 BCD> FD

// The main window's part: woken by "frames available", it drains the worker's frames.
class BenchGui : public cat::IWorkerNotify, public cat::ISerialOwner {
public:
    void PostWorkerMessage(unsigned message) override
    {
        if (message != msg::kFramesAvailable)
            return;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            posted_ = true;
        }
        cv_.notify_one();
    }
    void PostSerialFrame(int, const uint8_t*, int) override {}
    void PostSerialError(int, int error) override
    {
        std::fprintf(stderr, "serial error %d\n", error);
    }

    // Waits for the answer to a read; false after a second without one.
    bool WaitForAnswer(cat::CGestCommand& worker)
    {
        const auto end = Clock::now() + std::chrono::seconds(1);
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(mutex_);
                if (!cv_.wait_until(lock, end, [this] { return posted_; }))
                    return false;
                posted_ = false;
            }
            worker.AcknowledgeFramesAvailable();
            uint8_t frame[256];
            int size = sizeof frame;
            bool answered = false;
            while (worker.PopFrameForGui(size, frame)) {
                answered = answered || (size == kAnswerLength && frame[4] == 0x03);
                size = sizeof frame;
            }
            if (answered)
                return true;
        }
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool posted_ = false;
};

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

// Median round trip in ms for one back-end; < 0 when it could not run.
double Measure(bool monitored)
{
    std::vector<std::string> args = {"--latency", "0", "--baud", std::to_string(kBaud)};
    if (std::getenv("BENCH_LINK_NO_PACING") != nullptr)
        args.push_back("--no-pacing");
    cattest::RadiosimProcess sim(args);
    if (sim.Device().empty()) {
        std::fprintf(stderr, "radiosim did not start\n");
        return -1;
    }
    BenchGui gui;
    cat::SerialParams params;
    params.baud = kBaud;
    params.handshake = cat::kHandshakeOff;
    cat::CGestCommand worker;
    std::unique_ptr<cat::CMonitoredPort> monitor;
    std::unique_ptr<cat::CSerialLineListener> listener;
    cat::ICivWriter* writer = nullptr;
    if (monitored) {
        monitor = std::make_unique<cat::CMonitoredPort>();
        if (!monitor->InitDevice(&gui, kPort, sim.Device(), params) || !monitor->StartMonitoring())
            return -1;
        writer = monitor.get();
    } else {
        listener = std::make_unique<cat::CSerialLineListener>();
        if (!listener->OpenDevice(&gui, kPort, sim.Device(), params)
            || listener->StartListener() != 0)
            return -1;
        writer = listener.get();
    }
    worker.Configure(monitored ? 1 : 0, &gui, 10000, 1000, kAddress, nullptr, nullptr);
    worker.Start(writer);
    if (monitor)
        monitor->RegisterWorker(&worker);
    if (listener)
        listener->RegisterWorker(&worker);

    std::vector<double> times;
    times.reserve(kReads);
    for (int i = 0; i < kWarmUp + kReads; ++i) {
        const auto start = Clock::now();
        worker.EnqueueCommand(sizeof kRead, 0, kRead);
        if (!gui.WaitForAnswer(worker)) {
            std::fprintf(stderr, "read %d got no answer\n", i);
            continue;
        }
        const std::chrono::duration<double, std::milli> took = Clock::now() - start;
        if (i >= kWarmUp)
            times.push_back(took.count());
    }
    worker.Stop(true);
    if (monitor)
        monitor->RegisterWorker(nullptr);
    if (listener)
        listener->RegisterWorker(nullptr);
    return Median(times);
}

// The same reads written and read on the bare pseudo-terminal, without worker or back-end: what
// radiosim itself needs (its pacing), the floor for any controller.
double MeasureBareLine()
{
    std::vector<std::string> args = {"--latency", "0", "--baud", std::to_string(kBaud)};
    if (std::getenv("BENCH_LINK_NO_PACING") != nullptr)
        args.push_back("--no-pacing");
    cattest::RadiosimProcess sim(args);
    const int fd = ::open(sim.Device().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(fd, TCSANOW, &tio);
    std::vector<double> times;
    for (int i = 0; i < kWarmUp + kReads; ++i) {
        const auto start = Clock::now();
        if (::write(fd, kRead, sizeof kRead) != static_cast<ssize_t>(sizeof kRead))
            break;
        size_t got = 0;
        uint8_t buffer[64];
        while (got < sizeof kRead + kAnswerLength) {
            pollfd pfd{fd, POLLIN, 0};
            if (::poll(&pfd, 1, 1000) <= 0)
                break;
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0)
                break;
            got += static_cast<size_t>(n);
        }
        const std::chrono::duration<double, std::milli> took = Clock::now() - start;
        if (i >= kWarmUp)
            times.push_back(took.count());
    }
    ::close(fd);
    return Median(times);
}

}  // namespace

int main()
{
    // The read's echo and the answer both cross the one-wire bus, 10 bits a byte.
    const double limit = (sizeof kRead + kAnswerLength) * 10 * 1000.0 / kBaud;
    const double listener = Measure(false);
    const double monitor = Measure(true);
    const double bare = MeasureBareLine();
    std::printf("link_bus_limit_ms: %.3f ms\n", limit);
    std::printf("link_read_roundtrip_ms: %.3f ms\n", listener);
    std::printf("link_bus_efficiency_percent: %.1f %%\n",
                listener > 0 ? 100.0 * limit / listener : 0.0);
    std::printf("link_read_roundtrip_monitor_ms: %.3f ms\n", monitor);
    std::printf("link_bus_efficiency_monitor_percent: %.1f %%\n",
                monitor > 0 ? 100.0 * limit / monitor : 0.0);
    // Where the rest goes: radiosim's own pacing (bare line) against what worker and back-end add.
    std::printf("link_bare_line_roundtrip_ms: %.3f ms\n", bare);
    std::printf("link_path_overhead_ms: %.3f ms\n", listener - bare);
    return 0;
}
