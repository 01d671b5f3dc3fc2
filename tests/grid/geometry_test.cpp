#include <gtest/gtest.h>

#include "DataGrid.h"
#include "grid_fakes.h"

namespace {

TEST(GridStructure, CountsFixedBandsAndFocusFollowRows)
{
    CDataGrid g;
    EXPECT_TRUE(g.SetRowCount(0));
    EXPECT_FALSE(g.SetRowCount(-1));
    ASSERT_TRUE(g.SetFixedRowCount(2));  // grows the grid first
    EXPECT_EQ(g.GetRowCount(), 2);
    g.SetColumnCount(3);
    g.SetFixedColumnCount(1);
    g.SetRowCount(5);
    EXPECT_EQ(g.GetItemState(0, 2) & 0x70u, 0x30u);
    EXPECT_EQ(g.GetItemState(3, 0) & 0x70u, 0x50u);
    EXPECT_EQ(g.GetItemState(0, 0) & 0x70u, 0x70u);
    EXPECT_EQ(g.GetItemState(3, 2) & 0x70u, 0u);
    g.SetItemBkColour(1, 2, GridRgb(1, 2, 3));
    g.SetFixedRowCount(1);  // row 1 leaves the band: default colours again
    EXPECT_EQ(g.GetItemBkColour(1, 2), kClrDefault);
    EXPECT_EQ(g.GetItemState(1, 2) & 0x70u, 0u);

    EXPECT_EQ(g.GetItemText(-1, 0), "");
    EXPECT_EQ(g.GetItemText(0, 3), "");
    EXPECT_FALSE(g.SetItemText(9, 0, "x"));
    EXPECT_EQ(g.GetRowHeight(9), -1);
    EXPECT_FALSE(g.SetColumnWidth(1, -2));

    g.SetFocusCell(3, 1);
    g.DeleteRow(1);
    EXPECT_EQ(g.GetFocusCell(), CCellPos(2, 1));
    g.DeleteRow(2);
    EXPECT_FALSE(g.IsValid(g.GetFocusCell()));
    EXPECT_EQ(g.InsertRow(), 3);
    g.SetFocusCell(0, 0);  // raised out of the fixed band
    EXPECT_EQ(g.GetFocusCell(), CCellPos(1, 1));
    g.SetRowCount(1);  // shrinking below the fixed count and past the focus
    EXPECT_EQ(g.GetFixedRowCount(), 1);
    EXPECT_FALSE(g.IsValid(g.GetFocusCell()));
    g.DeleteAllItems();
    EXPECT_EQ(g.GetColumnCount() + g.GetRowCount() + g.GetFixedColumnCount() + g.GetFixedRowCount(),
              0);
    EXPECT_EQ(g.InsertRow(), 0);  // makes a column first
    EXPECT_EQ(g.GetColumnCount(), 1);
}

TEST(GridGeometry, ScrollBarsHitTestingAndEnsureVisible)
{
    CDataGrid g;
    FakeHost host;
    g.SetHost(&host);
    FillGrid(g, 40, 12);
    EXPECT_TRUE(g.GetVertScrollBar().shown);
    EXPECT_TRUE(g.GetHorzScrollBar().shown);
    EXPECT_EQ(g.GetClientRect(), (GridRect{0, 0, 384, 284}));
    EXPECT_EQ(g.GetCellFromPt({55, 25}), CCellPos(1, 1));
    EXPECT_EQ(g.GetCellFromPt({5, 5}), CCellPos(0, 0));
    EXPECT_EQ(g.GetCellFromPt({55, 25}, false), CCellPos(1, 1));
    EXPECT_EQ(g.GetCellFromPt({5, 25}, false).col, -1);

    g.EnsureVisible(30, 10);
    GridRect rect;
    ASSERT_TRUE(g.GetCellRect(30, 10, rect));
    EXPECT_LE(rect.bottom, g.GetClientRect().bottom);
    EXPECT_LE(rect.right, g.GetClientRect().right);
    EXPECT_FALSE(g.GetCellRect(1, 1, rect));  // scrolled out above
    EXPECT_EQ(g.GetCellFromPt({55, 25}).row, g.GetTopleftNonFixedCell().row);
    EXPECT_TRUE(g.GetCellRect(0, 0, rect));  // fixed cells never scroll

    g.EnsureVisible(1, 1);
    EXPECT_EQ(g.GetScrollPos(true), 0);
    EXPECT_EQ(g.GetScrollPos(false), 0);

    // Everything fits: the bars go and the top-left cell resets.
    g.OnVScroll(ScrollCode::Bottom);
    g.SetClientSize(2000, 2000);
    EXPECT_FALSE(g.GetVertScrollBar().shown);
    EXPECT_EQ(g.GetTopleftNonFixedCell(), CCellPos(1, 1));
}

TEST(GridGeometry, AutoSizeStylesAndFont)
{
    CDataGrid g;
    RecordingPainter measurer;
    g.SetMeasurer(&measurer);
    g.SetFont(GridFont{"Sans", 12});
    EXPECT_EQ(g.GetDefaultCell(false, false)->GetWidth(), 7 * 14);
    EXPECT_EQ(g.GetDefaultCell(false, false)->GetHeight(), 21);
    g.SetColumnCount(2);
    EXPECT_EQ(g.GetColumnWidth(1), 7 * 14);
    g.SetRowCount(3);
    g.SetFixedRowCount(1);
    g.SetItemText(0, 0, "A very long header");
    g.SetItemText(1, 0, "short");
    g.SetItemText(2, 0, "x");  // an empty cell measures as a default cell
    g.SetRowHeight(0, 33);
    g.AutoSize(AutoSizeData);
    EXPECT_EQ(g.GetRowHeight(0), 33);
    EXPECT_EQ(g.GetColumnWidth(0), 7 * 5 + 2 * 7 + 1);
    g.SetColumnWidth(1, 0);
    g.AutoSize(AutoSizeBoth);
    EXPECT_EQ(g.GetColumnWidth(1), 0);  // hidden stays hidden
    // Sorted by the column, its header still shows the whole title beside the arrow.
    g.SetSortColumn(0);
    g.SetClientSize(400, 300);
    RecordingPainter painter;
    g.OnDraw(painter, g.GetClientRect());
    ASSERT_NE(painter.Find("A very long header"), nullptr);
    EXPECT_EQ(painter.Find("A very long header")->rect.Width(), 7 * 18);
}

// Counts what reaches it; widths by character count as the recording painter's.
struct CountingMeasurer : RecordingPainter {
    int measured = 0;
    GridSize MeasureText(std::string_view t, const GridFont& f) override
    {
        ++measured;
        return RecordingPainter::MeasureText(t, f);
    }
};

TEST(GridGeometry, AutoSizeMeasuresEachTextOnceAndKeepsOwnFontsAndLines)
{
    CDataGrid g;
    CountingMeasurer measurer;
    g.SetMeasurer(&measurer);
    g.SetColumnCount(2);
    g.SetRowCount(201);
    g.SetFixedRowCount(1);
    for (int r = 1; r <= 200; ++r) {
        g.SetItemText(r, 0, r % 2 ? "ON" : "OFF");
        g.SetItemText(r, 1, "x");
    }
    g.SetItemText(7, 1, "a longer text");
    GridFont big;
    big.height = 30;
    g.SetItemFont(9, 0, &big);
    g.SetItemFormat(11, 1, DT_WORDBREAK);
    g.SetItemText(11, 1, "one\ntwo");
    measurer.measured = 0;
    g.AutoSize(AutoSizeData);
    // ON, OFF, OFF in its own font, x, the longer text and the two lines.
    EXPECT_EQ(measurer.measured, 7);
    EXPECT_EQ(g.GetColumnWidth(0), 7 * 3 + 2 * 3 + 1);
    EXPECT_EQ(g.GetColumnWidth(1), 7 * 13 + 2 * 3 + 1);
    EXPECT_EQ(g.GetRowHeight(2), 14 + 2 * 3 + 1);
    EXPECT_EQ(g.GetRowHeight(11), 2 * 14 + 2 * 3 + 1);
    EXPECT_EQ(g.GetItemFont(9, 0)->height, 30);
    EXPECT_TRUE(g.GetCell(10, 0)->IsDefaultFont());
}

TEST(GridPaint, SelectionFocusSortArrowAndLines)
{
    CDataGrid g;
    RecordingPainter painter;
    FillGrid(g, 4, 3);
    g.SetFocusCell(1, 1);
    g.SetSelectedRange(1, 1, 1, 2);
    g.SetItemBkColour(2, 2, GridRgb(255, 255, 224));
    g.SetSortColumn(1);
    g.OnDraw(painter, g.GetClientRect());
    const GridPalette& pal = g.GetPalette();
    ASSERT_NE(painter.Find("1,1"), nullptr);
    EXPECT_EQ(painter.Find("1,1")->color, pal.highlightText);
    EXPECT_EQ(painter.Find("2,1")->color, pal.windowText);
    EXPECT_NE(painter.Find("0,2"), nullptr);
    EXPECT_EQ(painter.Find("0,1")->rect.right, 100 - 1 - 3 - 10);  // text loses the arrow's width
    bool ownBackground = false;
    for (const auto& [rect, color] : painter.fills)
        ownBackground |= color == GridRgb(255, 255, 224);
    EXPECT_TRUE(ownBackground);
    EXPECT_GT(painter.lines, 0);
    painter = RecordingPainter{};
    g.SetRedraw(false);
    g.OnDraw(painter, g.GetClientRect());
    EXPECT_TRUE(painter.texts.empty());
}

}  // namespace
