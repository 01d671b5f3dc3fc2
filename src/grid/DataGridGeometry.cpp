// Geometry and scrolling: scroll bars, the top-left cell, visible ranges, cell rectangles, hit
// testing, scroll actions, EnsureVisible and auto-sizing. Cells snap to the top-left corner of
// the body: a scroll position selects the first row and column shown.
#include <algorithm>

#include "DataGrid.h"

namespace {
int Clamp(int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); }
}  // namespace

void CDataGrid::SetClientSize(int cx, int cy) {
    m_clientCx = std::max(cx, 0);
    m_clientCy = std::max(cy, 0);
    EndEditing();
    m_idTopLeftCell = {};
    ResetScrollBars();
    Refresh();
}

void CDataGrid::SetScrollBarExtent(int verticalBarWidth, int horizontalBarHeight) {
    m_vBarWidth = std::max(verticalBarWidth, 0);
    m_hBarHeight = std::max(horizontalBarHeight, 0);
    ResetScrollBars();
}

GridRect CDataGrid::GetClientRect() const {
    return {0, 0, std::max(0, m_clientCx - (m_vert.shown ? m_vBarWidth : 0)),
            std::max(0, m_clientCy - (m_horz.shown ? m_hBarHeight : 0))};
}

int CDataGrid::VisibleWidth() const { return std::max(0, GetClientRect().right - GetFixedColumnWidth()); }
int CDataGrid::VisibleHeight() const { return std::max(0, GetClientRect().bottom - GetFixedRowHeight()); }

void CDataGrid::ResetScrollBars() {
    if (!m_bAllowDraw) return;
    const int fixedW = GetFixedColumnWidth(), fixedH = GetFixedRowHeight();
    int visW = m_clientCx - fixedW, visH = m_clientCy - fixedH;
    const int totalW = GetVirtualWidth() - fixedW, totalH = GetVirtualHeight() - fixedH;
    const ScrollBarInfo oldH = m_horz, oldV = m_vert;
    if (visW <= 0 || visH <= 0) {
        m_horz = {};
        m_vert = {};
    } else {
        bool needV = totalH > visH, needH = totalW > visW;
        if (needV && !needH) needH = totalW > visW - m_vBarWidth;
        if (needH && !needV) needV = totalH > visH - m_hBarHeight;
        if (needV) visW -= m_vBarWidth;
        if (needH) visH -= m_hBarHeight;
        visW = std::max(visW, 0);
        visH = std::max(visH, 0);
        m_vert = needV ? ScrollBarInfo{true, totalH - 1, visH, Clamp(m_vert.pos, 0, std::max(0, totalH - visH))}
                       : ScrollBarInfo{};
        m_horz = needH ? ScrollBarInfo{true, totalW - 1, visW, Clamp(m_horz.pos, 0, std::max(0, totalW - visW))}
                       : ScrollBarInfo{};
    }
    if (oldH.pos != m_horz.pos || oldV.pos != m_vert.pos) m_idTopLeftCell = {};
    if ((oldH != m_horz || oldV != m_vert) && m_pHost) m_pHost->ScrollBarsChanged(m_horz, m_vert);
}

void CDataGrid::SetScrollPos(bool vertical, int pos) {
    ScrollBarInfo& bar = vertical ? m_vert : m_horz;
    const int largest = bar.shown ? std::max(0, bar.max + 1 - bar.page) : 0;
    pos = Clamp(pos, 0, largest);
    if (pos == bar.pos) return;
    bar.pos = pos;
    m_idTopLeftCell = {};
    if (m_pHost) m_pHost->ScrollBarsChanged(m_horz, m_vert);
}

CCellPos CDataGrid::GetTopleftNonFixedCell(bool forceRecalculation) {
    if (m_idTopLeftCell.IsValid() && !forceRecalculation) return m_idTopLeftCell;
    int col = m_nFixedCols, right = 0;
    while (right < m_horz.pos && col < m_nCols - 1) right += m_arColWidths[static_cast<std::size_t>(col++)];
    int row = m_nFixedRows, bottom = 0;
    while (bottom < m_vert.pos && row < m_nRows - 1) bottom += m_arRowHeights[static_cast<std::size_t>(row++)];
    m_idTopLeftCell = {row, col};
    return m_idTopLeftCell;
}

