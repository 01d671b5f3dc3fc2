#include "ListTable.h"

namespace lists {

std::string CTextTable::Cell(int row, int col) const
{
    return Inside(row, col) ? rows_[row][col] : std::string();
}

void CTextTable::SetCell(int row, int col, std::string_view text)
{
    if (Inside(row, col))
        rows_[row][col].assign(text);
}

int CTextTable::AppendRow()
{
    rows_.emplace_back(columns_);
    return Rows() - 1;
}

std::vector<std::string> RowCells(const IListTable& table, int row)
{
    std::vector<std::string> cells;
    cells.reserve(table.Columns());
    for (int col = 0; col < table.Columns(); ++col)
        cells.push_back(table.Cell(row, col));
    return cells;
}

void SetRowCells(IListTable& table, int row, const std::vector<std::string>& cells)
{
    for (int col = 0; col < table.Columns(); ++col)
        table.SetCell(row, col, col < static_cast<int>(cells.size()) ? cells[col] : std::string());
}

}  // namespace lists
