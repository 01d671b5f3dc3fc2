// Fakes for one grid at a time: an owner that records notifications and can refuse, a host
// with an in-memory editor and clipboard, and a painter that records and measures 7 px a char.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "DataGrid.h"

struct RecordingOwner : GridOwner {
    std::vector<GridNotification> notes;
    int commands = 0;
    int answerBeginEdit = 0;
    int answerEndEdit = 0;
    std::function<void(CDataGrid&, const GridNotification&)> onNote;

    int OnGridNotify(CDataGrid& grid, const GridNotification& note) override
    {
        notes.push_back(note);
        if (onNote)
            onNote(grid, note);
        if (note.code == GridNotifyBeginEdit)
            return answerBeginEdit;
        if (note.code == GridNotifyEndEdit)
            return answerEndEdit;
        return 0;
    }
    void OnGridCommand(CDataGrid&) override { ++commands; }
    int Count(int code) const
    {
        int n = 0;
        for (const auto& note : notes)
            n += note.code == code;
        return n;
    }
    const GridNotification* Last(int code) const
    {
        for (auto it = notes.rbegin(); it != notes.rend(); ++it)
            if (it->code == code)
                return &*it;
        return nullptr;
    }
};

struct FakeHost : GridHost {
    std::optional<CellEditorRequest> editor;  // the open editor
    std::string editorText;
    int editorsOpened = 0;
    int pastesIntoEditor = 0;
    std::vector<char32_t> charsToEditor;
    std::optional<std::string> clipboard;
    int focusNext = 0, focusPrev = 0;

    void OpenEditor(const CellEditorRequest& request) override
    {
        editor = request;
        editorText = request.text;
        ++editorsOpened;
    }
    std::optional<std::string> CloseEditor() override
    {
        if (!editor)
            return std::nullopt;
        editor.reset();
        return editorText;
    }
    void SendCharToEditor(char32_t ch) override { charsToEditor.push_back(ch); }
    void PasteIntoEditor() override { ++pastesIntoEditor; }
    std::optional<std::string> GetClipboardText() override { return clipboard; }
    void SetClipboardText(const std::string& text) override { clipboard = gridCopy = text; }
    // As a real clipboard's mark: it holds while the grid's own copy is there.
    bool ClipboardTextIsFromGrid() override { return clipboard && clipboard == gridCopy; }
    std::optional<std::string> gridCopy;
    void FocusNextControl(bool previous) override { ++(previous ? focusPrev : focusNext); }
};

struct RecordingPainter : GridPainter {
    struct Text {
        GridRect rect;
        std::string text;
        GridColor color;
        unsigned format;
        int weight;
    };
    std::vector<Text> texts;
    std::vector<std::pair<GridRect, GridColor>> fills;
    int lines = 0;
    std::vector<std::optional<GridRect>> clips;

    void FillRect(const GridRect& r, GridColor c) override { fills.emplace_back(r, c); }
    void FrameRect(const GridRect&, GridColor) override {}
    void DrawLine(int, int, int, int, GridColor) override { ++lines; }
    void DrawText(const GridRect& r, std::string_view t, const GridFont& f, GridColor c,
                  unsigned fmt) override
    {
        texts.push_back({r, std::string(t), c, fmt, f.weight});
    }
    GridSize MeasureText(std::string_view t, const GridFont&) override
    {
        return {7 * static_cast<int>(t.size()), 14};
    }
    void SetClipRect(const GridRect* r) override
    {
        clips.push_back(r ? std::optional<GridRect>(*r) : std::nullopt);
    }
    const Text* Find(const std::string& t) const
    {
        for (const auto& x : texts)
            if (x.text == t)
                return &x;
        return nullptr;
    }
};

// A grid of `rows` x `cols` with one fixed row and column, cells "r,c" in the body, columns 50
// wide and rows 20 high, in a 400 x 300 window.
inline void FillGrid(CDataGrid& g, int rows, int cols, int fixedRows = 1, int fixedCols = 1)
{
    g.SetRowCount(rows);
    g.SetColumnCount(cols);
    g.SetFixedRowCount(fixedRows);
    g.SetFixedColumnCount(fixedCols);
    for (int r = 0; r < rows; ++r) {
        g.SetRowHeight(r, 20);
        for (int c = 0; c < cols; ++c)
            g.SetItemText(r, c, std::to_string(r) + "," + std::to_string(c));
    }
    for (int c = 0; c < cols; ++c)
        g.SetColumnWidth(c, 50);
    g.SetClientSize(400, 300);
}
