// Geometry and scrolling: scroll bars, the top-left cell, visible ranges, cell rectangles, hit
// testing, scroll actions, EnsureVisible and auto-sizing. Cells snap to the top-left corner of
// the body: a scroll position selects the first row and column shown.
#include <algorithm>

#include "DataGrid.h"
#include "GridMeasureCache.h"

namespace {
int Clamp(int v, int lo, int hi)
{
    return std::max(lo, std::min(v, hi));
}
}  // namespace

void CDataGrid::SetClientSize(int cx, int cy)
{
    clientCx_ = std::max(cx, 0);
    clientCy_ = std::max(cy, 0);
    EndEditing();
    idTopLeftCell_ = {};
    ResetScrollBars();
    Refresh();
}

void CDataGrid::SetScrollBarExtent(int verticalBarWidth, int horizontalBarHeight)
{
    vBarWidth_ = std::max(verticalBarWidth, 0);
    hBarHeight_ = std::max(horizontalBarHeight, 0);
    ResetScrollBars();
}

GridRect CDataGrid::GetClientRect() const
{
    return {0, 0, std::max(0, clientCx_ - (vert_.shown ? vBarWidth_ : 0)),
            std::max(0, clientCy_ - (horz_.shown ? hBarHeight_ : 0))};
}

int CDataGrid::VisibleWidth() const
{
    return std::max(0, GetClientRect().right - GetFixedColumnWidth());
}
int CDataGrid::VisibleHeight() const
{
    return std::max(0, GetClientRect().bottom - GetFixedRowHeight());
}

void CDataGrid::ResetScrollBars()
{
    if (!allowDraw_)
        return;
    const int fixedW = GetFixedColumnWidth(), fixedH = GetFixedRowHeight();
    int visW = clientCx_ - fixedW, visH = clientCy_ - fixedH;
    const int totalW = GetVirtualWidth() - fixedW, totalH = GetVirtualHeight() - fixedH;
    const ScrollBarInfo oldH = horz_, oldV = vert_;
    if (visW <= 0 || visH <= 0) {
        horz_ = {};
        vert_ = {};
    } else {
        bool needV = totalH > visH, needH = totalW > visW;
        if (needV && !needH)
            needH = totalW > visW - vBarWidth_;
        if (needH && !needV)
            needV = totalH > visH - hBarHeight_;
        if (needV)
            visW -= vBarWidth_;
        if (needH)
            visH -= hBarHeight_;
        visW = std::max(visW, 0);
        visH = std::max(visH, 0);
        vert_ = needV ? ScrollBarInfo{true, totalH - 1, visH,
                                      Clamp(vert_.pos, 0, std::max(0, totalH - visH))}
                      : ScrollBarInfo{};
        horz_ = needH ? ScrollBarInfo{true, totalW - 1, visW,
                                      Clamp(horz_.pos, 0, std::max(0, totalW - visW))}
                      : ScrollBarInfo{};
    }
    if (oldH.pos != horz_.pos || oldV.pos != vert_.pos)
        idTopLeftCell_ = {};
    if ((oldH != horz_ || oldV != vert_) && host_)
        host_->ScrollBarsChanged(horz_, vert_);
}

void CDataGrid::SetScrollPos(bool vertical, int pos)
{
    ScrollBarInfo& bar = vertical ? vert_ : horz_;
    const int largest = bar.shown ? std::max(0, bar.max + 1 - bar.page) : 0;
    pos = Clamp(pos, 0, largest);
    if (pos == bar.pos)
        return;
    bar.pos = pos;
    idTopLeftCell_ = {};
    if (host_)
        host_->ScrollBarsChanged(horz_, vert_);
}

CCellPos CDataGrid::GetTopleftNonFixedCell(bool forceRecalculation)
{
    if (idTopLeftCell_.IsValid() && !forceRecalculation)
        return idTopLeftCell_;
    int col = fixedCols_, right = 0;
    while (right < horz_.pos && col < cols_ - 1)
        right += colWidths_[static_cast<std::size_t>(col++)];
    int row = fixedRows_, bottom = 0;
    while (bottom < vert_.pos && row < rows_ - 1)
        bottom += rowHeights_[static_cast<std::size_t>(row++)];
    idTopLeftCell_ = {row, col};
    return idTopLeftCell_;
}

