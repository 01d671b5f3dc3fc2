// The language table: loading, lookup by group, strings by id, safe formatting, dialogs, lists.
#include "Language.h"
#include "ProgramFolder.h"
#include "StringTable.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

using testing_support::PutFile;
using testing_support::TempDir;

constexpr const char* kSig = "Corvane language file 1\n";

class LanguageTableTest : public ::testing::Test {
protected:
    // Writes a language file with the signature line and `body`, and loads it.
    CLanguage::LoadResult LoadText(const std::string& body, const std::string& name = "Test.lng")
    {
        PutFile(dir / name, kSig + body);
        return language.Load(dir / name, false);
    }

    TempDir dir;
    CLanguage language;
};

TEST_F(LanguageTableTest, WithoutATableTextsComeBackUnchanged)
{
    EXPECT_FALSE(language.IsLoaded());
    EXPECT_EQ(language.Translate("  Cancel "), "  Cancel ");
    EXPECT_EQ(language.Translate(""), "");
    EXPECT_EQ(language.LoadString(strid::kRestartNeeded),
              "For enable the new configuration, the program will automatically be close, please "
              "restart.");
    EXPECT_EQ(language.LoadString(-5), "");
}

TEST_F(LanguageTableTest, LookupTrimsAndFindsKeysOfEveryGroup)
{
    ASSERT_EQ(LoadText("\"Apply\"=\"Anwenden\"\n"
                       "\"about\"=\"ueber\"\n"
                       "\"Cancel\"=\"Abbrechen\"\n"
                       "\"\xC4nderung\"=\"Change\"\n"
                       "\"Split\"=\"Split\"\n"),
              CLanguage::kLoaded);
    EXPECT_TRUE(language.IsLoaded());
    EXPECT_EQ(language.EntryCount(), 5);
    EXPECT_EQ(language.Translate(" Cancel  "), "Abbrechen");
    // Apply and about share the group of 'A'.
    EXPECT_EQ(language.Translate("Apply"), "Anwenden");
    EXPECT_EQ(language.Translate("about"), "ueber");
    // Keys are compared exactly.
    EXPECT_EQ(language.Translate("cancel"), "cancel");
    // A first byte above 127 is a group like any other.
    EXPECT_EQ(language.Translate("\xC4nderung"), "Change");
    // No translation, or one equal to the key: the English text, trimmed.
    EXPECT_EQ(language.Translate(" Split "), "Split");
    EXPECT_EQ(language.Translate(" Unknown "), "Unknown");
    EXPECT_EQ(language.GetFilePath(), dir / "Test.lng");
}

TEST_F(LanguageTableTest, RepeatedGroupDoesNotHideEarlierKeys)
{
    ASSERT_EQ(LoadText("\"Apply\"=\"Anwenden\"\n"
                       "\"Bank\"=\"Bank\"\n"
                       "\"Band\"=\"Band\"\n"
                       "\"About\"=\"Ueber\"\n"
                       "\"Cancel\"=\"Abbrechen\"\n"
                       "\"Abort\"=\"Abbruch\"\n"),
              CLanguage::kLoaded);
    EXPECT_EQ(language.Translate("Apply"), "Anwenden");
    EXPECT_EQ(language.Translate("About"), "Ueber");
    EXPECT_EQ(language.Translate("Abort"), "Abbruch");
}

TEST_F(LanguageTableTest, FirstKeyWithATranslationWins)
{
    ASSERT_EQ(LoadText("\"Ok\"=\"\"\n\"Ok\"=\"Si\"\n\"Ok\"=\"Va bene\"\n"), CLanguage::kLoaded);
    EXPECT_EQ(language.Translate("Ok"), "Si");
}

TEST_F(LanguageTableTest, SignatureOnlyLoadsButLeavesTheTableEnglish)
{
    ASSERT_EQ(LoadText(""), CLanguage::kLoaded);
    EXPECT_FALSE(language.IsLoaded());
    EXPECT_EQ(language.EntryCount(), 0);
    EXPECT_EQ(language.Translate(" Cancel "), " Cancel ");
    EXPECT_EQ(language.GetFilePath(), "");
}

