#include "MainProgramLink.h"

#include "Discovery.h"
#include "ProgramFolder.h"
#include "Process.h"
#include "ProgramMark.h"
#include "Registry.h"
#include "RuntimeFolder.h"

#include <chrono>
#include <thread>

namespace vek {

namespace {

constexpr int kHelloTimeoutMs = 1000;
constexpr int kConnectTimeoutMs = 2000;
// The program answers from its GUI thread; a port opening or a nested wait can take a while,
// but a program that hangs must not hang its clients for ever.
constexpr int kAnswerTimeoutMs = 15000;
constexpr int kRegisterTimeoutMs = 5000;
constexpr int kSearchRounds = 3;
// Ends a hang only: another client's turn lasts from its start until the program's first moment.
constexpr int kStartTurnWaitMs = 10000;
constexpr int kMarkWaitMs = 5000;

void WaitOneSecond()
{
    std::this_thread::sleep_for(std::chrono::seconds(1));
}

}  // namespace

MainProgramLink& TheLink()
{
    static MainProgramLink link;
    return link;
}

std::shared_ptr<MainProgramLink::Program> MainProgramLink::Current() const
{
    std::lock_guard lock(mutex_);
    return program_;
}

SearchOutcome MainProgramLink::Search()
{
    // One search at a time; other threads keep using the program found before meanwhile.
    std::lock_guard searching(searchMutex_);
    const std::shared_ptr<Program> previous = Current();
    const auto replace = [&](std::shared_ptr<Program> found, SearchOutcome otherwise) {
        std::lock_guard lock(mutex_);
        program_ = std::move(found);
        return program_ ? SearchOutcome::Found : otherwise;
    };
    const platform::ipc::FolderResult folder = platform::ipc::RuntimeFolder();
    if (!folder)
        return replace(nullptr, SearchOutcome::FolderRefused);
    const auto search = platform::ipc::SearchServers(folder.path, kMainTitle, kHelloTimeoutMs);
    const SearchOutcome none =
        search.silent > 0 ? SearchOutcome::Silent : SearchOutcome::NotRunning;
    const auto& server = search.found;
    if (!server)
        return replace(nullptr, none);
    if (previous && previous->socketPath == server->path && previous->requests.IsConnected())
        return replace(previous, none);

    auto found = std::make_shared<Program>();
    found->socketPath = server->path;
    found->pid = server->pid;
    // It answered a moment ago: failing now means it is busy or full, not gone.
    if (!found->requests.Connect(server->path, kConnectTimeoutMs))
        return replace(nullptr, SearchOutcome::Silent);
    return replace(std::move(found), none);
}

bool MainProgramLink::Found() const
{
    return Current() != nullptr;
}

std::uint32_t MainProgramLink::ProgramId() const
{
    auto program = Current();
    return program ? program->pid : 0;
}

std::optional<std::int32_t> MainProgramLink::Send(std::int32_t code, std::int32_t argument)
{
    auto program = Current();
    if (!program)
        return std::nullopt;
    return program->requests.Request(code, argument, kAnswerTimeoutMs);
}

bool MainProgramLink::Register(std::uint64_t token)
{
    auto program = Current();
    if (!program)
        return false;
    std::lock_guard lock(program->listenerMutex);
    if (!program->listenerOpen || program->listener.Fd() < 0) {
        program->listenerOpen = program->listener.Open(program->socketPath, kConnectTimeoutMs);
        if (!program->listenerOpen)
            return false;
    }
    return program->listener.Register(token, kRegisterTimeoutMs);
}

int MainProgramLink::Dispatch(const platform::ipc::NotificationListener::Callback& callback)
{
    auto program = Current();
    if (!program)
        return -1;
    {
        std::lock_guard lock(program->listenerMutex);
        if (!program->listenerOpen)
            return -1;
    }
    if (program->listener.Dispatch(callback) < 0)
        return -1;
    return program->listener.Fd();
}

int MainProgramLink::NotificationFd()
{
    auto program = Current();
    if (!program)
        return -1;
    std::lock_guard lock(program->listenerMutex);
    return program->listenerOpen ? program->listener.Fd() : -1;
}

namespace {

// Starts LastPath's program unless one runs or starts already, taking turns with every other
// client that may be starting one at the same moment; true when a program is on its way.
bool StartUnlessStarting(const std::string& folder)
{
    const platform::ipc::StartTurn turn(folder, kStartTurnWaitMs);
    // Without the turn a program may still be started twice, but a caller is never stranded.
    if (!platform::ipc::MarkedPrograms(folder).empty())
        return true;
    const std::string lastPath = ReadLastPath();
    if (lastPath.size() <= 1)
        return false;
    // The program outlives its caller, so it must not hold the caller's terminal or pipes.
    // It comes up minimised: the caller's window keeps the front.
    const std::string program = platform::ResolveInFolder(lastPath, "Corvane");
    if (program.empty())
        return true;  // a failed start is not reported: the searches simply find nothing
    const platform::SpawnResult started =
        platform::SpawnDetached({program, "--minimized"}, {}, platform::StandardStreams::Null);
    // The turn ends once the next client can see the program's mark.
    if (started)
        platform::ipc::WaitForMark(folder, started.pid, kMarkWaitMs);
    return true;
}

}  // namespace

SearchOutcome FindOrStartMainProgram(bool start)
{
    // Threads that call ExtInit at once must not start the program twice.
    static std::mutex starting;
    std::lock_guard lock(starting);
    MainProgramLink& link = TheLink();
    SearchOutcome outcome = link.Search();
    if (outcome != SearchOutcome::NotRunning || !start)
        return outcome;
    const platform::ipc::FolderResult folder = platform::ipc::RuntimeFolder();
    if (!folder)
        return SearchOutcome::FolderRefused;
    // A program that runs but does not serve yet is waited for, never started again.
    if (!StartUnlessStarting(folder.path))
        return outcome;
    for (int round = 0; round < kSearchRounds; ++round) {
        WaitOneSecond();
        outcome = link.Search();
        if (outcome == SearchOutcome::Found || outcome == SearchOutcome::FolderRefused)
            break;
    }
    return outcome;
}

bool ConnectMainProgram()
{
    SearchOutcome outcome = FindOrStartMainProgram(true);
    if (outcome == SearchOutcome::FolderRefused)
        return false;
    for (int round = 0; round < kSearchRounds && outcome != SearchOutcome::Found; ++round) {
        WaitOneSecond();
        outcome = TheLink().Search();
        if (outcome == SearchOutcome::FolderRefused)
            return false;
    }
    return outcome == SearchOutcome::Found;
}

}  // namespace vek
