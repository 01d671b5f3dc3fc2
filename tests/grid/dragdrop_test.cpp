// Drag and drop in the grid core: the drag source (a move clears where the text came from) and
// the drop target (which cells accept, the highlight, the drop itself).
#include <gtest/gtest.h>

#include <functional>

#include "DataGrid.h"
#include "grid_fakes.h"

namespace {

struct DragHost : FakeHost {
    std::vector<std::string> drags;
    DropEffect answer = DropEffect::None;
    std::function<void()> duringDrag;  // what the target does while the drag runs
    DropEffect DoDragDrop(const std::string& text) override
    {
        drags.push_back(text);
        if (duringDrag)
            duringDrag();
        return answer;
    }
};

struct DragFixture : ::testing::Test {
    CDataGrid g;
    DragHost host;
    RecordingOwner owner;
    void SetUp() override
    {
        g.SetHost(&host);
        g.SetOwner(&owner);
        FillGrid(g, 8, 6);
        g.EnableDragAndDrop(true);
    }
    static GridPoint Centre(int row, int col) { return {50 * col + 25, 20 * row + 10}; }
    // Selects (2,2)-(2,3), then presses on (2,3) and moves the mouse far enough to drag.
    void DragBlock()
    {
        g.OnLButtonDown(Centre(2, 2), {});
        g.OnMouseMove(Centre(2, 3), {}, true);
        g.OnLButtonUp(Centre(2, 3), {});
        ASSERT_EQ(g.GetSelectedCellRange(), CCellBlock(2, 2, 2, 3));
        g.OnLButtonDown(Centre(2, 3), {});
        g.OnMouseMove({Centre(2, 3).x + 10, Centre(2, 3).y}, {}, true);
    }
};

}  // namespace

TEST_F(DragFixture, AMoveToAnotherTargetClearsTheSourceCells)
{
    host.answer = DropEffect::Move;
    DragBlock();
    ASSERT_EQ(host.drags.size(), 1u);
    EXPECT_EQ(host.drags[0], "2,2\t2,3");
    ASSERT_NE(owner.Last(GridNotifyBeginDrag), nullptr);
    EXPECT_EQ(owner.Last(GridNotifyBeginDrag)->col, 2);
    EXPECT_EQ(g.GetItemText(2, 2), "");
    EXPECT_EQ(g.GetItemText(2, 3), "");
    EXPECT_EQ(g.GetMouseMode(), MouseNone);
}

TEST_F(DragFixture, ACopyOrAnAbandonedDragKeepsTheSource)
{
    host.answer = DropEffect::Copy;
    DragBlock();
    EXPECT_EQ(g.GetItemText(2, 2), "2,2");
    host.answer = DropEffect::None;
    g.ResetSelectedRange();
    DragBlock();
    EXPECT_EQ(g.GetItemText(2, 3), "2,3");
    EXPECT_EQ(host.drags.size(), 2u);
}

TEST_F(DragFixture, AMoveOntoAnOverlappingBlockOfTheSameGridKeepsTheMovedText)
{
    host.answer = DropEffect::Move;
    host.duringDrag = [this] {
        EXPECT_EQ(g.OnDragEnter(Centre(2, 3), true, {}), DropEffect::Move);
        EXPECT_TRUE(g.OnDrop(host.drags.back()));
    };
    DragBlock();
    EXPECT_EQ(g.GetItemText(2, 2), "");
    EXPECT_EQ(g.GetItemText(2, 3), "2,2");
    EXPECT_EQ(g.GetItemText(2, 4), "2,3");
    EXPECT_EQ(owner.Last(GridNotifyBeginEdit)->cause, EditCause::Cut);
}

TEST_F(DragFixture, WithDragAndDropOffAMovedPressIsAPlainClick)
{
    g.EnableDragAndDrop(false);
    DragBlock();
    g.OnLButtonUp({Centre(2, 3).x + 10, Centre(2, 3).y}, {});
    EXPECT_TRUE(host.drags.empty());
    EXPECT_EQ(g.GetSelectedCount(), 0);
    EXPECT_EQ(g.OnDragOver(Centre(3, 3), true, {}), DropEffect::None);
    EXPECT_FALSE(g.GetDropHighlightCell().IsValid());
    EXPECT_FALSE(g.OnDrop("x"));
}

TEST_F(DragFixture, TargetsAreEditableBodyCellsHighlightedOneAtATime)
{
    EXPECT_EQ(g.OnDragOver(Centre(3, 3), true, {}), DropEffect::Move);
    EXPECT_EQ(g.OnDragOver(Centre(3, 3), true, {false, true}), DropEffect::Copy);
    EXPECT_TRUE(g.GetItemState(3, 3) & CellStateDropHighlighted);
    EXPECT_EQ(g.OnDragOver(Centre(4, 2), true, {}), DropEffect::Move);
    EXPECT_FALSE(g.GetItemState(3, 3) & CellStateDropHighlighted);
    EXPECT_TRUE(g.GetItemState(4, 2) & CellStateDropHighlighted);

    EXPECT_EQ(g.OnDragOver(Centre(0, 2), true, {}), DropEffect::None);  // a heading
    EXPECT_FALSE(g.GetItemState(4, 2) & CellStateDropHighlighted);
    EXPECT_EQ(g.OnDragOver(Centre(4, 2), false, {}), DropEffect::None);  // no text offered
    g.SetItemState(5, 5, g.GetItemState(5, 5) | CellStateReadOnly);
    EXPECT_EQ(g.OnDragOver(Centre(5, 5), true, {}), DropEffect::None);

    g.OnDragOver(Centre(6, 1), true, {});
    g.OnDragLeave();
    EXPECT_FALSE(g.GetItemState(6, 1) & CellStateDropHighlighted);
    EXPECT_FALSE(g.OnDrop("lost"));  // left before the drop

    g.OnDragOver(Centre(6, 1), true, {});
    EXPECT_TRUE(g.OnDrop("A\tB\nC"));
    EXPECT_EQ(g.GetItemText(6, 1), "A");
    EXPECT_EQ(g.GetItemText(6, 2), "B");
    EXPECT_EQ(g.GetItemText(7, 1), "C");
    EXPECT_EQ(g.GetSelectedCount(), 0);  // a drop does not select what it wrote
    EXPECT_FALSE(g.GetItemState(6, 1) & CellStateDropHighlighted);
    EXPECT_EQ(owner.Last(GridNotifyBeginEdit)->cause, EditCause::Drop);
}

