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

// Compare of two cells for sorting: negative, 0 or positive for a before, equal to, after b.
using GridCompareFunc = int (*)(const CDataGridCellBase* a, const CDataGridCellBase* b, std::intptr_t data);

class CDataGrid {
public:
    CDataGrid();
    virtual ~CDataGrid();
    CDataGrid(const CDataGrid&) = delete;
    CDataGrid& operator=(const CDataGrid&) = delete;

    // ---- wiring ----
    void SetOwner(GridOwner* owner) { m_pOwner = owner; }
    void SetHost(GridHost* host) { m_pHost = host; }
    GridHost* GetHost() const { return m_pHost; }
    // The painter used to measure text outside painting (auto-size, title tips).
    void SetMeasurer(GridPainter* measurer) { m_pMeasurer = measurer; }
    GridPainter* GetMeasurer() const { return m_pMeasurer; }
    void SetDlgCtrlID(int id) { m_nCtrlId = id; }
    int GetDlgCtrlID() const { return m_nCtrlId; }

    // ---- counts and structure ----
    bool SetRowCount(int rows);
    bool SetColumnCount(int cols);
    bool SetFixedRowCount(int fixedRows);
    bool SetFixedColumnCount(int fixedCols);
    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    int GetFixedRowCount() const { return m_nFixedRows; }
    int GetFixedColumnCount() const { return m_nFixedCols; }
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
    void SetDefaultCellType(CellFactory factory) { m_cellFactory = factory; }
    // Replaces a cell by one of another kind, keeping its contents.
    bool SetCellType(int row, int col, CellFactory factory);
    template <class T>
    bool SetCellType(int row, int col) { return SetCellType(row, col, &MakeCell<T>); }

    // ---- cell access (positions outside the grid change nothing) ----
    CDataGridCellBase* GetCell(int row, int col) const;
    // Stores cell at the position and hands back the one it replaces.
    std::unique_ptr<CDataGridCellBase> SetCell(int row, int col, std::unique_ptr<CDataGridCellBase> cell);
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
    bool GetModified() const { return m_bModified; }
    void ClearModified() { m_bModified = false; }

    bool IsValid(int row, int col) const { return row >= 0 && row < m_nRows && col >= 0 && col < m_nCols; }
    bool IsValid(CCellPos cell) const { return IsValid(cell.row, cell.col); }
    bool IsValid(const CCellBlock& range) const;
    bool IsCellFixed(int row, int col) const { return row < m_nFixedRows || col < m_nFixedCols; }
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
    const GridFont& GetFont() const { return m_cellDefault.GetFont(); }
    // New system colours: default colours that followed the old ones follow the new.
    void SetSystemColors(const GridPalette& palette);
    const GridPalette& GetPalette() const { return m_palette; }
    void SetGridLineColor(GridColor c) { m_crGridLineColour = c; }
    GridColor GetGridLineColor() const { return m_crGridLineColour; }
    void SetGridBkColor(GridColor c) { m_crGridBkColour = c; }
    GridColor GetGridBkColor() const { return m_crGridBkColour; }
    void SetTitleTipColors(GridColor text, GridColor back) { m_crTTipFgClr = text; m_crTTipBkClr = back; }
    // The owner's image list: its image size; {0, 0} = none.
    void SetImageListSize(GridSize size) { m_imageSize = size; }
    GridSize GetImageListSize() const { return m_imageSize; }
    bool HasImageList() const { return m_imageSize.cx > 0 && m_imageSize.cy > 0; }

