// The texts shown when a link cannot be opened, by the opener's error code.
#pragma once

#include <string>

namespace linkerror {
inline constexpr int kFileNotFound = 2;
inline constexpr int kNoAssociation = 31;
// "Unable to open hyperlink:\n\n" followed by the text of the code.
std::string Message(int code);
std::string CodeText(int code);
}  // namespace linkerror
