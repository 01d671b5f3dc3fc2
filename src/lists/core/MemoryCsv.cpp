#include "MemoryCsv.h"

#include "AsciiCase.h"
#include "MemoryChannel.h"

#include <algorithm>
#include <charconv>

namespace lists {

namespace {

// The number fields hold at most nine digits.
constexpr std::size_t kMaxFrequencyDigits = 9;

bool Contains(const std::vector<int>& columns, int col)
{
    return std::find(columns.begin(), columns.end(), col) != columns.end();
}

std::string Replaced(std::string text, char from, char to)
{
    std::replace(text.begin(), text.end(), from, to);
    return text;
}

void AppendCell(std::string& out, std::string_view cell, char separator)
{
    const bool quoted =
        cell.find_first_of(std::string{separator, '"', '\n', '\r'}) != std::string_view::npos;
    if (!quoted) {
        out += cell;
    } else {
        out += '"';
        for (char c : cell) {
            if (c == '"')
                out += '"';
            out += c;
        }
        out += '"';
    }
    out += separator;
}

// The list's form of a frequency field: digits only ("." and "," dropped), grouped as the
// number field shows them; "0" for anything else, empty when empty or too long for the field.
std::string FrequencyCell(std::string_view field)
{
    if (field.empty())
        return {};
    std::string digits;
    for (char c : field)
        if (c != '.' && c != ',')
            digits += c;
    if (digits.empty()
        || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return GroupedDigits(0);
    const std::size_t first = std::min(digits.find_first_not_of('0'), digits.size());
    if (digits.size() - first > kMaxFrequencyDigits)
        return {};
    return GroupedDigits(DigitsValue(digits));
}

int ChannelOf(std::string_view field)
{
    int number = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), number);
    return ec == std::errc() && end == field.data() + field.size() ? number : 0;
}

int FindRow(const IListTable& table, std::string_view key, bool byChannel)
{
    const int channel = byChannel ? ChannelOf(key) : 0;
    if (byChannel && channel <= 0)
        return -1;
    for (int row = 0; row < table.Rows(); ++row) {
        const std::string cell = table.Cell(row, 0);
        if (byChannel ? ChannelOf(cell) == channel : platform::AsciiIEquals(cell, key))
            return row;
    }
    return -1;
}

}  // namespace

CsvLayout PcCsvLayout()
{
    return {{pcmem::kVfoA, pcmem::kVfoB, pcmem::kDuplexValue}, pcmem::kToneHz, false};
}

CsvLayout RadioCsvLayout()
{
    return {{radiomem::kVfoA, radiomem::kVfoB}, radiomem::kToneHz, true};
}

std::string ExportCsv(const std::vector<std::string>& header, const IListTable& rows,
                      const CsvLayout& layout, CsvDialect dialect)
{
    std::string out;
    for (const std::string& title : header)
        AppendCell(out, title, dialect.field);
    out += '\n';
    for (int row = 0; row < rows.Rows(); ++row) {
        for (int col = 0; col < rows.Columns(); ++col) {
            std::string cell = rows.Cell(row, col);
            if (Contains(layout.frequencyColumns, col))
                std::erase_if(cell, [](char c) { return c == '.' || c == ','; });
            else if (col == layout.toneColumn)
                cell = Replaced(std::move(cell), ',', dialect.decimal);
            AppendCell(out, cell, dialect.field);
        }
        out += '\n';
    }
    return out;
}

std::vector<std::vector<std::string>> ParseCsv(std::string_view text, char separator)
{
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> fields;
    std::string field;
    bool inQuotes = false;
    bool fieldOpen = false;  // something of the current field was read
    const auto endLine = [&] {
        if (fieldOpen)
            fields.push_back(std::move(field));
        records.push_back(std::move(fields));
        fields.clear();
        field.clear();
        fieldOpen = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inQuotes) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                inQuotes = false;
            } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                // A file with "\r\n" line ends has them inside cells too.
            } else {
                field += c;
            }
        } else if (c == '"' && field.empty()) {
            inQuotes = true;
            fieldOpen = true;
        } else if (c == separator) {
            fields.push_back(std::move(field));
            field.clear();
            fieldOpen = false;
        } else if (c == '\n' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            if (c == '\r')
                ++i;
            endLine();
        } else {
            field += c;
            fieldOpen = true;
        }
    }
    if (fieldOpen || !fields.empty())
        endLine();
    return records;
}

int ImportCsv(std::string_view text, IListTable& table, const CsvLayout& layout, CsvDialect dialect)
{
    const std::vector<std::vector<std::string>> records = ParseCsv(text, dialect.field);
    int taken = 0;
    for (std::size_t r = 1; r < records.size(); ++r) {
        const std::vector<std::string>& fields = records[r];
        if (fields.empty() || fields[0].empty())
            continue;
        int row = FindRow(table, fields[0], layout.byChannel);
        if (row < 0) {
            if (layout.byChannel)
                continue;
            row = table.AppendRow();
            table.SetCell(row, 0, Replaced(fields[0], '~', ' '));
        }
        const std::size_t last = std::min(fields.size(), static_cast<std::size_t>(table.Columns()));
        for (std::size_t f = 1; f < last; ++f) {
            const int col = static_cast<int>(f);
            // A "~" would split the list file's field.
            std::string cell = Replaced(fields[f], '~', ' ');
            if (Contains(layout.frequencyColumns, col))
                cell = FrequencyCell(cell);
            else if (col == layout.toneColumn)
                cell = Replaced(std::move(cell), dialect.decimal, ',');
            table.SetCell(row, col, cell);
        }
        ++taken;
    }
    return taken;
}

}  // namespace lists
