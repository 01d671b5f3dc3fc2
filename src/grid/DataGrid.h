// CDataGrid: the grid control's core. It owns the cells, rows, columns, sizes, focus, selection,
// sort state, scroll positions, the mouse state machine and the print layout, and takes every
// decision. The window around it only forwards input (OnKeyDown, OnLButtonDown, ...), paints
// through OnDraw with a GridPainter and offers its services through GridHost.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "GridCell.h"
#include "GridHost.h"
#include "GridInput.h"
#include "GridPainter.h"
#include "GridPrintLayout.h"
#include "GridTypes.h"
#include "WheelTurn.h"

// Compare of two cells for sorting: negative, 0 or positive for a before, equal to, after b.
using GridCompareFunc = int (*)(const CDataGridCellBase* a, const CDataGridCellBase* b,
                                std::intptr_t data);

class CDataGrid {
public:
    CDataGrid();
    virtual ~CDataGrid();
    CDataGrid(const CDataGrid&) = delete;
    CDataGrid& operator=(const CDataGrid&) = delete;

    // ---- wiring ----
    void SetOwner(GridOwner* owner) { owner_ = owner; }
    void SetHost(GridHost* host) { host_ = host; }
    GridHost* GetHost() const { return host_; }
    // The painter used to measure text outside painting (auto-size, title tips).
    void SetMeasurer(GridPainter* measurer) { measurer_ = measurer; }
    GridPainter* GetMeasurer() const { return measurer_; }
    void SetDlgCtrlID(int id) { ctrlId_ = id; }
    int GetDlgCtrlID() const { return ctrlId_; }

    // ---- counts and structure ----
    bool SetRowCount(int rows);
    bool SetColumnCount(int cols);
    bool SetFixedRowCount(int fixedRows);
    bool SetFixedColumnCount(int fixedCols);
    int GetRowCount() const { return rows_; }
    int GetColumnCount() const { return cols_; }
    int GetFixedRowCount() const { return fixedRows_; }
    int GetFixedColumnCount() const { return fixedCols_; }
    // Appends a row; its index, or -1.
    int InsertRow();
    bool DeleteRow(int row);
    // Moves a body column (cells and width) to another body position; the columns between
    // shift over. Ends any edit and clears the selection. False for fixed or unknown columns.
    bool MoveColumn(int from, int to);
    void DeleteNonFixedRows();
    bool DeleteAllItems();

    // ---- cell factory ----
    virtual std::unique_ptr<CDataGridCellBase> CreateCell(int row, int col);
    virtual void DestroyCell(int row, int col);
    // The kind of cell CreateCell makes (null: CDataGridCell).
    void SetDefaultCellType(CellFactory factory) { cellFactory_ = factory; }
    // Replaces a cell by one of another kind, keeping its contents.
    bool SetCellType(int row, int col, CellFactory factory);
    template <class T>
    bool SetCellType(int row, int col)
    {
        return SetCellType(row, col, &MakeCell<T>);
    }

    // ---- cell access (positions outside the grid change nothing) ----
    CDataGridCellBase* GetCell(int row, int col) const;
    // Stores cell at the position and hands back the one it replaces.
    std::unique_ptr<CDataGridCellBase> SetCell(int row, int col,
                                               std::unique_ptr<CDataGridCellBase> cell);
    std::string GetItemText(int row, int col) const;
    // Stores the text and marks the cell modified; no repaint.
    bool SetItemText(int row, int col, std::string_view text);
    unsigned GetItemState(int row, int col) const;
    bool SetItemState(int row, int col, unsigned state);
    int GetItemImage(int row, int col) const;
    bool SetItemImage(int row, int col, int image);
    std::intptr_t GetItemData(int row, int col) const;
    bool SetItemData(int row, int col, std::intptr_t data);
    unsigned GetItemFormat(int row, int col) const;
    bool SetItemFormat(int row, int col, unsigned format);
    GridColor GetItemFgColour(int row, int col) const;
    bool SetItemFgColour(int row, int col, GridColor color);
    GridColor GetItemBkColour(int row, int col) const;
    bool SetItemBkColour(int row, int col, GridColor color);
    const GridFont* GetItemFont(int row, int col) const;
    bool SetItemFont(int row, int col, const GridFont* font);
    int GetItemMargin(int row, int col) const;
    bool SetItemMargin(int row, int col, int margin);

