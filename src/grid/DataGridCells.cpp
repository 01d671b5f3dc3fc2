// Cell access, row heights and column widths, default cells, fonts and colours, switches.
#include <numeric>

#include "DataGrid.h"

CDataGridCellBase* CDataGrid::GetCell(int row, int col) const
{
    if (!IsValid(row, col))
        return nullptr;
    return rowData_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)].get();
}

std::unique_ptr<CDataGridCellBase> CDataGrid::SetCell(int row, int col,
                                                      std::unique_ptr<CDataGridCellBase> cell)
{
    if (editCell_ == CCellPos{row, col})
        EndEditing();  // first: it may reshape the grid
    if (!IsValid(row, col))
        return cell;
    if (cell) {
        cell->SetGrid(this);
        cell->SetCoords(row, col);
    }
    ++structureStamp_;
    auto& slot = rowData_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
    std::swap(slot, cell);
    return cell;
}

std::string CDataGrid::GetItemText(int row, int col) const
{
    const CDataGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetText() : std::string();
}

bool CDataGrid::SetItemText(int row, int col, std::string_view text)
{
    CDataGridCellBase* cell = GetCell(row, col);
    if (!cell)
        return false;
    cell->SetText(text);
    SetModified(row, col);
    return true;
}

unsigned CDataGrid::GetItemState(int row, int col) const
{
    const CDataGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetState() : 0;
}

bool CDataGrid::SetItemState(int row, int col, unsigned state)
{
    CDataGridCellBase* cell = GetCell(row, col);
    if (!cell)
        return false;
    if (state & CellStateSelected)
        selectedCellMap_.insert({row, col});
    else
        selectedCellMap_.erase({row, col});
    cell->SetState(state);
    return true;
}

#define GRID_ITEM_ACCESS(Type, Get, Set, CellGet, CellSet, neutral) \
    Type CDataGrid::Get(int row, int col) const                     \
    {                                                               \
        const CDataGridCellBase* cell = GetCell(row, col);          \
        return cell ? cell->CellGet() : neutral;                    \
    }                                                               \
    bool CDataGrid::Set(int row, int col, Type value)               \
    {                                                               \
        CDataGridCellBase* cell = GetCell(row, col);                \
        if (!cell)                                                  \
            return false;                                           \
        cell->CellSet(value);                                       \
        return true;                                                \
    }
GRID_ITEM_ACCESS(int, GetItemImage, SetItemImage, GetImage, SetImage, -1)
GRID_ITEM_ACCESS(std::intptr_t, GetItemData, SetItemData, GetData, SetData, 0)
GRID_ITEM_ACCESS(unsigned, GetItemFormat, SetItemFormat, GetFormat, SetFormat, 0u)
GRID_ITEM_ACCESS(GridColor, GetItemFgColour, SetItemFgColour, GetTextClr, SetTextClr, kClrDefault)
GRID_ITEM_ACCESS(GridColor, GetItemBkColour, SetItemBkColour, GetBackClr, SetBackClr, kClrDefault)
GRID_ITEM_ACCESS(int, GetItemMargin, SetItemMargin, GetMargin, SetMargin, -1)
#undef GRID_ITEM_ACCESS

const GridFont* CDataGrid::GetItemFont(int row, int col) const
{
    const CDataGridCellBase* cell = GetCell(row, col);
    return cell ? &cell->GetFont() : nullptr;
}

bool CDataGrid::SetItemFont(int row, int col, const GridFont* font)
{
    CDataGridCellBase* cell = GetCell(row, col);
    if (!cell)
        return false;
    cell->SetFont(font);
    return true;
}

void CDataGrid::SetModified(int row, int col)
{
    if (row >= 0 && col >= 0)
        if (CDataGridCellBase* cell = GetCell(row, col))
            cell->SetState(cell->GetState() | CellStateModified);
    if (col < 0 || col == sortColumn_)
        sortColumn_ = -1;
    modified_ = true;
}

bool CDataGrid::IsValid(const CCellBlock& range) const
{
    return range.IsValid() && range.maxRow < rows_ && range.maxCol < cols_;
}

bool CDataGrid::IsCellEditable(int row, int col) const
{
    const CDataGridCellBase* cell = GetCell(row, col);
    return editable_ && cell && !cell->IsReadOnly();
}

