// The program folder and names inside a folder.
//
// The data files are spelled in mixed case ("MemPC.Dat", "Corvane.INI"), so every name inside a
// folder resolves ignoring ASCII case: an exact match wins, else the first case variant in name
// order. Names that would leave the folder (empty, ".", "..", anything holding '/' or NUL) are
// refused. Everything here is Qt-free.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace platform {

// Full path of the running executable (/proc/self/exe), empty when it cannot be read.
std::string ExecutablePath();

// The executable's folder, ending in '/', unless SetProgramFolder chose another one.
std::string ProgramFolder();

// Overrides the program folder (a '/' is appended when missing); an empty text restores the
// executable's folder.
void SetProgramFolder(std::string_view folder);

// True for one path component that stays inside its folder.
bool IsPlainName(std::string_view name);

// folder + '/' + name, without doubling the '/'.
std::string JoinPath(std::string_view folder, std::string_view name);

// Folder part of a path ("." for a bare name) and the last component.
std::string DirName(std::string_view path);
std::string BaseName(std::string_view path);

// Full path of the existing entry of `folder` whose name matches `name` ignoring case, or nullopt
// (also for a name that is not plain).
std::optional<std::string> FindInFolder(std::string_view folder, std::string_view name);

// The path to use for `name` in `folder`: the existing case variant, else folder/name. Empty when
// the name is not plain.
std::string ResolveInFolder(std::string_view folder, std::string_view name);

// The same for a full path: only its last component is matched ignoring case.
std::string ResolvePathCase(std::string_view path);

// Names (not paths) of the regular files of `folder` matching a shell pattern (*, ?, [...])
// ignoring case, sorted. "*.dat" finds "MemPC.Dat".
std::vector<std::string> GlobFolder(std::string_view folder, std::string_view pattern);

// open() of a name inside the folder, resolved ignoring case; O_CLOEXEC is always added. Returns
// -1 with errno set (EINVAL for a name that is not plain).
int OpenInFolder(std::string_view folder, std::string_view name, int flags, mode_t mode = 0666);

// Renames `from` to `to` inside the folder, both resolved ignoring case. The result carries the
// name exactly as `to` spells it; an existing file spelled as a case variant of `to` is replaced.
bool RenameInFolder(std::string_view folder, std::string_view from, std::string_view to,
                    std::string* error = nullptr);

// Removes the file matching `name` ignoring case; a missing file is not an error.
bool RemoveInFolder(std::string_view folder, std::string_view name, std::string* error = nullptr);

// Text of errno value `err` ("No space left on device").
std::string ErrorText(int err);

}  // namespace platform
