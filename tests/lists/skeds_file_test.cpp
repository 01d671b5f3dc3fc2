// The sked file: what a line holds, which lines are kept, how the list is ordered and written
// back, and that a failed rewrite keeps the old file. Random input never breaks the reader.
#include <gtest/gtest.h>

#include <random>

#include "ReadOnlyFolder.h"
#include "SkedLine.h"
#include "SkedList.h"
#include "TempDir.h"

using namespace lists;

namespace {

std::string Line(const std::string& key, const std::string& description)
{
    SkedLine s;
    s.key = key;
    s.description = description;
    s.frequencyA = "14.074.000";
    s.modeA = "USB";
    s.frequencyB = "7.074.000";
    s.modeB = "LSB";
    s.narrowB = true;
    s.split = true;
    s.activeB = true;
    return JoinSkedLine(s);
}

}  // namespace

TEST(SkedFile, LinesRoundTripSortedWithBadKeysKeptAndRepeatedKeysInFileOrder)
{
    const std::string net = Line("203001011200", "Net");
    EXPECT_EQ(net,
              "203001011200 ~ Net ~ 14.074.000 ~ USB ~ OFF ~ 7.074.000 ~ LSB ~ ON ~ SPLIT ~ "
              "VFO B ~ ");
    const std::optional<SkedLine> read = ParseSkedLine(net);
    ASSERT_TRUE(read);
    EXPECT_EQ(JoinSkedLine(*read), net);
    const ChannelTuning tuning = SkedTuning(*read);
    EXPECT_EQ(tuning.a.hz, 14074000);
    EXPECT_EQ(tuning.b.hz, 7074000);
    EXPECT_TRUE(tuning.b.narrow && tuning.split && tuning.activeB && !tuning.a.narrow);

    // A "~" in the description is written as a blank; an empty description stays empty.
    const std::string tilde = Line("203001011300", "DX~pedition");
    EXPECT_EQ(ParseSkedLine(tilde)->description, "DX pedition");
    const std::string empty = Line("203001011100", "");
    EXPECT_EQ(ParseSkedLine(empty)->description, "");

    const std::string first = Line("203001011200", "First");
    const std::string second = Line("203001011200", "Second");
    const std::string badKey = Line("2030-01-01", "Not a minute");
    const std::string text = tilde + "\r\n" + first + "\r\n" + "no separators here\n"
                             + "only ~ one\n" + badKey + "\n" + empty + "\r\n\n" + second + "\n";
    const SkedList list = SkedList::Parse(text);
    ASSERT_EQ(list.Size(), 5u);
    // Lines that are no sked are kept as they were, after the skeds.
    const std::string unread = "no separators here\nonly ~ one\n";
    EXPECT_EQ(list.Text(),
              badKey + "\n" + empty + "\n" + first + "\n" + second + "\n" + tilde + "\n" + unread);
    EXPECT_EQ(list.ShownText(2), "203001011200 ~ First");
    // Of a repeated key the first is the one found.
    EXPECT_EQ(list.FindKey("203001011200"), 2);
    EXPECT_EQ(list.FindKey("2030010112"), -1);
    EXPECT_EQ(list.FindKey(""), -1);
    // The drop-down's search: a text finds the entry whose shown text it begins (ignoring case),
    // passing over the key asked about; a description alone finds none, as keys come first.
    EXPECT_EQ(list.FindShownPrefix("second", ""), -1);
    EXPECT_EQ(list.FindShownPrefix("2030", "2030-01-01"), 1);
    EXPECT_EQ(list.FindShownPrefix("203001011200 ~ SEC", ""), 3);
    EXPECT_EQ(SkedList::Parse(list.Text()).Text(), list.Text());

    // Old skeds go only when asked: the current minute stays, and so does a key that names no
    // minute (it is not known to be old).
    const SkedList kept = SkedList::Parse(text, std::string("203001011200"));
    EXPECT_EQ(kept.Text(), badKey + "\n" + first + "\n" + second + "\n" + tilde + "\n" + unread);
    EXPECT_EQ(kept.Dropped(), 1u);
    EXPECT_EQ(list.Dropped(), 0u);

    // An added sked goes after those of its key.
    SkedList edited = list;
    EXPECT_EQ(edited.Insert(Line("203001011200", "Third")), 4);
    EXPECT_EQ(edited.Insert("no separators"), -1);
    edited.Erase(0);
    edited.Erase(99);
    EXPECT_EQ(edited.Size(), 5u);
    EXPECT_EQ(edited.At(0).description, "");
}

