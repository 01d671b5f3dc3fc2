// The DDE transport on a real socket: conversations end as disconnects however a client goes,
// a client that half-closes is still answered, and the place and output limits hold.
#include "DdeMessages.h"
#include "DdeSocketTransport.h"
#include "LocalSocket.h"
#include "MessagePump.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <sys/socket.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace dde;
using namespace platform::ipc;
using namespace std::chrono_literals;

namespace {

bool PumpUntil(const std::function<bool()>& done)
{
    const auto end = std::chrono::steady_clock::now() + 20s;
    while (!done() && std::chrono::steady_clock::now() < end)
        platform::WaitPumpingMessages(2);
    return done();
}

// Takes every conversation and acknowledges every command; hot advise data is `advised`.
struct Handler : IDdeTransactionHandler {
    std::vector<ConversationId> confirmed;
    std::vector<ConversationId> disconnected;
    std::string advised = "x";
    DdeResult Dispatch(const DdeTransaction& t) override
    {
        DdeResult r;
        if (t.type == XTYP_CONNECT || t.type == XTYP_ADVSTART)
            r.value = 1;
        else if (t.type == XTYP_CONNECT_CONFIRM)
            confirmed.push_back(t.conversation);
        else if (t.type == XTYP_DISCONNECT)
            disconnected.push_back(t.conversation);
        else if (t.type == XTYP_EXECUTE)
            r.value = DDE_FACK;
        else if (t.type == XTYP_ADVREQ)
            r.data = advised;
        return r;
    }
};

// A client on the same thread: it sends without blocking and reads while the loop runs.
struct Client {
    UniqueFd fd;
    FrameReader reader;
    bool ended = false;

    explicit Client(const std::string& path) : fd(ConnectTo(path, 2000)) {}

    void Send(const DdeMessage& m) { SendBytes(Bytes(m)); }
    void SendBytes(const std::string& bytes)
    {
        ASSERT_EQ(SendSome(fd.Get(), bytes.data(), bytes.size()), long(bytes.size()));
    }
    static std::string Bytes(const DdeMessage& m)
    {
        std::string out;
        AppendDdeMessage(out, m);
        return out;
    }
    // The next message, or nothing once the server closed the connection.
    std::optional<DdeMessage> Next()
    {
        std::optional<DdeMessage> got;
        PumpUntil([&] {
            if (got || ended)
                return true;
            Frame f;
            if (reader.Next(f) == FrameReader::Result::Frame) {
                got = DecodeDdeMessage(f);
                return true;
            }
            char buf[4096];
            const long n = ReceiveSome(fd.Get(), buf, sizeof buf);
            if (n > 0)
                reader.Feed(buf, static_cast<std::size_t>(n));
            ended = n == 0;
            return ended;
        });
        return got;
    }
    bool Connect(std::uint32_t id)
    {
        DdeMessage m;
        m.type = DdeMessageType::Connect;
        m.id = id;
        m.name2 = "Topic";
        Send(m);
        const auto r = Next();
        return r && r->type == DdeMessageType::Result && r->id == id && r->flag == 1;
    }
};

DdeMessage Execute(std::uint32_t id)
{
    DdeMessage m;
    m.type = DdeMessageType::Execute;
    m.id = id;
    m.data = "[Go]";
    return m;
}

}  // namespace

TEST(DdeTransport, EveryWayAClientGoesEndsItsConversationAndTheLimitsHold)
{
    testing_support::TempDir dir;
    CDdeSocketTransport::Limits limits;
    limits.maxConnections = 2;
    limits.maxPendingOutput = 8 * 1024;
    CDdeSocketTransport transport(dir.path, limits);
    Handler handler;
    ASSERT_TRUE(transport.Open(handler));
    ASSERT_TRUE(transport.RegisterService("Svc"));

    // Two places: a newcomer takes the place of a connection that holds no conversation, and
    // finds none while both hold conversations that have just been talking.
    Client idle(transport.SocketPath()), b(transport.SocketPath());
    ASSERT_TRUE(b.Connect(2));
    Client a(transport.SocketPath());
    ASSERT_TRUE(a.Connect(3));
    EXPECT_FALSE(idle.Next());
    EXPECT_TRUE(idle.ended);
    Client refused(transport.SocketPath());
    EXPECT_FALSE(refused.Next());
    EXPECT_TRUE(refused.ended);
    ASSERT_EQ(handler.confirmed.size(), 2u);
    EXPECT_TRUE(handler.disconnected.empty());
    EXPECT_EQ(transport.ConnectionCount(), 2u);

    // A malformed frame (a Connect cut short) ends only that conversation.
    std::string bad("\x02\x00\x00\x00\x20\x00", 6);
    b.SendBytes(bad);
    EXPECT_FALSE(b.Next());
    EXPECT_TRUE(PumpUntil([&] { return handler.disconnected.size() == 1; }));
    EXPECT_EQ(handler.disconnected[0], handler.confirmed[0]);
    EXPECT_EQ(transport.ConnectionCount(), 1u);

    // A client that closes its sending side still gets every answer, then its conversation ends.
    a.Send(Execute(4));
    a.Send(Execute(5));
    ASSERT_EQ(::shutdown(a.fd.Get(), SHUT_WR), 0);
    for (std::uint32_t id : {4u, 5u}) {
        const auto r = a.Next();
        ASSERT_TRUE(r);
        EXPECT_EQ(r->id, id);
        EXPECT_EQ(r->flag, 1);
    }
    EXPECT_FALSE(a.Next());
    EXPECT_TRUE(PumpUntil([&] { return handler.disconnected.size() == 2; }));
    EXPECT_EQ(handler.disconnected[1], handler.confirmed[1]);

    // A client on a hot link that never reads is dropped once its output passes the bound.
    Client d(transport.SocketPath());
    ASSERT_TRUE(d.Connect(6));
    DdeMessage start;
    start.type = DdeMessageType::AdviseStart;
    start.id = 7;
    start.name1 = "Item";
    start.format = 1;
    start.flag = 1;
    d.Send(start);
    ASSERT_TRUE(d.Next());
    handler.advised.assign(4000, 'y');
    for (int i = 0; i < 2000 && transport.ConnectionCount() > 0; ++i)
        transport.PostAdvise("topic", "ITEM");
    EXPECT_EQ(transport.ConnectionCount(), 0u);
    ASSERT_EQ(handler.disconnected.size(), 3u);
    EXPECT_EQ(handler.disconnected[2], handler.confirmed[2]);
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
