// The keyboard controller: moves the focus cell, extends the selection, starts editing, and
// reaches the clipboard commands.
#include <algorithm>

#include "DataGrid.h"

int CDataGrid::NextVisibleRow(int row, int step) const {
    for (int r = row + step; r >= m_nFixedRows && r < m_nRows; r += step)
        if (GetRowHeight(r) > 0) return r;
    return -1;
}

int CDataGrid::NextVisibleCol(int col, int step) const {
    for (int c = col + step; c >= m_nFixedCols && c < m_nCols; c += step)
        if (GetColumnWidth(c) > 0) return c;
    return -1;
}

void CDataGrid::OnKeyDown(GridKey key, GridModifiers mods) {
    if (!IsValid(m_idCurrentCell)) return;
    if (mods.ctrl) {
        switch (key) {
        case GridKey::C:
        case GridKey::Insert: OnEditCopy(); return;
        case GridKey::A: OnEditSelectAll(); return;
        case GridKey::V: OnEditPaste(); return;
        case GridKey::X: OnEditCut(); return;
        case GridKey::NumPlus:
            for (int c = 0; c < m_nCols; ++c)
                if (GetColumnWidth(c) > 0) AutoSizeColumn(c, 0, false);
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

    const CCellPos focus = m_idCurrentCell;
    CCellPos next = focus;
    bool changeAnchor = !mods.shift;
    switch (key) {
    case GridKey::Tab: {
        if (!m_bHandleTabKey) return;
        if (m_bTabLeavesGrid) {
            if (m_pHost) m_pHost->FocusNextControl(mods.shift);
            return;
        }
        changeAnchor = true;
        const int step = mods.shift ? -1 : 1;
        const int c = NextVisibleCol(focus.col, step);
        if (c >= 0) {
            next.col = c;
        } else {
            const int r = NextVisibleRow(focus.row, step);
            const int wrapCol = mods.shift ? NextVisibleCol(m_nCols, -1) : NextVisibleCol(m_nFixedCols - 1, 1);
            if (r < 0 || wrapCol < 0) {
                if (m_pHost) m_pHost->FocusNextControl(mods.shift);  // past the last (first) cell
                return;
            }
            next = {r, wrapCol};
        }
        break;
    }
    case GridKey::Left:
    case GridKey::Right: {
        const int c = NextVisibleCol(focus.col, key == GridKey::Left ? -1 : 1);
        if (c >= 0) next.col = c;
        break;
    }
    case GridKey::Up:
    case GridKey::Down: {
        const int r = NextVisibleRow(focus.row, key == GridKey::Up ? -1 : 1);
        if (r >= 0) next.row = r;
        break;
    }
    case GridKey::PageUp:
    case GridKey::PageDown: {
        const bool down = key == GridKey::PageDown;
        const int oldTop = GetTopleftNonFixedCell().row;
        OnVScroll(down ? ScrollCode::PageDown : ScrollCode::PageUp);
        const int moved = GetTopleftNonFixedCell(true).row - oldTop;
        int r = moved != 0 ? focus.row + moved : (down ? m_nRows - 1 : m_nFixedRows);
        // Never past the last row or into the fixed band, and onto a row that is shown.
        r = std::clamp(r, m_nFixedRows, std::max(m_nFixedRows, m_nRows - 1));
        if (GetRowHeight(r) <= 0) {
            int v = NextVisibleRow(r, down ? -1 : 1);
            if (v < 0) v = NextVisibleRow(r, down ? 1 : -1);
            r = v;
        }
        if (r >= 0) next.row = r;
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
        const int c = home ? NextVisibleCol(m_nFixedCols - 1, 1) : NextVisibleCol(m_nCols, -1);
        if (c >= 0) next.col = c;
        const int from = mods.ctrl ? (home ? m_nFixedRows : m_nRows - 1) : focus.row;
        const int r = home ? NextVisibleRow(from - 1, 1) : NextVisibleRow(from + 1, -1);
        if (r >= 0) next.row = r;
        break;
    }
    case GridKey::Delete:
        if (m_bEditable) CutSelectedText(EditCause::Delete);
        return;
    case GridKey::F2:
        OnEditCell(focus.row, focus.col, {}, EditCause::Click);
        return;
    default:
        return;
    }

    if (next == focus || !IsValid(next)) return;
    if (m_MouseMode == MouseNone) {
        m_PrevSelectedCellMap.clear();
        m_MouseMode = m_bListMode ? MouseSelectRow : MouseSelectCells;
        if (changeAnchor) m_SelectionStartCell = next;
        SendMessageToParent(next.row, next.col, GridNotifySelChanging);
        OnSelecting(next);
        SendMessageToParent(next.row, next.col, GridNotifySelChanged);
        m_MouseMode = MouseNone;
    }
    SetFocusCell(next);
    EnsureVisible(next);
}

void CDataGrid::OnChar(char32_t ch, GridModifiers mods) {
    if (mods.ctrl || m_MouseMode != MouseNone || ch == 0x1B) return;
    if (ch == U'\t' && m_bHandleTabKey) return;
    if (!IsValid(m_idCurrentCell)) return;
    OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, {}, EditCause::Typed, ch);
}

void CDataGrid::OnMouseWheel(int delta) {
    const long long magnitude = delta < 0 ? -static_cast<long long>(delta) : delta;
    if (m_nRowsPerWheelNotch == -1) {
        const long long notches = std::min<long long>(magnitude / 120, m_nRows + 1);
        for (long long i = 0; i < notches; ++i) OnVScroll(delta > 0 ? ScrollCode::PageUp : ScrollCode::PageDown);
        return;
    }
    // More lines than rows scroll no further, so the count is bounded by the rows.
    const long long lines = std::max(0, m_nRowsPerWheelNotch) * magnitude / 120;
    const int count = static_cast<int>(std::min<long long>(lines, m_nRows + 1));
    for (int i = 0; i < count; ++i) OnVScroll(delta > 0 ? ScrollCode::LineUp : ScrollCode::LineDown);
}
