// Installing the chosen driver library and running the link through it.
#include <gtest/gtest.h>

#include <filesystem>

#include "DriverInstall.h"
#include "LinkTestHost.h"

using namespace linktest;
namespace fs = std::filesystem;

namespace {

const std::string kSimDriver = std::string(CORVANE_BIN_DIR) + "/Drivers/SimRadio.so";
const char* kSimEntry = "SimRadio.so - Simulated CI-V radio - Ver. 1.2.5";

void AddDriver(LinkFixture& f)
{
    fs::create_directories(f.folder / "Drivers");
    fs::copy_file(kSimDriver, f.folder / "Drivers/SimRadio.so");
}

size_t FileCount(const std::string& folder)
{
    size_t n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder))
        ++n;
    return n;
}

}  // namespace

TEST(DriverInstall, ComPortEntryCopiesNothing)
{
    LinkFixture f;
    AddDriver(f);
    f.Set("Setup", "Driver", "COM3");
    EXPECT_TRUE(f.link.LoadDriver());
    EXPECT_FALSE(fs::exists(f.folder / "VekDriver.so"));
    EXPECT_EQ(InstallDriver(f.folder.path, "COM3", nullptr), DriverInstallResult::kNotADriver);
    EXPECT_EQ(InstallDriver(f.folder.path, "COM9 - USB serial", nullptr),
              DriverInstallResult::kNotADriver);
    // A library whose name begins with COM is a driver like any other (this one is missing).
    EXPECT_EQ(InstallDriver(f.folder.path, "COMX.so - Ver. 1.0", nullptr),
              DriverInstallResult::kFailed);
}

TEST(DriverInstall, CopiesWhenTheVersionDiffersOnly)
{
    LinkFixture f;
    AddDriver(f);
    // An older library without version information.
    testing_support::PutFile(f.folder / "VekDriver.so", "old library");
    EXPECT_EQ(InstallDriver(f.folder.path, kSimEntry, nullptr), DriverInstallResult::kCopied);
    EXPECT_EQ(testing_support::GetFile(f.folder / "VekDriver.so"),
              testing_support::GetFile(kSimDriver));
    EXPECT_EQ(InstallDriver(f.folder.path, kSimEntry, nullptr), DriverInstallResult::kUpToDate);
    // Nothing but the INI-less folder's own files: no temporary file left behind.
    EXPECT_EQ(FileCount(f.folder.path), 2u);

    // Missing target: installed as well; the name is matched ignoring case.
    fs::remove(f.folder / "VekDriver.so");
    EXPECT_EQ(InstallDriver(f.folder.path, "simradio.SO - Ver. 1.2.5", nullptr),
              DriverInstallResult::kCopied);
    EXPECT_TRUE(fs::exists(f.folder / "VekDriver.so"));
}

TEST(DriverInstall, FailedCopyKeepsTheOldLibrary)
{
    LinkFixture f;
    const std::string installed = testing_support::GetFile(kSimDriver);
    fs::copy_file(kSimDriver, f.folder / "VekDriver.so");
    // A newer driver whose file fails while it is read (the copy starts, then breaks off).
    fs::create_directories(f.folder / "Drivers");
    fs::create_symlink("/proc/self/mem", f.folder / "Drivers/Broken.so");
    std::string error;
    EXPECT_EQ(InstallDriver(f.folder.path, "Broken.so - Ver. 2.0", &error),
              DriverInstallResult::kFailed);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(testing_support::GetFile(f.folder / "VekDriver.so"), installed);
    EXPECT_EQ(FileCount(f.folder.path), 2u);

    // A folder in place of the driver file.
    fs::create_directories(f.folder / "Drivers/Folder.so");
    EXPECT_EQ(InstallDriver(f.folder.path, "Folder.so - Ver. 2.0", &error),
              DriverInstallResult::kFailed);
    testing_support::PutFile(f.folder / "VekDriver.so", "old library");

    // A missing source, through the link: the user sees the reason.
    f.Set("Setup", "Driver", "Gone.so - Ver. 3.0");
    EXPECT_FALSE(f.link.LoadDriver());
    ASSERT_EQ(f.host.boxes.size(), 1u);
    EXPECT_NE(f.host.boxes[0].text.find("Gone.so"), std::string::npos);
    EXPECT_EQ(testing_support::GetFile(f.folder / "VekDriver.so"), "old library");

    // An entry that would leave the drivers folder is refused.
    testing_support::PutFile(f.folder / "Secret.so", "not a driver");
    EXPECT_EQ(InstallDriver(f.folder.path, "../Secret.so - Ver. 1.0", nullptr),
              DriverInstallResult::kFailed);
    EXPECT_EQ(testing_support::GetFile(f.folder / "VekDriver.so"), "old library");
}