    // Marks the cell modified (both >= 0), clears the sort column when col is it or negative.
    void SetModified(int row = -1, int col = -1);
    bool GetModified() const { return modified_; }
    void ClearModified() { modified_ = false; }

    bool IsValid(int row, int col) const
    {
        return row >= 0 && row < rows_ && col >= 0 && col < cols_;
    }
    bool IsValid(CCellPos cell) const { return IsValid(cell.row, cell.col); }
    bool IsValid(const CCellBlock& range) const;
    bool IsCellFixed(int row, int col) const { return row < fixedRows_ || col < fixedCols_; }
    bool IsCellEditable(int row, int col) const;
    bool IsCellSelected(int row, int col) const;
    bool IsCellVisible(int row, int col);

    // ---- sizes ----
    int GetRowHeight(int row) const;
    int GetColumnWidth(int col) const;
    bool SetRowHeight(int row, int height);
    bool SetColumnWidth(int col, int width);
    int GetFixedRowHeight() const;
    int GetFixedColumnWidth() const;
    int GetVirtualHeight() const;
    int GetVirtualWidth() const;

    // ---- default cells, font, colours ----
    CDataGridDefaultCell* GetDefaultCell(bool fixedRow, bool fixedCol);
    const CDataGridDefaultCell* GetDefaultCell(bool fixedRow, bool fixedCol) const;
    // Passes the font to the four default cells (measured with the measurer) and repaints.
    void SetFont(const GridFont& font);
    const GridFont& GetFont() const { return cellDefault_.GetFont(); }
    // New system colours: default colours that followed the old ones follow the new.
    void SetSystemColors(const GridPalette& palette);
    const GridPalette& GetPalette() const { return palette_; }
    void SetGridLineColor(GridColor c) { gridLineColour_ = c; }
    GridColor GetGridLineColor() const { return gridLineColour_; }
    void SetGridBkColor(GridColor c) { gridBkColour_ = c; }
    GridColor GetGridBkColor() const { return gridBkColour_; }
    void SetTitleTipColors(GridColor text, GridColor back)
    {
        tTipFgClr_ = text;
        tTipBkClr_ = back;
    }
    // The owner's image list: its image size; {0, 0} = none.
    void SetImageListSize(GridSize size) { imageSize_ = size; }
    GridSize GetImageListSize() const { return imageSize_; }
    bool HasImageList() const { return imageSize_.cx > 0 && imageSize_.cy > 0; }

