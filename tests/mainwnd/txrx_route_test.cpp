// Keying by every route: a port of PTT's own on a pseudo-terminal mapped as COMn (both serial
// back-ends), the CAT port's and the auxiliary port's lines, and the driver. A pseudo-terminal has
// no modem lines: the states are the ones the port objects recorded.
#include <gtest/gtest.h>

#include "Pty.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "Profile.h"
#include "PttRoute.h"
#include "SerialLine.h"
#include "TempDir.h"
#include "TuneCarrier.h"

using namespace txrx;

namespace {

constexpr int kCatPort = 3;
constexpr int kAuxPort = 5;
constexpr int kOwnPort = 7;
constexpr int kMissingPort = 8;

using testing_support::Pty;

class FakePorts : public IPttPorts {
public:
    bool DriverKeys() const override { return driver; }
    bool DriverPtt(bool on) override
    {
        driverCalls.push_back(on);
        return driverWorks;
    }
    int CatPort() const override { return kCatPort; }
    cat::CSerialLine* CatLine() override { return cat.get(); }
    int AuxiliaryPort() const override { return aux ? kAuxPort : 0; }
    cat::CSerialLine* AuxiliaryLine() override { return aux.get(); }
    cat::SerialParams CatFraming() const override
    {
        cat::SerialParams p;
        p.baud = 9600;
        p.rts = 1;  // the CAT port's own line states must not reach a PTT port
        p.dtr = 1;
        return p;
    }
    int PortMode() const override { return portMode; }

    bool driver = false;
    bool driverWorks = true;
    std::vector<bool> driverCalls;
    std::unique_ptr<cat::CSerialLine> cat;
    std::unique_ptr<cat::CSerialLine> aux;
    int portMode = 0;
};

class FakeView : public IPttView {
public:
    void ShowPtt(bool on) override { shown.push_back(on); }
    void ShowPortFails(int port) override { failedPorts.push_back(port); }
    bool Shows() const { return !shown.empty() && shown.back(); }

    std::vector<bool> shown;
    std::vector<int> failedPorts;
};

std::unique_ptr<cat::CSerialLine> OpenLine(const Pty& pty)
{
    auto line = std::make_unique<cat::CSerialLine>();
    EXPECT_EQ(line->Open(pty.Device()), 0);
    line->SetRtsControl(0);
    line->SetDtrControl(0);
    return line;
}

// COMn of the user's registry profile, in a private configuration folder.
class RouteTest : public ::testing::TestWithParam<int> {
protected:
    RouteTest()
    {
        ::setenv("XDG_CONFIG_HOME", config.path.c_str(), 1);
        std::filesystem::create_directories(config.path + "/Dravik/Corvane");
        Profile user;
        user.WriteProfileString("Ports", "COM7", ownPty.Device().c_str());
        user.WriteProfileString("Ports", "COM8", (config / "no-such-device").c_str());
        ports.portMode = GetParam();
    }
    PttSettings Using(int port, int pin = kPinRts)
    {
        PttSettings s;
        s.port = port;
        s.pin = pin;
        return s;
    }

    testing_support::TempDir config{"txrx-route"};
    Pty ownPty, catPty, auxPty;
    FakePorts ports;
    FakeView view;
    CPttRoute route{ports, view};
};

}  // namespace