TEST_F(DragFixture, ADropIsCompleteOnlyWhenEveryNonEmptyFieldWasStored)
{
    struct RefusingCell : CDataGridCell {
        bool ValidateEdit(const std::string& text) override { return text != "bad"; }
    };
    const auto dropAt = [this](int row, int col, std::string_view text) {
        g.OnDragOver(Centre(row, col), true, {});
        return g.OnDrop(text);
    };
    EXPECT_TRUE(dropAt(7, 5, "a\t\n\t"));   // empty surplus fields lose nothing
    EXPECT_FALSE(dropAt(7, 4, "b\tc\td"));  // past the last column
    EXPECT_EQ(g.GetItemText(7, 5), "c");
    EXPECT_FALSE(dropAt(7, 1, "e\nf"));  // past the last row
    g.SetItemState(3, 3, g.GetItemState(3, 3) | CellStateReadOnly);
    EXPECT_FALSE(dropAt(3, 2, "g\th"));
    EXPECT_EQ(g.GetItemText(3, 2), "g");
    ASSERT_TRUE(g.SetCellType<RefusingCell>(4, 1));
    EXPECT_FALSE(dropAt(4, 1, "bad"));
    owner.answerEndEdit = -1;
    EXPECT_FALSE(dropAt(5, 1, "i"));
    EXPECT_EQ(g.GetItemText(5, 1), "5,1");
}

TEST_F(DragFixture, ADraggedHeadingMovesItsColumnWithWidthAndSortArrow)
{
    g.SetColumnWidth(2, 70);
    g.SetSortColumn(2);
    const GridPoint heading{50 * 2 + 30, 10};
    const GridPoint onto{50 * 4 + 20 + 20, 10};  // column 4, after column 2 grew by 20

    // Off: the drag selects columns and moves nothing.
    g.OnLButtonDown(heading, {});
    g.OnMouseMove(onto, {}, true);
    g.OnLButtonUp(onto, {});
    EXPECT_EQ(g.GetItemText(1, 2), "1,2");
    EXPECT_EQ(g.GetSelectedCellRange(), CCellBlock(1, 2, 7, 4));

    g.SetHeaderDragMovesColumn(true);
    g.OnLButtonDown(heading, {});  // a plain click moves nothing either
    g.OnLButtonUp(heading, {});
    EXPECT_EQ(g.GetItemText(1, 2), "1,2");

    g.OnLButtonDown(heading, {});
    g.OnMouseMove(onto, {}, true);
    g.OnLButtonUp(onto, {});
    EXPECT_EQ(g.GetItemText(0, 4), "0,2");
    EXPECT_EQ(g.GetItemText(1, 4), "1,2");
    EXPECT_EQ(g.GetItemText(1, 2), "1,3");
    EXPECT_EQ(g.GetItemText(7, 3), "7,4");
    EXPECT_EQ(g.GetColumnWidth(4), 70);
    EXPECT_EQ(g.GetColumnWidth(2), 50);
    EXPECT_EQ(g.GetSortColumn(), 4);
    EXPECT_EQ(g.GetSelectedCount(), 0);

    // Back to the left, and never into or out of the fixed column.
    EXPECT_TRUE(g.MoveColumn(4, 1));
    EXPECT_EQ(g.GetItemText(1, 1), "1,2");
    EXPECT_EQ(g.GetItemText(1, 2), "1,1");
    EXPECT_EQ(g.GetSortColumn(), 1);
    EXPECT_FALSE(g.MoveColumn(0, 3));
    EXPECT_FALSE(g.MoveColumn(3, 0));
    EXPECT_FALSE(g.MoveColumn(2, 6));
}

TEST(GridDragSource, AGridClosedDuringItsDragIsNotTouchedAfterwards)
{
    DragHost host;
    auto grid = std::make_unique<CDataGrid>();
    grid->SetHost(&host);
    FillGrid(*grid, 4, 4);
    grid->EnableDragAndDrop(true);
    grid->SetSelectedRange(1, 1, 1, 1);
    host.answer = DropEffect::Move;
    host.duringDrag = [&grid] { grid.reset(); };  // the window closes while the drag runs
    const GridPoint cell{75, 30};
    grid->OnLButtonDown(cell, {});
    grid->OnMouseMove({cell.x + 10, cell.y}, {},
                      true);  // a sanitizer build catches a use after free
    EXPECT_FALSE(grid);
    EXPECT_EQ(host.drags.size(), 1u);
}
