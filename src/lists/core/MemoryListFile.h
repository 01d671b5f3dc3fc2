// Reading and writing the two memory list files: the PC list ("MemPC.Dat" or a group's file)
// and the copy of the radio's channels ("MemRTX.Dat"), one record per line.
//
// A file that does not exist reads as an empty PC list and leaves the radio list as it was.
#pragma once

#include "ListFile.h"
#include "ListTable.h"

#include <string>
#include <string_view>
#include <vector>

namespace lists {

inline constexpr const char* kPcMemoryFile = "MemPC.Dat";
inline constexpr const char* kRadioMemoryFile = "MemRTX.Dat";

// The lines of a memory file that gave no record (no "~", a channel outside 1 to 99), as they
// were read. They are written after the list's own lines, so no save loses them.
using UnreadLines = std::vector<std::string>;

// The PC list: the rows are replaced by the file's records. Blanks around every field but the
// description go; a frequency or duplex field loses one leading "+".
void ParsePcMemories(std::string_view text, IListTable& table, UnreadLines* unread = nullptr);
std::string PcMemoriesText(const IListTable& table, const UnreadLines& unread = {});
ListFileResult ReadPcMemories(const std::string& path, IListTable& table,
                              UnreadLines* unread = nullptr);
ListFileResult WritePcMemories(const std::string& path, const IListTable& table,
                               const UnreadLines& unread = {});

// The radio list: the table holds the 99 channel rows (ResetRadioChannels). A read first empties
// every cell but the number, then fills the rows of the channels the file names (1 to 99; the
// later of two records wins). The frequencies lose one leading "+"; the description, whose
// column the PC list's frequency has, keeps it.
void ResetRadioChannels(IListTable& table);
void ParseRadioMemories(std::string_view text, IListTable& table, UnreadLines* unread = nullptr);
std::string RadioMemoriesText(const IListTable& table, const UnreadLines& unread = {});
ListFileResult ReadRadioMemories(const std::string& path, IListTable& table,
                                 UnreadLines* unread = nullptr);
ListFileResult WriteRadioMemories(const std::string& path, const IListTable& table,
                                  const UnreadLines& unread = {});

}  // namespace lists
