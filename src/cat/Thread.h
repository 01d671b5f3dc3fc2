// A small thread class: Start runs the subclass's Run(parameter) on a thread of its own.
// A subclass must call Stop(true) in its own destructor, before its members go away.
#pragma once

#include <atomic>
#include <mutex>
#include <thread>

namespace cat {

class CThread {
public:
    CThread() = default;
    virtual ~CThread();
    CThread(const CThread&) = delete;
    CThread& operator=(const CThread&) = delete;

    // Begins the thread; a thread that ended earlier is joined first. False when one still runs.
    bool Start(void* parameter);
    // Clears running; with wait, joins the thread (the caller knows it has ended on return).
    // Without wait the thread is joined later by Start, Stop(true) or the destructor.
    virtual void Stop(bool wait);

    bool IsRunning() const { return running_.load(); }
    bool IsStarted() const { return started_.load(); }

protected:
    virtual void Run(void* parameter) = 0;

private:
    void ThreadProc(void* parameter);
    void JoinLocked();

    std::mutex threadMutex_;  // guards thread_ between Start and Stop callers
    std::thread thread_;
    std::atomic<bool> running_{false};
    std::atomic<bool> started_{false};
};

}  // namespace cat
