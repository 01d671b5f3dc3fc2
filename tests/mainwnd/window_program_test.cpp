// The program itself, started in a temporary program folder against the simulated radio's
// driver and ended by a termination signal: it polls the radio, and the signal ends it as
// "Exit" does, with the state saved and exit status 0. A signal also ends it while a start-up
// dialog waits, and a broken driver library, or one damaged at random, is refused by name
// instead of crashing it.
#include "ProgramRun.h"
#include "WindowTestSupport.h"

#include "Ini.h"
#include "VekDriver.h"

#include <random>

using namespace wndtest;

TEST(Program, TerminationSignalsEndItInOrder)
{
    const std::string built = std::string(CORVANE_BIN_DIR) + "/Corvane";
    if (!fs::exists(built))
        GTEST_SKIP() << "the program is not built";
    for (int signo : {SIGTERM, SIGINT}) {
        WindowFixture f;
        fs::copy_file(built, f.folder / "Corvane");
        // The second time the driver's send stops coming back once polling runs: the worker
        // stuck in it must not hold up the exit.
        const bool hang = signo == SIGINT;
        ::setenv("SIMRADIO_HANG", hang ? "60" : "", 1);
        ProgramRun run(f.folder / "Corvane");
        ::unsetenv("SIMRADIO_HANG");
        ASSERT_TRUE(run.Started());
        // Connected, measured, initialised and polling the S-meter.
        ASSERT_TRUE(WaitFor([&] {
            const std::string trace = f.Trace();
            return trace.find("FE FE 58 E0 15 02 FD") != std::string::npos
                   && (!hang || trace.find("HANGING") != std::string::npos);
        })) << f.Trace();
        EXPECT_EQ(run.Stop(signo), 0) << "signal " << signo;
        // Audio support is off: the sound system, which speaks on standard error, never ran.
        EXPECT_EQ(run.Errors().find("jack"), std::string::npos) << run.Errors();
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

TEST(Program, ABrokenDriverIsRefusedByNameAndTheProgramLivesOn)
{
    const std::string bin = CORVANE_BIN_DIR;
    if (!fs::exists(bin + "/Corvane"))
        GTEST_SKIP() << "the program is not built";
    const std::string library = testing_support::GetFile(bin + "/Drivers/SimRadio.so");
    ASSERT_GT(library.size(), 8192u);
    const struct {
        std::string bytes, reason;
        int signo;
    } cases[] = {{library.substr(0, 4096), "cut short", SIGTERM},
                 {"This is no library.\n", "not an ELF file", SIGHUP}};
    for (const auto& c : cases) {
        // In this process (a crash in dlopen ends the test): the question names the chosen
        // driver, its installed copy and the reason; No ends the start-up.
        WindowFixture f;
        testing_support::PutFile(f.folder / "Drivers/SimRadio.so", c.bytes);
        const std::string why = "SimRadio.so: " + f.folder / "VekDriver.so" + ": " + c.reason;
        EXPECT_FALSE(f.Run([](CCorvaneDlg& w) { w.CloseProgram(); }));
        ASSERT_FALSE(f.boxes.empty());
        EXPECT_EQ(f.boxes[0].text.rfind(why, 0), 0u) << f.boxes[0].text;
        EXPECT_TRUE(f.boxes[0].text.ends_with("\n\nError in external driver.\n\nSet now ?"));
        EXPECT_EQ(f.boxes[0].style, mb::kYesNo | mb::kIconQuestion);

        // The program tells the same on standard error, waits on the question, and a
        // termination signal ends it in order.
        fs::remove(f.folder / "VekDriver.so");
        fs::copy_file(bin + "/Corvane", f.folder / "Corvane");
        ProgramRun run(f.folder / "Corvane");
        ASSERT_TRUE(run.Started());
        const std::string told = "driver error: " + why;
        EXPECT_TRUE(WaitFor([&] { return run.Errors().find(told) != std::string::npos; }))
            << run.Errors();
        EXPECT_TRUE(run.Running());
        EXPECT_EQ(run.Stop(c.signo), 0) << "signal " << c.signo << "\n" << run.Errors();
    }
}

TEST(Program, ADriverDamagedAtRandomIsRefusedWithTheDriverErrorAndTheProgramLivesOn)
{
    const std::string bin = CORVANE_BIN_DIR;
    if (!fs::exists(bin + "/Corvane"))
        GTEST_SKIP() << "the program is not built";
    const std::string library = testing_support::GetFile(bin + "/Drivers/SimRadio.so");
    ASSERT_GT(library.size(), 12288u);
    // Eight random bytes in the first 12 KB; the damaged copies the loader refuses (in a child
    // of this test, as a crash there would end it).
    testing_support::TempDir scratch{"corvane-damaged"};
    std::vector<std::string> refused;
    for (unsigned seed = 1; seed <= 60 && refused.size() < 3; ++seed) {
        std::mt19937 random(seed);
        std::string damaged = library;
        for (int i = 0; i < 8; ++i)
            damaged[random() % 12288] = static_cast<char>(random() & 0xFF);
        const std::string path = scratch.path + "/VekDriver.so";
        testing_support::PutFile(path, damaged);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            cat::CVekDriver driver;
            ::_exit(driver.Load(path) ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 1)
            refused.push_back(damaged);
    }
    ASSERT_FALSE(refused.empty());
    {
        // Refused before this process loads it: message 1305 names the driver and the reason.
        WindowFixture f;
        testing_support::PutFile(f.folder / "Drivers/SimRadio.so", refused.front());
        EXPECT_FALSE(f.Run([](CCorvaneDlg& w) { w.CloseProgram(); }));
        ASSERT_FALSE(f.boxes.empty());
        EXPECT_EQ(f.boxes[0].text.rfind("SimRadio.so: " + f.folder / "VekDriver.so: ", 0), 0u)
            << f.boxes[0].text;
        EXPECT_TRUE(f.boxes[0].text.ends_with("\n\nError in external driver.\n\nSet now ?"));
    }
    for (const std::string& damaged : refused) {
        // The program itself tells the same and waits on the question, alive.
        WindowFixture f;
        testing_support::PutFile(f.folder / "Drivers/SimRadio.so", damaged);
        fs::copy_file(bin + "/Corvane", f.folder / "Corvane");
        ProgramRun run(f.folder / "Corvane");
        ASSERT_TRUE(run.Started());
        const std::string told = "driver error: SimRadio.so: " + f.folder / "VekDriver.so";
        EXPECT_TRUE(WaitFor([&] { return run.Errors().find(told) != std::string::npos; }))
            << run.Errors();
        EXPECT_TRUE(run.Running());
        EXPECT_EQ(run.Stop(SIGTERM), 0) << run.Errors();
    }
}

TEST(Program, ATerminationSignalEndsTheLanguageChoiceAtStartUp)
{
    const std::string built = std::string(CORVANE_BIN_DIR) + "/Corvane";
    if (!fs::exists(built))
        GTEST_SKIP() << "the program is not built";
    WindowFixture f;
    fs::copy_file(built, f.folder / "Corvane");
    CIni ini;
    ini.SetPath((f.folder / "Corvane.ini").c_str());
    ASSERT_TRUE(ini.DeleteKey("Setup", "Language"));
    ProgramRun run(f.folder / "Corvane");
    ASSERT_TRUE(run.Started());
    // The start-up has recorded its folder and goes on to the language dialog, which waits for
    // a choice that never comes.
    ASSERT_TRUE(WaitFor([&] { return !f.profile->Get(settings::reg::LastPath).empty(); }));
    EXPECT_EQ(run.Stop(SIGTERM), 0) << run.Errors();
    EXPECT_EQ(ini.GetString("Setup", "Language", ""), "");
}

TEST(Program, AnotherDriverWithTheSameVersionTextIsInstalledAndLoaded)
{
    const std::string bin = CORVANE_BIN_DIR;
    if (!fs::exists(bin + "/Corvane"))
        GTEST_SKIP() << "the program is not built";
    WindowFixture f;
    fs::copy_file(bin + "/Corvane", f.folder / "Corvane");
    // Two different builds of one driver: the same version text, different bytes.
    const std::string second = testing_support::GetFile(f.folder / "Drivers/SimRadio.so");
    const std::string first = second + std::string("another build", 13);
    testing_support::PutFile(f.folder / "Drivers/First.so", first);
    const auto runWith = [&](const std::string& entry) {
        {
            CIni ini;
            ini.SetPath((f.folder / "Corvane.ini").c_str());
            ini.WriteString("Setup", "Driver", entry.c_str());
        }
        fs::remove(f.trace);
        ProgramRun run(f.folder / "Corvane");
        ASSERT_TRUE(run.Started());
        // Connected through the driver and polling.
        EXPECT_TRUE(WaitFor([&] {
            return f.Trace().find("FE FE 58 E0 15 02 FD") != std::string::npos;
        })) << run.Errors();
        EXPECT_EQ(run.Stop(SIGTERM), 0) << run.Errors();
    };
    runWith("First.so - Simulated CI-V radio - Ver. 1.2.5");
    EXPECT_TRUE(testing_support::GetFile(f.folder / "VekDriver.so") == first);
    runWith("SimRadio.so - Simulated CI-V radio - Ver. 1.2.5");
    EXPECT_TRUE(testing_support::GetFile(f.folder / "VekDriver.so") == second);
}