    // ---- behaviour switches ----
    void SetEditable(bool on) { m_bEditable = on; }
    bool IsEditable() const { return m_bEditable; }
    // Whole-row selection; clears the selection and the sort column.
    void SetListMode(bool on);
    bool GetListMode() const { return m_bListMode; }
    void SetSingleRowSelection(bool on) { m_bSingleRowSelection = on; }
    bool GetSingleRowSelection() const { return m_bSingleRowSelection; }
    void SetSingleColSelection(bool on) { m_bSingleColSelection = on; }
    bool GetSingleColSelection() const { return m_bSingleColSelection; }
    void SetFixedColumnSelection(bool on) { m_bFixedColumnSelection = on; }
    bool GetFixedColumnSelection() const { return m_bFixedColumnSelection; }
    void SetFixedRowSelection(bool on) { m_bFixedRowSelection = on; }
    bool GetFixedRowSelection() const { return m_bFixedRowSelection; }
    void SetHeaderSort(bool on) { m_bSortOnClick = on; }
    bool GetHeaderSort() const { return m_bSortOnClick; }
    void EnableSelection(bool on);
    bool IsSelectable() const { return m_bEnableSelection; }
    void SetRedraw(bool on);
    bool GetRedraw() const { return m_bAllowDraw; }
    void SetGridLines(int lines) { m_nGridLines = lines; }
    int GetGridLines() const { return m_nGridLines; }
    void SetDoubleBuffering(bool on) { m_bDoubleBuffer = on; }
    bool GetDoubleBuffering() const { return m_bDoubleBuffer; }
    void EnableTitleTips(bool on) { m_bTitleTips = on; }
    bool GetTitleTips() const { return m_bTitleTips; }
    void EnableDragAndDrop(bool on) { m_bAllowDragAndDrop = on; }
    // A column heading dragged onto another moves its column there.
    void SetHeaderDragMovesColumn(bool on) { m_bHeaderDragMovesColumn = on; }
    bool GetHeaderDragMovesColumn() const { return m_bHeaderDragMovesColumn; }
    bool GetDragAndDrop() const { return m_bAllowDragAndDrop; }
    void SetHandleTabKey(bool on) { m_bHandleTabKey = on; }
    bool GetHandleTabKey() const { return m_bHandleTabKey; }
    void SetTabLeavesGrid(bool on) { m_bTabLeavesGrid = on; }
    bool GetTabLeavesGrid() const { return m_bTabLeavesGrid; }
    void SetTrackFocusCell(bool on) { m_bTrackFocusCell = on; }
    bool GetTrackFocusCell() const { return m_bTrackFocusCell; }
    void SetFrameFocusCell(bool on) { m_bFrameFocus = on; }
    bool GetFrameFocusCell() const { return m_bFrameFocus; }
    void SetAutoSizeStyle(int style) { m_nAutoSizeColumnStyle = style; }
    int GetAutoSizeStyle() const { return m_nAutoSizeColumnStyle; }
    void EnableColumnResize(bool on) { m_bAllowColumnResize = on; }
    bool GetColumnResize() const { return m_bAllowColumnResize; }
    void EnableRowResize(bool on) { m_bAllowRowResize = on; }
    bool GetRowResize() const { return m_bAllowRowResize; }
    void EnableHiddenColUnhide(bool on) { m_bHiddenColUnhide = on; }
    bool GetHiddenColUnhide() const { return m_bHiddenColUnhide; }
    void EnableHiddenRowUnhide(bool on) { m_bHiddenRowUnhide = on; }
    bool GetHiddenRowUnhide() const { return m_bHiddenRowUnhide; }
    void SetColumnMayVanish(bool on) { m_bAllowColHide = on; }
    bool GetColumnMayVanish() const { return m_bAllowColHide; }
    void SetRowMayVanish(bool on) { m_bAllowRowHide = on; }
    bool GetRowMayVanish() const { return m_bAllowRowHide; }
    void SetBorderGrabWidth(int pixels) { m_nResizeCaptureRange = pixels < 0 ? 0 : pixels; }
    int GetBorderGrabWidth() const { return m_nResizeCaptureRange; }
    void SetAutoScrollPeriod(int ms) { m_nAutoScrollPeriod = ms < 1 ? 1 : ms; }
    int GetAutoScrollPeriod() const { return m_nAutoScrollPeriod; }
    // Lines per wheel notch; -1 = one page per notch.
    void SetWheelScrollLines(int lines) { m_nRowsPerWheelNotch = lines; }
    int GetWheelScrollLines() const { return m_nRowsPerWheelNotch; }

