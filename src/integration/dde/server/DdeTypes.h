// The transaction types, formats and answers the DDE library deals in. The type numbers are the
// ones DDE clients know; only the local dispatcher and the socket transport use them here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace dde {

constexpr unsigned CF_TEXT = 1;

constexpr unsigned XTYP_ERROR = 0x8002;
constexpr unsigned XTYP_ADVDATA = 0x4010;
constexpr unsigned XTYP_ADVREQ = 0x2022;
constexpr unsigned XTYP_ADVSTART = 0x1030;
constexpr unsigned XTYP_ADVSTOP = 0x8040;
constexpr unsigned XTYP_EXECUTE = 0x4050;
constexpr unsigned XTYP_CONNECT = 0x1062;
constexpr unsigned XTYP_CONNECT_CONFIRM = 0x8072;
constexpr unsigned XTYP_POKE = 0x4090;
constexpr unsigned XTYP_REQUEST = 0x20B0;
constexpr unsigned XTYP_DISCONNECT = 0x80C2;
constexpr unsigned XTYP_WILDCONNECT = 0x20E2;

constexpr std::uintptr_t DDE_FACK = 0x8000;

// The last-error codes DDE clients know.
constexpr unsigned DMLERR_NO_ERROR = 0;
constexpr unsigned DMLERR_DLL_NOT_INITIALIZED = 0x4003;
constexpr unsigned DMLERR_NOTPROCESSED = 0x4009;
constexpr unsigned DMLERR_NO_CONN_ESTABLISHED = 0x400A;
constexpr unsigned DMLERR_SYS_ERROR = 0x400F;

using ConversationId = std::uint64_t;
using NamePair = std::pair<std::string, std::string>;  // (service, topic)

// One transaction as the transport hands it to the server. A missing string is a null handle.
struct DdeTransaction {
    unsigned type = 0;
    unsigned format = 0;
    ConversationId conversation = 0;
    std::optional<std::string> string1;  // topic (service for a wild connect)
    std::optional<std::string> string2;  // item (topic for a wild connect)
    std::string data;                    // poke and execute data, with its size
    bool isSelf = false;                 // the conversation is with this same server
};

// The answer: `value` as DDE gives it (TRUE, DDE_FACK, 0); `data` for a request; `pairs` for a
// wild connect (empty: none).
struct DdeResult {
    std::uintptr_t value = 0;
    std::optional<std::string> data;
    std::vector<NamePair> pairs;
};

// What the server needs of the transport that carries its conversations.
class IDdeTransactionHandler {
public:
    virtual ~IDdeTransactionHandler() = default;
    virtual DdeResult Dispatch(const DdeTransaction& transaction) = 0;
};

class IDdeTransport {
public:
    virtual ~IDdeTransport() = default;
    // Ready to carry transactions to `handler`; false when it cannot be.
    virtual bool Open(IDdeTransactionHandler& handler) = 0;
    // Other programs can now find the service; false when they cannot.
    virtual bool RegisterService(const std::string& service) = 0;
    virtual void UnregisterService() = 0;
    virtual void Close() = 0;
    // The item changed: every advise loop on it is told.
    virtual void PostAdvise(const std::string& topic, const std::string& item) = 0;
    // Ends one conversation; unknown ids are ignored.
    virtual void Disconnect(ConversationId conversation) = 0;
};

}  // namespace dde
