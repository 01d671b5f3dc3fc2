// The edit path: program edits (paste, cut, delete) and the in-place editor, each asking the
// owner before and after, and putting the old text back when refused.
#include "DataGrid.h"
#include "GridUtf8.h"

int CDataGrid::SendMessageToParent(int row, int col, int code, EditCause cause, char32_t ch)
{
    if (!owner_)
        return 0;
    GridNotification note;
    note.controlId = ctrlId_;
    note.code = code;
    note.row = row;
    note.col = col;
    note.cause = cause;
    note.character = ch;
    return owner_->OnGridNotify(*this, note);
}

bool CDataGrid::EditCellText(int row, int col, std::string_view text, EditCause cause)
{
    if (!IsCellEditable(row, col))
        return false;
    if (SendMessageToParent(row, col, GridNotifyBeginEdit, cause) < 0)
        return false;
    CDataGridCellBase* cell = GetCell(row, col);  // the owner may have changed the grid
    if (!cell || !IsCellEditable(row, col))
        return false;
    if (cell->GetText() == text)
        return true;
    const std::string old = cell->GetText();
    cell->SetText(text);
    const unsigned stamp = structureStamp_;
    if (cell->ValidateEdit(cell->GetText())
        && SendMessageToParent(row, col, GridNotifyEndEdit, cause) >= 0) {
        if (stamp == structureStamp_) {
            SetModified(row, col);
            RedrawCell(row, col);
        }
        return true;
    }
    if (stamp == structureStamp_)
        cell->SetText(old);
    return false;
}

void CDataGrid::OnEditCell(int row, int col, GridPoint /*point*/, EditCause cause, char32_t ch)
{
    if (host_)
        host_->HideTitleTip();
    CDataGridCellBase* cell = GetCell(row, col);
    if (!cell || !IsCellEditable(row, col))
        return;
    if (cell->IsEditing()) {
        if (ch && host_)
            host_->SendCharToEditor(ch);
        return;
    }
    if (IsEditing())
        EndEditing();  // only one editor at a time

    EnsureVisible(row, col);
    GridRect rect;
    if (!IsCellVisible(row, col) || !GetCellRect(row, col, rect))
        return;
    if (SendMessageToParent(row, col, GridNotifyBeginEdit, cause, ch) < 0)
        return;
    cell = GetCell(row, col);
    if (!cell || !IsCellEditable(row, col) || !GetCellRect(row, col, rect))
        return;

    CellEditorRequest request;
    request.row = row;
    request.col = col;
    request.rect = rect;
    request.originalText = cell->GetText();
    request.text = request.originalText;
    cell->DescribeEditor(request);
    switch (cause) {
    case EditCause::Typed:
        request.exitOnArrows = true;
        if (ch == U'\r' || ch == U'\n') {
            // Enter: keep the text, caret at the end.
        } else if (ch == U'\b') {
            gridutf8::PopBack(request.text);
        } else if (request.digitsOnly && !(ch >= U'0' && ch <= U'9')) {
            request.selectAll = true;  // a numeric cell refuses the character
        } else if (ch >= 0x20 && ch != 0x7F) {
            request.text = gridutf8::Encode(ch);  // the typed character replaces the text
        } else {
            request.selectAll = true;
        }
        break;
    case EditCause::Key:
        request.exitOnArrows = true;
        request.selectAll = true;
        break;
    default:
        request.exitOnArrows = false;  // opened by the mouse or F2: arrows move the caret
        break;
    }
    editCell_ = {row, col};
    editCause_ = cause;
    cell->OnBeginEdit();
    if (host_)
        host_->OpenEditor(request);
}

void CDataGrid::EndEditing()
{
    if (!editCell_.IsValid())
        return;
    const CCellPos pos = editCell_;
    editCell_ = {};
    const std::optional<std::string> text = host_ ? host_->CloseEditor() : std::nullopt;
    if (text)
        OnEndEditCell(pos.row, pos.col, *text);
    else if (CDataGridCellBase* cell = GetCell(pos.row, pos.col))
        cell->OnEndEdit();
}

void CDataGrid::OnEndEditCell(int row, int col, const std::string& text)
{
    CDataGridCellBase* cell = GetCell(row, col);
    if (!cell)
        return;
    // The cell's edit is over before the owner hears of it: the owner may reshape the grid, after
    // which this cell is no longer reached.
    cell->OnEndEdit();
    const unsigned stamp = structureStamp_;
    if (text != cell->GetText()) {
        const std::string old = cell->GetText();
        cell->SetText(text);
        if (cell->ValidateEdit(text)
            && SendMessageToParent(row, col, GridNotifyEndEdit, editCause_) >= 0) {
            if (stamp == structureStamp_) {
                SetModified(row, col);
                RedrawCell(row, col);
            }
        } else if (stamp == structureStamp_) {
            cell->SetText(old);
        }
    }
}

void CDataGrid::OnEndEditRecord(int row, int col, const std::string& text, EditEndKey lastKey)
{
    if (!editCell_.IsValid() || editCell_ != CCellPos{row, col})
        return;  // a stale record
    editCell_ = {};
    if (host_)
        host_->CloseEditor();
    OnEndEditCell(row, col, text);
    HandleEndKey(lastKey);
}

void CDataGrid::HandleEndKey(EditEndKey key)
{
    GridKey gridKey = GridKey::Other;
    GridModifiers mods;
    switch (key) {
    case EditEndKey::Tab: gridKey = GridKey::Tab; break;
    case EditEndKey::ShiftTab:
        gridKey = GridKey::Tab;
        mods.shift = true;
        break;
    case EditEndKey::PageUp: gridKey = GridKey::PageUp; break;
    case EditEndKey::PageDown: gridKey = GridKey::PageDown; break;
    case EditEndKey::Home: gridKey = GridKey::Home; break;
    case EditEndKey::End: gridKey = GridKey::End; break;
    case EditEndKey::Left: gridKey = GridKey::Left; break;
    case EditEndKey::Up: gridKey = GridKey::Up; break;
    case EditEndKey::Right: gridKey = GridKey::Right; break;
    case EditEndKey::Down: gridKey = GridKey::Down; break;
    default: return;
    }
    OnKeyDown(gridKey, mods);
    const CCellPos focus = idCurrentCell_;
    if (IsValid(focus))
        OnEditCell(focus.row, focus.col, {}, EditCause::Key);
}
