#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "Bcd.h"
#include "CivFrame.h"

using namespace cat;

TEST(CivFrame, RecognisesPreambleAndEndOnly)
{
    const uint8_t read[] = {0xFE, 0xFE, 0x58, 0xE0, 0x03, 0xFD};
    EXPECT_TRUE(IsCivFrame(read, sizeof read));
    EXPECT_FALSE(IsCivFrame(read, sizeof read - 1));
    const uint8_t shortest[] = {0xFE, 0xFE, 0xFD};
    EXPECT_TRUE(IsCivFrame(shortest, 3));
    EXPECT_FALSE(IsCivFrame(shortest, 2));
    EXPECT_FALSE(IsCivFrame(shortest, 0));
    EXPECT_FALSE(IsCivFrame(nullptr, 6));
    const uint8_t onePreamble[] = {0x00, 0xFE, 0x58, 0xE0, 0x03, 0xFD};
    EXPECT_FALSE(IsCivFrame(onePreamble, sizeof onePreamble));

    const uint8_t freq[] = {0x00, 0x00, 0x25, 0x14, 0x00};
    CivFrame frame = CivFrame::Build(0x58, kControllerAddress, 0x05, freq, sizeof freq);
    const std::vector<uint8_t> expected = {0xFE, 0xFE, 0x58, 0xE0, 0x05, 0x00,
                                           0x00, 0x25, 0x14, 0x00, 0xFD};
    ASSERT_EQ(frame.size(), expected.size());
    EXPECT_EQ(std::vector<uint8_t>(frame.data(), frame.data() + frame.size()), expected);
    EXPECT_TRUE(frame.IsFrame());

    std::vector<uint8_t> body(250, 0x01);
    EXPECT_EQ(CivFrame::Build(0x58, 0xE0, 0x1A, body.data(), body.size()).length, 256);
    EXPECT_EQ(CivFrame::Build(0x58, 0xE0, 0x1A, body.data(), 251).length, 0);
    std::vector<uint8_t> raw(257, 0);
    EXPECT_FALSE(frame.Assign(raw.data(), raw.size()));
    EXPECT_EQ(frame.length, 0);
}

TEST(Bcd, ReadsRepliesLeastSignificantPairFirst)
{
    const uint8_t reply[] = {0xFE, 0xFE, 0xE0, 0x58, 0x03, 0x00, 0x00, 0x25, 0x14, 0x00, 0xFD};
    EXPECT_EQ(BcdToNumber(reply, sizeof reply), 14250000);
    const uint8_t offset[] = {0xFE, 0xFE, 0xE0, 0x58, 0x0C, 0x00, 0x60, 0x00, 0xFD};
    EXPECT_EQ(BcdToNumber(offset, sizeof offset), 6000);  // 600 kHz in 100-Hz units

    // No frequency (FF), a non-decimal nibble, a reply too short to carry data.
    const uint8_t empty[] = {0xFE, 0xFE, 0xE0, 0x58, 0x03, 0xFF, 0xFD};
    EXPECT_EQ(BcdToNumber(empty, sizeof empty), 0);
    const uint8_t bad[] = {0xFE, 0xFE, 0xE0, 0x58, 0x03, 0x00, 0x0A, 0x25, 0xFD};
    EXPECT_EQ(BcdToNumber(bad, sizeof bad), 250);  // stops at the A
    EXPECT_EQ(BcdToNumber(reply, 6), 0);
    EXPECT_EQ(BcdToNumber(nullptr, 11), 0);

    // A long run of digits saturates instead of overflowing.
    std::vector<uint8_t> longFrame(256, 0x99);
    longFrame[255] = 0xFD;
    EXPECT_EQ(BcdToNumber(longFrame.data(), longFrame.size()), INT64_MAX);
}

TEST(Bcd, WritesNumbersAndChecksLimits)
{
    uint8_t out[5];
    ASSERT_TRUE(NumberToBcd(14250000, out, 5));
    const uint8_t expected[] = {0x00, 0x00, 0x25, 0x14, 0x00};
    EXPECT_EQ(std::vector<uint8_t>(out, out + 5), std::vector<uint8_t>(expected, expected + 5));
    EXPECT_TRUE(NumberToBcd(9999999999LL, out, 5));
    EXPECT_EQ(out[4], 0x99);
    EXPECT_FALSE(NumberToBcd(10000000000LL, out, 5));
    EXPECT_EQ(out[0] | out[1] | out[2] | out[3] | out[4], 0);
    EXPECT_FALSE(NumberToBcd(-1, out, 5));

    uint8_t channel = 0;
    ASSERT_TRUE(NumberToBcd(47, &channel, 1));
    EXPECT_EQ(channel, 0x47);
    EXPECT_FALSE(NumberToBcd(100, &channel, 1));

    // Round trip through a reply frame.
    for (int64_t f : {30000LL, 1830000LL, 145500000LL, 469999999LL}) {
        uint8_t body[5];
        ASSERT_TRUE(NumberToBcd(f, body, 5));
        CivFrame frame = CivFrame::Build(0xE0, 0x58, 0x03, body, 5);
        EXPECT_EQ(BcdToNumber(frame.data(), frame.size()), f);
    }

    EXPECT_EQ(FrequencyToBcd(14250000, 30000, 469999999, out), 14250000);
    EXPECT_EQ(out[3], 0x14);
    EXPECT_EQ(FrequencyToBcd(29999, 30000, 469999999, out), 0);
    EXPECT_EQ(out[0] | out[1] | out[2] | out[3] | out[4], 0);
    EXPECT_EQ(FrequencyToBcd(470000000, 30000, 469999999, out), 0);
}