CCellBlock CDataGrid::GetVisibleNonFixedCellRange(GridRect* rect)
{
    const GridRect client = GetClientRect();
    const CCellPos tl = GetTopleftNonFixedCell();
    int bottom = GetFixedRowHeight(), row = tl.row;
    for (; row < rows_; ++row) {
        bottom += rowHeights_[static_cast<std::size_t>(row)];
        if (bottom >= client.bottom)
            break;
    }
    int right = GetFixedColumnWidth(), col = tl.col;
    for (; col < cols_; ++col) {
        right += colWidths_[static_cast<std::size_t>(col)];
        if (right >= client.right)
            break;
    }
    if (rect)
        *rect = {GetFixedColumnWidth(), GetFixedRowHeight(), right, bottom};
    return {tl.row, tl.col, std::min(row, rows_ - 1), std::min(col, cols_ - 1)};
}

CCellBlock CDataGrid::GetVisibleFixedCellRange(GridRect* rect)
{
    GridRect body;
    const CCellBlock range = GetVisibleNonFixedCellRange(&body);
    if (rect)
        *rect = {0, 0, body.right, body.bottom};
    return {0, 0, range.maxRow, range.maxCol};
}

bool CDataGrid::GetCellOrigin(int row, int col, GridPoint& origin)
{
    if (!IsValid(row, col))
        return false;
    const CCellPos tl = GetTopleftNonFixedCell();
    int x = 0, y = 0;
    if (col < fixedCols_) {
        for (int c = 0; c < col; ++c)
            x += colWidths_[static_cast<std::size_t>(c)];
    } else {
        if (col < tl.col)
            return false;
        x = GetFixedColumnWidth();
        for (int c = tl.col; c < col; ++c)
            x += colWidths_[static_cast<std::size_t>(c)];
    }
    if (row < fixedRows_) {
        for (int r = 0; r < row; ++r)
            y += rowHeights_[static_cast<std::size_t>(r)];
    } else {
        if (row < tl.row)
            return false;
        y = GetFixedRowHeight();
        for (int r = tl.row; r < row; ++r)
            y += rowHeights_[static_cast<std::size_t>(r)];
    }
    origin = {x, y};
    return true;
}

bool CDataGrid::GetCellRect(int row, int col, GridRect& rect)
{
    GridPoint origin;
    if (!GetCellOrigin(row, col, origin))
        return false;
    // The last pixel column and row belong to the grid lines.
    rect = {origin.x, origin.y, origin.x + GetColumnWidth(col) - 1,
            origin.y + GetRowHeight(row) - 1};
    return true;
}

bool CDataGrid::GetTextRect(int row, int col, GridRect& rect)
{
    const CDataGridCellBase* cell = GetCell(row, col);
    if (!cell || !GetCellRect(row, col, rect))
        return false;
    return cell->GetTextRect(rect);
}

CCellPos CDataGrid::GetCellFromPt(GridPoint point, bool allowFixedCellCheck)
{
    const CCellPos tl = GetTopleftNonFixedCell();
    const int fixedW = GetFixedColumnWidth(), fixedH = GetFixedRowHeight();
    CCellPos cell;
    if (point.x < 0 || (!allowFixedCellCheck && point.x < fixedW)) {
        cell.col = -1;
    } else if (point.x < fixedW) {
        int x = 0, c = 0;
        for (; c < fixedCols_; ++c) {
            x += colWidths_[static_cast<std::size_t>(c)];
            if (x > point.x)
                break;
        }
        cell.col = c < fixedCols_ ? c : -1;
    } else {
        int x = fixedW, c = tl.col;
        for (; c < cols_; ++c) {
            x += colWidths_[static_cast<std::size_t>(c)];
            if (x > point.x)
                break;
        }
        cell.col = c < cols_ ? c : -1;
    }
    if (point.y < 0 || (!allowFixedCellCheck && point.y < fixedH)) {
        cell.row = -1;
    } else if (point.y < fixedH) {
        int y = 0, r = 0;
        for (; r < fixedRows_; ++r) {
            y += rowHeights_[static_cast<std::size_t>(r)];
            if (y > point.y)
                break;
        }
        cell.row = r < fixedRows_ ? r : -1;
    } else {
        int y = fixedH, r = tl.row;
        for (; r < rows_; ++r) {
            y += rowHeights_[static_cast<std::size_t>(r)];
            if (y > point.y)
                break;
        }
        cell.row = r < rows_ ? r : -1;
    }
    return cell;
}

