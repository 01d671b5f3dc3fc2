#include "MemoryListFile.h"

#include "MemoryChannel.h"
#include "TildeTextRecord.h"

#include <charconv>
#include <cstdio>

namespace lists {

namespace {

void DropLeadingPlus(std::string& field)
{
    if (!field.empty() && field.front() == '+')
        field.erase(0, 1);
}

std::string ListText(const IListTable& table, TildeLineStyle style, const UnreadLines& unread)
{
    std::string text;
    for (int row = 0; row < table.Rows(); ++row) {
        text += JoinTildeLine(RowCells(table, row), style);
        text += '\n';
    }
    AppendUnreadLines(text, unread);
    return text;
}

// Every field of a memory record is followed by a separator: text after the last one is none.
std::vector<std::string> RecordFields(std::string_view line, const IListTable& table)
{
    return SplitTildeLine(line, static_cast<std::size_t>(table.Columns()), TildeTail::Ignored);
}

// Each line of the text that holds more than blanks, given to `take`; those it does not take
// are the file's unread lines.
template <class Take>
void ForEachLine(std::string_view text, UnreadLines* unread, Take take)
{
    if (unread != nullptr)
        unread->clear();
    for (std::string_view line : ListFileLines(text))
        if (!take(line) && unread != nullptr)
            unread->emplace_back(line);
}

template <class Read>
ListFileResult ReadMemoryFile(const std::string& path, UnreadLines* unread, Read read)
{
    if (unread != nullptr)
        unread->clear();
    std::string text;
    ListFileResult result = ReadListFile(path, text);
    if (result.status == ListFileResult::Done)
        read(text);
    return result;
}

// The channel number of a radio record: its first field read as a decimal number after any
// leading blanks, the rest ignored; 0 when it is none.
int ChannelNumber(std::string_view field)
{
    const std::size_t first = field.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return 0;
    int number = 0;
    const auto [end, ec] =
        std::from_chars(field.data() + first, field.data() + field.size(), number);
    (void)end;
    return ec == std::errc() ? number : 0;
}

}  // namespace

void ParsePcMemories(std::string_view text, IListTable& table, UnreadLines* unread)
{
    table.RemoveRows();
    ForEachLine(text, unread, [&](std::string_view line) {
        std::vector<std::string> fields = RecordFields(line, table);
        if (fields.empty())
            return false;
        for (int col : {pcmem::kVfoA, pcmem::kVfoB, pcmem::kDuplexValue})
            if (col < static_cast<int>(fields.size()))
                DropLeadingPlus(fields[col]);
        SetRowCells(table, table.AppendRow(), fields);
        return true;
    });
}

std::string PcMemoriesText(const IListTable& table, const UnreadLines& unread)
{
    return ListText(table, TildeLineStyle::PadToSix, unread);
}

ListFileResult ReadPcMemories(const std::string& path, IListTable& table, UnreadLines* unread)
{
    table.RemoveRows();
    return ReadMemoryFile(path, unread,
                          [&](std::string_view text) { ParsePcMemories(text, table, unread); });
}

ListFileResult WritePcMemories(const std::string& path, const IListTable& table,
                               const UnreadLines& unread)
{
    return WriteListFile(path, PcMemoriesText(table, unread));
}

void ResetRadioChannels(IListTable& table)
{
    table.RemoveRows();
    for (int channel = 1; channel <= radiomem::kChannels; ++channel) {
        char number[8];
        std::snprintf(number, sizeof number, "%02d", channel);
        table.SetCell(table.AppendRow(), radiomem::kNumber, number);
    }
}

void ParseRadioMemories(std::string_view text, IListTable& table, UnreadLines* unread)
{
    // A channel the file does not name keeps nothing of what it held.
    for (int row = 0; row < table.Rows(); ++row)
        for (int col = 1; col < table.Columns(); ++col)
            table.SetCell(row, col, {});
    ForEachLine(text, unread, [&](std::string_view line) {
        std::vector<std::string> fields = RecordFields(line, table);
        if (fields.empty())
            return false;
        const int channel = ChannelNumber(fields[0]);
        if (channel < 1 || channel > radiomem::kChannels)
            return false;
        int row = -1;
        for (int r = 0; r < table.Rows() && row < 0; ++r)
            if (ChannelNumber(table.Cell(r, radiomem::kNumber)) == channel)
                row = r;
        if (row < 0)
            return false;
        for (int col : {radiomem::kVfoA, radiomem::kVfoB})
            if (col < static_cast<int>(fields.size()))
                DropLeadingPlus(fields[col]);
        SetRowCells(table, row, fields);
        return true;
    });
}

std::string RadioMemoriesText(const IListTable& table, const UnreadLines& unread)
{
    return ListText(table, TildeLineStyle::TrimCells, unread);
}

ListFileResult ReadRadioMemories(const std::string& path, IListTable& table, UnreadLines* unread)
{
    return ReadMemoryFile(path, unread,
                          [&](std::string_view text) { ParseRadioMemories(text, table, unread); });
}

ListFileResult WriteRadioMemories(const std::string& path, const IListTable& table,
                                  const UnreadLines& unread)
{
    return WriteListFile(path, RadioMemoriesText(table, unread));
}

}  // namespace lists
