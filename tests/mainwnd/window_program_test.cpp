// The program itself, started in a temporary program folder against the simulated radio's
// driver and ended by a termination signal: it polls the radio, and the signal ends it as
// "Exit" does, with the state saved and exit status 0.
#include "WindowTestSupport.h"

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Ini.h"

extern char** environ;

using namespace wndtest;

namespace {

class ProgramRun {
public:
    explicit ProgramRun(const std::string& program)
    {
        char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        started_ = ::posix_spawn(&pid_, program.c_str(), nullptr, nullptr, argv, environ) == 0;
    }
    ~ProgramRun()
    {
        if (started_ && !waited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    bool Started() const { return started_; }
    // The exit status, or -1 when it did not exit normally.
    int Stop(int signo)
    {
        ::kill(pid_, signo);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        waited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    bool started_ = false;
    bool waited_ = false;
};

bool WaitFor(const std::function<bool()>& pred)
{
    for (int i = 0; i < 3000 && !pred(); ++i)
        ::usleep(10000);
    return pred();
}

}  // namespace

TEST(Program, TerminationSignalsEndItInOrder)
{
    const std::string built = std::string(CORVANE_BIN_DIR) + "/Corvane";
    if (!fs::exists(built))
        GTEST_SKIP() << "the program is not built";
    for (int signo : {SIGTERM, SIGINT}) {
        WindowFixture f;
        fs::copy_file(built, f.folder / "Corvane");
        ProgramRun run(f.folder / "Corvane");
        ASSERT_TRUE(run.Started());
        // Connected, measured, initialised and polling the S-meter.
        ASSERT_TRUE(WaitFor([&] {
            return f.Trace().find("FE FE 58 E0 15 02 FD") != std::string::npos;
        })) << f.Trace();
        EXPECT_EQ(run.Stop(signo), 0) << "signal " << signo;
        // The polling frames: frequency, mode and S-meter.
        const std::string trace = f.Trace();
        EXPECT_NE(trace.find("FE FE 58 E0 03 FD"), std::string::npos);
        EXPECT_NE(trace.find("FE FE 58 E0 04 FD"), std::string::npos);

        CIni ini;
        ini.SetPath((f.folder / "Corvane.ini").c_str());
        EXPECT_EQ(ini.GetInt("CurrentSet", "Child", -1), 9);
        EXPECT_EQ(ini.GetInt("Setup", "DelayMemory", -1), 500);
        EXPECT_EQ(ini.GetString("Setup", "Version", ""), "1.0.0");
        EXPECT_EQ(ini.GetString("Banda", "20_freq", ""), "14074000");
        EXPECT_TRUE(f.profile->GetRect(settings::reg::MainWindowRect).has_value());
    }
}