    // ---- behaviour switches ----
    void SetEditable(bool on) { editable_ = on; }
    bool IsEditable() const { return editable_; }
    // Whole-row selection; clears the selection and the sort column.
    void SetListMode(bool on);
    bool GetListMode() const { return listMode_; }
    void SetSingleRowSelection(bool on) { singleRowSelection_ = on; }
    bool GetSingleRowSelection() const { return singleRowSelection_; }
    void SetSingleColSelection(bool on) { singleColSelection_ = on; }
    bool GetSingleColSelection() const { return singleColSelection_; }
    void SetFixedColumnSelection(bool on) { fixedColumnSelection_ = on; }
    bool GetFixedColumnSelection() const { return fixedColumnSelection_; }
    // Whether selection ranges may start in the fixed columns.
    void SetFixedColumnsInRange(bool on) { fixedColumnsInRange_ = on; }
    bool GetFixedColumnsInRange() const { return fixedColumnsInRange_; }
    void SetFixedRowSelection(bool on) { fixedRowSelection_ = on; }
    bool GetFixedRowSelection() const { return fixedRowSelection_; }
    void SetHeaderSort(bool on) { sortOnClick_ = on; }
    bool GetHeaderSort() const { return sortOnClick_; }
    void EnableSelection(bool on);
    bool IsSelectable() const { return enableSelection_; }
    void SetRedraw(bool on);
    bool GetRedraw() const { return allowDraw_; }
    void SetGridLines(int lines) { gridLines_ = lines; }
    int GetGridLines() const { return gridLines_; }
    void SetDoubleBuffering(bool on) { doubleBuffer_ = on; }
    bool GetDoubleBuffering() const { return doubleBuffer_; }
    void EnableTitleTips(bool on) { titleTips_ = on; }
    bool GetTitleTips() const { return titleTips_; }
    void EnableDragAndDrop(bool on) { allowDragAndDrop_ = on; }
    // A column heading dragged onto another moves its column there.
    void SetHeaderDragMovesColumn(bool on) { headerDragMovesColumn_ = on; }
    bool GetHeaderDragMovesColumn() const { return headerDragMovesColumn_; }
    bool GetDragAndDrop() const { return allowDragAndDrop_; }
    void SetHandleTabKey(bool on) { handleTabKey_ = on; }
    bool GetHandleTabKey() const { return handleTabKey_; }
    void SetTabLeavesGrid(bool on) { tabLeavesGrid_ = on; }
    bool GetTabLeavesGrid() const { return tabLeavesGrid_; }
    void SetTrackFocusCell(bool on) { trackFocusCell_ = on; }
    bool GetTrackFocusCell() const { return trackFocusCell_; }
    void SetFrameFocusCell(bool on) { frameFocus_ = on; }
    bool GetFrameFocusCell() const { return frameFocus_; }
    void SetAutoSizeStyle(int style) { autoSizeColumnStyle_ = style; }
    int GetAutoSizeStyle() const { return autoSizeColumnStyle_; }
    void EnableColumnResize(bool on) { allowColumnResize_ = on; }
    bool GetColumnResize() const { return allowColumnResize_; }
    void EnableRowResize(bool on) { allowRowResize_ = on; }
    bool GetRowResize() const { return allowRowResize_; }
    void EnableHiddenColUnhide(bool on) { hiddenColUnhide_ = on; }
    bool GetHiddenColUnhide() const { return hiddenColUnhide_; }
    void EnableHiddenRowUnhide(bool on) { hiddenRowUnhide_ = on; }
    bool GetHiddenRowUnhide() const { return hiddenRowUnhide_; }
    void SetColumnMayVanish(bool on) { allowColHide_ = on; }
    bool GetColumnMayVanish() const { return allowColHide_; }
    void SetRowMayVanish(bool on) { allowRowHide_ = on; }
    bool GetRowMayVanish() const { return allowRowHide_; }
    void SetBorderGrabWidth(int pixels) { resizeCaptureRange_ = pixels < 0 ? 0 : pixels; }
    int GetBorderGrabWidth() const { return resizeCaptureRange_; }
    void SetAutoScrollPeriod(int ms) { autoScrollPeriod_ = ms < 1 ? 1 : ms; }
    int GetAutoScrollPeriod() const { return autoScrollPeriod_; }
    // Lines per wheel notch; -1 = one page per notch.
    void SetWheelScrollLines(int lines) { rowsPerWheelNotch_ = lines; }
    int GetWheelScrollLines() const { return rowsPerWheelNotch_; }

