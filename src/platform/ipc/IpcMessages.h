// The extension protocol's messages on the frame layer (IpcFrame.h).
//
//   client -> server   Hello {id}                     the server's title and process id
//   server -> client   HelloAnswer {id, pid, title}
//   client -> server   Request {id, code, argument}   one remote-control code
//   server -> client   Answer {id, value}             also answers Register (value 0)
//   client -> server   Register {id, token}           this connection receives notifications
//   server -> client   Notification {token, code, value}, in the order they were raised
//
// Integers are little-endian; the title is UTF-8 and fills the rest of its frame. Ids are the
// client's own, echoed back so that an answer that arrives after its caller gave up is recognised.
// Type bytes below 16 are this protocol's; other protocols on the same framing use others.
#pragma once

#include "IpcFrame.h"

#include <cstdint>
#include <optional>
#include <string>

namespace platform::ipc {

enum class MessageType : std::uint8_t {
    Hello = 1,
    HelloAnswer = 2,
    Request = 3,
    Answer = 4,
    Register = 5,
    Notification = 6,
};

constexpr std::size_t kMaxTitle = 4096;

struct Message {
    MessageType type = MessageType::Hello;
    std::uint32_t id = 0;     // all but Notification
    std::int32_t code = 0;    // Request, Notification
    std::int32_t value = 0;   // Request (argument), Answer, Notification
    std::uint64_t token = 0;  // Register, Notification
    std::uint32_t pid = 0;    // HelloAnswer
    std::string title;        // HelloAnswer, at most kMaxTitle bytes

    static Message Hello(std::uint32_t id);
    static Message HelloAnswer(std::uint32_t id, std::uint32_t pid, std::string title);
    static Message Request(std::uint32_t id, std::int32_t code, std::int32_t argument);
    static Message Answer(std::uint32_t id, std::int32_t value);
    static Message Register(std::uint32_t id, std::uint64_t token);
    static Message Notification(std::uint64_t token, std::int32_t code, std::int32_t value);
};

// Appends the message as one frame; a title longer than kMaxTitle is cut.
void AppendMessage(std::string& out, const Message& message);

// Nothing for an unknown type or a payload of the wrong size.
std::optional<Message> DecodeMessage(const Frame& frame);

}  // namespace platform::ipc
