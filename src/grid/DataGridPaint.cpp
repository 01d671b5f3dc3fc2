// Paint planning: what the window shows, drawn through the GridPainter interface.
#include "DataGrid.h"

void CDataGrid::OnDraw(GridPainter& painter, const GridRect& clip) {
    if (!m_bAllowDraw || clip.IsEmpty()) return;
    const GridRect client = GetClientRect();
    const int fixedW = GetFixedColumnWidth(), fixedH = GetFixedRowHeight();
    GridRect body;
    const CCellBlock vis = GetVisibleNonFixedCellRange(&body);

    // Background: the bands in their default cells' colours, the rest in the grid's own.
    painter.FillRect({0, 0, fixedW, fixedH}, m_cellFixedRowColDef.GetBackClr());
    painter.FillRect({fixedW, 0, body.right, fixedH}, m_cellFixedRowDef.GetBackClr());
    painter.FillRect({0, fixedH, fixedW, body.bottom}, m_cellFixedColDef.GetBackClr());
    painter.FillRect({fixedW, fixedH, body.right, body.bottom}, m_cellDefault.GetBackClr());
    painter.FillRect({body.right, 0, client.right, client.bottom}, m_crGridBkColour);
    painter.FillRect({0, body.bottom, body.right, client.bottom}, m_crGridBkColour);

    // Cells in four passes: corner, fixed columns, fixed rows, body.
    const auto drawBand = [&](int r0, int r1, int c0, int c1, int y0, int x0) {
        int y = y0;
        for (int r = r0; r <= r1; ++r) {
            const int h = GetRowHeight(r);
            if (h <= 0) continue;
            if (y > clip.bottom) break;
            int x = x0;
            for (int c = c0; c <= c1; ++c) {
                const int w = GetColumnWidth(c);
                if (w <= 0) continue;
                if (x > clip.right) break;
                const GridRect rect{x, y, x + w - 1, y + h - 1};
                if (rect.Inflated(0, 0, 1, 1).Intersects(clip))
                    if (CDataGridCellBase* cell = GetCell(r, c)) cell->Draw(painter, r, c, rect, true);
                x += w;
            }
            y += h;
        }
    };
    drawBand(0, m_nFixedRows - 1, 0, m_nFixedCols - 1, 0, 0);
    if (vis.minRow <= vis.maxRow) drawBand(vis.minRow, vis.maxRow, 0, m_nFixedCols - 1, fixedH, 0);
    if (vis.minCol <= vis.maxCol) drawBand(0, m_nFixedRows - 1, vis.minCol, vis.maxCol, 0, fixedW);
    if (vis.minRow <= vis.maxRow && vis.minCol <= vis.maxCol)
        drawBand(vis.minRow, vis.maxRow, vis.minCol, vis.maxCol, fixedH, fixedW);

    // Grid lines along the last pixel of every visible body column and row.
    if (m_nGridLines & GridLinesVert) {
        int x = fixedW;
        for (int c = vis.minCol; c >= 0 && c <= vis.maxCol; ++c) {
            const int w = GetColumnWidth(c);
            if (w <= 0) continue;
            x += w;
            painter.DrawLine(x - 1, fixedH, x - 1, body.bottom - 1, m_crGridLineColour);
        }
    }
    if (m_nGridLines & GridLinesHorz) {
        int y = fixedH;
        for (int r = vis.minRow; r >= 0 && r <= vis.maxRow; ++r) {
            const int h = GetRowHeight(r);
            if (h <= 0) continue;
            y += h;
            painter.DrawLine(fixedW, y - 1, body.right - 1, y - 1, m_crGridLineColour);
        }
    }

    // The border being dragged.
    if (m_trackingLine.shown) {
        const int p = m_trackingLine.pos;
        if (m_trackingLine.vertical)
            painter.FillRect({p - 1, 0, p + 1, client.bottom}, m_palette.windowText);
        else
            painter.FillRect({0, p - 1, client.right, p + 1}, m_palette.windowText);
    }
}
