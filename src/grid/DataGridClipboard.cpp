// Copy, cut, paste and select all over the grid's cells, and the same text by drag and drop.
#include <algorithm>

#include "DataGrid.h"
#include "GridClipboardText.h"

std::string CDataGrid::CopyTextFromSelection() const {
    if (m_SelectedCellMap.empty()) return {};
    const CCellBlock range = GetSelectedCellRange();
    ClipboardRows rows;
    for (int r = range.minRow; r <= range.maxRow; ++r) {
        if (GetRowHeight(r) <= 0) continue;  // hidden rows give no line
        std::vector<std::string>& fields = rows.emplace_back();
        for (int c = range.minCol; c <= range.maxCol; ++c) {
            if (GetColumnWidth(c) <= 0) continue;  // hidden columns give no field
            const CDataGridCellBase* cell = GetCell(r, c);
            fields.push_back(cell && cell->IsSelected() ? cell->GetText() : std::string());
        }
    }
    return BuildClipboardText(rows);
}

void CDataGrid::CutSelectedText(EditCause cause) {
    if (!m_bEditable) return;
    const std::vector<CCellPos> cells(m_SelectedCellMap.begin(), m_SelectedCellMap.end());
    const unsigned stamp = m_structureStamp;
    for (const CCellPos& pos : cells) {
        if (stamp != m_structureStamp) break;  // the owner reshaped the grid: the positions are stale
        EditCellText(pos.row, pos.col, "", cause);
    }
}

bool CDataGrid::PasteTextAtCell(CCellPos cell, std::string_view text, bool selectPasted, EditCause cause,
                                bool gridText) {
    // Headers are never pasted into; fields only go right and down from a body cell.
    if (!IsValid(cell) || IsCellFixed(cell.row, cell.col) || !IsCellEditable(cell.row, cell.col)) return false;
    // Only the rows and fields the grid can take from the cell are parsed.
    ClipboardParseLimits limits;
    limits.maxRows = limits.maxFields = 0;
    limits.tabsOnly = gridText;  // commas inside a value never split it
    for (int r = cell.row; r < m_nRows; ++r) limits.maxRows += GetRowHeight(r) > 0;
    for (int c = cell.col; c < m_nCols; ++c) limits.maxFields += GetColumnWidth(c) > 0;
    bool leftOut = false;
    const ClipboardRows lines = ParseClipboardText(text, limits, &leftOut);
    const unsigned stamp = m_structureStamp;
    bool complete = !leftOut;  // every non-empty field was stored
    const auto anyText = [](auto first, auto last) {
        return std::any_of(first, last, [](const std::string& f) { return !f.empty(); });
    };
    int maxRow = -1, maxCol = -1;
    int row = cell.row;
    for (auto line = lines.begin(); line != lines.end(); ++line) {
        const std::vector<std::string>& fields = *line;
        while (row < m_nRows && GetRowHeight(row) <= 0) ++row;
        if (row >= m_nRows) {  // surplus lines are dropped
            for (; complete && line != lines.end(); ++line) complete = !anyText(line->begin(), line->end());
            break;
        }
        int col = cell.col;
        for (auto field = fields.begin(); field != fields.end(); ++field) {
            while (col < m_nCols && GetColumnWidth(col) <= 0) ++col;
            if (col >= m_nCols) {
                complete = complete && !anyText(field, fields.end());
                break;
            }
            if (!EditCellText(row, col, *field, cause) && !field->empty()) complete = false;
            if (m_bDragging && cause == EditCause::Drop) m_DroppedCells.insert({row, col});
            if (stamp != m_structureStamp) return false;  // the owner reshaped the grid
            if (CDataGridCellBase* target = GetCell(row, col)) {
                target->SetState(target->GetState() & ~CellStateSelected);
                m_SelectedCellMap.erase({row, col});
            }
            maxCol = std::max(maxCol, col);
            ++col;
        }
        maxRow = row;
        ++row;
    }
    if (selectPasted && maxRow >= 0 && maxCol >= 0) {
        SetSelectedRange(cell.row, cell.col, maxRow, maxCol);
    } else {
        SetSelectedRange(-1, -1, -1, -1);
    }
    Refresh();
    return complete;
}

void CDataGrid::OnEditCopy() {
    if (m_SelectedCellMap.empty() || !m_pHost) return;
    m_pHost->SetClipboardText(CopyTextFromSelection());
}

void CDataGrid::OnEditCut() {
    if (!m_bEditable) return;
    OnEditCopy();
    CutSelectedText(EditCause::Cut);
}

