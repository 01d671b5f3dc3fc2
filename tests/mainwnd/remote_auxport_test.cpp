// The auxiliary port of codes 45 to 48 on a pseudo-terminal, with both serial back-ends, and
// through the driver library.
#include <gtest/gtest.h>

#include "Pty.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>

#include "RemoteTestSupport.h"

using namespace remotetest;

namespace {

constexpr int kAuxPort = 5;
constexpr int kCatPort = 3;

int LineArgument(int line, int state)
{
    return line | (state << 16);
}

using testing_support::Pty;

class AuxPortTest : public ::testing::TestWithParam<int> {
protected:
    AuxPortTest()
    {
        r.link.MapPort(kAuxPort, pty.Device());
        r.rig.ini.WriteInt("Setup", "Porta", kCatPort);
        r.rig.ini.WriteInt("Setup", "PortaModo", GetParam());
    }
    int Code(int code, int argument) { return r.handler->OnRemoteCommand(code, argument); }

    Pty pty;
    RemoteRig r;
};

}  // namespace

TEST_P(AuxPortTest, OpensOnceWithTheLinesOffAndSetsThem)
{
    ASSERT_FALSE(pty.Device().empty());
    EXPECT_EQ(Code(45, 0), 1);
    EXPECT_EQ(Code(45, -3), 1);
    EXPECT_EQ(Code(45, kCatPort), 2);
    EXPECT_EQ(Code(47, LineArgument(0, 1)), -1);  // nothing open yet

    EXPECT_EQ(Code(45, kAuxPort), 0);
    EXPECT_EQ(r.handler->AuxiliaryPort().Port(), kAuxPort);
    EXPECT_EQ(r.handler->AuxiliaryPort().DtrState(), 0);
    EXPECT_EQ(r.handler->AuxiliaryPort().RtsState(), 0);
    EXPECT_EQ(Code(45, kAuxPort), 3);
    EXPECT_EQ(Code(45, 9), 3);

    EXPECT_EQ(Code(47, LineArgument(0, 1)), 0);
    EXPECT_EQ(r.handler->AuxiliaryPort().DtrState(), 1);
    EXPECT_EQ(r.handler->AuxiliaryPort().RtsState(), 0);
    EXPECT_EQ(Code(48, LineArgument(0, 1)), 0);
    EXPECT_EQ(r.handler->AuxiliaryPort().RtsState(), 1);
    EXPECT_EQ(Code(47, LineArgument(0, 0)), 0);
    EXPECT_EQ(r.handler->AuxiliaryPort().DtrState(), 0);

    // Lines and states that do not exist, and the CAT port that the link has not opened.
    EXPECT_EQ(Code(47, LineArgument(2, 1)), -1);
    EXPECT_EQ(Code(48, LineArgument(0, 2)), -1);
    EXPECT_EQ(Code(47, -1), -1);
    EXPECT_EQ(Code(47, LineArgument(1, 1)), -1);

    EXPECT_EQ(Code(46, 0), 0);
    EXPECT_EQ(r.handler->AuxiliaryPort().Port(), 0);
    EXPECT_EQ(r.handler->AuxiliaryPort().DtrState(), -1);
    EXPECT_EQ(Code(48, LineArgument(0, 1)), -1);
    // Closed, it can be opened again.
    EXPECT_EQ(Code(45, kAuxPort), 0);
    r.handler->CloseAuxiliaryPort();
    EXPECT_EQ(r.handler->AuxiliaryPort().Port(), 0);
}

TEST_P(AuxPortTest, APortThatCannotBeOpenedAnswersFourAndStaysClosed)
{
    r.link.MapPort(8, (r.link.folder / "no-such-device").c_str());
    EXPECT_EQ(Code(45, 8), 4);
    EXPECT_EQ(r.handler->AuxiliaryPort().Port(), 0);
    EXPECT_EQ(Code(45, kAuxPort), 0);
}

INSTANTIATE_TEST_SUITE_P(Backends, AuxPortTest, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param != 0 ? std::string("Monitor")
                                                    : std::string("Listener");
                         });

TEST(AuxPortDriver, TheDriverDoesEverything)
{
    RemoteRig r;
    namespace fs = std::filesystem;
    fs::create_directories(r.link.folder / "Drivers");
    fs::copy_file(std::string(CORVANE_BIN_DIR) + "/Drivers/SimRadio.so",
                  r.link.folder / "Drivers/SimRadio.so");
    r.link.Set("Setup", "Porta", 0);
    r.link.Set("Setup", "Driver", "SimRadio.so - Simulated CI-V radio - Ver. 1.2.5");
    r.link.Set("Setup", "Indirizzo", 0x58);
    r.link.Set("Setup", "RTX", 2);
    r.link.Set("AudioRecorder", "Abilitato", 0);
    ASSERT_EQ(r.link.link.LoadSettings(false), CRadioLink::kConnected);
    ASSERT_TRUE(r.link.link.UsesDriver());

    EXPECT_EQ(r.handler->OnRemoteCommand(45, 0), 1);
    EXPECT_EQ(r.handler->OnRemoteCommand(45, 1),
              0);  // even the CAT port's number: the driver decides
    EXPECT_EQ(r.handler->OnRemoteCommand(45, 2), 3);
    EXPECT_EQ(r.handler->OnRemoteCommand(47, LineArgument(1, 1)), 0);
    EXPECT_EQ(r.handler->OnRemoteCommand(48, LineArgument(0, 0)), 0);
    EXPECT_EQ(r.handler->OnRemoteCommand(46, 0), 0);
    EXPECT_EQ(r.handler->AuxiliaryPort().Port(), 0);
    r.link.link.ClosePort();
}
