#include "FramedServer.h"

#include "LocalSocket.h"

#include <QSocketNotifier>
#include <QTimer>

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <map>
#include <optional>
#include <utility>

namespace platform {

using namespace platform::ipc;

namespace {

constexpr std::size_t kReadBudget = 64 * 1024;  // per wake-up, so one client cannot hog the loop
constexpr int kAcceptPauseMs = 200;             // out of descriptors: try again later, do not spin
constexpr int kStallSweepMs = 250;  // how often half frames are looked at while there are any
constexpr std::size_t kCompactAfter = 64 * 1024;  // sent bytes kept before the queue is shifted

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

struct FramedServer::Impl {
    struct Connection {
        ConnectionId id = 0;
        UniqueFd fd;
        FrameReader reader;
        std::string out;
        std::size_t outStart = 0;
        QSocketNotifier* readNotifier = nullptr;
        QSocketNotifier* writeNotifier = nullptr;
        bool busy = false;           // onFrame runs for one of its frames
        bool ended = false;          // the client closed its side; answer what it sent, then drop
        bool closeWhenSent = false;  // we end it once the output is gone
        bool dead = false;
        Clock::time_point lastActive;  // accepted, last bytes in, last frame served
        std::optional<Clock::time_point> partialSince;  // first byte of a frame still incomplete
        std::size_t Pending() const { return out.size() - outStart; }
    };
    using ConnectionPtr = std::shared_ptr<Connection>;

    Limits limits;
    Callbacks callbacks;
    std::string path;
    UniqueFd listenFd;
    QSocketNotifier* listenNotifier = nullptr;
    QTimer acceptPause;
    QTimer stallSweep;
    std::map<ConnectionId, ConnectionPtr> connections;
    ConnectionId nextId = 1;
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);

    void StopListening()
    {
        acceptPause.stop();
        Retire(listenNotifier);
        if (listenFd.Valid()) {
            listenFd.Reset();
            ::unlink(path.c_str());
        }
        path.clear();
    }

    void DropAll()
    {
        stallSweep.stop();
        auto all = connections;
        for (auto& [id, c] : all)
            Drop(*c);
    }

    ConnectionPtr Find(ConnectionId id) const
    {
        auto it = connections.find(id);
        return it == connections.end() ? nullptr : it->second;
    }

    void SetReading(Connection& c, bool on)
    {
        if (c.readNotifier)
            c.readNotifier->setEnabled(on);
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
            if (connections.size() >= limits.maxConnections && !MakePlace())
                continue;
            auto c = std::make_shared<Connection>();
            c->id = nextId++;
            c->fd = std::move(fd);
            c->lastActive = Clock::now();
            const ConnectionId id = c->id;
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

    // A client may connect long before its first frame, so idleness alone is no fault; but when
    // every place is taken, the longest-idle one the protocol can spare goes, the ones it needs
    // least first.
    bool MakePlace()
    {
        if (!callbacks.placeRank)
            return false;
        Connection* oldest = nullptr;
        PlaceRank oldestRank = PlaceRank::Never;
        for (auto& [id, c] : connections) {
            if (c->dead || c->busy)
                continue;
            const PlaceRank rank = callbacks.placeRank(id);
            if (rank == PlaceRank::Never || rank < oldestRank)
                continue;
            if (!oldest || rank > oldestRank || c->lastActive < oldest->lastActive) {
                oldest = c.get();
                oldestRank = rank;
            }
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
        if (c.dead || c.reader.Buffered() == 0 || limits.stalledFrameMs < 0) {
            c.partialSince.reset();
            return;
        }
        if (completedFrame || !c.partialSince)
            c.partialSince = Clock::now();
        if (!stallSweep.isActive())
            stallSweep.start(kStallSweepMs);
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
        c.partialSince.reset();
        const ConnectionId id = c.id;
        connections.erase(id);  // a running onFrame still holds its own reference
        if (auto dropped = callbacks.onDropped)
            dropped(id);
    }

    void OnReadable(ConnectionId id)
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
            SetReading(*c, false);
            break;
        }
        Process(c);
    }