    // ---- focus and selection ----
    // Returns the previous focus cell; fixed rows and columns are raised into the body.
    CCellPos SetFocusCell(int row, int col);
    CCellPos SetFocusCell(CCellPos cell) { return SetFocusCell(cell.row, cell.col); }
    CCellPos GetFocusCell() const { return idCurrentCell_; }
    void SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, bool forceRepaint = false,
                          bool selectCells = true);
    void SetSelectedRange(const CCellBlock& range, bool forceRepaint = false,
                          bool selectCells = true);
    // Empties the previous selection, clears the selection and the focus cell.
    void ResetSelectedRange();
    // The smallest block holding every selected cell; (rows, cols, -1, -1) when none is.
    CCellBlock GetSelectedCellRange() const;
    int GetSelectedCount() const { return static_cast<int>(selectedCellMap_.size()); }
    void SelectAllCells();
    void SelectColumns(CCellPos cell, bool forceRedraw = false, bool selectCells = true);
    void SelectRows(CCellPos cell, bool forceRedraw = false, bool selectCells = true);
    void SelectCells(CCellPos cell, bool forceRedraw = false, bool selectCells = true);
    // Selects up to cell as the mouse mode says (all, columns, rows or cells).
    void OnSelecting(CCellPos cell);

    // ---- sorting ----
    void SetCompareFunction(GridCompareFunc compare) { compare_ = compare; }
    // Sorts the body rows by col, stably; fixed rows never move. False for a column outside
    // the grid or fewer than two body rows. Ends any open edit first. No repaint.
    bool SortItems(int col, bool ascending, std::intptr_t data = 0);
    void SetSortColumn(int col);
    int GetSortColumn() const { return sortColumn_; }
    bool GetSortAscending() const { return ascending_; }
    static int CompareText(const CDataGridCellBase* a, const CDataGridCellBase* b,
                           std::intptr_t data);
    static int CompareNumeric(const CDataGridCellBase* a, const CDataGridCellBase* b,
                              std::intptr_t data);

    // ---- editing ----
    // A text change made by the program (paste, cut, delete, drop): asks the owner, validates,
    // and puts the old text back when refused. True when the new text stays.
    bool EditCellText(int row, int col, std::string_view text, EditCause cause);
    // Opens the in-place editor on a cell (click, F2, typing, a carried-over key).
    virtual void OnEditCell(int row, int col, GridPoint point, EditCause cause, char32_t ch = 0);
    // Ends the open in-place edit, storing its text in the cell it was opened on.
    virtual void EndEditing();
    // Applies an edited text to a cell (with the owner's consent).
    virtual void OnEndEditCell(int row, int col, const std::string& text);
    // The editor finished by itself (Enter, Tab, Esc, an arrow, loss of focus).
    void OnEndEditRecord(int row, int col, const std::string& text, EditEndKey lastKey);
    bool IsEditing() const { return editCell_.IsValid(); }
    CCellPos GetEditCell() const { return editCell_; }

    // ---- geometry and scrolling ----
    // The space inside the window's frame; scroll bars, when shown, take part of it.
    void SetClientSize(int cx, int cy);
    void SetScrollBarExtent(int verticalBarWidth, int horizontalBarHeight);
    // The client area left for cells.
    GridRect GetClientRect() const;
    CCellPos GetTopleftNonFixedCell(bool forceRecalculation = false);
    CCellBlock GetVisibleNonFixedCellRange(GridRect* rect = nullptr);
    CCellBlock GetVisibleFixedCellRange(GridRect* rect = nullptr);
    bool GetCellOrigin(int row, int col, GridPoint& origin);
    bool GetCellRect(int row, int col, GridRect& rect);
    bool GetTextRect(int row, int col, GridRect& rect);
    CCellPos GetCellFromPt(GridPoint point, bool allowFixedCellCheck = true);
    void ResetScrollBars();
    const ScrollBarInfo& GetHorzScrollBar() const { return horz_; }
    const ScrollBarInfo& GetVertScrollBar() const { return vert_; }
    int GetScrollPos(bool vertical) const { return vertical ? vert_.pos : horz_.pos; }
    void SetScrollPos(bool vertical, int pos);
    void OnHScroll(ScrollCode code, int trackPos = 0);
    void OnVScroll(ScrollCode code, int trackPos = 0);
    void EnsureVisible(int row, int col);
    void EnsureVisible(CCellPos cell) { EnsureVisible(cell.row, cell.col); }
    void AutoSize(int style = 0);
    void AutoSizeColumn(int col, int style = 0, bool resetScroll = true);
    void AutoSizeRow(int row, bool resetScroll = true);
    void Refresh();
    void RedrawCell(int row, int col);

    // ---- keyboard and mouse (forwarded by the window) ----
    void OnKeyDown(GridKey key, GridModifiers mods);
    void OnChar(char32_t ch, GridModifiers mods);
    // Whether the window should hand Tab to the grid now.
    bool WantsTab(GridModifiers mods) const { return handleTabKey_ && !mods.ctrl; }
    void OnLButtonDown(GridPoint point, GridModifiers mods);
    void OnMouseMove(GridPoint point, GridModifiers mods, bool leftButtonDown);
    void OnLButtonUp(GridPoint point, GridModifiers mods);
    void OnLButtonDblClk(GridPoint point, GridModifiers mods);
    void OnRButtonUp(GridPoint point, GridModifiers mods);
    // A turn in angle units (120 a notch), or in pixels from a touchpad; parts of a line add up.
    void OnMouseWheel(int delta);
    void OnMouseWheelPixels(int pixels);
    // The auto-scroll timer fired; cursor in client coordinates.
    void OnTimer(GridPoint cursor);
    void OnCaptureLost();
    GridMouseMode GetMouseMode() const { return mouseMode_; }
    const TrackingLine& GetTrackingLine() const { return trackingLine_; }
    GridCursor CursorAt(GridPoint point);

    // ---- clipboard ----
    // The clipboard text of the selection; empty when nothing is selected.
    std::string CopyTextFromSelection() const;
    // Clears every selected cell through the edit path.
    virtual void CutSelectedText(EditCause cause = EditCause::Cut);
    // Pastes clipboard text with its top-left field at cell (cause: Paste or Drop). True when
    // every non-empty field was stored: false when some fell past the last row or column, a cell
    // or the owner refused one, or the owner reshaped the grid meanwhile. Text a grid built
    // (gridText: the host says so) splits at tabs only.
    virtual bool PasteTextAtCell(CCellPos cell, std::string_view text, bool selectPasted,
                                 EditCause cause = EditCause::Paste, bool gridText = false);
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnEditSelectAll();
    bool CanEditCopy() const { return GetSelectedCount() > 0; }
    bool CanEditCut() const { return editable_ && GetSelectedCount() > 0; }
    bool CanEditPaste() const;
    bool CanEditSelectAll() const { return enableSelection_; }

    // ---- drag and drop (only with EnableDragAndDrop on) ----
    // Drags the selection's text; a move clears the cells it came from.
    virtual void OnBeginDrag();
    // The drop target side: the answer for text (or other data) over point.
    DropEffect OnDragEnter(GridPoint point, bool offersText, GridModifiers mods)
    {
        return OnDragOver(point, offersText, mods);
    }
    DropEffect OnDragOver(GridPoint point, bool offersText, GridModifiers mods);
    void OnDragLeave();
    // Pastes the dropped text at the last accepted cell; false when nothing was accepted there or
    // not all of the text was stored (the drag source must then keep its text: a copy, not a move).
    bool OnDrop(std::string_view text, bool gridText = false);
    CCellPos GetDropHighlightCell() const { return lastDragOverCell_; }

    // ---- painting ----
    virtual void OnDraw(GridPainter& painter, const GridRect& clip);

    // ---- printing ----
    PrintSettings& GetPrintSettings() { return print_; }
    void SetPrintTitle(std::string_view title) { print_.title.assign(title); }
    void SetPrintFooterFormat(std::string_view format) { print_.footerFormat.assign(format); }
    // Lays the job out; measurer measures in the print font. False when nothing can be printed.
    virtual bool OnBeginPrinting(GridPainter& measurer, const PrintDevice& device);
    const PrintLayout& GetPrintLayout() const { return printLayout_; }
    // Draws page n (1-based) in page coordinates; dateText goes right of the footer.
    virtual void OnPrintPage(GridPainter& painter, int page, const std::string& dateText);
    virtual void OnEndPrinting() { printLayout_ = PrintLayout{}; }

