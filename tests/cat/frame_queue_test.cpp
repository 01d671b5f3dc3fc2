#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "FrameQueue.h"

using cat::CFrameQueue;
using cat::QueueResult;

namespace {

std::vector<uint8_t> Numbered(int n, int length)
{
    std::vector<uint8_t> bytes(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i)
        bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(n + i);
    return bytes;
}

}  // namespace

TEST(FrameQueue, KeepsOrderWrapsAroundAndRefusesWhenFull)
{
    auto queue = std::make_unique<CFrameQueue>();
    for (int n = 0; n < CFrameQueue::kCapacity; ++n) {
        auto bytes = Numbered(n, 1 + n % 40);
        ASSERT_EQ(queue->TryPush(static_cast<int>(bytes.size()), n % 2, bytes.data()),
                  QueueResult::Ok);
    }
    EXPECT_EQ(queue->GetCount(), CFrameQueue::kCapacity);
    EXPECT_EQ(queue->WriteIndex(), 0);

    // A full queue refuses instead of overwriting the oldest frame.
    uint8_t extra[3] = {1, 2, 3};
    EXPECT_EQ(queue->TryPush(3, 0, extra), QueueResult::Full);
    EXPECT_FALSE(queue->Push(3, 0, extra));
    EXPECT_EQ(queue->GetCount(), CFrameQueue::kCapacity);

    for (int n = 0; n < CFrameQueue::kCapacity; ++n) {
        uint8_t buffer[256];
        int size = sizeof buffer;
        uint8_t tag = 9;
        ASSERT_TRUE(queue->PopWithTag(size, buffer, tag)) << n;
        auto expected = Numbered(n, 1 + n % 40);
        ASSERT_EQ(size, static_cast<int>(expected.size()));
        EXPECT_EQ(std::memcmp(buffer, expected.data(), expected.size()), 0);
        EXPECT_EQ(tag, n % 2);
    }
    EXPECT_EQ(queue->GetCount(), 0);
    EXPECT_EQ(queue->ReadIndex(), 0);
    EXPECT_EQ(queue->WriteIndex(), 0);

    // An empty queue answers "no frame", not the stale slot at the read index.
    uint8_t buffer[256];
    int size = sizeof buffer;
    EXPECT_EQ(queue->TryPop(size, buffer), QueueResult::Empty);
    EXPECT_FALSE(queue->Pop(size, buffer));
    EXPECT_EQ(size, 256);

    // Past the wrap the order still holds.
    for (int round = 0; round < 2500; ++round) {
        auto bytes = Numbered(round, 5);
        ASSERT_TRUE(queue->Push(5, 0, bytes.data()));
        size = sizeof buffer;
        ASSERT_TRUE(queue->Pop(size, buffer));
        ASSERT_EQ(buffer[0], static_cast<uint8_t>(round));
    }
    EXPECT_EQ(queue->ReadIndex(), 2500 % CFrameQueue::kCapacity);
}

TEST(FrameQueue, RefusesFramesThatDoNotFitAndKeepsThem)
{
    auto queue = std::make_unique<CFrameQueue>();
    std::vector<uint8_t> big(257, 0x11);
    EXPECT_EQ(queue->TryPush(257, 0, big.data()), QueueResult::TooLong);
    EXPECT_EQ(queue->GetCount(), 0);
    EXPECT_EQ(queue->WriteIndex(), 0);
    EXPECT_TRUE(queue->Push(256, 1, big.data()));

    auto eleven = Numbered(7, 11);
    ASSERT_TRUE(queue->Push(11, 0, eleven.data()));
    ASSERT_TRUE(queue->Push(0, 0, nullptr));  // an empty entry is stored as such

    uint8_t buffer[256];
    int size = 256;
    ASSERT_TRUE(queue->Pop(size, buffer));
    EXPECT_EQ(size, 256);

    // Too small a buffer leaves the frame where it is.
    size = 10;
    EXPECT_EQ(queue->TryPop(size, buffer), QueueResult::TooSmall);
    EXPECT_EQ(size, 10);
    EXPECT_EQ(queue->GetCount(), 2);
    size = 256;
    ASSERT_TRUE(queue->Pop(size, buffer));
    EXPECT_EQ(size, 11);
    EXPECT_EQ(std::memcmp(buffer, eleven.data(), 11), 0);

    size = 256;
    ASSERT_TRUE(queue->Pop(size, buffer));
    EXPECT_EQ(size, 0);

    for (int i = 0; i < 5; ++i)
        queue->Push(11, 0, eleven.data());
    queue->Clear();
    EXPECT_EQ(queue->GetCount(), 0);
    EXPECT_EQ(queue->ReadIndex(), 0);
    EXPECT_EQ(queue->WriteIndex(), 0);
    size = 256;
    EXPECT_FALSE(queue->Pop(size, buffer));
}

// Several producers and one consumer, with every busy refusal retried: each frame arrives once,
// and each producer's frames arrive in the order it pushed them.
TEST(FrameQueue, RetriedBusyRefusalsLoseAndDuplicateNothing)
{
    auto queue = std::make_unique<CFrameQueue>();
    constexpr int kProducers = 3;
    constexpr int kPerProducer = 20000;
    std::atomic<long> busySeen{0};

    std::vector<std::thread> producers;
    for (int p = 0; p < kProducers; ++p) {
        producers.emplace_back([&, p] {
            for (int n = 0; n < kPerProducer; ++n) {
                uint8_t frame[8] = {0xFE,
                                    0xFE,
                                    static_cast<uint8_t>(p),
                                    static_cast<uint8_t>(n & 0xFF),
                                    static_cast<uint8_t>(n >> 8),
                                    static_cast<uint8_t>(n >> 16),
                                    0,
                                    0xFD};
                for (;;) {
                    const QueueResult r = queue->TryPush(8, 0, frame);
                    if (r == QueueResult::Ok)
                        break;
                    if (r == QueueResult::Busy)
                        busySeen.fetch_add(1);
                    std::this_thread::yield();  // busy or full: try again
                }
            }
        });
    }

    std::vector<int> next(kProducers, 0);
    int received = 0;
    bool ordered = true;
    while (received < kProducers * kPerProducer) {
        uint8_t buffer[256];
        int size = sizeof buffer;
        const QueueResult r = queue->PopRetrying(size, buffer);
        if (r == QueueResult::Empty) {
            std::this_thread::yield();
            continue;
        }
        ASSERT_EQ(r, QueueResult::Ok);
        ASSERT_EQ(size, 8);
        const int p = buffer[2];
        const int n = buffer[3] | (buffer[4] << 8) | (buffer[5] << 16);
        ASSERT_LT(p, kProducers);
        if (n != next[static_cast<size_t>(p)])
            ordered = false;
        next[static_cast<size_t>(p)] = n + 1;
        ++received;
    }
    for (auto& t : producers)
        t.join();
    EXPECT_TRUE(ordered);
    for (int p = 0; p < kProducers; ++p)
        EXPECT_EQ(next[static_cast<size_t>(p)], kPerProducer);
    EXPECT_EQ(queue->GetCount(), 0);
}
