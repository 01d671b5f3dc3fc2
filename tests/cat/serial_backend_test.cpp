// Both serial back-ends against radiosim on a real pseudo-terminal, with the real worker.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <sys/ioctl.h>
#include <vector>

#include "MonitoredPort.h"
#include "RadiosimProcess.h"
#include "SerialLineListener.h"
#include "WorkerTestSupport.h"

using namespace cattest;

namespace {

const Bytes kRead = {0xFE, 0xFE, 0x58, 0xE0, 0x03, 0xFD};

bool IsFreqReply(const Bytes& f)
{
    return f.size() == 11 && f[2] == 0xE0 && f[3] == 0x58 && f[4] == 0x03;
}

// The owner window: what the back-end posts.
class OwnerStandIn : public cat::ISerialOwner {
public:
    void PostSerialFrame(int port, const uint8_t* frame, int length) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        lastPort_ = port;
        frames_.emplace_back(frame, frame + length);
    }
    void PostSerialError(int port, int error) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        lastPort_ = port;
        errors_.push_back(error);
    }
    std::vector<Bytes> Frames() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return frames_;
    }
    std::vector<int> Errors() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return errors_;
    }
    int LastPort() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return lastPort_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<Bytes> frames_;
    std::vector<int> errors_;
    int lastPort_ = 0;
};

// One face for both back-ends, so every behaviour is checked on each.
class Backend {
public:
    virtual ~Backend() = default;
    virtual bool Open(cat::ISerialOwner* owner, const std::string& device,
                      const cat::SerialParams& params) = 0;
    virtual bool Start() = 0;
    virtual bool Running() const = 0;
    virtual void Close() = 0;
    virtual void Register(cat::CGestCommand* worker) = 0;
    virtual cat::ICivWriter* Writer() = 0;
    virtual const cat::CSerialLine& Line() const = 0;
    virtual bool Lost() const = 0;
    virtual int Error() const = 0;
    virtual std::string ErrorText() const = 0;
};

constexpr int kPort = 7;

class ListenerBackend : public Backend {
public:
    bool Open(cat::ISerialOwner* owner, const std::string& device,
              const cat::SerialParams& params) override
    {
        return port_.OpenDevice(owner, kPort, device, params);
    }
    bool Start() override { return port_.StartListener() == 0; }
    bool Running() const override { return port_.IsListening(); }
    void Close() override { port_.Close(); }
    void Register(cat::CGestCommand* worker) override { port_.RegisterWorker(worker); }
    cat::ICivWriter* Writer() override { return &port_; }
    const cat::CSerialLine& Line() const override { return port_; }
    bool Lost() const override { return port_.IsLineLost(); }
    int Error() const override { return port_.GetLastError(); }
    std::string ErrorText() const override { return port_.GetLastErrorText(); }

    cat::CSerialLineListener port_;
};

class MonitorBackend : public Backend {
public:
    bool Open(cat::ISerialOwner* owner, const std::string& device,
              const cat::SerialParams& params) override
    {
        return port_.InitDevice(owner, kPort, device, params);
    }
    bool Start() override { return port_.StartMonitoring(); }
    bool Running() const override { return port_.IsMonitoring(); }
    void Close() override { port_.Close(); }
    void Register(cat::CGestCommand* worker) override { port_.RegisterWorker(worker); }
    cat::ICivWriter* Writer() override { return &port_; }
    const cat::CSerialLine& Line() const override { return port_.Line(); }
    bool Lost() const override { return port_.IsLineLost(); }
    int Error() const override { return port_.GetLastError(); }
    std::string ErrorText() const override { return port_.GetLastErrorText(); }

    cat::CMonitoredPort port_;
};

class SerialBackendTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        if (GetParam())
            backend = std::make_unique<MonitorBackend>();
        else
            backend = std::make_unique<ListenerBackend>();
        sim = std::make_unique<RadiosimProcess>(
            std::vector<std::string>{"--latency", "5", "--no-pacing"});
        ASSERT_EQ(sim->Device().rfind("/dev/", 0), 0u) << "radiosim did not start";
    }
    void TearDown() override
    {
        worker.Stop(true);
        backend->Register(nullptr);
        backend->Close();
    }
    void OpenAndStart(const cat::SerialParams& params = {})
    {
        ASSERT_TRUE(backend->Open(&owner, sim->Device(), params)) << backend->ErrorText();
        ASSERT_TRUE(backend->Start());
    }
    void StartWorker()
    {
        worker.Configure(GetParam() ? 1 : 0, &gui, 10000, 300, 0x58, nullptr, nullptr);
        backend->Register(&worker);
        ASSERT_TRUE(worker.Start(backend->Writer()));
    }

    std::unique_ptr<RadiosimProcess> sim;
    std::unique_ptr<Backend> backend;
    OwnerStandIn owner;
    GuiStandIn gui;
    cat::CGestCommand worker;
};

