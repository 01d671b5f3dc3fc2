// How one cell paints itself on screen and on paper.
#include <algorithm>

#include "DataGrid.h"
#include "GridCell.h"

namespace {

void RaisedEdge(GridPainter& p, const GridRect& r, const GridPalette& pal)
{
    p.DrawLine(r.left, r.top, r.right, r.top, pal.btnHighlight);
    p.DrawLine(r.left, r.top, r.left, r.bottom, pal.btnHighlight);
    p.DrawLine(r.right, r.top, r.right, r.bottom, pal.darkShadow);
    p.DrawLine(r.left, r.bottom, r.right, r.bottom, pal.darkShadow);
}

void SunkenEdge(GridPainter& p, const GridRect& r, const GridPalette& pal)
{
    p.DrawLine(r.left, r.top, r.right - 1, r.top, pal.btnShadow);
    p.DrawLine(r.left, r.top, r.left, r.bottom - 1, pal.btnShadow);
    p.DrawLine(r.right - 1, r.top, r.right - 1, r.bottom - 1, pal.btnHighlight);
    p.DrawLine(r.left, r.bottom - 1, r.right - 1, r.bottom - 1, pal.btnHighlight);
}

// The engraved triangle of the sort column's header; returns its width (0 when not drawn).
int DrawSortArrow(GridPainter& p, const GridRect& rect, const GridFont& font, bool ascending,
                  const GridPalette& pal)
{
    int size = SortArrowSide(&p, font);
    if (size >= rect.Height())
        size = rect.Height() - 4;
    if (size <= 0 || rect.Width() <= size)
        return 0;
    const bool vertical = font.escapement == 900;
    const int left = vertical ? rect.left + (rect.Width() - size) / 2 : rect.right - size;
    const int right = left + size - 1;
    const int bottom = rect.bottom - 1;
    const int top = bottom - size + 1;
    const int mid = left + size / 2;
    for (int pass = 0; pass < 2; ++pass) {
        const int d = pass == 0 ? 1 : 0;
        const GridColor c = pass == 0 ? pal.btnHighlight : pal.btnShadow;
        if (ascending) {
            p.DrawLine(mid + d, top + d, left + d, bottom + d, c);
            p.DrawLine(left + d, bottom + d, right + d, bottom + d, c);
            p.DrawLine(right + d, bottom + d, mid + d, top + d, c);
        } else {
            p.DrawLine(left + d, top + d, right + d, top + d, c);
            p.DrawLine(right + d, top + d, mid + d, bottom + d, c);
            p.DrawLine(mid + d, bottom + d, left + d, top + d, c);
        }
    }
    return vertical ? 0 : size;
}

}  // namespace

bool CDataGridCellBase::Draw(GridPainter& painter, int row, int col, GridRect rect, bool eraseBkgnd)
{
    CDataGrid* grid = GetGrid();
    const CDataGridDefaultCell* def = GetDefaultCell();
    if (!grid || !def || rect.IsEmpty())
        return false;
    const GridPalette& pal = grid->GetPalette();

    GridColor text = GetTextClr() != kClrDefault ? GetTextClr() : def->GetTextClr();
    GridColor back = def->GetBackClr();
    if (GetBackClr() != kClrDefault) {
        back = GetBackClr();
        eraseBkgnd = true;  // a cell's own colour is always painted
    }
    const GridRect grown = rect.Inflated(0, 0, 1, 1);
    const bool lines = grid->GetGridLines() != GridLinesNone;

    if (IsFocused() || IsDropHighlighted()) {
        if (IsSelected()) {
            back = pal.highlight;
            text = pal.highlightText;
            eraseBkgnd = true;
        }
        if (eraseBkgnd)
            painter.FillRect(grown, back);
        if (grid->GetFrameFocusCell())
            painter.FrameRect(lines ? rect : grown, text);
    } else if (IsSelected()) {
        painter.FillRect(grown, pal.highlight);
        text = pal.highlightText;
    } else if (eraseBkgnd) {
        painter.FillRect(grown, back);
    }

    if (IsFixed() && lines) {
        const CCellPos focus = grid->GetFocusCell();
        if (grid->GetTrackFocusCell() && grid->IsValid(focus)
            && (focus.row == row || focus.col == col))
            SunkenEdge(painter, grown, pal);
        else
            RaisedEdge(painter, rect, pal);
        rect = rect.Inflated(-1, -1, -1, -1);
    }

    const int margin = std::max(GetMargin(), 0);
    rect = rect.Inflated(-margin, -margin, -margin, -margin).Inflated(0, 0, 1, 1);

    if (grid->HasImageList() && GetImage() >= 0) {
        const GridSize image = grid->GetImageListSize();
        if (rect.Width() >= image.cx && rect.Height() >= image.cy)
            painter.DrawImage(GetImage(), {rect.left, rect.top});
    }
    if (row == 0 && col == grid->GetSortColumn())
        rect.right -= DrawSortArrow(painter, rect, GetFont(), grid->GetSortAscending(), pal);

    GetTextRect(rect);
    if (!rect.IsEmpty())
        painter.DrawText(rect, GetText(), GetFont(), text, GetFormat() | DT_NOPREFIX);
    return true;
}

bool CDataGridCellBase::PrintCell(GridPainter& painter, int /*row*/, int /*col*/, GridRect rect)
{
    CDataGrid* grid = GetGrid();
    const CDataGridDefaultCell* def = GetDefaultCell();
    if (!grid || !def || rect.IsEmpty())
        return false;

    bool hasBack = false;
    GridColor back = 0, text = GridRgb(0, 0, 0);
    if (grid->GetPrintSettings().printColours) {
        if (IsFixed()) {
            back = GetBackClr() != kClrDefault ? GetBackClr() : def->GetBackClr();
            hasBack = back != kClrDefault;
        } else if (GetBackClr() != kClrDefault && GetBackClr() != def->GetBackClr()) {
            back = GetBackClr();
            hasBack = true;
        }
        text = GetTextClr() != kClrDefault ? GetTextClr() : def->GetTextClr();
    }
    if (hasBack)
        painter.FillRect(rect.Inflated(0, 0, 1, 1), back);
    if (IsFixed() && grid->GetGridLines() != GridLinesNone) {
        RaisedEdge(painter, rect, grid->GetPalette());
        rect = rect.Inflated(-1, -1, -1, -1);
    }
    const int margin = std::max(GetMargin(), 0);
    rect.left += margin;
    rect.right -= margin;
    // The cell rectangle includes its last pixel, the text rectangle does not (as on screen), so
    // a column sized to its text prints it whole.
    rect = rect.Inflated(0, 0, 1, 1);
    if (grid->HasImageList() && GetImage() >= 0) {
        painter.DrawImage(GetImage(), {rect.left, rect.top});
        rect.left += grid->GetImageListSize().cx + margin;
    }
    if (!rect.IsEmpty())
        painter.DrawText(rect, GetText(), GetFont(), text, GetFormat() | DT_NOPREFIX);
    return true;
}
