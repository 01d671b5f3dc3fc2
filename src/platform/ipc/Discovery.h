// Finding a running server by its title.
//
// Every server listens on its own socket in the runtime folder, named after the moment it
// started (the monotonic clock), its process and a number within the process, so that listing
// the folder gives the servers in the order they started. Its title is asked with Hello, so it
// is always the current one.
//
// FindServer returns the LAST server, in start order, whose title begins with the prefix
// (ASCII letters compared without case; a title shorter than the prefix never matches): the
// most recently started one wins when several match.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::ipc {

struct ServerSocket {
    std::string path;
    std::uint64_t started = 0;  // monotonic clock, nanoseconds
    pid_t pid = 0;
    std::uint32_t serial = 0;  // servers of one process, in creation order
};

// A fresh, unused socket path in `folder` for a server of this process starting now.
ServerSocket NewServerSocket(const std::string& folder);

// The server sockets in `folder`, oldest first. Other files are ignored.
std::vector<ServerSocket> ListServerSockets(const std::string& folder);

bool TitleMatches(const std::string& title, const std::string& prefix);

struct FoundServer {
    std::string path;
    std::string title;
    std::uint32_t pid = 0;
};

struct ServerSearch {
    std::optional<FoundServer> found;
    // Sockets with a live listener that told no title in time: a server that is busy, or full
    // (it closes new connections at once). One of them may be the server looked for.
    std::size_t silent = 0;
};

// Asks every listed server for its title, each within timeoutMs, and returns the last match.
// Sockets that nobody listens on any more are skipped, and removed when their process is gone.
ServerSearch SearchServers(const std::string& folder, const std::string& titlePrefix,
                           int timeoutMs);
std::optional<FoundServer> FindServer(const std::string& folder, const std::string& titlePrefix,
                                      int timeoutMs);

}  // namespace platform::ipc
