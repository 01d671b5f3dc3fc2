// A window's message queue: messages posted from any thread are handed, one at a time and in
// posting order, to the window procedure on the thread that created the target (the GUI thread).
//
//   MessageTarget target([this](unsigned msg, std::uintptr_t w, std::intptr_t l) { WindowProc(msg,
//   w, l); }); target.Post(msg::kFramesAvailable, 0, 0);                 // any thread, while
//   target lives MessagePoster poster = target.Poster();                   // for threads that may
//   outlive it DrvInit(&MessageTarget::PostTrampoline, target.PostContext(), ...);   // C callers
//
// The window procedure is a std::function given at construction; it runs on the owner thread,
// which needs a running Qt event loop (or waits, see MessagePump.h). A handler may itself wait
// pumping messages: the following messages are then handled inside that wait, still in order.
// msg::kClose and msg::kQuit that arrive during a wait end the wait and are handled after it.
//
// Destroy the target on its owner thread. Messages not yet handled are dropped; posting through a
// poster or the C context afterwards, even racing the destruction, is safe and does nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

namespace detail {
struct TargetState;
}

// A copyable handle that posts to a target, or nowhere once the target is gone.
class MessagePoster {
public:
    MessagePoster() = default;
    void Post(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) const;
    bool IsAlive() const;

private:
    friend class MessageTarget;
    explicit MessagePoster(std::shared_ptr<detail::TargetState> state) : state_(std::move(state)) {}
    std::shared_ptr<detail::TargetState> state_;
};

class MessageTarget {
public:
    using WindowProc =
        std::function<void(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam)>;

    explicit MessageTarget(WindowProc windowProc);
    ~MessageTarget();
    MessageTarget(const MessageTarget&) = delete;
    MessageTarget& operator=(const MessageTarget&) = delete;

    void Post(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) const;
    MessagePoster Poster() const;

    // The C posting function (the driver interface's DrvPostFn) and the context to pass with it.
    // The context is a registration number, never dereferenced, so a stale one posts nowhere.
    static void PostTrampoline(void* context, unsigned msg, std::uintptr_t wParam,
                               std::intptr_t lParam);
    void* PostContext() const;

private:
    std::shared_ptr<detail::TargetState> state_;
};

}  // namespace platform
