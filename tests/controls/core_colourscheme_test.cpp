// The derived shades of the main window's colours, and stored channels outside 0..255.
#include <gtest/gtest.h>

#include "ColourScheme.h"

TEST(ColourScheme, ShadesSaturateAtTheChannelEnds)
{
    const ColourScheme defaults =
        DeriveColourScheme(RgbColor(0, 0, 0), RgbColor(90, 230, 90), RgbColor(255, 0, 0));
    EXPECT_EQ(defaults.textLight, RgbColor(130, 255, 130));
    EXPECT_EQ(defaults.textDark, RgbColor(50, 190, 50));
    EXPECT_EQ(defaults.bkgLight, RgbColor(80, 80, 80));
    EXPECT_EQ(defaults.checkOn, RgbColor(255, 0, 0));

    const ColourScheme s =
        DeriveColourScheme(RgbColor(200, 0, 100), RgbColor(250, 10, 215), RgbColor(1, 2, 3));
    EXPECT_EQ(s.textLight, RgbColor(255, 50, 255));
    EXPECT_EQ(s.textDark, RgbColor(210, 0, 175));
    EXPECT_EQ(s.bkgLight, RgbColor(255, 80, 180));
    EXPECT_EQ(DeriveColourScheme(RgbColor(176, 175, 0), 0, 0).bkgLight, RgbColor(255, 255, 80));
    EXPECT_EQ(DeriveColourScheme(0, RgbColor(216, 215, 40), 0).textLight, RgbColor(255, 255, 80));
    EXPECT_EQ(DeriveColourScheme(0, RgbColor(40, 41, 0), 0).textDark, RgbColor(0, 1, 0));
}

TEST(ColourScheme, StoredChannelsAreClampedNotWrapped)
{
    EXPECT_EQ(ColourFromChannels(256, -1, 1000), RgbColor(255, 0, 255));
    EXPECT_EQ(ColourFromChannels(-2147483647 - 1, 2147483647, 128), RgbColor(0, 255, 128));
    EXPECT_EQ(ColourFromChannels(90, 230, 90), RgbColor(90, 230, 90));
}