TEST(DriverLink, ConnectsMeasuresAndCloses)
{
    ::setenv("SIMRADIO_LATENCY", "20", 1);
    LinkFixture f;
    AddDriver(f);
    f.Set("Setup", "Porta", 0);
    f.Set("Setup", "Driver", kSimEntry);
    f.Set("Setup", "Indirizzo", 0x58);
    f.Set("Setup", "RTX", 2);
    f.Set("Setup", "Log", (f.folder / "trace.log").c_str());
    f.Set("AudioRecorder", "Abilitato", 0);
    ASSERT_EQ(f.link.LoadSettings(false), CRadioLink::kConnected);
    EXPECT_TRUE(f.link.UsesDriver());
    EXPECT_TRUE(f.link.IsRadioConnected());
    EXPECT_TRUE(fs::exists(f.folder / "VekDriver.so"));
    EXPECT_EQ(f.host.toolWindowsPlaced, 1);
    EXPECT_FALSE(f.host.pollingHeld);

    // Five 20-ms answers come close to the floor: the test may have measured twice.
    const int r = f.link.RunSpeedTest();
    EXPECT_GE(r, CRadioLink::kMinSpeedTestMs);
    const int runs = f.host.frequencyReads / CRadioLink::kSpeedTestReads;
    EXPECT_TRUE(runs == 1 || runs == 2) << f.host.frequencyReads;
    EXPECT_EQ(f.host.frequencyReads % CRadioLink::kSpeedTestReads, 0);
    EXPECT_EQ(f.host.progressOpened, runs);
    EXPECT_EQ(f.host.progressClosed, runs);
    EXPECT_FALSE(f.host.sending);
    EXPECT_EQ(f.link.ApplySpeedTestResult(r, true), 0);
    EXPECT_EQ(f.ini.GetInt("S-Meter", "Refresh", 0), 2 * r);

    // The answers reached the main window; the log holds the diagnostics and the traffic.
    size_t answers = 0;
    for (const Bytes& fr : f.host.frames)
        answers += fr.size() == 11 && fr[4] == 0x03;
    EXPECT_EQ(answers, static_cast<size_t>(f.host.frequencyReads));
    const std::string log = testing_support::GetFile(f.folder / "trace.log");
    EXPECT_EQ(log.rfind("DIAGNOSTICS\r\n", 0), 0u);
    EXPECT_NE(log.find("TX:FEFE58E003FD - flagFB=0\r\n"), std::string::npos);
    EXPECT_NE(log.find("Timeout calcolato:"), std::string::npos);

    f.link.ClosePort();
    EXPECT_FALSE(f.link.UsesDriver());
    EXPECT_FALSE(f.driver.IsLoaded());
    ::unsetenv("SIMRADIO_LATENCY");
}

TEST(DriverLink, AddressBeyondOneByteListensWhereTheFramesGo)
{
    // A hand-edited "Indirizzo" of 0x158: frames carry its low byte, and the answers from that
    // address must count, or the radio would look dead.
    LinkFixture f;
    AddDriver(f);
    f.Set("Setup", "Porta", 0);
    f.Set("Setup", "Driver", kSimEntry);
    f.Set("Setup", "Indirizzo", 0x158);
    f.Set("Setup", "RTX", 2);
    f.Set("AudioRecorder", "Abilitato", 0);
    f.host.radioAddress = 0x158;
    ASSERT_EQ(f.link.LoadSettings(false), CRadioLink::kConnected);
    EXPECT_GE(f.link.RunSpeedTest(), CRadioLink::kMinSpeedTestMs);
    f.link.ClosePort();
}

