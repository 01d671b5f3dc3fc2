// Helpers of the start-up tests: a program folder with the real tolvash in it, a registry file
// of its own, and a folder that cannot be written even by root (ReadOnlyFolder.h).
#pragma once

#include "ReadOnlyFolder.h"
#include "TempDir.h"

#include <filesystem>
#include <string>

namespace startup_test {

inline bool CopyTolvash(const std::string& folder)
{
    std::error_code ec;
    std::filesystem::copy_file(std::string(CORVANE_BIN_DIR) + "/tolvash", folder + "/tolvash",
                               std::filesystem::copy_options::overwrite_existing, ec);
    return !ec;
}

using testing_support::ReadOnlyFolder;

}  // namespace startup_test
