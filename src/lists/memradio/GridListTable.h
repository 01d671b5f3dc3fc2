// A list window's grid as the list files see it: the rows under its header row.
#pragma once

#include "DataGrid.h"
#include "ListTable.h"

#include <algorithm>

class CGridListTable : public lists::IListTable {
public:
    explicit CGridListTable(CDataGrid& grid) : grid_(grid) {}

    int Rows() const override { return grid_.GetRowCount() - grid_.GetFixedRowCount(); }
    int Columns() const override { return grid_.GetColumnCount(); }
    std::string Cell(int row, int col) const override
    {
        return grid_.GetItemText(row + grid_.GetFixedRowCount(), col);
    }
    void SetCell(int row, int col, std::string_view text) override
    {
        if (row >= 0)
            grid_.SetItemText(row + grid_.GetFixedRowCount(), col, text);
    }
    int AppendRow() override { return grid_.InsertRow() - grid_.GetFixedRowCount(); }
    void RemoveRows() override { grid_.DeleteNonFixedRows(); }

    // The rows as text, to change without a grid rebuild per new row and Assign back.
    lists::CTextTable Copy() const
    {
        lists::CTextTable rows(Columns());
        for (int row = 0; row < Rows(); ++row)
            lists::SetRowCells(rows, rows.AppendRow(), lists::RowCells(*this, row));
        return rows;
    }

    // Replaces the rows with those of `rows` at once (a row at a time costs a grid rebuild each).
    void Assign(const lists::CTextTable& rows)
    {
        const int fixed = grid_.GetFixedRowCount();
        grid_.DeleteNonFixedRows();
        grid_.SetRowCount(fixed + rows.Rows());
        const int columns = std::min(Columns(), rows.Columns());
        for (int row = 0; row < rows.Rows(); ++row)
            for (int col = 0; col < columns; ++col)
                grid_.SetItemText(fixed + row, col, rows.Row(row)[col]);
    }

private:
    CDataGrid& grid_;
};