TEST(SkedFile, KeysAndFrequenciesRefuseWhatNamesNoMinuteOrNumber)
{
    EXPECT_TRUE(ParseSkedKey("190001010000"));
    EXPECT_TRUE(ParseSkedKey("209912312359"));
    for (const char* bad :
         {"189912312359", "203013011200", "203000011200", "203001321200", "203001012400",
          "203001011260", "20300101120", "2030010112000", "20300101 200", "-03001011200", ""})
        EXPECT_FALSE(ParseSkedKey(bad)) << bad;
    const std::optional<std::tm> t = ParseSkedKey("203002281745");
    ASSERT_TRUE(t);
    EXPECT_EQ(SkedKeyOf(*t), "203002281745");
    EXPECT_EQ(t->tm_sec, 0);

    EXPECT_EQ(SkedFrequency("14.074.000"), 14074000);
    EXPECT_EQ(SkedFrequency(" 7074000 "), 7074000);
    for (const char* bad : {"", ".", "-5", "+5", "14,074", "1e9", "9999999999999999"})
        EXPECT_EQ(SkedFrequency(bad), 0) << bad;
}

TEST(SkedFile, AFailedRewriteKeepsTheOldFile)
{
    testing_support::TempDir dir("corvane-skeds");
    const std::string path = dir / "Skeds.Dat";
    const std::string old = Line("203001011200", "Net") + "\n";
    testing_support::PutFile(path, old);
    SkedList list = LoadSkedFile(path);
    ASSERT_EQ(list.Size(), 1u);
    list.Insert(Line("203001011300", "Later"));
    {
        testing_support::ReadOnlyFolder readOnly(dir.path);
        if (!readOnly.Ok())
            GTEST_SKIP() << "no folder can be made read-only here";
        std::string error;
        EXPECT_FALSE(SaveSkedFile(path, list, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(testing_support::GetFile(path), old);
    }
    std::string error;
    ASSERT_TRUE(SaveSkedFile(path, list, &error)) << error;
    EXPECT_EQ(LoadSkedFile(path).Text(), list.Text());

    ListFileResult read;
    EXPECT_TRUE(LoadSkedFile(dir / "missing.dat", {}, &read).Empty());
    EXPECT_EQ(read.status, ListFileResult::Missing);
}

TEST(SkedFile, RandomAndTruncatedInputNeverBreaksTheReader)
{
    std::mt19937 random(1234);
    const std::string good = Line("203001011200", "Net") + "\n" + Line("203001011300", "") + "\n";
    const std::string alphabet = "0123456789~ \r\n.AB";
    for (int round = 0; round < 3000; ++round) {
        std::string text = good.substr(0, random() % (good.size() + 1));
        const int extra = static_cast<int>(random() % 80);
        for (int i = 0; i < extra; ++i)
            text += random() % 3 == 0 ? static_cast<char>(random() % 256)
                                      : alphabet[random() % alphabet.size()];
        const SkedList list = SkedList::Parse(
            text, round % 2 ? std::optional<std::string>("203001011230") : std::nullopt);
        for (std::size_t i = 1; i < list.Size(); ++i)
            ASSERT_LE(list.At(i - 1).key, list.At(i).key);
        // What was kept reads back the same.
        ASSERT_EQ(SkedList::Parse(list.Text()).Text(), list.Text());
        for (std::size_t i = 0; i < list.Size(); ++i)
            SkedTuning(*ParseSkedLine(list.At(i).line));
    }
}
