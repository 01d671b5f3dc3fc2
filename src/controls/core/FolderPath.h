// Checking and creating a folder typed or chosen by the user.
//
// A valid path is what Linux takes as a folder path: absolute ("/" alone is the root), at most
// kMaxPath bytes, no NUL, and no component longer than kMaxName bytes. Any other character,
// leading dots (hidden folders such as ~/.local) included, is the user's to choose.
#pragma once

#include <string>

namespace folderpath {

enum Result { kOk = 0, kInvalid = 1, kCannotCreate = 2 };

inline constexpr std::size_t kMaxPath = 4095;
inline constexpr std::size_t kMaxName = 255;

// A typed path with "~" or "~/..." at its start taken as the home folder; others as they are.
std::string Expand(const std::string& typed);
bool IsValid(const std::string& path);
bool Exists(const std::string& path);
// Validates, then creates each missing folder along the path in turn.
Result Create(const std::string& path);

}  // namespace folderpath
