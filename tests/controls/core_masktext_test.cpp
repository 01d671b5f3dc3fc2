// The time field's text model: only valid "HH:MM" times can be typed.
#include "MaskText.h"

#include <gtest/gtest.h>

namespace {

bool TypeAll(MaskEditModel& m, const std::string& keys)
{
    for (char c : keys)
        if (!m.TypeChar(c))
            return false;
    return true;
}

TEST(TimeMask, TypingPassesTheColonByItself)
{
    auto m = MaskEditModel::Time();
    EXPECT_TRUE(TypeAll(m, "2359"));
    EXPECT_EQ(m.Text(), "23:59");
    EXPECT_FALSE(m.TypeChar('0'));  // past the mask
    EXPECT_EQ(m.Text(), "23:59");
}

TEST(TimeMask, HoursAndMinutesAreLimited)
{
    auto m = MaskEditModel::Time();
    EXPECT_FALSE(m.TypeChar('3'));
    EXPECT_TRUE(m.TypeChar('2'));
    for (char c : std::string("456789"))
        EXPECT_FALSE(m.TypeChar(c)) << c;
    EXPECT_TRUE(m.TypeChar('3'));
    EXPECT_FALSE(m.TypeChar('6'));
    EXPECT_TRUE(m.TypeChar('5'));
    EXPECT_TRUE(m.TypeChar('9'));
    EXPECT_EQ(m.Text(), "23:59");

    auto early = MaskEditModel::Time();
    EXPECT_TRUE(TypeAll(early, "19"));
    EXPECT_EQ(early.Text(), "19:");
    EXPECT_FALSE(early.TypeChar('a'));
    EXPECT_FALSE(early.TypeChar(':'));  // the colon was already passed
}

TEST(TimeMask, OverwritingKeepsTheTimeValid)
{
    auto m = MaskEditModel::Time();
    m.SetText("19:30");
    m.SetCaret(0);
    EXPECT_FALSE(m.TypeChar('2'));  // would give 29:30
    EXPECT_TRUE(m.TypeChar('0'));
    EXPECT_EQ(m.Text(), "09:30");
    m.SetCaret(3);
    EXPECT_TRUE(m.TypeChar('4'));
    EXPECT_EQ(m.Text(), "09:40");
    m.SetCaret(2);  // on the colon: it is passed first
    EXPECT_TRUE(m.TypeChar('5'));
    EXPECT_EQ(m.Text(), "09:50");
}

TEST(TimeMask, BackspacePutsTheProgramTextBack)
{
    auto m = MaskEditModel::Time();
    m.SetText("12:30");
    m.SetCaret(1);
    EXPECT_TRUE(m.TypeChar('5'));
    EXPECT_EQ(m.Text(), "15:30");
    m.SetCaret(2);
    EXPECT_TRUE(m.Backspace());
    EXPECT_EQ(m.Text(), "12:30");
    EXPECT_EQ(m.Caret(), 1);
    m.SetCaret(0);
    EXPECT_FALSE(m.Backspace());

    // The program's character comes back only where the limits allow it.
    auto hours = MaskEditModel::Time();
    hours.SetText("19:00");
    hours.SetCaret(1);
    EXPECT_TRUE(hours.TypeChar('0'));
    hours.SetCaret(0);
    EXPECT_TRUE(hours.TypeChar('2'));
    hours.SetCaret(2);
    EXPECT_TRUE(hours.Backspace());
    EXPECT_EQ(hours.Text(), "20:00");
    EXPECT_EQ(hours.Caret(), 1);
    auto first = MaskEditModel::Time();
    first.SetText("23:00");
    first.SetCaret(0);
    EXPECT_TRUE(TypeAll(first, "19"));
    first.SetCaret(1);
    EXPECT_TRUE(first.Backspace());
    EXPECT_EQ(first.Text(), "19:00");
}

TEST(TimeMask, PasteIsAllOrNothing)
{
    auto m = MaskEditModel::Time();
    EXPECT_TRUE(m.Paste("08:15"));
    EXPECT_EQ(m.Text(), "08:15");
    auto bad = MaskEditModel::Time();
    bad.SetText("10:00");
    bad.SetCaret(0);
    EXPECT_FALSE(bad.Paste("25:00"));
    EXPECT_FALSE(bad.Paste("1x"));
    EXPECT_EQ(bad.Text(), "10:00");
    EXPECT_TRUE(bad.Paste("21:45"));
    EXPECT_EQ(bad.Text(), "21:45");
}

TEST(TimeText, ParsesOnlyCompleteValidTimes)
{
    ASSERT_TRUE(ParseTimeText("23:59").has_value());
    EXPECT_EQ(ParseTimeText("07:05")->hour, 7);
    EXPECT_EQ(ParseTimeText("07:05")->minute, 5);
    for (const char* bad : {"", "7:05", "24:00", "12:60", "12-30", "12:3", "ab:cd", "12:300"})
        EXPECT_FALSE(ParseTimeText(bad).has_value()) << bad;
}

}  // namespace
