#include "IpcServer.h"

#include "Discovery.h"
#include "IpcFrame.h"
#include "IpcMessages.h"
#include "LocalSocket.h"
#include "RuntimeFolder.h"

#include <QSocketNotifier>
#include <QTimer>

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace platform {

using namespace platform::ipc;

namespace {

constexpr std::size_t kReadBudget = 64 * 1024;  // per wake-up, so one client cannot hog the loop
constexpr int kAcceptPauseMs = 200;             // out of descriptors: try again later, do not spin
// A client registers its own window or two; the bound keeps one that sends endless distinct
// tokens from growing the list, and every notification, without limit.
constexpr std::size_t kMaxTokensPerConnection = 256;
constexpr int kStallSweepMs = 250;  // how often half frames are looked at while there are any

using Clock = std::chrono::steady_clock;

// Notifiers are deleted later: one may be the sender whose signal is running right now.
void Retire(QSocketNotifier*& notifier)
{
    if (!notifier)
        return;
    notifier->setEnabled(false);
    QObject::disconnect(notifier, nullptr, nullptr, nullptr);
    notifier->deleteLater();
    notifier = nullptr;
}

}  // namespace

struct IpcServer::Impl {
    struct Connection {
        std::uint64_t id = 0;
        UniqueFd fd;
        FrameReader reader;
        std::string out;
        std::size_t outStart = 0;
        QSocketNotifier* readNotifier = nullptr;
        QSocketNotifier* writeNotifier = nullptr;
        bool busy = false;   // the handler runs for one of its requests
        bool ended = false;  // the client closed its side; answer what it sent, then drop
        bool dead = false;
        std::size_t tokens = 0;                         // registrations held
        Clock::time_point lastActive;                   // accepted, last bytes in, last answer out
        std::optional<Clock::time_point> partialSince;  // first byte of a frame still incomplete
        std::size_t Pending() const { return out.size() - outStart; }
    };
    using ConnectionPtr = std::shared_ptr<Connection>;

    struct Registration {
        std::uint64_t connection;
        std::uint64_t token;
    };

    std::string title;
    RequestHandler handler;
    Limits limits;
    std::string path;
    UniqueFd listenFd;
    QSocketNotifier* listenNotifier = nullptr;
    QTimer acceptPause;
    QTimer stallSweep;
    std::map<std::uint64_t, ConnectionPtr> connections;
    std::vector<Registration> registrations;
    std::set<std::pair<std::uint64_t, std::uint64_t>> registered;  // (connection, token)
    std::uint64_t nextId = 1;
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);

    ~Impl() { Stop(); }

    void Stop()
    {
        acceptPause.stop();
        stallSweep.stop();
        Retire(listenNotifier);
        if (listenFd.Valid()) {
            listenFd.Reset();
            ::unlink(path.c_str());
        }
        path.clear();
        auto all = connections;
        for (auto& [id, c] : all)
            Drop(*c);
    }

    void Accept()
    {
        for (;;) {
            UniqueFd fd = AcceptFrom(listenFd.Get(), ::geteuid());
            if (!fd.Valid()) {
                if (errno != EAGAIN && errno != EWOULDBLOCK && listenNotifier) {
                    listenNotifier->setEnabled(false);
                    acceptPause.start(kAcceptPauseMs);
                }
                return;
            }
            // Closed at once when no place can be made.
            if (connections.size() >= limits.maxConnections && !EvictIdle())
                continue;
            auto c = std::make_shared<Connection>();
            c->id = nextId++;
            c->fd = std::move(fd);
            c->lastActive = Clock::now();
            const std::uint64_t id = c->id;
            c->readNotifier = new QSocketNotifier(c->fd.Get(), QSocketNotifier::Read);
            QObject::connect(c->readNotifier, &QSocketNotifier::activated,
                             [this, id] { OnReadable(id); });
            c->writeNotifier = new QSocketNotifier(c->fd.Get(), QSocketNotifier::Write);
            c->writeNotifier->setEnabled(false);
            QObject::connect(c->writeNotifier, &QSocketNotifier::activated,
                             [this, id] { OnWritable(id); });
            connections.emplace(id, std::move(c));
        }
    }

    // A client may connect long before its first request, so idleness alone is no fault; but
    // when every place is taken, the longest-idle connection that nobody is told through goes.
    bool EvictIdle()
    {
        Connection* oldest = nullptr;
        for (auto& [id, c] : connections) {
            if (c->dead || c->busy || c->tokens > 0)
                continue;
            if (!oldest || c->lastActive < oldest->lastActive)
                oldest = c.get();
        }
        if (!oldest)
            return false;
        Drop(*oldest);
        return true;
    }

    // A client that stops in the middle of a frame holds a place and a buffer for nothing.
    void SweepStalled()
    {
        const auto now = Clock::now();
        const auto limit = std::chrono::milliseconds(limits.stalledFrameMs);
        std::vector<ConnectionPtr> stalled;
        bool waiting = false;
        for (auto& [id, c] : connections) {
            if (!c->partialSince || c->busy)
                continue;
            if (now - *c->partialSince >= limit)
                stalled.push_back(c);
            else
                waiting = true;
        }
        for (const ConnectionPtr& c : stalled)
            Drop(*c);
        if (!waiting)
            stallSweep.stop();
    }

    void WatchPartial(Connection& c, bool completedFrame)
    {
        if (c.dead || c.reader.Buffered() == 0) {
            c.partialSince.reset();
            return;
        }
        if (completedFrame || !c.partialSince)
            c.partialSince = Clock::now();
        if (!stallSweep.isActive())
            stallSweep.start(kStallSweepMs);
    }

    ConnectionPtr Find(std::uint64_t id)
    {
        auto it = connections.find(id);
        return it == connections.end() ? nullptr : it->second;
    }

    void Drop(Connection& c)
    {
        if (c.dead)
            return;
        c.dead = true;
        Retire(c.readNotifier);
        Retire(c.writeNotifier);
        c.fd.Reset();
        c.out.clear();
        c.outStart = 0;
        std::erase_if(registrations, [&](const Registration& r) { return r.connection == c.id; });
        for (auto it = registered.lower_bound({c.id, 0});
             it != registered.end() && it->first == c.id;)
            it = registered.erase(it);
        c.tokens = 0;
        c.partialSince.reset();
        connections.erase(c.id);  // a running handler still holds its own reference
    }

    void OnReadable(std::uint64_t id)
    {
        ConnectionPtr c = Find(id);
        if (!c || c->busy)
            return;
        char buf[8192];
        std::size_t total = 0;
        while (total < kReadBudget) {
            const long n = ReceiveSome(c->fd.Get(), buf, sizeof buf);
            if (n > 0) {
                c->reader.Feed(buf, static_cast<std::size_t>(n));
                c->lastActive = Clock::now();
                total += static_cast<std::size_t>(n);
                continue;
            }
            if (n < 0 && errno == EAGAIN)
                break;
            c->ended = true;  // end of stream or a reset
            if (c->readNotifier)
                c->readNotifier->setEnabled(false);
            break;
        }
        Process(c);
    }

    void OnWritable(std::uint64_t id)
    {
        if (ConnectionPtr c = Find(id))
            Flush(*c);
    }

    // Handles the complete frames received so far, one request at a time.
    void Process(const ConnectionPtr& c)
    {
        bool completed = false;
        while (!c->dead && !c->busy) {
            Frame frame;
            const auto r = c->reader.Next(frame);
            if (r == FrameReader::Result::NeedMore)
                break;
            completed = true;
            std::optional<Message> m;
            if (r == FrameReader::Result::Frame)
                m = DecodeMessage(frame);
            if (!m) {
                Drop(*c);
                return;
            }
            switch (m->type) {
            case MessageType::Hello:
                Append(*c,
                       Message::HelloAnswer(m->id, static_cast<std::uint32_t>(::getpid()), title));
                break;
            case MessageType::Register:
                Append(*c, Message::Answer(m->id, Register(*c, m->token) ? 0 : -1));
                break;
            case MessageType::Request:
                if (!RunHandler(c, *m))
                    return;  // the server is gone
                break;
            default:  // only servers send the other messages
                Drop(*c);
                return;
            }
        }
        // What is left after the end of the stream is a frame that can never complete.
        if (!c->dead && !c->busy && c->ended && c->reader.Buffered() > 0) {
            Drop(*c);
            return;
        }
        WatchPartial(*c, completed);
        Flush(*c);
    }

    // A client that closed its side is dropped once everything it asked for has been answered
    // and sent (it may still be reading after a half-close).
    void DropIfFinished(Connection& c)
    {
        if (!c.dead && !c.busy && c.ended && c.reader.Buffered() == 0 && c.Pending() == 0)
            Drop(c);
    }

    // False when the server was destroyed by the handler.
    bool RunHandler(const ConnectionPtr& c, const Message& request)
    {
        c->busy = true;
        if (c->readNotifier)
            c->readNotifier->setEnabled(false);
        std::weak_ptr<bool> serverAlive = alive;
        RequestHandler call = handler;  // the handler may replace or destroy ours
        std::int32_t answer = -1;
        try {
            if (call)
                answer = call(request.code, request.value);
        } catch (...) {
            answer = -1;
        }
        if (serverAlive.expired())
            return false;
        c->busy = false;
        if (c->dead)
            return true;
        c->lastActive = Clock::now();
        Append(*c, Message::Answer(request.id, answer));
        Flush(*c);
        if (!c->dead && !c->ended && c->readNotifier)
            c->readNotifier->setEnabled(true);
        return true;
    }

    // False when the connection holds as many tokens as it may.
    bool Register(Connection& c, std::uint64_t token)
    {
        if (registered.count({c.id, token}) != 0)
            return true;
        if (c.tokens >= kMaxTokensPerConnection)
            return false;
        registered.insert({c.id, token});
        registrations.push_back({c.id, token});
        ++c.tokens;
        return true;
    }

    void Append(Connection& c, const Message& m)
    {
        if (c.dead)
            return;
        AppendMessage(c.out, m);
        if (c.Pending() > limits.maxPendingOutput)
            Drop(c);
    }

    void Flush(Connection& c)
    {
        if (c.dead)
            return;
        while (c.Pending() > 0) {
            const long n = SendSome(c.fd.Get(), c.out.data() + c.outStart, c.Pending());
            if (n < 0) {
                Drop(c);
                return;
            }
            if (n == 0)
                break;
            c.outStart += static_cast<std::size_t>(n);
        }
        if (c.Pending() == 0) {
            c.out.clear();
            c.outStart = 0;
        } else if (c.outStart > 64 * 1024) {
            c.out.erase(0, c.outStart);
            c.outStart = 0;
        }
        if (c.writeNotifier)
            c.writeNotifier->setEnabled(c.Pending() > 0);
        DropIfFinished(c);
    }

    int Notify(std::int32_t code, std::int32_t value)
    {
        const auto regs = registrations;  // a client dropped on the way takes its entries out
        std::vector<ConnectionPtr> touched;
        int count = 0;
        for (const Registration& r : regs) {
            ConnectionPtr c = Find(r.connection);
            if (!c || c->dead)
                continue;
            Append(*c, Message::Notification(r.token, code, value));
            if (c->dead)
                continue;
            ++count;
            if (touched.empty() || touched.back() != c)
                touched.push_back(c);
        }
        for (const ConnectionPtr& c : touched)
            Flush(*c);
        return count;
    }
};

