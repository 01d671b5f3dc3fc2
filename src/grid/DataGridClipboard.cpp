// Copy, cut, paste and select all over the grid's cells, and the same text by drag and drop.
#include <algorithm>

#include "DataGrid.h"
#include "GridClipboardText.h"

std::string CDataGrid::CopyTextFromSelection() const
{
    if (selectedCellMap_.empty())
        return {};
    const CCellBlock range = GetSelectedCellRange();
    ClipboardRows rows;
    for (int r = range.minRow; r <= range.maxRow; ++r) {
        if (GetRowHeight(r) <= 0)
            continue;  // hidden rows give no line
        std::vector<std::string>& fields = rows.emplace_back();
        for (int c = range.minCol; c <= range.maxCol; ++c) {
            if (GetColumnWidth(c) <= 0)
                continue;  // hidden columns give no field
            const CDataGridCellBase* cell = GetCell(r, c);
            fields.push_back(cell && cell->IsSelected() ? cell->GetText() : std::string());
        }
    }
    return BuildClipboardText(rows);
}

void CDataGrid::CutSelectedText(EditCause cause)
{
    if (!editable_)
        return;
    const std::vector<CCellPos> cells(selectedCellMap_.begin(), selectedCellMap_.end());
    const unsigned stamp = structureStamp_;
    for (const CCellPos& pos : cells) {
        if (stamp != structureStamp_)
            break;  // the owner reshaped the grid: the positions are stale
        EditCellText(pos.row, pos.col, "", cause);
    }
}