TEST_P(SerialBackendTest, WorkerReadsFrequencyThroughThePort)
{
    cat::SerialParams params;
    params.baud = 19200;
    params.rts = 0;
    params.dtr = 1;
    OpenAndStart(params);
    StartWorker();

    // The configured line states hold after the whole open sequence, handshake included. A
    // pseudo-terminal has no modem lines (TIOCMGET fails), so there the port's own record is
    // what can be checked.
    const cat::CSerialLine& line = backend->Line();
    EXPECT_EQ(line.GetRtsState(), 0);
    EXPECT_EQ(line.GetDtrState(), 1);
    EXPECT_EQ(line.GetBaud(), 19200);
    EXPECT_EQ(line.GetHandshaking(), cat::kHandshakeOff);

    ASSERT_TRUE(worker.EnqueueCommand(static_cast<int>(kRead.size()), 0, kRead.data()));
    ASSERT_TRUE(gui.DrainUntil(worker, IsFreqReply));
    EXPECT_TRUE(WaitFor([&] { return worker.IsIdle(); }));
    gui.Drain(worker);
    for (const Bytes& f : gui.frames)
        EXPECT_NE(f[3], 0xE0) << "the echo of our own frame reached the main window";
    // The answer carries 14.074 MHz in BCD, least significant pair first.
    const Bytes expected = {0xFE, 0xFE, 0xE0, 0x58, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD};
    EXPECT_EQ(gui.frames.front(), expected);
    EXPECT_TRUE(owner.Frames().empty()) << "a registered worker gets every frame";
    EXPECT_TRUE(owner.Errors().empty());
}

TEST_P(SerialBackendTest, GarbageAndSplitReadsStillGiveWholeFrames)
{
    OpenAndStart();
    StartWorker();
    ASSERT_EQ(sim->Type("fault garbage 3"), "ok");
    ASSERT_EQ(sim->Type("fault split 3"), "ok");
    ASSERT_EQ(sim->Type("fault collision 1"), "ok");
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(worker.EnqueueCommand(static_cast<int>(kRead.size()), 0, kRead.data()));
    // Three answers come through; the collided one is written again by the worker.
    ASSERT_TRUE(WaitFor([&] {
        gui.Drain(worker);
        int answers = 0;
        for (const Bytes& f : gui.frames)
            answers += IsFreqReply(f) ? 1 : 0;
        return answers >= 3 && worker.IsIdle();
    }));
    for (const Bytes& f : gui.frames)
        EXPECT_TRUE(cat::IsCivFrame(f.data(), f.size())) << "a fragment reached the main window";
}

TEST_P(SerialBackendTest, FramesBeforeRegistrationGoToTheOwner)
{
    OpenAndStart();
    ASSERT_TRUE(backend->Writer()->WriteFrame(kRead.data(), static_cast<int>(kRead.size())));
    // Echo first, then the answer, each as one whole frame for the owner.
    ASSERT_TRUE(WaitFor([&] { return owner.Frames().size() >= 2; }));
    const auto frames = owner.Frames();
    EXPECT_EQ(frames[0], kRead);
    EXPECT_TRUE(IsFreqReply(frames[1]));
    EXPECT_EQ(owner.LastPort(), kPort);

    // An answer behind 300 bytes that never end: the owner hears of the lost frame (no bytes),
    // then gets the answer whole.
    ASSERT_EQ(sim->Type("fault long 1"), "ok");
    ASSERT_TRUE(backend->Writer()->WriteFrame(kRead.data(), static_cast<int>(kRead.size())));
    ASSERT_TRUE(WaitFor([&] { return owner.Frames().size() >= 5; }));
    const auto more = owner.Frames();
    EXPECT_EQ(more[2], kRead);
    EXPECT_TRUE(more[3].empty());
    EXPECT_TRUE(IsFreqReply(more[4]));
}

TEST_P(SerialBackendTest, VanishedDeviceIsReportedAndTheThreadStops)
{
    OpenAndStart();
    StartWorker();
    sim->Kill();
    ASSERT_TRUE(WaitFor([&] { return !backend->Running(); }))
        << "the reading thread kept running on a dead device";
    EXPECT_TRUE(backend->Lost());
    const auto errors = owner.Errors();
    ASSERT_EQ(errors.size(), 1u) << "reported once, not once per spin";
    EXPECT_EQ(errors[0], EIO);
    // Writing into the dead line fails without hanging the worker.
    EXPECT_FALSE(backend->Writer()->WriteFrame(kRead.data(), static_cast<int>(kRead.size())));
    backend->Close();
    EXPECT_FALSE(backend->Line().IsOpen());
}

TEST_P(SerialBackendTest, CloseWhileReadingEndsTheThreadAndFreesThePort)
{
    for (int round = 0; round < 3; ++round) {
        OpenAndStart();
        EXPECT_TRUE(backend->Running());
        backend->Close();  // the thread sits in its wait: Close must wake it
        EXPECT_FALSE(backend->Running());
        EXPECT_FALSE(backend->Line().IsOpen());
    }
    EXPECT_TRUE(owner.Errors().empty()) << "a requested close is no error";
}

TEST_P(SerialBackendTest, BadSettingsAreRefusedWithAClearError)
{
    cat::SerialParams params;
    EXPECT_FALSE(backend->Open(&owner, "/dev/no-such-port-h8", params));
    EXPECT_EQ(backend->Error(), ENOENT);
    EXPECT_NE(backend->ErrorText().find("/dev/no-such-port-h8"), std::string::npos)
        << backend->ErrorText();

    EXPECT_FALSE(backend->Open(&owner, "/dev/null", params));
    EXPECT_EQ(backend->Error(), ENOTTY);

    params.baud = 12345;
    EXPECT_FALSE(backend->Open(&owner, sim->Device(), params));
    EXPECT_EQ(backend->Error(), EINVAL);
    EXPECT_NE(backend->ErrorText().find("baud rate 12345"), std::string::npos)
        << backend->ErrorText();
    EXPECT_FALSE(backend->Line().IsOpen()) << "a refused port is closed again";

    params.baud = 9600;
    params.parity = 'X';
    EXPECT_FALSE(backend->Open(&owner, sim->Device(), params));
    EXPECT_EQ(backend->Error(), EINVAL);
    params.parity = 'e';
    params.stopBits = 3;
    EXPECT_FALSE(backend->Open(&owner, sim->Device(), params));
    params.stopBits = 2;
    params.rts = 2;
    EXPECT_FALSE(backend->Open(&owner, sim->Device(), params));

    // Every refusal left the device free.
    params.rts = 1;
    ASSERT_TRUE(backend->Open(&owner, sim->Device(), params)) << backend->ErrorText();
    EXPECT_EQ(backend->Line().GetParity(), 'E');
    EXPECT_EQ(backend->Line().GetStopBits(), 2);
}

INSTANTIATE_TEST_SUITE_P(Backends, SerialBackendTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? std::string("Monitored") : std::string("Listener");
                         });

// The line itself: exclusivity, handshake and the listener's stop.
TEST(SerialLine, SecondOpenerIsRefusedAndHandshakeKeepsTheLines)
{
    RadiosimProcess sim({"--latency", "5", "--no-pacing"});
    ASSERT_FALSE(sim.Device().empty());
    cat::CSerialLine first;
    cat::CSerialLine second;
    ASSERT_EQ(first.Open(sim.Device()), 0) << first.GetLastErrorText();
    EXPECT_EQ(first.Open(sim.Device()), EALREADY);
    EXPECT_EQ(second.Open(sim.Device()), EBUSY);
    EXPECT_NE(second.GetLastErrorText().find("in use"), std::string::npos);

    ASSERT_EQ(first.Setup(4800, 7, 'O', 1), 0);
    ASSERT_EQ(first.SetRtsControl(1), 0);
    ASSERT_EQ(first.SetDtrControl(0), 0);
    ASSERT_EQ(first.SetupHandshaking(cat::kHandshakeHardware), 0);
    EXPECT_EQ(first.SetupHandshaking(3), EINVAL);
    EXPECT_EQ(first.GetHandshaking(), cat::kHandshakeHardware) << "a refused kind changes nothing";
    ASSERT_EQ(first.SetupHandshaking(cat::kHandshakeOff), 0);
    EXPECT_EQ(first.GetRtsState(), 1);
    EXPECT_EQ(first.GetDtrState(), 0);
    int bits = 0;
    if (first.GetModemLines(&bits) == 0) {
        EXPECT_NE(bits & TIOCM_RTS, 0);
        EXPECT_EQ(bits & TIOCM_DTR, 0);
    } else {
        EXPECT_FALSE(first.HasModemControl());  // a pseudo-terminal: only the record exists
    }
    EXPECT_EQ(first.GetDataBits(), 7);
    EXPECT_EQ(first.GetParity(), 'O');

    ASSERT_EQ(first.Close(), 0);
    EXPECT_EQ(first.Close(), EBADF);
    EXPECT_EQ(first.Write(kRead.data(), kRead.size(), nullptr, 100), EBADF);
    EXPECT_EQ(second.Open(sim.Device()), 0) << "closing releases the port";
}