CCellBlock CDataGrid::GetVisibleNonFixedCellRange(GridRect* rect) {
    const GridRect client = GetClientRect();
    const CCellPos tl = GetTopleftNonFixedCell();
    int bottom = GetFixedRowHeight(), row = tl.row;
    for (; row < m_nRows; ++row) {
        bottom += m_arRowHeights[static_cast<std::size_t>(row)];
        if (bottom >= client.bottom) break;
    }
    int right = GetFixedColumnWidth(), col = tl.col;
    for (; col < m_nCols; ++col) {
        right += m_arColWidths[static_cast<std::size_t>(col)];
        if (right >= client.right) break;
    }
    if (rect) *rect = {GetFixedColumnWidth(), GetFixedRowHeight(), right, bottom};
    return {tl.row, tl.col, std::min(row, m_nRows - 1), std::min(col, m_nCols - 1)};
}

CCellBlock CDataGrid::GetVisibleFixedCellRange(GridRect* rect) {
    GridRect body;
    const CCellBlock range = GetVisibleNonFixedCellRange(&body);
    if (rect) *rect = {0, 0, body.right, body.bottom};
    return {0, 0, range.maxRow, range.maxCol};
}

bool CDataGrid::GetCellOrigin(int row, int col, GridPoint& origin) {
    if (!IsValid(row, col)) return false;
    const CCellPos tl = GetTopleftNonFixedCell();
    int x = 0, y = 0;
    if (col < m_nFixedCols) {
        for (int c = 0; c < col; ++c) x += m_arColWidths[static_cast<std::size_t>(c)];
    } else {
        if (col < tl.col) return false;
        x = GetFixedColumnWidth();
        for (int c = tl.col; c < col; ++c) x += m_arColWidths[static_cast<std::size_t>(c)];
    }
    if (row < m_nFixedRows) {
        for (int r = 0; r < row; ++r) y += m_arRowHeights[static_cast<std::size_t>(r)];
    } else {
        if (row < tl.row) return false;
        y = GetFixedRowHeight();
        for (int r = tl.row; r < row; ++r) y += m_arRowHeights[static_cast<std::size_t>(r)];
    }
    origin = {x, y};
    return true;
}

bool CDataGrid::GetCellRect(int row, int col, GridRect& rect) {
    GridPoint origin;
    if (!GetCellOrigin(row, col, origin)) return false;
    // The last pixel column and row belong to the grid lines.
    rect = {origin.x, origin.y, origin.x + GetColumnWidth(col) - 1, origin.y + GetRowHeight(row) - 1};
    return true;
}

bool CDataGrid::GetTextRect(int row, int col, GridRect& rect) {
    const CDataGridCellBase* cell = GetCell(row, col);
    if (!cell || !GetCellRect(row, col, rect)) return false;
    return cell->GetTextRect(rect);
}

CCellPos CDataGrid::GetCellFromPt(GridPoint point, bool allowFixedCellCheck) {
    const CCellPos tl = GetTopleftNonFixedCell();
    const int fixedW = GetFixedColumnWidth(), fixedH = GetFixedRowHeight();
    CCellPos cell;
    if (point.x < 0 || (!allowFixedCellCheck && point.x < fixedW)) {
        cell.col = -1;
    } else if (point.x < fixedW) {
        int x = 0, c = 0;
        for (; c < m_nFixedCols; ++c) {
            x += m_arColWidths[static_cast<std::size_t>(c)];
            if (x > point.x) break;
        }
        cell.col = c < m_nFixedCols ? c : -1;
    } else {
        int x = fixedW, c = tl.col;
        for (; c < m_nCols; ++c) {
            x += m_arColWidths[static_cast<std::size_t>(c)];
            if (x > point.x) break;
        }
        cell.col = c < m_nCols ? c : -1;
    }
    if (point.y < 0 || (!allowFixedCellCheck && point.y < fixedH)) {
        cell.row = -1;
    } else if (point.y < fixedH) {
        int y = 0, r = 0;
        for (; r < m_nFixedRows; ++r) {
            y += m_arRowHeights[static_cast<std::size_t>(r)];
            if (y > point.y) break;
        }
        cell.row = r < m_nFixedRows ? r : -1;
    } else {
        int y = fixedH, r = tl.row;
        for (; r < m_nRows; ++r) {
            y += m_arRowHeights[static_cast<std::size_t>(r)];
            if (y > point.y) break;
        }
        cell.row = r < m_nRows ? r : -1;
    }
    return cell;
}

