#include "Process.h"

#include <gtest/gtest.h>

#include "TempDir.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using platform::RunResult;
using platform::SpawnAndWait;
using platform::SpawnDetached;
using platform::SpawnStep;

namespace {

const std::string kProbe = PROCESS_PROBE;

struct TempDir : testing_support::TempDir {
    TempDir() : testing_support::TempDir("corvane-process") {}
};

// The probe's report once it is complete; empty lines when it never came.
std::multimap<std::string, std::string> WaitForReport(const fs::path& file)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!fs::exists(file) && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::multimap<std::string, std::string> report;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        auto eq = line.find('=');
        if (eq != std::string::npos)
            report.emplace(line.substr(0, eq), line.substr(eq + 1));
    }
    return report;
}

// Process state letter from /proc/<pid>/stat and its parent; 0 when it is gone.
char ProcessState(pid_t pid, pid_t* parent = nullptr)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    if (!std::getline(in, text))
        return 0;
    auto close = text.rfind(')');
    if (close == std::string::npos || close + 4 > text.size())
        return 0;
    std::istringstream rest(text.substr(close + 2));
    char state = 0;
    pid_t ppid = 0;
    rest >> state >> ppid;
    if (parent)
        *parent = ppid;
    return state;
}

std::vector<pid_t> OurZombies()
{
    std::vector<pid_t> zombies;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        pid_t pid = std::atoi(name.c_str());
        pid_t parent = 0;
        if (ProcessState(pid, &parent) == 'Z' && parent == getpid())
            zombies.push_back(pid);
    }
    return zombies;
}

}  // namespace

TEST(Process, DetachedProgramGetsItsArgumentsFolderAndOnlyStandardDescriptors)
{
    TempDir dir;
    const fs::path report = fs::path(dir.path) / "report.txt";
    const fs::path before = fs::current_path();
    // Descriptors the program must not see: a plain open and a pipe, neither close-on-exec.
    int leaked = ::open("/dev/null", O_RDONLY);
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    // An ignored signal must not stay ignored in the program.
    auto oldPipe = std::signal(SIGPIPE, SIG_IGN);

    auto started = SpawnDetached(
        {kProbe, "report", report.string(), "0", "two words", "\"quoted\"", "$HOME;*", ""},
        dir.path);
    std::signal(SIGPIPE, oldPipe);
    ASSERT_TRUE(started) << platform::DescribeSpawnFailure(started.failedStep, started.error);
    EXPECT_GT(started.pid, 0);
    EXPECT_EQ(fs::current_path(), before);

    auto lines = WaitForReport(report);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(fs::path(lines.find("cwd")->second), fs::canonical(fs::path(dir.path)));
    EXPECT_EQ(lines.find("fds")->second, "0,1,2");
    EXPECT_EQ(std::stoull(lines.find("sigign")->second, nullptr, 16) & (1ull << (SIGPIPE - 1)), 0u);
    std::vector<std::string> args;
    for (auto [it, end] = lines.equal_range("arg"); it != end; ++it)
        args.push_back(it->second);
    EXPECT_EQ(args, (std::vector<std::string>{"two words", "\"quoted\"", "$HOME;*", ""}));

    ::close(leaked);
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
}

TEST(Process, DetachedProgramLeavesNoZombieBehind)
{
    TempDir dir;
    std::vector<pid_t> pids;
    for (int i = 0; i < 5; ++i) {
        const fs::path report = fs::path(dir.path) / ("r" + std::to_string(i));
        auto started = SpawnDetached({kProbe, "report", report.string(), "3"});
        ASSERT_TRUE(started);
        pids.push_back(started.pid);
        ASSERT_FALSE(WaitForReport(report).empty());
    }
    // Once each program has ended it is gone or, re-parented, some other process's business.
    for (pid_t pid : pids) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        pid_t parent = 0;
        char state;
        while ((state = ProcessState(pid, &parent)) != 0 && state != 'Z'
               && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (state != 0) {
            EXPECT_NE(parent, getpid());
        }
    }
    EXPECT_TRUE(OurZombies().empty());
}

