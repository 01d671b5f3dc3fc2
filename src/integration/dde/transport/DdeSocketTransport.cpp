#include "DdeSocketTransport.h"

#include "AsciiCase.h"
#include "DdeMessages.h"
#include "IpcFrame.h"
#include "LocalSocket.h"
#include "RuntimeFolder.h"

#include <QSocketNotifier>

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

namespace dde {

using namespace platform::ipc;

namespace {

constexpr std::size_t kReadBudget = 64 * 1024;  // per wake-up, so one client cannot hog the loop

std::atomic<unsigned> g_serial{0};

// Notifiers go later: one may be the sender whose signal is running now.
void Retire(QSocketNotifier*& notifier)
{
    if (!notifier)
        return;
    notifier->setEnabled(false);
    QObject::disconnect(notifier, nullptr, nullptr, nullptr);
    notifier->deleteLater();
    notifier = nullptr;
}

struct Link {
    std::string item;
    unsigned format = 0;
    bool hot = false;
};

}  // namespace

struct CDdeSocketTransport::Impl {
    struct Connection {
        std::uint64_t id = 0;
        UniqueFd fd;
        FrameReader reader;
        std::string out;
        std::size_t outStart = 0;
        QSocketNotifier* readNotifier = nullptr;
        QSocketNotifier* writeNotifier = nullptr;
        bool busy = false;
        bool dead = false;
        bool closeWhenSent = false;
        ConversationId conversation = 0;  // 0: none
        std::string topic;
        std::vector<Link> links;
        std::size_t Pending() const { return out.size() - outStart; }
    };
    using ConnectionPtr = std::shared_ptr<Connection>;

    std::string folder;
    Limits limits;
    IDdeTransactionHandler* handler = nullptr;
    std::string service;
    std::string path;
    std::string error;
    UniqueFd listenFd;
    QSocketNotifier* listenNotifier = nullptr;
    std::map<std::uint64_t, ConnectionPtr> connections;
    std::uint64_t nextId = 1;
    ConversationId nextConversation = 1;
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);

    ~Impl()
    {
        StopListening();
        DropAll();
    }

    void StopListening()
    {
        Retire(listenNotifier);
        if (listenFd.Valid()) {
            listenFd.Reset();
            ::unlink(path.c_str());
        }
        path.clear();
    }

    void DropAll()
    {
        auto all = connections;
        for (auto& [id, c] : all)
            Drop(*c, false);
    }

    void Accept()
    {
        for (;;) {
            UniqueFd fd = AcceptFrom(listenFd.Get(), ::geteuid());
            if (!fd.Valid())
                return;
            if (connections.size() >= limits.maxConnections)
                continue;  // closed at once
            auto c = std::make_shared<Connection>();
            c->id = nextId++;
            c->fd = std::move(fd);
            const std::uint64_t id = c->id;
            c->readNotifier = new QSocketNotifier(c->fd.Get(), QSocketNotifier::Read);
            QObject::connect(c->readNotifier, &QSocketNotifier::activated,
                             [this, id] { OnReadable(id); });
            c->writeNotifier = new QSocketNotifier(c->fd.Get(), QSocketNotifier::Write);
            c->writeNotifier->setEnabled(false);
            QObject::connect(c->writeNotifier, &QSocketNotifier::activated, [this, id] {
                if (ConnectionPtr c = Find(id))
                    Flush(*c);
            });
            connections.emplace(id, std::move(c));
        }
    }

    ConnectionPtr Find(std::uint64_t id)
    {
        auto it = connections.find(id);
        return it == connections.end() ? nullptr : it->second;
    }

    // `tellServer`: the conversation ends as the client's disconnect would end it.
    void Drop(Connection& c, bool tellServer)
    {
        if (c.dead)
            return;
        c.dead = true;
        Retire(c.readNotifier);
        Retire(c.writeNotifier);
        c.fd.Reset();
        c.out.clear();
        c.outStart = 0;
        const ConversationId conversation = c.conversation;
        c.conversation = 0;
        connections.erase(c.id);  // a running transaction keeps its own reference
        if (tellServer && conversation != 0 && handler != nullptr) {
            DdeTransaction t;
            t.type = XTYP_DISCONNECT;
            t.conversation = conversation;
            handler->Dispatch(t);
        }
    }

