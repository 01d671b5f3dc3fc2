// The driver binding against the real built Drivers/SimRadio.so.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <fstream>
#include <iterator>
#include <mutex>
#include <random>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

#include "Bcd.h"
#include "TempDir.h"
#include "VekDriver.h"
#include "WorkerTestSupport.h"

using namespace cattest;

namespace {

const std::string kSimDriver = std::string(CORVANE_BIN_DIR) + "/Drivers/SimRadio.so";

struct Posted {
    unsigned message;
    uintptr_t wParam;
    intptr_t lParam;
};

// What the main window's message target does with a driver's posts: queue them for its thread.
class Inbox {
public:
    static void Post(void* context, unsigned message, uintptr_t wParam, intptr_t lParam)
    {
        auto* self = static_cast<Inbox*>(context);
        {
            std::lock_guard<std::mutex> lock(self->mutex_);
            self->messages_.push_back({message, wParam, lParam});
        }
        self->cv_.notify_all();
    }
    bool Take(Posted& out, std::chrono::milliseconds limit = kLongWait)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!cv_.wait_for(lock, limit, [this] { return !messages_.empty(); }))
            return false;
        out = messages_.front();
        messages_.pop_front();
        return true;
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    std::deque<Posted> messages_;
};

bool InitOk(int result)
{
    return result != 0 && result != -1;
}

// Reads posted frames until one with command 03 from the radio arrives; returns it.
Bytes NextFrequencyFrame(cat::CVekDriver& driver, Inbox& inbox)
{
    Posted p{};
    while (inbox.Take(p)) {
        if (p.message != msg::kDriverRx || p.wParam < 1 || p.wParam > 256)
            continue;
        Bytes frame(p.wParam);
        if (!driver.CopyBuffRx(p.lParam, frame.data(), static_cast<int>(p.wParam)))
            continue;
        if (frame.size() == 11 && frame[2] == 0xE0 && frame[4] == 0x03)
            return frame;
    }
    return {};
}

}  // namespace

TEST(VekDriver, RefusesMissingFilesAndLibrariesThatAreNoDriver)
{
    cat::CVekDriver driver;
    EXPECT_FALSE(driver.Load("/nonexistent/VekDriver.so"));
    EXPECT_NE(driver.LastError().find("/nonexistent/VekDriver.so"), std::string::npos);
    EXPECT_FALSE(driver.IsLoaded());

    // A real shared library without the driver functions.
    EXPECT_FALSE(driver.Load("libm.so.6"));
    EXPECT_NE(driver.LastError().find("DrvInit"), std::string::npos);
    EXPECT_NE(driver.LastError().find("DrvStop"), std::string::npos);
    EXPECT_FALSE(driver.IsLoaded());

    // Not loaded: every call is a harmless no-op.
    uint8_t buffer[16];
    EXPECT_EQ(
        driver.Init(&Inbox::Post, nullptr, msg::kDriverRx, msg::kDriverAudio, msg::kDriverHelp), 0);
    EXPECT_EQ(driver.SendCommand(buffer, 6), 0);
    EXPECT_EQ(driver.GetBuffRx(1), nullptr);
    EXPECT_FALSE(driver.CopyBuffRx(1, buffer, 6));
    EXPECT_EQ(driver.IsConnected(), 0);
    EXPECT_EQ(driver.PTT(1), 0);
    EXPECT_FALSE(driver.WriteFrame(buffer, 6));
    driver.Unload();
}

