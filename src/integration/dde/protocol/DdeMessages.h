// The DDE service's messages on the program's frame layer (IpcFrame.h), with type bytes of their
// own (from 32 on). Every message has the same fields; each type uses some of them:
//
//   client -> server  Connect {id, name1 service, name2 topic}         answered by Result
//   client -> server  WildConnect {id, name1 service, name2 topic}     "" stands for any;
//                     answered by Pairs {id, data: service \0 topic \0 ...}
//   client -> server  Request {id, name1 item, format, flag 1: as an advise request}
//                     answered by Data {id, flag 1 ok, name1 item, format, data}
//   client -> server  Poke {id, name1 item, format, data}               answered by Result
//   client -> server  Execute {id, data}                                answered by Result
//   client -> server  AdviseStart {id, name1 item, format, flag 1 hot}  answered by Result
//   client -> server  AdviseStop {id, name1 item, format}               answered by Result
//   server -> client  Advise {name1 topic, name2 item, format, flag 1 hot, data when hot}
//   either way        Disconnect {}: the conversation ends (the server then closes)
//   server -> client  Result {id, flag 1 acknowledged, value: kOtherService when a Connect
//                     named a service this server is not}
//
// A connection holds at most one conversation, opened by Connect. Integers are little-endian;
// names are UTF-8 and at most kMaxName bytes; data travels with its size.
#pragma once

#include "IpcFrame.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace dde {

enum class DdeMessageType : std::uint8_t {
    Connect = 32,
    WildConnect,
    Request,
    Poke,
    Execute,
    AdviseStart,
    AdviseStop,
    Advise,
    Disconnect,
    Result,
    Data,
    Pairs,
};

constexpr std::size_t kMaxName = 255;
constexpr std::uint32_t kOtherService = 1;

struct DdeMessage {
    DdeMessageType type = DdeMessageType::Result;
    std::uint32_t id = 0;
    std::uint32_t format = 0;
    std::uint8_t flag = 0;
    std::uint32_t value = 0;
    std::string name1;
    std::string name2;
    std::string data;
};

// False when a name is too long or the message does not fit a frame (nothing appended then).
bool AppendDdeMessage(std::string& out, const DdeMessage& message);
// Nothing for another protocol's type, a short or overlong payload, or an overlong name.
std::optional<DdeMessage> DecodeDdeMessage(const platform::ipc::Frame& frame);

// The (service, topic) pairs of a Pairs message, and back.
std::string EncodePairs(const std::vector<std::pair<std::string, std::string>>& pairs);
std::vector<std::pair<std::string, std::string>> DecodePairs(const std::string& data);

// The server's sockets in the runtime folder: "dde-<pid>-<n>.sock", a name the extension
// library's server search passes by.
std::string DdeSocketName(long pid, unsigned serial);
bool IsDdeSocketName(const std::string& name);

}  // namespace dde
