#include <gtest/gtest.h>

#include "DataGrid.h"
#include "grid_fakes.h"

namespace {

TEST(GridPrintLayout, BandsSplitRowsAndSliceTallOnes)
{
    // Rows 0 (fixed), then 30, 30, 0 (hidden), 30 on a body of 70.
    std::vector<std::vector<PrintSlice>> bands = SplitIntoBands({20, 30, 30, 0, 30}, 1, 70);
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_EQ(bands[0], (PrintBand{{1, 0, 30}, {2, 0, 30}}));
    EXPECT_EQ(bands[1], (PrintBand{{4, 0, 30}}));
    // A row of 170 on a body of 70: three slices on pages of its own.
    bands = SplitIntoBands({10, 170, 10}, 0, 70);
    ASSERT_EQ(bands.size(), 5u);
    EXPECT_EQ(bands[0], (PrintBand{{0, 0, 10}}));
    EXPECT_EQ(bands[1], (PrintBand{{1, 0, 70}}));
    EXPECT_EQ(bands[2], (PrintBand{{1, 70, 70}}));
    EXPECT_EQ(bands[3], (PrintBand{{1, 140, 30}}));
    EXPECT_EQ(bands[4], (PrintBand{{2, 0, 10}}));
    EXPECT_EQ(SplitIntoBands({}, 0, 70).size(), 1u);      // nothing: one empty page
    EXPECT_EQ(SplitIntoBands({5, 5}, 0, 0).size(), 10u);  // a body below one pixel counts as one
}

TEST(GridPrintLayout, FooterIsFilledNeverFormatted)
{
    EXPECT_EQ(FormatPageFooter("Page %d of %d", 2, 3), "Page 2 of 3");
    EXPECT_EQ(FormatPageFooter("%s %n %x 100%% %d", 1, 9), "%s %n %x 100% 1");
    EXPECT_EQ(FormatPageFooter("%d %d %d %", 4, 5), "4 5 %d %");
    EXPECT_EQ(FormatPageFooter("", 1, 1), "");
}

struct PrintFixture : ::testing::Test {
    CDataGrid g;
    RecordingPainter painter;
    PrintDevice device{4800, 6600, 600, 600, 96, 96};
    void SetUp()
    {
        g.SetPrintTitle("Memories");
        g.SetPrintFooterFormat("Page %d of %d %s%n");
    }
};

TEST_F(PrintFixture, WholeGridScaledAcrossAndPagesDown)
{
    FillGrid(g, 101, 12);  // 12 columns of 50: wider than any paper at screen size
    ASSERT_TRUE(g.OnBeginPrinting(painter, device));
    const PrintLayout& layout = g.GetPrintLayout();
    EXPECT_EQ(layout.colBands.size(), 1u);  // all columns on one page width
    EXPECT_EQ(layout.pageWidth, 600 + layout.marginWidth);
    EXPECT_GT(layout.PageCount(), 1);
    int rows = 0;
    for (const PrintBand& band : layout.rowBands)
        rows += static_cast<int>(band.size());
    EXPECT_EQ(rows, 100);  // every data row exactly once

    g.OnPrintPage(painter, 2, "date");
    const std::string footer = "Page 2 of " + std::to_string(layout.PageCount()) + " %s%n";
    EXPECT_NE(painter.Find(footer), nullptr);
    ASSERT_NE(painter.Find("Memories"), nullptr);
    EXPECT_EQ(painter.Find("Memories")->weight, 700);
    EXPECT_NE(painter.Find("date"), nullptr);
    EXPECT_NE(painter.Find("0,3"), nullptr);  // column headings on every page
    EXPECT_EQ(painter.Find("1,3"), nullptr);  // row 1 is on page 1 only
    painter.texts.clear();
    g.OnPrintPage(painter, layout.PageCount() + 1, "date");
    EXPECT_TRUE(painter.texts.empty());
}

TEST_F(PrintFixture, HeaderOnlyGridAndTallRows)
{
    g.SetColumnCount(3);
    g.SetRowCount(1);
    g.SetFixedRowCount(1);
    g.SetItemText(0, 1, "Head");
    ASSERT_TRUE(g.OnBeginPrinting(painter, device));
    EXPECT_EQ(g.GetPrintLayout().PageCount(), 1);
    g.OnPrintPage(painter, 1, "");
    EXPECT_NE(painter.Find("Head"), nullptr);

    // A row taller than the printable body is printed in slices, not dropped.
    g.SetRowCount(3);
    g.SetItemText(1, 1, "tall");
    g.SetItemText(2, 1, "after");
    ASSERT_TRUE(g.OnBeginPrinting(painter, device));
    const int body = g.GetPrintLayout().bodyHeight;
    g.SetRowHeight(1, body * 2 + 5);
    ASSERT_TRUE(g.OnBeginPrinting(painter, device));
    EXPECT_EQ(g.GetPrintLayout().PageCount(), 4);
    for (int page = 1; page <= 3; ++page) {
        painter.texts.clear();
        painter.clips.clear();
        g.OnPrintPage(painter, page, "");
        EXPECT_NE(painter.Find("tall"), nullptr) << page;
        EXPECT_FALSE(painter.clips.empty());
    }
    painter.texts.clear();
    g.OnPrintPage(painter, 4, "");
    EXPECT_NE(painter.Find("after"), nullptr);

    EXPECT_FALSE(g.OnBeginPrinting(painter, PrintDevice{0, 0}));
}

TEST_F(PrintFixture, TrueSizeCountsPagesAcross)
{
    FillGrid(g, 5, 40);
    g.GetPrintSettings().trueSize = true;
    ASSERT_TRUE(g.OnBeginPrinting(painter, device));
    const PrintLayout& layout = g.GetPrintLayout();
    EXPECT_EQ(layout.pageWidth, 4800 * 96 / 600 * 3 / 4);
    EXPECT_GT(layout.colBands.size(), 1u);
    EXPECT_EQ(layout.PageCount(),
              static_cast<int>(layout.rowBands.size() * layout.colBands.size()));
    g.OnPrintPage(painter, 2, "");
    EXPECT_EQ(painter.Find("0,1"), nullptr);  // page 2 is the second band of columns
    EXPECT_NE(painter.Find("1,0"), nullptr);  // row headings on every page
}

}  // namespace
