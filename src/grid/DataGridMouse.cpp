// The mouse controller: a state machine over button and move events that selects, resizes
// rows and columns, starts editing and reports clicks to the owner.
#include <algorithm>
#include <cstdlib>

#include "DataGrid.h"

namespace {
// A press that moves less than this is still a click, not a drag.
constexpr int kDragThreshold = 4;
}  // namespace

bool CDataGrid::MouseOverColumnResizeArea(GridPoint point) {
    if (point.y >= GetFixedRowHeight()) return false;
    const CCellPos cell = GetCellFromPt(point);
    GridPoint origin;
    if (!IsValid(cell) || !GetCellOrigin(cell.row, cell.col, origin)) return false;
    const int end = origin.x + GetColumnWidth(cell.col);
    return (point.x - origin.x < m_nResizeCaptureRange && cell.col != 0) || end - point.x < m_nResizeCaptureRange;
}

bool CDataGrid::MouseOverRowResizeArea(GridPoint point) {
    if (point.x >= GetFixedColumnWidth()) return false;
    const CCellPos cell = GetCellFromPt(point);
    GridPoint origin;
    if (!IsValid(cell) || !GetCellOrigin(cell.row, cell.col, origin)) return false;
    const int end = origin.y + GetRowHeight(cell.row);
    return (point.y - origin.y < m_nResizeCaptureRange && cell.row != 0) || end - point.y < m_nResizeCaptureRange;
}

GridCursor CDataGrid::CursorAt(GridPoint point) {
    if (m_MouseMode == MouseSizingCol) return GridCursor::SizeWE;
    if (m_MouseMode == MouseSizingRow) return GridCursor::SizeNS;
    if (m_bAllowColumnResize && MouseOverColumnResizeArea(point)) return GridCursor::SizeWE;
    if (m_bAllowRowResize && MouseOverRowResizeArea(point)) return GridCursor::SizeNS;
    return GridCursor::Arrow;
}

void CDataGrid::OnLButtonDown(GridPoint point, GridModifiers mods) {
    if (m_pHost) m_pHost->TakeFocus();
    m_LeftClickDownPoint = m_LastMousePoint = point;
    m_bLMouseButtonDown = true;
    m_nDragColumn = -1;
    m_LeftClickDownCell = GetCellFromPt(point);
    const CCellPos down = m_LeftClickDownCell;
    if (!IsValid(down)) return;

    if (!mods.shift)
        m_SelectionStartCell = down;
    else if (!IsValid(m_SelectionStartCell))
        m_SelectionStartCell = m_idCurrentCell;

    EndEditing();
    GridPoint origin;
    if (CDataGridCellBase* cell = GetCell(down.row, down.col); cell && GetCellOrigin(down.row, down.col, origin))
        cell->OnClickDown({point.x - origin.x, point.y - origin.y});

    GridRect textRect;
    if (down == m_idCurrentCell && !mods.ctrl && GetTextRect(down.row, down.col, textRect) &&
        textRect.Inflated(0, 0, 1, 1).Contains(point) && IsCellEditable(down.row, down.col)) {
        m_MouseMode = MousePrepareEdit;
        return;
    }

    if (IsCellSelected(down.row, down.col)) {
        SetFocusCell(down);
        if (mods.ctrl) {
            if (m_bListMode)
                SelectRows(down, false, false);
            else
                SelectCells(down, false, false);
            return;
        }
        if (m_bAllowDragAndDrop) m_MouseMode = MousePrepareDrag;
    } else if (m_MouseMode != MouseOverColDivide && m_MouseMode != MouseOverRowDivide) {
        if (IsCellFixed(down.row, down.col))
            SetFocusCell(-1, -1);
        else
            SetFocusCell(down);
    }

    if (m_pHost) m_pHost->SetCapture(true);
    m_bCapture = true;

    if (m_MouseMode == MouseNone) {
        if (m_bAllowColumnResize && MouseOverColumnResizeArea(point)) {
            m_MouseMode = MouseOverColDivide;
        } else if (m_bAllowRowResize && MouseOverRowResizeArea(point)) {
            m_MouseMode = MouseOverRowDivide;
        }
    }

    if (m_MouseMode == MouseOverColDivide || m_MouseMode == MouseOverRowDivide) {
        const bool cols = m_MouseMode == MouseOverColDivide;
        GetCellOrigin(down.row, down.col, origin);
        int index = cols ? down.col : down.row;
        if ((cols ? point.x - origin.x : point.y - origin.y) < m_nResizeCaptureRange) {
            // The border at the cell's leading edge belongs to the one before it.
            --index;
            if (!(cols ? m_bHiddenColUnhide : m_bHiddenRowUnhide))
                while (index > 0 && (cols ? GetColumnWidth(index) : GetRowHeight(index)) == 0) --index;
        }
        if (index < 0) {
            m_MouseMode = MouseNone;
            return;
        }
        m_nSizingIndex = index;
        m_MouseMode = cols ? MouseSizingCol : MouseSizingRow;
        m_trackingLine = {true, cols, cols ? point.x : point.y};
        if (m_pHost) m_pHost->SetCursor(cols ? GridCursor::SizeWE : GridCursor::SizeNS);
        InvalidateAll();
        return;
    }

    if (m_MouseMode != MousePrepareDrag) {
        SendMessageToParent(down.row, down.col, GridNotifySelChanging);
        if (mods.ctrl)
            m_PrevSelectedCellMap = m_SelectedCellMap;  // Ctrl adds to the selection
        else
            m_PrevSelectedCellMap.clear();
        if (down.row < m_nFixedRows) {
            OnFixedRowClick(down);
            if (m_bHeaderDragMovesColumn && down.col >= m_nFixedCols) {
                ResetSelectedRange();
                m_MouseMode = MousePrepareDrag;
                m_nDragColumn = down.col;
            }
        } else if (down.col < m_nFixedCols) {
            OnFixedColumnClick(down);
        } else {
            m_MouseMode = m_bListMode ? MouseSelectRow : MouseSelectCells;
            OnSelecting(down);
            if (m_pHost) m_pHost->StartAutoScrollTimer(m_nAutoScrollPeriod);
            m_bTimerRunning = true;
        }
    }
}

