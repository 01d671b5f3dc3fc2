// The plug-in files: "PlugIn/<name>.vek" in the program folder, line 1 the description, line 2
// the program to start; further lines are ignored. A name never leaves the folder. Qt-free.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plugins {

inline constexpr const char* kFolderName = "PlugIn";
inline constexpr const char* kExtension = ".vek";
// The page shows this many buttons; the editor lists as many entries.
inline constexpr int kMaxPlugIns = 8;

struct PlugInFile {
    std::string name;  // the file name without ".vek"
    std::string description;
    std::string program;
    int lines = 0;  // complete lines read (0, 1 or 2)
};

// The plug-in folder of a program folder (its existing spelling, else "PlugIn"), ending in '/'.
std::string PlugInFolder(const std::string& programFolder);

// Non-empty, no '/' and no control character, not "." or "..".
bool IsPlugInName(std::string_view name);

// The "*.vek" files of the folder, in name order.
std::vector<std::string> ListFiles(const std::string& folder);

// The file's two lines; nullopt when it cannot be read.
std::optional<PlugInFile> ReadFile(const std::string& folder, const std::string& fileName);
// The text a plug-in file holds, parsed (line ends LF or CR LF).
PlugInFile ParseText(std::string_view text);

// A file that can be opened for reading: what the page asks of a button's program.
bool IsReadableFile(const std::string& path);

// Writes (replacing) the file of `name`; the old file survives a failed write. Refuses a name
// that is not a plug-in name.
bool WriteFile(const std::string& folder, const PlugInFile& plugIn, std::string* error);
// Removes the file of `name` as spelled; false for a name that is not one.
bool DeleteFile(const std::string& folder, const std::string& name, std::string* error);

}  // namespace plugins