bool CDataGrid::IsCellVisible(int row, int col)
{
    GridPoint origin;
    if (!GetCellOrigin(row, col, origin))
        return false;
    const GridRect client = GetClientRect();
    return origin.x < client.right && origin.y < client.bottom;
}

void CDataGrid::ScrollAxis(bool vertical, ScrollCode code, int trackPos)
{
    if (code == ScrollCode::EndScroll)
        return;
    EndEditing();
    if (host_)
        host_->HideTitleTip();
    const ScrollBarInfo& bar = vertical ? vert_ : horz_;
    const std::vector<int>& sizes = vertical ? rowHeights_ : colWidths_;
    const int fixed = vertical ? fixedRows_ : fixedCols_;
    const int count = vertical ? rows_ : cols_;
    const int largest = bar.shown ? std::max(0, bar.max + 1 - bar.page) : 0;
    const CCellPos tl = GetTopleftNonFixedCell();
    const int first = vertical ? tl.row : tl.col;
    int pos = bar.pos;
    switch (code) {
    case ScrollCode::LineUp:
        if (pos > 0 && first > fixed) {
            int i = first - 1;
            while (i > fixed && sizes[static_cast<std::size_t>(i)] == 0)
                --i;
            pos = std::max(0, pos - sizes[static_cast<std::size_t>(i)]);
        }
        break;
    case ScrollCode::LineDown:
        if (pos < largest && first >= 0 && first < count) {
            int i = first;
            while (i < count - 1 && sizes[static_cast<std::size_t>(i)] == 0)
                ++i;
            pos = std::min(largest, pos + sizes[static_cast<std::size_t>(i)]);
        }
        break;
    case ScrollCode::PageUp:
        pos = std::max(0, pos - (vertical ? VisibleHeight() : VisibleWidth()));
        break;
    case ScrollCode::PageDown:
        pos = std::min(largest, pos + (vertical ? VisibleHeight() : VisibleWidth()));
        break;
    case ScrollCode::Top: pos = 0; break;
    case ScrollCode::Bottom: pos = largest; break;
    case ScrollCode::ThumbPosition:
    case ScrollCode::ThumbTrack: pos = Clamp(trackPos, 0, largest); break;
    case ScrollCode::EndScroll: return;
    }
    if (pos == bar.pos)
        return;
    SetScrollPos(vertical, pos);
    Refresh();
}

void CDataGrid::OnHScroll(ScrollCode code, int trackPos)
{
    ScrollAxis(false, code, trackPos);
}
void CDataGrid::OnVScroll(ScrollCode code, int trackPos)
{
    ScrollAxis(true, code, trackPos);
}

void CDataGrid::EnsureVisible(int row, int col)
{
    if (!allowDraw_ || !IsValid(row, col))
        return;
    const CCellBlock range = GetVisibleNonFixedCellRange();
    if (col >= fixedCols_) {
        for (int c = range.maxCol + 1; c <= col; ++c)
            if (GetColumnWidth(c) > 0)
                OnHScroll(ScrollCode::LineDown);
        for (int c = range.minCol - 1; c >= col; --c)
            if (GetColumnWidth(c) > 0)
                OnHScroll(ScrollCode::LineUp);
    }
    if (row >= fixedRows_) {
        for (int r = range.maxRow + 1; r <= row; ++r)
            if (GetRowHeight(r) > 0)
                OnVScroll(ScrollCode::LineDown);
        for (int r = range.minRow - 1; r >= row; --r)
            if (GetRowHeight(r) > 0)
                OnVScroll(ScrollCode::LineUp);
    }
    // A cell only partly shown at the right or bottom edge: one more line at a time.
    GridRect rect;
    const GridRect client = GetClientRect();
    while (GetCellRect(row, col, rect) && rect.right > client.right
           && rect.left > GetFixedColumnWidth() && horz_.shown) {
        const int before = horz_.pos;
        OnHScroll(ScrollCode::LineDown);
        if (horz_.pos == before)
            break;
    }
    while (GetCellRect(row, col, rect) && rect.bottom > GetClientRect().bottom
           && rect.top > GetFixedRowHeight() && vert_.shown) {
        const int before = vert_.pos;
        OnVScroll(ScrollCode::LineDown);
        if (vert_.pos == before)
            break;
    }
}