bool CDataGrid::PasteTextAtCell(CCellPos cell, std::string_view text, bool selectPasted,
                                EditCause cause, bool gridText)
{
    // Headers are never pasted into; fields only go right and down from a body cell.
    if (!IsValid(cell) || IsCellFixed(cell.row, cell.col) || !IsCellEditable(cell.row, cell.col))
        return false;
    // Only the rows and fields the grid can take from the cell are parsed.
    ClipboardParseLimits limits;
    limits.maxRows = limits.maxFields = 0;
    limits.tabsOnly = gridText;  // commas inside a value never split it
    for (int r = cell.row; r < rows_; ++r)
        limits.maxRows += GetRowHeight(r) > 0;
    for (int c = cell.col; c < cols_; ++c)
        limits.maxFields += GetColumnWidth(c) > 0;
    bool leftOut = false;
    const ClipboardRows lines = ParseClipboardText(text, limits, &leftOut);
    const unsigned stamp = structureStamp_;
    bool complete = !leftOut;  // every non-empty field was stored
    const auto anyText = [](auto first, auto last) {
        return std::any_of(first, last, [](const std::string& f) { return !f.empty(); });
    };
    int maxRow = -1, maxCol = -1;
    int row = cell.row;
    for (auto line = lines.begin(); line != lines.end(); ++line) {
        const std::vector<std::string>& fields = *line;
        while (row < rows_ && GetRowHeight(row) <= 0)
            ++row;
        if (row >= rows_) {  // surplus lines are dropped
            for (; complete && line != lines.end(); ++line)
                complete = !anyText(line->begin(), line->end());
            break;
        }
        int col = cell.col;
        for (auto field = fields.begin(); field != fields.end(); ++field) {
            while (col < cols_ && GetColumnWidth(col) <= 0)
                ++col;
            if (col >= cols_) {
                complete = complete && !anyText(field, fields.end());
                break;
            }
            if (!EditCellText(row, col, *field, cause) && !field->empty())
                complete = false;
            if (dragging_ && cause == EditCause::Drop)
                droppedCells_.insert({row, col});
            if (stamp != structureStamp_)
                return false;  // the owner reshaped the grid
            if (CDataGridCellBase* target = GetCell(row, col)) {
                target->SetState(target->GetState() & ~CellStateSelected);
                selectedCellMap_.erase({row, col});
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

void CDataGrid::OnEditCopy()
{
    if (selectedCellMap_.empty() || !host_)
        return;
    host_->SetClipboardText(CopyTextFromSelection());
}

void CDataGrid::OnEditCut()
{
    if (!editable_)
        return;
    OnEditCopy();
    CutSelectedText(EditCause::Cut);
}

bool CDataGrid::CanEditPaste() const
{
    return IsValid(idCurrentCell_) && IsCellEditable(idCurrentCell_.row, idCurrentCell_.col);
}

void CDataGrid::OnEditPaste()
{
    if (!editable_ || !host_)
        return;
    if (IsEditing()) {
        host_->PasteIntoEditor();  // the open editor takes the paste, not the cells
        return;
    }
    CCellPos target;
    const CCellBlock range = GetSelectedCellRange();
    if (IsValid(range))
        target = range.GetTopLeft();
    else if (IsValid(idCurrentCell_))
        target = idCurrentCell_;
    else
        target = GetTopleftNonFixedCell();
    if (!IsValid(target))
        return;
    const std::optional<std::string> text = host_->GetClipboardText();
    if (text)
        PasteTextAtCell(target, *text, true, EditCause::Paste, host_->ClipboardTextIsFromGrid());
}

void CDataGrid::OnEditSelectAll()
{
    if (!enableSelection_)
        return;
    SendMessageToParent(leftClickDownCell_.row, leftClickDownCell_.col, GridNotifySelChanging);
    SelectAllCells();
    SendMessageToParent(idCurrentCell_.row, idCurrentCell_.col, GridNotifySelChanged);
}

void CDataGrid::OnBeginDrag()
{
    if (!allowDragAndDrop_ || dragging_)
        return;
    const std::string text = CopyTextFromSelection();
    if (text.empty())
        return;
    const std::vector<CCellPos> source(selectedCellMap_.begin(), selectedCellMap_.end());
    const CCellBlock range = GetSelectedCellRange();
    SendMessageToParent(range.minRow, range.minCol, GridNotifyBeginDrag);
    mouseMode_ = MouseDragging;
    dragging_ = true;
    droppedCells_.clear();
    const unsigned stamp = structureStamp_;
    const std::weak_ptr<const bool> alive = alive_;
    const DropEffect effect = host_ ? host_->DoDragDrop(text) : DropEffect::None;
    if (alive.expired())
        return;  // the window and this grid were closed during the drag
    dragging_ = false;
    // The drag loop took the button up.
    lMouseButtonDown_ = false;
    if (timerRunning_) {
        if (host_)
            host_->StopAutoScrollTimer();
        timerRunning_ = false;
    }
    if (capture_) {
        if (host_)
            host_->SetCapture(false);
        capture_ = false;
    }
    mouseMode_ = MouseNone;
    if (effect == DropEffect::Move && editable_ && stamp == structureStamp_) {
        // The cells the text came from, but never one the drop has just written (a move within
        // the grid onto an overlapping block keeps the moved text).
        for (const CCellPos& pos : source) {
            if (stamp != structureStamp_)
                break;
            if (!droppedCells_.count(pos))
                EditCellText(pos.row, pos.col, "", EditCause::Cut);
        }
    }
    droppedCells_.clear();
    Refresh();
}

DropEffect CDataGrid::OnDragOver(GridPoint point, bool offersText, GridModifiers mods)
{
    if (!allowDragAndDrop_)
        return DropEffect::None;
    const CCellPos cell = GetCellFromPt(point, false);
    const bool accepted = offersText && IsValid(cell) && !IsCellFixed(cell.row, cell.col)
                          && IsCellEditable(cell.row, cell.col);
    if (!accepted) {
        OnDragLeave();
        return DropEffect::None;
    }
    if (cell != lastDragOverCell_) {
        OnDragLeave();
        if (CDataGridCellBase* c = GetCell(cell.row, cell.col)) {
            c->SetState(c->GetState() | CellStateDropHighlighted);
            RedrawCell(cell.row, cell.col);
        }
        lastDragOverCell_ = cell;
    }
    return mods.ctrl ? DropEffect::Copy : DropEffect::Move;
}

void CDataGrid::OnDragLeave()
{
    const CCellPos last = lastDragOverCell_;
    lastDragOverCell_ = {};
    if (CDataGridCellBase* c = GetCell(last.row, last.col)) {
        c->SetState(c->GetState() & ~CellStateDropHighlighted);
        RedrawCell(last.row, last.col);
    }
}

bool CDataGrid::OnDrop(std::string_view text, bool gridText)
{
    const CCellPos target = lastDragOverCell_;
    OnDragLeave();
    if (!allowDragAndDrop_ || !IsValid(target))
        return false;
    const bool complete = PasteTextAtCell(target, text, false, EditCause::Drop, gridText);
    Refresh();
    return complete;
}
