// The language dialog on a real window: its list, its error text, and what "Ok" stores.
#include "framework_test_app.h"

#include "CommandCodes.h"
#include "DlgLng.h"
#include "FrameworkContext.h"
#include "Ini.h"
#include "Language.h"
#include "TempDir.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>

#include <cstdio>

#include <gtest/gtest.h>

namespace {

using testing_support::PutFile;
using testing_support::TempDir;

class LanguageDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fwtest::App();
        PutFile(dir / "Italiano.lng", "Corvane language file 1\n\"Ok\"=\"Va bene\"\n");
        PutFile(dir / "deutsch.lng",
                "Corvane language file 1\n"
                "\"Abort\"=\"Abbrechen\"\n"
                "\"Corvane - Select Language\"=\"Corvane - Sprache\"\n"
                "\"Error in the language file.\\n\\nPlease try again.\"=\"Fehler in der "
                "Sprachdatei.\"\n");
        PutFile(dir / "Broken.lng", "not a language file\n\"Ok\"=\"x\"\n");
        ini.SetPath((dir / "Corvane.ini").c_str());
        framework::SetLanguage(&language);
        framework::SetIni(&ini);
    }
    void TearDown() override
    {
        framework::SetLanguage(nullptr);
        framework::SetIni(nullptr);
    }

    QComboBox* Combo(CDlgLng& dlg) { return dlg.GetDlgItemAs<QComboBox>(CDlgLng::kIdcLanguage); }
    void Select(CDlgLng& dlg, const QString& name)
    {
        Combo(dlg)->setCurrentIndex(Combo(dlg)->findText(name));
    }
    void Click(CDlgLng& dlg, int id) { dlg.GetDlgItemAs<QPushButton>(id)->click(); }

    TempDir dir;
    CLanguage language;
    CIni ini;
};

TEST_F(LanguageDialogTest, ListsTheValidFilesSortedWithTheFirstSelected)
{
    CDlgLng dlg(language, ini, dir.path);
    QStringList shown;
    fwtest::WhenModal([&] {
        for (int i = 0; i < Combo(dlg)->count(); ++i)
            shown << Combo(dlg)->itemText(i);
        EXPECT_EQ(Combo(dlg)->currentIndex(), 0);
        EXPECT_EQ(dlg.windowTitle().toStdString(), "Corvane - Select Language");
        Click(dlg, CDlgLng::kIdcAbort);
    });
    EXPECT_EQ(dlg.DoModal(), ctl::kIdCancel);
    EXPECT_EQ(shown, QStringList({"deutsch", "Italiano"}));
}

TEST_F(LanguageDialogTest, AFileThatDoesNotLoadShowsTheErrorAndKeepsTheDialogOpen)
{
    CDlgLng dlg(language, ini, dir.path);
    std::string message;
    bool openAfterError = false;
    fwtest::WhenModal([&] {
        Select(dlg, "Italiano");
        std::remove((dir / "Italiano.lng").c_str());  // gone between listing and choosing
        fwtest::WhenMessageBox([&](QMessageBox* box) {
            ASSERT_NE(box, nullptr);
            message = box->text().toStdString();
            EXPECT_EQ(box->icon(), QMessageBox::Critical);
        });
        Click(dlg, CDlgLng::kIdcOk);
        openAfterError = dlg.isVisible();
        Click(dlg, CDlgLng::kIdcAbort);
    });
    EXPECT_EQ(dlg.DoModal(), ctl::kIdCancel);
    EXPECT_EQ(message, "Error in the language file.\n\nPlease try again.");
    EXPECT_TRUE(openAfterError);
    EXPECT_EQ(ini.GetString(settings::setup::Language), "");
}

TEST_F(LanguageDialogTest, ErrorTextComesFromTheLanguageStillInForce)
{
    ASSERT_EQ(language.Load(dir / "deutsch.lng", false), CLanguage::kLoaded);
    CDlgLng dlg(language, ini, dir.path);
    std::string message;
    std::string caption;
    fwtest::WhenModal([&] {
        caption = dlg.windowTitle().toStdString();
        Select(dlg, "Italiano");
        std::remove((dir / "Italiano.lng").c_str());
        fwtest::WhenMessageBox([&](QMessageBox* box) {
            ASSERT_NE(box, nullptr);
            message = box->text().toStdString();
        });
        Click(dlg, CDlgLng::kIdcOk);
        dlg.EndDialog(ctl::kIdCancel);
    });
    dlg.DoModal();
    EXPECT_EQ(caption, "Corvane - Sprache");
    EXPECT_EQ(message, "Fehler in der Sprachdatei.");
    EXPECT_EQ(language.GetFilePath(), dir / "deutsch.lng");
}

TEST_F(LanguageDialogTest, OkLoadsAndStoresTheChosenFile)
{
    CDlgLng dlg(language, ini, dir.path);
    fwtest::WhenModal([&] {
        Select(dlg, "Italiano");
        Click(dlg, CDlgLng::kIdcOk);
    });
    EXPECT_EQ(dlg.DoModal(), ctl::kIdOk);
    EXPECT_TRUE(dlg.LanguageChanged());
    EXPECT_EQ(ini.GetString(settings::setup::Language), "Italiano.lng");
    EXPECT_EQ(language.Translate("Ok"), "Va bene");
}

TEST_F(LanguageDialogTest, ChoosingTheLanguageAlreadySetIsAChoiceNotACancel)
{
    ASSERT_TRUE(ini.WriteString(settings::setup::Language, "Italiano.lng"));
    CDlgLng dlg(language, ini, dir.path);
    fwtest::WhenModal([&] {
        Select(dlg, "Italiano");
        Click(dlg, CDlgLng::kIdcOk);
    });
    EXPECT_EQ(dlg.DoModal(), ctl::kIdOk);
    EXPECT_FALSE(dlg.LanguageChanged());
    EXPECT_TRUE(language.IsLoaded());
}

TEST_F(LanguageDialogTest, EnterAndEscLeaveItOpen)
{
    CDlgLng dlg(language, ini, dir.path);
    bool open = false;
    fwtest::WhenModal([&] {
        for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QApplication::sendEvent(Combo(dlg), &press);
        }
        dlg.close();
        open = dlg.isVisible();
        Click(dlg, CDlgLng::kIdcAbort);
    });
    EXPECT_EQ(dlg.DoModal(), ctl::kIdCancel);
    EXPECT_TRUE(open);
    EXPECT_FALSE(language.IsLoaded());
}

}  // namespace
