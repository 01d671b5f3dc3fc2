#include "IpcServer.h"

#include "Discovery.h"
#include "FramedServer.h"
#include "IpcMessages.h"
#include "RuntimeFolder.h"

#include <unistd.h>

#include <iterator>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace platform {

using namespace platform::ipc;

namespace {

// A client registers its own window or two; the bound keeps one that sends endless distinct
// tokens from growing the list, and every notification, without limit.
constexpr std::size_t kMaxTokensPerConnection = 256;

using ConnectionId = FramedServer::ConnectionId;

}  // namespace

struct IpcServer::Impl {
    struct Registration {
        ConnectionId connection;
        std::uint64_t token;
    };

    std::string title;
    ClientRequestHandler handler;
    ClientEvents events;
    std::vector<Registration> registrations;
    std::set<std::pair<ConnectionId, std::uint64_t>> registered;  // (connection, token)
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
    FramedServer server;  // last, so it goes first and its drops find the lists above

    Impl(std::string title, ClientRequestHandler handler, ClientEvents events, const Limits& limits)
        : title(std::move(title)),
          handler(std::move(handler)),
          events(std::move(events)),
          server(limits,
                 {.onFrame = [this](ConnectionId id, const Frame& f) { return Serve(id, f); },
                  .onDropped = [this](ConnectionId id) { Forget(id); },
                  // Nobody is told through a connection without registrations, and a client
                  // gone quiet for long may be gone for good.
                  .placeRank =
                      [this, quiet = std::chrono::milliseconds(limits.quietRegistrationMs)](
                          ConnectionId id) {
                          if (this->events.holdsPlace && this->events.holdsPlace(id))
                              return FramedServer::PlaceRank::Never;
                          if (TokensOf(id) == 0)
                              return FramedServer::PlaceRank::First;
                          return server.IdleFor(id) >= quiet ? FramedServer::PlaceRank::Later
                                                             : FramedServer::PlaceRank::Never;
                      }})
    {
    }

    bool Serve(ConnectionId id, const Frame& frame)
    {
        const std::optional<Message> m = DecodeMessage(frame);
        if (!m)
            return false;
        switch (m->type) {
        case MessageType::Hello:
            Send(id, Message::HelloAnswer(m->id, static_cast<std::uint32_t>(::getpid()), title));
            return true;
        case MessageType::Register:
            Send(id, Message::Answer(m->id, Register(id, m->token) ? 0 : -1));
            return true;
        case MessageType::Request: RunHandler(id, *m); return true;
        default: return false;  // only servers send the other messages
        }
    }

    void RunHandler(ConnectionId id, const Message& request)
    {
        const std::weak_ptr<bool> serverAlive = alive;
        ClientRequestHandler call = handler;  // the handler may replace or destroy ours
        std::int32_t answer = -1;
        try {
            if (call)
                answer = call(id, request.code, request.value);
        } catch (...) {
            answer = -1;
        }
        if (serverAlive.expired() || !server.IsOpen(id))
            return;
        Send(id, Message::Answer(request.id, answer));
        server.Flush(id);
    }

    std::size_t TokensOf(ConnectionId id) const
    {
        return static_cast<std::size_t>(
            std::distance(registered.lower_bound({id, 0}), registered.lower_bound({id + 1, 0})));
    }

    // False when the connection holds as many tokens as it may.
    bool Register(ConnectionId id, std::uint64_t token)
    {
        if (registered.count({id, token}) != 0)
            return true;
        if (TokensOf(id) >= kMaxTokensPerConnection)
            return false;
        registered.insert({id, token});
        registrations.push_back({id, token});
        return true;
    }

    void Forget(ConnectionId id)
    {
        std::erase_if(registrations, [&](const Registration& r) { return r.connection == id; });
        registered.erase(registered.lower_bound({id, 0}), registered.lower_bound({id + 1, 0}));
        if (events.gone)
            events.gone(id);
    }

    void Send(ConnectionId id, const Message& m)
    {
        std::string bytes;
        AppendMessage(bytes, m);
        server.Queue(id, bytes);
    }

    int Notify(std::int32_t code, std::int32_t value)
    {
        const auto regs = registrations;  // a client dropped on the way takes its entries out
        std::vector<ConnectionId> touched;
        int count = 0;
        for (const Registration& r : regs) {
            if (!server.IsOpen(r.connection))
                continue;
            Send(r.connection, Message::Notification(r.token, code, value));
            if (!server.IsOpen(r.connection))
                continue;
            ++count;
            if (touched.empty() || touched.back() != r.connection)
                touched.push_back(r.connection);
        }
        for (ConnectionId id : touched)
            server.Flush(id);
        return count;
    }
};

IpcServer::IpcServer(std::string title, RequestHandler handler)
    : IpcServer(std::move(title), std::move(handler), Limits{})
{
}

IpcServer::IpcServer(std::string title, RequestHandler handler, Limits limits)
    : IpcServer(
        std::move(title),
        [handler = std::move(handler)](ClientId, std::int32_t code, std::int32_t argument) {
            return handler ? handler(code, argument) : -1;
        },
        {}, limits)
{
}

IpcServer::IpcServer(std::string title, ClientRequestHandler handler, ClientEvents events,
                     Limits limits)
    : impl_(std::make_unique<Impl>(std::move(title), std::move(handler), std::move(events), limits))
{
}

IpcServer::~IpcServer() = default;

bool IpcServer::Start(const std::string& folder, std::string* error)
{
    Stop();
    std::string where = folder;
    if (where.empty()) {
        FolderResult f = RuntimeFolder();
        if (!f) {
            if (error)
                *error = f.error;
            return false;
        }
        where = f.path;
    }
    return impl_->server.Listen(NewServerSocket(where).path, error);
}

void IpcServer::Stop()
{
    impl_->server.StopListening();
    impl_->server.DropAll();
}

bool IpcServer::IsListening() const
{
    return impl_->server.IsListening();
}

std::string IpcServer::SocketPath() const
{
    return impl_->server.SocketPath();
}

void IpcServer::SetTitle(std::string title)
{
    impl_->title = std::move(title);
}

int IpcServer::Notify(std::int32_t code, std::int32_t value)
{
    return impl_->Notify(code, value);
}

std::size_t IpcServer::RegistrationCount() const
{
    return impl_->registrations.size();
}

std::size_t IpcServer::ConnectionCount() const
{
    return impl_->server.ConnectionCount();
}

bool IpcServer::HasClient(ClientId client) const
{
    return impl_->server.IsOpen(client);
}

}  // namespace platform