TEST(SerialLine, SecondOpenOfAListeningPortLeavesItAlone)
{
    RadiosimProcess sim({"--latency", "5", "--no-pacing"});
    ASSERT_FALSE(sim.Device().empty());
    OwnerStandIn first;
    OwnerStandIn second;
    cat::CSerialLineListener port;
    ASSERT_TRUE(port.OpenDevice(&first, 7, sim.Device(), cat::SerialParams{}));
    ASSERT_EQ(port.StartListener(), 0);
    EXPECT_FALSE(port.OpenDevice(&second, 9, sim.Device(), cat::SerialParams{}));
    EXPECT_EQ(port.GetLastError(), EALREADY);
    // The running listener still reports to the owner it was opened for.
    ASSERT_TRUE(port.WriteFrame(kRead.data(), static_cast<int>(kRead.size())));
    ASSERT_TRUE(WaitFor([&] { return first.Frames().size() >= 2; }));
    EXPECT_EQ(first.LastPort(), 7);
    EXPECT_TRUE(second.Frames().empty());
    port.Close();
}

TEST(SerialLine, StopListenerReturnsWithoutTraffic)
{
    RadiosimProcess sim({"--latency", "5", "--no-pacing"});
    ASSERT_FALSE(sim.Device().empty());
    cat::CSerialLineListener port;
    ASSERT_TRUE(port.OpenDevice(nullptr, 1, sim.Device(), cat::SerialParams{}));
    ASSERT_EQ(port.StartListener(), 0);
    EXPECT_EQ(port.StartListener(), 0) << "a running listener is kept";
    EXPECT_EQ(port.StopListener(10000), 0);
    EXPECT_FALSE(port.IsListening());
    EXPECT_TRUE(port.IsOpen()) << "stopping the listener leaves the port open";
    ASSERT_EQ(port.StartListener(), 0);
    EXPECT_EQ(port.StopListener(-1), 0);
}

}  // namespace

TEST_P(SerialBackendTest, LongGarbageIsWaitedOutNotAnsweredWithWrites)
{
    // Paced like a real line: 300 bytes of garbage take 310 ms, longer than the reply time-out.
    sim = std::make_unique<RadiosimProcess>(
        std::vector<std::string>{"--latency", "20", "--baud", "9600"});
    cat::SerialParams params;
    params.baud = 9600;
    OpenAndStart(params);
    struct Counting : cat::ICivWriter {
        cat::ICivWriter* line = nullptr;
        std::atomic<int> writes{0};
        bool WriteFrame(const uint8_t* bytes, int length) override
        {
            ++writes;
            return line->WriteFrame(bytes, length);
        }
    } counting;
    counting.line = backend->Writer();
    worker.Configure(GetParam() ? 1 : 0, &gui, 10000, 200, 0x58, nullptr, nullptr);
    backend->Register(&worker);
    ASSERT_TRUE(worker.Start(&counting));

    constexpr int kReads = 5;
    const auto read = [&] {
        gui.frames.clear();
        uint64_t ticket = 0;
        return worker.EnqueueCommand(static_cast<int>(kRead.size()), 0, kRead.data(), &ticket)
               && worker.WaitCommandDone(ticket, std::chrono::seconds(60))
               && worker.GetCommandOutcome(ticket) == cat::CommandOutcome::Answered
               && gui.DrainUntil(worker, IsFreqReply) && WaitFor([&] { return worker.IsIdle(); });
    };
    // Every answer comes behind garbage. A write into a streaming answer would queue one more
    // answer behind it, so that each read would be answered by the one before and take two
    // writes: the worker waits while bytes come in, and each read is written once (the sender
    // would have to fall silent for over half a second mid-answer to look gone).
    ASSERT_EQ(sim->Type("fault long"), "ok");
    for (int i = 0; i < kReads; ++i)
        ASSERT_TRUE(read()) << i;
    const int duringGarbage = counting.writes.load();
    EXPECT_EQ(duringGarbage, kReads);
    ASSERT_EQ(sim->Type("fault clear"), "ok");
    for (int i = 0; i < kReads; ++i)
        ASSERT_TRUE(read()) << i;
    EXPECT_EQ(counting.writes.load() - duringGarbage, kReads);
    EXPECT_EQ(worker.DroppedCount(), 0u) << "a read was given up while its answer came in";
    worker.Stop(true);
}
