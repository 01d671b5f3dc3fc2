// The client side of the extension protocol's transport, plain POSIX and thread-safe.
//
//   RequestClient client;
//   if (client.Connect(server.path, 2000)) {
//       // nullopt: no answer
//       std::optional<std::int32_t> hz = client.Request(remote::kGetFrequency, 0, 5000);
//   }
//
//   NotificationListener listener;                 // a second connection, for notifications
//   listener.Open(server.path, 2000);
//   listener.Register(token, 2000);
//   poll listener.Fd() for POLLIN, then listener.Dispatch(callback) on the caller's thread.
//
// Finding a server by its title is in Discovery.h.
#pragma once

#include "IpcConnection.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

namespace platform::ipc {

struct ServerHello {
    std::uint32_t pid = 0;
    std::string title;
};

// Requests and their answers, one at a time: callers on several threads take turns.
class RequestClient {
public:
    // timeoutMs < 0 waits without limit. A previous connection is closed first.
    bool Connect(const std::string& socketPath, int timeoutMs);
    void Close();
    bool IsConnected() const;

    // The server's answer, or nothing when it could not be had in time or the connection is
    // gone (then closed). An answer that comes after its caller gave up is skipped later.
    std::optional<std::int32_t> Request(std::int32_t code, std::int32_t argument, int timeoutMs);
    std::optional<ServerHello> Hello(int timeoutMs);

private:
    std::optional<Message> Exchange(const Message& request, MessageType answerType, int timeoutMs);

    mutable std::mutex mutex_;
    IpcConnection connection_;
    std::uint32_t nextId_ = 1;
};

// A connection that receives the notifications of the tokens registered on it, in the order
// the server raised them.
class NotificationListener {
public:
    using Callback =
        std::function<void(std::uint64_t token, std::int32_t code, std::int32_t value)>;

    bool Open(const std::string& socketPath, int timeoutMs);
    void Close();

    // Registers a token (a token registered twice is told once). True once the server has
    // confirmed; every notification raised after that reaches this listener. False as well when
    // the server refused the token (it holds as many for this connection as it keeps).
    bool Register(std::uint64_t token, int timeoutMs);

    // For poll/select: readable when notifications (or the end of the connection) arrived.
    // -1 when closed.
    int Fd() const;

    // Reads what has arrived without blocking and calls `callback` for each notification, in
    // order, on this thread. Returns how many were dispatched, or -1 when the server is gone
    // (the listener is closed then, after the notifications that came before the end).
    int Dispatch(const Callback& callback);

private:
    mutable std::mutex mutex_;          // the connection and the queue
    std::recursive_mutex dispatching_;  // one dispatching thread at a time keeps the order
    IpcConnection connection_;
    std::deque<Message> pending_;  // notifications read while waiting for a confirmation
    std::uint32_t nextId_ = 1;
};

}  // namespace platform::ipc
