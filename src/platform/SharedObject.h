// Checks a library file before it is loaded: dlopen maps a file as its headers describe it, and a
// file cut short or built for another machine can then crash the process (SIGBUS) instead of
// failing. A complete ELF shared object of this machine has its file header, program header
// table, section header table and every loadable segment inside the file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace platform {

// nullopt when the file is fit to load; otherwise why not, as plain text ("the file is cut
// short: ...").
std::optional<std::string> SharedObjectProblem(const std::string& path);
// The same for a file image in memory.
std::optional<std::string> SharedObjectImageProblem(const void* data, std::size_t size);

}  // namespace platform