    // ---- focus and selection ----
    // Returns the previous focus cell; fixed rows and columns are raised into the body.
    CCellPos SetFocusCell(int row, int col);
    CCellPos SetFocusCell(CCellPos cell) { return SetFocusCell(cell.row, cell.col); }
    CCellPos GetFocusCell() const { return m_idCurrentCell; }
    void SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, bool forceRepaint = false,
                          bool selectCells = true);
    void SetSelectedRange(const CCellBlock& range, bool forceRepaint = false, bool selectCells = true);
    // Empties the previous selection, clears the selection and the focus cell.
    void ResetSelectedRange();
    // The smallest block holding every selected cell; (rows, cols, -1, -1) when none is.
    CCellBlock GetSelectedCellRange() const;
    int GetSelectedCount() const { return static_cast<int>(m_SelectedCellMap.size()); }
    void SelectAllCells();
    void SelectColumns(CCellPos cell, bool forceRedraw = false, bool selectCells = true);
    void SelectRows(CCellPos cell, bool forceRedraw = false, bool selectCells = true);
    void SelectCells(CCellPos cell, bool forceRedraw = false, bool selectCells = true);
    // Selects up to cell as the mouse mode says (all, columns, rows or cells).
    void OnSelecting(CCellPos cell);

    // ---- sorting ----
    void SetCompareFunction(GridCompareFunc compare) { m_pfnCompare = compare; }
    // Sorts the body rows by col, stably; fixed rows never move. False for a column outside
    // the grid or fewer than two body rows. Ends any open edit first. No repaint.
    bool SortItems(int col, bool ascending, std::intptr_t data = 0);
    void SetSortColumn(int col);
    int GetSortColumn() const { return m_nSortColumn; }
    bool GetSortAscending() const { return m_bAscending; }
    static int CompareText(const CDataGridCellBase* a, const CDataGridCellBase* b, std::intptr_t data);
    static int CompareNumeric(const CDataGridCellBase* a, const CDataGridCellBase* b, std::intptr_t data);

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
    bool IsEditing() const { return m_editCell.IsValid(); }
    CCellPos GetEditCell() const { return m_editCell; }

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
    const ScrollBarInfo& GetHorzScrollBar() const { return m_horz; }
    const ScrollBarInfo& GetVertScrollBar() const { return m_vert; }
    int GetScrollPos(bool vertical) const { return vertical ? m_vert.pos : m_horz.pos; }
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
    bool WantsTab(GridModifiers mods) const { return m_bHandleTabKey && !mods.ctrl; }
    void OnLButtonDown(GridPoint point, GridModifiers mods);
    void OnMouseMove(GridPoint point, GridModifiers mods, bool leftButtonDown);
    void OnLButtonUp(GridPoint point, GridModifiers mods);
    void OnLButtonDblClk(GridPoint point, GridModifiers mods);
    void OnRButtonUp(GridPoint point, GridModifiers mods);
    void OnMouseWheel(int delta);
    // The auto-scroll timer fired; cursor in client coordinates.
    void OnTimer(GridPoint cursor);
    void OnCaptureLost();
    GridMouseMode GetMouseMode() const { return m_MouseMode; }
    const TrackingLine& GetTrackingLine() const { return m_trackingLine; }
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
    bool CanEditCut() const { return m_bEditable && GetSelectedCount() > 0; }
    bool CanEditPaste() const;
    bool CanEditSelectAll() const { return m_bEnableSelection; }

    // ---- drag and drop (only with EnableDragAndDrop on) ----
    // Drags the selection's text; a move clears the cells it came from.
    virtual void OnBeginDrag();
    // The drop target side: the answer for text (or other data) over point.
    DropEffect OnDragEnter(GridPoint point, bool offersText, GridModifiers mods) { return OnDragOver(point, offersText, mods); }
    DropEffect OnDragOver(GridPoint point, bool offersText, GridModifiers mods);
    void OnDragLeave();
    // Pastes the dropped text at the last accepted cell; false when nothing was accepted there or
    // not all of the text was stored (the drag source must then keep its text: a copy, not a move).
    bool OnDrop(std::string_view text, bool gridText = false);
    CCellPos GetDropHighlightCell() const { return m_LastDragOverCell; }

    // ---- painting ----
    virtual void OnDraw(GridPainter& painter, const GridRect& clip);

    // ---- printing ----
    PrintSettings& GetPrintSettings() { return m_print; }
    void SetPrintTitle(std::string_view title) { m_print.title.assign(title); }
    void SetPrintFooterFormat(std::string_view format) { m_print.footerFormat.assign(format); }
    // Lays the job out; measurer measures in the print font. False when nothing can be printed.
    virtual bool OnBeginPrinting(GridPainter& measurer, const PrintDevice& device);
    const PrintLayout& GetPrintLayout() const { return m_printLayout; }
    // Draws page n (1-based) in page coordinates; dateText goes right of the footer.
    virtual void OnPrintPage(GridPainter& painter, int page, const std::string& dateText);
    virtual void OnEndPrinting() { m_printLayout = PrintLayout{}; }

protected:
    virtual void OnFixedRowClick(CCellPos cell);
    virtual void OnFixedColumnClick(CCellPos cell);
    int SendMessageToParent(int row, int col, int code, EditCause cause = EditCause::Click, char32_t ch = 0);

