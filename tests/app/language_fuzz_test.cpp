// Random and truncated language files: the loader neither crashes nor hangs, and what it keeps
// is well-formed.
#include "Language.h"
#include "LanguageFile.h"
#include "TempDir.h"

#include <random>

#include <gtest/gtest.h>

namespace {

using testing_support::PutFile;
using testing_support::TempDir;

// Bytes that matter to the parser, so random input often reaches deep into it.
std::string RandomText(std::mt19937& rng, std::size_t length)
{
    static const char alphabet[] = "\"=\\\r\n \tHELPhelp%dsn1Ab\x80\xFF";
    std::uniform_int_distribution<int> pick(0, 3);
    std::uniform_int_distribution<int> special(0, sizeof alphabet - 2);
    std::uniform_int_distribution<int> any(0, 255);
    std::string text;
    for (std::size_t i = 0; i < length; ++i)
        text += pick(rng) == 0 ? static_cast<char>(any(rng)) : alphabet[special(rng)];
    return text;
}

void ExpectWellFormed(const language::FileContent& content)
{
    for (const auto& e : content.entries) {
        EXPECT_FALSE(e.key.empty());
        EXPECT_EQ(language::Trim(e.key), e.key);
        EXPECT_NE(e.translation, e.key);
    }
}

TEST(LanguageFuzzTest, RandomBytesAfterTheSignature)
{
    std::mt19937 rng(20261209);
    std::uniform_int_distribution<std::size_t> length(0, 2000);
    for (int round = 0; round < 3000; ++round) {
        std::string text = "Corvane language file 1\n" + RandomText(rng, length(rng));
        language::FileContent content = language::ParseLanguageText(text);
        ASSERT_TRUE(content.signature);
        ExpectWellFormed(content);
    }
}

TEST(LanguageFuzzTest, TruncatedFilesLoadAndTranslate)
{
    const std::string full =
        "Corvane language file 1\r\n"
        "HELP=Guida.html\r\n"
        "\"Scan start out of limits : %dHz - %dHz\"=\"Inizio %d - %d\"\r\n"
        "\"Line\\none\"=\"Riga\\nuno\"\r\n"
        "\"Cancel\"=\"Annulla\"\r\n"
        "\"\\\"quoted\\\"\"=\"\\\"citato\\\"\"\r\n";
    TempDir dir;
    CLanguage language;
    for (std::size_t cut = 0; cut <= full.size(); ++cut) {
        PutFile(dir / "Cut.lng", full.substr(0, cut));
        CLanguage::LoadResult r = language.Load(dir / "Cut.lng", true);
        EXPECT_TRUE(r == CLanguage::kLoaded || r == CLanguage::kNoSignature) << cut;
        // Whatever was kept formats safely.
        EXPECT_FALSE(language.Format(107, {1, 2}).empty());
        language.Translate("Cancel");
    }
    EXPECT_EQ(language.Translate("Cancel"), "Annulla");
    EXPECT_EQ(language.Translate("\"quoted\""), "\"citato\"");
}

TEST(LanguageFuzzTest, RandomFilesThroughTheTable)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<std::size_t> length(0, 4000);
    TempDir dir;
    CLanguage language;
    for (int round = 0; round < 300; ++round) {
        std::string text =
            (round % 3 ? "Corvane language file 1\n" : "") + RandomText(rng, length(rng));
        PutFile(dir / "Random.lng", text);
        language.Load(dir / "Random.lng", true);
        // Lookups and formats over whatever loaded: English conversions always get their arguments.
        language.Translate(RandomText(rng, 20));
        std::string out = language.FormatText("%d %s %5.2f", {1, "x", 2.5});
        EXPECT_FALSE(out.empty());
        language.FormatString2(113, RandomText(rng, 10), "%n%s");
    }
}

}  // namespace