bool CDataGrid::IsCellVisible(int row, int col) {
    GridPoint origin;
    if (!GetCellOrigin(row, col, origin)) return false;
    const GridRect client = GetClientRect();
    return origin.x < client.right && origin.y < client.bottom;
}

void CDataGrid::ScrollAxis(bool vertical, ScrollCode code, int trackPos) {
    if (code == ScrollCode::EndScroll) return;
    EndEditing();
    if (m_pHost) m_pHost->HideTitleTip();
    const ScrollBarInfo& bar = vertical ? m_vert : m_horz;
    const std::vector<int>& sizes = vertical ? m_arRowHeights : m_arColWidths;
    const int fixed = vertical ? m_nFixedRows : m_nFixedCols;
    const int count = vertical ? m_nRows : m_nCols;
    const int largest = bar.shown ? std::max(0, bar.max + 1 - bar.page) : 0;
    const CCellPos tl = GetTopleftNonFixedCell();
    const int first = vertical ? tl.row : tl.col;
    int pos = bar.pos;
    switch (code) {
    case ScrollCode::LineUp:
        if (pos > 0 && first > fixed) {
            int i = first - 1;
            while (i > fixed && sizes[static_cast<std::size_t>(i)] == 0) --i;
            pos = std::max(0, pos - sizes[static_cast<std::size_t>(i)]);
        }
        break;
    case ScrollCode::LineDown:
        if (pos < largest && first >= 0 && first < count) {
            int i = first;
            while (i < count - 1 && sizes[static_cast<std::size_t>(i)] == 0) ++i;
            pos = std::min(largest, pos + sizes[static_cast<std::size_t>(i)]);
        }
        break;
    case ScrollCode::PageUp: pos = std::max(0, pos - (vertical ? VisibleHeight() : VisibleWidth())); break;
    case ScrollCode::PageDown: pos = std::min(largest, pos + (vertical ? VisibleHeight() : VisibleWidth())); break;
    case ScrollCode::Top: pos = 0; break;
    case ScrollCode::Bottom: pos = largest; break;
    case ScrollCode::ThumbPosition:
    case ScrollCode::ThumbTrack: pos = Clamp(trackPos, 0, largest); break;
    case ScrollCode::EndScroll: return;
    }
    if (pos == bar.pos) return;
    SetScrollPos(vertical, pos);
    Refresh();
}

void CDataGrid::OnHScroll(ScrollCode code, int trackPos) { ScrollAxis(false, code, trackPos); }
void CDataGrid::OnVScroll(ScrollCode code, int trackPos) { ScrollAxis(true, code, trackPos); }

void CDataGrid::EnsureVisible(int row, int col) {
    if (!m_bAllowDraw || !IsValid(row, col)) return;
    const CCellBlock range = GetVisibleNonFixedCellRange();
    if (col >= m_nFixedCols) {
        for (int c = range.maxCol + 1; c <= col; ++c)
            if (GetColumnWidth(c) > 0) OnHScroll(ScrollCode::LineDown);
        for (int c = range.minCol - 1; c >= col; --c)
            if (GetColumnWidth(c) > 0) OnHScroll(ScrollCode::LineUp);
    }
    if (row >= m_nFixedRows) {
        for (int r = range.maxRow + 1; r <= row; ++r)
            if (GetRowHeight(r) > 0) OnVScroll(ScrollCode::LineDown);
        for (int r = range.minRow - 1; r >= row; --r)
            if (GetRowHeight(r) > 0) OnVScroll(ScrollCode::LineUp);
    }
    // A cell only partly shown at the right or bottom edge: one more line at a time.
    GridRect rect;
    const GridRect client = GetClientRect();
    while (GetCellRect(row, col, rect) && rect.right > client.right && rect.left > GetFixedColumnWidth() &&
           m_horz.shown) {
        const int before = m_horz.pos;
        OnHScroll(ScrollCode::LineDown);
        if (m_horz.pos == before) break;
    }
    while (GetCellRect(row, col, rect) && rect.bottom > GetClientRect().bottom && rect.top > GetFixedRowHeight() &&
           m_vert.shown) {
        const int before = m_vert.pos;
        OnVScroll(ScrollCode::LineDown);
        if (m_vert.pos == before) break;
    }
}

