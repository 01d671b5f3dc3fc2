#include "MessagePump.h"
#include "MessageTarget.h"
#include "WindowMessages.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

#ifdef CORVANE_TEST_WIDGETS
#include <QApplication>
#include <QCloseEvent>
#include <QWidget>
#include <QWindow>
#endif

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

using platform::AbortFlag;
using platform::MessageTarget;
using platform::PumpMessages;
using platform::SetAbortFlag;
using platform::WaitPumpingMessages;
using namespace std::chrono_literals;

namespace {

using Clock = std::chrono::steady_clock;

// Lets held-back requests through: plain dispatching, no wait that would intercept them again.
template <typename Done>
bool DispatchUntil(Done done)
{
    const auto end = Clock::now() + 60s;
    while (!done() && Clock::now() < end) {
        PumpMessages();
        std::this_thread::sleep_for(2ms);
    }
    return done();
}

struct Timed {
    bool result;
    Clock::duration took;
};

Timed TimedWait(int ms)
{
    const auto start = Clock::now();
    bool result = WaitPumpingMessages(ms);
    return {result, Clock::now() - start};
}

}  // namespace

TEST(MessagePump, ZeroWaitAndPumpReturnAtOnce)
{
    const auto start = Clock::now();
    PumpMessages();  // nothing waiting
    SetAbortFlag(true);
    EXPECT_TRUE(WaitPumpingMessages(0));
    EXPECT_FALSE(AbortFlag());  // a wait starts by clearing it
    EXPECT_TRUE(WaitPumpingMessages(-5));
    EXPECT_LT(Clock::now() - start, 5s);

    // Both dispatch what is already there.
    int ran = 0;
    QMetaObject::invokeMethod(
        qApp, [&] { ++ran; }, Qt::QueuedConnection);
    PumpMessages();
    EXPECT_EQ(ran, 1);
    QMetaObject::invokeMethod(
        qApp, [&] { ++ran; }, Qt::QueuedConnection);
    WaitPumpingMessages(0);
    EXPECT_EQ(ran, 2);

    // PumpMessages leaves the abort flag alone.
    SetAbortFlag(true);
    PumpMessages();
    EXPECT_TRUE(AbortFlag());
    SetAbortFlag(false);
}

TEST(MessagePump, WaitServesTimersPostsAndNestedWaits)
{
    bool timerFired = false;
    QTimer::singleShot(30, [&] { timerFired = true; });
    std::vector<std::intptr_t> posted;
    MessageTarget target([&](unsigned, std::uintptr_t, std::intptr_t l) { posted.push_back(l); });
    std::thread poster([&] {
        std::this_thread::sleep_for(20ms);
        for (int i = 0; i < 3; ++i)
            target.Post(msg::kFramesAvailable, 0, i);
    });
    // Whole seconds of room: a busy machine serves the timer and the posts late, never after.
    const Timed outer = TimedWait(1500);
    poster.join();
    EXPECT_TRUE(outer.result);
    EXPECT_GE(outer.took, 1450ms);  // it really waited
    EXPECT_TRUE(timerFired);
    EXPECT_EQ(posted, (std::vector<std::intptr_t>{0, 1, 2}));

    // A wait inside a timer handler inside a wait.
    bool innerResult = false, innerTimerFired = false, outerTimerFired = false;
    QTimer::singleShot(10, [&] {
        QTimer::singleShot(20, [&] { innerTimerFired = true; });
        innerResult = WaitPumpingMessages(500);
    });
    QTimer::singleShot(600, [&] { outerTimerFired = true; });
    EXPECT_TRUE(WaitPumpingMessages(2000));
    EXPECT_TRUE(innerResult);
    EXPECT_TRUE(innerTimerFired);
    EXPECT_TRUE(outerTimerFired);
}

TEST(MessagePump, AbortFlagEndsEveryWait)
{
    std::thread other([] {
        std::this_thread::sleep_for(50ms);
        SetAbortFlag(true);
    });
    const Timed fromThread = TimedWait(10000);
    other.join();
    EXPECT_FALSE(fromThread.result);
    EXPECT_LT(fromThread.took, 5s);
    EXPECT_TRUE(AbortFlag());

    bool innerResult = true;
    QTimer::singleShot(10, [&] {
        QTimer::singleShot(20, [] { SetAbortFlag(true); });  // a handler's own abort, e.g. a button
        innerResult = WaitPumpingMessages(10000);
    });
    const Timed outer = TimedWait(10000);
    EXPECT_FALSE(innerResult);
    EXPECT_FALSE(outer.result);
    EXPECT_LT(outer.took, 5s);
    SetAbortFlag(false);
}