bool CDataGrid::IsCellSelected(int row, int col) const
{
    const CDataGridCellBase* cell = GetCell(row, col);
    return enableSelection_ && cell && cell->IsSelected();
}

int CDataGrid::GetRowHeight(int row) const
{
    return (row < 0 || row >= rows_) ? -1 : rowHeights_[static_cast<std::size_t>(row)];
}

int CDataGrid::GetColumnWidth(int col) const
{
    return (col < 0 || col >= cols_) ? -1 : colWidths_[static_cast<std::size_t>(col)];
}

bool CDataGrid::SetRowHeight(int row, int height)
{
    if (row < 0 || row >= rows_ || height < 0)
        return false;
    rowHeights_[static_cast<std::size_t>(row)] = height;
    idTopLeftCell_ = {};
    ResetScrollBars();
    return true;
}

bool CDataGrid::SetColumnWidth(int col, int width)
{
    if (col < 0 || col >= cols_ || width < 0)
        return false;
    colWidths_[static_cast<std::size_t>(col)] = width;
    idTopLeftCell_ = {};
    ResetScrollBars();
    return true;
}

int CDataGrid::GetFixedRowHeight() const
{
    return std::accumulate(rowHeights_.begin(), rowHeights_.begin() + fixedRows_, 0);
}

int CDataGrid::GetFixedColumnWidth() const
{
    return std::accumulate(colWidths_.begin(), colWidths_.begin() + fixedCols_, 0);
}

int CDataGrid::GetVirtualHeight() const
{
    return std::accumulate(rowHeights_.begin(), rowHeights_.end(), 0);
}
int CDataGrid::GetVirtualWidth() const
{
    return std::accumulate(colWidths_.begin(), colWidths_.end(), 0);
}

CDataGridDefaultCell* CDataGrid::GetDefaultCell(bool fixedRow, bool fixedCol)
{
    if (fixedRow && fixedCol)
        return &cellFixedRowColDef_;
    if (fixedRow)
        return &cellFixedRowDef_;
    if (fixedCol)
        return &cellFixedColDef_;
    return &cellDefault_;
}

const CDataGridDefaultCell* CDataGrid::GetDefaultCell(bool fixedRow, bool fixedCol) const
{
    return const_cast<CDataGrid*>(this)->GetDefaultCell(fixedRow, fixedCol);
}

void CDataGrid::SetFont(const GridFont& font)
{
    for (CDataGridDefaultCell* def :
         {&cellDefault_, &cellFixedColDef_, &cellFixedRowDef_, &cellFixedRowColDef_})
        def->SetFont(font, measurer_);
    Refresh();
}

void CDataGrid::SetSystemColors(const GridPalette& palette)
{
    for (CDataGridDefaultCell* def :
         {&cellDefault_, &cellFixedColDef_, &cellFixedRowDef_, &cellFixedRowColDef_}) {
        if (def->GetTextClr() == palette_.windowText)
            def->SetTextClr(palette.windowText);
        if (def->GetBackClr() == palette_.window)
            def->SetBackClr(palette.window);
        if (def->GetBackClr() == palette_.btnFace)
            def->SetBackClr(palette.btnFace);
    }
    if (gridBkColour_ == palette_.btnShadow)
        gridBkColour_ = palette.btnShadow;
    palette_ = palette;
    Refresh();
}

void CDataGrid::SetListMode(bool on)
{
    ResetSelectedRange();
    SetSortColumn(-1);
    listMode_ = on;
    fixedColumnSelection_ = false;
    Refresh();
}

void CDataGrid::EnableSelection(bool on)
{
    ResetSelectedRange();
    enableSelection_ = on;
    ResetSelectedRange();
}

void CDataGrid::SetRedraw(bool on)
{
    const bool was = allowDraw_;
    allowDraw_ = on;
    if (on && !was) {
        ResetScrollBars();
        Refresh();
    }
}

void CDataGrid::SetSortColumn(int col)
{
    if (sortColumn_ >= 0)
        RedrawCell(0, sortColumn_);
    sortColumn_ = col;
    if (col >= 0)
        RedrawCell(0, col);
}