    void OnReadable(std::uint64_t id)
    {
        ConnectionPtr c = Find(id);
        if (!c || c->busy)
            return;
        char buf[8192];
        std::size_t total = 0;
        bool ended = false;
        while (total < kReadBudget) {
            const long n = ReceiveSome(c->fd.Get(), buf, sizeof buf);
            if (n > 0) {
                c->reader.Feed(buf, static_cast<std::size_t>(n));
                total += static_cast<std::size_t>(n);
                continue;
            }
            ended = !(n < 0 && errno == EAGAIN);
            break;
        }
        std::weak_ptr<bool> transportAlive = alive;
        Process(c);
        if (!transportAlive.expired() && ended)
            Drop(*c, true);
    }

    void Process(const ConnectionPtr& c)
    {
        std::weak_ptr<bool> transportAlive = alive;
        while (!c->dead && !c->busy && handler != nullptr) {
            Frame frame;
            const auto r = c->reader.Next(frame);
            if (r == FrameReader::Result::NeedMore)
                break;
            std::optional<DdeMessage> m;
            if (r == FrameReader::Result::Frame)
                m = DecodeDdeMessage(frame);
            if (!m) {
                Drop(*c, true);
                return;
            }
            c->busy = true;
            if (c->readNotifier)
                c->readNotifier->setEnabled(false);
            const bool ok = Handle(*c, *m);
            if (transportAlive.expired())
                return;
            c->busy = false;
            if (!ok) {
                Drop(*c, true);
                return;
            }
            if (!c->dead && !c->closeWhenSent && c->readNotifier)
                c->readNotifier->setEnabled(true);
        }
        Flush(*c);
    }

    DdeTransaction Transaction(const Connection& c, unsigned type, const DdeMessage& m) const
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

    void Answer(Connection& c, std::uint32_t id, bool ok, std::uint32_t value = 0)
    {
        DdeMessage r;
        r.type = DdeMessageType::Result;
        r.id = id;
        r.flag = ok ? 1 : 0;
        r.value = value;
        Append(c, r);
    }

