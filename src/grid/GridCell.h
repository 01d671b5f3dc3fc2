// Cell kinds of the grid. Every grid position holds one cell; a cell keeps its text and display
// properties, measures and draws itself, and describes its in-place editor. Properties a cell
// leaves at default come from one of the grid's four default cells.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "GridFont.h"
#include "GridHost.h"
#include "GridPainter.h"
#include "GridTypes.h"

class CDataGrid;
class CDataGridDefaultCell;

class CDataGridCellBase {
public:
    virtual ~CDataGridCellBase() = default;

    virtual void SetText(std::string_view text) = 0;
    virtual const std::string& GetText() const = 0;
    virtual const std::string& GetTipText() const { return GetText(); }
    virtual void SetImage(int image) = 0;
    virtual int GetImage() const = 0;
    virtual void SetData(std::intptr_t data) = 0;
    virtual std::intptr_t GetData() const = 0;
    virtual void SetState(unsigned state) { state_ = state; }
    virtual unsigned GetState() const { return state_; }
    virtual void SetFormat(unsigned format) = 0;
    virtual unsigned GetFormat() const = 0;
    virtual void SetTextClr(GridColor color) = 0;
    virtual GridColor GetTextClr() const = 0;
    virtual void SetBackClr(GridColor color) = 0;
    virtual GridColor GetBackClr() const = 0;
    // nullptr: back to the default font.
    virtual void SetFont(const GridFont* font) = 0;
    virtual const GridFont& GetFont() const = 0;
    virtual bool IsDefaultFont() const = 0;
    virtual void SetMargin(int margin) = 0;
    virtual int GetMargin() const = 0;
    virtual void SetGrid(CDataGrid* grid) = 0;
    virtual CDataGrid* GetGrid() const = 0;
    virtual void SetCoords(int /*row*/, int /*col*/) {}
    virtual const CDataGridDefaultCell* GetDefaultCell() const;

    bool IsFocused() const { return GetState() & CellStateFocused; }
    bool IsSelected() const { return GetState() & CellStateSelected; }
    bool IsDropHighlighted() const { return GetState() & CellStateDropHighlighted; }
    bool IsReadOnly() const { return GetState() & CellStateReadOnly; }
    bool IsFixed() const { return GetState() & CellStateFixed; }
    bool IsFixedRow() const { return GetState() & CellStateFixedRow; }
    bool IsFixedCol() const { return GetState() & CellStateFixedColumn; }
    bool IsModified() const { return GetState() & CellStateModified; }

    bool IsEditing() const { return editing_; }
    // The grid tells the cell when its in-place editor opens and closes.
    void OnBeginEdit() { editing_ = true; }
    virtual void OnEndEdit() { editing_ = false; }

    // Copies text, image, data, state, format, colours, font and margin.
    virtual void CopyFrom(const CDataGridCellBase& other);
    virtual void Reset();

    virtual bool Draw(GridPainter& painter, int row, int col, GridRect rect, bool eraseBkgnd);
    virtual bool PrintCell(GridPainter& painter, int row, int col, GridRect rect);
    // Moves the left edge past the image; always true.
    virtual bool GetTextRect(GridRect& rect) const;
    virtual bool GetTipTextRect(GridRect& rect) const { return GetTextRect(rect); }
    // painter null: the grid's measuring painter.
    virtual GridSize GetTextExtent(std::string_view text, GridPainter* painter) const;
    virtual GridSize GetCellExtent(GridPainter* painter) const;

    // Describes this cell's in-place editor (alignment, digits only).
    virtual void DescribeEditor(CellEditorRequest& request) const;
    // Accepts or refuses a new text before the owner sees it.
    virtual bool ValidateEdit(const std::string& /*text*/) { return true; }

    virtual void OnClick(GridPoint /*relative*/) {}
    virtual void OnClickDown(GridPoint /*relative*/) {}
    virtual void OnRClick(GridPoint /*relative*/) {}
    virtual void OnDblClick(GridPoint /*relative*/) {}

protected:
    unsigned state_ = 0;
    bool editing_ = false;
};

// The ordinary cell: stores every property. Text and format are kept in the cell; what only a
// few cells set (data, image, colours, font, margin) lives apart, so a list of many thousand
// plain cells stays small.
class CDataGridCell : public CDataGridCellBase {
public:
    void SetText(std::string_view text) override { text_.assign(text); }
    const std::string& GetText() const override { return text_; }
    void SetImage(int image) override;
    int GetImage() const override { return extras_ ? extras_->image : -1; }
    void SetData(std::intptr_t data) override;
    std::intptr_t GetData() const override { return extras_ ? extras_->lParam : 0; }
    void SetFormat(unsigned format) override { format_ = format; }
    unsigned GetFormat() const override;
    void SetTextClr(GridColor color) override;
    GridColor GetTextClr() const override { return extras_ ? extras_->fgClr : kClrDefault; }
    void SetBackClr(GridColor color) override;
    GridColor GetBackClr() const override { return extras_ ? extras_->bkClr : kClrDefault; }
    void SetFont(const GridFont* font) override;
    const GridFont& GetFont() const override;
    bool IsDefaultFont() const override { return !extras_ || !extras_->font; }
    void SetMargin(int margin) override;
    int GetMargin() const override;
    void SetGrid(CDataGrid* grid) override { grid_ = grid; }
    CDataGrid* GetGrid() const override { return grid_; }
    void Reset() override;

protected:
    struct Extras {
        std::intptr_t lParam = 0;
        int image = -1;
        GridColor fgClr = kClrDefault;
        GridColor bkClr = kClrDefault;
        int margin = -1;
        std::optional<GridFont> font;
    };
    Extras& Extra();

    std::string text_;
    unsigned format_ = kFormatDefault;
    std::unique_ptr<Extras> extras_;
    CDataGrid* grid_ = nullptr;
};

// Supplies the properties that cells leave at default; always read-only, holds no data.
class CDataGridDefaultCell : public CDataGridCell {
public:
    CDataGridDefaultCell();
    void SetData(std::intptr_t) override {}
    void SetState(unsigned) override {}
    unsigned GetState() const override { return state_ | CellStateReadOnly; }
    unsigned GetFormat() const override { return format_; }
    const GridFont& GetFont() const override { return font_; }
    bool IsDefaultFont() const override { return false; }
    void SetMargin(int margin) override { margin_ = margin; }
    int GetMargin() const override { return margin_; }
    const CDataGridDefaultCell* GetDefaultCell() const override { return nullptr; }
    // Also measures: margin = " ", width = " XXXXXXXXXXXX ", height = 3/2 of its height.
    void SetFont(const GridFont* font) override;
    void SetFont(const GridFont& font, GridPainter* measurer);

    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    void SetWidth(int width) { width_ = width; }
    void SetHeight(int height) { height_ = height; }

private:
    GridFont font_;
    int margin_ = 3;
    int width_ = 30;
    int height_ = 10;
};

// A cell whose editor takes digits only (channel numbers).
class CDataGridNumericCell : public CDataGridCell {
public:
    void DescribeEditor(CellEditorRequest& request) const override;
};

// Makes a cell of one kind; the grid's cell class and SetCellType take one.
using CellFactory = std::unique_ptr<CDataGridCellBase> (*)();
template <class T>
std::unique_ptr<CDataGridCellBase> MakeCell()
{
    return std::make_unique<T>();
}

// Size of text without any painter (headless use): 7 pixels a character, 14 high.
GridSize FallbackTextSize(std::string_view text);
// The side of the sort column's header arrow in a font: the height of "M" less 4.
int SortArrowSide(GridPainter* painter, const GridFont& font);
