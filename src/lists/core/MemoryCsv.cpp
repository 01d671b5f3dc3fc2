#include "MemoryCsv.h"

#include "AsciiCase.h"
#include "MemoryChannel.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <unordered_map>

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

// A "~" would split the list file's field, a line break its line.
std::string ListCellText(std::string text)
{
    for (char& c : text)
        if (c == '~' || c == '\n' || c == '\r')
            c = ' ';
    return text;
}

// The rows by what finds them: the channel number, or the description ignoring case. The first
// row with a key keeps it, so a file's record lands where a search from the top would put it.
class RowIndex {
public:
    RowIndex(const IListTable& table, bool byChannel) : byChannel_(byChannel)
    {
        for (int row = 0; row < table.Rows(); ++row)
            Add(table.Cell(row, 0), row);
    }
    // -1 when no row has the key.
    int Find(std::string_view key) const
    {
        const std::optional<std::string> k = KeyOf(key);
        if (!k)
            return -1;
        const auto it = rows_.find(*k);
        return it != rows_.end() ? it->second : -1;
    }
    void Add(std::string_view key, int row)
    {
        if (const std::optional<std::string> k = KeyOf(key))
            rows_.try_emplace(*k, row);
    }

private:
    std::optional<std::string> KeyOf(std::string_view key) const
    {
        if (!byChannel_)
            return platform::AsciiLowerCopy(key);
        const int channel = ChannelOf(key);
        if (channel <= 0)
            return std::nullopt;
        return std::to_string(channel);
    }

    bool byChannel_;
    std::unordered_map<std::string, int> rows_;
};

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

int ImportCsv(std::string_view text, IListTable& table, const CsvLayout& layout, CsvDialect dialect,
              const CsvProgress& progress)
{
    const std::vector<std::vector<std::string>> records = ParseCsv(text, dialect.field);
    const int total = records.empty() ? 0 : static_cast<int>(records.size() - 1);
    RowIndex index(table, layout.byChannel);
    int taken = 0;
    for (std::size_t r = 1; r < records.size(); ++r) {
        const int done = static_cast<int>(r - 1);
        if (progress && done % kCsvProgressRecords == 0 && done > 0 && !progress(done, total))
            break;
        const std::vector<std::string>& fields = records[r];
        if (fields.empty() || fields[0].empty())
            continue;
        const std::string key = ListCellText(fields[0]);
        int row = index.Find(key);
        if (row < 0) {
            if (layout.byChannel)
                continue;
            row = table.AppendRow();
            table.SetCell(row, 0, key);
            index.Add(key, row);
        }
        const std::size_t last = std::min(fields.size(), static_cast<std::size_t>(table.Columns()));
        for (std::size_t f = 1; f < last; ++f) {
            const int col = static_cast<int>(f);
            std::string cell = ListCellText(fields[f]);
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