TEST(MessagePump, CloseMessageEndsTheWaitAndIsHandledAfterIt)
{
    for (unsigned request : {msg::kClose, msg::kQuit}) {
        std::vector<unsigned> seen;
        MessageTarget target([&](unsigned m, std::uintptr_t, std::intptr_t) { seen.push_back(m); });
        std::thread poster([&] {
            std::this_thread::sleep_for(50ms);
            target.Post(msg::kIdleTick, 0, 0);
            target.Post(request, 0, 0);
            target.Post(msg::kDriverRx, 0, 0);
        });
        const Timed wait = TimedWait(10000);
        poster.join();
        EXPECT_FALSE(wait.result);
        EXPECT_LT(wait.took, 5s);
        EXPECT_TRUE(AbortFlag());
        EXPECT_EQ(seen, std::vector<unsigned>{msg::kIdleTick});
        EXPECT_TRUE(DispatchUntil([&] { return seen.size() == 3; }));
        EXPECT_EQ(seen, (std::vector<unsigned>{msg::kIdleTick, request, msg::kDriverRx}));
    }

    // Nested: the close ends the inner wait, then the outer one, and is handled after both.
    std::vector<unsigned> seen;
    MessageTarget target([&](unsigned m, std::uintptr_t, std::intptr_t) { seen.push_back(m); });
    bool innerResult = true;
    std::size_t seenAfterInner = 99;
    QTimer::singleShot(10, [&] {
        QTimer::singleShot(30, [&] { target.Post(msg::kClose, 0, 0); });
        innerResult = WaitPumpingMessages(10000);
        seenAfterInner = seen.size();
    });
    const Timed outer = TimedWait(10000);
    EXPECT_FALSE(innerResult);
    EXPECT_FALSE(outer.result);
    EXPECT_LT(outer.took, 5s);
    EXPECT_EQ(seenAfterInner, 0u);
    EXPECT_TRUE(seen.empty());
    EXPECT_TRUE(DispatchUntil([&] { return seen.size() == 1; }));
    SetAbortFlag(false);
}

TEST(MessagePump, QuitDuringAWaitEndsItAndStillQuits)
{
    Timed wait{true, {}};
    bool abortAfter = false;
    QTimer safety;  // a lost quit would otherwise hang the test
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [] { QCoreApplication::exit(3); });
    safety.start(60000);
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(50, [] { QCoreApplication::quit(); });
        wait = TimedWait(10000);
        abortAfter = AbortFlag();
    });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(wait.result);
    EXPECT_LT(wait.took, 5s);
    EXPECT_TRUE(abortAfter);
    SetAbortFlag(false);
}

#ifdef CORVANE_TEST_WIDGETS
namespace {
class CountingWidget : public QWidget {
public:
    int closes = 0;

protected:
    void closeEvent(QCloseEvent* e) override
    {
        ++closes;
        e->accept();
    }
};
}  // namespace

TEST(MessagePump, ClosingAWidgetDuringAWaitEndsItAndTheWidgetStillCloses)
{
    // Closed by code, and by the window system (a close of its native window).
    for (bool fromWindow : {false, true}) {
        SCOPED_TRACE(fromWindow ? "window system" : "close()");
        CountingWidget w;
        w.show();
        ASSERT_TRUE(DispatchUntil([&] { return w.windowHandle() != nullptr && w.isVisible(); }));
        QTimer::singleShot(50, [&] {
            if (fromWindow)
                w.windowHandle()->close();
            else
                w.close();
        });
        const Timed wait = TimedWait(10000);
        EXPECT_FALSE(wait.result);
        EXPECT_LT(wait.took, 5s);
        EXPECT_TRUE(AbortFlag());
        EXPECT_TRUE(w.isVisible());  // not yet: the close comes after the wait
        EXPECT_EQ(w.closes, 0);
        EXPECT_TRUE(DispatchUntil([&] { return !w.isVisible(); }));
        EXPECT_EQ(w.closes, 1);
        SetAbortFlag(false);
    }

    // A widget closed outside any wait closes at once and sets nothing.
    CountingWidget plain;
    plain.show();
    plain.close();
    EXPECT_FALSE(plain.isVisible());
    EXPECT_FALSE(AbortFlag());
}

TEST(MessagePump, WindowTestNarrowsWhichClosesCount)
{
    platform::SetWindowTest([](QObject* o) { return static_cast<QWidget*>(o)->isWindow(); });
    QWidget window;
    auto* child = new QWidget(&window);
    window.show();
    QTimer::singleShot(20, [&] { child->close(); });  // a child hiding itself is no close request
    EXPECT_TRUE(WaitPumpingMessages(1500));
    EXPECT_FALSE(child->isVisible());
    EXPECT_TRUE(window.isVisible());
    platform::SetWindowTest(nullptr);
}
#endif

int main(int argc, char** argv)
{
#ifdef CORVANE_TEST_WIDGETS
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
