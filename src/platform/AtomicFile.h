// Whole-file reads and crash-safe whole-file rewrites.
//
// WriteFileAtomic writes a temporary file in the target's folder, flushes it to disk and renames
// it over the target only after the complete write, so another process sees either the old or the
// new file. On any failure the old file is left as it was and the temporary file is removed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Reads the whole file. A missing file returns false with *missing set (when given); a file
// larger than maxBytes returns false and nothing.
bool ReadWholeFile(const std::string& path, std::string& out, std::string* error = nullptr,
                   bool* missing = nullptr, std::size_t maxBytes = SIZE_MAX);

// Replaces `path` with `content`. An existing file keeps its permission bits (a new one gets
// 0666 less the umask); a symbolic link is followed and its target replaced. A file the caller
// may not write is refused.
bool WriteFileAtomic(const std::string& path, std::string_view content,
                     std::string* error = nullptr);

// Removes the temporary files that rewrites in `folder` left when their process was killed: those
// of ended processes, and, with `ownAreLeftOver` (at start-up, before this process writes there),
// those carrying this process's id, which an ended process may have had. Returns how many.
int RemoveLeftoverTemps(const std::string& folder, bool ownAreLeftOver);

// Writes all of `data` to the descriptor, resuming after signals and short writes. On failure
// *err (when given) holds the errno; a write that makes no progress counts as ENOSPC.
bool WriteAll(int fd, std::string_view data, int* err = nullptr);

// Holds an exclusive flock() on a folder while it lives, so read-modify-write cycles on files of
// that folder do not lose each other's updates (between processes and between threads).
class FolderLock {
public:
    explicit FolderLock(const std::string& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool Locked() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

}  // namespace platform
