#include "MessagePump.h"
#include "MessageTarget.h"
#include "WindowMessages.h"
#include "../../src/cat/VekDriverApi.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <new>
#include <memory>
#include <mutex>
#include <thread>
#include <type_traits>
#include <vector>

using platform::MessagePoster;
using platform::MessageTarget;
using platform::WaitPumpingMessages;

static_assert(std::is_same_v<decltype(&MessageTarget::PostTrampoline), DrvPostFn>,
              "a driver library must be able to post through the trampoline");

// Allocations of the test thread can be made to fail, as they do when memory runs out.
namespace {
thread_local bool t_failAllocations = false;
}  // namespace

void* operator new(std::size_t size)
{
    if (t_failAllocations)
        throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace {

using Clock = std::chrono::steady_clock;

// Pumps until done() or a generous time-out.
template <typename Done>
bool PumpUntil(Done done, std::chrono::seconds limit = std::chrono::seconds(60))
{
    const auto end = Clock::now() + limit;
    while (!done() && Clock::now() < end)
        WaitPumpingMessages(5);
    return done();
}

struct Seen {
    unsigned msg;
    std::uintptr_t w;
    std::intptr_t l;
};

}  // namespace

TEST(MessageTarget, PostsFromManyThreadsAllArriveInOrderOnTheOwnerThread)
{
    constexpr int kThreads = 4;
    constexpr int kPerThread = 5000;
    std::vector<std::intptr_t> next(kThreads, 0);
    int total = 0;
    int outOfOrder = 0;
    bool wrongThread = false;
    const auto owner = std::this_thread::get_id();
    MessageTarget target([&](unsigned msg, std::uintptr_t w, std::intptr_t l) {
        wrongThread = wrongThread || std::this_thread::get_id() != owner;
        if (msg != msg::kFramesAvailable || w >= kThreads)
            return;
        if (l != next[w])
            ++outOfOrder;
        next[w] = l + 1;
        ++total;
    });
    // One thread per way of posting: the target, a poster, the C trampoline.
    std::vector<std::thread> threads;
    MessagePoster poster = target.Poster();
    void* context = target.PostContext();
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < kPerThread; ++i) {
                if (t % 3 == 0)
                    target.Post(msg::kFramesAvailable, t, i);
                else if (t % 3 == 1)
                    poster.Post(msg::kFramesAvailable, t, i);
                else
                    MessageTarget::PostTrampoline(context, msg::kFramesAvailable, t, i);
            }
        });
    EXPECT_TRUE(PumpUntil([&] { return total == kThreads * kPerThread; }));
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(total, kThreads * kPerThread);
    EXPECT_EQ(outOfOrder, 0);
    EXPECT_FALSE(wrongThread);
    EXPECT_TRUE(poster.IsAlive());
}

TEST(MessageTarget, WaitInsideTheHandlerGoesOnWithTheNextMessagesInOrder)
{
    std::vector<Seen> seen;
    std::vector<std::intptr_t> handledDuringWait;
    bool waiting = false;
    MessageTarget* self = nullptr;
    MessageTarget target([&](unsigned msg, std::uintptr_t w, std::intptr_t l) {
        seen.push_back({msg, w, l});
        if (waiting)
            handledDuringWait.push_back(l);
        if (l == 1) {
            waiting = true;
            self->Post(msg::kIdleTick, 0, 100);  // posted from inside, after 2..5
            WaitPumpingMessages(200);
            waiting = false;
        }
    });
    self = &target;
    for (std::intptr_t i = 1; i <= 5; ++i)
        target.Post(msg::kIdleTick, 0, i);
    ASSERT_TRUE(PumpUntil([&] { return seen.size() == 6; }));
    std::vector<std::intptr_t> order;
    for (const Seen& s : seen)
        order.push_back(s.l);
    EXPECT_EQ(order, (std::vector<std::intptr_t>{1, 2, 3, 4, 5, 100}));
    EXPECT_EQ(handledDuringWait, (std::vector<std::intptr_t>{2, 3, 4, 5, 100}));
}

