#include "IpcClient.h"

namespace platform::ipc {

bool RequestClient::Connect(const std::string& socketPath, int timeoutMs)
{
    std::lock_guard lock(mutex_);
    return connection_.Open(socketPath, timeoutMs);
}

void RequestClient::Close()
{
    std::lock_guard lock(mutex_);
    connection_.Close();
}

bool RequestClient::IsConnected() const
{
    std::lock_guard lock(mutex_);
    return connection_.IsOpen();
}

std::optional<Message> RequestClient::Exchange(const Message& request, MessageType answerType,
                                               int timeoutMs)
{
    std::lock_guard lock(mutex_);
    if (!connection_.IsOpen())
        return std::nullopt;
    const auto deadline = IpcConnection::Deadline(timeoutMs);
    Message out = request;
    out.id = nextId_++;
    if (nextId_ == 0)
        nextId_ = 1;
    if (!connection_.Send(out, deadline))
        return std::nullopt;
    Message in;
    for (;;) {
        switch (connection_.Read(in, deadline)) {
        case IpcConnection::ReadResult::Timeout:
        case IpcConnection::ReadResult::Closed: return std::nullopt;
        case IpcConnection::ReadResult::Message: break;
        }
        if (in.type == answerType && in.id == out.id)
            return in;
        // A late answer to a request whose caller gave up, or something this connection does
        // not carry: skip it.
    }
}

std::optional<std::int32_t> RequestClient::Request(std::int32_t code, std::int32_t argument,
                                                   int timeoutMs)
{
    auto answer = Exchange(Message::Request(0, code, argument), MessageType::Answer, timeoutMs);
    if (!answer)
        return std::nullopt;
    return answer->value;
}

std::optional<ServerHello> RequestClient::Hello(int timeoutMs)
{
    auto answer = Exchange(Message::Hello(0), MessageType::HelloAnswer, timeoutMs);
    if (!answer)
        return std::nullopt;
    return ServerHello{answer->pid, std::move(answer->title)};
}

bool NotificationListener::Open(const std::string& socketPath, int timeoutMs)
{
    std::lock_guard lock(mutex_);
    pending_.clear();
    return connection_.Open(socketPath, timeoutMs);
}

void NotificationListener::Close()
{
    std::lock_guard lock(mutex_);
    connection_.Close();
    pending_.clear();
}

int NotificationListener::Fd() const
{
    std::lock_guard lock(mutex_);
    return connection_.IsOpen() ? connection_.Fd() : -1;
}

bool NotificationListener::Register(std::uint64_t token, int timeoutMs)
{
    std::lock_guard lock(mutex_);
    if (!connection_.IsOpen())
        return false;
    const auto deadline = IpcConnection::Deadline(timeoutMs);
    const std::uint32_t id = nextId_++;
    if (nextId_ == 0)
        nextId_ = 1;
    if (!connection_.Send(Message::Register(id, token), deadline))
        return false;
    Message in;
    for (;;) {
        if (connection_.Read(in, deadline) != IpcConnection::ReadResult::Message)
            return false;
        if (in.type == MessageType::Notification)
            pending_.push_back(std::move(in));
        else if (in.type == MessageType::Answer && in.id == id)
            return in.value == 0;  // -1: refused
    }
}

int NotificationListener::Dispatch(const Callback& callback)
{
    std::lock_guard turn(dispatching_);
    int count = 0;
    for (;;) {
        Message next;
        bool closed = false;
        {
            std::lock_guard lock(mutex_);
            if (!pending_.empty()) {
                next = std::move(pending_.front());
                pending_.pop_front();
            } else {
                bool got = false;
                while (!got) {
                    const auto r = connection_.ReadNow(next);
                    if (r == IpcConnection::ReadResult::Timeout)
                        break;
                    if (r == IpcConnection::ReadResult::Closed) {
                        closed = true;
                        break;
                    }
                    got = next.type == MessageType::Notification;  // late answers are skipped
                }
                if (!got) {
                    if (closed)
                        return -1;
                    return count;
                }
            }
        }
        // The callback runs unlocked, so it may call back into the listener.
        if (callback)
            callback(next.token, next.code, next.value);
        ++count;
    }
}

}  // namespace platform::ipc
