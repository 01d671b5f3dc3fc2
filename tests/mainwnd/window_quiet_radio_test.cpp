// The main window when the radio answered and then went quiet: other programs are refused every
// change, read the last frequency the radio told, and DDE shows no frequency it never took; once
// it answers again, changes go through.
#include "WindowTestSupport.h"

#include <atomic>
#include <cstdio>
#include <optional>
#include <thread>

#include "DdeClient.h"
#include "Discovery.h"
#include "IpcClient.h"
#include "RemoteCodes.h"
#include "RuntimeFolder.h"

using namespace wndtest;

namespace {

constexpr int kWaitMs = 10000;

// Runs `body` on a thread of its own while the window keeps running; true when it ended.
bool OffTheWindow(const std::function<void()>& body)
{
    std::atomic<bool> done{false};
    std::thread t([&] {
        body();
        done = true;
    });
    const bool ended = PumpUntil([&] { return done.load(); }, std::chrono::seconds(120));
    t.join();
    return ended;
}

std::string OwnRemoteSocket()
{
    for (const auto& s : platform::ipc::ListServerSockets(platform::ipc::RuntimeFolder().path))
        if (s.pid == ::getpid())
            return s.path;
    return {};
}

std::optional<std::string> FreqDisplay()
{
    const auto sockets = dde::ListDdeSockets(platform::ipc::RuntimeFolder().path);
    if (sockets.empty())
        return std::nullopt;
    dde::CDdeClient client;
    if (client.Connect(sockets.front(), "RA-Z Aradezovo", "RAZ_AradezovoUI", kWaitMs)
        != dde::CDdeClient::Connected::Yes)
        return std::nullopt;
    const auto text = client.Request("FreqDisplay", false, kWaitMs);
    return text ? std::optional<std::string>(text->c_str()) : std::nullopt;  // without its NUL
}

// Asks `code` with `argument` until the answer is `wanted` (a guard of minutes ends a hang).
bool AnswersIn(platform::ipc::RequestClient& c, int code, int argument, int wanted)
{
    for (int i = 0; i < 1200; ++i) {
        if (c.Request(code, argument, kWaitMs) == std::optional<std::int32_t>(wanted))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

}  // namespace

TEST(MainWindowQuietRadio, ChangesAreRefusedAndReadsGiveWhatTheRadioLastTold)
{
    WindowFixture f;
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        const WindowFixture::SimControl control = f.SimRadioControl();
        ASSERT_NE(control, nullptr);
        ASSERT_TRUE(PumpUntil([&] { return w.Controller().State().frequencyKnown; }));
        const int told = static_cast<int>(w.Controller().State().frequencyHz);
        char text[32];
        std::snprintf(text, sizeof text, "%0.3f", told / 1000.0);
        std::string shown = text;
        std::replace(shown.begin(), shown.end(), '.', ',');
        const std::string socket = OwnRemoteSocket();
        ASSERT_FALSE(socket.empty());

        ASSERT_EQ(control("fault noanswer 1000000000", nullptr, 0), 1);
        std::optional<std::int32_t> read;
        std::optional<std::string> dde;
        bool refused = false;
        ASSERT_TRUE(OffTheWindow([&] {
            platform::ipc::RequestClient c;
            if (!c.Connect(socket, kWaitMs))
                return;
            // Sets before the silence shows may answer 0; the radio takes none of them.
            refused = AnswersIn(c, remote::kSetFrequency, 7050000, remote::kNotAvailable);
            read = c.Request(remote::kGetFrequency, 0, kWaitMs);
            dde = FreqDisplay();
        }));
        EXPECT_TRUE(refused);
        EXPECT_EQ(read, std::optional<std::int32_t>(told));
        EXPECT_EQ(dde, std::optional<std::string>(shown));
        EXPECT_EQ(w.Controller().State().confirmedHz, told);

        ASSERT_EQ(control("fault clear", nullptr, 0), 1);
        bool taken = false;
        ASSERT_TRUE(OffTheWindow([&] {
            platform::ipc::RequestClient c;
            if (c.Connect(socket, kWaitMs))
                taken = AnswersIn(c, remote::kSetFrequency, 7050000, 0)
                        && AnswersIn(c, remote::kGetFrequency, 0, 7050000);
        }));
        EXPECT_TRUE(taken);
        w.CloseProgram();
    });
    ASSERT_TRUE(ran);
}