void CDataGrid::OnFixedRowClick(CCellPos cell) {
    if (m_bSortOnClick) {
        const bool ascending = !(cell.col == m_nSortColumn && m_bAscending);
        SortItems(cell.col, ascending);
        Refresh();
    }
    if (m_bFixedRowSelection) {
        m_MouseMode = cell.col < m_nFixedCols ? MouseSelectAll : MouseSelectCol;
        OnSelecting(cell);
    }
}

void CDataGrid::OnFixedColumnClick(CCellPos cell) {
    if (m_bFixedColumnSelection) {
        m_MouseMode = cell.row < m_nFixedRows ? MouseSelectAll : MouseSelectRow;
        OnSelecting(cell);
    }
}

void CDataGrid::OnMouseMove(GridPoint point, GridModifiers /*mods*/, bool leftButtonDown) {
    if (!GetClientRect().Contains(point) && m_MouseMode != MouseDragging && m_MouseMode != MouseSizingCol &&
        m_MouseMode != MouseSizingRow)
        return;
    if (m_bLMouseButtonDown && leftButtonDown && m_MouseMode != MouseNone) {
        switch (m_MouseMode) {
        case MouseSelectCol:
        case MouseSelectRow:
        case MouseSelectCells: {
            const CCellPos cell = GetCellFromPt(point);
            if (!IsValid(cell) || cell == m_idCurrentCell) break;
            OnSelecting(cell);
            if (m_MouseMode != MouseSelectCells || !IsCellFixed(cell.row, cell.col)) SetFocusCell(cell);
            break;
        }
        case MouseSizingCol:
        case MouseSizingRow:
            m_trackingLine.pos = m_MouseMode == MouseSizingCol ? point.x : point.y;
            InvalidateAll();
            break;
        case MousePrepareEdit:
        case MousePrepareDrag:
            if (std::abs(point.x - m_LeftClickDownPoint.x) + std::abs(point.y - m_LeftClickDownPoint.y) >=
                kDragThreshold) {
                m_MouseMode = MousePrepareDrag;  // without a drag the button up is a plain click
                if (m_nDragColumn >= 0)
                    m_MouseMode = MouseDragging;  // a heading: its column moves on button up
                else if (m_bAllowDragAndDrop) {
                    const std::weak_ptr<const bool> alive = m_alive;
                    OnBeginDrag();
                    if (alive.expired()) return;  // closed during the drag
                }
            }
            break;
        default: break;
        }
    } else {
        const GridMouseMode before = m_MouseMode;
        if (m_bAllowColumnResize && MouseOverColumnResizeArea(point))
            m_MouseMode = MouseOverColDivide;
        else if (m_bAllowRowResize && MouseOverRowResizeArea(point))
            m_MouseMode = MouseOverRowDivide;
        else if (m_MouseMode == MouseOverColDivide || m_MouseMode == MouseOverRowDivide)
            m_MouseMode = MouseNone;
        if (m_MouseMode != before && m_pHost)
            m_pHost->SetCursor(m_MouseMode == MouseOverColDivide   ? GridCursor::SizeWE
                               : m_MouseMode == MouseOverRowDivide ? GridCursor::SizeNS
                                                                   : GridCursor::Arrow);
        if (m_MouseMode == MouseNone && m_bTitleTips && m_pHost) {
            const CCellPos pos = GetCellFromPt(point);
            const CDataGridCellBase* cell = GetCell(pos.row, pos.col);
            GridRect textRect, cellRect;
            if (cell && !cell->IsEditing() && !cell->GetTipText().empty() && GetCellRect(pos.row, pos.col, cellRect)) {
                textRect = cellRect;
                cell->GetTipTextRect(textRect);
                const std::string padded = " " + cell->GetTipText() + " ";
                const GridSize need = m_pMeasurer ? m_pMeasurer->MeasureText(padded, cell->GetFont())
                                                  : FallbackTextSize(padded);
                if (!textRect.IsEmpty() && textRect.Width() < need.cx)
                    m_pHost->ShowTitleTip(textRect, cell->GetTipText(), cellRect, cell->GetFont(), m_crTTipFgClr,
                                          m_crTTipBkClr);
            }
        }
    }
    m_LastMousePoint = point;
}

