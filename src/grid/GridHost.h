// The two outward interfaces of the grid core:
//  - GridOwner: the window that owns the grid (a list window) and receives its notifications;
//  - GridHost: the services of the grid's own window (repaint, scroll bars, cursor, capture,
//    timer, in-place editor, title tip, clipboard, focus). The core takes every decision and
//    calls these; a host that does nothing is valid (headless use).
#pragma once

#include <optional>
#include <string>

#include "GridFont.h"
#include "GridTypes.h"

class CDataGrid;

// What the owner receives with every notification.
struct GridNotification {
    int controlId = 0;
    int code = 0;
    int row = -1;
    int col = -1;
    EditCause cause = EditCause::Click;  // meaningful for GridNotifyBeginEdit / GridNotifyEndEdit
    char32_t character = 0;              // the typed character for EditCause::Typed
};

class GridOwner {
public:
    virtual ~GridOwner() = default;
    // The answer matters for GridNotifyBeginEdit and GridNotifyEndEdit: negative refuses.
    virtual int OnGridNotify(CDataGrid& grid, const GridNotification& note) = 0;
    // After every left button up on a cell (the plain command notification).
    virtual void OnGridCommand(CDataGrid& /*grid*/) {}
};

enum class GridCursor { Arrow, SizeWE, SizeNS, Wait };

// How the in-place editor opens.
struct CellEditorRequest {
    int row = -1;
    int col = -1;
    GridRect rect;                 // in grid client coordinates
    std::string text;              // the editor's starting text
    std::string originalText;      // the cell's text, put back by Esc
    bool selectAll = false;        // otherwise the caret goes to the end
    bool digitsOnly = false;       // numeric cells
    unsigned alignment = DT_LEFT;  // DT_LEFT, DT_CENTER or DT_RIGHT
    bool exitOnArrows = true;      // arrows end the edit (an editor opened by typing)
    GridFont font;
};

// Keys that end an in-place edit and carry on in the grid.
enum class EditEndKey {
    None,
    Enter,
    Escape,
    Tab,
    ShiftTab,
    PageUp,
    PageDown,
    Home,
    End,
    Left,
    Up,
    Right,
    Down
};

// What a drag did with the dragged text, and what a drop target offers.
enum class DropEffect { None, Copy, Move };

struct ScrollBarInfo {
    bool shown = false;
    int max = 0;   // range 0 .. max (the total size - 1)
    int page = 0;  // the visible size
    int pos = 0;
    friend bool operator==(const ScrollBarInfo&, const ScrollBarInfo&) = default;
};

class GridHost {
public:
    virtual ~GridHost() = default;
    // rect null: the whole client area.
    virtual void Invalidate(const GridRect* /*rect*/) {}
    virtual void ScrollBarsChanged(const ScrollBarInfo& /*horz*/, const ScrollBarInfo& /*vert*/) {}
    virtual void SetCursor(GridCursor /*cursor*/) {}
    virtual void SetCapture(bool /*capture*/) {}
    virtual void StartAutoScrollTimer(int /*periodMs*/) {}
    virtual void StopAutoScrollTimer() {}
    virtual void TakeFocus() {}
    // Tab with TabLeavesGrid on: the dialog focus moves to the next (or previous) control.
    virtual void FocusNextControl(bool /*previous*/) {}

    virtual void OpenEditor(const CellEditorRequest& /*request*/) {}
    // A character for an editor that is already open.
    virtual void SendCharToEditor(char32_t /*ch*/) {}
    // Paste into the open editor instead of the cells.
    virtual void PasteIntoEditor() {}
    // Destroys the open editor and returns its final text; nullopt when none is open.
    virtual std::optional<std::string> CloseEditor() { return std::nullopt; }

    virtual void ShowTitleTip(const GridRect& /*textRect*/, const std::string& /*text*/,
                              const GridRect& /*hoverRect*/, const GridFont& /*font*/,
                              GridColor /*textColor*/, GridColor /*backColor*/)
    {
    }
    virtual void HideTitleTip() {}

    virtual std::optional<std::string> GetClipboardText() { return std::nullopt; }
    virtual void SetClipboardText(const std::string& /*text*/) {}
    // Whether the clipboard text was put there by a grid (its fields are split at tabs only).
    virtual bool ClipboardTextIsFromGrid() { return false; }

    // Runs the drag of text until it is dropped or given up; what the target did with it.
    virtual DropEffect DoDragDrop(const std::string& /*text*/) { return DropEffect::None; }
};
