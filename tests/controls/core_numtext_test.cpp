// The number field's text model: formatting, typing, values, status texts and the clipboard.
#include "NumText.h"

#include <gtest/gtest.h>

namespace {

NumFormat Hz()
{
    NumFormat f;
    f.maxDigits = 9;
    return f;
}

NumEditModel Field(int decimals = 0, char dec = ',', bool sign = false, bool front = false)
{
    NumEditModel m;
    m.SetFormat(decimals, dec, sign, front);
    return m;
}

void TypeAll(NumEditModel& m, const std::string& keys)
{
    for (char c : keys)
        m.TypeChar(c);
}

TEST(NumTextFormat, GroupsDecimalsAndPadding)
{
    NumFormat f = Hz();
    EXPECT_EQ(numtext::Format("14175000", f, '+'), "14.175.000");
    EXPECT_EQ(numtext::Format("", f, '+'), "0");
    EXPECT_EQ(numtext::Format("100", f, '+'), "100");
    EXPECT_EQ(numtext::Format("1000", f, '+'), "1.000");
    f.decimals = 3;
    f.minDigits = 4;
    EXPECT_EQ(numtext::Format("14175000", f, '+'), "14.175,000");
    EXPECT_EQ(numtext::Format("5", f, '+'), "0,005");
    f.groupChar = 0;
    EXPECT_EQ(numtext::Format("14175000", f, '+'), "14175,000");
}

TEST(NumTextFormat, SignInFrontOrBehind)
{
    NumFormat f = Hz();
    f.showSign = true;
    f.signInFront = true;
    EXPECT_EQ(numtext::Format("600", f, '-'), "-600");
    f.signInFront = false;
    EXPECT_EQ(numtext::Format("1000", f, '+'), "1.000+");
}

TEST(NumTextFormat, StripMovesBothPositionsOverRemovedCharacters)
{
    NumFormat f = Hz();
    int caret = 6, second = 2;
    EXPECT_EQ(numtext::Strip("01.234", f, &caret, &second), "1234");
    EXPECT_EQ(caret, 4);   // one separator and one leading zero before it
    EXPECT_EQ(second, 1);  // the zero was before it, the separator after
    EXPECT_EQ(numtext::Strip("000", f), "");
    caret = 1;
    second = 5;
    EXPECT_EQ(numtext::Strip("0.0-12", f, &caret, &second), "12");
    EXPECT_EQ(caret, 0);   // inside the zeros
    EXPECT_EQ(second, 1);  // after "1": two separators and two zeros before it
}

// Very long pastes: leading zeros and separators go, and a number too long is refused.
TEST(NumTextFormat, LongPastesAreStripped)
{
    NumEditModel m = Field();
    m.SetSelection(0, 1);
    EXPECT_TRUE(m.Paste(std::string(1'000'000, '0') + "7050"));
    EXPECT_FALSE(m.Paste(std::string(400'000, '.') + std::string(400'000, '1')));
    EXPECT_EQ(m.Text(), "7.050");
}

TEST(NumTextFormat, CaretFollowsInsertedSeparators)
{
    NumFormat f = Hz();
    int caret = 4;  // after all four digits
    EXPECT_EQ(numtext::Format("1234", f, '+', &caret), "1.234");
    EXPECT_EQ(caret, 5);
}

TEST(NumEditTyping, ZeroIsReplacedAndDigitsGroup)
{
    NumEditModel m = Field();
    EXPECT_EQ(m.Text(), "0");
    m.SetSelection(1, 1);
    TypeAll(m, "7");
    EXPECT_EQ(m.Text(), "7");
    TypeAll(m, "1234");
    EXPECT_EQ(m.Text(), "71.234");
    EXPECT_EQ(m.SelEnd(), 6);
}

TEST(NumEditTyping, LettersAndSeparatorsAreSwallowed)
{
    NumEditModel m = Field(2);
    m.SetValue(1.5);
    const std::string before = m.Text();
    EXPECT_FALSE(m.TypeChar('a'));
    EXPECT_FALSE(m.TypeChar(','));
    EXPECT_FALSE(m.TypeChar('.'));
    EXPECT_EQ(m.Text(), before);
}

TEST(NumEditTyping, TooManyDigitsKeepTextAndSelection)
{
    NumEditModel m;  // 11 digits before SetFormat
    m.SetSelection(1, 1);
    TypeAll(m, "12345678901");
    EXPECT_EQ(m.Text(), "12.345.678.901");
    m.SetSelection(3, 3);
    EXPECT_FALSE(m.TypeChar('5'));
    EXPECT_EQ(m.Text(), "12.345.678.901");
    EXPECT_EQ(m.SelStart(), 3);
    EXPECT_EQ(m.SelEnd(), 3);

    NumEditModel h = Field();  // 9 after SetFormat
    h.SetValue(123456789);
    h.SetSelection(0, 0);
    EXPECT_FALSE(h.TypeChar('1'));
    EXPECT_EQ(h.Text(), "123.456.789");
}

TEST(NumEditTyping, BackspaceAndDeleteReformat)
{
    NumEditModel m = Field();
    m.SetValue(14175000);
    m.SetSelection(static_cast<int>(m.Text().size()), static_cast<int>(m.Text().size()));
    EXPECT_TRUE(m.Backspace());
    EXPECT_EQ(m.Text(), "1.417.500");
    m.SetSelection(0, 0);
    EXPECT_TRUE(m.Delete());
    EXPECT_EQ(m.Text(), "417.500");
    m.SetSelection(0, static_cast<int>(m.Text().size()));
    EXPECT_TRUE(m.Delete());
    EXPECT_EQ(m.Text(), "0");
}

TEST(NumEditTyping, MinusMakesTheNumberNegative)
{
    NumEditModel m = Field(0, ',', true, true);
    m.SetValue(600);
    EXPECT_EQ(m.Text(), "+600");
    m.SetSelection(0, 0);
    EXPECT_TRUE(m.TypeChar('-'));
    EXPECT_EQ(m.Text(), "-600");
    EXPECT_DOUBLE_EQ(m.GetValue(), -600.0);
}

TEST(NumEditValue, SetAndGetRoundTrip)
{
    NumEditModel m = Field();
    m.SetValue(14175000.0);
    EXPECT_EQ(m.Text(), "14.175.000");
    EXPECT_DOUBLE_EQ(m.GetValue(), 14175000.0);
    m.SetValue(0);
    EXPECT_EQ(m.Text(), "0");

    NumEditModel one = Field(1);
    one.SetValue(0.5);
    EXPECT_EQ(one.Text(), "0,5");
    EXPECT_DOUBLE_EQ(one.GetValue(), 0.5);

    NumEditModel two = Field(2);
    two.SetValue(0.05);
    EXPECT_EQ(two.Text(), "0,05");
    EXPECT_DOUBLE_EQ(two.GetValue(), 0.05);

    NumEditModel manual = Field(3, '.');
    manual.SetValue(14.2);
    EXPECT_EQ(manual.Text(), "14.200");
}

TEST(NumEditValue, SignedFields)
{
    NumEditModel front = Field(0, ',', true, true);
    front.SetValue(-1000);
    EXPECT_EQ(front.Text(), "-1.000");
    EXPECT_DOUBLE_EQ(front.GetValue(), -1000.0);

    NumEditModel behind = Field(0, ',', true, false);
    behind.SetValue(-1000);
    EXPECT_EQ(behind.Text(), "1.000-");
    EXPECT_DOUBLE_EQ(behind.GetValue(), 1000.0);  // only a sign in front reads negative
}

TEST(NumEditValue, OutOfRangeAndNonFiniteValues)
{
    NumEditModel m = Field();
    m.SetValue(7000);
    m.SetValue(1e12);  // ten digits do not fit nine
    EXPECT_EQ(m.Text(), "7.000");
    m.SetValue(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(m.Text(), "0");
}

TEST(NumEditStatus, StatusTextsStayTextAndReadZero)
{
    NumEditModel m = Field();
    m.SetValue(14175000);
    for (const char* status : {"OFF LINE", "Error"}) {
        EXPECT_TRUE(m.SetText(status));
        EXPECT_EQ(m.Text(), status);
        EXPECT_TRUE(m.ShowsStatus());
        EXPECT_DOUBLE_EQ(m.GetValue(), 0.0);
        m.Reformat();  // focus
        EXPECT_EQ(m.Text(), status);
    }
    // The first digit typed replaces the status.
    m.SetSelection(3, 3);
    EXPECT_TRUE(m.TypeChar('5'));
    EXPECT_EQ(m.Text(), "5");
    EXPECT_FALSE(m.ShowsStatus());
    // And a value brings the number back.
    m.SetText("OFF LINE");
    m.SetValue(7050000);
    EXPECT_EQ(m.Text(), "7.050.000");
}

TEST(NumEditStatus, ARefusedPasteKeepsTheStatusText)
{
    NumEditModel m = Field();
    ASSERT_TRUE(m.SetText("OFF LINE"));
    m.SetSelection(0, 8);
    EXPECT_FALSE(m.Paste("1234567890"));  // ten digits do not fit
    EXPECT_EQ(m.Text(), "OFF LINE");
    EXPECT_TRUE(m.ShowsStatus());
    // Still a status: the next digit replaces it rather than joining its letters.
    EXPECT_TRUE(m.TypeChar('7'));
    EXPECT_EQ(m.Text(), "7");
    EXPECT_DOUBLE_EQ(m.GetValue(), 7.0);
}

TEST(NumEditStatus, ProgramTextOfDigitsIsFormattedAndLongOnesRefused)
{
    NumEditModel m = Field();
    EXPECT_TRUE(m.SetText("14175000"));
    EXPECT_EQ(m.Text(), "14.175.000");
    EXPECT_FALSE(m.SetText("14.175.000"));  // equal to the shown text
    EXPECT_FALSE(m.SetText("1234567890"));
    EXPECT_EQ(m.Text(), "14.175.000");
}

TEST(NumEditClipboard, CopyNeedsASelection)
{
    NumEditModel m = Field();
    m.SetValue(14175000);
    m.SetSelection(2, 2);
    EXPECT_FALSE(m.Copy().has_value());
    m.SetSelection(0, 6);
    EXPECT_EQ(m.Copy().value_or(""), "14175");
}

TEST(NumEditClipboard, CutGivesTheDigitsItRemoves)
{
    NumEditModel m = Field();
    m.SetValue(14175000);
    m.SetSelection(3, 6);  // "175"
    EXPECT_EQ(m.Cut().value_or(""), "175");
    EXPECT_EQ(m.Text(), "14.000");
    m.SetSelection(1, 1);
    EXPECT_FALSE(m.Cut().has_value());
    EXPECT_EQ(m.Text(), "14.000");
}

TEST(NumEditClipboard, PasteAdmitsOnlyNumbers)
{
    NumEditModel m = Field();
    m.SetSelection(0, 1);
    EXPECT_TRUE(m.Paste("1.234.567"));
    EXPECT_EQ(m.Text(), "1.234.567");
    EXPECT_FALSE(m.Paste("abc"));
    EXPECT_FALSE(m.Paste("12 MHz"));
    EXPECT_FALSE(m.Paste(""));
    EXPECT_EQ(m.Text(), "1.234.567");
    m.SetSelection(static_cast<int>(m.Text().size()), static_cast<int>(m.Text().size()));
    EXPECT_FALSE(m.Paste("1234"));  // eleven digits do not fit
    EXPECT_EQ(m.Text(), "1.234.567");
    m.SetSelection(0, static_cast<int>(m.Text().size()));
    EXPECT_TRUE(m.Paste(" 7050000\n"));
    EXPECT_EQ(m.Text(), "7.050.000");
    EXPECT_EQ(m.SelEnd(), 9);
}

}  // namespace
