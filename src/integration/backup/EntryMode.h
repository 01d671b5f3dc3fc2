// The file type and permissions an archive entry records, as zip archives made on Unix hold
// them: the host byte of "version made by" is 3 and the upper half of the external attributes
// is the file's mode. Qt-free.
#pragma once

#include <sys/types.h>

#include <optional>

namespace backup {

// "Version made by" of the entries the backup writes: Unix, zip 2.0.
inline constexpr unsigned long kMadeOnUnix = (3ul << 8) | 20ul;

// The external attributes recording `mode`.
unsigned long ExternalAttributes(mode_t mode);

// The mode an entry records; nothing when its host keeps none.
std::optional<mode_t> RecordedMode(unsigned long madeBy, unsigned long externalAttributes);

// What a restore gives a file: the permissions recorded, else those a new file of the user's
// gets (0666 less the umask).
mode_t RestoredPermissions(std::optional<mode_t> recorded);

}  // namespace backup
