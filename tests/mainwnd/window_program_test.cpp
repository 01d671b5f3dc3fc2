// The program itself, started in a temporary program folder against the simulated radio's
// driver and ended by a termination signal: it polls the radio, and the signal ends it as
// "Exit" does, with the state saved and exit status 0. A signal also ends it while a start-up
// dialog waits, and a broken driver library is refused by name instead of crashing it.
#include "WindowTestSupport.h"

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Ini.h"

extern char** environ;

using namespace wndtest;

namespace {

// The program as a child process, its standard error read through a pipe.
class ProgramRun {
public:
    explicit ProgramRun(const std::string& program)
    {
        char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        int err[2];
        if (::pipe2(err, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
        started_ = ::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv, environ) == 0;
        ::posix_spawn_file_actions_destroy(&actions);
        ::close(err[1]);
        errFd_ = err[0];
    }
    ~ProgramRun()
    {
        if (started_ && !waited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (errFd_ >= 0)
            ::close(errFd_);
    }
    bool Started() const { return started_; }
    bool Running() { return !waited_ && ::waitpid(pid_, nullptr, WNOHANG) == 0; }
    // Waits until the program has written `text` to standard error (false when it ended first
    // or the guard ran out).
    bool WaitError(const std::string& text)
    {
        for (int i = 0; i < 300 && errors_.find(text) == std::string::npos; ++i) {
            pollfd p{errFd_, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0)
                continue;
            char buffer[4096];
            const ssize_t n = ::read(errFd_, buffer, sizeof buffer);
            if (n <= 0)
                break;
            errors_.append(buffer, static_cast<size_t>(n));
        }
        return errors_.find(text) != std::string::npos;
    }
    const std::string& Errors() const { return errors_; }
    // The exit status, or -1 when it did not exit normally (a signal, or still running when the
    // guard ran out).
    int Stop(int signo)
    {
        ::kill(pid_, signo);
        int status = 0;
        pid_t done = 0;
        for (int i = 0; i < 3000 && done == 0; ++i) {
            done = ::waitpid(pid_, &status, WNOHANG);
            if (done == 0)
                ::usleep(10000);
        }
        if (done == 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            status = -1;
        }
        waited_ = true;
        return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    int errFd_ = -1;
    bool started_ = false;
    bool waited_ = false;
    std::string errors_;
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

namespace {

const std::string kBuilt = std::string(CORVANE_BIN_DIR) + "/Corvane";

}  // namespace

TEST(Program, ABrokenDriverIsRefusedByNameAndTheProgramLivesOn)
{
    if (!fs::exists(kBuilt))
        GTEST_SKIP() << "the program is not built";
    const std::string library =
        testing_support::GetFile(std::string(CORVANE_BIN_DIR) + "/Drivers/SimRadio.so");
    ASSERT_GT(library.size(), 8192u);
    struct Case {
        std::string bytes;
        std::string reason;
        int signo;
    };
    const Case cases[] = {{library.substr(0, 4096), "cut short", SIGTERM},
                          {"This is no library.\n", "not an ELF file", SIGHUP}};
    for (const Case& c : cases) {
        // The start-up in this process (a crash in dlopen would end the test): the question
        // names the chosen driver, the installed copy and why it was refused; No ends it.
        {
            WindowFixture f;
            testing_support::PutFile(f.folder / "Drivers/SimRadio.so", c.bytes);
            EXPECT_FALSE(f.Run([](CCorvaneDlg& w) { w.CloseProgram(); }));
            ASSERT_FALSE(f.boxes.empty());
            const MessageBoxRequest& box = f.boxes.front();
            EXPECT_EQ(box.text.rfind("SimRadio.so: " + f.folder / "VekDriver.so" + ": " + c.reason, 0),
                      0u)
                << box.text;
            EXPECT_TRUE(box.text.ends_with("\n\nError in external driver.\n\nSet now ?")) << box.text;
            EXPECT_EQ(box.style, mb::kYesNo | mb::kIconQuestion);
        }
        // The program: it reports the same on standard error, waits on the question, and a
        // termination signal ends it in order.
        WindowFixture f;
        testing_support::PutFile(f.folder / "Drivers/SimRadio.so", c.bytes);
        fs::copy_file(kBuilt, f.folder / "Corvane");
        ProgramRun run(f.folder / "Corvane");
        ASSERT_TRUE(run.Started());
        EXPECT_TRUE(run.WaitError("driver error: SimRadio.so: " + f.folder / "VekDriver.so" + ": " +
                                  c.reason))
            << run.Errors();
        EXPECT_TRUE(run.Running());
        EXPECT_EQ(run.Stop(c.signo), 0) << "signal " << c.signo << "\n" << run.Errors();
    }
}

TEST(Program, ATerminationSignalEndsTheLanguageChoiceAtStartUp)
{
    if (!fs::exists(kBuilt))
        GTEST_SKIP() << "the program is not built";
    WindowFixture f;
    fs::copy_file(kBuilt, f.folder / "Corvane");
    CIni ini;
    ini.SetPath((f.folder / "Corvane.ini").c_str());
    ASSERT_TRUE(ini.DeleteKey("Setup", "Language"));
    ProgramRun run(f.folder / "Corvane");
    ASSERT_TRUE(run.Started());
    // The start-up has begun (the program folder is recorded) and goes on to the language
    // dialog, which waits for a choice that never comes.
    ASSERT_TRUE(WaitFor([&] { return !f.profile->Get(settings::reg::LastPath).empty(); }));
    EXPECT_EQ(run.Stop(SIGTERM), 0) << run.Errors();
    EXPECT_EQ(ini.GetString("Setup", "Language", ""), "");
}
