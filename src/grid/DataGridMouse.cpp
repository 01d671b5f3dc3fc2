// The mouse controller: a state machine over button and move events that selects, resizes
// rows and columns, starts editing and reports clicks to the owner.
#include <algorithm>
#include <cstdlib>

#include "DataGrid.h"

namespace {
// A press that moves less than this is still a click, not a drag.
constexpr int kDragThreshold = 4;
}  // namespace

bool CDataGrid::MouseOverColumnResizeArea(GridPoint point)
{
    if (point.y >= GetFixedRowHeight())
        return false;
    const CCellPos cell = GetCellFromPt(point);
    GridPoint origin;
    if (!IsValid(cell) || !GetCellOrigin(cell.row, cell.col, origin))
        return false;
    const int end = origin.x + GetColumnWidth(cell.col);
    return (point.x - origin.x < resizeCaptureRange_ && cell.col != 0)
           || end - point.x < resizeCaptureRange_;
}

bool CDataGrid::MouseOverRowResizeArea(GridPoint point)
{
    if (point.x >= GetFixedColumnWidth())
        return false;
    const CCellPos cell = GetCellFromPt(point);
    GridPoint origin;
    if (!IsValid(cell) || !GetCellOrigin(cell.row, cell.col, origin))
        return false;
    const int end = origin.y + GetRowHeight(cell.row);
    return (point.y - origin.y < resizeCaptureRange_ && cell.row != 0)
           || end - point.y < resizeCaptureRange_;
}

GridCursor CDataGrid::CursorAt(GridPoint point)
{
    if (mouseMode_ == MouseSizingCol)
        return GridCursor::SizeWE;
    if (mouseMode_ == MouseSizingRow)
        return GridCursor::SizeNS;
    if (allowColumnResize_ && MouseOverColumnResizeArea(point))
        return GridCursor::SizeWE;
    if (allowRowResize_ && MouseOverRowResizeArea(point))
        return GridCursor::SizeNS;
    return GridCursor::Arrow;
}

void CDataGrid::OnLButtonDown(GridPoint point, GridModifiers mods)
{
    if (host_)
        host_->TakeFocus();
    leftClickDownPoint_ = lastMousePoint_ = point;
    lMouseButtonDown_ = true;
    dragColumn_ = -1;
    leftClickDownCell_ = GetCellFromPt(point);
    const CCellPos down = leftClickDownCell_;
    if (!IsValid(down))
        return;

    if (!mods.shift)
        selectionStartCell_ = down;
    else if (!IsValid(selectionStartCell_))
        selectionStartCell_ = idCurrentCell_;

    EndEditing();
    GridPoint origin;
    if (CDataGridCellBase* cell = GetCell(down.row, down.col);
        cell && GetCellOrigin(down.row, down.col, origin))
        cell->OnClickDown({point.x - origin.x, point.y - origin.y});

    GridRect textRect;
    if (down == idCurrentCell_ && !mods.ctrl && GetTextRect(down.row, down.col, textRect)
        && textRect.Inflated(0, 0, 1, 1).Contains(point) && IsCellEditable(down.row, down.col)) {
        mouseMode_ = MousePrepareEdit;
        return;
    }

    if (IsCellSelected(down.row, down.col)) {
        SetFocusCell(down);
        if (mods.ctrl) {
            if (listMode_)
                SelectRows(down, false, false);
            else
                SelectCells(down, false, false);
            return;
        }
        if (allowDragAndDrop_)
            mouseMode_ = MousePrepareDrag;
    } else if (mouseMode_ != MouseOverColDivide && mouseMode_ != MouseOverRowDivide) {
        if (IsCellFixed(down.row, down.col))
            SetFocusCell(-1, -1);
        else
            SetFocusCell(down);
    }

    if (host_)
        host_->SetCapture(true);
    capture_ = true;

    if (mouseMode_ == MouseNone) {
        if (allowColumnResize_ && MouseOverColumnResizeArea(point)) {
            mouseMode_ = MouseOverColDivide;
        } else if (allowRowResize_ && MouseOverRowResizeArea(point)) {
            mouseMode_ = MouseOverRowDivide;
        }
    }

    if (mouseMode_ == MouseOverColDivide || mouseMode_ == MouseOverRowDivide) {
        const bool cols = mouseMode_ == MouseOverColDivide;
        GetCellOrigin(down.row, down.col, origin);
        int index = cols ? down.col : down.row;
        if ((cols ? point.x - origin.x : point.y - origin.y) < resizeCaptureRange_) {
            // The border at the cell's leading edge belongs to the one before it.
            --index;
            if (!(cols ? hiddenColUnhide_ : hiddenRowUnhide_))
                while (index > 0 && (cols ? GetColumnWidth(index) : GetRowHeight(index)) == 0)
                    --index;
        }
        if (index < 0) {
            mouseMode_ = MouseNone;
            return;
        }
        sizingIndex_ = index;
        mouseMode_ = cols ? MouseSizingCol : MouseSizingRow;
        trackingLine_ = {true, cols, cols ? point.x : point.y};
        if (host_)
            host_->SetCursor(cols ? GridCursor::SizeWE : GridCursor::SizeNS);
        InvalidateAll();
        return;
    }

    if (mouseMode_ != MousePrepareDrag) {
        SendMessageToParent(down.row, down.col, GridNotifySelChanging);
        if (mods.ctrl)
            prevSelectedCellMap_ = selectedCellMap_;  // Ctrl adds to the selection
        else
            prevSelectedCellMap_.clear();
        if (down.row < fixedRows_) {
            OnFixedRowClick(down);
            if (headerDragMovesColumn_ && down.col >= fixedCols_) {
                ResetSelectedRange();
                mouseMode_ = MousePrepareDrag;
                dragColumn_ = down.col;
            }
        } else if (down.col < fixedCols_) {
            OnFixedColumnClick(down);
        } else {
            mouseMode_ = listMode_ ? MouseSelectRow : MouseSelectCells;
            OnSelecting(down);
            if (host_)
                host_->StartAutoScrollTimer(autoScrollPeriod_);
            timerRunning_ = true;
        }
    }
}

