// The program's string table: every text the program refers to by a numeric id, in English.
//
// The language table (Language.h) translates these texts; code asks CLanguage for a string by id
// rather than reading this table directly, so that the user's language applies.
#pragma once

#include <span>

struct StringTableEntry {
    int id;
    const char* text;
};

// All entries, sorted by id, ids unique.
std::span<const StringTableEntry> StringTableEntries();

// The English text of an id, or nullptr when the table has no such id.
const char* FindStringTableText(int id);

// Ids that code refers to from several places.
namespace strid {
inline constexpr int kAbout = 101;  // system menu entry
inline constexpr int kConfigurationNotValid = 102;
inline constexpr int kSerialPortNotWorking = 103;  // %1 = port number
inline constexpr int kConfigurationSetNow = 104;
inline constexpr int kSaveMemoriesFailed = 113;  // %1 = error text
inline constexpr int kCaptionAttention = 141;
inline constexpr int kCaptionError = 142;
inline constexpr int kRestartNeeded = 149;
inline constexpr int kNoWriteRights = 194;
inline constexpr int kRadioModelFirst = 200;         // 200..204: IC706 .. OTHER
inline constexpr int kMemoryColumnFirst = 500;       // 500..519
inline constexpr int kRadioMemoryColumnFirst = 550;  // 550..562
inline constexpr int kScanLogColumnFirst = 602;      // 602..609
inline constexpr int kScanPresetColumnFirst = 650;   // 650..655
inline constexpr int kMemoryPrefix = 1073;           // "Mem."
inline constexpr int kAudioInitError = 1259;         // %d = engine error
inline constexpr int kDriverError = 1305;
inline constexpr int kTabTitleFirst = 2000;   // 2000..2009
inline constexpr int kPrintFailed = 2130;     // %1 = the file or the printer
inline constexpr int kRestoreLeftOut = 2131;  // %1 = the entries, one a line
inline constexpr int kSettingsUnread = 2132;  // %1 = the file, %2 = why
}  // namespace strid