    // False: the client broke the protocol.
    bool Handle(Connection& c, const DdeMessage& m)
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
            Answer(c, m.id, ok, ours ? 0 : kOtherService);
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
            Append(c, r);
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
            Append(c, r);
            return true;
        }
        case DdeMessageType::Poke:
        case DdeMessageType::Execute: {
            const unsigned type = m.type == DdeMessageType::Poke ? XTYP_POKE : XTYP_EXECUTE;
            const std::uintptr_t v =
                inConversation ? handler->Dispatch(Transaction(c, type, m)).value : 0;
            Answer(c, m.id, v == DDE_FACK);
            return true;
        }
        case DdeMessageType::AdviseStart: {
            bool ok =
                inConversation && handler->Dispatch(Transaction(c, XTYP_ADVSTART, m)).value != 0;
            if (ok) {
                RemoveLink(c, m);
                c.links.push_back({m.name1, m.format, m.flag != 0});
            }
            Answer(c, m.id, ok);
            return true;
        }
        case DdeMessageType::AdviseStop: {
            const bool ok = inConversation && RemoveLink(c, m);
            if (ok)
                handler->Dispatch(Transaction(c, XTYP_ADVSTOP, m));
            Answer(c, m.id, ok);
            return true;
        }
        case DdeMessageType::Disconnect:
            Flush(c);
            Drop(c, true);
            return true;
        default: return false;  // only the server sends the others
        }
    }

    static bool RemoveLink(Connection& c, const DdeMessage& m)
    {
        return std::erase_if(c.links,
                             [&](const Link& l) {
                                 return l.format == m.format
                                        && platform::AsciiIEquals(l.item, m.name1);
                             })
               > 0;
    }

    void Append(Connection& c, const DdeMessage& m)
    {
        if (c.dead)
            return;
        if (!AppendDdeMessage(c.out, m)) {
            std::fprintf(stderr, "DDE: an answer too long for a frame was not sent\n");
            return;
        }
        if (c.Pending() > limits.maxPendingOutput)
            Drop(c, true);
    }

    void Flush(Connection& c)
    {
        if (c.dead)
            return;
        while (c.Pending() > 0) {
            const long n = SendSome(c.fd.Get(), c.out.data() + c.outStart, c.Pending());
            if (n < 0) {
                Drop(c, true);
                return;
            }
            if (n == 0)
                break;
            c.outStart += static_cast<std::size_t>(n);
        }
        if (c.Pending() == 0) {
            c.out.clear();
            c.outStart = 0;
            if (c.closeWhenSent) {
                Drop(c, false);
                return;
            }
        } else if (c.outStart > 64 * 1024) {
            c.out.erase(0, c.outStart);
            c.outStart = 0;
        }
        if (c.writeNotifier)
            c.writeNotifier->setEnabled(c.Pending() > 0);
    }

    void PostAdvise(const std::string& topic, const std::string& item)
    {
        auto all = connections;  // a client dropped on the way leaves the map
        for (auto& [id, c] : all) {
            if (c->dead || c->conversation == 0 || !platform::AsciiIEquals(c->topic, topic))
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
                Append(*c, a);
            }
            Flush(*c);
        }
    }

    // The client is told, then the connection closes once that is sent (or at once when it
    // cannot be sent).
    void EndConversation(Connection& c)
    {
        if (c.dead)
            return;
        c.conversation = 0;
        c.links.clear();
        DdeMessage d;
        d.type = DdeMessageType::Disconnect;
        Append(c, d);
        c.closeWhenSent = true;
        Flush(c);
        if (!c.dead && c.readNotifier)
            c.readNotifier->setEnabled(false);
    }
};

CDdeSocketTransport::CDdeSocketTransport(std::string folder)
    : CDdeSocketTransport(std::move(folder), Limits{})
{
}

CDdeSocketTransport::CDdeSocketTransport(std::string folder, Limits limits)
    : impl_(std::make_unique<Impl>())
{
    impl_->folder = std::move(folder);
    impl_->limits = limits;
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
    impl_->StopListening();
    const std::string path =
        impl_->folder + "/" + DdeSocketName(static_cast<long>(::getpid()), g_serial.fetch_add(1));
    impl_->listenFd = ListenAt(path, &impl_->error);
    if (!impl_->listenFd.Valid())
        return false;
    impl_->path = path;
    impl_->service = service;
    Impl* impl = impl_.get();
    impl_->listenNotifier = new QSocketNotifier(impl_->listenFd.Get(), QSocketNotifier::Read);
    QObject::connect(impl_->listenNotifier, &QSocketNotifier::activated,
                     [impl] { impl->Accept(); });
    return true;
}

void CDdeSocketTransport::UnregisterService()
{
    impl_->StopListening();
}

void CDdeSocketTransport::Close()
{
    impl_->StopListening();
    auto all = impl_->connections;
    for (auto& [id, c] : all)
        impl_->EndConversation(*c);
    impl_->handler = nullptr;
}

void CDdeSocketTransport::PostAdvise(const std::string& topic, const std::string& item)
{
    if (impl_->handler != nullptr)
        impl_->PostAdvise(topic, item);
}

void CDdeSocketTransport::Disconnect(ConversationId conversation)
{
    auto all = impl_->connections;
    for (auto& [id, c] : all)
        if (c->conversation == conversation)
            impl_->EndConversation(*c);
}

std::string CDdeSocketTransport::SocketPath() const
{
    return impl_->path;
}

std::size_t CDdeSocketTransport::ConnectionCount() const
{
    return impl_->connections.size();
}

const std::string& CDdeSocketTransport::LastError() const
{
    return impl_->error;
}

}  // namespace dde
