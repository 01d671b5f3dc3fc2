// The memory lists as delimited text (CSV) for other programs. Export writes the header row and
// every row; import merges a file's rows into a list.
//
// The dialect: every cell followed by the field separator, "\n" after each line (import also
// takes "\r\n"), UTF-8. A cell holding the separator, '"' or a line break is quoted with its
// quotes doubled; other cells stand bare. Frequencies are whole hertz in digits; the tone's
// decimal character is the chosen one.
#pragma once

#include "ListTable.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lists {

struct CsvDialect {
    char field = ';';
    char decimal = ',';
};

// How one list goes to CSV and back.
struct CsvLayout {
    std::vector<int> frequencyColumns;  // digits in the file, the number field's form in the list
    int toneColumn;                     // "," in the list, the dialect's decimal in the file
    bool byChannel;  // rows found by channel number (column 0), else by description
};
CsvLayout PcCsvLayout();
CsvLayout RadioCsvLayout();

std::string ExportCsv(const std::vector<std::string>& header, const IListTable& rows,
                      const CsvLayout& layout, CsvDialect dialect);

// The records of a CSV text, each a list of fields; a separator ending a line opens no field.
std::vector<std::vector<std::string>> ParseCsv(std::string_view text, char field);

// Told every kCsvProgressRecords records how many of the total were done; false stops the
// import there (the records taken so far stay).
using CsvProgress = std::function<bool(int done, int total)>;
inline constexpr int kCsvProgressRecords = 1000;

// Merges the records after the header line into the table. A PC record goes to the row with its
// description (ignoring case) or a new one; a radio record to the row of its channel, or
// nowhere. Columns 1, 2, ... take the following fields; a "~" or line break in one becomes a
// blank, as the list file could not hold it. A frequency that is no number reads as 0; one over
// nine digits, or none, leaves its cell empty. The number of records taken.
int ImportCsv(std::string_view text, IListTable& table, const CsvLayout& layout, CsvDialect dialect,
              const CsvProgress& progress = {});

}  // namespace lists