void CDataGrid::OnLButtonUp(GridPoint point, GridModifiers /*mods*/) {
    m_bLMouseButtonDown = false;
    if (m_bCapture) {
        if (m_pHost) m_pHost->SetCapture(false);
        m_bCapture = false;
    }
    if (m_bTimerRunning) {
        if (m_pHost) m_pHost->StopAutoScrollTimer();
        m_bTimerRunning = false;
    }
    const CCellPos down = m_LeftClickDownCell;
    switch (m_MouseMode) {
    case MousePrepareEdit:
        m_MouseMode = MouseNone;
        OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, point, EditCause::Click);
        break;
    case MousePrepareDrag: {
        GridPoint origin;
        if (CDataGridCellBase* cell = GetCell(down.row, down.col); cell && GetCellOrigin(down.row, down.col, origin))
            cell->OnClick({point.x - origin.x, point.y - origin.y});
        if (IsValid(down)) SendMessageToParent(down.row, down.col, GridNotifyClick);
        SendMessageToParent(down.row, down.col, GridNotifySelChanging);
        ResetSelectedRange();
        SendMessageToParent(m_idCurrentCell.row, m_idCurrentCell.col, GridNotifySelChanged);
        break;
    }
    case MouseDragging: {
        const CCellPos target = GetCellFromPt(point);
        if (m_nDragColumn >= 0 && target.col >= m_nFixedCols) MoveColumn(m_nDragColumn, target.col);
        break;
    }
    case MouseSizingCol:
    case MouseSizingRow: {
        const bool cols = m_MouseMode == MouseSizingCol;
        m_trackingLine = {};
        InvalidateAll();
        GridPoint origin;
        const int index = m_nSizingIndex;
        const bool known = cols ? (m_nRows > 0 && GetCellOrigin(0, index, origin))
                                : (m_nCols > 0 && GetCellOrigin(index, 0, origin));
        if (known && point != m_LeftClickDownPoint && point != GridPoint{0, 0}) {
            int size = cols ? point.x - origin.x : point.y - origin.y;
            const bool mayVanish = cols ? m_bAllowColHide : m_bAllowRowHide;
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
        SendMessageToParent(m_idCurrentCell.row, m_idCurrentCell.col, GridNotifySelChanged);
        GridPoint origin;
        if (CDataGridCellBase* cell = GetCell(m_idCurrentCell.row, m_idCurrentCell.col);
            cell && GetCellOrigin(m_idCurrentCell.row, m_idCurrentCell.col, origin))
            cell->OnClick({point.x - origin.x, point.y - origin.y});
        if (IsValid(down)) SendMessageToParent(down.row, down.col, GridNotifyClick);
        break;
    }
    }
    m_MouseMode = MouseNone;
    m_nSizingIndex = -1;
    m_nDragColumn = -1;
    if (m_pHost) m_pHost->SetCursor(GridCursor::Arrow);
    if (IsValid(down) && m_pOwner) m_pOwner->OnGridCommand(*this);
}

