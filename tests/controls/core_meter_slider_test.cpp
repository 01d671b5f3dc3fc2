// Peak-meter segments and skinned-slider geometry.
#include "MeterSegments.h"
#include "SliderGeometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

MeterConfig MainWindowMeter()
{
    MeterConfig c;
    c.numBands = 1;
    c.numLeds = 18;
    c.mediumThreshold = 9;
    c.highThreshold = 13;
    c.maxValue = 18;
    c.showGrid = true;
    return c;
}

TEST(MeterSegments, MainWindowScaleLightsOneSegmentPerUnit)
{
    const MeterConfig c = MainWindowMeter();
    EXPECT_EQ(meter::SegmentCount(c), 18);
    EXPECT_EQ(meter::MediumSegment(c), 9);
    EXPECT_EQ(meter::HighSegment(c), 13);
    EXPECT_EQ(meter::LitCount(c, 0), 0);
    EXPECT_EQ(meter::LitCount(c, 5), 5);
    EXPECT_EQ(meter::LitCount(c, 18), 18);
    EXPECT_EQ(meter::LitCount(c, 250), 18);
    EXPECT_EQ(meter::LitCount(c, -3), 0);
    EXPECT_EQ(meter::LitCount(c, 2147483647), 18);
}

TEST(MeterSegments, ColoursByZone)
{
    const MeterConfig c = MainWindowMeter();
    const auto segs = meter::LayoutBand(c, 0, 18, 180, 12);
    ASSERT_EQ(segs.size(), 18u);
    for (int j = 0; j < 18; ++j) {
        const COLORREF want = j < 9 ? c.lowColor : j < 13 ? c.mediumColor : c.highColor;
        EXPECT_EQ(segs[static_cast<std::size_t>(j)].color, want) << j;
        EXPECT_TRUE(segs[static_cast<std::size_t>(j)].lit);
    }
    const auto dark = meter::LayoutBand(c, 0, 0, 180, 12);
    for (const auto& s : dark) {
        EXPECT_FALSE(s.lit);
        EXPECT_EQ(s.color, DarkenColor(c.bkColor, 15));
    }
    EXPECT_TRUE(dark[9].gridLine);
    EXPECT_TRUE(dark[17].gridLine);
    EXPECT_FALSE(dark[3].gridLine);
}

TEST(MeterSegments, GeometryLeavesGapsAndBottomAlignsBars)
{
    MeterConfig c = MainWindowMeter();
    const auto one = meter::LayoutBand(c, 0, 18, 185, 12);
    EXPECT_EQ(one[0].rect, (MeterRect{1, 0, 10, 12}));
    EXPECT_EQ(one[17].rect, (MeterRect{171, 0, 180, 12}));
    c.numBands = 3;
    const auto second = meter::LayoutBand(c, 1, 0, 180, 20);  // bars of 6, shifted down by 2
    EXPECT_EQ(second[0].rect, (MeterRect{1, 9, 10, 13}));
}

TEST(MeterSegments, FewLedsFallBackToTheScale)
{
    MeterConfig c;
    c.numLeds = 1;
    c.maxValue = 100;
    EXPECT_EQ(meter::SegmentCount(c), 10);
    c.maxValue = 0;
    EXPECT_EQ(meter::SegmentCount(c), 1);
    EXPECT_EQ(meter::LitCount(c, 50), 0);
}

TEST(SliderGeometry, ThumbFollowsThePosition)
{
    const SliderRect ch{0, 0, 227, 40};
    EXPECT_EQ(slider::ThumbRect(ch, 13, 22, 0, 0, 100, false), (SliderRect{7, 0, 20, 22}));
    EXPECT_EQ(slider::ThumbRect(ch, 13, 22, 100, 0, 100, false), (SliderRect{207, 0, 220, 22}));
    EXPECT_EQ(slider::ThumbRect(ch, 13, 22, 50, 0, 100, false).left, 107);
    const auto v = slider::ThumbRect(ch, 22, 13, 100, 0, 100, true);
    EXPECT_EQ(v.left, 0);
    EXPECT_EQ(v.top, 40 - 27 - 6 + 13);
    // An empty or reversed range never divides by zero.
    EXPECT_EQ(slider::ThumbRect(ch, 13, 22, 5, 5, 5, false).left, 7);
    EXPECT_EQ(slider::ThumbRect(ch, 13, 22, 500, 0, 100, false).left, 207);
}

TEST(SliderGeometry, PositionAtInvertsTheThumbCentre)
{
    const SliderRect ch{0, 0, 227, 40};
    for (int pos : {0, 17, 50, 99, 100}) {
        const auto t = slider::ThumbRect(ch, 13, 22, pos, 0, 100, false);
        EXPECT_EQ(slider::PositionAt(ch, t.left + 6, 5, 0, 100, false), pos) << pos;
    }
    EXPECT_EQ(slider::PositionAt(ch, -50, 5, 0, 100, false), 0);
    EXPECT_EQ(slider::PositionAt(ch, 999, 5, 0, 100, false), 100);
    EXPECT_EQ(slider::PositionAt(ch, 50, 5, 3, 3, false), 3);
    // A range wider than int (the sum overflowed int).
    const int lo = -2'000'000'000, hi = 2'000'000'000;
    EXPECT_EQ(slider::PositionAt(ch, 999, 5, lo, hi, false), hi);
    EXPECT_EQ(slider::PositionAt(ch, 13 + 100, 5, lo, hi, false), 0);
    EXPECT_EQ(slider::PositionAt(ch, 0, 5, INT_MIN, INT_MAX, false), INT_MIN);
    EXPECT_EQ(slider::PositionAt(ch, 999, 5, INT_MIN, INT_MAX, false), INT_MAX);
}

TEST(SliderGeometry, BackgroundStretchAndLabels)
{
    EXPECT_EQ(slider::BackgroundStretch(200, 13, 24), (SliderRect{7, 0, 7 + 200 + 12 - 26, 24}));
    EXPECT_EQ(slider::GroupedNumber(0), "0");
    EXPECT_EQ(slider::GroupedNumber(999), "999");
    EXPECT_EQ(slider::GroupedNumber(1000000), "1.000.000");
    EXPECT_EQ(slider::GroupedNumber(-1500), "-1.500");
    EXPECT_EQ(slider::GroupedNumber(-2147483647 - 1), "-2.147.483.648");
}

}  // namespace
