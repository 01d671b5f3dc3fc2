// Random and truncated input into everything that reads bytes from the radio side.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <unistd.h>

#include "Bcd.h"
#include "CivFrame.h"
#include "FrameAssembler.h"
#include "TraceLog.h"
#include "WorkerTestSupport.h"

using namespace cattest;

TEST(Fuzz, AssemblerOnlyEverEmitsWellFormedFrames)
{
    std::mt19937 rng(1234);
    size_t emitted = 0;
    cat::CFrameAssembler assembler([&](const uint8_t* f, int n) {
        ++emitted;
        ASSERT_TRUE(cat::IsCivFrame(f, static_cast<size_t>(n)));
        ASSERT_LE(n, 256);
        for (int i = 2; i < n - 1; ++i) {
            ASSERT_NE(f[i], 0xFE);
            ASSERT_NE(f[i], 0xFC);
        }
    });
    std::uniform_int_distribution<int> byte(0, 255), special(0, 9), block(0, 300);
    for (int round = 0; round < 4000; ++round) {
        Bytes chunk(static_cast<size_t>(block(rng)));
        for (auto& b : chunk) {
            // Bias towards the bytes that drive the state machine.
            const int s = special(rng);
            b = s == 0 ? 0xFE : s == 1 ? 0xFD : s == 2 ? 0xFC : static_cast<uint8_t>(byte(rng));
        }
        assembler.Feed(chunk.data(), chunk.size());
    }
    EXPECT_GT(emitted, 0u);

    // Whatever came before, a clean frame afterwards is found intact.
    for (int round = 0; round < 2000; ++round) {
        Bytes garbage(static_cast<size_t>(block(rng) % 40));
        for (auto& b : garbage)
            b = static_cast<uint8_t>(special(rng) < 3 ? 0xFE : byte(rng));
        Bytes frame = {0xFE, 0xFE, 0xE0, 0x58};
        const int body = block(rng) % 20;
        for (int i = 0; i < body; ++i)
            frame.push_back(static_cast<uint8_t>(byte(rng) % 0xFA));
        frame.push_back(0xFD);
        Bytes last;
        cat::CFrameAssembler probe([&](const uint8_t* f, int n) { last.assign(f, f + n); });
        probe.Feed(garbage.data(), garbage.size());
        probe.Feed(frame.data(), frame.size());
        ASSERT_EQ(last, frame) << "round " << round;
    }
}

TEST(Fuzz, RandomBytesIntoFrameReaders)
{
    std::mt19937 rng(99);
    std::uniform_int_distribution<int> byte(0, 255), len(0, 300);
    for (int round = 0; round < 20000; ++round) {
        Bytes bytes(static_cast<size_t>(len(rng)));
        for (auto& b : bytes)
            b = static_cast<uint8_t>(byte(rng));
        if (!bytes.empty() && round % 3 == 0) {
            bytes[0] = 0xFE;
            if (bytes.size() > 1)
                bytes[1] = 0xFE;
            bytes.back() = 0xFD;
        }
        cat::IsCivFrame(bytes.data(), bytes.size());
        cat::BcdToNumber(bytes.data(), bytes.size());
        cat::CivFrame frame;
        frame.Assign(bytes.data(), bytes.size());
    }
}

// A running worker whose command waits while the radio side sends random frames and fragments:
// no crash, no hang, and Stop still ends it.
TEST(Fuzz, WorkerSurvivesRandomRepliesWhileWaiting)
{
    const std::string logPath = TempPath("cat-fuzz-log");
    cat::CTraceLog log;
    ASSERT_TRUE(log.Open(logPath));
    auto worker = std::make_unique<cat::CGestCommand>();
    GuiStandIn gui;
    RecordingWriter writer;
    worker->Configure(0, &gui, 5, 3, 0x58, &log, nullptr);
    ASSERT_TRUE(worker->Start(&writer));

    std::mt19937 rng(7);
    std::uniform_int_distribution<int> byte(0, 255), len(0, 260);
    const uint8_t read[] = {0xFE, 0xFE, 0x58, 0xE0, 0x03, 0xFD};
    for (int round = 0; round < 3000; ++round) {
        if (round % 50 == 0)
            worker->EnqueueCommand(sizeof read, static_cast<uint8_t>(round / 50 % 2), read);
        Bytes bytes(static_cast<size_t>(len(rng)));
        for (auto& b : bytes)
            b = static_cast<uint8_t>(byte(rng));
        if (bytes.size() > 4) {
            bytes[0] = bytes[1] = 0xFE;
            bytes[3] = round % 2 ? 0x58 : bytes[3];
            if (round % 4 == 0)
                bytes.back() = 0xFD;
        }
        worker->PushReceivedFrame(static_cast<int>(bytes.size()), bytes.data());
        if (round % 100 == 0)
            gui.Drain(*worker);
    }
    // The loop may outrun the worker thread: let it write the queued reads before stopping it.
    WaitFor([&] { return writer.Count() > 0; });
    worker->Stop(true);
    EXPECT_FALSE(worker->IsStarted());
    gui.Drain(*worker);
    EXPECT_GT(writer.Count(), 0u);
    ::unlink(logPath.c_str());
}
