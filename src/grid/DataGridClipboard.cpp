// Copy, cut, paste and select all over the grid's cells.
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

void CDataGrid::PasteTextAtCell(CCellPos cell, std::string_view text, bool selectPasted) {
    // Headers are never pasted into; fields only go right and down from a body cell.
    if (!IsValid(cell) || IsCellFixed(cell.row, cell.col) || !IsCellEditable(cell.row, cell.col)) return;
    const ClipboardRows lines = ParseClipboardText(text);
    const unsigned stamp = m_structureStamp;
    int maxRow = -1, maxCol = -1;
    int row = cell.row;
    for (const std::vector<std::string>& fields : lines) {
        while (row < m_nRows && GetRowHeight(row) <= 0) ++row;
        if (row >= m_nRows) break;  // surplus lines are dropped
        int col = cell.col;
        for (const std::string& field : fields) {
            while (col < m_nCols && GetColumnWidth(col) <= 0) ++col;
            if (col >= m_nCols) break;
            EditCellText(row, col, field, EditCause::Paste);
            if (stamp != m_structureStamp) return;  // the owner reshaped the grid
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
    if (text) PasteTextAtCell(target, *text, true);
}

void CDataGrid::OnEditSelectAll() {
    if (!m_bEnableSelection) return;
    SendMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col, GridNotifySelChanging);
    SelectAllCells();
    SendMessageToParent(m_idCurrentCell.row, m_idCurrentCell.col, GridNotifySelChanged);
}
