#include <gtest/gtest.h>

#include <random>

#include "DataGrid.h"
#include "GridClipboardText.h"
#include "grid_fakes.h"

namespace {

struct ClipFixture : ::testing::Test {
    CDataGrid g;
    FakeHost host;
    RecordingOwner owner;
    void SetUp() override
    {
        g.SetHost(&host);
        g.SetOwner(&owner);
        FillGrid(g, 6, 5);
    }
};

TEST(GridClipboardText, ParseRules)
{
    EXPECT_TRUE(ParseClipboardText("").empty());
    EXPECT_EQ(ParseClipboardText("a\tb\r\nc\td\r\n"), (ClipboardRows{{"a", "b"}, {"c", "d"}}));
    EXPECT_EQ(ParseClipboardText("a\tb\n"),
              (ClipboardRows{{"a", "b"}}));  // trailing line end: no extra row
    EXPECT_EQ(ParseClipboardText("a\n\n"), (ClipboardRows{{"a"}, {""}}));  // an empty line is a row
    EXPECT_EQ(ParseClipboardText("1,5"), (ClipboardRows{{"1", "5"}}));  // no tab: commas separate
    EXPECT_EQ(ParseClipboardText("1,5\t 2 "), (ClipboardRows{{"1,5", "2"}}));
    EXPECT_EQ(BuildClipboardText({{"a", ""}, {"", "b,c"}}), "a\t\r\n\tb,c");
}

TEST(GridClipboardText, ParsingStopsAtTheLimitsAndSaysWhetherTextWasLeftOut)
{
    ClipboardParseLimits limits;
    limits.maxRows = 2;
    limits.maxFields = 2;
    bool leftOut = true;
    EXPECT_EQ(ParseClipboardText("a,b, ,\n\n", limits, &leftOut),
              (ClipboardRows{{"a", "b"}, {""}}));
    EXPECT_FALSE(leftOut);  // only blank fields past the limits
    EXPECT_EQ(ParseClipboardText("a\tb\tc", limits, &leftOut), (ClipboardRows{{"a", "b"}}));
    EXPECT_TRUE(leftOut);
    ParseClipboardText("a\nb\n\nc", limits, &leftOut);
    EXPECT_TRUE(leftOut);
    // Huge text costs only what the limits let in.
    std::string huge;
    for (int i = 0; i < 1'000'000; ++i)
        huge += "x\n";
    EXPECT_EQ(ParseClipboardText(huge, limits, &leftOut).size(), 2u);
    EXPECT_TRUE(leftOut);
    limits.maxRows = 0;
    EXPECT_TRUE(ParseClipboardText(huge, limits).empty());
}

TEST_F(ClipFixture, CopyBuildsBoundingBlockSkippingHiddenColumnsAndRows)
{
    g.SetSelectedRange(1, 1, 2, 3);
    g.SetColumnWidth(2, 0);
    g.OnKeyDown(GridKey::C, {false, true});  // no focus cell: keys are ignored
    EXPECT_FALSE(host.clipboard);
    g.SetFocusCell(1, 1);
    g.OnKeyDown(GridKey::C, {false, true});
    EXPECT_EQ(host.clipboard, "1,1\t1,3\r\n2,1\t2,3");

    g.SetColumnWidth(2, 50);
    g.SetSelectedRange(-1, -1, -1, -1);
    g.SetItemState(1, 1, g.GetItemState(1, 1) | CellStateSelected);
    g.SetItemState(3, 3, g.GetItemState(3, 3) | CellStateSelected);
    g.SetRowHeight(2, 0);
    EXPECT_EQ(g.CopyTextFromSelection(), "1,1\t\t\r\n\t\t3,3");
}

TEST_F(ClipFixture, RoundTripKeepsCommasTabsAndLineEnds)
{
    g.SetItemText(1, 1, "Rome, Italy");
    g.SetItemText(1, 2, "a,b,c");
    g.SetItemText(2, 1, "");
    g.SetItemText(2, 2, "x");
    g.SetSelectedRange(1, 1, 2, 2);
    g.SetFocusCell(1, 1);
    g.OnKeyDown(GridKey::C, {false, true});
    ASSERT_TRUE(host.clipboard);
    g.PasteTextAtCell({3, 2}, *host.clipboard, true);
    EXPECT_EQ(g.GetItemText(3, 2), "Rome, Italy");
    EXPECT_EQ(g.GetItemText(3, 3), "a,b,c");
    EXPECT_EQ(g.GetItemText(4, 2), "");
    EXPECT_EQ(g.GetItemText(4, 3), "x");
    EXPECT_EQ(g.GetSelectedCellRange(), CCellBlock(3, 2, 4, 3));
    EXPECT_EQ(owner.Last(GridNotifyBeginEdit)->cause, EditCause::Paste);

    // A copied block ending in a line end leaves the row below alone.
    g.PasteTextAtCell({1, 1}, "p\tq\r\n", false);
    EXPECT_EQ(g.GetItemText(1, 1), "p");
    EXPECT_EQ(g.GetItemText(2, 2), "x");
    EXPECT_EQ(g.GetSelectedCount(), 0);

    // Without tabs, commas split; surplus lines and fields are dropped; hidden rows skipped.
    g.SetRowHeight(2, 0);
    g.PasteTextAtCell({4, 3}, "1,5,6\n7\n8\n9", false);
    EXPECT_EQ(g.GetItemText(4, 3), "1");
    EXPECT_EQ(g.GetItemText(4, 4), "5");
    EXPECT_EQ(g.GetItemText(5, 3), "7");
    EXPECT_EQ(g.GetRowCount(), 6);
    // Only the rows the grid can take are read from a long text.
    std::string huge;
    for (int i = 0; i < 1'000'000; ++i)
        huge += "y\n";
    EXPECT_FALSE(g.PasteTextAtCell({4, 1}, huge, false));
    EXPECT_EQ(g.GetItemText(5, 1), "y");
}

TEST_F(ClipFixture, TheGridsOwnCopyOfOneColumnKeepsCommasForeignTextSplitsAtThem)
{
    g.SetItemText(1, 1, "Rome, Italy");
    g.SetItemText(2, 1, "a,b");
    g.SetSelectedRange(1, 1, 2, 1);
    g.OnEditCopy();
    ASSERT_EQ(host.clipboard, "Rome, Italy\r\na,b");
    g.SetSelectedRange(3, 2, 3, 2);
    g.OnEditPaste();
    EXPECT_EQ(g.GetItemText(3, 2), "Rome, Italy");
    EXPECT_EQ(g.GetItemText(3, 3), "3,3");
    EXPECT_EQ(g.GetItemText(4, 2), "a,b");
    host.clipboard = "x,y";
    g.OnEditPaste();
    EXPECT_EQ(g.GetItemText(3, 2), "x");
    EXPECT_EQ(g.GetItemText(3, 3), "y");
    EXPECT_TRUE(
        g.PasteTextAtCell({1, 1}, "p,q", false, EditCause::Paste, true));  // another grid's text
    EXPECT_EQ(g.GetItemText(1, 1), "p,q");
}

TEST_F(ClipFixture, PasteTargetsAndTheOpenEditor)
{
    host.clipboard = "new";
    g.SetFocusCell(2, 2);
    g.OnKeyDown(GridKey::V, {false, true});
    EXPECT_EQ(g.GetItemText(2, 2), "new");
    g.SetSelectedRange(3, 3, 4, 4);
    g.OnKeyDown(GridKey::Insert, {true, false});
    EXPECT_EQ(g.GetItemText(3, 3), "new");  // top-left of the selection

    g.OnChar(U'e', {});
    ASSERT_TRUE(g.IsEditing());
    g.OnEditPaste();
    EXPECT_EQ(host.pastesIntoEditor, 1);
    EXPECT_EQ(g.GetItemText(2, 2), "new");

    // A refused begin keeps every cell.
    g.EndEditing();
    owner.answerBeginEdit = -1;
    g.PasteTextAtCell({1, 1}, "z\tz", true);
    EXPECT_EQ(g.GetItemText(1, 1), "1,1");
}

TEST_F(ClipFixture, FuzzedClipboardTextNeverCrashesOrHangs)
{
    std::mt19937 rng(20240611);
    const std::string alphabet =
        "ab,\t\n\r  \x01\xff\xc3\xa8"
        "0123456789";
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const int length = static_cast<int>(rng() % 300);
        for (int i = 0; i < length; ++i)
            text += alphabet[rng() % alphabet.size()];
        const ClipboardRows rows = ParseClipboardText(text);
        std::size_t lineEnds = 0;
        for (char c : text)
            lineEnds += c == '\n';
        ASSERT_LE(rows.size(), lineEnds + 1);
        const CCellPos at{static_cast<int>(rng() % 8) - 1, static_cast<int>(rng() % 7) - 1};
        g.PasteTextAtCell(at, text, rng() % 2 == 0);
        g.PasteTextAtCell(at, text.substr(0, text.size() / 2), true);  // truncated
    }
    EXPECT_EQ(g.GetRowCount(), 6);
    EXPECT_EQ(g.GetColumnCount(), 5);
    EXPECT_EQ(g.GetItemText(0, 0), "0,0");  // fixed cells are never pasted into
}

}  // namespace
