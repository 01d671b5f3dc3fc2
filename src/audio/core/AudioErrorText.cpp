#include "AudioErrorText.h"

#include "Language.h"

namespace audio {

std::string AudioErrorText(const CLanguage& language, int stringId, int error,
                           const std::string& problem)
{
    const std::string text = language.Format(stringId, {error});
    return problem.empty() ? text : text + "\n" + problem;
}

}  // namespace audio