TEST(Process, StartFailuresAreReportedNotSwallowed)
{
    TempDir dir;
    auto missing = SpawnDetached({(fs::path(dir.path) / "no-such-program").string()});
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.failedStep, SpawnStep::Exec);
    EXPECT_EQ(missing.error, ENOENT);
    EXPECT_NE(platform::DescribeSpawnFailure(missing.failedStep, missing.error).find("exec"),
              std::string::npos);

    const fs::path text = fs::path(dir.path) / "plain.txt";
    std::ofstream(text) << "not a program\n";
    auto notExecutable = SpawnDetached({text.string()});
    EXPECT_EQ(notExecutable.failedStep, SpawnStep::Exec);
    EXPECT_EQ(notExecutable.error, EACCES);

    fs::permissions(text, fs::perms::owner_all);
    auto badFormat = SpawnAndWait({text.string()});
    EXPECT_EQ(badFormat.outcome, RunResult::Outcome::NotStarted);
    EXPECT_EQ(badFormat.failedStep, SpawnStep::Exec);
    EXPECT_EQ(badFormat.error, ENOEXEC);

    auto badFolder =
        SpawnDetached({kProbe, "exit", "0"}, (fs::path(dir.path) / "missing").string());
    EXPECT_EQ(badFolder.failedStep, SpawnStep::WorkingDirectory);
    EXPECT_EQ(badFolder.error, ENOENT);

    EXPECT_EQ(SpawnDetached({}).failedStep, SpawnStep::Arguments);
    EXPECT_EQ(SpawnAndWait({"corvane-no-such-command-anywhere"}).failedStep, SpawnStep::Exec);
    EXPECT_EQ(SpawnAndWait({kProbe, std::string("nul\0inside", 10)}).failedStep,
              SpawnStep::Arguments);
    EXPECT_TRUE(OurZombies().empty());
}

TEST(Process, WaitingGivesTheOutcome)
{
    auto exited = SpawnAndWait({kProbe, "exit", "7"});
    EXPECT_EQ(exited.outcome, RunResult::Outcome::Exited);
    EXPECT_EQ(exited.exitCode, 7);
    EXPECT_FALSE(exited.Succeeded());
    EXPECT_TRUE(SpawnAndWait({kProbe, "exit", "0"}, {}, 60000).Succeeded());

    auto killed = SpawnAndWait({"/bin/sh", "-c", "kill -TERM $$"});
    EXPECT_EQ(killed.outcome, RunResult::Outcome::Signalled);
    EXPECT_EQ(killed.exitCode, SIGTERM);

    // A bare name is found in PATH.
    EXPECT_TRUE(SpawnAndWait({"true"}).Succeeded());

    const auto start = std::chrono::steady_clock::now();
    auto late = SpawnAndWait({kProbe, "sleep", "120000"}, {}, 200);
    EXPECT_EQ(late.outcome, RunResult::Outcome::TimedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
    EXPECT_TRUE(OurZombies().empty());
}

TEST(Process, RelativeProgramPathIsTakenFromTheCallersFolder)
{
    TempDir dir;
    const fs::path before = fs::current_path();
    const fs::path probe(kProbe);
    fs::current_path(probe.parent_path());
    auto result = SpawnAndWait(
        {"./" + probe.filename().string(), "report", (fs::path(dir.path) / "r").string(), "5"},
        dir.path);
    fs::current_path(before);
    EXPECT_EQ(result.outcome, RunResult::Outcome::Exited);
    EXPECT_EQ(result.exitCode, 5);
    EXPECT_EQ(fs::path(WaitForReport(fs::path(dir.path) / "r").find("cwd")->second),
              fs::canonical(fs::path(dir.path)));
}