void CDataGrid::OnFixedRowClick(CCellPos cell)
{
    if (sortOnClick_) {
        const bool ascending = !(cell.col == sortColumn_ && ascending_);
        SortItems(cell.col, ascending);
        Refresh();
    }
    if (fixedRowSelection_) {
        mouseMode_ = cell.col < fixedCols_ ? MouseSelectAll : MouseSelectCol;
        OnSelecting(cell);
    }
}

void CDataGrid::OnFixedColumnClick(CCellPos cell)
{
    if (fixedColumnSelection_) {
        mouseMode_ = cell.row < fixedRows_ ? MouseSelectAll : MouseSelectRow;
        OnSelecting(cell);
    }
}

void CDataGrid::OnMouseMove(GridPoint point, GridModifiers /*mods*/, bool leftButtonDown)
{
    if (!GetClientRect().Contains(point) && mouseMode_ != MouseDragging
        && mouseMode_ != MouseSizingCol && mouseMode_ != MouseSizingRow)
        return;
    if (lMouseButtonDown_ && leftButtonDown && mouseMode_ != MouseNone) {
        switch (mouseMode_) {
        case MouseSelectCol:
        case MouseSelectRow:
        case MouseSelectCells: {
            const CCellPos cell = GetCellFromPt(point);
            if (!IsValid(cell) || cell == idCurrentCell_)
                break;
            OnSelecting(cell);
            if (mouseMode_ != MouseSelectCells || !IsCellFixed(cell.row, cell.col))
                SetFocusCell(cell);
            break;
        }
        case MouseSizingCol:
        case MouseSizingRow:
            trackingLine_.pos = mouseMode_ == MouseSizingCol ? point.x : point.y;
            InvalidateAll();
            break;
        case MousePrepareEdit:
        case MousePrepareDrag:
            if (std::abs(point.x - leftClickDownPoint_.x)
                    + std::abs(point.y - leftClickDownPoint_.y)
                >= kDragThreshold) {
                mouseMode_ = MousePrepareDrag;  // without a drag the button up is a plain click
                if (dragColumn_ >= 0)
                    mouseMode_ = MouseDragging;  // a heading: its column moves on button up
                else if (allowDragAndDrop_) {
                    const std::weak_ptr<const bool> alive = alive_;
                    OnBeginDrag();
                    if (alive.expired())
                        return;  // closed during the drag
                }
            }
            break;
        default: break;
        }
    } else {
        const GridMouseMode before = mouseMode_;
        if (allowColumnResize_ && MouseOverColumnResizeArea(point))
            mouseMode_ = MouseOverColDivide;
        else if (allowRowResize_ && MouseOverRowResizeArea(point))
            mouseMode_ = MouseOverRowDivide;
        else if (mouseMode_ == MouseOverColDivide || mouseMode_ == MouseOverRowDivide)
            mouseMode_ = MouseNone;
        if (mouseMode_ != before && host_)
            host_->SetCursor(mouseMode_ == MouseOverColDivide   ? GridCursor::SizeWE
                             : mouseMode_ == MouseOverRowDivide ? GridCursor::SizeNS
                                                                : GridCursor::Arrow);
        if (mouseMode_ == MouseNone && titleTips_ && host_) {
            const CCellPos pos = GetCellFromPt(point);
            const CDataGridCellBase* cell = GetCell(pos.row, pos.col);
            GridRect textRect, cellRect;
            if (cell && !cell->IsEditing() && !cell->GetTipText().empty()
                && GetCellRect(pos.row, pos.col, cellRect)) {
                textRect = cellRect;
                cell->GetTipTextRect(textRect);
                const std::string padded = " " + cell->GetTipText() + " ";
                const GridSize need = measurer_ ? measurer_->MeasureText(padded, cell->GetFont())
                                                : FallbackTextSize(padded);
                if (!textRect.IsEmpty() && textRect.Width() < need.cx)
                    host_->ShowTitleTip(textRect, cell->GetTipText(), cellRect, cell->GetFont(),
                                        tTipFgClr_, tTipBkClr_);
            }
        }
    }
    lastMousePoint_ = point;
}

