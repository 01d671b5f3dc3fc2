// The client side of the DDE service's transport, plain POSIX: finding the running services in
// the runtime folder and holding one conversation with one of them.
#pragma once

#include "DdeMessages.h"
#include "DdeTypes.h"
#include "IpcConnection.h"

#include <optional>
#include <string>
#include <vector>

namespace dde {

// The DDE sockets in `folder`, sorted by name.
std::vector<std::string> ListDdeSockets(const std::string& folder);

class CDdeClient {
public:
    enum class Connected { Yes, Refused, NoServer };

    // Wild connect to one socket: the (service, topic) pairs it has; nullopt when nobody answers.
    static std::optional<std::vector<NamePair>> Pairs(const std::string& socketPath,
                                                      const std::string& service, int timeoutMs);

    Connected Connect(const std::string& socketPath, const std::string& service,
                      const std::string& topic, int timeoutMs);
    // The item's data (CF_TEXT), nullopt when refused or unanswered.
    std::optional<std::string> Request(const std::string& item, bool asAdvise, int timeoutMs);
    bool Poke(const std::string& item, const std::string& text, int timeoutMs);
    bool Execute(const std::string& command, int timeoutMs);
    bool AdviseStart(const std::string& item, bool hot, int timeoutMs);
    // The next Advise message; nullopt when the conversation ended (or timeoutMs passed: then
    // `ended` stays false).
    std::optional<DdeMessage> NextAdvise(int timeoutMs, bool& ended);
    void Disconnect();

private:
    std::optional<DdeMessage> Exchange(DdeMessage m, DdeMessageType answer, int timeoutMs);
    std::optional<DdeMessage> ReadOne(int timeoutMs, bool& ended);

    platform::ipc::UniqueFd fd_;
    platform::ipc::FrameReader reader_;
    std::vector<DdeMessage> advises_;  // arrived while an answer was awaited
    std::uint32_t nextId_ = 1;
};

}  // namespace dde
