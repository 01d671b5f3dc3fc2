#include "MessageTarget.h"

#include "MessagePump.h"
#include "WindowMessages.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <cstdio>
#include <deque>
#include <exception>
#include <mutex>
#include <unordered_map>

namespace platform {
namespace detail {

struct Message {
    unsigned msg;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

class Receiver;

struct TargetState {
    std::mutex mutex;  // guards alive, scheduled, held, queue and posting to receiver
    bool alive = true;
    bool scheduled = false;  // a drain event is on its way
    bool held = false;       // a close waits until the current wait has returned
    std::deque<Message> queue;
    Receiver* receiver = nullptr;

    // Owner thread only.
    MessageTarget::WindowProc windowProc;
    int dispatching = 0;
    std::uintptr_t id = 0;
};

}  // namespace detail

namespace {

using detail::Message;
using detail::TargetState;

const QEvent::Type kDrainEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// Registration numbers of live targets, for the C posting context.
std::mutex g_registryMutex;
std::unordered_map<std::uintptr_t, std::weak_ptr<TargetState>>& Registry()
{
    static auto* registry = new std::unordered_map<std::uintptr_t, std::weak_ptr<TargetState>>();
    return *registry;
}
std::uintptr_t g_nextId = 1;

void ScheduleLocked(TargetState& s);

void PostTo(TargetState& s, const Message& m)
{
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!s.alive)
        return;
    s.queue.push_back(m);
    if (!s.scheduled && !s.held)
        ScheduleLocked(s);
}

void Release(const std::weak_ptr<TargetState>& weak)
{
    std::shared_ptr<TargetState> s = weak.lock();
    if (!s)
        return;
    std::lock_guard<std::mutex> lock(s->mutex);
    s->held = false;
    if (s->alive && !s->queue.empty() && !s->scheduled)
        ScheduleLocked(*s);
}

bool IsCloseRequest(unsigned msg)
{
    return msg == msg::kClose || msg == msg::kQuit;
}

// Hands the queued messages to the window procedure, one at a time. Only the messages present at
// the start are taken, so a flood of posts cannot starve the rest of the event loop; while one is
// handled a follow-up drain is scheduled, so a wait inside the handler goes on with the next.
void Drain(const std::shared_ptr<TargetState>& s)
{
    std::size_t budget;
    {
        std::lock_guard<std::mutex> lock(s->mutex);
        s->scheduled = false;
        budget = s->queue.size();
    }
    ++s->dispatching;
    while (budget-- > 0) {
        Message m;
        {
            std::unique_lock<std::mutex> lock(s->mutex);
            if (!s->alive || s->held || s->queue.empty())
                break;
            m = s->queue.front();
            if (IsCloseRequest(m.msg)) {
                lock.unlock();
                std::weak_ptr<TargetState> weak = s;
                if (detail::InterceptCloseMessage([weak] { Release(weak); })) {
                    lock.lock();
                    s->held = true;  // the close stays first in the queue
                    break;
                }
                lock.lock();
                if (!s->alive || s->queue.empty())
                    break;
            }
            s->queue.pop_front();
            if (!s->queue.empty() && !s->scheduled && !s->held)
                ScheduleLocked(*s);
        }
        try {
            if (s->windowProc)
                s->windowProc(m.msg, m.wParam, m.lParam);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "message %#x: handler failed: %s\n", m.msg, e.what());
        } catch (...) {
            std::fprintf(stderr, "message %#x: handler failed\n", m.msg);
        }
    }
    if (--s->dispatching == 0 && !s->alive)
        s->windowProc = nullptr;
}

}  // namespace

namespace detail {

// Lives on the owner thread; Qt delivers the drain events to it there.
class Receiver : public QObject {
public:
    explicit Receiver(std::shared_ptr<TargetState> state) : state_(std::move(state)) {}

protected:
    bool event(QEvent* e) override
    {
        if (e->type() != kDrainEvent)
            return QObject::event(e);
        std::shared_ptr<TargetState> keep = state_;
        Drain(keep);
        return true;
    }

private:
    std::shared_ptr<TargetState> state_;
};

}  // namespace detail

namespace {
void ScheduleLocked(TargetState& s)
{
    // Made before the flag is set: an event that cannot be allocated must not leave the queue
    // marked as scheduled for ever.
    auto* drain = new QEvent(kDrainEvent);
    s.scheduled = true;
    QCoreApplication::postEvent(s.receiver, drain);
}
}  // namespace

MessageTarget::MessageTarget(WindowProc windowProc) : state_(std::make_shared<TargetState>())
{
    state_->windowProc = std::move(windowProc);
    state_->receiver = new detail::Receiver(state_);
    std::lock_guard<std::mutex> lock(g_registryMutex);
    state_->id = g_nextId++;
    Registry().emplace(state_->id, state_);
}

MessageTarget::~MessageTarget()
{
    {
        std::lock_guard<std::mutex> lock(g_registryMutex);
        Registry().erase(state_->id);
    }
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->alive = false;
        state_->queue.clear();
    }
    // Destroyed from inside its own window procedure: the receiver is still on the call stack.
    if (state_->dispatching > 0) {
        state_->receiver->deleteLater();
    } else {
        delete state_->receiver;
        state_->windowProc = nullptr;
    }
}

void MessageTarget::Post(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) const
{
    PostTo(*state_, Message{msg, wParam, lParam});
}

MessagePoster MessageTarget::Poster() const
{
    return MessagePoster(state_);
}

void* MessageTarget::PostContext() const
{
    return reinterpret_cast<void*>(state_->id);
}

void MessageTarget::PostTrampoline(void* context, unsigned msg, std::uintptr_t wParam,
                                   std::intptr_t lParam)
{
    // Called from driver libraries written in C: nothing may unwind into them. A message that
    // cannot be queued (out of memory) is lost.
    try {
        std::shared_ptr<TargetState> s;
        {
            std::lock_guard<std::mutex> lock(g_registryMutex);
            auto it = Registry().find(reinterpret_cast<std::uintptr_t>(context));
            if (it == Registry().end())
                return;
            s = it->second.lock();
        }
        if (s)
            PostTo(*s, Message{msg, wParam, lParam});
    } catch (...) {
        std::fprintf(stderr, "message %#x: could not be posted\n", msg);
    }
}

void MessagePoster::Post(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) const
{
    if (state_)
        PostTo(*state_, Message{msg, wParam, lParam});
}

bool MessagePoster::IsAlive() const
{
    if (!state_)
        return false;
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->alive;
}

}  // namespace platform
