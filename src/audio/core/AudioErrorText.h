// An audio error message: the numbered text with the error, then what failed when the engine
// could tell (the device or the file and why).
#pragma once

#include <string>

class CLanguage;

namespace audio {

std::string AudioErrorText(const CLanguage& language, int stringId, int error,
                           const std::string& problem);

}  // namespace audio
