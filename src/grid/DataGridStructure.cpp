// Construction, row and column counts, the fixed bands and the cell factory.
#include <algorithm>
#include <new>

#include "DataGrid.h"

CDataGrid::CDataGrid() : m_crGridBkColour(m_palette.btnShadow) {
    for (CDataGridDefaultCell* def : {&m_cellDefault, &m_cellFixedColDef, &m_cellFixedRowDef, &m_cellFixedRowColDef}) {
        def->SetGrid(this);
        def->SetFont(GridFont{}, nullptr);
        def->SetTextClr(m_palette.windowText);
        def->SetBackClr(def == &m_cellDefault ? m_palette.window : m_palette.btnFace);
    }
}

CDataGrid::~CDataGrid() = default;

bool CDataGrid::SetRowCount(int rows) {
    if (rows < 0) return false;
    if (rows == m_nRows) return true;
    EndEditing();
    bool ok = true;
    if (rows < m_nRows) {
        m_RowData.resize(static_cast<std::size_t>(rows));
        m_arRowHeights.resize(static_cast<std::size_t>(rows));
        m_nRows = rows;
        if (m_nFixedRows > rows) m_nFixedRows = rows;
        if (m_idCurrentCell.row >= rows) m_idCurrentCell = {};
        std::erase_if(m_SelectedCellMap, [rows](const CCellPos& c) { return c.row >= rows; });
        std::erase_if(m_PrevSelectedCellMap, [rows](const CCellPos& c) { return c.row >= rows; });
    } else {
        try {
            while (m_nRows < rows) {
                Row row;
                row.reserve(static_cast<std::size_t>(m_nCols));
                const int r = m_nRows;
                m_RowData.emplace_back();
                m_arRowHeights.push_back(m_cellDefault.GetHeight());
                ++m_nRows;
                for (int c = 0; c < m_nCols; ++c) row.push_back(CreateCell(r, c));
                m_RowData.back() = std::move(row);
            }
        } catch (const std::bad_alloc&) {
            // Keep what was built; a row left half made is dropped again.
            if (!m_RowData.empty() && static_cast<int>(m_RowData.back().size()) != m_nCols) {
                m_RowData.pop_back();
                m_arRowHeights.pop_back();
                --m_nRows;
            }
            ok = false;
        }
    }
    return AfterResize(ok);
}

bool CDataGrid::AfterResize(bool ok) {
    m_idTopLeftCell = {};
    ++m_structureStamp;
    SetModified(-1, -1);
    ResetScrollBars();
    Refresh();
    return ok;
}

bool CDataGrid::SetColumnCount(int cols) {
    if (cols < 0) return false;
    if (cols == m_nCols) return true;
    EndEditing();
    bool ok = true;
    if (cols < m_nCols) {
        for (Row& row : m_RowData) row.resize(static_cast<std::size_t>(cols));
        m_arColWidths.resize(static_cast<std::size_t>(cols));
        m_nCols = cols;
        if (m_nFixedCols > cols) m_nFixedCols = cols;
        if (m_idCurrentCell.col >= cols) m_idCurrentCell = {};
        std::erase_if(m_SelectedCellMap, [cols](const CCellPos& c) { return c.col >= cols; });
        std::erase_if(m_PrevSelectedCellMap, [cols](const CCellPos& c) { return c.col >= cols; });
        if (m_nSortColumn >= cols) m_nSortColumn = -1;
    } else {
        try {
            const int oldCols = m_nCols;
            for (int r = 0; r < m_nRows; ++r) {
                Row& row = m_RowData[static_cast<std::size_t>(r)];
                row.reserve(static_cast<std::size_t>(cols));
                for (int c = oldCols; c < cols; ++c) row.push_back(CreateCell(r, c));
            }
            m_arColWidths.resize(static_cast<std::size_t>(cols), m_cellFixedColDef.GetWidth());
            m_nCols = cols;
        } catch (const std::bad_alloc&) {
            // Keep the columns that every row received.
            std::size_t common = m_arColWidths.size();
            for (const Row& row : m_RowData) common = std::min(common, row.size());
            for (Row& row : m_RowData) row.resize(common);
            m_nCols = static_cast<int>(common);
            ok = false;
        }
    }
    return AfterResize(ok);
}

