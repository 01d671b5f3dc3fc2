// Sorting the body rows by one column. The sort is stable: rows that compare equal keep their
// order, so sorting by a second column keeps the first column's order within equal values.
#include <algorithm>
#include <numeric>

#include "DataGrid.h"
#include "GridCompare.h"

int CDataGrid::CompareText(const CDataGridCellBase* a, const CDataGridCellBase* b, std::intptr_t)
{
    if (!a || !b)
        return 0;
    return gridcmp::Text(a->GetText(), b->GetText());
}

int CDataGrid::CompareNumeric(const CDataGridCellBase* a, const CDataGridCellBase* b, std::intptr_t)
{
    if (!a || !b)
        return 0;
    return gridcmp::LeadingInteger(a->GetText(), b->GetText());
}

bool CDataGrid::SortItems(int col, bool ascending, std::intptr_t data)
{
    // The editor's text belongs to the record it was opened on; ending the edit may also
    // reshape the grid, so the column is checked after it.
    EndEditing();
    if (col < 0 || col >= cols_ || rows_ - fixedRows_ < 2)
        return false;
    SetSortColumn(col);
    ascending_ = ascending;
    ResetSelectedRange();

    const GridCompareFunc compare = compare_ ? compare_ : &CDataGrid::CompareText;
    const auto first = static_cast<std::size_t>(fixedRows_);
    std::vector<std::size_t> order(rowData_.size() - first);
    std::iota(order.begin(), order.end(), first);
    const auto cellOf = [&](std::size_t row) {
        return rowData_[row][static_cast<std::size_t>(col)].get();
    };
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int c = compare(cellOf(a), cellOf(b), data);
        return ascending ? c < 0 : c > 0;
    });

    ++structureStamp_;
    std::vector<Row> rows;
    std::vector<int> heights;
    rows.reserve(order.size());
    heights.reserve(order.size());
    for (std::size_t r : order) {
        rows.push_back(std::move(rowData_[r]));
        heights.push_back(rowHeights_[r]);
    }
    std::move(rows.begin(), rows.end(), rowData_.begin() + static_cast<std::ptrdiff_t>(first));
    std::copy(heights.begin(), heights.end(),
              rowHeights_.begin() + static_cast<std::ptrdiff_t>(first));
    return true;
}
