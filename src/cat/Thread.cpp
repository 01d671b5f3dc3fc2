#include "Thread.h"

#include <chrono>

namespace cat {

namespace {

// Checked again this often once the wait is over while the thread runs the program's own code,
// which soon ends or calls outside again.
constexpr auto kRecheck = std::chrono::milliseconds(10);

// The control of the thread running here; set by ThreadProc, read by CallOutside.
thread_local void* g_control = nullptr;

}  // namespace

CThread::~CThread()
{
    Stop(true);
}

bool CThread::Start(void* parameter)
{
    std::lock_guard<std::mutex> lock(threadMutex_);
    if (started_.load())
        return false;
    JoinLocked();
    running_.store(true);
    started_.store(true);
    try {
        control_ = std::make_shared<Control>();
        thread_ = std::thread(&CThread::ThreadProc, control_, this, parameter);
    } catch (...) {
        running_.store(false);
        started_.store(false);
        return false;
    }
    return true;
}

void CThread::Stop(bool wait)
{
    running_.store(false);
    if (!wait)
        return;
    std::lock_guard<std::mutex> lock(threadMutex_);
    JoinLocked();
}

void CThread::JoinLocked()
{
    if (!thread_.joinable())
        return;
    if (thread_.get_id() == std::this_thread::get_id()) {
        thread_.detach();  // Stop from inside Run: the thread ends when Run returns
        return;
    }
    Control& c = *control_;
    std::unique_lock<std::mutex> lock(c.mutex);
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStopWaitMs);
    while (!c.endedCv.wait_until(lock, until, [&c] { return c.ended; })) {
        int outside = kOutside;
        if (c.state.compare_exchange_strong(outside, kLeftBehind)) {
            // Stuck outside the program: it will leave without touching this object.
            lock.unlock();
            thread_.detach();
            started_.store(false);
            return;
        }
        until = std::chrono::steady_clock::now() + kRecheck;
    }
    lock.unlock();
    thread_.join();
}

CThread::Control& CThread::GoOutside()
{
    Control& c = *static_cast<Control*>(g_control);
    c.state.store(kOutside);
    return c;
}

void CThread::ComeBack(Control& c)
{
    int outside = kOutside;
    if (!c.state.compare_exchange_strong(outside, kInside))
        throw LeftBehind{};
}

void CThread::ThreadProc(std::shared_ptr<Control> control, CThread* self, void* parameter)
{
    g_control = control.get();
    try {
        self->Run(parameter);
    } catch (const LeftBehind&) {
        return;  // its stopper has gone on, and the object may be gone
    } catch (...) {
        // An exception ends the thread quietly; nothing crosses into the caller.
    }
    self->running_.store(false);
    self->started_.store(false);
    {
        std::lock_guard<std::mutex> lock(control->mutex);
        control->ended = true;
    }
    control->endedCv.notify_all();
}

}  // namespace cat
