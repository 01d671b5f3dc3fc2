// The server side of the cross-process messaging, run by the Qt event loop of the GUI thread.
//
//   IpcServer server("Corvane Icom 706 Control - 1.0", [this](std::int32_t code, std::int32_t arg)
//   {
//       return OnRemoteCommand(code, arg);
//   });
//   server.Start();                 // listens in the runtime folder
//   server.Notify(remote::kNoteFrequency, 14070000);   // to every registered client, in order
//
// Requests are read and answered on the GUI thread whenever it dispatches events, nested waits
// (WaitPumpingMessages, PumpMessages) included. The handler is never re-entered for the same
// connection: while it runs, that connection's next requests wait, other connections are
// served. Every member is for the GUI thread. Nothing here blocks: a client whose unsent output
// grows past the limit, that sends a malformed frame, that stops in the middle of a frame for
// longer than stalledFrameMs, or that has gone is dropped, and its registrations with it.
//
// A client may stay connected and silent for as long as it likes. When all maxConnections places
// are taken, a new connection takes the place of the longest-idle one that has no request running
// and holds no registration, else of one whose client has sent nothing for quietRegistrationMs;
// a connection the program holds something for (ClientEvents::holdsPlace) never goes. When there
// is none, the new connection is closed at once.
#pragma once

#include "FramedServer.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform {

class IpcServer {
public:
    using RequestHandler = std::function<std::int32_t(std::int32_t code, std::int32_t argument)>;
    // A client is one connection; its id is never used again while the server lives.
    using ClientId = std::uint64_t;
    using ClientRequestHandler =
        std::function<std::int32_t(ClientId client, std::int32_t code, std::int32_t argument)>;
    struct ClientEvents {
        // After the client's connection ended, for whatever reason (Stop included).
        std::function<void(ClientId)> gone;
        // True: the client never gives up its place to a newcomer.
        std::function<bool(ClientId)> holdsPlace;
    };

    static constexpr int kStalledFrameMs = 3000;

    // A registration whose client sent nothing for this long may give up its place.
    static constexpr int kQuietRegistrationMs = 60000;

    // A half frame may wait kStalledFrameMs here.
    struct Limits : FramedServer::Limits {
        Limits() { stalledFrameMs = kStalledFrameMs; }
        int quietRegistrationMs = kQuietRegistrationMs;
    };

    IpcServer(std::string title, RequestHandler handler);
    IpcServer(std::string title, RequestHandler handler, Limits limits);
    IpcServer(std::string title, ClientRequestHandler handler, ClientEvents events,
              Limits limits = {});
    ~IpcServer();
    IpcServer(const IpcServer&) = delete;
    IpcServer& operator=(const IpcServer&) = delete;

    // Listens on a new socket in `folder`, or in the runtime folder when empty. GUI thread.
    bool Start(const std::string& folder = {}, std::string* error = nullptr);
    // Closes every connection and removes the socket.
    void Stop();
    bool IsListening() const;
    std::string SocketPath() const;

    // The title that Hello answers (the main window's title).
    void SetTitle(std::string title);

    // Queues a notification for every registration, in registration order, and sends what the
    // clients can take now. Returns the number of registrations it was queued for.
    // A registration is a (connection, token) pair: a token registered again on the same
    // connection is kept once; it goes when its connection goes. A connection holds at most 256
    // tokens: a Register beyond that is answered -1 and not kept.
    int Notify(std::int32_t code, std::int32_t value);

    std::size_t RegistrationCount() const;
    std::size_t ConnectionCount() const;
    bool HasClient(ClientId client) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform
