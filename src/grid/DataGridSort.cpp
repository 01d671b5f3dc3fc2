// Sorting the body rows by one column. The sort is stable: rows that compare equal keep their
// order, so sorting by a second column keeps the first column's order within equal values.
#include <algorithm>
#include <numeric>

#include "DataGrid.h"
#include "GridCompare.h"

int CDataGrid::CompareText(const CDataGridCellBase* a, const CDataGridCellBase* b, std::intptr_t) {
    if (!a || !b) return 0;
    return gridcmp::Text(a->GetText(), b->GetText());
}

int CDataGrid::CompareNumeric(const CDataGridCellBase* a, const CDataGridCellBase* b, std::intptr_t) {
    if (!a || !b) return 0;
    return gridcmp::LeadingInteger(a->GetText(), b->GetText());
}

bool CDataGrid::SortItems(int col, bool ascending, std::intptr_t data) {
    // The editor's text belongs to the record it was opened on; ending the edit may also
    // reshape the grid, so the column is checked after it.
    EndEditing();
    if (col < 0 || col >= m_nCols || m_nRows - m_nFixedRows < 2) return false;
    SetSortColumn(col);
    m_bAscending = ascending;
    ResetSelectedRange();

    const GridCompareFunc compare = m_pfnCompare ? m_pfnCompare : &CDataGrid::CompareText;
    const auto first = static_cast<std::size_t>(m_nFixedRows);
    std::vector<std::size_t> order(m_RowData.size() - first);
    std::iota(order.begin(), order.end(), first);
    const auto cellOf = [&](std::size_t row) { return m_RowData[row][static_cast<std::size_t>(col)].get(); };
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int c = compare(cellOf(a), cellOf(b), data);
        return ascending ? c < 0 : c > 0;
    });

    ++m_structureStamp;
    std::vector<Row> rows;
    std::vector<int> heights;
    rows.reserve(order.size());
    heights.reserve(order.size());
    for (std::size_t r : order) {
        rows.push_back(std::move(m_RowData[r]));
        heights.push_back(m_arRowHeights[r]);
    }
    std::move(rows.begin(), rows.end(), m_RowData.begin() + static_cast<std::ptrdiff_t>(first));
    std::copy(heights.begin(), heights.end(), m_arRowHeights.begin() + static_cast<std::ptrdiff_t>(first));
    return true;
}
