// The link's decisions from the settings: validity, defaults and clamps, the extended-functions
// flag, the fixed latency, and what the no-port dialog's answers lead to.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

#include "LinkTestHost.h"
#include "NoPortChoice.h"

using namespace linktest;

namespace {

bool Mentions(const std::vector<MessageBoxRequest>& boxes, const std::string& text)
{
    for (const MessageBoxRequest& b : boxes)
        if (b.text.find(text) != std::string::npos)
            return true;
    return false;
}

// A port number with no device behind it: the settings are read, the open fails.
constexpr int kNoSuchPort = 200;

}  // namespace

TEST(LinkSettings, WithoutIniTheConfigurationIsNotValid)
{
    LinkFixture f;
    EXPECT_EQ(f.link.LoadSettings(false), CRadioLink::kNotConnected);
    ASSERT_EQ(f.host.boxes.size(), 1u);
    EXPECT_EQ(f.host.boxes[0].text, "Configuration not valid.\n\nSet now ?");
    EXPECT_EQ(f.host.boxes[0].style, mb::kYesNo | mb::kIconQuestion);
    EXPECT_EQ(f.host.setupDialogs, 0);

    // Yes opens the setup dialog.
    f.host.answers = {mb::kIdYes};
    EXPECT_EQ(f.link.LoadSettings(false), CRadioLink::kSetupShown);
    EXPECT_EQ(f.host.setupDialogs, 1);

    // Forced: the dialog without a question.
    f.host.boxes.clear();
    EXPECT_EQ(f.link.LoadSettings(true), CRadioLink::kSetupShown);
    EXPECT_EQ(f.host.setupDialogs, 2);
    EXPECT_TRUE(f.host.boxes.empty());
}

TEST(LinkSettings, ValidityNeedsPortOrDriverAddressAndModel)
{
    LinkIdentity id;
    EXPECT_FALSE(IsConfigValid(id));
    id.port = 3;
    id.address = 0x58;
    id.model = radio::kIC718;
    EXPECT_TRUE(IsConfigValid(id));
    id.port = 0;
    EXPECT_FALSE(IsConfigValid(id));
    id.driver = "SimRadio.so - Simulated CI-V radio - Ver. 1.2.5";
    EXPECT_TRUE(IsConfigValid(id));
    id.address = 0;
    EXPECT_FALSE(IsConfigValid(id));
    id.address = 0x58;
    id.model = radio::kModelUnknown;
    EXPECT_FALSE(IsConfigValid(id));
}

TEST(LinkSettings, ClampsAndDefaults)
{
    LinkFixture f;
    f.SerialSetup(kNoSuchPort, 0);
    f.Set("Setup", "DelayMemory", 20000);
    f.Set("S-Meter", "Divisore", 0);
    f.Set("Setup", "UTCOffset", "auto");
    EXPECT_EQ(f.link.LoadSettings(false), CRadioLink::kNotConnected);
    const LinkSettings& s = f.link.Settings();
    EXPECT_EQ(s.delayMemory, 500);
    EXPECT_EQ(s.sMeterDivisor, 1);
    EXPECT_EQ(s.utcOffset, kUtcOffsetAuto);
    EXPECT_EQ(s.delayCommand, 100);
    EXPECT_EQ(s.pollInterval, 300);
    EXPECT_EQ(s.sMeterLower, 38);
    EXPECT_EQ(s.tuneSeconds, 5);
    EXPECT_EQ(s.pttCopyOn, "@[on]@");
    EXPECT_EQ(s.id.text.g, 230);
    EXPECT_EQ(s.id.checkOn.r, 255);
    EXPECT_EQ(s.fontDisplaySize, 26);

    f.Set("Setup", "DelayMemory", 0);
    f.Set("S-Meter", "Divisore", -4);
    f.Set("Setup", "UTCOffset", "-5");
    f.link.LoadSettings(false);
    EXPECT_EQ(f.link.Settings().delayMemory, 500);
    EXPECT_EQ(f.link.Settings().sMeterDivisor, 1);
    EXPECT_EQ(f.link.Settings().utcOffset, -5);
    f.Set("Setup", "DelayMemory", 10000);
    f.Set("Setup", "UTCOffset", "5x");
    f.link.LoadSettings(false);
    EXPECT_EQ(f.link.Settings().delayMemory, 10000);
    EXPECT_EQ(f.link.Settings().utcOffset, kUtcOffsetAuto);
}