void CDataGrid::OnLButtonUp(GridPoint point, GridModifiers /*mods*/)
{
    lMouseButtonDown_ = false;
    if (capture_) {
        if (host_)
            host_->SetCapture(false);
        capture_ = false;
    }
    if (timerRunning_) {
        if (host_)
            host_->StopAutoScrollTimer();
        timerRunning_ = false;
    }
    const CCellPos down = leftClickDownCell_;
    switch (mouseMode_) {
    case MousePrepareEdit:
        mouseMode_ = MouseNone;
        OnEditCell(idCurrentCell_.row, idCurrentCell_.col, point, EditCause::Click);
        break;
    case MousePrepareDrag: {
        GridPoint origin;
        if (CDataGridCellBase* cell = GetCell(down.row, down.col);
            cell && GetCellOrigin(down.row, down.col, origin))
            cell->OnClick({point.x - origin.x, point.y - origin.y});
        if (IsValid(down))
            SendMessageToParent(down.row, down.col, GridNotifyClick);
        SendMessageToParent(down.row, down.col, GridNotifySelChanging);
        ResetSelectedRange();
        SendMessageToParent(idCurrentCell_.row, idCurrentCell_.col, GridNotifySelChanged);
        break;
    }
    case MouseDragging: {
        const CCellPos target = GetCellFromPt(point);
        if (dragColumn_ >= 0 && target.col >= fixedCols_)
            MoveColumn(dragColumn_, target.col);
        break;
    }
    case MouseSizingCol:
    case MouseSizingRow: {
        const bool cols = mouseMode_ == MouseSizingCol;
        trackingLine_ = {};
        InvalidateAll();
        GridPoint origin;
        const int index = sizingIndex_;
        const bool known = cols ? (rows_ > 0 && GetCellOrigin(0, index, origin))
                                : (cols_ > 0 && GetCellOrigin(index, 0, origin));
        if (known && point != leftClickDownPoint_ && point != GridPoint{0, 0}) {
            int size = cols ? point.x - origin.x : point.y - origin.y;
            const bool mayVanish = cols ? allowColHide_ : allowRowHide_;
            size = std::max(size, mayVanish ? 0 : 1);
            if (cols)
                SetColumnWidth(index, size);
            else
                SetRowHeight(index, size);
            Refresh();
        }
        break;
    }
    default: {
        SendMessageToParent(idCurrentCell_.row, idCurrentCell_.col, GridNotifySelChanged);
        GridPoint origin;
        if (CDataGridCellBase* cell = GetCell(idCurrentCell_.row, idCurrentCell_.col);
            cell && GetCellOrigin(idCurrentCell_.row, idCurrentCell_.col, origin))
            cell->OnClick({point.x - origin.x, point.y - origin.y});
        if (IsValid(down))
            SendMessageToParent(down.row, down.col, GridNotifyClick);
        break;
    }
    }
    mouseMode_ = MouseNone;
    sizingIndex_ = -1;
    dragColumn_ = -1;
    if (host_)
        host_->SetCursor(GridCursor::Arrow);
    if (IsValid(down) && owner_)
        owner_->OnGridCommand(*this);
}

