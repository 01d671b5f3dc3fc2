// What the language dialog decides and the start-up load of the configured language.
#include "Ini.h"
#include "LanguageChooser.h"
#include "TempDir.h"

#include <cstdio>

#include <gtest/gtest.h>

namespace {

using testing_support::GetFile;
using testing_support::PutFile;
using testing_support::TempDir;

class LanguageChooserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PutFile(dir / "Italiano.lng", "Corvane language file 1\n\"Ok\"=\"Si\"\n");
        PutFile(dir / "deutsch.lng", "Corvane language file 1\n\"Ok\"=\"Gut\"\n");
        PutFile(dir / "Broken.lng", "no signature\n");
        ini.SetPath((dir / "Corvane.ini").c_str());
    }

    int IndexOf(const std::string& name)
    {
        const auto& names = chooser.Names();
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] == name)
                return static_cast<int>(i);
        return -1;
    }

    TempDir dir;
    CLanguage language;
    CIni ini;
    LanguageChooser chooser{language, ini, dir.path};
};

TEST_F(LanguageChooserTest, ListsValidFilesSortedIgnoringCase)
{
    EXPECT_EQ(chooser.Refresh(), (std::vector<std::string>{"deutsch", "Italiano"}));
}

TEST_F(LanguageChooserTest, ChoosingLoadsAndStoresTheFileName)
{
    chooser.Refresh();
    auto d = chooser.Choose(IndexOf("Italiano"));
    EXPECT_EQ(d.outcome, LanguageChooser::Outcome::Chosen);
    EXPECT_TRUE(d.changed);
    EXPECT_TRUE(d.settingSaved);
    EXPECT_EQ(ini.GetString(settings::setup::Language), "Italiano.lng");
    EXPECT_EQ(language.Translate("Ok"), "Si");
}

TEST_F(LanguageChooserTest, ChoosingTheLanguageAlreadySetIsStillAChoice)
{
    ASSERT_TRUE(ini.WriteString(settings::setup::Language, "ITALIANO.LNG"));
    std::string before = GetFile(dir / "Corvane.ini");
    chooser.Refresh();
    auto d = chooser.Choose(IndexOf("Italiano"));
    EXPECT_EQ(d.outcome, LanguageChooser::Outcome::Chosen);
    EXPECT_FALSE(d.changed);
    EXPECT_EQ(GetFile(dir / "Corvane.ini"), before);
    EXPECT_TRUE(language.IsLoaded());
}

TEST_F(LanguageChooserTest, NoSelectionOrAFileThatWillNotLoadKeepsTheDialogOpen)
{
    chooser.Refresh();
    auto none = chooser.Choose(-1);
    EXPECT_EQ(none.outcome, LanguageChooser::Outcome::StayOpen);
    EXPECT_EQ(none.message, "Error in the language file.\n\nPlease try again.");
    EXPECT_EQ(chooser.Choose(99).outcome, LanguageChooser::Outcome::StayOpen);

    ASSERT_EQ(chooser.Choose(IndexOf("deutsch")).outcome, LanguageChooser::Outcome::Chosen);
    PutFile(dir / "Italiano.lng", "signature gone\n");
    auto bad = chooser.Choose(IndexOf("Italiano"));
    EXPECT_EQ(bad.outcome, LanguageChooser::Outcome::StayOpen);
    // The language chosen before stays in force and in the settings.
    EXPECT_EQ(language.Translate("Ok"), "Gut");
    EXPECT_EQ(ini.GetString(settings::setup::Language), "deutsch.lng");
}

TEST_F(LanguageChooserTest, FailedSettingWriteIsReported)
{
    ini.SetPath((dir / "missing-folder/Corvane.ini").c_str());
    chooser.Refresh();
    auto d = chooser.Choose(IndexOf("Italiano"));
    EXPECT_EQ(d.outcome, LanguageChooser::Outcome::Chosen);
    EXPECT_FALSE(d.settingSaved);
    EXPECT_FALSE(d.message.empty());
}

TEST_F(LanguageChooserTest, StartUpLoadsOnlyAPlainNameThatLoads)
{
    EXPECT_FALSE(LanguageChooser::LoadConfigured(language, ini, dir.path));  // nothing set
    ASSERT_TRUE(ini.WriteString(settings::setup::Language, "../Italiano.lng"));
    EXPECT_FALSE(LanguageChooser::LoadConfigured(language, ini, dir.path));
    ASSERT_TRUE(ini.WriteString(settings::setup::Language, "Broken.lng"));
    EXPECT_FALSE(LanguageChooser::LoadConfigured(language, ini, dir.path));
    ASSERT_TRUE(ini.WriteString(settings::setup::Language, "Missing.lng"));
    EXPECT_FALSE(LanguageChooser::LoadConfigured(language, ini, dir.path));
    ASSERT_TRUE(ini.WriteString(settings::setup::Language, "italiano.LNG"));
    EXPECT_TRUE(LanguageChooser::LoadConfigured(language, ini, dir.path));
    EXPECT_EQ(language.Translate("Ok"), "Si");
}

}  // namespace