TEST(LinkSettings, PortaWithoutValueMeansDriverOnlyWhenOneIsChosen)
{
    LinkFixture f;
    f.Set("Setup", "Indirizzo", 0x58);
    f.Set("Setup", "RTX", 2);
    f.Set("Setup", "Driver", "Missing.so - Ver. 1.0");
    f.Set("AudioRecorder", "Abilitato", 0);
    // Driver mode: no such library, so the driver error is asked.
    EXPECT_EQ(f.link.LoadSettings(false), CRadioLink::kNotConnected);
    EXPECT_TRUE(Mentions(f.host.boxes, "Error in external driver.\n\nSet now ?"));
    EXPECT_EQ(f.link.Settings().id.port, 0);

    f.host.answers = {mb::kIdYes};
    EXPECT_EQ(f.link.LoadSettings(false), CRadioLink::kWantsSetup);
}

TEST(LinkSettings, FailedPortAsksForSetupWithItsNumber)
{
    LinkFixture f;
    f.SerialSetup(kNoSuchPort, 0);
    EXPECT_EQ(f.link.LoadSettings(false), CRadioLink::kNotConnected);
    EXPECT_TRUE(Mentions(f.host.boxes, "Serial port COM:200 not working.\n\nSet now ?"));
    EXPECT_EQ(f.link.ListenerPort(), nullptr);
    f.host.answers = {mb::kIdYes};
    f.Set("Setup", "PortaModo", 1);
    EXPECT_EQ(f.link.LoadSettings(false), CRadioLink::kWantsSetup);
    EXPECT_EQ(f.link.MonitoredPort(), nullptr);
}

TEST(LinkSettings, PortNumbersOutOfRangeAreRefusedWithTheStoredText)
{
    // COM1 is a working line: a stored number that wrapped round to 1 would connect to it.
    const int pty = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(pty, 0);
    ASSERT_EQ(::grantpt(pty), 0);
    ASSERT_EQ(::unlockpt(pty), 0);
    LinkFixture f;
    f.MapPort(1, ::ptsname(pty));
    f.SerialSetup(1, 0);
    ASSERT_EQ(f.link.LoadSettings(false), CRadioLink::kConnected);
    f.link.ClosePort();

    for (const char* stored : {"99999999999999999999", "-4294967295", "4294967297", "-1", "1x"}) {
        f.host.boxes.clear();
        f.Set("Setup", "Porta", stored);
        EXPECT_EQ(f.link.LoadSettings(false), CRadioLink::kNotConnected) << stored;
        EXPECT_EQ(f.link.ListenerPort(), nullptr) << stored;
        const std::string text = std::string("Serial port COM:") + stored + " not working.";
        EXPECT_TRUE(Mentions(f.host.boxes, text)) << stored;
    }
    ::close(pty);
}