void CDataGrid::OnLButtonDblClk(GridPoint point, GridModifiers /*mods*/)
{
    const CCellPos pos = GetCellFromPt(point);
    if (!IsValid(pos))
        return;
    GridPoint origin;
    GetCellOrigin(pos.row, pos.col, origin);
    if (mouseMode_ == MouseOverColDivide || mouseMode_ == MouseOverRowDivide) {
        const bool cols = mouseMode_ == MouseOverColDivide;
        int index = cols ? pos.col : pos.row;
        if ((cols ? point.x - origin.x : point.y - origin.y) < resizeCaptureRange_) {
            --index;
            while (index > 0 && (cols ? GetColumnWidth(index) : GetRowHeight(index)) == 0)
                --index;
        }
        if (cols)
            AutoSizeColumn(index);
        else
            AutoSizeRow(index);
        Refresh();
    } else if (mouseMode_ == MouseNone) {
        GridRect textRect;
        if (!IsCellFixed(pos.row, pos.col) && GetTextRect(pos.row, pos.col, textRect)
            && textRect.Inflated(0, 0, 1, 1).Contains(point)
            && (IsValid(idCurrentCell_) || listMode_))
            OnEditCell(pos.row, pos.col, point, EditCause::Click);
    }
    if (CDataGridCellBase* cell = GetCell(pos.row, pos.col))
        cell->OnDblClick({point.x - origin.x, point.y - origin.y});
    SendMessageToParent(pos.row, pos.col, GridNotifyDblClick);
}

void CDataGrid::OnRButtonUp(GridPoint point, GridModifiers /*mods*/)
{
    EndEditing();
    const CCellPos pos = GetCellFromPt(point);
    if (!IsValid(pos)) {
        SendMessageToParent(-1, -1, GridNotifyRightClick);
        return;
    }
    SetFocusCell(-1, -1);
    SetFocusCell(std::max(pos.row, fixedRows_), std::max(pos.col, fixedCols_));
    GridPoint origin;
    if (CDataGridCellBase* cell = GetCell(pos.row, pos.col);
        cell && GetCellOrigin(pos.row, pos.col, origin))
        cell->OnRClick({point.x - origin.x, point.y - origin.y});
    SendMessageToParent(pos.row, pos.col, GridNotifyRightClick);
}

void CDataGrid::OnTimer(GridPoint cursor)
{
    if (!timerRunning_)
        return;
    const GridRect client = GetClientRect();
    const int fixedW = GetFixedColumnWidth(), fixedH = GetFixedRowHeight();
    const int x = std::clamp(cursor.x, fixedW, std::max(fixedW, client.right - 1));
    const int y = std::clamp(cursor.y, fixedH, std::max(fixedH, client.bottom - 1));
    const auto extendTo = [this](GridPoint p) {
        const CCellPos cell = GetCellFromPt(p);
        if (IsValid(cell))
            OnSelecting(cell);
    };
    if (cursor.y >= client.bottom) {
        OnKeyDown(GridKey::Down, {});
        extendTo({x, client.bottom - 1});
    } else if (cursor.y < fixedH) {
        OnKeyDown(GridKey::Up, {});
        extendTo({x, fixedH});
    }
    if (cursor.x >= client.right) {
        OnKeyDown(GridKey::Right, {});
        extendTo({client.right - 1, y});
    } else if (cursor.x < fixedW) {
        OnKeyDown(GridKey::Left, {});
        extendTo({fixedW, y});
    }
}

void CDataGrid::OnCaptureLost()
{
    if (timerRunning_) {
        if (host_)
            host_->StopAutoScrollTimer();
        timerRunning_ = false;
    }
    capture_ = false;
    dragColumn_ = -1;
    if (mouseMode_ == MouseDragging || mouseMode_ == MouseSizingCol
        || mouseMode_ == MouseSizingRow) {
        mouseMode_ = MouseNone;
        trackingLine_ = {};
        InvalidateAll();
    }
}