TEST_P(RouteTest, AnOwnPortKeysOnceAndGoesWithTheUnkey)
{
    ASSERT_FALSE(ownPty.Device().empty());
    route.SetSettings(Using(kOwnPort));
    EXPECT_TRUE(route.SetPtt(true));
    EXPECT_TRUE(view.Shows());
    EXPECT_EQ(route.OwnPortRts(), 1);
    EXPECT_EQ(route.OwnPortDtr(), 0);  // dropped at the open, though the CAT port keeps its up

    // A second "on" asserts the same port: a second open would find it locked and fail.
    EXPECT_TRUE(route.SetPtt(true));
    EXPECT_TRUE(view.failedPorts.empty());
    EXPECT_EQ(route.OwnPortRts(), 1);

    EXPECT_FALSE(route.SetPtt(false));
    EXPECT_FALSE(view.Shows());
    EXPECT_EQ(route.OwnPortRts(), -1);  // closed
    EXPECT_FALSE(route.SetPtt(false));
    EXPECT_TRUE(view.failedPorts.empty());

    route.SetSettings(Using(kOwnPort, kPinDtr));
    EXPECT_TRUE(route.SetPtt(true));
    EXPECT_EQ(route.OwnPortDtr(), 1);
    EXPECT_EQ(route.OwnPortRts(), 0);

    // The settings change while keyed: "off" still unkeys the port that keys.
    route.SetSettings(Using(0));
    EXPECT_FALSE(route.SetPtt(false));
    EXPECT_EQ(route.OwnPortDtr(), -1);

    // Shut-down unkeys and closes.
    route.SetSettings(Using(kOwnPort));
    EXPECT_TRUE(route.SetPtt(true));
    route.Shutdown();
    EXPECT_FALSE(route.IsOn());
    EXPECT_FALSE(view.Shows());
    EXPECT_EQ(route.OwnPortRts(), -1);
}

TEST_P(RouteTest, APortThatCannotOpenIsNamedAndLeavesPttOff)
{
    route.SetSettings(Using(kMissingPort));
    EXPECT_FALSE(route.SetPtt(true));
    EXPECT_EQ(view.failedPorts, std::vector<int>{kMissingPort});
    EXPECT_FALSE(view.Shows());
    EXPECT_EQ(route.OwnPortRts(), -1);

    // No port configured: requests are ignored, without a message.
    route.SetSettings(Using(0));
    EXPECT_FALSE(route.SetPtt(true));
    EXPECT_EQ(view.failedPorts.size(), 1u);
}

TEST_P(RouteTest, TheCatAndAuxiliaryLinesKeyOnlyWhileTheirPortsAreOpen)
{
    // The CAT port closed: "on" names it and does nothing else, "off" only clears the state.
    route.SetSettings(Using(kCatPort));
    EXPECT_FALSE(route.SetPtt(true));
    EXPECT_EQ(view.failedPorts, std::vector<int>{kCatPort});
    EXPECT_FALSE(route.SetPtt(false));
    EXPECT_EQ(view.failedPorts.size(), 1u);

    ports.cat = OpenLine(catPty);
    EXPECT_TRUE(route.SetPtt(true));
    EXPECT_EQ(ports.cat->GetRtsState(), 1);
    EXPECT_EQ(ports.cat->GetDtrState(), 0);
    // The port closes under a keyed transmitter (closing drops the line): "off" clears.
    ports.cat->Close();
    EXPECT_FALSE(route.SetPtt(false));
    EXPECT_EQ(view.failedPorts.size(), 1u);

    // Without an auxiliary port its number is a port of PTT's own; with one, its line keys.
    route.SetSettings(Using(kAuxPort, kPinDtr));
    EXPECT_FALSE(route.SetPtt(true));  // COM5 is not mapped
    EXPECT_EQ(view.failedPorts.back(), kAuxPort);
    ports.aux = OpenLine(auxPty);
    EXPECT_TRUE(route.SetPtt(true));
    EXPECT_EQ(ports.aux->GetDtrState(), 1);
    EXPECT_EQ(route.OwnPortDtr(), -1);
    EXPECT_FALSE(route.SetPtt(false));
    EXPECT_EQ(ports.aux->GetDtrState(), 0);
}

INSTANTIATE_TEST_SUITE_P(Backends, RouteTest, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param != 0 ? std::string("Monitor")
                                                    : std::string("Listener");
                         });