void CDataGrid::AutoSizeColumn(int col, int style, bool resetScroll) {
    if (col < 0 || col >= m_nCols || GetColumnWidth(col) == 0) return;
    if (style == 0) style = m_nAutoSizeColumnStyle;
    const int r0 = (style & AutoSizeHeader) ? 0 : m_nFixedRows;
    const int r1 = (style & AutoSizeData) ? m_nRows - 1 : m_nFixedRows - 1;
    int width = 0;
    for (int r = r0; r <= r1; ++r)
        if (GetRowHeight(r) > 0)
            if (const CDataGridCellBase* cell = GetCell(r, col))
                width = std::max(width, cell->GetCellExtent(m_pMeasurer).cx);
    m_arColWidths[static_cast<std::size_t>(col)] = width;
    m_idTopLeftCell = {};
    if (resetScroll) {
        ResetScrollBars();
        Refresh();
    }
}

void CDataGrid::AutoSizeRow(int row, bool resetScroll) {
    if (row < 0 || row >= m_nRows || GetRowHeight(row) == 0) return;
    int height = 0;
    for (int c = 0; c < m_nCols; ++c)
        if (const CDataGridCellBase* cell = GetCell(row, c))
            height = std::max(height, cell->GetCellExtent(m_pMeasurer).cy);
    m_arRowHeights[static_cast<std::size_t>(row)] = height;
    m_idTopLeftCell = {};
    if (resetScroll) {
        ResetScrollBars();
        Refresh();
    }
}

void CDataGrid::AutoSize(int style) {
    if (style == 0) style = m_nAutoSizeColumnStyle;
    const int r0 = (style & AutoSizeHeader) ? 0 : m_nFixedRows;
    const int r1 = (style & AutoSizeData) ? m_nRows - 1 : m_nFixedRows - 1;
    for (int r = r0; r <= r1; ++r)
        if (GetRowHeight(r) > 0) m_arRowHeights[static_cast<std::size_t>(r)] = 1;
    for (int c = 0; c < m_nCols; ++c) {
        if (GetColumnWidth(c) <= 0) continue;
        int width = 0;
        for (int r = r0; r <= r1; ++r) {
            if (GetRowHeight(r) <= 0) continue;
            const CDataGridCellBase* cell = GetCell(r, c);
            if (!cell) continue;
            const GridSize extent = cell->GetCellExtent(m_pMeasurer);
            width = std::max(width, extent.cx);
            int& height = m_arRowHeights[static_cast<std::size_t>(r)];
            height = std::max(height, extent.cy);
        }
        m_arColWidths[static_cast<std::size_t>(c)] = width;
    }
    m_idTopLeftCell = {};
    ResetScrollBars();
    Refresh();
}

void CDataGrid::InvalidateAll() {
    if (m_bAllowDraw && m_pHost) m_pHost->Invalidate(nullptr);
}

void CDataGrid::InvalidateRect(const GridRect& rect) {
    if (m_bAllowDraw && m_pHost) m_pHost->Invalidate(&rect);
}

void CDataGrid::Refresh() { InvalidateAll(); }

void CDataGrid::RedrawCell(int row, int col) {
    if (!m_bAllowDraw || !m_pHost || !IsValid(row, col)) return;
    GridRect rect;
    if (GetCellRect(row, col, rect)) InvalidateRect(rect.Inflated(0, 0, 1, 1));
}