bool CDataGrid::CanEditPaste() const {
    return IsValid(m_idCurrentCell) && IsCellEditable(m_idCurrentCell.row, m_idCurrentCell.col);
}

void CDataGrid::OnEditPaste() {
    if (!m_bEditable || !m_pHost) return;
    if (IsEditing()) {
        m_pHost->PasteIntoEditor();  // the open editor takes the paste, not the cells
        return;
    }
    CCellPos target;
    const CCellBlock range = GetSelectedCellRange();
    if (IsValid(range))
        target = range.GetTopLeft();
    else if (IsValid(m_idCurrentCell))
        target = m_idCurrentCell;
    else
        target = GetTopleftNonFixedCell();
    if (!IsValid(target)) return;
    const std::optional<std::string> text = m_pHost->GetClipboardText();
    if (text) PasteTextAtCell(target, *text, true, EditCause::Paste, m_pHost->ClipboardTextIsFromGrid());
}

void CDataGrid::OnEditSelectAll() {
    if (!m_bEnableSelection) return;
    SendMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col, GridNotifySelChanging);
    SelectAllCells();
    SendMessageToParent(m_idCurrentCell.row, m_idCurrentCell.col, GridNotifySelChanged);
}

void CDataGrid::OnBeginDrag() {
    if (!m_bAllowDragAndDrop || m_bDragging) return;
    const std::string text = CopyTextFromSelection();
    if (text.empty()) return;
    const std::vector<CCellPos> source(m_SelectedCellMap.begin(), m_SelectedCellMap.end());
    const CCellBlock range = GetSelectedCellRange();
    SendMessageToParent(range.minRow, range.minCol, GridNotifyBeginDrag);
    m_MouseMode = MouseDragging;
    m_bDragging = true;
    m_DroppedCells.clear();
    const unsigned stamp = m_structureStamp;
    const std::weak_ptr<const bool> alive = m_alive;
    const DropEffect effect = m_pHost ? m_pHost->DoDragDrop(text) : DropEffect::None;
    if (alive.expired()) return;  // the window and this grid were closed during the drag
    m_bDragging = false;
    // The drag loop took the button up.
    m_bLMouseButtonDown = false;
    if (m_bTimerRunning) {
        if (m_pHost) m_pHost->StopAutoScrollTimer();
        m_bTimerRunning = false;
    }
    if (m_bCapture) {
        if (m_pHost) m_pHost->SetCapture(false);
        m_bCapture = false;
    }
    m_MouseMode = MouseNone;
    if (effect == DropEffect::Move && m_bEditable && stamp == m_structureStamp) {
        // The cells the text came from, but never one the drop has just written (a move within
        // the grid onto an overlapping block keeps the moved text).
        for (const CCellPos& pos : source) {
            if (stamp != m_structureStamp) break;
            if (!m_DroppedCells.count(pos)) EditCellText(pos.row, pos.col, "", EditCause::Cut);
        }
    }
    m_DroppedCells.clear();
    Refresh();
}

DropEffect CDataGrid::OnDragOver(GridPoint point, bool offersText, GridModifiers mods) {
    if (!m_bAllowDragAndDrop) return DropEffect::None;
    const CCellPos cell = GetCellFromPt(point, false);
    const bool accepted = offersText && IsValid(cell) && !IsCellFixed(cell.row, cell.col) &&
                          IsCellEditable(cell.row, cell.col);
    if (!accepted) {
        OnDragLeave();
        return DropEffect::None;
    }
    if (cell != m_LastDragOverCell) {
        OnDragLeave();
        if (CDataGridCellBase* c = GetCell(cell.row, cell.col)) {
            c->SetState(c->GetState() | CellStateDropHighlighted);
            RedrawCell(cell.row, cell.col);
        }
        m_LastDragOverCell = cell;
    }
    return mods.ctrl ? DropEffect::Copy : DropEffect::Move;
}

void CDataGrid::OnDragLeave() {
    const CCellPos last = m_LastDragOverCell;
    m_LastDragOverCell = {};
    if (CDataGridCellBase* c = GetCell(last.row, last.col)) {
        c->SetState(c->GetState() & ~CellStateDropHighlighted);
        RedrawCell(last.row, last.col);
    }
}

bool CDataGrid::OnDrop(std::string_view text, bool gridText) {
    const CCellPos target = m_LastDragOverCell;
    OnDragLeave();
    if (!m_bAllowDragAndDrop || !IsValid(target)) return false;
    const bool complete = PasteTextAtCell(target, text, false, EditCause::Drop, gridText);
    Refresh();
    return complete;
}
