// The private folder that holds the program's sockets: $XDG_RUNTIME_DIR/corvane/, or
// corvane-<uid> in the system's temporary folder when XDG_RUNTIME_DIR is unset or unusable.
// Only a folder that is ours and closed to everyone else is used: other users must not reach
// the sockets, nor plant their own.
#pragma once

#include <string>

namespace platform::ipc {

struct FolderResult {
    std::string path;   // empty on failure
    std::string error;  // why, for logs
    explicit operator bool() const { return !path.empty(); }
};

// Creates the folder with mode 0700 when missing; refuses one that is a symlink, not a
// folder, owned by another user, or open to group or others. `error` then says
// "<path>: <reason>".
FolderResult PreparePrivateFolder(const std::string& path);

// The runtime folder above, prepared.
FolderResult RuntimeFolder();

}  // namespace platform::ipc
