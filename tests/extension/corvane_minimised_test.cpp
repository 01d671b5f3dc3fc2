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

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t from = 0; from < text.size();) {
        const std::size_t end = std::min(text.find('\n', from), text.size());
        lines.push_back(text.substr(from, end - from));
        from = end + 1;
    }
    return lines;
}

// The states the window manager and the X server give the main window of process `pid`
// ("hidden", "iconic", "normal"), empty while it has no such window.
std::string MainWindowState(pid_t pid)
{
    std::string states;
    for (const std::string& id :
         Lines(Shell("xdotool search --all --pid " + std::to_string(pid)
                     + " --name '^Corvane Icom 706 Control' 2>/dev/null"))) {
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

// The root's active window when the caller's xmessage has the focus.
std::string ActiveXmessage()
{
    const std::string id = Shell("xdotool search --class xmessage 2>/dev/null | tail -1");
    char line[96];
    std::snprintf(line, sizeof line, "_NET_ACTIVE_WINDOW(WINDOW): window id # 0x%lx\n",
                  id.empty() ? 0ul : std::stoul(id));
    return line;
}

}  // namespace

TEST(CorvaneMinimised, TheProgramALibraryStartsStaysMinimisedAndInactiveAndOneStartedByHandDoesNot)
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

    // A caller's window holds the focus; what the window manager makes active is recorded.
    testing_support::TempDir scratch("corvane-active");
    const std::string record = scratch / "active.txt";
    const std::string pids = scratch / "pids";
    Shell("xmessage -geometry +0+0 caller >/dev/null 2>&1 & echo $! > " + pids);
    ASSERT_TRUE(WaitFor([] {
        Shell("xdotool search --class xmessage windowactivate 2>/dev/null");
        return Shell("xprop -root _NET_ACTIVE_WINDOW") == ActiveXmessage();
    }));
    Shell("xprop -root -spy _NET_ACTIVE_WINDOW > " + record + " 2>&1 & echo $! >> " + pids);

    // Started by a client, against a radio that answers and against one that stays silent (the
    // start then waits in a dialog), the window is minimised from its first moment, stays so,
    // and is never made active.
    for (const bool silent : {false, true}) {
        CorvaneFolder folder;
        if (silent) {
            std::string ini = testing_support::GetFile(folder.folder / "Corvane.ini");
            ini.replace(ini.find("Indirizzo=88"), 12, "Indirizzo=16");
            testing_support::PutFile(folder.folder / "Corvane.ini", ini);
        }
        folder.SetEnvironment();
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        ASSERT_TRUE(
            SetupRegistry().WriteProfileString("Setup", "LastPath", folder.folder.path + "/"));
        Client client([](Library& l, const Client::Link& out) {
            out.Say("init", l.ExtInit());
            out.Hold();
            out.Say("exit", l.ExtExit(0));
        });
        ASSERT_EQ(client.Next(), std::make_pair(std::string("loaded"), 1LL));
        ASSERT_EQ(client.Next(), std::make_pair(std::string("init"), silent ? 0LL : 1LL));
        const std::vector<pid_t> started = ProcessesOf(folder.folder / "Corvane");
        ASSERT_EQ(started.size(), 1u);
        struct KillAtEnd {
            pid_t pid;
            ~KillAtEnd() { ::kill(pid, SIGKILL); }
        } guard{started[0]};

        std::string state;
        EXPECT_TRUE(WaitFor([&] {
            state = MainWindowState(guard.pid);
            return state.find("hidden") != std::string::npos
                   && state.find("iconic") != std::string::npos;
        })) << state;
        if (silent) {
            EXPECT_TRUE(WaitFor([&] {
                return !Shell("xdotool search --all --pid " + std::to_string(guard.pid)
                              + " --name '^Corvane - Warning' 2>/dev/null")
                            .empty();
            }));
        } else {
            ASSERT_TRUE(folder.Serving(guard.pid)) << folder.Trace();
            std::size_t polls = folder.Trace().size();
            for (int i = 0; i < 3; ++i)
                folder.WaitHeard("E0 15 02 FD", polls);
        }
        state = MainWindowState(guard.pid);
        EXPECT_NE(state.find("iconic"), std::string::npos) << state;
        EXPECT_EQ(state.find("normal"), std::string::npos) << state;
        for (const std::string& id :
             Lines(Shell("xdotool search --pid " + std::to_string(guard.pid) + " 2>/dev/null"))) {
            char hex[32];
            std::snprintf(hex, sizeof hex, "0x%lx\n", std::stoul(id));
            EXPECT_EQ(testing_support::GetFile(record).find(hex), std::string::npos) << silent;
        }

        const std::map<std::string, long long> rest = AsMap(client.Finish());
        if (!silent) {
            EXPECT_EQ(rest.count("exit") ? rest.at("exit") : -2, 0);
            EXPECT_TRUE(WaitGone(guard.pid));
        }
    }
    Shell("kill $(cat " + pids + ")");
    ClearRegistry();
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
}
