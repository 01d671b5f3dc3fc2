// How the restore reads its archive: through a buffer of its own, so that minizip's many small
// seeks and reads between the entries of an archive of small files cost no system call each.
#pragma once

#include <ioapi.h>

#include <cstdint>

namespace backup {

// A read-only descriptor of the file at `path` when it is a regular file (its size in *size),
// else -1. Never waits, whatever the name holds.
int OpenRegularFile(const char* path, std::uint64_t* size = nullptr);

// The file functions for unzOpen2_64; the files open read-only.
zlib_filefunc64_def BufferedArchiveInput();

}  // namespace backup