void CDataGrid::AutoSizeColumn(int col, int style, bool resetScroll)
{
    if (col < 0 || col >= cols_ || GetColumnWidth(col) == 0)
        return;
    if (style == 0)
        style = autoSizeColumnStyle_;
    const int r0 = (style & AutoSizeHeader) ? 0 : fixedRows_;
    const int r1 = (style & AutoSizeData) ? rows_ - 1 : fixedRows_ - 1;
    CGridMeasureCache measure(measurer_);
    int width = 0;
    for (int r = r0; r <= r1; ++r)
        if (GetRowHeight(r) > 0)
            if (const CDataGridCellBase* cell = GetCell(r, col))
                width = std::max(width, cell->GetCellExtent(&measure).cx);
    colWidths_[static_cast<std::size_t>(col)] = width;
    idTopLeftCell_ = {};
    if (resetScroll) {
        ResetScrollBars();
        Refresh();
    }
}

void CDataGrid::AutoSizeRow(int row, bool resetScroll)
{
    if (row < 0 || row >= rows_ || GetRowHeight(row) == 0)
        return;
    CGridMeasureCache measure(measurer_);
    int height = 0;
    for (int c = 0; c < cols_; ++c)
        if (const CDataGridCellBase* cell = GetCell(row, c))
            height = std::max(height, cell->GetCellExtent(&measure).cy);
    rowHeights_[static_cast<std::size_t>(row)] = height;
    idTopLeftCell_ = {};
    if (resetScroll) {
        ResetScrollBars();
        Refresh();
    }
}

void CDataGrid::AutoSize(int style)
{
    if (style == 0)
        style = autoSizeColumnStyle_;
    const int r0 = (style & AutoSizeHeader) ? 0 : fixedRows_;
    const int r1 = (style & AutoSizeData) ? rows_ - 1 : fixedRows_ - 1;
    for (int r = r0; r <= r1; ++r)
        if (GetRowHeight(r) > 0)
            rowHeights_[static_cast<std::size_t>(r)] = 1;
    CGridMeasureCache measure(measurer_);
    for (int c = 0; c < cols_; ++c) {
        if (GetColumnWidth(c) <= 0)
            continue;
        int width = 0;
        for (int r = r0; r <= r1; ++r) {
            if (GetRowHeight(r) <= 0)
                continue;
            const CDataGridCellBase* cell = GetCell(r, c);
            if (!cell)
                continue;
            const GridSize extent = cell->GetCellExtent(&measure);
            width = std::max(width, extent.cx);
            int& height = rowHeights_[static_cast<std::size_t>(r)];
            height = std::max(height, extent.cy);
        }
        colWidths_[static_cast<std::size_t>(c)] = width;
    }
    idTopLeftCell_ = {};
    ResetScrollBars();
    Refresh();
}

void CDataGrid::InvalidateAll()
{
    if (allowDraw_ && host_)
        host_->Invalidate(nullptr);
}

void CDataGrid::InvalidateRect(const GridRect& rect)
{
    if (allowDraw_ && host_)
        host_->Invalidate(&rect);
}

void CDataGrid::Refresh()
{
    InvalidateAll();
}

void CDataGrid::RedrawCell(int row, int col)
{
    if (!allowDraw_ || !host_ || !IsValid(row, col))
        return;
    GridRect rect;
    if (GetCellRect(row, col, rect))
        InvalidateRect(rect.Inflated(0, 0, 1, 1));
}
