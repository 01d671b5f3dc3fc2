// The two files of the scans: the scan presets ("ScanPreset.Dat": six cells a line) and the scan
// log ("LogSQL.Dat": one line per squelch opening, eight fields). Both are tilde lines
// (TildeTextRecord.h) with a separator after every field.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lists {

inline constexpr const char* kScanPresetFile = "ScanPreset.Dat";
inline constexpr const char* kScanLogFile = "LogSQL.Dat";
inline constexpr const char* kScanWavFile = "LogScan.Wav";

// Description, start, end, mode, filter ("ON"/"OFF"), step: as the preset grid shows them.
inline constexpr int kScanPresetColumns = 6;
using ScanPresetCells = std::array<std::string, kScanPresetColumns>;

// The rows of a preset file's text; missing cells stay empty. The lines without "~" are no row;
// they go to *unread (when given) as they were.
std::vector<ScanPresetCells> ParseScanPresets(std::string_view text,
                                              std::vector<std::string>* unread = nullptr);
// The file's text: each cell trimmed, "~" turned into a blank; then the unread lines as they
// were, so a rewrite loses none of them.
std::string ScanPresetsText(const std::vector<ScanPresetCells>& rows,
                            const std::vector<std::string>& unread = {});
// A typed description as it may be stored: "~" turned into a blank, blanks trimmed.
std::string CleanPresetText(std::string_view text);

// One line of the scan log.
struct ScanLogEntry {
    std::string day, month, year, time;
    int64_t position = 0;
    std::string signal;
    int64_t audio = -1;  // file offset in the WAV, -1 when not recorded
    int64_t bytes = 0;
};

std::vector<ScanLogEntry> ParseScanLog(std::string_view text);
// The line of an entry, with its line end.
std::string ScanLogLineText(int day, int month, int year, int hour, int minute, int second,
                            int64_t position, std::string_view signal, int64_t audio,
                            int64_t bytes);
// Whether an entry's audio (file offsets, as the recorder counts) lies wholly inside the WAV's
// data, which runs from file offset dataStart up to dataEnd.
bool ScanLogAudioPlayable(int64_t audio, int64_t bytes, int64_t dataStart, int64_t dataEnd);

}  // namespace lists
