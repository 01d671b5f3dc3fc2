#include "Numbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <limits>
#include <string>

using namespace platform;

namespace {

void CheckParsingAndPrinting()
{
    EXPECT_EQ(ParseDouble("88.5"), 88.5);
    EXPECT_EQ(ParseDouble(" -0.25 "), -0.25);
    EXPECT_EQ(ParseDouble("+1e3"), 1000.0);
    EXPECT_FALSE(ParseDouble("88,5"));
    EXPECT_FALSE(ParseDouble("1.5x"));
    EXPECT_FALSE(ParseDouble(""));
    EXPECT_FALSE(ParseDouble("inf"));
    EXPECT_FALSE(ParseDouble("nan"));
    EXPECT_FALSE(ParseDouble("1e999"));
    EXPECT_EQ(ParseDoublePrefix("  7.25 MHz"), 7.25);
    EXPECT_EQ(ParseDoublePrefix("88,5"), 88.0);
    EXPECT_EQ(ParseDoublePrefix("abc"), 0.0);
    EXPECT_EQ(ParseDoublePrefix("1e999"), 0.0);

    EXPECT_EQ(FormatDouble(88.5), "88.5");
    EXPECT_EQ(FormatDouble(0.1), "0.1");
    EXPECT_EQ(FormatDouble(-1234.5, 2), "-1234.50");
    EXPECT_EQ(FormatDouble(14.0742, 3), "14.074");
    EXPECT_EQ(FormatDouble(2.5, -4), "2");  // clamped to 0 decimals, ties to even
    EXPECT_EQ(FormatDouble(1e300, 1).size(), 303u);
    for (double v : {0.1, 1.0 / 3.0, 14074200.0, -7.0e-12, std::numeric_limits<double>::max()})
        EXPECT_EQ(ParseDouble(FormatDouble(v)), v);
}

}  // namespace

TEST(Numbers, IntegersParseWholeOrAsPrefix)
{
    EXPECT_EQ(ParseInt("42"), 42);
    EXPECT_EQ(ParseInt(" -17 "), -17);
    EXPECT_EQ(ParseInt("+5"), 5);
    EXPECT_EQ(ParseInt("2147483647"), 2147483647);
    EXPECT_FALSE(ParseInt("2147483648"));
    EXPECT_FALSE(ParseInt("12abc"));
    EXPECT_FALSE(ParseInt(""));
    EXPECT_FALSE(ParseInt("+-1"));
    EXPECT_FALSE(ParseInt("0x10"));
    EXPECT_EQ(ParseInt64("469999999000"), 469999999000LL);
    EXPECT_EQ(ParseInt64("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
    EXPECT_FALSE(ParseInt64("9223372036854775808"));

    EXPECT_EQ(ParseIntPrefix("12abc"), 12);
    EXPECT_EQ(ParseIntPrefix("  -3 dB"), -3);
    EXPECT_EQ(ParseIntPrefix("abc"), 0);
    EXPECT_EQ(ParseIntPrefix("-"), 0);
    EXPECT_EQ(ParseIntPrefix("99999999999"), std::numeric_limits<int>::max());
    EXPECT_EQ(ParseIntPrefix("-99999999999"), std::numeric_limits<int>::min());
    EXPECT_EQ(ParseInt64Prefix("14074200Hz"), 14074200);

    EXPECT_EQ(FormatInt(-1), "-1");
    EXPECT_EQ(FormatInt(std::numeric_limits<int>::min()), "-2147483648");
    EXPECT_EQ(FormatInt64(469999999000LL), "469999999000");
}

TEST(Numbers, DoublesUseThePointInTheCLocale)
{
    CheckParsingAndPrinting();
}

TEST(Numbers, DoublesIgnoreACommaLocale)
{
    const char* candidates[] = {"it_IT.UTF-8", "it_IT.utf8",  "it_IT",
                                "de_DE.UTF-8", "de_DE.utf8",  "fr_FR.UTF-8",
                                "fr_FR.utf8",  "ru_RU.UTF-8", "nl_NL.UTF-8"};
    std::string old = std::setlocale(LC_ALL, nullptr);
    const char* found = nullptr;
    for (const char* name : candidates) {
        if (std::setlocale(LC_ALL, name)) {
            found = name;
            break;
        }
    }
    if (!found)
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", 88.5);
    EXPECT_STREQ(buf, "88,5") << "locale " << found << " does not use a comma";
    CheckParsingAndPrinting();
    std::setlocale(LC_ALL, old.c_str());
}
