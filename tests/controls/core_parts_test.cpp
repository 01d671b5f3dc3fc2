// Button colours and image layout, the progress text, folder checks and link error texts.
#include "ButtonLook.h"
#include "FolderPath.h"
#include "LinkErrors.h"
#include "ProgressText.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(ButtonLook, LightenRaisesEveryChannelByTheSmallestRoom)
{
    EXPECT_EQ(buttonlook::LightenColor(RgbColor(240, 100, 100)), RgbColor(255, 115, 115));
    EXPECT_EQ(buttonlook::LightenColor(RgbColor(10, 20, 30)), RgbColor(40, 50, 60));
    EXPECT_EQ(buttonlook::LightenColor(RgbColor(255, 255, 255)), RgbColor(255, 255, 255));
}

TEST(ButtonLook, DarkerAndGreyPixels)
{
    EXPECT_EQ(buttonlook::DarkerPixel(RgbColor(200, 101, 0)), RgbColor(150, 75, 0));
    EXPECT_EQ(buttonlook::GreyPixel(RgbColor(255, 0, 0)), RgbColor(76, 76, 76));
    EXPECT_EQ(buttonlook::GreyPixel(RgbColor(255, 255, 255)), RgbColor(255, 255, 255));
}

TEST(ButtonLook, ImagePlacementByAlignment)
{
    const buttonlook::Rect item{0, 0, 100, 40};
    auto left = buttonlook::LayoutImage(item, 16, 16, 3, 3, buttonlook::kImageLeft, true);
    EXPECT_EQ(left.image, (buttonlook::Rect{3, 12, 19, 28}));
    EXPECT_EQ(left.caption.left, 22);
    auto top = buttonlook::LayoutImage(item, 16, 16, 3, 3, buttonlook::kImageTop, true);
    EXPECT_EQ(top.image, (buttonlook::Rect{42, 3, 58, 19}));
    EXPECT_EQ(top.caption.top, 19);
    auto right = buttonlook::LayoutImage(item, 16, 16, 3, 3, buttonlook::kImageRight, true);
    EXPECT_EQ(right.image.left, 81);
    EXPECT_EQ(right.caption.right, 81);
    auto alone = buttonlook::LayoutImage(item, 16, 16, 3, 3, buttonlook::kImageLeft, false);
    EXPECT_EQ(alone.image, (buttonlook::Rect{42, 12, 58, 28}));
    auto rightAlone = buttonlook::LayoutImage(item, 16, 16, 3, 3, buttonlook::kImageRight, false);
    EXPECT_EQ(rightAlone.image.top, 0);
    auto corner = buttonlook::LayoutImage(item, 16, 16, 3, 3, buttonlook::kImageTopLeft, true);
    EXPECT_EQ(corner.image, (buttonlook::Rect{0, 0, 16, 16}));
    EXPECT_EQ(corner.caption, item);
}

TEST(ProgressTextTest, AllFourForms)
{
    EXPECT_EQ(ProgressText("Reading", 7, true), "Reading : 7");
    EXPECT_EQ(ProgressText("Reading", 7, false), "Reading");
    EXPECT_EQ(ProgressText("", 7, true), "7");
    EXPECT_EQ(ProgressText("", 7, false), "");
}

TEST(FolderPathTest, ValidationRefusesOnlyWhatLinuxRefuses)
{
    for (const char* good :
         {"/", "/home/op/Audio Files", "/home/op/Audio/", "/home/op/.local/share", "/home/ lead",
          "/home/trail ", "/home/op/name.", "/a/wh?t", "/a//b", "/a/b\\c", "/a/c:d",
          "/a/x|y<z>*\"q\""})
        EXPECT_TRUE(folderpath::IsValid(good)) << good;
    for (const std::string& bad :
         {std::string(), std::string("relative/path"), std::string("~/.local"),
          std::string("/a\0b", 4), "/" + std::string(folderpath::kMaxName + 1, 'a'),
          "/" + std::string(folderpath::kMaxPath, 'a')})
        EXPECT_FALSE(folderpath::IsValid(bad)) << bad;
    const std::string home = folderpath::Expand("~");
    EXPECT_EQ(folderpath::Expand("~/.local/share"), home + "/.local/share");
    EXPECT_EQ(folderpath::Expand("~op/x"), "~op/x");
}

TEST(FolderPathTest, CreatesEachMissingLevel)
{
    testing_support::TempDir dir;
    const std::string deep = dir / "a/b/c";
    EXPECT_FALSE(folderpath::Exists(deep));
    EXPECT_EQ(folderpath::Create(deep), folderpath::kOk);
    EXPECT_TRUE(folderpath::Exists(deep));
    EXPECT_EQ(folderpath::Create(deep), folderpath::kOk);  // already there
    EXPECT_EQ(folderpath::Create("relative"), folderpath::kInvalid);
    testing_support::PutFile(dir / "file", "x");
    EXPECT_EQ(folderpath::Create(dir / "file/sub"), folderpath::kCannotCreate);
}

TEST(FolderPathTest, ReadOnlyParentCannotBeCreatedIn)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes everywhere";
    testing_support::TempDir dir;
    ::chmod(dir.path.c_str(), 0500);
    EXPECT_EQ(folderpath::Create(dir / "new"), folderpath::kCannotCreate);
}

TEST(LinkErrorsTest, HeadingAndCodeTexts)
{
    EXPECT_EQ(linkerror::Message(26),
              "Unable to open hyperlink:\n\nA sharing violation occurred. ");
    EXPECT_EQ(linkerror::CodeText(2), "The specified file was not found.");
    EXPECT_EQ(linkerror::CodeText(99), "Unknown Error (99) occurred.");
    EXPECT_EQ(linkerror::CodeText(-5), "Unknown Error (-5) occurred.");
}

}  // namespace
