#include <gtest/gtest.h>

#include "DataGrid.h"
#include "grid_fakes.h"

namespace {

// Cells are 50 x 20 with one fixed row and column: body cell (r, c) starts at (50c, 20r).
GridPoint At(int row, int col)
{
    return {col * 50 + 10, row * 20 + 10};
}

struct SelFixture : ::testing::Test {
    CDataGrid g;
    FakeHost host;
    RecordingOwner owner;
    void SetUp() override
    {
        g.SetHost(&host);
        g.SetOwner(&owner);
        FillGrid(g, 40, 5);  // taller than the 300-pixel window
    }
    void Click(int row, int col, GridModifiers mods = {})
    {
        g.OnLButtonDown(At(row, col), mods);
        g.OnLButtonUp(At(row, col), mods);
    }
};

TEST_F(SelFixture, ArrowsAndShiftSelectFromTheAnchor)
{
    Click(2, 2);
    EXPECT_EQ(g.GetFocusCell(), CCellPos(2, 2));
    EXPECT_EQ(g.GetSelectedCellRange(), CCellBlock(2, 2, 2, 2));
    g.OnKeyDown(GridKey::Down, {true, false});
    g.OnKeyDown(GridKey::Right, {true, false});
    EXPECT_EQ(g.GetFocusCell(), CCellPos(3, 3));
    EXPECT_EQ(g.GetSelectedCellRange(), CCellBlock(2, 2, 3, 3));
    EXPECT_EQ(g.GetSelectedCount(), 4);
    g.OnKeyDown(GridKey::Left, {});
    EXPECT_EQ(g.GetSelectedCellRange(), CCellBlock(3, 2, 3, 2));
    // Never into the fixed band; hidden rows are skipped.
    g.OnKeyDown(GridKey::Left, {});
    EXPECT_EQ(g.GetFocusCell(), CCellPos(3, 1));
    g.OnKeyDown(GridKey::Left, {});
    EXPECT_EQ(g.GetFocusCell(), CCellPos(3, 1));
    g.SetRowHeight(4, 0);
    g.OnKeyDown(GridKey::Down, {});
    EXPECT_EQ(g.GetFocusCell(), CCellPos(5, 1));
    const GridNotification* changed = owner.Last(GridNotifySelChanged);
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(changed->row, 5);
}

TEST_F(SelFixture, ListModeSelectsRowsAndSingleRowKeepsOne)
{
    g.SetListMode(true);
    Click(3, 2);
    EXPECT_EQ(g.GetSelectedCellRange(), CCellBlock(3, 1, 3, 4));
    g.OnKeyDown(GridKey::Down, {true, false});
    EXPECT_EQ(g.GetSelectedCellRange(), CCellBlock(3, 1, 4, 4));
    g.SetSingleRowSelection(true);
    g.OnKeyDown(GridKey::Down, {true, false});
    EXPECT_EQ(g.GetSelectedCellRange(), CCellBlock(5, 1, 5, 4));
    // Ctrl-click on a selected row deselects it.
    g.SetSingleRowSelection(false);
    Click(5, 3, {false, true});
    EXPECT_EQ(g.GetSelectedCount(), 0);
}

TEST_F(SelFixture, TabWrapsAndLeavesAtTheLastCell)
{
    g.SetFocusCell(2, 4);
    g.OnKeyDown(GridKey::Tab, {});
    EXPECT_EQ(g.GetFocusCell(), CCellPos(3, 1));
    g.OnKeyDown(GridKey::Tab, {true, false});
    EXPECT_EQ(g.GetFocusCell(), CCellPos(2, 4));
    g.SetFocusCell(39, 4);
    g.OnKeyDown(GridKey::Tab, {});
    EXPECT_EQ(g.GetFocusCell(), CCellPos(39, 4));
    EXPECT_EQ(host.focusNext, 1);
    g.SetTabLeavesGrid(true);
    g.OnKeyDown(GridKey::Tab, {true, false});
    EXPECT_EQ(host.focusPrev, 1);
}

TEST_F(SelFixture, PageKeysScrollAndNeverPassTheLastRow)
{
    g.SetFocusCell(2, 1);
    g.OnKeyDown(GridKey::PageDown, {});
    EXPECT_GT(g.GetScrollPos(true), 0);
    EXPECT_GT(g.GetFocusCell().row, 2);
    for (int i = 0; i < 10; ++i)
        g.OnKeyDown(GridKey::PageDown, {});
    EXPECT_EQ(g.GetFocusCell(), CCellPos(39, 1));
    // From near the end, a page that still scrolls must stop at the last row.
    g.OnKeyDown(GridKey::Home, {false, true});
    EXPECT_EQ(g.GetFocusCell(), CCellPos(1, 1));
    EXPECT_EQ(g.GetScrollPos(true), 0);
    g.SetFocusCell(14, 1);
    g.OnVScroll(ScrollCode::ThumbTrack, 20 * 22);
    g.OnKeyDown(GridKey::PageDown, {});
    EXPECT_LE(g.GetFocusCell().row, 39);
    EXPECT_TRUE(g.IsValid(g.GetFocusCell()));
    g.SetRowHeight(39, 0);
    g.OnKeyDown(GridKey::End, {false, true});
    EXPECT_EQ(g.GetFocusCell(), CCellPos(38, 4));
    g.OnKeyDown(GridKey::PageDown, {});
    EXPECT_EQ(g.GetFocusCell().row, 38);
    g.OnKeyDown(GridKey::PageUp, {});
    g.OnKeyDown(GridKey::PageUp, {});
    g.OnKeyDown(GridKey::PageUp, {});
    EXPECT_EQ(g.GetFocusCell().row, 1);
}

TEST_F(SelFixture, MouseDragShiftCtrlAndHeaders)
{
    g.OnLButtonDown(At(2, 1), {});
    g.OnMouseMove(At(4, 3), {}, true);
    g.OnLButtonUp(At(4, 3), {});
    EXPECT_EQ(g.GetSelectedCellRange(), CCellBlock(2, 1, 4, 3));
    EXPECT_EQ(g.GetFocusCell(), CCellPos(4, 3));
    EXPECT_EQ(owner.Last(GridNotifyClick)->row, 2);
    EXPECT_GE(owner.commands, 1);

    Click(5, 4, {true, false});  // shift: from the anchor
    EXPECT_EQ(g.GetSelectedCellRange(), CCellBlock(2, 1, 5, 4));
    Click(8, 2, {false, true});  // ctrl adds a cell
    EXPECT_EQ(g.GetSelectedCount(), 17);
    EXPECT_TRUE(g.IsCellSelected(8, 2));

    Click(0, 3);  // a column header selects the column
    EXPECT_EQ(g.GetSelectedCellRange(), CCellBlock(1, 3, 39, 3));
    EXPECT_FALSE(g.IsValid(g.GetFocusCell()));
    Click(6, 0);  // a row header selects the row, from the first body column
    EXPECT_EQ(g.GetSelectedCellRange(), CCellBlock(6, 1, 6, 4));
    g.SetFixedColumnsInRange(true);  // a switch of its own: now the row header is in the range
    Click(6, 0);
    EXPECT_EQ(g.GetSelectedCellRange(), CCellBlock(6, 0, 6, 4));
    g.SetFixedColumnsInRange(false);
    Click(0, 0);  // the corner selects every body cell
    EXPECT_EQ(g.GetSelectedCount(), 39 * 4);
    g.EnableSelection(false);
    Click(3, 3);
    EXPECT_EQ(g.GetSelectedCount(), 0);
}

TEST_F(SelFixture, ClickOnFocusCellEditsUnlessTheMouseMoved)
{
    Click(3, 2);
    Click(3, 2);
    ASSERT_TRUE(host.editor);
    EXPECT_EQ(host.editor->row, 3);
    g.EndEditing();

    g.OnLButtonDown(At(3, 2), {});
    g.OnMouseMove({At(3, 2).x + 1, At(3, 2).y}, {}, true);  // a tremor is still a click
    g.OnLButtonUp(At(3, 2), {});
    EXPECT_TRUE(g.IsEditing());
    g.EndEditing();

    g.OnLButtonDown(At(3, 2), {});
    g.OnMouseMove({At(3, 2).x + 12, At(3, 2).y}, {}, true);
    g.OnLButtonUp({At(3, 2).x + 12, At(3, 2).y}, {});
    EXPECT_FALSE(g.IsEditing());
    EXPECT_FALSE(g.IsValid(g.GetFocusCell()));
    EXPECT_EQ(g.GetSelectedCount(), 0);
}

TEST_F(SelFixture, BorderDragResizesAndDoubleClickFits)
{
    // The border between columns 1 and 2 in the header row lies at x = 100.
    g.OnMouseMove({99, 10}, {}, false);
    EXPECT_EQ(g.GetMouseMode(), MouseOverColDivide);
    g.OnLButtonDown({99, 10}, {});
    EXPECT_EQ(g.GetMouseMode(), MouseSizingCol);
    g.OnMouseMove({130, 10}, {}, true);
    EXPECT_TRUE(g.GetTrackingLine().shown);
    g.OnLButtonUp({130, 10}, {});
    EXPECT_EQ(g.GetColumnWidth(1), 80);
    EXPECT_FALSE(g.GetTrackingLine().shown);

    g.OnMouseMove({129, 10}, {}, false);
    g.OnLButtonDown({129, 10}, {});
    g.OnLButtonUp({20, 10}, {});  // past the left edge: hidden
    EXPECT_EQ(g.GetColumnWidth(1), 0);
    g.SetColumnMayVanish(false);
    g.SetColumnWidth(1, 50);
    g.OnMouseMove({99, 10}, {}, false);
    g.OnLButtonDown({99, 10}, {});
    g.OnLButtonUp({20, 10}, {});
    EXPECT_EQ(g.GetColumnWidth(1), 1);

    g.SetColumnWidth(1, 50);
    g.SetItemText(5, 1, "a much longer text here");
    g.OnMouseMove({99, 10}, {}, false);
    g.OnLButtonDblClk({99, 10}, {});
    EXPECT_EQ(g.GetColumnWidth(1), 7 * 23 + 2 * 3 + 1);
}

TEST_F(SelFixture, RightClickAndWheel)
{
    g.SetClientSize(600, 1000);
    g.OnRButtonUp({590, 990}, {});
    EXPECT_EQ(owner.Last(GridNotifyRightClick)->row, -1);
    g.OnRButtonUp(At(0, 2), {});
    EXPECT_EQ(g.GetFocusCell(), CCellPos(1, 2));
    EXPECT_EQ(owner.Last(GridNotifyRightClick)->row, 0);

    g.SetClientSize(400, 300);
    g.OnMouseWheel(-120);
    EXPECT_EQ(g.GetScrollPos(true), 60);  // three lines of 20
    g.OnMouseWheel(120);
    EXPECT_EQ(g.GetScrollPos(true), 0);
    g.SetWheelScrollLines(-1);
    g.OnMouseWheel(-120);
    EXPECT_EQ(g.GetScrollPos(true), g.GetVertScrollBar().page);
    g.OnMouseWheel(-2000000000);  // bounded however large
    EXPECT_EQ(g.GetScrollPos(true), g.GetVertScrollBar().max + 1 - g.GetVertScrollBar().page);
}

}  // namespace