void CDataGrid::OnLButtonDblClk(GridPoint point, GridModifiers /*mods*/) {
    const CCellPos pos = GetCellFromPt(point);
    if (!IsValid(pos)) return;
    GridPoint origin;
    GetCellOrigin(pos.row, pos.col, origin);
    if (m_MouseMode == MouseOverColDivide || m_MouseMode == MouseOverRowDivide) {
        const bool cols = m_MouseMode == MouseOverColDivide;
        int index = cols ? pos.col : pos.row;
        if ((cols ? point.x - origin.x : point.y - origin.y) < m_nResizeCaptureRange) {
            --index;
            while (index > 0 && (cols ? GetColumnWidth(index) : GetRowHeight(index)) == 0) --index;
        }
        if (cols)
            AutoSizeColumn(index);
        else
            AutoSizeRow(index);
        Refresh();
    } else if (m_MouseMode == MouseNone) {
        GridRect textRect;
        if (!IsCellFixed(pos.row, pos.col) && GetTextRect(pos.row, pos.col, textRect) &&
            textRect.Inflated(0, 0, 1, 1).Contains(point) && (IsValid(m_idCurrentCell) || m_bListMode))
            OnEditCell(pos.row, pos.col, point, EditCause::Click);
    }
    if (CDataGridCellBase* cell = GetCell(pos.row, pos.col)) cell->OnDblClick({point.x - origin.x, point.y - origin.y});
    SendMessageToParent(pos.row, pos.col, GridNotifyDblClick);
}

void CDataGrid::OnRButtonUp(GridPoint point, GridModifiers /*mods*/) {
    EndEditing();
    const CCellPos pos = GetCellFromPt(point);
    if (!IsValid(pos)) {
        SendMessageToParent(-1, -1, GridNotifyRightClick);
        return;
    }
    SetFocusCell(-1, -1);
    SetFocusCell(std::max(pos.row, m_nFixedRows), std::max(pos.col, m_nFixedCols));
    GridPoint origin;
    if (CDataGridCellBase* cell = GetCell(pos.row, pos.col); cell && GetCellOrigin(pos.row, pos.col, origin))
        cell->OnRClick({point.x - origin.x, point.y - origin.y});
    SendMessageToParent(pos.row, pos.col, GridNotifyRightClick);
}

void CDataGrid::OnTimer(GridPoint cursor) {
    if (!m_bTimerRunning) return;
    const GridRect client = GetClientRect();
    const int fixedW = GetFixedColumnWidth(), fixedH = GetFixedRowHeight();
    const int x = std::clamp(cursor.x, fixedW, std::max(fixedW, client.right - 1));
    const int y = std::clamp(cursor.y, fixedH, std::max(fixedH, client.bottom - 1));
    const auto extendTo = [this](GridPoint p) {
        const CCellPos cell = GetCellFromPt(p);
        if (IsValid(cell)) OnSelecting(cell);
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

void CDataGrid::OnCaptureLost() {
    if (m_bTimerRunning) {
        if (m_pHost) m_pHost->StopAutoScrollTimer();
        m_bTimerRunning = false;
    }
    m_bCapture = false;
    m_nDragColumn = -1;
    if (m_MouseMode == MouseDragging || m_MouseMode == MouseSizingCol || m_MouseMode == MouseSizingRow) {
        m_MouseMode = MouseNone;
        m_trackingLine = {};
        InvalidateAll();
    }
}
