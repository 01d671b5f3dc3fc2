// The program started with its clock two seconds before a sked: the sked counts down and tunes
// the simulated radio, the program reads the new frequency back, and after a termination signal
// the sked file still holds the sked.
#include "SkedsTestSupport.h"
#include "WindowTestSupport.h"

#include <chrono>
#include <csignal>
#include <dlfcn.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace wndtest;

namespace {

// Returns as soon as pred holds; the ceiling only stops a broken run, so it is generous for a
// loaded machine, where the program's start-up alone can take most of a minute.
bool WaitFor(const std::function<bool()>& pred, std::chrono::seconds ceiling)
{
    const auto end = std::chrono::steady_clock::now() + ceiling;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end)
            return pred();
        ::usleep(10000);
    }
    return true;
}

// The frequency the running program reports to other programs.
int32_t ProgramFrequency()
{
    void* library = ::dlopen(CORVANE_BIN_DIR "/libVekExtension.so", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        return -1;
    auto init = reinterpret_cast<int (*)()>(::dlsym(library, "ExtInit"));
    auto frequency = reinterpret_cast<int32_t (*)()>(::dlsym(library, "ExtGetFrequency"));
    const int32_t hz = init != nullptr && frequency != nullptr && init() ? frequency() : -1;
    ::dlclose(library);
    return hz;
}

}  // namespace

TEST(SkedsProgram, ASkedAtNoonFiresUnderATestClockAndStaysInTheFile)
{
    const std::string built = std::string(CORVANE_BIN_DIR) + "/Corvane";
    if (!fs::exists(built))
        GTEST_SKIP() << "the program is not built";
    WindowFixture f;
    fs::copy_file(built, f.folder / "Corvane");
    const std::string sked = skedtest::SkedText("203001011200", "Noon net");
    testing_support::PutFile(f.folder / "Skeds.Dat", sked);

    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("CORVANE_TEST_CLOCK", "2030-01-01T11:59:58Z", 1);
    const std::string program = f.folder / "Corvane";
    const std::string errors = f.folder / "stderr.txt";
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(),
                                       O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = -1;
    const bool started =
        ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) == 0;
    ::posix_spawn_file_actions_destroy(&actions);
    ::unsetenv("CORVANE_TEST_CLOCK");
    ASSERT_TRUE(started);

    // Counting down from noon, then the sked's frames: VFO B, VFO A, split, the active VFO.
    const std::vector<std::string> frames = {"07 01", "05", "06",    "07 00",
                                             "05",    "06", "0F 00", "07 00"};
    const bool fired = WaitFor(
        [&] {
            const std::vector<std::string> seen = skedtest::TuningFrames(f.Trace());
            return seen.size() >= frames.size()
                   && std::equal(frames.begin(), frames.end(), seen.end() - frames.size());
        },
        std::chrono::seconds(150));
    EXPECT_TRUE(fired) << f.Trace() << testing_support::GetFile(errors);
    EXPECT_NE(f.Trace().find("FE FE 58 E0 05 00 40 07 07 00 FD"), std::string::npos);
    EXPECT_NE(f.Trace().find("FE FE 58 E0 05 00 40 07 14 00 FD"), std::string::npos);
    // The radio is on the sked's VFO A, as the program has read it back.
    EXPECT_TRUE(WaitFor([] { return ProgramFrequency() == 7074000; }, std::chrono::seconds(40)))
        << ProgramFrequency();

    ::kill(pid, SIGTERM);
    int status = -1;
    bool ended = false;
    EXPECT_TRUE(WaitFor([&] { return ended = ended || ::waitpid(pid, &status, WNOHANG) == pid; },
                        std::chrono::seconds(40)));
    // A program left running would answer the next test's extension calls in its place.
    if (!ended) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << testing_support::GetFile(errors);
    EXPECT_EQ(testing_support::GetFile(f.folder / "Skeds.Dat"), sked);
}
