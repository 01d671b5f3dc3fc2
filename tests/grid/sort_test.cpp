#include <gtest/gtest.h>

#include <clocale>

#include "MyDataGrid.h"
#include "grid_fakes.h"

namespace {

// One fixed header row, then one row per text in column 0 and a row tag in column 1.
void Load(CDataGrid& g, const std::vector<std::string>& texts)
{
    g.SetColumnCount(2);
    g.SetRowCount(static_cast<int>(texts.size()) + 1);
    g.SetFixedRowCount(1);
    g.SetItemText(0, 0, "header");
    for (std::size_t i = 0; i < texts.size(); ++i) {
        g.SetItemText(static_cast<int>(i) + 1, 0, texts[i]);
        g.SetItemText(static_cast<int>(i) + 1, 1, "row" + std::to_string(i));
        g.SetRowHeight(static_cast<int>(i) + 1, 10 + static_cast<int>(i));
    }
}

std::vector<std::string> Column(const CDataGrid& g, int col)
{
    std::vector<std::string> out;
    for (int r = g.GetFixedRowCount(); r < g.GetRowCount(); ++r)
        out.push_back(g.GetItemText(r, col));
    return out;
}

TEST(GridSort, TextNumericDigitsAndDecimalCompares)
{
    CMyDataGrid g;
    Load(g, {"10", "9", "100"});
    ASSERT_TRUE(g.SortItems(0, true));
    EXPECT_EQ(Column(g, 0), (std::vector<std::string>{"10", "100", "9"}));
    g.SetCompareFunction(&CDataGrid::CompareNumeric);
    ASSERT_TRUE(g.SortItems(0, true));
    EXPECT_EQ(Column(g, 0), (std::vector<std::string>{"9", "10", "100"}));
    ASSERT_TRUE(g.SortItems(0, false));
    EXPECT_EQ(Column(g, 0), (std::vector<std::string>{"100", "10", "9"}));

    Load(g, {"14.200.000", "7.100.000", "144.000.000"});
    g.SetCompareFunction(&CMyDataGrid::CompareDigits);
    g.SortItems(0, true);
    EXPECT_EQ(Column(g, 0), (std::vector<std::string>{"7.100.000", "14.200.000", "144.000.000"}));

    // "1,5" is 1.5 and "1.5" is 15; a second comma ends the number.
    Load(g, {"1.5", "1,5", "2", "1,45,9"});
    g.SetCompareFunction(&CMyDataGrid::CompareDecimal);
    g.SortItems(0, true);
    EXPECT_EQ(Column(g, 0), (std::vector<std::string>{"1,45,9", "1,5", "2", "1.5"}));

    // Header row and row heights travel correctly.
    EXPECT_EQ(g.GetItemText(0, 0), "header");
    EXPECT_EQ(g.GetRowHeight(4), 10);  // "1.5" came from the first data row (height 10)
}

TEST(GridSort, NumbersAreExactWhateverTheLocaleAndLength)
{
    std::setlocale(LC_ALL, "it_IT.UTF-8");  // when present, a locale with ',' as decimal point
    CMyDataGrid g;
    // atol would wrap or saturate these; they must keep their true order.
    Load(g, {"99999999999999999999999", "-5", "  +12abc", "100000000000000000000000", "-0", "x"});
    g.SetCompareFunction(&CDataGrid::CompareNumeric);
    g.SortItems(0, true);
    EXPECT_EQ(Column(g, 0),
              (std::vector<std::string>{"-5", "-0", "x", "  +12abc", "99999999999999999999999",
                                        "100000000000000000000000"}));
    Load(g, {"88,5", "88,50", "88,49", "9"});
    g.SetCompareFunction(&CMyDataGrid::CompareDecimal);
    g.SortItems(0, true);
    EXPECT_EQ(Column(g, 0), (std::vector<std::string>{"9", "88,49", "88,5", "88,50"}));
    std::setlocale(LC_ALL, "C");
}

TEST(GridSort, StableInBothDirectionsAndFixedRowsStay)
{
    CDataGrid g;
    Load(g, {"b", "a", "b", "a", "b"});
    g.SetFixedColumnCount(0);
    ASSERT_TRUE(g.SortItems(0, true));
    EXPECT_EQ(Column(g, 1), (std::vector<std::string>{"row1", "row3", "row0", "row2", "row4"}));
    Load(g, {"b", "a", "b", "a", "b"});
    ASSERT_TRUE(g.SortItems(0, false));
    EXPECT_EQ(Column(g, 1), (std::vector<std::string>{"row0", "row2", "row4", "row1", "row3"}));
    EXPECT_EQ(g.GetItemText(0, 0), "header");
    EXPECT_EQ(g.GetSortColumn(), 0);
    EXPECT_FALSE(g.GetSortAscending());

    // Two fixed rows: neither moves.
    Load(g, {"z", "y", "x"});
    g.SetFixedRowCount(2);
    g.SortItems(0, true);
    EXPECT_EQ(g.GetItemText(1, 0), "z");
    EXPECT_EQ(Column(g, 0), (std::vector<std::string>{"x", "y"}));
}

TEST(GridSort, RefusalsAndWhatClearsTheSortColumn)
{
    CDataGrid g;
    Load(g, {"only"});
    EXPECT_FALSE(g.SortItems(0, true));  // one data row
    EXPECT_EQ(g.GetSortColumn(), -1);
    Load(g, {"b", "a"});
    EXPECT_FALSE(g.SortItems(5, true));
    EXPECT_FALSE(g.SortItems(-1, true));

    ASSERT_TRUE(g.SortItems(0, true));
    g.SetItemText(1, 1, "other column");
    EXPECT_EQ(g.GetSortColumn(), 0);
    g.SetItemText(1, 0, "sort column");
    EXPECT_EQ(g.GetSortColumn(), -1);
    g.SortItems(0, true);
    g.InsertRow();
    EXPECT_EQ(g.GetSortColumn(), -1);
    g.SortItems(0, true);
    g.DeleteRow(1);
    EXPECT_EQ(g.GetSortColumn(), -1);
}

TEST(GridSort, HeaderClickTogglesDirectionAndSortingClearsSelection)
{
    CDataGrid g;
    FillGrid(g, 5, 3);
    g.SetHeaderSort(true);
    g.SetItemText(1, 1, "c");
    g.SetItemText(2, 1, "a");
    g.SetItemText(3, 1, "d");
    g.SetItemText(4, 1, "b");
    g.SetFocusCell(2, 2);
    g.SetSelectedRange(2, 2, 2, 2);
    g.OnLButtonDown({75, 10}, {});  // header of column 1
    g.OnLButtonUp({75, 10}, {});
    EXPECT_EQ(g.GetSortColumn(), 1);
    EXPECT_TRUE(g.GetSortAscending());
    EXPECT_EQ(Column(g, 1), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_FALSE(g.IsValid(g.GetFocusCell()));
    g.OnLButtonDown({75, 10}, {});
    g.OnLButtonUp({75, 10}, {});
    EXPECT_FALSE(g.GetSortAscending());
    EXPECT_EQ(Column(g, 1), (std::vector<std::string>{"d", "c", "b", "a"}));
    g.OnLButtonDown({125, 10}, {});  // another column starts ascending
    EXPECT_EQ(g.GetSortColumn(), 2);
    EXPECT_TRUE(g.GetSortAscending());
}

}  // namespace
