#include "DdeSocketTransport.h"

#include "AsciiCase.h"
#include "DdeMessages.h"
#include "FramedServer.h"
#include "RuntimeFolder.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <optional>
#include <vector>

namespace dde {

using namespace platform::ipc;

namespace {

using ConnectionId = platform::FramedServer::ConnectionId;

std::atomic<unsigned> g_serial{0};

// A conversation whose client has sent nothing for this long may give up its place.
constexpr int kQuietConversationMs = 60000;

struct Link {
    std::string item;
    unsigned format = 0;
    bool hot = false;
};

}  // namespace

struct CDdeSocketTransport::Impl {
    // What the DDE side knows of one connection.
    struct Peer {
        ConversationId conversation = 0;  // 0: none
        std::string topic;
        std::vector<Link> links;
    };
    using PeerPtr = std::shared_ptr<Peer>;

    std::string folder;
    IDdeTransactionHandler* handler = nullptr;
    std::string service;
    std::string error;
    std::map<ConnectionId, PeerPtr> peers;
    ConversationId nextConversation = 1;
    platform::FramedServer server;  // last, so it goes first and its drops find the peers

    explicit Impl(const Limits& limits)
        : server(limits,
                 {.onFrame = [this](ConnectionId id, const Frame& f) { return Serve(id, f); },
                  .onDropped = [this](ConnectionId id) { Forget(id); },
                  .placeRank = [this](ConnectionId id) { return PlaceRankOf(id); }})
    {
    }

    // Idle clients must not lock every other client out, but one that listens to an advise
    // loop is idle by nature: a connection without a conversation goes first, then one whose
    // conversation has been quiet for long; advise loops stay.
    platform::FramedServer::PlaceRank PlaceRankOf(ConnectionId id) const
    {
        using Rank = platform::FramedServer::PlaceRank;
        const auto it = peers.find(id);
        if (it == peers.end() || it->second->conversation == 0)
            return Rank::First;
        if (!it->second->links.empty())
            return Rank::Never;
        return server.IdleFor(id) >= std::chrono::milliseconds(kQuietConversationMs) ? Rank::Later
                                                                                     : Rank::Never;
    }

    ~Impl() { handler = nullptr; }

    // A dropped connection ends its conversation as the client's disconnect would.
    void Forget(ConnectionId id)
    {
        auto it = peers.find(id);
        if (it == peers.end())
            return;
        const PeerPtr peer = it->second;  // a running transaction may still hold it
        peers.erase(it);
        const ConversationId conversation = peer->conversation;
        peer->conversation = 0;
        if (conversation != 0 && handler != nullptr) {
            DdeTransaction t;
            t.type = XTYP_DISCONNECT;
            t.conversation = conversation;
            handler->Dispatch(t);
        }
    }

    bool Serve(ConnectionId id, const Frame& frame)
    {
        if (handler == nullptr)
            return true;  // closing: nothing more is served
        const std::optional<DdeMessage> m = DecodeDdeMessage(frame);
        if (!m)
            return false;
        PeerPtr& slot = peers[id];
        if (!slot)
            slot = std::make_shared<Peer>();
        const PeerPtr peer = slot;
        return Handle(id, *peer, *m);
    }

    DdeTransaction Transaction(const Peer& c, unsigned type, const DdeMessage& m) const
    {
        DdeTransaction t;
        t.type = type;
        t.format = m.format;
        t.conversation = c.conversation;
        t.string1 = c.topic;
        t.string2 = m.name1;
        t.data = m.data;
        return t;
    }

    void Answer(ConnectionId id, std::uint32_t answerTo, bool ok, std::uint32_t value = 0)
    {
        DdeMessage r;
        r.type = DdeMessageType::Result;
        r.id = answerTo;
        r.flag = ok ? 1 : 0;
        r.value = value;
        Append(id, r);
    }

    // False: the client broke the protocol.
    bool Handle(ConnectionId id, Peer& c, const DdeMessage& m)
    {
        const bool inConversation = c.conversation != 0;
        switch (m.type) {
        case DdeMessageType::Connect: {
            const bool ours = m.name1.empty() || platform::AsciiIEquals(m.name1, service);
            bool ok = !inConversation && ours;
            if (ok) {
                DdeTransaction t;
                t.type = XTYP_CONNECT;
                t.string1 = m.name2;
                t.string2 = service;
                ok = handler->Dispatch(t).value != 0;
            }
            if (ok) {
                c.conversation = nextConversation++;
                c.topic = m.name2;
                DdeTransaction t;
                t.type = XTYP_CONNECT_CONFIRM;
                t.conversation = c.conversation;
                t.string1 = m.name2;
                t.string2 = service;
                handler->Dispatch(t);
            }
            Answer(id, m.id, ok, ours ? 0 : kOtherService);
            return true;
        }
        case DdeMessageType::WildConnect: {
            DdeTransaction t;
            t.type = XTYP_WILDCONNECT;
            if (!m.name1.empty())
                t.string1 = m.name1;
            if (!m.name2.empty())
                t.string2 = m.name2;
            DdeMessage r;
            r.type = DdeMessageType::Pairs;
            r.id = m.id;
            r.data = EncodePairs(handler->Dispatch(t).pairs);
            Append(id, r);
            return true;
        }
        case DdeMessageType::Request: {
            DdeMessage r;
            r.type = DdeMessageType::Data;
            r.id = m.id;
            r.name1 = m.name1;
            r.format = m.format;
            if (inConversation) {
                const DdeResult result =
                    handler->Dispatch(Transaction(c, m.flag ? XTYP_ADVREQ : XTYP_REQUEST, m));
                if (result.data) {
                    r.flag = 1;
                    r.data = *result.data;
                }
            }
            Append(id, r);
            return true;
        }
        case DdeMessageType::Poke:
        case DdeMessageType::Execute: {
            const unsigned type = m.type == DdeMessageType::Poke ? XTYP_POKE : XTYP_EXECUTE;
            const std::uintptr_t v =
                inConversation ? handler->Dispatch(Transaction(c, type, m)).value : 0;
            Answer(id, m.id, v == DDE_FACK);
            return true;
        }
        case DdeMessageType::AdviseStart: {
            bool ok =
                inConversation && handler->Dispatch(Transaction(c, XTYP_ADVSTART, m)).value != 0;
            if (ok) {
                RemoveLink(c, m);
                c.links.push_back({m.name1, m.format, m.flag != 0});
            }
            Answer(id, m.id, ok);
            return true;
        }
        case DdeMessageType::AdviseStop: {
            const bool ok = inConversation && RemoveLink(c, m);
            if (ok)
                handler->Dispatch(Transaction(c, XTYP_ADVSTOP, m));
            Answer(id, m.id, ok);
            return true;
        }
        case DdeMessageType::Disconnect:
            server.Flush(id);
            server.Drop(id);
            return true;
        default: return false;  // only the server sends the others
        }
    }