protected:
    virtual void OnFixedRowClick(CCellPos cell);
    virtual void OnFixedColumnClick(CCellPos cell);
    int SendMessageToParent(int row, int col, int code, EditCause cause = EditCause::Click,
                            char32_t ch = 0);

private:
    using Row = std::vector<std::unique_ptr<CDataGridCellBase>>;

    void ClearSelectionMap();
    // Scrolls lines (or pages) up for positive steps, down for negative ones.
    void ScrollWheelSteps(long long steps, bool pages);
    void SetCellSelected(CCellPos cell, bool selected, bool redraw);
    void UpdateFixedState(int oldFixedRows, int oldFixedCols);
    bool SetFixedCount(bool rows, int fixed);
    // The common end of a row or column count change: scrolled home, redrawn; returns ok.
    bool AfterResize(bool ok);
    void ApplyFixedBits(int row, int col);
    void StartEditing(CCellPos cell, GridPoint point, EditCause cause, char32_t ch);
    void HandleEndKey(EditEndKey key);
    int FirstSelectableColumn() const { return fixedColumnsInRange_ ? 0 : fixedCols_; }
    int NextVisibleRow(int row, int step) const;
    int NextVisibleCol(int col, int step) const;
    int VisibleHeight() const;
    int VisibleWidth() const;
    void InvalidateAll();
    void InvalidateRect(const GridRect& rect);
    bool MouseOverColumnResizeArea(GridPoint point);
    bool MouseOverRowResizeArea(GridPoint point);
    void ScrollAxis(bool vertical, ScrollCode code, int trackPos);
    // The printed sizes of the columns and rows.
    void MeasureForPrint(GridPainter& measurer, PrintLayout& layout) const;
    void PrintCells(GridPainter& painter, const PrintBand& rows, const PrintBand& cols, int x0,
                    int y0);

    // wiring
    GridOwner* owner_ = nullptr;
    GridHost* host_ = nullptr;
    GridPainter* measurer_ = nullptr;
    int ctrlId_ = 0;

    // structure
    int rows_ = 0, cols_ = 0, fixedRows_ = 0, fixedCols_ = 0;
    std::vector<int> rowHeights_;
    std::vector<int> colWidths_;
    std::vector<Row> rowData_;
    CDataGridDefaultCell cellDefault_, cellFixedColDef_, cellFixedRowDef_, cellFixedRowColDef_;
    CellFactory cellFactory_ = nullptr;
    GridPalette palette_;
    GridColor gridLineColour_ = GridRgb(0xC0, 0xC0, 0xC0);
    GridColor gridBkColour_;
    GridColor tTipFgClr_ = kClrDefault, tTipBkClr_ = kClrDefault;
    GridSize imageSize_;
    bool modified_ = false;

    // switches
    bool editable_ = true;
    bool listMode_ = false;
    bool singleRowSelection_ = false;
    bool singleColSelection_ = false;
    bool fixedColumnSelection_ = true;
    bool fixedColumnsInRange_ = false;
    bool fixedRowSelection_ = true;
    bool sortOnClick_ = false;
    bool enableSelection_ = true;
    bool allowDraw_ = true;
    int gridLines_ = GridLinesBoth;
    bool doubleBuffer_ = true;
    bool titleTips_ = true;
    bool allowDragAndDrop_ = false;
    bool headerDragMovesColumn_ = false;
    bool handleTabKey_ = true;
    bool tabLeavesGrid_ = false;
    bool trackFocusCell_ = true;
    bool frameFocus_ = true;
    int autoSizeColumnStyle_ = AutoSizeBoth;
    bool allowColumnResize_ = true, allowRowResize_ = true;
    bool hiddenColUnhide_ = true, hiddenRowUnhide_ = true;
    bool allowColHide_ = true, allowRowHide_ = true;
    int resizeCaptureRange_ = 3;
    int autoScrollPeriod_ = 25;
    int rowsPerWheelNotch_ = 3;
    CWheelTurn wheelTurn_, wheelPixels_;

    // focus, selection, sort
    CCellPos idCurrentCell_;
    std::set<CCellPos> selectedCellMap_;
    std::set<CCellPos> prevSelectedCellMap_;
    int sortColumn_ = -1;
    bool ascending_ = true;
    GridCompareFunc compare_ = nullptr;

    // editing
    CCellPos editCell_;
    EditCause editCause_ = EditCause::Click;
    // Counts changes that move or replace cells, so a notification handler that reshapes the
    // grid is noticed and no stale position is written to afterwards.
    unsigned structureStamp_ = 0;

    // geometry
    int clientCx_ = 0, clientCy_ = 0;
    int vBarWidth_ = 16, hBarHeight_ = 16;
    ScrollBarInfo horz_, vert_;
    CCellPos idTopLeftCell_;  // cached; invalid = recompute

    // mouse
    GridMouseMode mouseMode_ = MouseNone;
    CCellPos selectionStartCell_;
    CCellPos leftClickDownCell_;
    GridPoint leftClickDownPoint_;
    GridPoint lastMousePoint_;
    bool lMouseButtonDown_ = false;
    bool capture_ = false;
    bool timerRunning_ = false;
    TrackingLine trackingLine_;
    int sizingIndex_ = -1;  // the row or column being sized

    // drag and drop
    CCellPos lastDragOverCell_;
    int dragColumn_ = -1;    // the column whose heading is being dragged
    bool dragging_ = false;  // this grid is the drag source
    // Expires with the grid: code after a nested event loop (the drag) checks it before going on.
    std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
    std::set<CCellPos> droppedCells_;  // written by a drop into the dragging grid itself

    // printing
    PrintSettings print_;
    PrintLayout printLayout_;
};
