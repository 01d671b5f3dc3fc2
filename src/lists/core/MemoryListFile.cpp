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

std::string ListText(const IListTable& table, TildeLineStyle style)
{
    std::string text;
    for (int row = 0; row < table.Rows(); ++row) {
        text += JoinTildeLine(RowCells(table, row), style);
        text += '\n';
    }
    return text;
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

void ParsePcMemories(std::string_view text, IListTable& table)
{
    table.RemoveRows();
    const std::size_t columns = static_cast<std::size_t>(table.Columns());
    for (std::string_view line : TildeLines(text)) {
        std::vector<std::string> fields = SplitTildeLine(line, columns);
        for (int col : {pcmem::kVfoA, pcmem::kVfoB, pcmem::kDuplexValue})
            if (col < static_cast<int>(fields.size()))
                DropLeadingPlus(fields[col]);
        SetRowCells(table, table.AppendRow(), fields);
    }
}

std::string PcMemoriesText(const IListTable& table)
{
    return ListText(table, TildeLineStyle::PadToSix);
}

ListFileResult ReadPcMemories(const std::string& path, IListTable& table)
{
    table.RemoveRows();
    std::string text;
    ListFileResult result = ReadListFile(path, text);
    if (result.status == ListFileResult::Done)
        ParsePcMemories(text, table);
    return result;
}

ListFileResult WritePcMemories(const std::string& path, const IListTable& table)
{
    return WriteListFile(path, PcMemoriesText(table));
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

void ParseRadioMemories(std::string_view text, IListTable& table)
{
    // A channel the file does not name keeps nothing of what it held.
    for (int row = 0; row < table.Rows(); ++row)
        for (int col = 1; col < table.Columns(); ++col)
            table.SetCell(row, col, {});
    const std::size_t columns = static_cast<std::size_t>(table.Columns());
    for (std::string_view line : TildeLines(text)) {
        std::vector<std::string> fields = SplitTildeLine(line, columns);
        if (fields.empty())
            continue;
        const int channel = ChannelNumber(fields[0]);
        if (channel < 1 || channel > radiomem::kChannels)
            continue;
        int row = -1;
        for (int r = 0; r < table.Rows() && row < 0; ++r)
            if (ChannelNumber(table.Cell(r, radiomem::kNumber)) == channel)
                row = r;
        if (row < 0)
            continue;
        for (int col : {radiomem::kVfoA, radiomem::kVfoB})
            if (col < static_cast<int>(fields.size()))
                DropLeadingPlus(fields[col]);
        SetRowCells(table, row, fields);
    }
}

std::string RadioMemoriesText(const IListTable& table)
{
    return ListText(table, TildeLineStyle::TrimCells);
}

ListFileResult ReadRadioMemories(const std::string& path, IListTable& table)
{
    std::string text;
    ListFileResult result = ReadListFile(path, text);
    if (result.status == ListFileResult::Done)
        ParseRadioMemories(text, table);
    return result;
}

ListFileResult WriteRadioMemories(const std::string& path, const IListTable& table)
{
    return WriteListFile(path, RadioMemoriesText(table));
}

}  // namespace lists