// Driver libraries post through the C trampoline: a post that fails (out of memory) must not
// unwind into them, nor leave the queue waiting for a drain that never comes.
TEST(MessageTarget, AFailedPostNeitherUnwindsIntoTheDriverNorStopsTheQueue)
{
    std::vector<std::intptr_t> got;
    MessageTarget target([&](unsigned, std::uintptr_t, std::intptr_t l) { got.push_back(l); });
    bool escaped = false;
    t_failAllocations = true;
    for (int i = 0; i < 64; ++i) {
        try {
            MessageTarget::PostTrampoline(target.PostContext(), msg::kFramesAvailable, 0, i);
        } catch (...) {
            escaped = true;
        }
    }
    t_failAllocations = false;
    EXPECT_FALSE(escaped);
    MessageTarget::PostTrampoline(target.PostContext(), msg::kFramesAvailable, 0, 1000);
    EXPECT_TRUE(PumpUntil([&] { return !got.empty() && got.back() == 1000; }));
}

TEST(MessageTarget, PostingAfterDestructionIsHarmless)
{
    MessagePoster poster;
    void* context = nullptr;
    int handled = 0;
    {
        MessageTarget target([&](unsigned, std::uintptr_t, std::intptr_t) { ++handled; });
        poster = target.Poster();
        context = target.PostContext();
        target.Post(msg::kDriverRx, 1, 1);  // queued, never handled: the target goes first
    }
    EXPECT_FALSE(poster.IsAlive());
    poster.Post(msg::kDriverRx, 1, 2);
    MessageTarget::PostTrampoline(context, msg::kDriverRx, 1, 3);
    MessageTarget::PostTrampoline(nullptr, msg::kDriverRx, 1, 4);
    MessagePoster().Post(msg::kDriverRx, 1, 5);
    WaitPumpingMessages(50);
    EXPECT_EQ(handled, 0);

    // Threads keep posting while targets are created, served and destroyed under them.
    std::atomic<bool> stop{false};
    std::atomic<void*> liveContext{nullptr};
    MessagePoster livePoster;
    std::mutex posterMutex;
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t)
        threads.emplace_back([&] {
            while (!stop) {
                MessageTarget::PostTrampoline(liveContext.load(), msg::kDriverRx, 0, 0);
                std::lock_guard<std::mutex> lock(posterMutex);
                livePoster.Post(msg::kDriverRx, 0, 0);
            }
        });
    for (int round = 0; round < 50; ++round) {
        int got = 0;
        auto target = std::make_unique<MessageTarget>(
            [&](unsigned, std::uintptr_t, std::intptr_t) { ++got; });
        liveContext = target->PostContext();
        {
            std::lock_guard<std::mutex> lock(posterMutex);
            livePoster = target->Poster();
        }
        PumpUntil([&] { return got > 10; });
        EXPECT_GT(got, 10);
        target.reset();  // the posting threads still hold the context and the poster
        WaitPumpingMessages(1);
    }
    stop = true;
    for (auto& t : threads)
        t.join();
}

TEST(MessageTarget, TargetDestroyedByItsOwnHandler)
{
    int handled = 0;
    std::unique_ptr<MessageTarget> target;
    target = std::make_unique<MessageTarget>([&](unsigned msg, std::uintptr_t, std::intptr_t) {
        ++handled;
        if (msg == msg::kDriverHelp)
            target.reset();
    });
    MessagePoster poster = target->Poster();
    target->Post(msg::kIdleTick, 0, 0);
    target->Post(msg::kDriverHelp, 0, 0);
    target->Post(msg::kIdleTick, 0, 0);  // dropped with the target
    EXPECT_TRUE(PumpUntil([&] { return !target; }));
    WaitPumpingMessages(50);
    EXPECT_EQ(handled, 2);
    EXPECT_FALSE(poster.IsAlive());
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
