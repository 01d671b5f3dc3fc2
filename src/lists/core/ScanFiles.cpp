#include "ScanFiles.h"

#include "ListFile.h"
#include "TildeTextRecord.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace lists {

namespace {

// A number field; anything that is not one whole number gives `fallback`.
int64_t NumberField(std::string_view text, int64_t fallback)
{
    text = TrimBlanks(text);
    int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && !text.empty() ? value : fallback;
}

}  // namespace

std::vector<ScanPresetCells> ParseScanPresets(std::string_view text,
                                              std::vector<std::string>* unread)
{
    std::vector<ScanPresetCells> rows;
    for (std::string_view line : ListFileLines(text)) {
        const std::vector<std::string> fields = SplitTildeLine(line, kScanPresetColumns);
        if (fields.empty()) {
            if (unread != nullptr)
                unread->emplace_back(line);
            continue;
        }
        ScanPresetCells row;
        std::copy(fields.begin(), fields.end(), row.begin());
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string CleanPresetText(std::string_view text)
{
    std::string clean(text);
    std::replace(clean.begin(), clean.end(), '~', ' ');
    return std::string(TrimBlanks(clean));
}

std::string ScanPresetsText(const std::vector<ScanPresetCells>& rows,
                            const std::vector<std::string>& unread)
{
    std::string text;
    for (const ScanPresetCells& row : rows) {
        for (const std::string& cell : row) {
            text += CleanPresetText(cell);
            text += kFieldSeparator;
        }
        text += '\n';
    }
    for (const std::string& line : unread) {
        text += line;
        text += '\n';
    }
    return text;
}

std::vector<ScanLogEntry> ParseScanLog(std::string_view text)
{
    std::vector<ScanLogEntry> entries;
    for (std::string_view line : TildeLines(text)) {
        std::vector<std::string> f = SplitTildeLine(line, 8);
        f.resize(8);
        ScanLogEntry e;
        e.day = std::string(TrimBlanks(f[0]));
        e.month = f[1];
        e.year = f[2];
        e.time = f[3];
        e.position = NumberField(f[4], 0);
        e.signal = f[5];
        e.audio = NumberField(f[6], -1);
        e.bytes = NumberField(f[7], 0);
        entries.push_back(std::move(e));
    }
    return entries;
}

std::string ScanLogLineText(int day, int month, int year, int hour, int minute, int second,
                            int64_t position, std::string_view signal, int64_t audio, int64_t bytes)
{
    char head[96];
    std::snprintf(head, sizeof head, "%02d ~ %02d ~ %04d ~ %02d:%02d:%02d ~ %9lld ~ ", day, month,
                  year, hour, minute, second, static_cast<long long>(position));
    char tail[64];
    std::snprintf(tail, sizeof tail, " ~ %lld ~ %lld ~ \n", static_cast<long long>(audio),
                  static_cast<long long>(bytes));
    // The signal text comes from the radio's reply: it never enters a format, nor splits a field.
    std::string line = head;
    for (char c : signal)
        line += (c == '~' || c == '\n' || c == '\r') ? ' ' : c;
    return line + tail;
}

bool ScanLogAudioPlayable(int64_t audio, int64_t bytes, int64_t dataStart, int64_t dataEnd)
{
    return audio >= 0 && bytes >= 1 && audio >= dataStart && audio < dataEnd
           && bytes <= dataEnd - audio;
}

}  // namespace lists
