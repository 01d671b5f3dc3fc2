// The scan files as lines: presets written back as read, the mends of what may not be stored,
// the log line layout and its playback range, and random input into both readers.
#include <gtest/gtest.h>

#include <random>

#include "ScanFiles.h"

namespace {

TEST(ScanFiles, PresetsAndLogLines)
{
    const std::string text =
        "Forty ~ 7000000 ~ 7100000 ~ LSB ~ OFF ~ 1 KHz ~ \n"
        "  ~ 1 ~ 2 ~ FM ~ OFF ~ 5 KHz ~ \r\n"
        "Short ~ 1 ~ \n"
        "Forty|7000000|7100000\r\n \t\n";
    std::vector<std::string> unread;
    std::vector<lists::ScanPresetCells> rows = lists::ParseScanPresets(text, &unread);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(unread, std::vector<std::string>{"Forty|7000000|7100000"});
    EXPECT_EQ(rows[0][5], "1 KHz");
    EXPECT_EQ(rows[2][1], "1");
    EXPECT_EQ(rows[2][5], "");
    // A "~" typed into a cell is a blank; cells are trimmed; a row without description and the
    // lines that are no row stay.
    rows[0][0] = " Forty~m ";
    EXPECT_EQ(lists::ScanPresetsText(rows, unread),
              "Forty m ~ 7000000 ~ 7100000 ~ LSB ~ OFF ~ 1 KHz ~ \n"
              " ~ 1 ~ 2 ~ FM ~ OFF ~ 5 KHz ~ \n"
              "Short ~ 1 ~  ~  ~  ~  ~ \n"
              "Forty|7000000|7100000\n");

    const std::string line = lists::ScanLogLineText(1, 2, 2026, 3, 4, 5, 7050000, "S9+10", 44, 88);
    EXPECT_EQ(line, "01 ~ 02 ~ 2026 ~ 03:04:05 ~   7050000 ~ S9+10 ~ 44 ~ 88 ~ \n");
    const std::vector<lists::ScanLogEntry> log =
        lists::ParseScanLog(line + "\n" + "no tilde\n" + "01 ~ 02 ~ x ~ t ~ 12z ~ S ~ 1e9 ~ \n");
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].position, 7050000);
    EXPECT_EQ(log[0].audio, 44);
    EXPECT_EQ(log[0].bytes, 88);
    // Numbers that are not numbers are no recording.
    EXPECT_EQ(log[1].position, 0);
    EXPECT_EQ(log[1].audio, -1);
    EXPECT_EQ(log[1].bytes, 0);

    // Data from 44 to 1044.
    EXPECT_TRUE(lists::ScanLogAudioPlayable(44, 1000, 44, 1044));
    EXPECT_FALSE(lists::ScanLogAudioPlayable(44, 1001, 44, 1044));
    EXPECT_FALSE(lists::ScanLogAudioPlayable(1044, 1, 44, 1044));
    EXPECT_FALSE(lists::ScanLogAudioPlayable(0, 10, 44, 1044));
    EXPECT_FALSE(lists::ScanLogAudioPlayable(-1, 10, 44, 1044));
    EXPECT_FALSE(lists::ScanLogAudioPlayable(100, 0, 44, 1044));
    EXPECT_FALSE(lists::ScanLogAudioPlayable(100, INT64_MAX, 44, 1044));
}

TEST(ScanFiles, RandomInputNeitherCrashesNorHangs)
{
    std::mt19937 rng(21);
    const char alphabet[] = "~ \r\n0123456789-+.abcS\t\xff";
    for (int round = 0; round < 3000; ++round) {
        std::string text(rng() % 300, '\0');
        for (char& c : text)
            c = round % 2 == 0 ? static_cast<char>(rng()) : alphabet[rng() % (sizeof alphabet - 1)];
        std::vector<std::string> unread;
        const auto presets = lists::ParseScanPresets(text, &unread);
        // Written back, no row and no other line is lost.
        std::vector<std::string> unreadAgain;
        const std::string again = lists::ScanPresetsText(presets, unread);
        EXPECT_EQ(lists::ParseScanPresets(again, &unreadAgain).size(), presets.size());
        EXPECT_EQ(unreadAgain, unread);
        for (const lists::ScanLogEntry& e : lists::ParseScanLog(text))
            (void)lists::ScanLogAudioPlayable(e.audio, e.bytes, 44, 1044);
    }
}

}  // namespace