TEST(VekDriver, CarriesFramesBothWaysAndUnloadsCleanly)
{
    cat::CVekDriver driver;
    ASSERT_TRUE(driver.Load(kSimDriver)) << driver.LastError();
    Inbox inbox;
    ASSERT_TRUE(InitOk(
        driver.Init(&Inbox::Post, &inbox, msg::kDriverRx, msg::kDriverAudio, msg::kDriverHelp)));
    driver.IsSupportAudio();
    driver.IsSupportPTT();
    EXPECT_NE(driver.IsConnected(), 0);

    // A raw read straight through the driver (the driver's default radio answers at 58).
    const uint8_t read[] = {0xFE, 0xFE, 0x58, 0xE0, 0x03, 0xFD};
    ASSERT_NE(driver.SendCommand(read, sizeof read), 0);
    const Bytes answer = NextFrequencyFrame(driver, inbox);
    ASSERT_EQ(answer.size(), 11u);
    const uint8_t address = answer[3];
    EXPECT_EQ(address, 0x58);

    // The worker sends through the driver; the test thread plays the GUI's message handler.
    GuiStandIn gui;
    cat::CGestCommand worker;
    worker.Configure(0, &gui, 10000, 1000, address, nullptr, &driver);
    ASSERT_TRUE(worker.Start(nullptr));
    ASSERT_TRUE(worker.EnqueueCommand(sizeof read, 0, read));
    bool answered = false;
    for (int i = 0; i < 1000 && !answered; ++i) {
        Posted p{};
        if (!inbox.Take(p, std::chrono::milliseconds(50))) {
            gui.Drain(worker);
        } else if (p.message == msg::kDriverRx && p.wParam >= 1 && p.wParam <= 256) {
            uint8_t frame[256];
            if (driver.CopyBuffRx(p.lParam, frame, static_cast<int>(p.wParam)))
                worker.PushReceivedFrame(static_cast<int>(p.wParam), frame);
        }
        gui.Drain(worker);
        for (const auto& f : gui.frames)
            answered = answered || (f.size() == 11 && f[4] == 0x03 && f[3] == address);
    }
    EXPECT_TRUE(answered);
    ASSERT_TRUE(WaitFor([&] { return worker.IsIdle(); }));

    worker.Stop(true);
    driver.Unload();
    EXPECT_FALSE(driver.IsLoaded());
    EXPECT_EQ(driver.SendCommand(read, sizeof read), 0);
    EXPECT_EQ(driver.IsConnected(), 0);
    EXPECT_EQ(driver.GetBuffRx(1), nullptr);
    driver.Unload();

    // Loaded again, it works again.
    ASSERT_TRUE(driver.Load(kSimDriver)) << driver.LastError();
    Inbox second;
    ASSERT_TRUE(InitOk(
        driver.Init(&Inbox::Post, &second, msg::kDriverRx, msg::kDriverAudio, msg::kDriverHelp)));
    driver.SendCommand(read, sizeof read);
    EXPECT_EQ(NextFrequencyFrame(driver, second).size(), 11u);
    driver.Unload();
}