TEST(PttRouteDriver, TheDriverKeysAndItsFailuresKeepTheRealState)
{
    FakePorts ports;
    FakeView view;
    {
        CPttRoute route(ports, view);
        ports.driver = true;
        PttSettings s;
        s.port = kCatPort;  // the driver wins over any port
        route.SetSettings(s);

        ports.driverWorks = false;
        EXPECT_FALSE(route.SetPtt(true));
        EXPECT_FALSE(view.Shows());
        ports.driverWorks = true;
        EXPECT_TRUE(route.SetPtt(true));
        EXPECT_TRUE(view.Shows());

        // A failed "off" leaves it keyed, so that the next one tries again.
        ports.driverWorks = false;
        EXPECT_TRUE(route.SetPtt(false));
        EXPECT_TRUE(view.Shows());
        ports.driverWorks = true;
        EXPECT_FALSE(route.SetPtt(false));
        EXPECT_TRUE(view.failedPorts.empty());

        EXPECT_TRUE(route.SetPtt(true));
        ports.driverCalls.clear();
    }
    // The route's end unkeys.
    EXPECT_EQ(ports.driverCalls, std::vector<bool>{false});
    EXPECT_FALSE(view.Shows());
}

namespace {

// The remote handler's mode codes and the waits, in the order they came.
class FakeTuneRadio : public ITuneRadio {
public:
    explicit FakeTuneRadio(CPttRoute& route) : route_(route) {}
    int RemoteCommand(int code, int argument) override
    {
        calls.push_back({code, argument});
        if (code == 3)
            mode = argument;
        return code == 2 ? mode : 1;
    }
    bool Wait(int ms) override
    {
        waits.push_back(ms);
        keyedDuringWait.push_back(route_.IsOn());
        return !closing;
    }
    bool WaitForRadio() override { return !closing; }
    bool Key(bool on) override { return route_.SetPtt(on); }

    int mode = 2;  // USB
    bool closing = false;
    std::vector<std::pair<int, int>> calls;
    std::vector<int> waits;
    std::vector<bool> keyedDuringWait;

private:
    CPttRoute& route_;
};

}  // namespace

TEST(TuneCarrier, KeysInAmForTheTuneTimeAndPutsTheModeBack)
{
    FakePorts ports;
    ports.driver = true;
    FakeView view;
    CPttRoute route(ports, view);
    FakeTuneRadio radio(route);
    CTuneCarrier tune(radio);

    EXPECT_FALSE(tune.OnTune(true, 100000, 120));  // clamped to 600 s
    EXPECT_EQ(radio.waits, (std::vector<int>{120, 600000}));
    EXPECT_EQ(radio.keyedDuringWait, (std::vector<bool>{false, true}));
    EXPECT_EQ(ports.driverCalls, (std::vector<bool>{true, false}));
    EXPECT_FALSE(route.IsOn());
    EXPECT_EQ(radio.calls, (std::vector<std::pair<int, int>>{{2, 0}, {3, 3}, {3, 2}}));

    // No tune time: the first click only remembers, the second unkeys and restores.
    radio.calls.clear();
    radio.mode = 4;  // CW
    EXPECT_TRUE(tune.OnTune(true, 0, 120));
    EXPECT_EQ(radio.calls, (std::vector<std::pair<int, int>>{{2, 0}}));
    radio.mode = 6;
    EXPECT_FALSE(tune.OnTune(false, 0, 120));
    EXPECT_EQ(radio.calls.back(), std::make_pair(3, 4));

    // The program closing during the carrier still unkeys and restores; an unknown mode is not
    // sent back.
    radio.calls.clear();
    radio.mode = 0;
    radio.closing = true;
    ports.driverCalls.clear();
    EXPECT_FALSE(tune.OnTune(true, 5, 120));
    EXPECT_FALSE(route.IsOn());
    EXPECT_EQ(ports.driverCalls.back(), false);
    EXPECT_EQ(radio.calls, (std::vector<std::pair<int, int>>{{2, 0}, {3, 3}}));
}
