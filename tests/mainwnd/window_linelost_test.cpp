// The main window on radiosim through a serial port whose device goes away (the radio's far end
// killed): the link goes off line and says so, a client's set answers -1, and Sync opens the
// port again once a device is back behind the same path.
#include "WindowTestSupport.h"

#include <QAbstractButton>

#include <atomic>
#include <memory>
#include <thread>

#include "../cat/RadiosimProcess.h"
#include "Ini.h"
#include "MainWindowIds.h"
#include "Process.h"
#include "ProgramFolder.h"

using namespace wndtest;
namespace rc = radio::ctl;

namespace {

constexpr int kPort = 7;

// The example client in a process of its own: reads, sets `hz`, reads back. Its output.
std::string RunClient(const WindowFixture& f, int hz)
{
    const std::string out = f.folder / "client.txt";
    const std::string client = platform::JoinPath(platform::DirName(platform::ExecutablePath()),
                                                  "extension_example_client");
    std::atomic<bool> done{false};
    std::thread run([&] {
        platform::SpawnAndWait({"/bin/sh", "-c",
                                "'" + client + "' '" CORVANE_BIN_DIR "/libVekExtension.so' "
                                    + std::to_string(hz) + " > '" + out + "'"},
                               {}, 30000);
        done = true;
    });
    // The program answers on this thread.
    PumpUntil([&] { return done.load(); }, std::chrono::seconds(40));
    run.join();
    return testing_support::GetFile(out);
}

class LineLostTest : public ::testing::TestWithParam<int> {};

}  // namespace

TEST_P(LineLostTest, AVanishedDeviceTakesTheLinkOffLineAndSyncBringsItBack)
{
    WindowFixture f;
    auto sim = std::make_unique<cattest::RadiosimProcess>(
        std::vector<std::string>{"--frequency", "7074000"});
    ASSERT_FALSE(sim->Device().empty()) << "radiosim did not start";
    // The port names a link to the device, as a udev name would: the device behind it changes.
    const fs::path device = f.folder / "radio-port";
    fs::create_symlink(sim->Device(), device);
    ASSERT_TRUE(f.profile->WriteProfileString("Ports", "COM7", device.c_str()));
    {
        CIni ini;
        ini.SetPath((f.folder / "Corvane.ini").c_str());
        ini.WriteInt("Setup", "Porta", kPort);
        ini.WriteInt("Setup", "PortaModo", GetParam());
        ini.WriteInt("Setup", "Baud", 19200);
        ini.WriteString("Setup", "Log", (f.folder / "trace.log").c_str());
    }
    const auto frequency = [](CCorvaneDlg& w) { return w.GetDlgItemText(rc::kFrequency); };
    const auto status = [](CCorvaneDlg& w) { return w.GetDlgItemText(rc::kStatus); };

    const bool ran = f.Run([&](CCorvaneDlg& w) {
        ASSERT_TRUE(PumpUntil([&] { return w.Controller().State().frequencyHz == 7074000; }));
        ASSERT_FALSE(w.IsOffLine());

        sim->Kill();
        EXPECT_TRUE(PumpUntil([&] { return frequency(w) == "OFF LINE"; })) << frequency(w);
        EXPECT_TRUE(w.IsOffLine());
        EXPECT_FALSE(w.Controller().Worker().IsRunning()) << "polling into nothing";
        EXPECT_NE(status(w).find("COM7 lost (" + device.string() + ")"), std::string::npos)
            << status(w);

        // A client is told that nothing reaches the radio; the field keeps saying why.
        const std::string offLine = RunClient(f, 7050000);
        EXPECT_NE(offLine.find("set 7050000: -1"), std::string::npos) << offLine;
        EXPECT_NE(offLine.find("frequency -1 "), std::string::npos) << offLine;
        EXPECT_EQ(frequency(w), "OFF LINE");
        // Named once in the log, not once per failed poll (Sync starts a new log).
        const std::string log = testing_support::GetFile(f.folder / "trace.log");
        EXPECT_NE(log.find("COM7 lost"), std::string::npos);
        EXPECT_EQ(log.find("COM7 lost"), log.rfind("COM7 lost")) << log;

        // The device comes back under the same name; Sync opens it and reads the radio.
        sim = std::make_unique<cattest::RadiosimProcess>(
            std::vector<std::string>{"--frequency", "14074000", "--latency", "200"});
        ASSERT_FALSE(sim->Device().empty());
        fs::remove(device);
        fs::create_symlink(sim->Device(), device);
        auto* sync = qobject_cast<QAbstractButton*>(w.GetDlgItem(mainwnd::kSync));
        ASSERT_NE(sync, nullptr);
        sync->click();
        EXPECT_TRUE(PumpUntil([&] { return w.Controller().State().frequencyHz == 14074000; }))
            << frequency(w);
        EXPECT_FALSE(w.IsOffLine());
        EXPECT_EQ(status(w).find("lost"), std::string::npos) << status(w);
        // Sync measured the radio (five reads of 200 ms each at least), not an empty queue.
        EXPECT_GE(w.Link().DelayCommand(), 1000);

        // Sets reach the radio again.
        const std::string online = RunClient(f, 7050000);
        EXPECT_NE(online.find("set 7050000: 0"), std::string::npos) << online;
        EXPECT_TRUE(PumpUntil(
            [&] { return sim->Type("state").find("frequency=7050000 ") != std::string::npos; }));
        w.CloseProgram();
    });
    ASSERT_TRUE(ran);
    EXPECT_TRUE(f.boxes.empty()) << f.boxes.front().text;
}

INSTANTIATE_TEST_SUITE_P(Backends, LineLostTest, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& p) {
                             return p.param != 0 ? "MonitorThread" : "Listener";
                         });
