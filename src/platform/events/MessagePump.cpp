#include "MessagePump.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace platform {
namespace {

std::atomic<bool> g_abort{false};
std::atomic<WindowTest> g_windowTest{nullptr};

// One running wait; the innermost is the last of this thread's list.
struct WaitContext {
    QEventLoop* loop = nullptr;  // none for the 0 ms wait
    bool timedOut = false;
    bool aborted = false;
    std::vector<QPointer<QObject>> closedWidgets;
    bool quitSeen = false;
    std::vector<std::function<void()>> redeliveries;
};

thread_local std::vector<WaitContext*> t_waits;

bool OnAppThread()
{
    QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

// Every wait of this thread ends: each loop leaves as soon as control is back in it.
void EndWaitsHere()
{
    for (WaitContext* ctx : t_waits) {
        ctx->aborted = true;
        if (ctx->loop)
            ctx->loop->exit(0);
    }
}

void AbortWaitsHere()
{
    g_abort.store(true);
    EndWaitsHere();
}

// Installed on the application while a wait runs; the newest filter sees events first, so the
// innermost wait takes the request.
class CloseFilter : public QObject {
public:
    explicit CloseFilter(WaitContext& ctx) : ctx_(ctx) {}

protected:
    bool eventFilter(QObject* obj, QEvent* event) override
    {
        if (event->type() == QEvent::Close && obj->isWidgetType()) {
            WindowTest test = g_windowTest.load();
            if (test && !test(obj))
                return false;
            event->ignore();  // the widget stays open for now; close() is queued after the wait
            bool known = false;
            for (const QPointer<QObject>& w : ctx_.closedWidgets)
                known = known || w == obj;
            if (!known)
                ctx_.closedWidgets.emplace_back(obj);
            AbortWaitsHere();
            return true;
        }
        if (event->type() == QEvent::Quit && obj == QCoreApplication::instance()) {
            event->ignore();
            ctx_.quitSeen = true;
            AbortWaitsHere();
            return true;
        }
        return false;
    }

private:
    WaitContext& ctx_;
};

// Registers a wait for its lifetime and hands on, after it, what it held back.
class WaitScope {
public:
    explicit WaitScope(WaitContext& ctx) : ctx_(ctx), filter_(ctx)
    {
        t_waits.push_back(&ctx_);
        if (OnAppThread()) {
            QCoreApplication::instance()->installEventFilter(&filter_);
            filtering_ = true;
        }
    }
    ~WaitScope()
    {
        if (filtering_ && QCoreApplication::instance())
            QCoreApplication::instance()->removeEventFilter(&filter_);
        t_waits.pop_back();
        for (const QPointer<QObject>& w : ctx_.closedWidgets)
            if (w)
                QMetaObject::invokeMethod(w.data(), "close", Qt::QueuedConnection);
        if (ctx_.quitSeen && QCoreApplication::instance())
            QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit));
        for (auto& redeliver : ctx_.redeliveries)
            redeliver();
    }
    WaitScope(const WaitScope&) = delete;
    WaitScope& operator=(const WaitScope&) = delete;

private:
    WaitContext& ctx_;
    CloseFilter filter_;
    bool filtering_ = false;
};

}  // namespace

bool AbortFlag()
{
    return g_abort.load();
}

void SetAbortFlag(bool on)
{
    g_abort.store(on);
    if (!on)
        return;
    if (OnAppThread() || !QCoreApplication::instance()) {
        EndWaitsHere();
    } else {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [] {
                if (g_abort.load())
                    EndWaitsHere();
            },
            Qt::QueuedConnection);
    }
}

void SetWindowTest(WindowTest test)
{
    g_windowTest.store(test);
}

bool WaitPumpingMessages(int ms)
{
    g_abort.store(false);
    if (!QCoreApplication::instance()) {
        if (ms > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return true;
    }
    WaitContext ctx;
    {
        WaitScope scope(ctx);
        if (ms <= 0) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        } else {
            QEventLoop loop;
            ctx.loop = &loop;
            QTimer timer;
            timer.setSingleShot(true);
            timer.setTimerType(Qt::PreciseTimer);
            QObject::connect(&timer, &QTimer::timeout, &loop, [&ctx, &loop] {
                ctx.timedOut = true;
                loop.exit(0);
            });
            timer.start(ms);
            loop.exec();
            ctx.loop = nullptr;
            // Neither the time nor a request of ours ended it: QCoreApplication::exit did.
            if (!ctx.timedOut && !ctx.aborted)
                g_abort.store(true);
        }
    }
    return !g_abort.load();
}

void PumpMessages()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

namespace detail {

bool InterceptCloseMessage(std::function<void()> redeliver)
{
    if (t_waits.empty())
        return false;
    t_waits.back()->redeliveries.push_back(std::move(redeliver));
    AbortWaitsHere();
    return true;
}

}  // namespace detail
}  // namespace platform
