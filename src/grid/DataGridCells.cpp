// Cell access, row heights and column widths, default cells, fonts and colours, switches.
#include <numeric>

#include "DataGrid.h"

CDataGridCellBase* CDataGrid::GetCell(int row, int col) const {
    if (!IsValid(row, col)) return nullptr;
    return m_RowData[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)].get();
}

std::unique_ptr<CDataGridCellBase> CDataGrid::SetCell(int row, int col, std::unique_ptr<CDataGridCellBase> cell) {
    if (m_editCell == CCellPos{row, col}) EndEditing();  // first: it may reshape the grid
    if (!IsValid(row, col)) return cell;
    if (cell) {
        cell->SetGrid(this);
        cell->SetCoords(row, col);
    }
    ++m_structureStamp;
    auto& slot = m_RowData[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
    std::swap(slot, cell);
    return cell;
}

std::string CDataGrid::GetItemText(int row, int col) const {
    const CDataGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetText() : std::string();
}

bool CDataGrid::SetItemText(int row, int col, std::string_view text) {
    CDataGridCellBase* cell = GetCell(row, col);
    if (!cell) return false;
    cell->SetText(text);
    SetModified(row, col);
    return true;
}

unsigned CDataGrid::GetItemState(int row, int col) const {
    const CDataGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetState() : 0;
}

bool CDataGrid::SetItemState(int row, int col, unsigned state) {
    CDataGridCellBase* cell = GetCell(row, col);
    if (!cell) return false;
    if (state & CellStateSelected)
        m_SelectedCellMap.insert({row, col});
    else
        m_SelectedCellMap.erase({row, col});
    cell->SetState(state);
    return true;
}

#define GRID_ITEM_ACCESS(Type, Get, Set, CellGet, CellSet, neutral)   \
    Type CDataGrid::Get(int row, int col) const {                       \
        const CDataGridCellBase* cell = GetCell(row, col);              \
        return cell ? cell->CellGet() : neutral;                        \
    }                                                                   \
    bool CDataGrid::Set(int row, int col, Type value) {                 \
        CDataGridCellBase* cell = GetCell(row, col);                    \
        if (!cell) return false;                                        \
        cell->CellSet(value);                                           \
        return true;                                                    \
    }
GRID_ITEM_ACCESS(int, GetItemImage, SetItemImage, GetImage, SetImage, -1)
GRID_ITEM_ACCESS(std::intptr_t, GetItemData, SetItemData, GetData, SetData, 0)
GRID_ITEM_ACCESS(unsigned, GetItemFormat, SetItemFormat, GetFormat, SetFormat, 0u)
GRID_ITEM_ACCESS(GridColor, GetItemFgColour, SetItemFgColour, GetTextClr, SetTextClr, kClrDefault)
GRID_ITEM_ACCESS(GridColor, GetItemBkColour, SetItemBkColour, GetBackClr, SetBackClr, kClrDefault)
GRID_ITEM_ACCESS(int, GetItemMargin, SetItemMargin, GetMargin, SetMargin, -1)
#undef GRID_ITEM_ACCESS

const GridFont* CDataGrid::GetItemFont(int row, int col) const {
    const CDataGridCellBase* cell = GetCell(row, col);
    return cell ? &cell->GetFont() : nullptr;
}

bool CDataGrid::SetItemFont(int row, int col, const GridFont* font) {
    CDataGridCellBase* cell = GetCell(row, col);
    if (!cell) return false;
    cell->SetFont(font);
    return true;
}

void CDataGrid::SetModified(int row, int col) {
    if (row >= 0 && col >= 0)
        if (CDataGridCellBase* cell = GetCell(row, col)) cell->SetState(cell->GetState() | CellStateModified);
    if (col < 0 || col == m_nSortColumn) m_nSortColumn = -1;
    m_bModified = true;
}

bool CDataGrid::IsValid(const CCellBlock& range) const {
    return range.IsValid() && range.maxRow < m_nRows && range.maxCol < m_nCols;
}

bool CDataGrid::IsCellEditable(int row, int col) const {
    const CDataGridCellBase* cell = GetCell(row, col);
    return m_bEditable && cell && !cell->IsReadOnly();
}

bool CDataGrid::IsCellSelected(int row, int col) const {
    const CDataGridCellBase* cell = GetCell(row, col);
    return m_bEnableSelection && cell && cell->IsSelected();
}

int CDataGrid::GetRowHeight(int row) const {
    return (row < 0 || row >= m_nRows) ? -1 : m_arRowHeights[static_cast<std::size_t>(row)];
}

int CDataGrid::GetColumnWidth(int col) const {
    return (col < 0 || col >= m_nCols) ? -1 : m_arColWidths[static_cast<std::size_t>(col)];
}

bool CDataGrid::SetRowHeight(int row, int height) {
    if (row < 0 || row >= m_nRows || height < 0) return false;
    m_arRowHeights[static_cast<std::size_t>(row)] = height;
    m_idTopLeftCell = {};
    ResetScrollBars();
    return true;
}

bool CDataGrid::SetColumnWidth(int col, int width) {
    if (col < 0 || col >= m_nCols || width < 0) return false;
    m_arColWidths[static_cast<std::size_t>(col)] = width;
    m_idTopLeftCell = {};
    ResetScrollBars();
    return true;
}

int CDataGrid::GetFixedRowHeight() const {
    return std::accumulate(m_arRowHeights.begin(), m_arRowHeights.begin() + m_nFixedRows, 0);
}

int CDataGrid::GetFixedColumnWidth() const {
    return std::accumulate(m_arColWidths.begin(), m_arColWidths.begin() + m_nFixedCols, 0);
}

int CDataGrid::GetVirtualHeight() const { return std::accumulate(m_arRowHeights.begin(), m_arRowHeights.end(), 0); }
int CDataGrid::GetVirtualWidth() const { return std::accumulate(m_arColWidths.begin(), m_arColWidths.end(), 0); }

CDataGridDefaultCell* CDataGrid::GetDefaultCell(bool fixedRow, bool fixedCol) {
    if (fixedRow && fixedCol) return &m_cellFixedRowColDef;
    if (fixedRow) return &m_cellFixedRowDef;
    if (fixedCol) return &m_cellFixedColDef;
    return &m_cellDefault;
}

const CDataGridDefaultCell* CDataGrid::GetDefaultCell(bool fixedRow, bool fixedCol) const {
    return const_cast<CDataGrid*>(this)->GetDefaultCell(fixedRow, fixedCol);
}

void CDataGrid::SetFont(const GridFont& font) {
    for (CDataGridDefaultCell* def : {&m_cellDefault, &m_cellFixedColDef, &m_cellFixedRowDef, &m_cellFixedRowColDef})
        def->SetFont(font, m_pMeasurer);
    Refresh();
}

void CDataGrid::SetSystemColors(const GridPalette& palette) {
    for (CDataGridDefaultCell* def : {&m_cellDefault, &m_cellFixedColDef, &m_cellFixedRowDef, &m_cellFixedRowColDef}) {
        if (def->GetTextClr() == m_palette.windowText) def->SetTextClr(palette.windowText);
        if (def->GetBackClr() == m_palette.window) def->SetBackClr(palette.window);
        if (def->GetBackClr() == m_palette.btnFace) def->SetBackClr(palette.btnFace);
    }
    if (m_crGridBkColour == m_palette.btnShadow) m_crGridBkColour = palette.btnShadow;
    m_palette = palette;
    Refresh();
}

void CDataGrid::SetListMode(bool on) {
    ResetSelectedRange();
    SetSortColumn(-1);
    m_bListMode = on;
    m_bFixedColumnSelection = false;
    Refresh();
}

void CDataGrid::EnableSelection(bool on) {
    ResetSelectedRange();
    m_bEnableSelection = on;
    ResetSelectedRange();
}

void CDataGrid::SetRedraw(bool on) {
    const bool was = m_bAllowDraw;
    m_bAllowDraw = on;
    if (on && !was) {
        ResetScrollBars();
        Refresh();
    }
}

void CDataGrid::SetSortColumn(int col) {
    if (m_nSortColumn >= 0) RedrawCell(0, m_nSortColumn);
    m_nSortColumn = col;
    if (col >= 0) RedrawCell(0, col);
}
