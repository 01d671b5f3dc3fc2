// The split file: a failed rewrite keeps the old file, and random input never breaks the
// reader.
#include <gtest/gtest.h>

#include <random>

#include "ReadOnlyFolder.h"
#include "SplitList.h"
#include "TempDir.h"

using namespace lists;

TEST(SplitFile, AFailedRewriteKeepsTheOldFile)
{
    testing_support::TempDir folder{"corvane-splits"};
    const std::string path = folder / "Split.Dat";
    const std::string old = "Old ~ 100 ~ USB ~ OFF\n";
    testing_support::PutFile(path, old);
    SplitList list = LoadSplitFile(path);
    ASSERT_EQ(list.Insert("New ~ 200 ~ LSB ~ ON"), 0);
    testing_support::ReadOnlyFolder readOnly(folder.path);
    if (!readOnly.Ok())
        GTEST_SKIP() << "the folder cannot be made read-only here";
    std::string error;
    EXPECT_FALSE(SaveSplitFile(path, list, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(testing_support::GetFile(path), old);
}

TEST(SplitFile, RandomAndTruncatedInputNeitherCrashesNorHangs)
{
    std::mt19937 random(20);
    const std::string good = "Up ~ +5.000 ~ USB ~ OFF\nDown ~ -1.500.000 ~ LSB ~ ON ~ \r\n";
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        if (round % 2 == 0) {
            text = good.substr(0, random() % (good.size() + 1));
        } else {
            const std::size_t size = random() % 300;
            for (std::size_t i = 0; i < size; ++i)
                text += static_cast<char>(round % 4 == 1 ? random() % 256
                                                         : " ~.-+\r\n9a"[random() % 10]);
        }
        const SplitList list = SplitList::Parse(text);
        for (std::size_t i = 0; i < list.Size(); ++i) {
            ASSERT_TRUE(ParseSplitLine(list.At(i).line).has_value());
            SplitOffset(ParseSplitLine(list.At(i).line)->offset);
        }
        // Written and read again, the list is the same.
        EXPECT_EQ(SplitList::Parse(list.Text()).Text(), list.Text());
    }
}
