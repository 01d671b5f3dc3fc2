// The link to the running main program: found by the title of its server, reached over the
// runtime folder's sockets. One per process; every member may be called from any thread.
#pragma once

#include "IpcClient.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace vek {

inline constexpr const char* kMainTitle = "Corvane Icom 706 Control";

// What answers when the program cannot be reached.
inline constexpr std::int32_t kUnreachable = -1;

enum class SearchOutcome {
    Found,
    NotRunning,     // no server of ours is listening
    Silent,         // a server listens but told nothing: busy or full, possibly the program
    FolderRefused,  // the runtime folder is not safe to use: no messaging at all
};

class MainProgramLink {
public:
    // Looks for the last server whose title begins with kMainTitle; the program found before
    // stays in use while the search runs and is forgotten when it finds none. A search that finds
    // the same program again keeps its connections (and so the client's registrations).
    SearchOutcome Search();
    bool Found() const;
    // The found program's process id, 0 when none.
    std::uint32_t ProgramId() const;

    // The program's answer, or nothing when it cannot be reached.
    std::optional<std::int32_t> Send(std::int32_t code, std::int32_t argument);

    // Registers a notification token on the listening connection (opened on first use).
    bool Register(std::uint64_t token);
    // Runs the callback for what has arrived; the descriptor to poll next, or -1.
    int Dispatch(const platform::ipc::NotificationListener::Callback& callback);
    // The descriptor to poll, or -1 when nothing is registered or the program has gone.
    int NotificationFd();

private:
    struct Program {
        std::string socketPath;
        std::uint32_t pid = 0;
        platform::ipc::RequestClient requests;
        std::mutex listenerMutex;  // opening it
        bool listenerOpen = false;
        platform::ipc::NotificationListener listener;
    };

    std::shared_ptr<Program> Current() const;

    mutable std::mutex mutex_;  // program_
    std::mutex searchMutex_;
    std::shared_ptr<Program> program_;
};

MainProgramLink& TheLink();

// Search; when no program runs at all and `start` is set, starts LastPath's program and searches
// up to three more times, a second apart. A program that runs but does not answer (busy, full of
// clients, or still starting for this or another client) is never started a second time, nor is
// one started when the folder is refused; one still starting is searched for as the started one.
SearchOutcome FindOrStartMainProgram(bool start);

// The whole of ExtInit: FindOrStartMainProgram(true), then up to three more searches a second
// apart; none when the runtime folder is refused.
bool ConnectMainProgram();

}  // namespace vek
