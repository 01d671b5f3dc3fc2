// How a client finds the running program among several, and how it starts the program from the
// folder the program recorded when none runs.
#include "CorvaneProgram.h"

#include "ProgramMark.h"

#include <cstring>

using namespace ext_test;

namespace {

// The process id of the program a fresh client finds, 0 when it finds none.
long long FoundByAClient()
{
    Client client([](Library& l, const Client::Link& out) {
        out.Say("init", l.ExtInit());
        out.Say("pid", l.ExtGethWnd());
    });
    const std::map<std::string, long long> got = AsMap(client.Finish());
    return got.count("pid") ? got.at("pid") : -2;
}

// Kills a program that a client started, should the test end before the program did.
struct KillAtEnd {
    pid_t pid = 0;
    ~KillAtEnd()
    {
        if (pid > 0)
            ::kill(pid, SIGKILL);
    }
};

}  // namespace

TEST(CorvaneDiscovery, TheLastStartedOfSeveralMatchingProgramsIsFound)
{
    ClearRegistry();
    Corvane first;
    ASSERT_TRUE(first.Started()) << first.Trace();
    {
        Corvane second;
        ASSERT_TRUE(second.Started()) << second.Trace();
        EXPECT_EQ(FoundByAClient(), second.Pid());
        EXPECT_EQ(second.Terminate(), 0);
    }
    EXPECT_EQ(FoundByAClient(), first.Pid());

    // Titles compared without letter case, more text after the name allowed; one character short
    // of the name is no match, even when started last.
    MainProgramProcess lowercase(StandInArgs("corvane icom 706 control and more text"));
    ASSERT_TRUE(lowercase.WaitReady());
    MainProgramProcess shorter(StandInArgs("Corvane Icom 706 Contro"));
    ASSERT_TRUE(shorter.WaitReady());
    EXPECT_EQ(FoundByAClient(), lowercase.Pid());
    lowercase.Kill();
    EXPECT_EQ(FoundByAClient(), first.Pid());
    EXPECT_EQ(first.Terminate(), 0);
    ClearRegistry();
}

TEST(CorvaneDiscovery, WithNoneRunningTheClientStartsTheProgramOfLastPath)
{
    CorvaneFolder folder;
    folder.SetEnvironment();
    // The folder a program of it recorded when it last ran.
    ClearRegistry();
    ASSERT_TRUE(SetupRegistry().WriteProfileString("Setup", "LastPath", folder.folder.path + "/"));

    // Eight clients at once: one program starts, and each of them finds it.
    std::vector<std::unique_ptr<Client>> others;
    for (int i = 0; i < 7; ++i)
        others.push_back(std::make_unique<Client>([](Library& l, const Client::Link& out) {
            out.Say("init", l.ExtInit());
            out.Say("pid", l.ExtGethWnd());
        }));
    Client client([](Library& l, const Client::Link& out) {
        out.Say("init", l.ExtInit());
        out.Say("pid", l.ExtGethWnd());
        out.Say("frequency", l.ExtGetFrequency() > 0 ? 1 : 0);
        out.Say("language", std::strcmp(l.ExtGetLanguage(), "English.lng") == 0 ? 1 : 0);
        out.Say("ready", 1);
        out.Hold();
        out.Say("exit", l.ExtExit(0));
    });
    ASSERT_EQ(client.Next(), std::make_pair(std::string("loaded"), 1LL));
    ASSERT_EQ(client.Next(), std::make_pair(std::string("init"), 1LL));
    const auto pid = client.Next();
    ASSERT_EQ(pid.first, "pid");
    ASSERT_GT(pid.second, 0);
    KillAtEnd guard{static_cast<pid_t>(pid.second)};
    EXPECT_EQ(client.Next(), std::make_pair(std::string("frequency"), 1LL));
    EXPECT_EQ(client.Next(), std::make_pair(std::string("language"), 1LL));
    ASSERT_EQ(client.Next(), std::make_pair(std::string("ready"), 1LL));

    // It is the program of that folder, with the simulated radio it was given, found again by
    // another client rather than started twice.
    EXPECT_TRUE(folder.Serving(guard.pid)) << folder.Trace();
    EXPECT_EQ(FoundByAClient(), pid.second);
    for (auto& other : others) {
        const std::map<std::string, long long> found = AsMap(other->Finish());
        EXPECT_EQ(found.count("init") ? found.at("init") : -2, 1);
        EXPECT_EQ(found.count("pid") ? found.at("pid") : -2, pid.second);
    }
    EXPECT_EQ(ProcessesOf(folder.folder / "Corvane").size(), 1u);

    const std::map<std::string, long long> rest = AsMap(client.Finish());
    EXPECT_EQ(rest.count("exit") ? rest.at("exit") : -2, 0);
    EXPECT_TRUE(WaitGone(guard.pid));
    ClearRegistry();
}

TEST(CorvaneDiscovery, AProgramStillInItsStartIsWaitedForNeverStartedAgain)
{
    CorvaneFolder folder;
    // An address the radio does not have: it never answers, and the start waits in a dialog.
    std::string ini = testing_support::GetFile(folder.folder / "Corvane.ini");
    ini.replace(ini.find("Indirizzo=88"), 12, "Indirizzo=16");
    testing_support::PutFile(folder.folder / "Corvane.ini", ini);
    folder.SetEnvironment();
    ClearRegistry();
    ASSERT_TRUE(SetupRegistry().WriteProfileString("Setup", "LastPath", folder.folder.path + "/"));
    MainProgramProcess waiting({folder.folder / "Corvane"});
    const std::string runtime = platform::ipc::RuntimeFolder().path;
    ASSERT_TRUE(WaitFor([&] {
        const auto marked = platform::ipc::MarkedPrograms(runtime);
        return marked.size() == 1 && marked.front() == waiting.Pid();
    }));

    std::vector<std::unique_ptr<Client>> clients;
    for (int i = 0; i < 3; ++i)
        clients.push_back(std::make_unique<Client>(
            [](Library& l, const Client::Link& out) { out.Say("init", l.ExtInit()); }));
    for (auto& client : clients)
        EXPECT_EQ(AsMap(client->Finish())["init"], 0);
    EXPECT_EQ(ProcessesOf(folder.folder / "Corvane").size(), 1u);

    ::kill(waiting.Pid(), SIGTERM);
    EXPECT_EQ(waiting.WaitExit(), 0);
    EXPECT_TRUE(platform::ipc::MarkedPrograms(runtime).empty());
    ClearRegistry();
}
