// How the library finds the main program: the title rules, and starting it from LastPath.
#include "ExtensionTestSupport.h"

#include "Discovery.h"
#include "RuntimeFolder.h"

#include <filesystem>
#include <thread>

using namespace ext_test;

TEST(ExtensionTitle, TheLastProgramWhoseTitleBeginsWithTheNameIsUsedInAnyLetterCase)
{
    Library& l = Library::Get();
    ClearRegistry();
    MainProgramProcess first(StandInArgs("CORVANE ICOM 706 CONTROL - 1.0", {"--answer", "0=1"}));
    ASSERT_TRUE(first.WaitReady());
    MainProgramProcess second(
        StandInArgs("corvane icom 706 control and more text", {"--answer", "0=2"}));
    ASSERT_TRUE(second.WaitReady());
    MainProgramProcess shorter(StandInArgs("Corvane Icom 706 Contro", {"--answer", "0=3"}));
    ASSERT_TRUE(shorter.WaitReady());

    ASSERT_EQ(l.ExtInit(), 1);
    EXPECT_EQ(l.ExtGethWnd(), second.Pid());
    EXPECT_EQ(l.ExtGetFrequency(), 2);

    second.Kill();
    ASSERT_EQ(l.ExtInit(), 1);
    EXPECT_EQ(l.ExtGethWnd(), first.Pid());
    EXPECT_EQ(l.ExtGetFrequency(), 1);
}

TEST(ExtensionTitle, ATitleOneCharacterShortOfTheNameIsNotFound)
{
    Library& l = Library::Get();
    ClearRegistry();
    MainProgramProcess shorter(StandInArgs("Corvane Icom 706 Contro"));
    ASSERT_TRUE(shorter.WaitReady());
    MainProgramProcess other(StandInArgs("Xorvane Icom 706 Control"));
    ASSERT_TRUE(other.WaitReady());
    EXPECT_EQ(l.ExtInit(), 0);
    EXPECT_EQ(l.ExtGethWnd(), 0);
    EXPECT_EQ(l.ExtGetFrequency(), -1);
}

TEST(ExtensionStart, ExtInitStartsTheProgramInLastPathWhenNoneRuns)
{
    Library& l = Library::Get();
    testing_support::TempDir folder("corvane-ext-prog");
    // The program folder holds the program under its own name; it starts with no arguments.
    std::filesystem::create_symlink(TestBinary("extension_standin"), folder / "Corvane");
    ClearRegistry();
    ASSERT_TRUE(SetupRegistry().WriteProfileString("Setup", "LastPath", folder.path + "/"));

    ASSERT_EQ(l.ExtInit(), 1);
    const intptr_t started = l.ExtGethWnd();
    EXPECT_GT(started, 0);
    EXPECT_EQ(l.ExtGetFrequency(), 1000);
    // It outlives its caller, so it holds none of the caller's terminal or pipes.
    for (int fd = 0; fd <= 2; ++fd) {
        std::error_code ec;
        const std::string proc = "/proc/" + std::to_string(started) + "/fd/" + std::to_string(fd);
        EXPECT_EQ(std::filesystem::read_symlink(proc, ec), "/dev/null") << fd;
    }

    // Found again when it runs: not started twice.
    ASSERT_EQ(l.ExtInit(), 1);
    EXPECT_EQ(l.ExtGethWnd(), started);

    EXPECT_EQ(l.ExtExit(0), 0);
    EXPECT_TRUE(WaitGone(static_cast<pid_t>(started)));
    ClearRegistry();
}

TEST(ExtensionStart, ThreadsThatCallExtInitAtOnceStartOneProgram)
{
    Library& l = Library::Get();
    testing_support::TempDir folder("corvane-ext-prog");
    std::filesystem::create_symlink(TestBinary("extension_standin"), folder / "Corvane");
    ClearRegistry();
    ASSERT_TRUE(SetupRegistry().WriteProfileString("Setup", "LastPath", folder.path + "/"));

    std::vector<int> found(4, -1);
    std::vector<std::thread> threads;
    for (int& f : found)
        threads.emplace_back([&l, &f] { f = l.ExtInit(); });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(found, std::vector<int>(4, 1));
    const platform::ipc::FolderResult runtime = platform::ipc::RuntimeFolder();
    EXPECT_EQ(platform::ipc::ListServerSockets(runtime.path).size(), 1u);

    const pid_t started = static_cast<pid_t>(l.ExtGethWnd());
    EXPECT_EQ(l.ExtExit(0), 0);
    EXPECT_TRUE(WaitGone(started));
    ClearRegistry();
}

TEST(ExtensionStart, ALastPathWithoutTheProgramStartsNothing)
{
    Library& l = Library::Get();
    testing_support::TempDir folder("corvane-ext-empty");
    ClearRegistry();
    ASSERT_TRUE(SetupRegistry().WriteProfileString("Setup", "LastPath", folder.path + "/"));
    EXPECT_EQ(l.ExtInit(), 0);
    EXPECT_EQ(l.ExtGetSystem(), -1);
    ClearRegistry();
}
