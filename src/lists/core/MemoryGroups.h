// Memory groups: the PC memory list kept in several files of the program folder. The group
// "_base" is "MemPC.Dat"; every other group is "<name>.MEM". Names typed by the user become file
// names, so only names that stay inside the folder are groups.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lists {

inline constexpr std::string_view kBaseGroup = "_base";

// Not empty, no '/', no leading '.', no control character, and a plain file name with ".MEM".
bool IsGroupName(std::string_view name);
// "MemPC.Dat" for "_base" (any case), else name + ".MEM"; empty for a name that is not a group.
std::string GroupFileName(std::string_view name);
// "_base", then the stem (up to the last '.') of every "*.mem" file of the folder, sorted.
std::vector<std::string> ListGroups(const std::string& folder);
// Copies one group file over another inside the folder (names resolve ignoring case; the copy
// is a whole-file rewrite). A missing source copies as an empty file. False with the error's
// text when nothing was written.
bool CopyGroupFile(const std::string& folder, std::string_view from, std::string_view to,
                   std::string* error);

}  // namespace lists