TEST_F(LanguageTableTest, FailedLoadKeepsTheTableInForce)
{
    ASSERT_EQ(LoadText("\"Cancel\"=\"Abbrechen\"\n"), CLanguage::kLoaded);
    EXPECT_EQ(language.Load(dir / "Missing.lng", true), CLanguage::kOpenFailed);
    EXPECT_FALSE(language.LastError().empty());
    PutFile(dir / "Plain.lng", "\"Cancel\"=\"Annulla\"\n");
    EXPECT_EQ(language.Load(dir / "Plain.lng", true), CLanguage::kNoSignature);
    EXPECT_EQ(language.Load("", true), CLanguage::kOpenFailed);
    EXPECT_EQ(language.Load(dir.path, true), CLanguage::kReadFailed);  // a folder
    // A FIFO named in the settings is not waited on for a writer (the guard only ends a hang).
    const std::string fifo = dir / "Fifo.lng";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    auto fifoLoad = std::async(std::launch::async, [&] { return language.Load(fifo, true); });
    if (fifoLoad.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
        ADD_FAILURE() << "Load waited for a writer of the FIFO";
        const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0)
            ::close(fd);
    }
    EXPECT_EQ(fifoLoad.get(), CLanguage::kReadFailed);
    EXPECT_TRUE(language.IsLoaded());
    EXPECT_EQ(language.Translate("Cancel"), "Abbrechen");
    EXPECT_EQ(language.GetFilePath(), dir / "Test.lng");
    // A good load afterwards clears the reason.
    ASSERT_EQ(LoadText("\"Cancel\"=\"Annulla\"\n", "Other.lng"), CLanguage::kLoaded);
    EXPECT_TRUE(language.LastError().empty());
    EXPECT_EQ(language.Translate("Cancel"), "Annulla");
}

TEST_F(LanguageTableTest, OversizedFileIsRefused)
{
    std::string big(CLanguage::kMaxFileSize + 10, ' ');
    ASSERT_EQ(LoadText("\"Cancel\"=\"Abbrechen\"\n"), CLanguage::kLoaded);
    PutFile(dir / "Big.lng", kSig + big);
    EXPECT_EQ(language.Load(dir / "Big.lng", false), CLanguage::kTooLarge);
    EXPECT_EQ(language.Translate("Cancel"), "Abbrechen");
}

TEST_F(LanguageTableTest, HelpLineSetsTheHelpPathOnlyInsideTheProgramFolder)
{
    platform::SetProgramFolder(dir.path);
    ASSERT_EQ(LoadText("HELP=Guida.html\n\"Ok\"=\"Si\"\n"), CLanguage::kLoaded);
    EXPECT_EQ(language.HelpPath(), "");  // without set-help
    ASSERT_EQ(language.Load(dir / "Test.lng", true), CLanguage::kLoaded);
    EXPECT_EQ(language.HelpFile(), "Guida.html");
    EXPECT_EQ(language.HelpPath(), dir / "Guida.html");
    // An empty HELP= leaves it; a name that leaves the folder is not taken.
    ASSERT_EQ(LoadText("HELP=\n\"Ok\"=\"Si\"\n", "Empty.lng"), CLanguage::kLoaded);
    ASSERT_EQ(language.Load(dir / "Empty.lng", true), CLanguage::kLoaded);
    EXPECT_EQ(language.HelpPath(), dir / "Guida.html");
    ASSERT_EQ(LoadText("HELP=../../etc/passwd\n\"Ok\"=\"Si\"\n", "Evil.lng"), CLanguage::kLoaded);
    ASSERT_EQ(language.Load(dir / "Evil.lng", true), CLanguage::kLoaded);
    EXPECT_EQ(language.HelpPath(), dir / "Guida.html");
    platform::SetProgramFolder("");
}

TEST_F(LanguageTableTest, StringsByIdAreTranslated)
{
    ASSERT_EQ(LoadText("\"Split\"=\"Geteilt\"\n"), CLanguage::kLoaded);
    EXPECT_EQ(language.LoadString(strid::kTabTitleFirst), "Geteilt");
    EXPECT_EQ(language.GetString(strid::kTabTitleFirst), "Geteilt");
}

TEST_F(LanguageTableTest, PrintfTranslationIsUsedOnlyWithTheSameConversions)
{
    // 107: "Scan start out of limits : %dHz - %dHz"
    ASSERT_EQ(
        LoadText(
            "\"Scan start out of limits : %dHz - %dHz\"=\"Inizio fuori limiti: %d Hz - %d Hz\"\n"
            "\"Scan end out of limits : %dHz - %dHz\"=\"Fine fuori limiti: %s - %s\"\n"
            "\"Frequency of VFO-A out of limits : %dHz - %dHz\"=\"VFO-A %n %d\"\n"
            "\"Frequency of VFO-B out of limits : %dHz - %dHz\"=\"VFO-B %d\"\n"
            "\"Pause too low, minimun value is %d\"=\"Pausa minima %999999d\"\n"),
        CLanguage::kLoaded);
    EXPECT_EQ(language.Format(107, {30000, 60000000}),
              "Inizio fuori limiti: 30000 Hz - 60000000 Hz");
    // Other kinds, %n, a missing conversion, an absurd width: the English text.
    EXPECT_EQ(language.Format(108, {30000, 60000000}),
              "Scan end out of limits : 30000Hz - 60000000Hz");
    EXPECT_EQ(language.Format(116, {1, 2}), "Frequency of VFO-A out of limits : 1Hz - 2Hz");
    EXPECT_EQ(language.Format(117, {1, 2}), "Frequency of VFO-B out of limits : 1Hz - 2Hz");
    EXPECT_EQ(language.Format(129, {5}), "Pause too low, minimun value is 5");
    EXPECT_EQ(language.FormatText("Pause too low, minimun value is %d", {5}),
              "Pause too low, minimun value is 5");
    EXPECT_EQ(language.Format(-1, {5}), "");
}

