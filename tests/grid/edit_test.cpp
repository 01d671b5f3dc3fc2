#include <gtest/gtest.h>

#include "DataGrid.h"
#include "grid_fakes.h"

namespace {

struct EditFixture : ::testing::Test {
    CDataGrid g;
    FakeHost host;
    RecordingOwner owner;
    void SetUp() override
    {
        g.SetHost(&host);
        g.SetOwner(&owner);
        FillGrid(g, 6, 4);
        g.SetFocusCell(2, 2);
    }
};

TEST_F(EditFixture, TypedCharacterStartsEditAndIsNeverLost)
{
    g.OnChar(U'7', {});
    ASSERT_TRUE(host.editor);
    EXPECT_EQ(host.editor->text, "7");
    EXPECT_EQ(host.editor->originalText, "2,2");
    EXPECT_TRUE(host.editor->exitOnArrows);
    const GridNotification* begin = owner.Last(GridNotifyBeginEdit);
    ASSERT_NE(begin, nullptr);
    EXPECT_EQ(begin->cause, EditCause::Typed);
    EXPECT_EQ(begin->character, U'7');
    EXPECT_EQ(begin->row, 2);

    // Characters that share codes with navigation keys go into the text too.
    for (char32_t ch : {U' ', U'!', U'%', U'(', U'#', U'\u00e8'}) {
        g.EndEditing();
        g.OnChar(ch, {});
        ASSERT_TRUE(host.editor);
        EXPECT_NE(host.editor->text, "2,2") << static_cast<unsigned>(ch);
    }
    EXPECT_EQ(host.editor->text, "\xC3\xA8");
    // A second character goes to the open editor.
    g.OnChar(U'x', {});
    EXPECT_EQ(host.charsToEditor, std::vector<char32_t>{U'x'});
    // Backspace deletes the last character; Esc and Ctrl characters open nothing.
    g.EndEditing();
    g.SetItemText(2, 2, "ab\xC3\xA8");
    g.OnChar(U'\b', {});
    EXPECT_EQ(host.editor->text, "ab");
    g.EndEditing();
    const int opened = host.editorsOpened;
    g.OnChar(0x1B, {});
    g.OnChar(U'c', {false, true});
    EXPECT_EQ(host.editorsOpened, opened);
}

TEST_F(EditFixture, ClickF2AndNumericCells)
{
    g.OnKeyDown(GridKey::F2, {});
    ASSERT_TRUE(host.editor);
    EXPECT_EQ(host.editor->text, "2,2");
    EXPECT_FALSE(host.editor->selectAll);
    EXPECT_FALSE(host.editor->exitOnArrows);
    EXPECT_EQ(owner.Last(GridNotifyBeginEdit)->cause, EditCause::Click);
    g.EndEditing();

    ASSERT_TRUE(g.SetCellType<CDataGridNumericCell>(2, 2));
    EXPECT_EQ(g.GetItemText(2, 2), "2,2");  // the contents move to the new cell
    g.OnChar(U'a', {});
    ASSERT_TRUE(host.editor);
    EXPECT_TRUE(host.editor->digitsOnly);
    EXPECT_EQ(host.editor->text, "2,2");  // a letter is refused, not typed
    g.EndEditing();
    g.OnChar(U'5', {});
    EXPECT_EQ(host.editor->text, "5");
    EXPECT_FALSE(g.SetCellType(99, 0, &MakeCell<CDataGridNumericCell>));
}

TEST_F(EditFixture, EndEditAsksOwnerAndPutsOldTextBackWhenRefused)
{
    g.OnChar(U'7', {});
    host.editorText = "700";
    owner.answerEndEdit = -1;
    g.EndEditing();
    EXPECT_EQ(g.GetItemText(2, 2), "2,2");
    EXPECT_FALSE(g.IsEditing());
    EXPECT_FALSE(g.GetCell(2, 2)->IsEditing());

    owner.answerEndEdit = 0;
    g.ClearModified();
    g.OnChar(U'7', {});
    host.editorText = "700";
    g.EndEditing();
    EXPECT_EQ(g.GetItemText(2, 2), "700");
    EXPECT_TRUE(g.GetCell(2, 2)->IsModified());
    EXPECT_TRUE(g.GetModified());

    // Esc: the editor gives back the old text; nothing reaches the owner.
    const int ends = owner.Count(GridNotifyEndEdit);
    g.OnKeyDown(GridKey::F2, {});
    g.OnEndEditRecord(2, 2, "700", EditEndKey::Escape);
    EXPECT_EQ(owner.Count(GridNotifyEndEdit), ends);

    // A refused start opens nothing; read-only cells and a read-only grid never edit.
    owner.answerBeginEdit = -1;
    g.OnChar(U'1', {});
    EXPECT_FALSE(host.editor);
    owner.answerBeginEdit = 0;
    g.SetItemState(2, 2, g.GetItemState(2, 2) | CellStateReadOnly);
    g.OnChar(U'1', {});
    EXPECT_FALSE(host.editor);
    g.SetEditable(false);
    EXPECT_FALSE(g.EditCellText(3, 3, "x", EditCause::Paste));
}

TEST_F(EditFixture, OpenEditEndsBeforeRowsMoveSoItsTextStaysInItsRecord)
{
    // Delete a row above the edited one.
    g.OnChar(U'Q', {});
    host.editorText = "Q edited";
    g.DeleteRow(1);
    EXPECT_FALSE(host.editor);
    EXPECT_EQ(g.GetItemText(1, 2), "Q edited");  // row 2 moved up to 1 with its text
    EXPECT_EQ(g.GetItemText(2, 2), "3,2");

    // Sort: the text lands in the edited record, wherever it goes.
    g.SetFocusCell(4, 1);
    g.OnChar(U'0', {});
    host.editorText = "0 edited";
    g.SortItems(1, true);
    EXPECT_FALSE(host.editor);
    EXPECT_EQ(g.GetItemText(1, 1), "0 edited");
    EXPECT_EQ(g.GetItemText(1, 0), "5,0");

    // A record of the closed editor arriving late changes nothing.
    g.OnEndEditRecord(4, 1, "stale", EditEndKey::None);
    EXPECT_EQ(g.GetItemText(4, 1), "4,1");

    // Reload.
    g.SetFocusCell(2, 2);
    g.OnChar(U'R', {});
    host.editorText = "R";
    g.DeleteNonFixedRows();
    EXPECT_FALSE(g.IsEditing());
    EXPECT_EQ(g.GetRowCount(), 1);
}

TEST_F(EditFixture, NavigationKeyEndingEditMovesOnAndReopens)
{
    g.OnChar(U'9', {});
    host.editorText = "9";
    g.OnEndEditRecord(2, 2, "9", EditEndKey::Right);
    EXPECT_EQ(g.GetItemText(2, 2), "9");
    EXPECT_EQ(g.GetFocusCell(), CCellPos(2, 3));
    ASSERT_TRUE(host.editor);
    EXPECT_EQ(host.editor->col, 3);
    EXPECT_TRUE(host.editor->selectAll);
    EXPECT_EQ(owner.Last(GridNotifyBeginEdit)->cause, EditCause::Key);
    g.OnEndEditRecord(2, 3, "2,3", EditEndKey::Enter);
    EXPECT_FALSE(host.editor);
}

TEST_F(EditFixture, ProgramEditsCarryTheirCause)
{
    g.SetSelectedRange(1, 1, 1, 2);
    g.OnKeyDown(GridKey::Delete, {});
    EXPECT_EQ(g.GetItemText(1, 1), "");
    EXPECT_EQ(g.GetItemText(1, 2), "");
    EXPECT_EQ(owner.Last(GridNotifyBeginEdit)->cause, EditCause::Delete);
    EXPECT_EQ(host.clipboard, std::nullopt);  // Delete leaves the clipboard alone

    g.SetSelectedRange(3, 1, 3, 1);
    g.OnKeyDown(GridKey::X, {false, true});
    EXPECT_EQ(owner.Last(GridNotifyBeginEdit)->cause, EditCause::Cut);
    EXPECT_EQ(host.clipboard, "3,1");
    EXPECT_EQ(g.GetItemText(3, 1), "");

    // The owner refuses one cell of a cut through the end notification.
    owner.answerEndEdit = -1;
    g.SetSelectedRange(4, 1, 4, 1);
    g.CutSelectedText();
    EXPECT_EQ(g.GetItemText(4, 1), "4,1");
}

TEST_F(EditFixture, OwnerThatDeletesRowsDuringCutStopsTheCut)
{
    owner.onNote = [](CDataGrid& grid, const GridNotification& n) {
        if (n.code == GridNotifyEndEdit && n.row == 1)
            grid.DeleteRow(1);
    };
    g.SetSelectedRange(1, 1, 2, 1);
    g.CutSelectedText();
    // Row 2 moved up into row 1; the cut must not clear it as if it were the old row 2.
    EXPECT_EQ(g.GetItemText(1, 1), "2,1");
}

TEST_F(EditFixture, StructureCallsCheckArgumentsAfterTheOwnerReshapesAtEndOfEdit)
{
    // An edit is open with changed text; ending it lets the owner shrink the grid to n x n.
    const auto editThenShrinkTo = [&](int n, int row, int col) {
        owner.onNote = nullptr;
        FillGrid(g, 8, 8);
        g.SetFocusCell(row, col);
        g.OnChar(U'x', {});
        ASSERT_TRUE(host.editor);
        host.editorText = "changed";
        owner.onNote = [n](CDataGrid& grid, const GridNotification& note) {
            if (note.code != GridNotifyEndEdit)
                return;
            grid.SetRowCount(n);
            grid.SetColumnCount(n);
        };
    };
    editThenShrinkTo(2, 2, 2);
    EXPECT_FALSE(g.DeleteRow(6));
    EXPECT_EQ(g.GetRowCount(), 2);
    editThenShrinkTo(2, 2, 2);
    EXPECT_FALSE(g.SortItems(5, true));
    editThenShrinkTo(2, 2, 2);
    auto spare = std::make_unique<CDataGridCell>();
    const CDataGridCellBase* spareCell = spare.get();
    EXPECT_EQ(g.SetCell(2, 2, std::move(spare)).get(), spareCell);  // handed back, not stored
    editThenShrinkTo(2, 2, 2);
    EXPECT_FALSE(g.SetCellType<CDataGridNumericCell>(2, 2));
    editThenShrinkTo(3, 2, 2);
    EXPECT_FALSE(g.MoveColumn(4, 5));
    EXPECT_FALSE(g.GetCell(2, 2)->IsEditing());  // the surviving cell's edit is over too
    editThenShrinkTo(3, 2, 2);
    EXPECT_TRUE(g.SetFixedRowCount(5));
    EXPECT_EQ(g.GetFixedRowCount(), 5);
    EXPECT_GE(g.GetRowCount(), 5);  // grown again to hold the fixed rows
    EXPECT_FALSE(g.IsEditing());
}

}  // namespace
