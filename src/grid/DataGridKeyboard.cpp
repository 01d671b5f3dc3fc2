// The keyboard controller: moves the focus cell, extends the selection, starts editing, and
// reaches the clipboard commands.
#include <algorithm>

#include "DataGrid.h"

int CDataGrid::NextVisibleRow(int row, int step) const
{
    for (int r = row + step; r >= fixedRows_ && r < rows_; r += step)
        if (GetRowHeight(r) > 0)
            return r;
    return -1;
}

int CDataGrid::NextVisibleCol(int col, int step) const
{
    for (int c = col + step; c >= fixedCols_ && c < cols_; c += step)
        if (GetColumnWidth(c) > 0)
            return c;
    return -1;
}

void CDataGrid::OnKeyDown(GridKey key, GridModifiers mods)
{
    if (!IsValid(idCurrentCell_))
        return;
    if (mods.ctrl) {
        switch (key) {
        case GridKey::C:
        case GridKey::Insert: OnEditCopy(); return;
        case GridKey::A: OnEditSelectAll(); return;
        case GridKey::V: OnEditPaste(); return;
        case GridKey::X: OnEditCut(); return;
        case GridKey::NumPlus:
            for (int c = 0; c < cols_; ++c)
                if (GetColumnWidth(c) > 0)
                    AutoSizeColumn(c, 0, false);
            ResetScrollBars();
            Refresh();
            return;
        default: break;
        }
    }
    if (mods.shift && key == GridKey::Insert) {
        OnEditPaste();
        return;
    }

    const CCellPos focus = idCurrentCell_;
    CCellPos next = focus;
    bool changeAnchor = !mods.shift;
    switch (key) {
    case GridKey::Tab: {
        if (!handleTabKey_)
            return;
        if (tabLeavesGrid_) {
            if (host_)
                host_->FocusNextControl(mods.shift);
            return;
        }
        changeAnchor = true;
        const int step = mods.shift ? -1 : 1;
        const int c = NextVisibleCol(focus.col, step);
        if (c >= 0) {
            next.col = c;
        } else {
            const int r = NextVisibleRow(focus.row, step);
            const int wrapCol =
                mods.shift ? NextVisibleCol(cols_, -1) : NextVisibleCol(fixedCols_ - 1, 1);
            if (r < 0 || wrapCol < 0) {
                if (host_)
                    host_->FocusNextControl(mods.shift);  // past the last (first) cell
                return;
            }
            next = {r, wrapCol};
        }
        break;
    }
    case GridKey::Left:
    case GridKey::Right: {
        const int c = NextVisibleCol(focus.col, key == GridKey::Left ? -1 : 1);
        if (c >= 0)
            next.col = c;
        break;
    }
    case GridKey::Up:
    case GridKey::Down: {
        const int r = NextVisibleRow(focus.row, key == GridKey::Up ? -1 : 1);
        if (r >= 0)
            next.row = r;
        break;
    }
    case GridKey::PageUp:
    case GridKey::PageDown: {
        const bool down = key == GridKey::PageDown;
        const int oldTop = GetTopleftNonFixedCell().row;
        OnVScroll(down ? ScrollCode::PageDown : ScrollCode::PageUp);
        const int moved = GetTopleftNonFixedCell(true).row - oldTop;
        int r = moved != 0 ? focus.row + moved : (down ? rows_ - 1 : fixedRows_);
        // Never past the last row or into the fixed band, and onto a row that is shown.
        r = std::clamp(r, fixedRows_, std::max(fixedRows_, rows_ - 1));
        if (GetRowHeight(r) <= 0) {
            int v = NextVisibleRow(r, down ? -1 : 1);
            if (v < 0)
                v = NextVisibleRow(r, down ? 1 : -1);
            r = v;
        }
        if (r >= 0)
            next.row = r;
        break;
    }
    case GridKey::Home:
    case GridKey::End: {
        const bool home = key == GridKey::Home;
        if (mods.ctrl) {
            OnVScroll(home ? ScrollCode::Top : ScrollCode::Bottom);
            OnHScroll(home ? ScrollCode::Top : ScrollCode::Bottom);
        } else {
            OnHScroll(home ? ScrollCode::Top : ScrollCode::Bottom);
        }
        const int c = home ? NextVisibleCol(fixedCols_ - 1, 1) : NextVisibleCol(cols_, -1);
        if (c >= 0)
            next.col = c;
        const int from = mods.ctrl ? (home ? fixedRows_ : rows_ - 1) : focus.row;
        const int r = home ? NextVisibleRow(from - 1, 1) : NextVisibleRow(from + 1, -1);
        if (r >= 0)
            next.row = r;
        break;
    }
    case GridKey::Delete:
        if (editable_)
            CutSelectedText(EditCause::Delete);
        return;
    case GridKey::F2: OnEditCell(focus.row, focus.col, {}, EditCause::Click); return;
    default: return;
    }

    if (next == focus || !IsValid(next))
        return;
    if (mouseMode_ == MouseNone) {
        prevSelectedCellMap_.clear();
        mouseMode_ = listMode_ ? MouseSelectRow : MouseSelectCells;
        if (changeAnchor)
            selectionStartCell_ = next;
        SendMessageToParent(next.row, next.col, GridNotifySelChanging);
        OnSelecting(next);
        SendMessageToParent(next.row, next.col, GridNotifySelChanged);
        mouseMode_ = MouseNone;
    }
    SetFocusCell(next);
    EnsureVisible(next);
}

void CDataGrid::OnChar(char32_t ch, GridModifiers mods)
{
    if (mods.ctrl || mouseMode_ != MouseNone || ch == 0x1B)
        return;
    if (ch == U'\t' && handleTabKey_)
        return;
    if (!IsValid(idCurrentCell_))
        return;
    OnEditCell(idCurrentCell_.row, idCurrentCell_.col, {}, EditCause::Typed, ch);
}

void CDataGrid::OnMouseWheel(int delta)
{
    const bool pages = rowsPerWheelNotch_ == -1;
    const long long lines = std::max(0, rowsPerWheelNotch_);
    ScrollWheelSteps(wheelTurn_.Add(pages ? delta : lines * delta, kWheelNotch), pages);
}

void CDataGrid::OnMouseWheelPixels(int pixels)
{
    const CDataGridDefaultCell* def = GetDefaultCell(false, false);
    ScrollWheelSteps(wheelPixels_.Add(pixels, def != nullptr ? def->GetHeight() : 0), false);
}

void CDataGrid::ScrollWheelSteps(long long steps, bool pages)
{
    // More steps than rows scroll no further, so the count is bounded by the rows.
    const long long count = std::min<long long>(steps < 0 ? -steps : steps, rows_ + 1);
    const ScrollCode up = pages ? ScrollCode::PageUp : ScrollCode::LineUp;
    const ScrollCode down = pages ? ScrollCode::PageDown : ScrollCode::LineDown;
    for (long long i = 0; i < count; ++i)
        OnVScroll(steps > 0 ? up : down);
}
