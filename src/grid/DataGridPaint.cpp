// Paint planning: what the window shows, drawn through the GridPainter interface.
#include "DataGrid.h"

void CDataGrid::OnDraw(GridPainter& painter, const GridRect& clip)
{
    if (!allowDraw_ || clip.IsEmpty())
        return;
    const GridRect client = GetClientRect();
    const int fixedW = GetFixedColumnWidth(), fixedH = GetFixedRowHeight();
    GridRect body;
    const CCellBlock vis = GetVisibleNonFixedCellRange(&body);

    // Background: the bands in their default cells' colours, the rest in the grid's own.
    painter.FillRect({0, 0, fixedW, fixedH}, cellFixedRowColDef_.GetBackClr());
    painter.FillRect({fixedW, 0, body.right, fixedH}, cellFixedRowDef_.GetBackClr());
    painter.FillRect({0, fixedH, fixedW, body.bottom}, cellFixedColDef_.GetBackClr());
    painter.FillRect({fixedW, fixedH, body.right, body.bottom}, cellDefault_.GetBackClr());
    painter.FillRect({body.right, 0, client.right, client.bottom}, gridBkColour_);
    painter.FillRect({0, body.bottom, body.right, client.bottom}, gridBkColour_);

    // Cells in four passes: corner, fixed columns, fixed rows, body.
    const auto drawBand = [&](int r0, int r1, int c0, int c1, int y0, int x0) {
        int y = y0;
        for (int r = r0; r <= r1; ++r) {
            const int h = GetRowHeight(r);
            if (h <= 0)
                continue;
            if (y > clip.bottom)
                break;
            int x = x0;
            for (int c = c0; c <= c1; ++c) {
                const int w = GetColumnWidth(c);
                if (w <= 0)
                    continue;
                if (x > clip.right)
                    break;
                const GridRect rect{x, y, x + w - 1, y + h - 1};
                if (rect.Inflated(0, 0, 1, 1).Intersects(clip))
                    if (CDataGridCellBase* cell = GetCell(r, c))
                        cell->Draw(painter, r, c, rect, true);
                x += w;
            }
            y += h;
        }
    };
    drawBand(0, fixedRows_ - 1, 0, fixedCols_ - 1, 0, 0);
    if (vis.minRow <= vis.maxRow)
        drawBand(vis.minRow, vis.maxRow, 0, fixedCols_ - 1, fixedH, 0);
    if (vis.minCol <= vis.maxCol)
        drawBand(0, fixedRows_ - 1, vis.minCol, vis.maxCol, 0, fixedW);
    if (vis.minRow <= vis.maxRow && vis.minCol <= vis.maxCol)
        drawBand(vis.minRow, vis.maxRow, vis.minCol, vis.maxCol, fixedH, fixedW);

    // Grid lines along the last pixel of every visible body column and row.
    if (gridLines_ & GridLinesVert) {
        int x = fixedW;
        for (int c = vis.minCol; c >= 0 && c <= vis.maxCol; ++c) {
            const int w = GetColumnWidth(c);
            if (w <= 0)
                continue;
            x += w;
            painter.DrawLine(x - 1, fixedH, x - 1, body.bottom - 1, gridLineColour_);
        }
    }
    if (gridLines_ & GridLinesHorz) {
        int y = fixedH;
        for (int r = vis.minRow; r >= 0 && r <= vis.maxRow; ++r) {
            const int h = GetRowHeight(r);
            if (h <= 0)
                continue;
            y += h;
            painter.DrawLine(fixedW, y - 1, body.right - 1, y - 1, gridLineColour_);
        }
    }

    // The border being dragged.
    if (trackingLine_.shown) {
        const int p = trackingLine_.pos;
        if (trackingLine_.vertical)
            painter.FillRect({p - 1, 0, p + 1, client.bottom}, palette_.windowText);
        else
            painter.FillRect({0, p - 1, client.right, p + 1}, palette_.windowText);
    }
}
