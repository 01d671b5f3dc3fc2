// The DDE service's transport: a socket of its own in the runtime folder, served by the Qt event
// loop of the GUI thread (nested waits included). Each connection holds at most one
// conversation and its advise links. Nothing here blocks: output waits in a bounded queue, and a
// client that lets it grow past the bound, sends a malformed frame or breaks the protocol is
// dropped (its conversation ends as a disconnect), and so is one that stops inside a frame. When
// every place is taken, a newcomer takes the place of the longest-idle connection that holds no
// conversation, else of a conversation quiet for a minute; one with an advise loop keeps its
// place (a newcomer finds none when all have one). While a transaction of one connection runs
// (an Execute may wait for the radio), that connection's next messages wait; others are served.
#pragma once

#include "DdeTypes.h"
#include "FramedServer.h"

#include <cstddef>
#include <memory>
#include <string>

namespace dde {

class CDdeSocketTransport : public IDdeTransport {
public:
    // A half frame may wait kStalledFrameMs here.
    static constexpr int kStalledFrameMs = 3000;
    struct Limits : platform::FramedServer::Limits {
        Limits() { stalledFrameMs = kStalledFrameMs; }
    };

    // `folder` empty: the runtime folder.
    explicit CDdeSocketTransport(std::string folder = {});
    CDdeSocketTransport(std::string folder, Limits limits);
    ~CDdeSocketTransport() override;
    CDdeSocketTransport(const CDdeSocketTransport&) = delete;
    CDdeSocketTransport& operator=(const CDdeSocketTransport&) = delete;

    bool Open(IDdeTransactionHandler& handler) override;
    bool RegisterService(const std::string& service) override;
    void UnregisterService() override;
    void Close() override;
    void PostAdvise(const std::string& topic, const std::string& item) override;
    void Disconnect(ConversationId conversation) override;

    std::string SocketPath() const;
    std::size_t ConnectionCount() const;
    // Why the last Open or RegisterService failed.
    const std::string& LastError() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace dde