    // Serves the complete frames received so far, one at a time.
    void Process(const ConnectionPtr& c)
    {
        const std::weak_ptr<bool> serverAlive = alive;
        bool completed = false;
        while (!c->dead && !c->busy) {
            Frame frame;
            const auto r = c->reader.Next(frame);
            if (r == FrameReader::Result::NeedMore)
                break;
            completed = true;
            if (r == FrameReader::Result::Malformed) {
                Drop(*c);
                return;
            }
            c->busy = true;
            SetReading(*c, false);
            const auto serve = callbacks.onFrame;  // the call may destroy ours
            const bool ok = serve && serve(c->id, frame);
            if (serverAlive.expired())
                return;
            c->busy = false;
            if (c->dead)
                return;
            if (!ok) {
                Drop(*c);
                return;
            }
            c->lastActive = Clock::now();
            if (!c->ended && !c->closeWhenSent)
                SetReading(*c, true);
        }
        // What is left after the end of the stream is a frame that can never complete.
        if (!c->dead && !c->busy && c->ended && c->reader.Buffered() > 0) {
            Drop(*c);
            return;
        }
        WatchPartial(*c, completed);
        Flush(*c);
    }

    void Queue(Connection& c, std::string_view bytes)
    {
        if (c.dead)
            return;
        c.out.append(bytes);
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
            if (c.closeWhenSent) {
                Drop(c);
                return;
            }
        } else if (c.outStart > kCompactAfter) {
            c.out.erase(0, c.outStart);
            c.outStart = 0;
        }
        if (c.writeNotifier)
            c.writeNotifier->setEnabled(c.Pending() > 0);
        DropIfFinished(c);
    }

    // A client that closed its side goes once everything it sent has been served and answered
    // (it may still be reading after a half-close).
    void DropIfFinished(Connection& c)
    {
        if (!c.dead && !c.busy && c.ended && c.reader.Buffered() == 0 && c.Pending() == 0)
            Drop(c);
    }
};

FramedServer::FramedServer(Limits limits, Callbacks callbacks) : impl_(std::make_unique<Impl>())
{
    impl_->limits = limits;
    impl_->callbacks = std::move(callbacks);
    impl_->acceptPause.setSingleShot(true);
    Impl* impl = impl_.get();
    QObject::connect(&impl_->acceptPause, &QTimer::timeout, [impl] {
        if (impl->listenNotifier)
            impl->listenNotifier->setEnabled(true);
    });
    QObject::connect(&impl_->stallSweep, &QTimer::timeout, [impl] { impl->SweepStalled(); });
}

FramedServer::~FramedServer()
{
    impl_->callbacks = {};
    impl_->StopListening();
    impl_->DropAll();
}

bool FramedServer::Listen(const std::string& path, std::string* error)
{
    StopListening();
    impl_->listenFd = ListenAt(path, error);
    if (!impl_->listenFd.Valid())
        return false;
    impl_->path = path;
    Impl* impl = impl_.get();
    impl_->listenNotifier = new QSocketNotifier(impl_->listenFd.Get(), QSocketNotifier::Read);
    QObject::connect(impl_->listenNotifier, &QSocketNotifier::activated,
                     [impl] { impl->Accept(); });
    return true;
}

void FramedServer::StopListening()
{
    impl_->StopListening();
}

bool FramedServer::IsListening() const
{
    return impl_->listenFd.Valid();
}

std::string FramedServer::SocketPath() const
{
    return impl_->path;
}

void FramedServer::Queue(ConnectionId id, std::string_view bytes)
{
    if (auto c = impl_->Find(id))
        impl_->Queue(*c, bytes);
}

void FramedServer::Flush(ConnectionId id)
{
    if (auto c = impl_->Find(id))
        impl_->Flush(*c);
}

void FramedServer::CloseWhenSent(ConnectionId id)
{
    auto c = impl_->Find(id);
    if (!c)
        return;
    c->closeWhenSent = true;
    impl_->Flush(*c);
    if (!c->dead)
        impl_->SetReading(*c, false);
}

void FramedServer::Drop(ConnectionId id)
{
    if (auto c = impl_->Find(id))
        impl_->Drop(*c);
}

void FramedServer::DropAll()
{
    impl_->DropAll();
}

bool FramedServer::IsOpen(ConnectionId id) const
{
    return impl_->connections.count(id) != 0;
}

std::chrono::milliseconds FramedServer::IdleFor(ConnectionId id) const
{
    const auto c = impl_->Find(id);
    if (!c)
        return std::chrono::milliseconds(0);
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - c->lastActive);
}

std::vector<FramedServer::ConnectionId> FramedServer::Connections() const
{
    std::vector<ConnectionId> ids;
    ids.reserve(impl_->connections.size());
    for (const auto& [id, c] : impl_->connections)
        ids.push_back(id);
    return ids;
}

std::size_t FramedServer::ConnectionCount() const
{
    return impl_->connections.size();
}

}  // namespace platform