TEST_F(LanguageTableTest, InsertTemplatesKeepTheirInsertsAndInsertsStayText)
{
    // 113: "Impossible to save the memories : %1"; 103: "Serial port COM:%1 not working..."
    ASSERT_EQ(LoadText("\"Impossible to save the memories : %1\"=\"Salvataggio impossibile (%1)\"\n"
                       "\"Impossible to save the split : %1\"=\"Split %2\"\n"),
              CLanguage::kLoaded);
    EXPECT_EQ(language.FormatString1(113, "%s%n disk full"),
              "Salvataggio impossibile (%s%n disk full)");
    EXPECT_EQ(language.FormatString1(109, "x"), "Impossible to save the split : x");
    EXPECT_EQ(language.FormatMessage(103, {"4"}), "Serial port COM:4 not working.\n\nSet now ?");
    EXPECT_EQ(language.FormatString2(-1, "a", "b"), "");
}

TEST_F(LanguageTableTest, MessageBoxesCarryTheTranslatedText)
{
    ASSERT_EQ(LoadText("\"Corvane - ATTENTION\"=\"Corvane - ACHTUNG\"\n\"Cancel\"=\"Abbrechen\"\n"),
              CLanguage::kLoaded);
    std::vector<MessageBoxRequest> seen;
    // Without a sink: no box, and the safe answer.
    EXPECT_EQ(language.MessageBoxText("Cancel", mb::kYesNo), mb::kIdNo);
    language.SetMessageBoxSink([&](const MessageBoxRequest& r) {
        seen.push_back(r);
        return mb::kIdYes;
    });
    EXPECT_EQ(language.MessageBoxText(" Cancel ", mb::kYesNo), mb::kIdYes);
    EXPECT_EQ(language.MessageBox(strid::kRestartNeeded, mb::kIconInformation, 149), mb::kIdYes);
    EXPECT_EQ(language.MessageBoxCaption(strid::kRestartNeeded, strid::kCaptionAttention, mb::kOk),
              mb::kIdYes);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].text, "Abbrechen");
    EXPECT_EQ(seen[1].helpId, 149);
    EXPECT_EQ(seen[1].style, mb::kIconInformation);
    EXPECT_EQ(seen[2].caption, "Corvane - ACHTUNG");
}

// A dialog's texts, as the window layer hands them over.
class FakeDialog : public IDialogTexts {
public:
    std::vector<std::string> controls;
    std::string caption;
    std::size_t ControlCount() const override { return controls.size(); }
    std::string ControlText(std::size_t i) const override { return controls[i]; }
    void SetControlText(std::size_t i, const std::string& t) override { controls[i] = t; }
    std::string Caption() const override { return caption; }
    void SetCaption(const std::string& t) override { caption = t; }
};

TEST_F(LanguageTableTest, TranslateDialogTranslatesControlsAndCaptionOnlyWhenLoaded)
{
    FakeDialog dlg;
    dlg.controls = {"Cancel", "", "14.195", " Apply"};
    dlg.caption = "Corvane - Select Language";
    language.TranslateDialog(dlg);
    EXPECT_EQ(dlg.controls[3], " Apply");  // nothing loaded: untouched
    ASSERT_EQ(LoadText("\"Cancel\"=\"Abbrechen\"\n\"Apply\"=\"Anwenden\"\n"
                       "\"Corvane - Select Language\"=\"Corvane - Sprache\"\n"),
              CLanguage::kLoaded);
    language.TranslateDialog(dlg);
    std::vector<std::string> expected = {"Abbrechen", "", "14.195", "Anwenden"};
    EXPECT_EQ(dlg.controls, expected);
    EXPECT_EQ(dlg.caption, "Corvane - Sprache");
}

TEST_F(LanguageTableTest, ListLanguagesFindsOnlyFilesWithTheSignature)
{
    PutFile(dir / "Italiano.lng", kSig);
    PutFile(dir / "deutsch.LNG", kSig);
    PutFile(dir / "Broken.lng", "nothing\n");
    PutFile(dir / "Notes.txt", kSig);
    EXPECT_TRUE(language.ListLanguages(dir.path));
    ASSERT_EQ(language.ListCount(), 2);
    std::vector<std::string> names = language.LanguageNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Italiano", "deutsch"}));
    EXPECT_EQ(language.GetListEntry(-1), "");
    EXPECT_EQ(language.GetListEntry(2), "");
    EXPECT_FALSE(language.GetListEntry(0).empty());

    TempDir empty;
    EXPECT_FALSE(language.ListLanguages(empty.path));
    EXPECT_EQ(language.ListCount(), 0);
}

}  // namespace
