#include "Thread.h"

namespace cat {

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
        thread_ = std::thread(&CThread::ThreadProc, this, parameter);
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
    if (thread_.joinable()) {
        if (thread_.get_id() == std::this_thread::get_id())
            thread_.detach();  // Stop from inside Run: the thread ends when Run returns
        else
            thread_.join();
    }
}

void CThread::ThreadProc(void* parameter)
{
    try {
        Run(parameter);
    } catch (...) {
        // An exception ends the thread quietly; nothing crosses into the caller.
    }
    running_.store(false);
    started_.store(false);
}

}  // namespace cat
