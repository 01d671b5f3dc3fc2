#include "GridCell.h"

#include <algorithm>

#include "DataGrid.h"

GridSize FallbackTextSize(std::string_view text)
{
    int chars = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++chars;  // count UTF-8 code points
    return {7 * chars, 14};
}

int SortArrowSide(GridPainter* painter, const GridFont& font)
{
    return (painter ? painter->MeasureText("M", font) : FallbackTextSize("M")).cy - 4;
}

const CDataGridDefaultCell* CDataGridCellBase::GetDefaultCell() const
{
    const CDataGrid* grid = GetGrid();
    if (!grid)
        return nullptr;
    return grid->GetDefaultCell(IsFixedRow(), IsFixedCol());
}

void CDataGridCellBase::CopyFrom(const CDataGridCellBase& other)
{
    if (&other == this)
        return;
    SetText(other.GetText());
    SetImage(other.GetImage());
    SetData(other.GetData());
    SetState(other.GetState());
    SetFormat(other.GetFormat());
    SetTextClr(other.GetTextClr());
    SetBackClr(other.GetBackClr());
    SetFont(other.IsDefaultFont() ? nullptr : &other.GetFont());
    SetMargin(other.GetMargin());
}

void CDataGridCellBase::Reset()
{
    state_ = 0;
    editing_ = false;
}

bool CDataGridCellBase::GetTextRect(GridRect& rect) const
{
    const CDataGrid* grid = GetGrid();
    if (GetImage() >= 0 && grid && grid->HasImageList())
        rect.left += grid->GetImageListSize().cx + GetMargin() + 1;
    return true;
}

GridSize CDataGridCellBase::GetTextExtent(std::string_view text, GridPainter* painter) const
{
    const CDataGridDefaultCell* def = GetDefaultCell();
    if (text.empty()) {
        if (def)
            return {def->GetWidth(), def->GetHeight()};
        return {0, 0};
    }
    if (!painter && GetGrid())
        painter = GetGrid()->GetMeasurer();
    const GridFont& font = GetFont();
    GridSize size;
    const unsigned format = GetFormat();
    if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) {
        // Widest line, and the lines stacked.
        std::size_t start = 0;
        int lines = 0;
        while (start <= text.size()) {
            const std::size_t end = std::min(text.find('\n', start), text.size());
            const std::string_view line = text.substr(start, end - start);
            const GridSize s = painter ? painter->MeasureText(line, font) : FallbackTextSize(line);
            size.cx = std::max(size.cx, s.cx);
            size.cy += s.cy;
            ++lines;
            start = end + 1;
        }
    } else {
        size = painter ? painter->MeasureText(text, font) : FallbackTextSize(text);
    }
    const int margin = std::max(GetMargin(), 0);
    size.cx += 2 * margin;
    size.cy += 2 * margin;
    if (font.escapement == 900 || font.escapement == -900)
        size = {size.cy, size.cx + 4 * margin};
    return size;
}

GridSize CDataGridCellBase::GetCellExtent(GridPainter* painter) const
{
    GridSize size = GetTextExtent(GetText(), painter);
    const CDataGrid* grid = GetGrid();
    const int margin = std::max(GetMargin(), 0);
    if (GetImage() >= 0 && grid && grid->HasImageList()) {
        const GridSize image = grid->GetImageListSize();
        size.cx += image.cx + (2 * margin < size.cx ? margin : 0);
        size.cy = std::max(size.cy, image.cy + 2 * margin);
    }
    size.cx += 1;
    size.cy += 1;
    if (IsFixed()) {
        size.cx += 1;
        size.cy += 1;
    }
    // A header may come to carry the sort arrow beside its title: room for both, so a sorted
    // column's title stays whole.
    if (IsFixedRow() && GetFont().escapement != 900) {
        if (!painter && grid)
            painter = grid->GetMeasurer();
        size.cx += std::max(SortArrowSide(painter, GetFont()), 0);
    }
    return size;
}

void CDataGridCellBase::DescribeEditor(CellEditorRequest& request) const
{
    const unsigned format = GetFormat();
    request.alignment = (format & DT_RIGHT) ? DT_RIGHT : (format & DT_CENTER) ? DT_CENTER : DT_LEFT;
    request.font = GetFont();
}

void CDataGridNumericCell::DescribeEditor(CellEditorRequest& request) const
{
    CDataGridCell::DescribeEditor(request);
    request.alignment = DT_LEFT;
    request.digitsOnly = true;
}

// ---- CDataGridCell ----

unsigned CDataGridCell::GetFormat() const
{
    if (format_ != kFormatDefault)
        return format_;
    const CDataGridDefaultCell* def = GetDefaultCell();
    return def ? def->GetFormat() : kDefaultCellFormat;
}

CDataGridCell::Extras& CDataGridCell::Extra()
{
    if (!extras_)
        extras_ = std::make_unique<Extras>();
    return *extras_;
}

// A default value set on a cell without extras leaves it without.
void CDataGridCell::SetImage(int image)
{
    if (extras_ || image != -1)
        Extra().image = image;
}

void CDataGridCell::SetData(std::intptr_t data)
{
    if (extras_ || data != 0)
        Extra().lParam = data;
}

void CDataGridCell::SetTextClr(GridColor color)
{
    if (extras_ || color != kClrDefault)
        Extra().fgClr = color;
}

void CDataGridCell::SetBackClr(GridColor color)
{
    if (extras_ || color != kClrDefault)
        Extra().bkClr = color;
}

void CDataGridCell::SetMargin(int margin)
{
    if (extras_ || margin != -1)
        Extra().margin = margin;
}

void CDataGridCell::SetFont(const GridFont* font)
{
    if (font)
        Extra().font = *font;
    else if (extras_)
        extras_->font.reset();
}

const GridFont& CDataGridCell::GetFont() const
{
    if (extras_ && extras_->font)
        return *extras_->font;
    static const GridFont kNoFont;
    const CDataGridDefaultCell* def = GetDefaultCell();
    return def ? def->GetFont() : kNoFont;
}

int CDataGridCell::GetMargin() const
{
    if (extras_ && extras_->margin != -1)
        return extras_->margin;
    const CDataGridDefaultCell* def = GetDefaultCell();
    return def ? def->GetMargin() : 3;
}

void CDataGridCell::Reset()
{
    CDataGridCellBase::Reset();
    text_.clear();
    format_ = kFormatDefault;
    extras_.reset();
}

// ---- CDataGridDefaultCell ----

CDataGridDefaultCell::CDataGridDefaultCell()
{
    format_ = kDefaultCellFormat;
}

void CDataGridDefaultCell::SetFont(const GridFont* font)
{
    if (font)
        SetFont(*font, GetGrid() ? GetGrid()->GetMeasurer() : nullptr);
}

void CDataGridDefaultCell::SetFont(const GridFont& font, GridPainter* measurer)
{
    font_ = font;
    if (!measurer) {
        margin_ = 3;
        width_ = 40;
        height_ = 16;
        return;
    }
    margin_ = measurer->MeasureText(" ", font).cx;
    const GridSize size = measurer->MeasureText(" XXXXXXXXXXXX ", font);
    width_ = size.cx;
    height_ = size.cy * 3 / 2;
}
