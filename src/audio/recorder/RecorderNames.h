// The recorder's file names: the automatic name, what leaving the file field makes of a typed
// name, and where a name goes.
#pragma once

#include <ctime>
#include <string>

namespace audio {

inline constexpr const char* kAutoName = "AUTO";

bool IsAutoName(const std::string& name);
// "VekYYMMDDhhmmss.WAV" of the local time.
std::string AutoFileName(std::time_t when);
// The automatic name of `when` that no file in `folder` has yet (a second recording within the
// same second gets "-2", "-3" ...).
std::string FreshAutoFileName(const std::string& folder, std::time_t when);
// Empty becomes "AUTO"; a name other than "AUTO" without ".wav"/".WAV" gets ".WAV".
std::string NormalizeFileField(const std::string& text);
// An empty folder is the program folder; the result ends in '/'.
std::string FolderOrProgramFolder(const std::string& folder);

}  // namespace audio
