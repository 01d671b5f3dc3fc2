// Frequencies and offsets to packed decimal and back.
#include <gtest/gtest.h>

#include <cstdint>

#include "Bcd.h"
#include "CivNumbers.h"
#include "ControllerTestSupport.h"

using namespace ctltest;

TEST(Bcd, FrequencyPacksLeastSignificantPairFirstAndReadsBack)
{
    const Bytes reply = {0xFE, 0xFE, 0xE0, 0x58, 0x03, 0x00, 0x00, 0x25, 0x14, 0x00, 0xFD};
    int64_t hz = 0;
    ASSERT_TRUE(radio::ReadBcd(reply.data(), 5, 5, hz));
    EXPECT_EQ(hz, 14250000);
    EXPECT_EQ(cat::BcdToNumber(reply.data(), reply.size()), 14250000);

    for (int64_t value :
         {int64_t(0), int64_t(30000), int64_t(14250000), int64_t(469999999), int64_t(9999999999)}) {
        uint8_t packed[5];
        ASSERT_TRUE(cat::NumberToBcd(value, packed, 5));
        int64_t back = -1;
        ASSERT_TRUE(radio::ReadBcd(packed, 0, 5, back));
        EXPECT_EQ(back, value);
    }
}

TEST(Bcd, NonDigitsAreRefused)
{
    const uint8_t bad[][3] = {{0x0A, 0x00, 0x00}, {0x00, 0xA0, 0x00}, {0x00, 0x00, 0xFF}};
    for (const auto& b : bad) {
        int64_t value = 77;
        EXPECT_FALSE(radio::ReadBcd(b, 0, 3, value));
        EXPECT_EQ(value, 77);
    }
    int64_t value = 0;
    EXPECT_FALSE(radio::ReadBcd(nullptr, 0, 3, value));
    EXPECT_FALSE(radio::ReadBcd(bad[0], 0, 0, value));
}

TEST(Bcd, DuplexOffsetFitsThreeBytesOrIsRefused)
{
    uint8_t sub = 1, d0 = 1, d1 = 1;
    ASSERT_TRUE(radio::DuplexOffsetToBcd(600, sub, d0, d1));
    EXPECT_EQ(sub, 0x00);
    EXPECT_EQ(d0, 0x60);
    EXPECT_EQ(d1, 0x00);
    ASSERT_TRUE(radio::DuplexOffsetToBcd(9999, sub, d0, d1));
    const uint8_t frame[] = {0xFE, 0xFE, 0xE0, 0x58, 0x0C, sub, d0, d1, 0xFD};
    int64_t units = 0;
    ASSERT_TRUE(radio::ReadBcd(frame, 5, 3, units));
    EXPECT_EQ(units, 99990);  // 100-Hz units
    // Values that would spill into FD or beyond are refused.
    EXPECT_FALSE(radio::DuplexOffsetToBcd(-1, sub, d0, d1));
    EXPECT_FALSE(radio::DuplexOffsetToBcd(10000, sub, d0, d1));
}

TEST(Bcd, FrequencyDisplayGroupsDigits)
{
    EXPECT_EQ(radio::FormatFrequency(30000), "30.000");
    EXPECT_EQ(radio::FormatFrequency(469999999), "469.999.999");
    EXPECT_EQ(radio::FormatFrequency(999), "999");
    EXPECT_EQ(radio::FormatFrequency(0), "0");
    EXPECT_EQ(radio::FormatFrequency(-1500), "-1.500");
    // The most negative value has no positive counterpart: still one sign and whole groups.
    EXPECT_EQ(radio::FormatFrequency(INT64_MIN), "-9.223.372.036.854.775.808");
}

TEST(Bcd, FrequencyFieldIsPackedOnlyInsideTheLimits)
{
    EnsureApp();
    testing_support::TempDir dir("ctrl-bcd");
    CIni ini;
    CLanguage language;
    FakeView view;
    radio::CRadioController controller(view, ini, language);
    ctltest::MutableState(controller).lowerLimit = 30000;
    ctltest::MutableState(controller).upperLimit = 199999999;
    uint8_t out[5];
    EXPECT_EQ(controller.FrequencyToBcd(14250000.7, out),
              14250000);  // the field's double is truncated
    EXPECT_EQ(Bytes(out, out + 5), (Bytes{0x00, 0x00, 0x25, 0x14, 0x00}));
    EXPECT_EQ(controller.FrequencyToBcd(30000, out), 30000);
    EXPECT_EQ(controller.FrequencyToBcd(199999999, out), 199999999);
    for (double outside : {29999.0, 200000000.0, -5.0, 1e300}) {
        EXPECT_EQ(controller.FrequencyToBcd(outside, out), 0);
        EXPECT_EQ(Bytes(out, out + 5), Bytes(5, 0));
    }
}
