// How the restore reads its archive: through a buffer of its own, so that minizip's many small
// seeks and reads between the entries of an archive of small files cost no system call each.
#pragma once

#include <ioapi.h>

namespace backup {

// The file functions for unzOpen2_64; the files open read-only.
zlib_filefunc64_def BufferedArchiveInput();

}  // namespace backup