void CDataGrid::ApplyFixedBits(int row, int col) {
    CDataGridCellBase* cell = GetCell(row, col);
    if (!cell) return;
    unsigned state = cell->GetState() & ~(CellStateFixed | CellStateFixedRow | CellStateFixedColumn);
    const bool fixedRow = row < m_nFixedRows, fixedCol = col < m_nFixedCols;
    if (fixedRow) state |= CellStateFixed | CellStateFixedRow;
    if (fixedCol) state |= CellStateFixed | CellStateFixedColumn;
    if ((state & CellStateFixed) != (cell->GetState() & CellStateFixed)) {
        cell->SetTextClr(kClrDefault);
        cell->SetBackClr(kClrDefault);
    }
    cell->SetState(state);
}

void CDataGrid::UpdateFixedState(int oldFixedRows, int oldFixedCols) {
    const int r0 = std::min(oldFixedRows, m_nFixedRows), r1 = std::max(oldFixedRows, m_nFixedRows);
    for (int r = r0; r < r1 && r < m_nRows; ++r)
        for (int c = 0; c < m_nCols; ++c) ApplyFixedBits(r, c);
    const int c0 = std::min(oldFixedCols, m_nFixedCols), c1 = std::max(oldFixedCols, m_nFixedCols);
    for (int r = 0; r < m_nRows; ++r)
        for (int c = c0; c < c1 && c < m_nCols; ++c) ApplyFixedBits(r, c);
}

bool CDataGrid::SetFixedRowCount(int fixedRows) { return SetFixedCount(true, fixedRows); }

bool CDataGrid::SetFixedColumnCount(int fixedCols) { return SetFixedCount(false, fixedCols); }

bool CDataGrid::SetFixedCount(bool rows, int fixed) {
    // The end-of-edit notification may reshape the grid: the counts are read after it.
    EndEditing();
    int& current = rows ? m_nFixedRows : m_nFixedCols;
    if (fixed < 0) return false;
    if (fixed == current) return true;
    if (fixed > (rows ? m_nRows : m_nCols) && !(rows ? SetRowCount(fixed) : SetColumnCount(fixed))) return false;
    ResetSelectedRange();
    const int oldRows = m_nFixedRows, oldCols = m_nFixedCols;
    current = fixed;
    UpdateFixedState(oldRows, oldCols);
    m_idTopLeftCell = {};
    ResetScrollBars();
    Refresh();
    return true;
}

int CDataGrid::InsertRow() {
    EndEditing();
    if (m_nCols == 0 && !SetColumnCount(1)) return -1;
    ClearSelectionMap();
    const int r = m_nRows;
    try {
        Row row;
        row.reserve(static_cast<std::size_t>(m_nCols));
        m_RowData.emplace_back();
        m_arRowHeights.push_back(m_cellFixedRowDef.GetHeight());
        ++m_nRows;
        for (int c = 0; c < m_nCols; ++c) row.push_back(CreateCell(r, c));
        m_RowData.back() = std::move(row);
    } catch (const std::bad_alloc&) {
        if (m_nRows > r) {
            m_RowData.pop_back();
            m_arRowHeights.pop_back();
            m_nRows = r;
        }
        return -1;
    }
    ++m_structureStamp;
    SetItemText(r, 0, "");
    m_idTopLeftCell = {};
    ResetScrollBars();
    SetModified(-1, -1);
    Refresh();
    return r;
}

bool CDataGrid::MoveColumn(int from, int to) {
    EndEditing();  // first: its notification may reshape the grid
    if (from < m_nFixedCols || from >= m_nCols || to < m_nFixedCols || to >= m_nCols) return false;
    if (from == to) return true;
    ResetSelectedRange();
    ++m_structureStamp;
    const auto shift = [from, to](auto& items) {
        const auto f = items.begin() + from, t = items.begin() + to;
        if (from < to)
            std::rotate(f, f + 1, t + 1);
        else
            std::rotate(t, f, f + 1);
    };
    for (Row& row : m_RowData) shift(row);
    shift(m_arColWidths);
    // The sort column's heading arrow goes with its column.
    if (m_nSortColumn == from)
        m_nSortColumn = to;
    else if (from < to && m_nSortColumn > from && m_nSortColumn <= to)
        --m_nSortColumn;
    else if (to < from && m_nSortColumn >= to && m_nSortColumn < from)
        ++m_nSortColumn;
    m_idTopLeftCell = {};
    ResetScrollBars();
    Refresh();
    return true;
}

bool CDataGrid::DeleteRow(int row) {
    EndEditing();  // first: its notification may reshape the grid
    if (row < 0 || row >= m_nRows) return false;
    ClearSelectionMap();
    m_PrevSelectedCellMap.clear();
    ++m_structureStamp;
    m_RowData.erase(m_RowData.begin() + row);
    m_arRowHeights.erase(m_arRowHeights.begin() + row);
    --m_nRows;
    if (row < m_nFixedRows) --m_nFixedRows;
    if (m_idCurrentCell.row == row)
        m_idCurrentCell = {};
    else if (m_idCurrentCell.row > row)
        --m_idCurrentCell.row;
    m_idTopLeftCell = {};
    ResetScrollBars();
    SetModified(-1, -1);
    Refresh();
    return true;
}

void CDataGrid::DeleteNonFixedRows() {
    EndEditing();
    ClearSelectionMap();
    m_PrevSelectedCellMap.clear();
    SetRowCount(m_nFixedRows);
}

bool CDataGrid::DeleteAllItems() {
    EndEditing();
    ClearSelectionMap();
    m_PrevSelectedCellMap.clear();
    ++m_structureStamp;
    m_RowData.clear();
    m_arRowHeights.clear();
    m_arColWidths.clear();
    m_nRows = m_nCols = m_nFixedRows = m_nFixedCols = 0;
    m_idCurrentCell = {};
    m_idTopLeftCell = {};
    m_horz.pos = m_vert.pos = 0;
    ResetScrollBars();
    SetModified(-1, -1);
    Refresh();
    return true;
}

std::unique_ptr<CDataGridCellBase> CDataGrid::CreateCell(int row, int col) {
    std::unique_ptr<CDataGridCellBase> cell = m_cellFactory ? m_cellFactory() : nullptr;
    if (!cell) cell = std::make_unique<CDataGridCell>();
    cell->SetGrid(this);
    cell->SetCoords(row, col);
    unsigned state = 0;
    if (row < m_nFixedRows) state |= CellStateFixed | CellStateFixedRow;
    if (col < m_nFixedCols) state |= CellStateFixed | CellStateFixedColumn;
    cell->SetState(state);
    if (const CDataGridDefaultCell* def = cell->GetDefaultCell()) cell->SetFormat(def->GetFormat());
    return cell;
}

void CDataGrid::DestroyCell(int row, int col) {
    if (!IsValid(row, col)) return;
    auto& slot = m_RowData[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
    if (slot) slot->SetState(0);
    m_SelectedCellMap.erase({row, col});
    slot.reset();
}

bool CDataGrid::SetCellType(int row, int col, CellFactory factory) {
    if (m_editCell == CCellPos{row, col}) EndEditing();  // first: it may reshape the grid
    if (!IsValid(row, col) || !factory) return false;
    std::unique_ptr<CDataGridCellBase> cell = factory();
    if (!cell || !IsValid(row, col)) return false;
    cell->SetGrid(this);
    cell->SetCoords(row, col);
    if (const CDataGridCellBase* old = GetCell(row, col)) cell->CopyFrom(*old);
    ++m_structureStamp;
    m_RowData[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = std::move(cell);
    return true;
}