// Calls racing an unload either run inside the still-loaded library or answer 0; none may enter
// the library after it is gone (which would crash).
TEST(VekDriver, UnloadWaitsForCallsInFlight)
{
    cat::CVekDriver driver;
    for (int round = 0; round < 5; ++round) {
        ASSERT_TRUE(driver.Load(kSimDriver)) << driver.LastError();
        Inbox inbox;
        ASSERT_TRUE(InitOk(driver.Init(&Inbox::Post, &inbox, msg::kDriverRx, msg::kDriverAudio,
                                       msg::kDriverHelp)));
        std::atomic<bool> go{true};
        std::vector<std::thread> callers;
        for (int t = 0; t < 3; ++t) {
            callers.emplace_back([&] {
                const uint8_t read[] = {0xFE, 0xFE, 0x58, 0xE0, 0x03, 0xFD};
                uint8_t buffer[16];
                while (go.load()) {
                    driver.IsConnected();
                    driver.SendCommand(read, sizeof read);
                    driver.CopyBuffRx(1, buffer, 11);
                }
            });
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        driver.Unload();
        EXPECT_FALSE(driver.IsLoaded());
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        go.store(false);
        for (auto& t : callers)
            t.join();
    }
}

// The simulated driver's trace file, named to it for the test's length.
struct DriverTrace {
    DriverTrace()
    {
        const int fd = mkstemp(path);
        if (fd >= 0)
            close(fd);
        setenv("SIMRADIO_TRACE", path, 1);
    }
    ~DriverTrace()
    {
        unsetenv("SIMRADIO_TRACE");
        unlink(path);
    }
    std::string Text() const
    {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    char path[32] = "/tmp/vekdriver_trace_XXXXXX";
};

// A link closed while the transmitter is keyed (settings reloaded, link lost) must not leave it
// keyed: the simulated driver notes in its trace a stop that finds the radio transmitting.
TEST(VekDriver, UnloadUnkeysAKeyedTransmitter)
{
    DriverTrace trace;
    cat::CVekDriver driver;
    ASSERT_TRUE(driver.Load(kSimDriver)) << driver.LastError();
    Inbox inbox;
    ASSERT_TRUE(InitOk(
        driver.Init(&Inbox::Post, &inbox, msg::kDriverRx, msg::kDriverAudio, msg::kDriverHelp)));
    EXPECT_NE(driver.PTT(1), 0);
    driver.Unload();
    EXPECT_EQ(trace.Text().find("STOPPED WHILE KEYED"), std::string::npos) << trace.Text();

    // Keyed and unkeyed again: nothing more is sent at the unload.
    ASSERT_TRUE(driver.Load(kSimDriver)) << driver.LastError();
    ASSERT_TRUE(InitOk(
        driver.Init(&Inbox::Post, &inbox, msg::kDriverRx, msg::kDriverAudio, msg::kDriverHelp)));
    driver.PTT(1);
    driver.PTT(0);
    driver.Unload();
    EXPECT_EQ(trace.Text().find("STOPPED WHILE KEYED"), std::string::npos) << trace.Text();
}

// A driver whose send does not come back holds up neither the worker's stop nor the unload
// (as at a reconnect or exit); the stuck call returns at DrvStop into a worker that has started
// again meanwhile, and must leave it alone: the new run gets its answers.
TEST(VekDriver, AWorkerStuckInTheDriverIsLeftBehindAndTheLinkComesBack)
{
    DriverTrace trace;
    const uint8_t read[] = {0xFE, 0xFE, 0x58, 0xE0, 0x03, 0xFD};
    cat::CVekDriver driver;
    GuiStandIn gui;
    cat::CGestCommand worker;
    Inbox inbox;
    for (const char* hang : {"1", ""}) {
        setenv("SIMRADIO_HANG", hang, 1);
        ASSERT_TRUE(driver.Load(kSimDriver)) << driver.LastError();
        ASSERT_TRUE(InitOk(driver.Init(&Inbox::Post, &inbox, msg::kDriverRx, msg::kDriverAudio,
                                       msg::kDriverHelp)));
        worker.Configure(0, &gui, 10000, 1000, 0x58, nullptr, &driver);
        ASSERT_TRUE(worker.Start(nullptr));
        ASSERT_TRUE(worker.EnqueueCommand(sizeof read, 0, read));
        if (*hang != 0) {
            ASSERT_TRUE(WaitFor([&] { return trace.Text().find("HANGING") != std::string::npos; }));
            worker.Stop(true);
            EXPECT_FALSE(worker.IsStarted());
            driver.Unload();
            continue;
        }
        const Bytes answer = NextFrequencyFrame(driver, inbox);
        ASSERT_EQ(answer.size(), 11u);
        worker.PushReceivedFrame(static_cast<int>(answer.size()), answer.data());
        EXPECT_TRUE(WaitFor([&] {
            gui.Drain(worker);
            return worker.IsIdle() && !gui.frames.empty() && gui.frames.back() == answer;
        }));
    }
    unsetenv("SIMRADIO_HANG");
    worker.Stop(true);
    driver.Unload();
}

TEST(VekDriver, ADriverDamagedAtRandomIsRefusedOrLoadedAndNeverTakesTheProgramDown)
{
    testing_support::TempDir folder{"corvane-damaged-driver"};
    const std::string original = testing_support::GetFile(kSimDriver);
    ASSERT_GT(original.size(), 12288u);
    int refused = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 random(seed);
        std::string damaged = original;
        for (int i = 0; i < 8; ++i)
            damaged[random() % 12288] = static_cast<char>(random() & 0xFF);
        const std::string path = folder.path + "/VekDriver" + std::to_string(seed) + ".so";
        testing_support::PutFile(path, damaged);
        // The program's side in a process of its own, so that a crash shows as one.
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            cat::CVekDriver driver;
            const bool loaded = driver.Load(path);
            ::_exit(loaded ? 0 : (driver.LastError().empty() ? 3 : 1));
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status)) << "seed " << seed << " signal " << WTERMSIG(status);
        ASSERT_TRUE(WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == 1)
            << "seed " << seed << " exit " << WEXITSTATUS(status);
        refused += WEXITSTATUS(status) == 1;
    }
    EXPECT_GT(refused, 0);
}