    static bool RemoveLink(Peer& c, const DdeMessage& m)
    {
        return std::erase_if(c.links,
                             [&](const Link& l) {
                                 return l.format == m.format
                                        && platform::AsciiIEquals(l.item, m.name1);
                             })
               > 0;
    }

    void Append(ConnectionId id, const DdeMessage& m)
    {
        if (!server.IsOpen(id))
            return;
        std::string bytes;
        if (!AppendDdeMessage(bytes, m)) {
            std::fprintf(stderr, "DDE: an answer too long for a frame was not sent\n");
            return;
        }
        server.Queue(id, bytes);
    }

    void PostAdvise(const std::string& topic, const std::string& item)
    {
        const auto all = peers;  // a client dropped on the way leaves the map
        for (const auto& [id, c] : all) {
            if (!server.IsOpen(id) || c->conversation == 0
                || !platform::AsciiIEquals(c->topic, topic))
                continue;
            const auto links = c->links;
            for (const Link& l : links) {
                if (!platform::AsciiIEquals(l.item, item))
                    continue;
                DdeMessage a;
                a.type = DdeMessageType::Advise;
                a.name1 = c->topic;
                a.name2 = l.item;
                a.format = l.format;
                a.flag = l.hot ? 1 : 0;
                if (l.hot) {
                    DdeMessage ask;
                    ask.name1 = l.item;
                    ask.format = l.format;
                    const DdeResult r = handler->Dispatch(Transaction(*c, XTYP_ADVREQ, ask));
                    if (!r.data)
                        continue;
                    a.data = *r.data;
                }
                Append(id, a);
            }
            server.Flush(id);
        }
    }

    // The client is told, then the connection closes once that is sent (or at once when it
    // cannot be sent).
    void EndConversation(ConnectionId id)
    {
        if (!server.IsOpen(id))
            return;
        if (auto it = peers.find(id); it != peers.end()) {
            it->second->conversation = 0;
            it->second->links.clear();
        }
        DdeMessage d;
        d.type = DdeMessageType::Disconnect;
        Append(id, d);
        server.CloseWhenSent(id);
    }
};

CDdeSocketTransport::CDdeSocketTransport(std::string folder)
    : CDdeSocketTransport(std::move(folder), Limits{})
{
}

CDdeSocketTransport::CDdeSocketTransport(std::string folder, Limits limits)
    : impl_(std::make_unique<Impl>(limits))
{
    impl_->folder = std::move(folder);
}

CDdeSocketTransport::~CDdeSocketTransport() = default;

bool CDdeSocketTransport::Open(IDdeTransactionHandler& handler)
{
    if (impl_->folder.empty()) {
        const FolderResult f = RuntimeFolder();
        if (!f) {
            impl_->error = f.error;
            return false;
        }
        impl_->folder = f.path;
    }
    impl_->handler = &handler;
    return true;
}

bool CDdeSocketTransport::RegisterService(const std::string& service)
{
    if (impl_->handler == nullptr)
        return false;
    const std::string path =
        impl_->folder + "/" + DdeSocketName(static_cast<long>(::getpid()), g_serial.fetch_add(1));
    if (!impl_->server.Listen(path, &impl_->error))
        return false;
    impl_->service = service;
    return true;
}

void CDdeSocketTransport::UnregisterService()
{
    impl_->server.StopListening();
}

void CDdeSocketTransport::Close()
{
    impl_->server.StopListening();
    for (ConnectionId id : impl_->server.Connections())
        impl_->EndConversation(id);
    impl_->handler = nullptr;
}

void CDdeSocketTransport::PostAdvise(const std::string& topic, const std::string& item)
{
    if (impl_->handler != nullptr)
        impl_->PostAdvise(topic, item);
}

void CDdeSocketTransport::Disconnect(ConversationId conversation)
{
    const auto all = impl_->peers;
    for (const auto& [id, peer] : all)
        if (peer->conversation == conversation)
            impl_->EndConversation(id);
}

std::string CDdeSocketTransport::SocketPath() const
{
    return impl_->server.SocketPath();
}

std::size_t CDdeSocketTransport::ConnectionCount() const
{
    return impl_->server.ConnectionCount();
}

const std::string& CDdeSocketTransport::LastError() const
{
    return impl_->error;
}

}  // namespace dde
