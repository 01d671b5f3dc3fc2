// The main program's language name, as other programs ask for it.
#pragma once

#include <string>

namespace vek {

// The longest name handed out; a longer one counts as no name.
inline constexpr std::size_t kMaxLanguageName = 1023;

// The name from the program's INI file (Setup/"Language") when LastPath's folder holds it,
// otherwise the file name part of the registry value Setup/"Language". Empty when there is none,
// when it has one character only, or when it is longer than kMaxLanguageName.
std::string ReadLanguage();

// A zero-terminated copy of `name` that stays unchanged while the library is loaded: callers on
// other threads may still be reading the text of an earlier call.
const char* StableLanguageText(const std::string& name);

}  // namespace vek
