// The focus cell and the selection.
#include <algorithm>

#include "DataGrid.h"

CCellPos CDataGrid::SetFocusCell(int row, int col)
{
    const CCellPos prev = idCurrentCell_;
    if (!(row == -1 && col == -1)) {
        if (row >= 0 && row < fixedRows_)
            row = fixedRows_;
        if (col >= 0 && col < fixedCols_)
            col = fixedCols_;
    }
    const CCellPos next{row, col};
    if (next == prev)
        return prev;

    if (CDataGridCellBase* cell = GetCell(prev.row, prev.col)) {
        cell->SetState(cell->GetState() & ~CellStateFocused);
        RedrawCell(prev.row, prev.col);
    }
    idCurrentCell_ = next;
    if (CDataGridCellBase* cell = GetCell(next.row, next.col)) {
        cell->SetState(cell->GetState() | CellStateFocused);
        RedrawCell(next.row, next.col);
    }
    if (trackFocusCell_) {
        // The headers of the old and new focus row and column change their edge.
        for (const CCellPos& p : {prev, next}) {
            for (int c = 0; c < fixedCols_; ++c)
                RedrawCell(p.row, c);
            for (int r = 0; r < fixedRows_; ++r)
                RedrawCell(r, p.col);
        }
    }
    return prev;
}

void CDataGrid::SetCellSelected(CCellPos pos, bool selected, bool redraw)
{
    CDataGridCellBase* cell = GetCell(pos.row, pos.col);
    if (!cell)
        return;
    const unsigned state = cell->GetState();
    cell->SetState(selected ? state | CellStateSelected : state & ~CellStateSelected);
    if (selected)
        selectedCellMap_.insert(pos);
    else
        selectedCellMap_.erase(pos);
    if (redraw)
        RedrawCell(pos.row, pos.col);
}

void CDataGrid::ClearSelectionMap()
{
    for (const CCellPos& pos : selectedCellMap_)
        if (CDataGridCellBase* cell = GetCell(pos.row, pos.col)) {
            cell->SetState(cell->GetState() & ~CellStateSelected);
            RedrawCell(pos.row, pos.col);
        }
    selectedCellMap_.clear();
}

void CDataGrid::SetSelectedRange(const CCellBlock& range, bool forceRepaint, bool selectCells)
{
    SetSelectedRange(range.minRow, range.minCol, range.maxRow, range.maxCol, forceRepaint,
                     selectCells);
}

void CDataGrid::SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol,
                                 bool /*forceRepaint*/, bool selectCells)
{
    if (!enableSelection_)
        return;
    if (minRow >= 0 && minRow < fixedRows_)
        minRow = fixedRows_;
    if (maxRow >= 0 && maxRow < fixedRows_)
        maxRow = fixedRows_;
    if (minCol >= 0 && minCol < FirstSelectableColumn())
        minCol = fixedCols_;
    if (maxCol >= 0 && maxCol < FirstSelectableColumn())
        maxCol = fixedCols_;
    const CCellBlock range(minRow, minCol, maxRow, maxCol);

    if (selectCells) {
        for (const CCellPos& pos : selectedCellMap_)
            if (CDataGridCellBase* cell = GetCell(pos.row, pos.col)) {
                cell->SetState(cell->GetState() & ~CellStateSelected);
                if (!range.InRange(pos))
                    RedrawCell(pos.row, pos.col);
            }
        selectedCellMap_.clear();
        if (!(singleRowSelection_ && listMode_) && range.IsValid())
            for (const CCellPos& pos : prevSelectedCellMap_)
                SetCellSelected(pos, true, true);
    }
    if (IsValid(range))
        for (int r = range.minRow; r <= range.maxRow; ++r)
            for (int c = range.minCol; c <= range.maxCol; ++c)
                if (const CDataGridCellBase* cell = GetCell(r, c);
                    cell && cell->IsSelected() != selectCells)
                    SetCellSelected({r, c}, selectCells, true);
}

void CDataGrid::ResetSelectedRange()
{
    prevSelectedCellMap_.clear();
    SetSelectedRange(-1, -1, -1, -1);
    SetFocusCell(-1, -1);
}

CCellBlock CDataGrid::GetSelectedCellRange() const
{
    if (selectedCellMap_.empty())
        return {rows_, cols_, -1, -1};
    CCellBlock b(rows_, cols_, -1, -1);
    for (const CCellPos& p : selectedCellMap_) {
        b.minRow = std::min(b.minRow, p.row);
        b.minCol = std::min(b.minCol, p.col);
        b.maxRow = std::max(b.maxRow, p.row);
        b.maxCol = std::max(b.maxCol, p.col);
    }
    return b;
}

void CDataGrid::SelectAllCells()
{
    if (!enableSelection_)
        return;
    SetSelectedRange(fixedRows_, FirstSelectableColumn(), rows_ - 1, cols_ - 1);
}

void CDataGrid::SelectColumns(CCellPos cell, bool forceRedraw, bool selectCells)
{
    if (cell.col < fixedCols_ || cell.col >= cols_)
        return;
    const int anchor = IsValid(selectionStartCell_) ? selectionStartCell_.col : cell.col;
    const int c0 = singleColSelection_ ? cell.col : std::min(anchor, cell.col);
    const int c1 = singleColSelection_ ? cell.col : std::max(anchor, cell.col);
    SetSelectedRange(fixedRows_, c0, rows_ - 1, c1, forceRedraw, selectCells);
}

void CDataGrid::SelectRows(CCellPos cell, bool forceRedraw, bool selectCells)
{
    if (cell.row < fixedRows_ || cell.row >= rows_)
        return;
    const bool single = singleRowSelection_ && listMode_;
    const int anchor = IsValid(selectionStartCell_) ? selectionStartCell_.row : cell.row;
    const int r0 = single ? cell.row : std::min(anchor, cell.row);
    const int r1 = single ? cell.row : std::max(anchor, cell.row);
    SetSelectedRange(r0, FirstSelectableColumn(), r1, cols_ - 1, forceRedraw, selectCells);
}

void CDataGrid::SelectCells(CCellPos cell, bool forceRedraw, bool selectCells)
{
    if (!IsValid(cell) || IsCellFixed(cell.row, cell.col))
        return;
    const CCellPos anchor = IsValid(selectionStartCell_) ? selectionStartCell_ : cell;
    SetSelectedRange(std::min(anchor.row, cell.row), std::min(anchor.col, cell.col),
                     std::max(anchor.row, cell.row), std::max(anchor.col, cell.col), forceRedraw,
                     selectCells);
}

void CDataGrid::OnSelecting(CCellPos cell)
{
    switch (mouseMode_) {
    case MouseSelectAll: SelectAllCells(); break;
    case MouseSelectCol: SelectColumns(cell); break;
    case MouseSelectRow: SelectRows(cell); break;
    case MouseSelectCells: SelectCells(cell); break;
    default: break;
    }
}
