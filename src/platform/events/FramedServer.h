// A listening Unix-domain socket whose connections carry frames (IpcFrame.h), served by the Qt
// event loop of the GUI thread, nested waits included. It knows no protocol: each whole frame
// goes to onFrame, and each connection that goes, for whatever reason, to onDropped.
//
//   FramedServer server(limits, {.onFrame = [&](auto id, const Frame& f) { return Serve(id, f); },
//                                .onDropped = [&](auto id) { Forget(id); }});
//   server.Listen(path);
//   server.Queue(id, bytes);   // in onFrame or later
//
// onFrame is never re-entered for one connection: while it runs, that connection's next frames
// wait and other connections are served. Nothing here blocks: a client whose unsent output grows
// past maxPendingOutput, that sends a malformed frame, that fails onFrame, that stops inside a
// frame for stalledFrameMs, or that has gone is dropped. A client that closes its side is
// answered what it sent before it is dropped. Every member is for the GUI thread.
#pragma once

#include "IpcFrame.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class FramedServer {
public:
    using ConnectionId = std::uint64_t;

    // Which connection gives up its place to a newcomer when every place is taken.
    enum class PlaceRank { Never, Later, First };

    struct Limits {
        std::size_t maxPendingOutput = 256 * 1024;  // bytes queued for one client
        std::size_t maxConnections = 64;
        int stalledFrameMs = -1;  // from the first byte of an unfinished frame; < 0: no limit
    };

    struct Callbacks {
        // False: the client broke the protocol and is dropped. The server may be destroyed here.
        std::function<bool(ConnectionId, const ipc::Frame&)> onFrame;
        // After the connection is closed and forgotten.
        std::function<void(ConnectionId)> onDropped;
        // When every place is taken, one connection goes to make room for a new one: the
        // longest-idle of those this ranks First, else of those it ranks Later. Unset, or none
        // to spare: the new connection finds no place and is closed at once.
        std::function<PlaceRank(ConnectionId)> placeRank;
    };

    FramedServer(Limits limits, Callbacks callbacks);
    // Closes every connection without calling onDropped.
    ~FramedServer();
    FramedServer(const FramedServer&) = delete;
    FramedServer& operator=(const FramedServer&) = delete;

    // Listens at `path` (see ListenAt); the socket file is removed again by StopListening.
    bool Listen(const std::string& path, std::string* error = nullptr);
    void StopListening();
    bool IsListening() const;
    std::string SocketPath() const;

    // Appends frame bytes to the connection's output; drops it when that grows past the limit.
    // Sent at the latest once the current frame is served, or by Flush.
    void Queue(ConnectionId id, std::string_view bytes);
    void Flush(ConnectionId id);
    // Reads nothing more and closes once all output is sent (or at once when it cannot be).
    void CloseWhenSent(ConnectionId id);
    void Drop(ConnectionId id);
    void DropAll();

    bool IsOpen(ConnectionId id) const;
    // Since the connection last sent bytes (or was accepted); zero for an unknown one.
    std::chrono::milliseconds IdleFor(ConnectionId id) const;
    std::vector<ConnectionId> Connections() const;
    std::size_t ConnectionCount() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform
