// Construction, row and column counts, the fixed bands and the cell factory.
#include <algorithm>
#include <new>

#include "DataGrid.h"

CDataGrid::CDataGrid() : gridBkColour_(palette_.btnShadow)
{
    for (CDataGridDefaultCell* def :
         {&cellDefault_, &cellFixedColDef_, &cellFixedRowDef_, &cellFixedRowColDef_}) {
        def->SetGrid(this);
        def->SetFont(GridFont{}, nullptr);
        def->SetTextClr(palette_.windowText);
        def->SetBackClr(def == &cellDefault_ ? palette_.window : palette_.btnFace);
    }
}

CDataGrid::~CDataGrid() = default;

bool CDataGrid::SetRowCount(int rows)
{
    if (rows < 0)
        return false;
    if (rows == rows_)
        return true;
    EndEditing();
    bool ok = true;
    if (rows < rows_) {
        rowData_.resize(static_cast<std::size_t>(rows));
        rowHeights_.resize(static_cast<std::size_t>(rows));
        rows_ = rows;
        if (fixedRows_ > rows)
            fixedRows_ = rows;
        if (idCurrentCell_.row >= rows)
            idCurrentCell_ = {};
        std::erase_if(selectedCellMap_, [rows](const CCellPos& c) { return c.row >= rows; });
        std::erase_if(prevSelectedCellMap_, [rows](const CCellPos& c) { return c.row >= rows; });
    } else {
        try {
            while (rows_ < rows) {
                Row row;
                row.reserve(static_cast<std::size_t>(cols_));
                const int r = rows_;
                rowData_.emplace_back();
                rowHeights_.push_back(cellDefault_.GetHeight());
                ++rows_;
                for (int c = 0; c < cols_; ++c)
                    row.push_back(CreateCell(r, c));
                rowData_.back() = std::move(row);
            }
        } catch (const std::bad_alloc&) {
            // Keep what was built; a row left half made is dropped again.
            if (!rowData_.empty() && static_cast<int>(rowData_.back().size()) != cols_) {
                rowData_.pop_back();
                rowHeights_.pop_back();
                --rows_;
            }
            ok = false;
        }
    }
    return AfterResize(ok);
}

bool CDataGrid::AfterResize(bool ok)
{
    idTopLeftCell_ = {};
    ++structureStamp_;
    SetModified(-1, -1);
    ResetScrollBars();
    Refresh();
    return ok;
}

bool CDataGrid::SetColumnCount(int cols)
{
    if (cols < 0)
        return false;
    if (cols == cols_)
        return true;
    EndEditing();
    bool ok = true;
    if (cols < cols_) {
        for (Row& row : rowData_)
            row.resize(static_cast<std::size_t>(cols));
        colWidths_.resize(static_cast<std::size_t>(cols));
        cols_ = cols;
        if (fixedCols_ > cols)
            fixedCols_ = cols;
        if (idCurrentCell_.col >= cols)
            idCurrentCell_ = {};
        std::erase_if(selectedCellMap_, [cols](const CCellPos& c) { return c.col >= cols; });
        std::erase_if(prevSelectedCellMap_, [cols](const CCellPos& c) { return c.col >= cols; });
        if (sortColumn_ >= cols)
            sortColumn_ = -1;
    } else {
        try {
            const int oldCols = cols_;
            for (int r = 0; r < rows_; ++r) {
                Row& row = rowData_[static_cast<std::size_t>(r)];
                row.reserve(static_cast<std::size_t>(cols));
                for (int c = oldCols; c < cols; ++c)
                    row.push_back(CreateCell(r, c));
            }
            colWidths_.resize(static_cast<std::size_t>(cols), cellFixedColDef_.GetWidth());
            cols_ = cols;
        } catch (const std::bad_alloc&) {
            // Keep the columns that every row received.
            std::size_t common = colWidths_.size();
            for (const Row& row : rowData_)
                common = std::min(common, row.size());
            for (Row& row : rowData_)
                row.resize(common);
            cols_ = static_cast<int>(common);
            ok = false;
        }
    }
    return AfterResize(ok);
}

void CDataGrid::ApplyFixedBits(int row, int col)
{
    CDataGridCellBase* cell = GetCell(row, col);
    if (!cell)
        return;
    unsigned state =
        cell->GetState() & ~(CellStateFixed | CellStateFixedRow | CellStateFixedColumn);
    const bool fixedRow = row < fixedRows_, fixedCol = col < fixedCols_;
    if (fixedRow)
        state |= CellStateFixed | CellStateFixedRow;
    if (fixedCol)
        state |= CellStateFixed | CellStateFixedColumn;
    if ((state & CellStateFixed) != (cell->GetState() & CellStateFixed)) {
        cell->SetTextClr(kClrDefault);
        cell->SetBackClr(kClrDefault);
    }
    cell->SetState(state);
}

void CDataGrid::UpdateFixedState(int oldFixedRows, int oldFixedCols)
{
    const int r0 = std::min(oldFixedRows, fixedRows_), r1 = std::max(oldFixedRows, fixedRows_);
    for (int r = r0; r < r1 && r < rows_; ++r)
        for (int c = 0; c < cols_; ++c)
            ApplyFixedBits(r, c);
    const int c0 = std::min(oldFixedCols, fixedCols_), c1 = std::max(oldFixedCols, fixedCols_);
    for (int r = 0; r < rows_; ++r)
        for (int c = c0; c < c1 && c < cols_; ++c)
            ApplyFixedBits(r, c);
}

bool CDataGrid::SetFixedRowCount(int fixedRows)
{
    return SetFixedCount(true, fixedRows);
}

bool CDataGrid::SetFixedColumnCount(int fixedCols)
{
    return SetFixedCount(false, fixedCols);
}

bool CDataGrid::SetFixedCount(bool rows, int fixed)
{
    // The end-of-edit notification may reshape the grid: the counts are read after it.
    EndEditing();
    int& current = rows ? fixedRows_ : fixedCols_;
    if (fixed < 0)
        return false;
    if (fixed == current)
        return true;
    if (fixed > (rows ? rows_ : cols_) && !(rows ? SetRowCount(fixed) : SetColumnCount(fixed)))
        return false;
    ResetSelectedRange();
    const int oldRows = fixedRows_, oldCols = fixedCols_;
    current = fixed;
    UpdateFixedState(oldRows, oldCols);
    idTopLeftCell_ = {};
    ResetScrollBars();
    Refresh();
    return true;
}

int CDataGrid::InsertRow()
{
    EndEditing();
    if (cols_ == 0 && !SetColumnCount(1))
        return -1;
    ClearSelectionMap();
    const int r = rows_;
    try {
        Row row;
        row.reserve(static_cast<std::size_t>(cols_));
        rowData_.emplace_back();
        rowHeights_.push_back(cellFixedRowDef_.GetHeight());
        ++rows_;
        for (int c = 0; c < cols_; ++c)
            row.push_back(CreateCell(r, c));
        rowData_.back() = std::move(row);
    } catch (const std::bad_alloc&) {
        if (rows_ > r) {
            rowData_.pop_back();
            rowHeights_.pop_back();
            rows_ = r;
        }
        return -1;
    }
    ++structureStamp_;
    SetItemText(r, 0, "");
    idTopLeftCell_ = {};
    ResetScrollBars();
    SetModified(-1, -1);
    Refresh();
    return r;
}

