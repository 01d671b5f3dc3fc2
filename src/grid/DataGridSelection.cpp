// The focus cell and the selection.
#include <algorithm>

#include "DataGrid.h"

CCellPos CDataGrid::SetFocusCell(int row, int col) {
    const CCellPos prev = m_idCurrentCell;
    if (!(row == -1 && col == -1)) {
        if (row >= 0 && row < m_nFixedRows) row = m_nFixedRows;
        if (col >= 0 && col < m_nFixedCols) col = m_nFixedCols;
    }
    const CCellPos next{row, col};
    if (next == prev) return prev;

    if (CDataGridCellBase* cell = GetCell(prev.row, prev.col)) {
        cell->SetState(cell->GetState() & ~CellStateFocused);
        RedrawCell(prev.row, prev.col);
    }
    m_idCurrentCell = next;
    if (CDataGridCellBase* cell = GetCell(next.row, next.col)) {
        cell->SetState(cell->GetState() | CellStateFocused);
        RedrawCell(next.row, next.col);
    }
    if (m_bTrackFocusCell) {
        // The headers of the old and new focus row and column change their edge.
        for (const CCellPos& p : {prev, next}) {
            for (int c = 0; c < m_nFixedCols; ++c) RedrawCell(p.row, c);
            for (int r = 0; r < m_nFixedRows; ++r) RedrawCell(r, p.col);
        }
    }
    return prev;
}

void CDataGrid::SetCellSelected(CCellPos pos, bool selected, bool redraw) {
    CDataGridCellBase* cell = GetCell(pos.row, pos.col);
    if (!cell) return;
    const unsigned state = cell->GetState();
    cell->SetState(selected ? state | CellStateSelected : state & ~CellStateSelected);
    if (selected)
        m_SelectedCellMap.insert(pos);
    else
        m_SelectedCellMap.erase(pos);
    if (redraw) RedrawCell(pos.row, pos.col);
}

void CDataGrid::ClearSelectionMap() {
    for (const CCellPos& pos : m_SelectedCellMap)
        if (CDataGridCellBase* cell = GetCell(pos.row, pos.col)) {
            cell->SetState(cell->GetState() & ~CellStateSelected);
            RedrawCell(pos.row, pos.col);
        }
    m_SelectedCellMap.clear();
}

void CDataGrid::SetSelectedRange(const CCellBlock& range, bool forceRepaint, bool selectCells) {
    SetSelectedRange(range.minRow, range.minCol, range.maxRow, range.maxCol, forceRepaint, selectCells);
}

void CDataGrid::SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, bool /*forceRepaint*/,
                                 bool selectCells) {
    if (!m_bEnableSelection) return;
    if (minRow >= 0 && minRow < m_nFixedRows) minRow = m_nFixedRows;
    if (maxRow >= 0 && maxRow < m_nFixedRows) maxRow = m_nFixedRows;
    if (minCol >= 0 && minCol < FirstSelectableColumn()) minCol = m_nFixedCols;
    if (maxCol >= 0 && maxCol < FirstSelectableColumn()) maxCol = m_nFixedCols;
    const CCellBlock range(minRow, minCol, maxRow, maxCol);

    if (selectCells) {
        for (const CCellPos& pos : m_SelectedCellMap)
            if (CDataGridCellBase* cell = GetCell(pos.row, pos.col)) {
                cell->SetState(cell->GetState() & ~CellStateSelected);
                if (!range.InRange(pos)) RedrawCell(pos.row, pos.col);
            }
        m_SelectedCellMap.clear();
        if (!(m_bSingleRowSelection && m_bListMode) && range.IsValid())
            for (const CCellPos& pos : m_PrevSelectedCellMap) SetCellSelected(pos, true, true);
    }
    if (IsValid(range))
        for (int r = range.minRow; r <= range.maxRow; ++r)
            for (int c = range.minCol; c <= range.maxCol; ++c)
                if (const CDataGridCellBase* cell = GetCell(r, c); cell && cell->IsSelected() != selectCells)
                    SetCellSelected({r, c}, selectCells, true);
}

void CDataGrid::ResetSelectedRange() {
    m_PrevSelectedCellMap.clear();
    SetSelectedRange(-1, -1, -1, -1);
    SetFocusCell(-1, -1);
}

CCellBlock CDataGrid::GetSelectedCellRange() const {
    if (m_SelectedCellMap.empty()) return {m_nRows, m_nCols, -1, -1};
    CCellBlock b(m_nRows, m_nCols, -1, -1);
    for (const CCellPos& p : m_SelectedCellMap) {
        b.minRow = std::min(b.minRow, p.row);
        b.minCol = std::min(b.minCol, p.col);
        b.maxRow = std::max(b.maxRow, p.row);
        b.maxCol = std::max(b.maxCol, p.col);
    }
    return b;
}

void CDataGrid::SelectAllCells() {
    if (!m_bEnableSelection) return;
    SetSelectedRange(m_nFixedRows, FirstSelectableColumn(), m_nRows - 1, m_nCols - 1);
}

void CDataGrid::SelectColumns(CCellPos cell, bool forceRedraw, bool selectCells) {
    if (cell.col < m_nFixedCols || cell.col >= m_nCols) return;
    const int anchor = IsValid(m_SelectionStartCell) ? m_SelectionStartCell.col : cell.col;
    const int c0 = m_bSingleColSelection ? cell.col : std::min(anchor, cell.col);
    const int c1 = m_bSingleColSelection ? cell.col : std::max(anchor, cell.col);
    SetSelectedRange(m_nFixedRows, c0, m_nRows - 1, c1, forceRedraw, selectCells);
}

void CDataGrid::SelectRows(CCellPos cell, bool forceRedraw, bool selectCells) {
    if (cell.row < m_nFixedRows || cell.row >= m_nRows) return;
    const bool single = m_bSingleRowSelection && m_bListMode;
    const int anchor = IsValid(m_SelectionStartCell) ? m_SelectionStartCell.row : cell.row;
    const int r0 = single ? cell.row : std::min(anchor, cell.row);
    const int r1 = single ? cell.row : std::max(anchor, cell.row);
    SetSelectedRange(r0, FirstSelectableColumn(), r1, m_nCols - 1, forceRedraw, selectCells);
}

void CDataGrid::SelectCells(CCellPos cell, bool forceRedraw, bool selectCells) {
    if (!IsValid(cell) || IsCellFixed(cell.row, cell.col)) return;
    const CCellPos anchor = IsValid(m_SelectionStartCell) ? m_SelectionStartCell : cell;
    SetSelectedRange(std::min(anchor.row, cell.row), std::min(anchor.col, cell.col), std::max(anchor.row, cell.row),
                     std::max(anchor.col, cell.col), forceRedraw, selectCells);
}

void CDataGrid::OnSelecting(CCellPos cell) {
    switch (m_MouseMode) {
    case MouseSelectAll: SelectAllCells(); break;
    case MouseSelectCol: SelectColumns(cell); break;
    case MouseSelectRow: SelectRows(cell); break;
    case MouseSelectCells: SelectCells(cell); break;
    default: break;
    }
}