IpcServer::IpcServer(std::string title, RequestHandler handler)
    : IpcServer(std::move(title), std::move(handler), Limits{})
{
}

IpcServer::IpcServer(std::string title, RequestHandler handler, Limits limits)
    : impl_(std::make_unique<Impl>())
{
    impl_->title = std::move(title);
    impl_->handler = std::move(handler);
    impl_->limits = limits;
    impl_->acceptPause.setSingleShot(true);
    Impl* impl = impl_.get();
    QObject::connect(&impl_->acceptPause, &QTimer::timeout, [impl] {
        if (impl->listenNotifier)
            impl->listenNotifier->setEnabled(true);
    });
    QObject::connect(&impl_->stallSweep, &QTimer::timeout, [impl] { impl->SweepStalled(); });
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
    const ServerSocket s = NewServerSocket(where);
    impl_->listenFd = ListenAt(s.path, error);
    if (!impl_->listenFd.Valid())
        return false;
    impl_->path = s.path;
    Impl* impl = impl_.get();
    impl_->listenNotifier = new QSocketNotifier(impl_->listenFd.Get(), QSocketNotifier::Read);
    QObject::connect(impl_->listenNotifier, &QSocketNotifier::activated,
                     [impl] { impl->Accept(); });
    return true;
}

void IpcServer::Stop()
{
    impl_->Stop();
}

bool IpcServer::IsListening() const
{
    return impl_->listenFd.Valid();
}

std::string IpcServer::SocketPath() const
{
    return impl_->path;
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
    return impl_->connections.size();
}

}  // namespace platform