bool CDataGrid::MoveColumn(int from, int to)
{
    EndEditing();  // first: its notification may reshape the grid
    if (from < fixedCols_ || from >= cols_ || to < fixedCols_ || to >= cols_)
        return false;
    if (from == to)
        return true;
    ResetSelectedRange();
    ++structureStamp_;
    const auto shift = [from, to](auto& items) {
        const auto f = items.begin() + from, t = items.begin() + to;
        if (from < to)
            std::rotate(f, f + 1, t + 1);
        else
            std::rotate(t, f, f + 1);
    };
    for (Row& row : rowData_)
        shift(row);
    shift(colWidths_);
    // The sort column's heading arrow goes with its column.
    if (sortColumn_ == from)
        sortColumn_ = to;
    else if (from < to && sortColumn_ > from && sortColumn_ <= to)
        --sortColumn_;
    else if (to < from && sortColumn_ >= to && sortColumn_ < from)
        ++sortColumn_;
    idTopLeftCell_ = {};
    ResetScrollBars();
    Refresh();
    return true;
}

bool CDataGrid::DeleteRow(int row)
{
    EndEditing();  // first: its notification may reshape the grid
    if (row < 0 || row >= rows_)
        return false;
    ClearSelectionMap();
    prevSelectedCellMap_.clear();
    ++structureStamp_;
    rowData_.erase(rowData_.begin() + row);
    rowHeights_.erase(rowHeights_.begin() + row);
    --rows_;
    if (row < fixedRows_)
        --fixedRows_;
    if (idCurrentCell_.row == row)
        idCurrentCell_ = {};
    else if (idCurrentCell_.row > row)
        --idCurrentCell_.row;
    idTopLeftCell_ = {};
    ResetScrollBars();
    SetModified(-1, -1);
    Refresh();
    return true;
}

void CDataGrid::DeleteNonFixedRows()
{
    EndEditing();
    ClearSelectionMap();
    prevSelectedCellMap_.clear();
    SetRowCount(fixedRows_);
}

bool CDataGrid::DeleteAllItems()
{
    EndEditing();
    ClearSelectionMap();
    prevSelectedCellMap_.clear();
    ++structureStamp_;
    rowData_.clear();
    rowHeights_.clear();
    colWidths_.clear();
    rows_ = cols_ = fixedRows_ = fixedCols_ = 0;
    idCurrentCell_ = {};
    idTopLeftCell_ = {};
    horz_.pos = vert_.pos = 0;
    ResetScrollBars();
    SetModified(-1, -1);
    Refresh();
    return true;
}

std::unique_ptr<CDataGridCellBase> CDataGrid::CreateCell(int row, int col)
{
    std::unique_ptr<CDataGridCellBase> cell = cellFactory_ ? cellFactory_() : nullptr;
    if (!cell)
        cell = std::make_unique<CDataGridCell>();
    cell->SetGrid(this);
    cell->SetCoords(row, col);
    unsigned state = 0;
    if (row < fixedRows_)
        state |= CellStateFixed | CellStateFixedRow;
    if (col < fixedCols_)
        state |= CellStateFixed | CellStateFixedColumn;
    cell->SetState(state);
    if (const CDataGridDefaultCell* def = cell->GetDefaultCell())
        cell->SetFormat(def->GetFormat());
    return cell;
}

void CDataGrid::DestroyCell(int row, int col)
{
    if (!IsValid(row, col))
        return;
    auto& slot = rowData_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
    if (slot)
        slot->SetState(0);
    selectedCellMap_.erase({row, col});
    slot.reset();
}

bool CDataGrid::SetCellType(int row, int col, CellFactory factory)
{
    if (editCell_ == CCellPos{row, col})
        EndEditing();  // first: it may reshape the grid
    if (!IsValid(row, col) || !factory)
        return false;
    std::unique_ptr<CDataGridCellBase> cell = factory();
    if (!cell || !IsValid(row, col))
        return false;
    cell->SetGrid(this);
    cell->SetCoords(row, col);
    if (const CDataGridCellBase* old = GetCell(row, col))
        cell->CopyFrom(*old);
    ++structureStamp_;
    rowData_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = std::move(cell);
    return true;
}
