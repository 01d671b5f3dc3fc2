// The .lng format: signature, entry lines, escapes, help lines. Parsing only.
#include "LanguageFile.h"

#include <gtest/gtest.h>

namespace {

using language::FileEntry;
using language::ParseEntryLine;
using language::ParseLanguageText;
using language::Unescape;

TEST(LanguageFileTest, UnescapeReplacesKnownEscapesAndDropsUnknownOnes)
{
    EXPECT_EQ(Unescape(R"(say \"hi\")"), "say \"hi\"");
    EXPECT_EQ(Unescape(R"(it\'s)"), "it's");
    EXPECT_EQ(Unescape(R"(a\\b)"), "a\\b");
    EXPECT_EQ(Unescape(R"(\a\b\f\n\r\t\v)"), "\a\b\f\n\r\t\v");
    // An unknown escape goes with its character, a trailing backslash alone.
    EXPECT_EQ(Unescape(R"(Ca\qncel)"), "Cancel");
    EXPECT_EQ(Unescape("end\\"), "end");
    // One character or less stays as it is.
    EXPECT_EQ(Unescape("\\"), "\\");
    EXPECT_EQ(Unescape(""), "");
    EXPECT_EQ(Unescape("no escapes"), "no escapes");
}

TEST(LanguageFileTest, EntryLineGivesTrimmedKeyAndUnescapedTranslation)
{
    FileEntry e;
    ASSERT_TRUE(ParseEntryLine(R"(" Cancel "="Abbrechen")", e));
    EXPECT_EQ(e.key, "Cancel");
    EXPECT_EQ(e.translation, "Abbrechen");
    ASSERT_TRUE(ParseEntryLine(R"("Line\none"="Zeile\neins")", e));
    EXPECT_EQ(e.key, "Line\none");
    EXPECT_EQ(e.translation, "Zeile\neins");
    // A quote-and-equals inside the translation belongs to it; the first one ends the key.
    ASSERT_TRUE(ParseEntryLine(R"("a"="b"="c")", e));
    EXPECT_EQ(e.key, "a");
    EXPECT_EQ(e.translation, "b\"=\"c");
}

TEST(LanguageFileTest, TranslationEqualToTheKeyOrEmptyIsStoredEmpty)
{
    FileEntry e;
    ASSERT_TRUE(ParseEntryLine(R"("Split"="Split")", e));
    EXPECT_EQ(e.translation, "");
    ASSERT_TRUE(ParseEntryLine(R"("Split"="")", e));
    EXPECT_EQ(e.key, "Split");
    EXPECT_EQ(e.translation, "");
}

TEST(LanguageFileTest, MalformedEntryLinesAreRefused)
{
    FileEntry e;
    for (const char* line :
         {"", "\"", "\"\"", "\"=\"", "\"a\"=", "\"a\"=\"", "\"a\"=x\"", "\"a\"=\"b", "a\"=\"b\"",
          "\"\"=\"b\"", "\"  \"=\"b\"", "no quotes at all", "\"a\" = \"b\""}) {
        EXPECT_FALSE(ParseEntryLine(line, e)) << line;
    }
}

TEST(LanguageFileTest, FileNeedsTheSignatureOnItsFirstLine)
{
    EXPECT_FALSE(ParseLanguageText("").signature);
    EXPECT_FALSE(ParseLanguageText("\"Ok\"=\"Si\"\nCorvane language file 1\n").signature);
    auto content = ParseLanguageText("; Corvane language file 1 (Italiano)\r\n\"Ok\"=\"Si\"\r\n");
    EXPECT_TRUE(content.signature);
    ASSERT_EQ(content.entries.size(), 1u);
    EXPECT_EQ(content.entries[0].translation, "Si");  // CR LF endings leave no CR behind
}

TEST(LanguageFileTest, LinesOtherThanEntriesAndHelpAreSkipped)
{
    auto content = ParseLanguageText(
        "Corvane language file 1\n"
        "; a comment\n"
        "\n"
        "   \"Ok\"=\"Si\"   \n"
        "\"broken\"=\n"
        "help=first.html\n"
        "HELP=\n"
        "Help= Guida.html \n"
        "\"Abort\"=\"Annulla\"");  // last line without an end
    ASSERT_EQ(content.entries.size(), 2u);
    EXPECT_EQ(content.entries[0].key, "Ok");
    EXPECT_EQ(content.entries[1].key, "Abort");
    EXPECT_EQ(content.entries[1].translation, "Annulla");
    // A later HELP= replaces an earlier one; an empty one changes nothing.
    EXPECT_EQ(content.helpFile, "Guida.html");
}

}  // namespace
