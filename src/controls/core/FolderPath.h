// Checking and creating a folder typed or chosen by the user.
//
// A valid path is absolute ("/" alone is the root); each component must not begin or end with a
// blank, a tab or '.', and must not contain any of " * : < > ? \ |, so "." and ".." never appear.
#pragma once

#include <string>

namespace folderpath {

enum Result { kOk = 0, kInvalid = 1, kCannotCreate = 2 };

inline constexpr std::size_t kMaxPath = 4095;

bool IsValid(const std::string& path);
bool Exists(const std::string& path);
// Validates, then creates each missing folder along the path in turn.
Result Create(const std::string& path);

}  // namespace folderpath
