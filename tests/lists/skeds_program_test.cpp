// The program started with its clock just before a sked's minute, and again inside it: the sked
// counts down and tunes the simulated radio, the program reads the new frequency back, and after
// a termination signal the sked file still holds the sked.
#include "ProgramRun.h"
#include "SkedsTestSupport.h"
#include "WindowTestSupport.h"

#include <dlfcn.h>

using namespace wndtest;

namespace {

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
    // Before the minute, and with the minute already running when the program starts.
    for (const char* clock : {"2030-01-01T11:59:58Z", "2030-01-01T12:00:03Z"}) {
        SCOPED_TRACE(clock);
        WindowFixture f;
        fs::copy_file(built, f.folder / "Corvane");
        // VFO B's mode written by hand, a name the program does not know: it goes as code 0.
        std::string sked = skedtest::SkedText("203001011200", "Noon net");
        sked.replace(sked.find("~ USB ~"), 7, "~ Usb-D ~");
        testing_support::PutFile(f.folder / "Skeds.Dat", sked);

        ::setenv("CORVANE_TEST_CLOCK", clock, 1);
        ProgramRun run(f.folder / "Corvane");
        ::unsetenv("CORVANE_TEST_CLOCK");
        ASSERT_TRUE(run.Started());

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
        EXPECT_TRUE(fired) << f.Trace() << run.Errors();
        EXPECT_NE(f.Trace().find("FE FE 58 E0 05 00 40 07 07 00 FD"), std::string::npos);
        EXPECT_NE(f.Trace().find("FE FE 58 E0 05 00 40 07 14 00 FD"), std::string::npos);
        EXPECT_NE(f.Trace().find("FE FE 58 E0 06 00 02 FD"), std::string::npos);
        // The radio is on the sked's VFO A, as the program has read it back.
        EXPECT_TRUE(WaitFor([] { return ProgramFrequency() == 7074000; }, std::chrono::seconds(40)))
            << ProgramFrequency();

        EXPECT_EQ(run.Stop(SIGTERM), 0) << run.Errors();
        EXPECT_EQ(testing_support::GetFile(f.folder / "Skeds.Dat"), sked);
    }
}
