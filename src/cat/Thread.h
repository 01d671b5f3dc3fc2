// A small thread class: Start runs the subclass's Run(parameter) on a thread of its own.
// A subclass must call Stop(true) in its own destructor, before its members go away.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace cat {

class CThread {
public:
    // How long Stop(true) waits for the thread to end.
    static constexpr int kStopWaitMs = 1000;

    CThread() = default;
    virtual ~CThread();
    CThread(const CThread&) = delete;
    CThread& operator=(const CThread&) = delete;

    // Begins the thread; a thread that ended earlier is joined first. False when one still runs.
    bool Start(void* parameter);
    // Clears running; with wait, waits up to kStopWaitMs for the thread to end. A thread still
    // inside an outside call (CallOutside) then is left behind: it leaves without touching this
    // object when the call returns, so the caller may go on as if it had ended.
    // Without wait the thread is joined later by Start, Stop(true) or the destructor.
    virtual void Stop(bool wait);

    bool IsRunning() const { return running_.load(); }
    bool IsStarted() const { return started_.load(); }

protected:
    virtual void Run(void* parameter) = 0;

    // From the thread only: returns call(), code outside the program that may never return.
    // The call must touch nothing of this object once the outside code has returned; when the
    // thread was left behind meanwhile, this throws past Run (which must let it pass), so nothing
    // else touches it either.
    template <typename Call>
    auto CallOutside(Call&& call) -> decltype(call())
    {
        Control& c = GoOutside();
        decltype(call()) result{};
        try {
            result = call();
        } catch (...) {
            ComeBack(c);
            throw;
        }
        ComeBack(c);
        return result;
    }

private:
    enum State { kInside, kOutside, kLeftBehind };
    // What the thread and its stopper share; it outlives both.
    struct Control {
        std::atomic<int> state{kInside};
        std::mutex mutex;
        std::condition_variable endedCv;
        bool ended = false;
    };
    struct LeftBehind {};

    static void ThreadProc(std::shared_ptr<Control> control, CThread* self, void* parameter);
    static Control& GoOutside();
    static void ComeBack(Control& c);
    void JoinLocked();

    std::mutex threadMutex_;  // guards thread_ and control_ between Start and Stop callers
    std::thread thread_;
    std::shared_ptr<Control> control_;
    std::atomic<bool> running_{false};
    std::atomic<bool> started_{false};
};

}  // namespace cat