private:
    using Row = std::vector<std::unique_ptr<CDataGridCellBase>>;

    void ClearSelectionMap();
    void SetCellSelected(CCellPos cell, bool selected, bool redraw);
    void UpdateFixedState(int oldFixedRows, int oldFixedCols);
    bool SetFixedCount(bool rows, int fixed);
    // The common end of a row or column count change: scrolled home, redrawn; returns ok.
    bool AfterResize(bool ok);
    void ApplyFixedBits(int row, int col);
    void StartEditing(CCellPos cell, GridPoint point, EditCause cause, char32_t ch);
    void HandleEndKey(EditEndKey key);
    int FirstSelectableColumn() const { return m_bFixedColumnSelection ? 0 : m_nFixedCols; }
    int NextVisibleRow(int row, int step) const;
    int NextVisibleCol(int col, int step) const;
    int VisibleHeight() const;
    int VisibleWidth() const;
    void InvalidateAll();
    void InvalidateRect(const GridRect& rect);
    bool MouseOverColumnResizeArea(GridPoint point);
    bool MouseOverRowResizeArea(GridPoint point);
    void ScrollAxis(bool vertical, ScrollCode code, int trackPos);
    void PrintCells(GridPainter& painter, const PrintBand& rows, const PrintBand& cols, int x0, int y0);

    // wiring
    GridOwner* m_pOwner = nullptr;
    GridHost* m_pHost = nullptr;
    GridPainter* m_pMeasurer = nullptr;
    int m_nCtrlId = 0;

    // structure
    int m_nRows = 0, m_nCols = 0, m_nFixedRows = 0, m_nFixedCols = 0;
    std::vector<int> m_arRowHeights;
    std::vector<int> m_arColWidths;
    std::vector<Row> m_RowData;
    CDataGridDefaultCell m_cellDefault, m_cellFixedColDef, m_cellFixedRowDef, m_cellFixedRowColDef;
    CellFactory m_cellFactory = nullptr;
    GridPalette m_palette;
    GridColor m_crGridLineColour = GridRgb(0xC0, 0xC0, 0xC0);
    GridColor m_crGridBkColour;
    GridColor m_crTTipFgClr = kClrDefault, m_crTTipBkClr = kClrDefault;
    GridSize m_imageSize;
    bool m_bModified = false;

    // switches
    bool m_bEditable = true;
    bool m_bListMode = false;
    bool m_bSingleRowSelection = false;
    bool m_bSingleColSelection = false;
    bool m_bFixedColumnSelection = true;
    bool m_bFixedRowSelection = true;
    bool m_bSortOnClick = false;
    bool m_bEnableSelection = true;
    bool m_bAllowDraw = true;
    int m_nGridLines = GridLinesBoth;
    bool m_bDoubleBuffer = true;
    bool m_bTitleTips = true;
    bool m_bAllowDragAndDrop = false;
    bool m_bHeaderDragMovesColumn = false;
    bool m_bHandleTabKey = true;
    bool m_bTabLeavesGrid = false;
    bool m_bTrackFocusCell = true;
    bool m_bFrameFocus = true;
    int m_nAutoSizeColumnStyle = AutoSizeBoth;
    bool m_bAllowColumnResize = true, m_bAllowRowResize = true;
    bool m_bHiddenColUnhide = true, m_bHiddenRowUnhide = true;
    bool m_bAllowColHide = true, m_bAllowRowHide = true;
    int m_nResizeCaptureRange = 3;
    int m_nAutoScrollPeriod = 25;
    int m_nRowsPerWheelNotch = 3;

    // focus, selection, sort
    CCellPos m_idCurrentCell;
    std::set<CCellPos> m_SelectedCellMap;
    std::set<CCellPos> m_PrevSelectedCellMap;
    int m_nSortColumn = -1;
    bool m_bAscending = true;
    GridCompareFunc m_pfnCompare = nullptr;

    // editing
    CCellPos m_editCell;
    EditCause m_editCause = EditCause::Click;
    // Counts changes that move or replace cells, so a notification handler that reshapes the
    // grid is noticed and no stale position is written to afterwards.
    unsigned m_structureStamp = 0;

    // geometry
    int m_clientCx = 0, m_clientCy = 0;
    int m_vBarWidth = 16, m_hBarHeight = 16;
    ScrollBarInfo m_horz, m_vert;
    CCellPos m_idTopLeftCell;  // cached; invalid = recompute

    // mouse
    GridMouseMode m_MouseMode = MouseNone;
    CCellPos m_SelectionStartCell;
    CCellPos m_LeftClickDownCell;
    GridPoint m_LeftClickDownPoint;
    GridPoint m_LastMousePoint;
    bool m_bLMouseButtonDown = false;
    bool m_bCapture = false;
    bool m_bTimerRunning = false;
    TrackingLine m_trackingLine;
    int m_nSizingIndex = -1;  // the row or column being sized

    // drag and drop
    CCellPos m_LastDragOverCell;
    int m_nDragColumn = -1;               // the column whose heading is being dragged
    bool m_bDragging = false;             // this grid is the drag source
    // Expires with the grid: code after a nested event loop (the drag) checks it before going on.
    std::shared_ptr<const bool> m_alive = std::make_shared<const bool>(true);
    std::set<CCellPos> m_DroppedCells;    // written by a drop into the dragging grid itself

    // printing
    PrintSettings m_print;
    PrintLayout m_printLayout;
};
