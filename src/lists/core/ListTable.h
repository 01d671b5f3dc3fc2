// The rows of a list window as text, the way the list files read and write them. The grid of
// each window adapts to it; CTextTable holds the rows without a window.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lists {

class IListTable {
public:
    virtual ~IListTable() = default;
    // Data rows only (a grid's header is not one), numbered from 0.
    virtual int Rows() const = 0;
    virtual int Columns() const = 0;
    // Outside the table: empty, and a set does nothing.
    virtual std::string Cell(int row, int col) const = 0;
    virtual void SetCell(int row, int col, std::string_view text) = 0;
    // A new empty row at the end; its number.
    virtual int AppendRow() = 0;
    virtual void RemoveRows() = 0;
};

class CTextTable : public IListTable {
public:
    explicit CTextTable(int columns) : columns_(columns < 0 ? 0 : columns) {}

    int Rows() const override { return static_cast<int>(rows_.size()); }
    int Columns() const override { return columns_; }
    std::string Cell(int row, int col) const override;
    void SetCell(int row, int col, std::string_view text) override;
    int AppendRow() override;
    void RemoveRows() override { rows_.clear(); }

    const std::vector<std::string>& Row(int row) const { return rows_.at(row); }

private:
    bool Inside(int row, int col) const
    {
        return row >= 0 && row < Rows() && col >= 0 && col < columns_;
    }

    int columns_;
    std::vector<std::vector<std::string>> rows_;
};

// The cells of one row, and a row set from cells (missing cells empty, extra ones ignored).
std::vector<std::string> RowCells(const IListTable& table, int row);
void SetRowCells(IListTable& table, int row, const std::vector<std::string>& cells);

}  // namespace lists
