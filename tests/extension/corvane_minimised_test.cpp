// A program the library starts for a client comes up minimised, so the client's own window keeps
// the front: the real program on a real X server with a window manager, its window's state read
// as the window manager keeps it.
#include "CorvaneProgram.h"
#include "ShellOutput.h"
#include "XvfbSession.h"

#include <cstdio>

using namespace ext_test;

using testing_support::Shell;

namespace {

// The states the window manager and the X server give the main window of process `pid`
// ("hidden", "iconic", "normal"), empty while it has no such window.
std::string MainWindowState(pid_t pid)
{
    const std::string ids = Shell("xdotool search --pid " + std::to_string(pid)
                                  + " --name '^Corvane Icom 706 Control' 2>/dev/null");
    std::string states;
    for (std::size_t from = 0; from < ids.size();) {
        const std::size_t end = ids.find('\n', from);
        const std::string id = ids.substr(from, end - from);
        from = end == std::string::npos ? ids.size() : end + 1;
        const std::string props = Shell("xprop -id " + id + " _NET_WM_STATE WM_STATE 2>/dev/null");
        if (props.find("_NET_WM_STATE_HIDDEN") != std::string::npos)
            states += "hidden ";
        if (props.find("window state: Iconic") != std::string::npos)
            states += "iconic ";
        if (props.find("window state: Normal") != std::string::npos)
            states += "normal ";
    }
    return states;
}

}  // namespace

TEST(CorvaneMinimised, TheProgramALibraryStartsWaitsMinimisedAndOneStartedByHandDoesNot)
{
    testing_support::XvfbSession screen(1366, 768, true);
    ASSERT_TRUE(screen.Ok()) << "no X server";
    ASSERT_TRUE(WaitFor(testing_support::WindowManagerRuns)) << "no window manager";
    ClearRegistry();

    // Started by hand, the window shows as usual: the check below can tell the two apart.
    {
        CorvaneFolder byHand;
        byHand.SetEnvironment();
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        MainProgramProcess program({byHand.folder / "Corvane"});
        ASSERT_TRUE(byHand.Serving(program.Pid())) << byHand.Trace();
        std::string state;
        EXPECT_TRUE(WaitFor([&] {
            state = MainWindowState(program.Pid());
            return state.find("normal") != std::string::npos
                   && state.find("hidden") == std::string::npos
                   && state.find("iconic") == std::string::npos;
        })) << state;
        ::kill(program.Pid(), SIGTERM);
        EXPECT_EQ(program.WaitExit(), 0);
    }

    CorvaneFolder folder;
    folder.SetEnvironment();
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    ASSERT_TRUE(SetupRegistry().WriteProfileString("Setup", "LastPath", folder.folder.path + "/"));
    Client client([](Library& l, const Client::Link& out) {
        out.Say("init", l.ExtInit());
        out.Say("pid", l.ExtGethWnd());
        out.Hold();
        out.Say("exit", l.ExtExit(0));
    });
    ASSERT_EQ(client.Next(), std::make_pair(std::string("loaded"), 1LL));
    ASSERT_EQ(client.Next(), std::make_pair(std::string("init"), 1LL));
    const auto pid = client.Next();
    ASSERT_EQ(pid.first, "pid");
    ASSERT_GT(pid.second, 0);
    const pid_t started = static_cast<pid_t>(pid.second);
    struct KillAtEnd {
        pid_t pid;
        ~KillAtEnd() { ::kill(pid, SIGKILL); }
    } guard{started};

    // Minimised once it is up, and it stays so while it polls the radio.
    ASSERT_TRUE(folder.Serving(started)) << folder.Trace();
    std::string state;
    EXPECT_TRUE(WaitFor([&] {
        state = MainWindowState(started);
        return state.find("hidden") != std::string::npos
               && state.find("iconic") != std::string::npos;
    })) << state;
    std::size_t polls = folder.Trace().size();
    for (int i = 0; i < 3; ++i)
        folder.WaitHeard("E0 15 02 FD", polls);
    state = MainWindowState(started);
    EXPECT_NE(state.find("iconic"), std::string::npos) << state;
    EXPECT_EQ(state.find("normal"), std::string::npos) << state;

    const std::map<std::string, long long> rest = AsMap(client.Finish());
    EXPECT_EQ(rest.count("exit") ? rest.at("exit") : -2, 0);
    EXPECT_TRUE(WaitGone(started));
    ClearRegistry();
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
}