TEST(LinkSettings, ExtendedFunctionsFromTheModelAreStoredOnce)
{
    LinkFixture f;
    f.SerialSetup(kNoSuchPort, 0);
    f.Set("Setup", "RTX", 1);
    f.link.LoadSettings(false);
    EXPECT_EQ(f.ini.GetInt("Setup", "VersioneG", -9), 0);
    EXPECT_FALSE(f.link.Settings().extendedFunctions);

    f.ini.DeleteKey("Setup", "VersioneG");
    f.Set("Setup", "RTX", 2);
    f.link.LoadSettings(false);
    EXPECT_EQ(f.ini.GetInt("Setup", "VersioneG", -9), 1);
    EXPECT_TRUE(f.link.Settings().extendedFunctions);

    // A decided value stays whatever the model.
    f.Set("Setup", "VersioneG", 0);
    f.link.LoadSettings(false);
    EXPECT_FALSE(f.link.Settings().extendedFunctions);

    // The IC-718 has no FM modes.
    f.Set("Setup", "RTX", 3);
    f.link.LoadSettings(false);
    EXPECT_FALSE(f.host.withFm);
}

TEST(LinkSettings, FixedLatencySkipsTheMeasurement)
{
    LinkFixture f;
    f.SerialSetup(kNoSuchPort, 0);
    f.Set("Setup", "Latency", 150);
    f.link.LoadSettings(false);
    const int r = f.link.RunSpeedTest();
    EXPECT_EQ(r, 150);
    EXPECT_EQ(f.host.frequencyReads, 0);
    EXPECT_EQ(f.host.progressOpened, 0);
    EXPECT_FALSE(f.link.IsLinkTestRunning());
    ASSERT_FALSE(f.host.latencyTexts.empty());
    EXPECT_EQ(f.host.latencyTexts.back(), "150 ms");

    f.link.SetOffLine(true);
    EXPECT_EQ(f.link.ApplySpeedTestResult(r, true), 0);
    EXPECT_EQ(f.link.DelayCommand(), 150);
    EXPECT_EQ(f.link.PollInterval(), 300);
    EXPECT_EQ(f.ini.GetInt("S-Meter", "Refresh", 0), 300);
    EXPECT_FALSE(f.link.IsOffLine());
}

TEST(LinkSettings, NoTransportMeansNoMeasurement)
{
    // Without a link the worker drops every frame; the test must not report a fast radio.
    LinkFixture f;
    f.SerialSetup(kNoSuchPort, 0);
    f.link.LoadSettings(false);
    EXPECT_EQ(f.link.RunSpeedTest(), -1);
    EXPECT_EQ(f.host.frequencyReads, 0);

    f.host.noPortAnswer = CRadioLink::kNoPortOffLine;
    EXPECT_EQ(f.link.ApplySpeedTestResult(-1, true), CRadioLink::kNoPortOffLine);
    EXPECT_TRUE(f.link.IsOffLine());
    EXPECT_EQ(f.host.offLineShown, 1);
    EXPECT_EQ(f.host.closeRequests, 0);

    f.host.noPortAnswer = CRadioLink::kNoPortExit;
    EXPECT_EQ(f.link.ApplySpeedTestResult(-1, false), CRadioLink::kNoPortExit);
    EXPECT_EQ(f.host.closeRequests, 1);
}

TEST(NoPortChoice, ButtonsAndTheOffLineWarning)
{
    CLanguage language;
    std::deque<int> answers = {mb::kIdNo, mb::kIdYes};
    std::vector<MessageBoxRequest> asked;
    CNoPortChoice choice(language, [&](const MessageBoxRequest& r) {
        asked.push_back(r);
        const int a = answers.front();
        answers.pop_front();
        return a;
    });
    EXPECT_EQ(choice.Text(4), "Serial port COM:4 not working.\n\nSet now ?");
    EXPECT_EQ(choice.OnButton(CNoPortChoice::kSetupButton), 2);
    EXPECT_EQ(choice.OnButton(CNoPortChoice::kExitButton), 1);
    EXPECT_EQ(choice.OnButton(CNoPortChoice::kOffLineButton), CNoPortChoice::kStayOpen);
    EXPECT_EQ(choice.OnButton(CNoPortChoice::kOffLineButton), 3);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].style, mb::kYesNo | mb::kIconQuestion);
    EXPECT_EQ(asked[0].text.rfind("The modality OFF-LINE", 0), 0u);
}