TEST(DriverLink, CancelledTestGivesNoResultAndRestores)
{
    LinkFixture f;
    AddDriver(f);
    f.Set("Setup", "Driver", kSimEntry);
    f.Set("Setup", "Indirizzo", 0x58);
    f.Set("Setup", "RTX", 2);
    f.Set("AudioRecorder", "Abilitato", 0);
    ASSERT_EQ(f.link.LoadSettings(false), CRadioLink::kConnected);
    f.host.pollingHeld = true;  // held by someone else before the test
    f.host.cancelAfterReads = 2;
    EXPECT_EQ(f.link.RunSpeedTest(), -1);
    EXPECT_EQ(f.host.frequencyReads, 2);
    EXPECT_TRUE(f.host.pollingHeld);
    EXPECT_FALSE(f.host.sending);
    EXPECT_FALSE(f.link.IsLinkTestRunning());
    EXPECT_EQ(f.host.progressClosed, 1);
}

TEST(DriverLink, AudioSetUpAsksTestsAndCanSwitchAudioOff)
{
    // The simulated driver with its audio switched off: the program's own audio is set up.
    ::setenv("SIMRADIO_AUDIO", "0", 1);
    LinkFixture f;
    AddDriver(f);
    f.Set("Setup", "Driver", kSimEntry);
    f.Set("Setup", "Indirizzo", 0x58);
    f.Set("Setup", "RTX", 2);
    f.Set("AudioRecorder", "Front", 1);
    // Undecided (2): asked first; Yes opens the audio dialog, then the input test fails once,
    // Yes opens the dialog again, the second test passes.
    f.host.answers = {mb::kIdYes, mb::kIdYes};
    f.host.audioTestHook = [&] { return f.host.audioTests == 1 ? 5 : 0; };
    ASSERT_EQ(f.link.LoadSettings(false), CRadioLink::kConnected);
    EXPECT_FALSE(f.link.DriverSupportsAudio());
    EXPECT_EQ(f.host.audioDialogs, 2);
    EXPECT_EQ(f.host.audioTests, 2);
    EXPECT_EQ(f.host.formatsApplied, 1);
    EXPECT_EQ(f.host.recorderFront, 1);
    EXPECT_EQ(f.host.recorderEnabled, 2);
    ASSERT_EQ(f.host.boxes.size(), 2u);
    EXPECT_EQ(f.host.boxes[0].text, "Change the audio parameters ?");
    EXPECT_EQ(f.host.boxes[1].text,
              "Error 5 in the initialization of the audio support.\nChange the audio parameters ?");

    // A failing test answered No: no audio for this run, nothing applied.
    f.Set("AudioRecorder", "Abilitato", 1);
    f.host.audioTests = 0;
    f.host.audioDialogs = 0;
    f.host.formatsApplied = 0;
    f.host.audioTestHook = [] { return 3; };
    ASSERT_EQ(f.link.LoadSettings(false), CRadioLink::kConnected);
    EXPECT_EQ(f.host.audioTests, 1);
    EXPECT_EQ(f.host.audioDialogs, 0);
    EXPECT_EQ(f.host.formatsApplied, 0);
    EXPECT_EQ(f.host.recorderEnabled, 0);
    EXPECT_EQ(f.link.Settings().recorderEnabled, 0);

    // Switched off in the settings: no question, no test.
    f.Set("AudioRecorder", "Abilitato", 0);
    f.host.audioTests = 0;
    f.host.boxes.clear();
    ASSERT_EQ(f.link.LoadSettings(false), CRadioLink::kConnected);
    EXPECT_EQ(f.host.audioTests, 0);
    EXPECT_TRUE(f.host.boxes.empty());
    ::unsetenv("SIMRADIO_AUDIO");
}
