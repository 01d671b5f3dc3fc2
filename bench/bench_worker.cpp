// Round trips of 03 reads through the command worker to the in-process simulated radio (no
// latency, no pacing, bus echo on), and the CPU an idle worker uses.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <sys/resource.h>
#include <thread>
#include <vector>

#include "FrameAssembler.h"
#include "GestCommand.h"
#include "WindowMessages.h"
#include "SimulatedRadio.h"

namespace {

using Clock = std::chrono::steady_clock;

class SimWriter : public cat::ICivWriter {
public:
    explicit SimWriter(sim::SimulatedRadio& radio) : radio_(radio) {}
    bool WriteFrame(const uint8_t* bytes, int length) override
    {
        radio_.Write(bytes, static_cast<size_t>(length));
        return true;
    }

private:
    sim::SimulatedRadio& radio_;
};

// The main window's part: wakes the bench thread on "frames available"; idle ticks are
// acknowledged at once.
class BenchGui : public cat::IWorkerNotify {
public:
    cat::CGestCommand* worker = nullptr;

    void PostWorkerMessage(unsigned message) override
    {
        if (message == msg::kIdleTick) {
            worker->AcknowledgeIdleTick();
            return;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            pending_ = true;
        }
        cv_.notify_one();
    }

    // Waits for a notification, then drains; true once a frequency answer came.
    bool WaitForAnswer()
    {
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(mutex_);
                if (!cv_.wait_for(lock, std::chrono::seconds(5), [this] { return pending_; }))
                    return false;
                pending_ = false;
            }
            worker->AcknowledgeFramesAvailable();
            bool answered = false;
            uint8_t buffer[1024];
            int size = sizeof buffer;
            while (worker->PopFrameForGui(size, buffer)) {
                if (size > 4 && buffer[4] == 0x03)
                    answered = true;
                size = sizeof buffer;
            }
            if (answered)
                return true;
        }
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool pending_ = false;
};

class NullWriter : public cat::ICivWriter {
public:
    bool WriteFrame(const uint8_t*, int) override { return true; }
};

double ProcessCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main()
{
    constexpr int kReads = 2000;
    constexpr int kWarmUp = 50;
    const uint8_t read[] = {0xFE, 0xFE, 0x58, 0xE0, 0x03, 0xFD};

    std::vector<double> millis;
    {
        sim::SimConfig config;
        config.latencyMs = 0;
        config.pacing = false;
        auto radio = std::make_unique<sim::SimulatedRadio>(config);
        auto worker = std::make_unique<cat::CGestCommand>();
        cat::CFrameAssembler assembler(
            [&](const uint8_t* frame, int length) { worker->PushReceivedFrame(length, frame); });
        radio->SetOutput(
            [&](const uint8_t* bytes, size_t length) { assembler.Feed(bytes, length); });
        SimWriter writer(*radio);
        BenchGui gui;
        gui.worker = worker.get();
        worker->Configure(0, &gui, cat::CGestCommand::kDefaultPollInterval,
                          cat::CGestCommand::kDefaultReplyTimeout,
                          sim::DefaultAddress(config.model), nullptr, nullptr);
        worker->Start(&writer);

        for (int i = 0; i < kReads + kWarmUp; ++i) {
            const Clock::time_point start = Clock::now();
            worker->EnqueueCommand(sizeof read, 0, read);
            if (!gui.WaitForAnswer()) {
                std::fprintf(stderr, "bench_worker: no answer to read %d\n", i);
                return 1;
            }
            if (i >= kWarmUp)
                millis.push_back(
                    std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        }
        worker->Stop(true);
    }
    std::sort(millis.begin(), millis.end());
    const double median = millis[millis.size() / 2];
    const double p99 = millis[std::min(millis.size() - 1, millis.size() * 99 / 100)];

    // Idle: a started worker with nothing to do and the default poll interval.
    double idlePercent = 0;
    {
        NullWriter writer;
        BenchGui gui;
        cat::CGestCommand worker;
        gui.worker = &worker;
        worker.Configure(0, &gui, cat::CGestCommand::kDefaultPollInterval,
                         cat::CGestCommand::kDefaultReplyTimeout, 0x58, nullptr, nullptr);
        worker.Start(&writer);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        const double cpu0 = ProcessCpuSeconds();
        const Clock::time_point t0 = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(5));
        const double cpu = ProcessCpuSeconds() - cpu0;
        const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
        worker.Stop(true);
        idlePercent = 100.0 * cpu / wall;
    }

    std::printf("worker_roundtrip_median_ms: %.3f\n", median);
    std::printf("worker_roundtrip_p99_ms: %.3f\n", p99);
    std::printf("worker_idle_cpu_percent: %.3f\n", idlePercent);
    return 0;
}
