#include "IpcMessages.h"

#include <type_traits>

namespace platform::ipc {
namespace {

template <typename T>
void Put(std::string& out, T value)
{
    auto u = static_cast<std::make_unsigned_t<T>>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        out.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

// Reads fixed-size fields in order; any overrun marks the whole read as failed.
class Fields {
public:
    explicit Fields(const std::string& payload) : data_(payload) {}
    template <typename T>
    T Get()
    {
        using U = std::make_unsigned_t<T>;
        if (data_.size() - pos_ < sizeof(T)) {
            ok_ = false;
            pos_ = data_.size();
            return 0;
        }
        U u = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            u |= static_cast<U>(static_cast<unsigned char>(data_[pos_ + i])) << (8 * i);
        pos_ += sizeof(T);
        return static_cast<T>(u);
    }
    std::string Rest()
    {
        std::string rest = data_.substr(pos_);
        pos_ = data_.size();
        return rest;
    }
    bool Complete() const { return ok_ && pos_ == data_.size(); }

private:
    const std::string& data_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

}  // namespace

Message Message::Hello(std::uint32_t id)
{
    Message m;
    m.type = MessageType::Hello;
    m.id = id;
    return m;
}

Message Message::HelloAnswer(std::uint32_t id, std::uint32_t pid, std::string title)
{
    Message m;
    m.type = MessageType::HelloAnswer;
    m.id = id;
    m.pid = pid;
    m.title = std::move(title);
    return m;
}

Message Message::Request(std::uint32_t id, std::int32_t code, std::int32_t argument)
{
    Message m;
    m.type = MessageType::Request;
    m.id = id;
    m.code = code;
    m.value = argument;
    return m;
}

Message Message::Answer(std::uint32_t id, std::int32_t value)
{
    Message m;
    m.type = MessageType::Answer;
    m.id = id;
    m.value = value;
    return m;
}

Message Message::Register(std::uint32_t id, std::uint64_t token)
{
    Message m;
    m.type = MessageType::Register;
    m.id = id;
    m.token = token;
    return m;
}

Message Message::Notification(std::uint64_t token, std::int32_t code, std::int32_t value)
{
    Message m;
    m.type = MessageType::Notification;
    m.token = token;
    m.code = code;
    m.value = value;
    return m;
}

void AppendMessage(std::string& out, const Message& m)
{
    std::string p;
    switch (m.type) {
    case MessageType::Hello: Put(p, m.id); break;
    case MessageType::HelloAnswer:
        Put(p, m.id);
        Put(p, m.pid);
        p.append(m.title, 0, kMaxTitle);
        break;
    case MessageType::Request:
        Put(p, m.id);
        Put(p, m.code);
        Put(p, m.value);
        break;
    case MessageType::Answer:
        Put(p, m.id);
        Put(p, m.value);
        break;
    case MessageType::Register:
        Put(p, m.id);
        Put(p, m.token);
        break;
    case MessageType::Notification:
        Put(p, m.token);
        Put(p, m.code);
        Put(p, m.value);
        break;
    }
    AppendFrame(out, static_cast<std::uint8_t>(m.type), p);  // always fits: the title is capped
}

std::optional<Message> DecodeMessage(const Frame& frame)
{
    Message m;
    Fields f(frame.payload);
    switch (frame.type) {
    case static_cast<std::uint8_t>(MessageType::Hello):
        m = Message::Hello(f.Get<std::uint32_t>());
        break;
    case static_cast<std::uint8_t>(MessageType::HelloAnswer): {
        const auto id = f.Get<std::uint32_t>();
        const auto pid = f.Get<std::uint32_t>();
        if (frame.payload.size() > 8 + kMaxTitle)
            return std::nullopt;
        m = Message::HelloAnswer(id, pid, f.Rest());
        break;
    }
    case static_cast<std::uint8_t>(MessageType::Request): {
        const auto id = f.Get<std::uint32_t>();
        const auto code = f.Get<std::int32_t>();
        m = Message::Request(id, code, f.Get<std::int32_t>());
        break;
    }
    case static_cast<std::uint8_t>(MessageType::Answer): {
        const auto id = f.Get<std::uint32_t>();
        m = Message::Answer(id, f.Get<std::int32_t>());
        break;
    }
    case static_cast<std::uint8_t>(MessageType::Register): {
        const auto id = f.Get<std::uint32_t>();
        m = Message::Register(id, f.Get<std::uint64_t>());
        break;
    }
    case static_cast<std::uint8_t>(MessageType::Notification): {
        const auto token = f.Get<std::uint64_t>();
        const auto code = f.Get<std::int32_t>();
        m = Message::Notification(token, code, f.Get<std::int32_t>());
        break;
    }
    default: return std::nullopt;
    }
    if (!f.Complete())
        return std::nullopt;
    return m;
}

}  // namespace platform::ipc
