// The dialog base class on real dialogs: keys, buttons, commands, the control factory, timers,
// translation from a language file, help and message boxes.
#include "framework_test_app.h"

#include "CommandCodes.h"
#include "ControlFactory.h"
#include "DialogTemplate.h"
#include "FrameworkContext.h"
#include "Help.h"
#include "Language.h"
#include "CaptionWidth.h"
#include "MessageBox.h"
#include "MyFontDialog.h"
#include "ProgramFolder.h"
#include "TempDir.h"

#include <QCheckBox>
#include <QEventLoop>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include <gtest/gtest.h>

#include <vector>

namespace {

using testing_support::PutFile;
using testing_support::TempDir;

constexpr unsigned kTemplate = 9201;
constexpr int kEdit = 600;
constexpr int kApply = 601;
constexpr int kCheck = 602;
constexpr int kCustom = 603;
constexpr int kUnknown = 604;
constexpr int kLabel = 605;
constexpr int kGroup = 606;

// A control class that only another library knows.
class TestSlider : public QSlider {
public:
    using QSlider::QSlider;
};

void RegisterTestTemplate()
{
    using namespace tpl;
    RegisterControlClass("TestSlider", [](const ControlSpec&, QWidget* parent) -> QWidget* {
        return new TestSlider(Qt::Horizontal, parent);
    });
    RegisterDialogTemplate(
        {kTemplate, "Test dialog",
         Column({Control(kLabel, "STATIC", "Frequency"),
                 Group("Options",
                       {Control(kCheck, "CHECKBOX", "Apply"), Control(kEdit, "EDIT", "Apply")},
                       kGroup),
                 Grid(2, {Control(kCustom, "TestSlider"), Control(kUnknown, "NoSuchClass")}),
                 Row({Control(kApply, "BUTTON", "Apply"), Stretch(),
                      Control(ctl::kIdOk, "BUTTON", "OK"),
                      Control(ctl::kIdCancel, "BUTTON", "Cancel")})})});
}

class RecordingDialog : public CMyFontDialog {
public:
    RecordingDialog() : CMyFontDialog(kTemplate) {}
    int oks = 0;
    int cancels = 0;
    int inits = 0;
    int timers = 0;
    std::vector<int> helpTopics;
    std::vector<std::pair<int, int>> commands;
    bool endOnOk = true;
    bool endOnCancel = true;
    QEventLoop* timerLoop = nullptr;

protected:
    bool OnInitDialog() override
    {
        ++inits;
        return CMyFontDialog::OnInitDialog();
    }
    void OnOK() override
    {
        ++oks;
        if (endOnOk)
            CMyFontDialog::OnOK();
    }
    void OnCancel() override
    {
        ++cancels;
        if (endOnCancel)
            CMyFontDialog::OnCancel();
    }
    bool OnCommand(int id, int code) override
    {
        commands.emplace_back(id, code);
        return CMyFontDialog::OnCommand(id, code);
    }
    void OnHelp() override { helpTopics.push_back(HelpTopic()); }
    void OnTimer(int id) override
    {
        if (id == 7 && ++timers == 3) {
            KillTimer(7);
            if (timerLoop)
                timerLoop->quit();
        }
    }
};

void PressKey(QWidget* target, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fwtest::App();
        RegisterTestTemplate();
        framework::SetLanguage(nullptr);
    }
    void TearDown() override { framework::SetLanguage(nullptr); }
};

TEST_F(DialogTest, EnterAndEscGoThroughOnOkAndOnCancel)
{
    RecordingDialog dlg;
    dlg.endOnOk = false;
    dlg.endOnCancel = false;
    int result = 0;
    fwtest::WhenModal([&] {
        // Enter in an edit field reaches the dialog too.
        PressKey(dlg.GetDlgItem(kEdit), Qt::Key_Return);
        PressKey(&dlg, Qt::Key_Enter);
        PressKey(&dlg, Qt::Key_Escape);
        // Overrides that do nothing keep the dialog open, the window's close button included.
        dlg.close();
        EXPECT_TRUE(dlg.isVisible());
        dlg.endOnCancel = true;
        PressKey(&dlg, Qt::Key_Escape);
    });
    result = dlg.DoModal();
    EXPECT_EQ(dlg.oks, 2);
    EXPECT_EQ(dlg.cancels, 3);
    EXPECT_EQ(result, ctl::kIdCancel);
    EXPECT_EQ(dlg.inits, 1);
}

// Enter on a focused push button presses that button, not OK; a checkable button is a toggle
// that Enter leaves alone, so there Enter is OK again.
TEST_F(DialogTest, EnterOnAFocusedPushButtonPressesThatButton)
{
    RecordingDialog dlg;
    dlg.endOnOk = false;
    fwtest::WhenModal([&] {
        auto* apply = dlg.GetDlgItemAs<QPushButton>(kApply);
        apply->setFocus();
        PressKey(apply, Qt::Key_Return);
        EXPECT_EQ(dlg.oks, 0);
        apply->setCheckable(true);
        PressKey(apply, Qt::Key_Enter);
        EXPECT_FALSE(apply->isChecked());
        EXPECT_EQ(dlg.oks, 1);
        dlg.endOnOk = true;
        dlg.GetDlgItem(ctl::kIdCancel)->setFocus();
        PressKey(dlg.GetDlgItem(ctl::kIdCancel), Qt::Key_Enter);
    });
    EXPECT_EQ(dlg.DoModal(), ctl::kIdCancel);
    EXPECT_EQ(dlg.cancels, 1);
    EXPECT_EQ(dlg.oks, 1);
    EXPECT_EQ(dlg.commands, (std::vector<std::pair<int, int>>{{kApply, ctl::kBnClicked},
                                                              {ctl::kIdCancel, ctl::kBnClicked}}));
}

TEST_F(DialogTest, F1AsksForTheTopicOfTheDialogsId)
{
    RecordingDialog dlg;
    fwtest::WhenModal([&] {
        PressKey(dlg.GetDlgItem(kEdit), Qt::Key_F1);
        dlg.EndDialog(ctl::kIdOk);
    });
    dlg.DoModal();
    EXPECT_EQ(dlg.helpTopics, std::vector<int>{static_cast<int>(kTemplate)});
    EXPECT_EQ(dlg.oks + dlg.cancels, 0);
}

TEST_F(DialogTest, OkAndCancelButtonsEndTheDialog)
{
    RecordingDialog dlg;
    fwtest::WhenModal([&] { dlg.GetDlgItemAs<QPushButton>(ctl::kIdOk)->click(); });
    EXPECT_EQ(dlg.DoModal(), ctl::kIdOk);
    EXPECT_EQ(dlg.oks, 1);
    // A second run builds the dialog afresh.
    fwtest::WhenModal([&] { dlg.GetDlgItemAs<QPushButton>(ctl::kIdCancel)->click(); });
    EXPECT_EQ(dlg.DoModal(), ctl::kIdCancel);
    EXPECT_EQ(dlg.cancels, 1);
    EXPECT_EQ(dlg.inits, 2);
}

// The owner may be destroyed while a dialog runs on it (a close or a remote command handled in
// the dialog's event loop). The dialog belongs to its caller, here on the stack: it must not go
// with the owner's children, and it ends as cancelled.
TEST_F(DialogTest, ADialogWhoseOwnerIsDestroyedEndsCancelledAndStaysTheCallers)
{
    auto* owner = new QWidget;
    owner->show();
    framework::SetMainWindow(owner);
    RecordingDialog dlg;
    fwtest::WhenModal([&] {
        EXPECT_EQ(dlg.parentWidget(), owner);
        delete owner;
    });
    EXPECT_EQ(dlg.DoModal(), ctl::kIdCancel);
    EXPECT_EQ(dlg.parentWidget(), nullptr);
    EXPECT_EQ(dlg.cancels, 0) << "ended without asking OnCancel";
    framework::SetMainWindow(nullptr);
}

TEST_F(DialogTest, ControlsReportTheirCommands)
{
    RecordingDialog dlg;
    fwtest::WhenModal([&] {
        dlg.GetDlgItemAs<QPushButton>(kApply)->click();
        dlg.GetDlgItemAs<QCheckBox>(kCheck)->click();
        dlg.GetDlgItemAs<QLineEdit>(kEdit)->setText("14.195");
        EXPECT_EQ(dlg.GetDlgItemText(kEdit), "14.195");
        dlg.EndDialog(ctl::kIdAbort);
    });
    EXPECT_EQ(dlg.DoModal(), ctl::kIdAbort);
    std::vector<std::pair<int, int>> expected = {
        {kApply, ctl::kBnClicked}, {kCheck, ctl::kBnClicked}, {kEdit, ctl::kEnChange}};
    EXPECT_EQ(dlg.commands, expected);
}

TEST_F(DialogTest, ControlsAreCreatedAsTheirOwnClass)
{
    RecordingDialog dlg;
    fwtest::WhenModal([&] {
        EXPECT_NE(dynamic_cast<TestSlider*>(dlg.GetDlgItem(kCustom)), nullptr);
        // An unknown class still gives a control with its id, not a crash.
        QWidget* unknown = dlg.GetDlgItem(kUnknown);
        ASSERT_NE(unknown, nullptr);
        EXPECT_EQ(ControlId(unknown), kUnknown);
        EXPECT_NE(dlg.GetDlgItemAs<QGroupBox>(kGroup), nullptr);
        EXPECT_EQ(dlg.GetDlgItem(12345), nullptr);
        EXPECT_EQ(dlg.windowTitle().toStdString(), "Test dialog");
        // Opened narrower than its controls, the dialog makes room: no caption is squeezed.
        for (const QPushButton* b : dlg.findChildren<QPushButton*>())
            EXPECT_GE(b->width(), b->sizeHint().width()) << b->text().toStdString();
        dlg.EndDialog(ctl::kIdOk);
    });
    dlg.resize(10, 10);
    dlg.DoModal();
}

TEST_F(DialogTest, TimersCallOnTimerUntilKilled)
{
    RecordingDialog dlg;
    QEventLoop loop;
    dlg.timerLoop = &loop;
    fwtest::WhenModal([&] {
        dlg.SetTimer(7, 1);
        // A cap so that a broken timer fails the test instead of hanging it.
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        dlg.EndDialog(ctl::kIdOk);
    });
    dlg.DoModal();
    EXPECT_EQ(dlg.timers, 3);
}

TEST_F(DialogTest, DialogIsTranslatedFromTheLanguageFile)
{
    TempDir dir;
    PutFile(dir / "Deutsch.lng",
            "Corvane language file 1\r\n"
            "\"Apply\"=\"Anwenden\"\r\n"
            "\"Cancel\"=\"Abbrechen\"\r\n"
            "\"Frequency\"=\"Frequenz\"\r\n"
            "\"Options\"=\"Optionen\"\r\n"
            "\"Test dialog\"=\"Testdialog\"\r\n");
    CLanguage language;
    ASSERT_EQ(language.Load(dir / "Deutsch.lng", false), CLanguage::kLoaded);
    framework::SetLanguage(&language);
    RecordingDialog dlg;
    fwtest::WhenModal([&] {
        EXPECT_EQ(dlg.windowTitle().toStdString(), "Testdialog");
        EXPECT_EQ(dlg.GetDlgItemText(kLabel), "Frequenz");
        EXPECT_EQ(dlg.GetDlgItemText(kApply), "Anwenden");
        EXPECT_EQ(dlg.GetDlgItemText(kCheck), "Anwenden");
        EXPECT_EQ(dlg.GetDlgItemText(ctl::kIdCancel), "Abbrechen");
        EXPECT_EQ(dlg.GetDlgItemText(ctl::kIdOk), "OK");  // no entry: English
        EXPECT_EQ(dlg.GetDlgItemAs<QGroupBox>(kGroup)->title().toStdString(), "Optionen");
        // An edit field holds data: never translated.
        EXPECT_EQ(dlg.GetDlgItemText(kEdit), "Apply");
        dlg.EndDialog(ctl::kIdOk);
    });
    dlg.DoModal();
}

TEST_F(DialogTest, HelpTopicOpensTheLanguagesHelpFileAtTheTopic)
{
    TempDir dir;
    PutFile(dir / "Deutsch.lng",
            "Corvane language file 1\nHELP=Hilfe.html\n\"Apply\"=\"Anwenden\"\n");
    PutFile(dir / "Nohelp.lng",
            "Corvane language file 1\nHELP=Missing.html\n\"Apply\"=\"Anwenden\"\n");
    PutFile(dir / "Hilfe.html", "<html></html>");
    platform::SetProgramFolder(dir.path);
    CLanguage language;
    framework::SetLanguage(&language);
    EXPECT_TRUE(framework::HelpTopicUrl(101).isEmpty());  // no language, no help file
    ASSERT_EQ(language.Load(dir / "Deutsch.lng", true), CLanguage::kLoaded);
    QUrl url = framework::HelpTopicUrl(101);
    EXPECT_TRUE(url.isLocalFile());
    EXPECT_EQ(url.fragment().toStdString(), "101");
    EXPECT_EQ(url.toLocalFile().toStdString(), dir / "Hilfe.html");
    // A help file that is not there does nothing.
    ASSERT_EQ(language.Load(dir / "Nohelp.lng", true), CLanguage::kLoaded);
    EXPECT_TRUE(framework::HelpTopicUrl(101).isEmpty());
    EXPECT_FALSE(framework::OpenHelpTopic(101));
    platform::SetProgramFolder("");
}

TEST_F(DialogTest, MessageBoxShowsTheTextAsItIsAndAnswersTheButton)
{
    MessageBoxRequest request{"<b>Delete</b> the memory 5 ?", "ATTENTION",
                              mb::kYesNo | mb::kIconQuestion, 0};
    std::string shown;
    fwtest::WhenMessageBox([&](QMessageBox* box) {
        ASSERT_NE(box, nullptr);
        shown = box->text().toStdString();
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->windowTitle().toStdString(), "ATTENTION");
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(framework::ShowMessageBox(request), mb::kIdYes);
    EXPECT_EQ(shown, request.text);

    fwtest::WhenMessageBox([&](QMessageBox* box) {
        ASSERT_NE(box, nullptr);
        PressKey(box, Qt::Key_Escape);
    });
    EXPECT_EQ(framework::ShowMessageBox(request), mb::kIdNo);
}

// A box with a short text and a long caption is as wide as the caption needs, by the rule every
// dialog follows, so the title bar shows it whole.
TEST_F(DialogTest, AMessageBoxIsWideEnoughForItsWholeCaption)
{
    const MessageBoxRequest request{"Done.", "Corvane - Speed test of the IC-706MKII/G link",
                                    mb::kOk | mb::kIconInformation, 0};
    int width = 0, wanted = -1;
    fwtest::WhenMessageBox([&](QMessageBox* box) {
        ASSERT_NE(box, nullptr);
        width = box->width();
        wanted = CaptionFitWidth(*box);
    });
    framework::ShowMessageBox(request);
    EXPECT_GE(width, wanted);
}

// The window that asked may be destroyed while its box is open (a close or a remote command
// handled in the box's event loop): the box goes with it and counts as closed with Esc.
TEST_F(DialogTest, AMessageBoxWhoseParentIsDestroyedAnswersAsEscape)
{
    for (unsigned style : {mb::kYesNo, mb::kOk}) {
        auto* window = new QWidget;
        window->show();
        bool deleted = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                poll.stop();
                delete window;
                deleted = true;
            }
        });
        poll.start(10);
        const int answer = framework::ShowMessageBox({"Delete?", {}, style, 0}, window);
        EXPECT_TRUE(deleted);
        EXPECT_EQ(answer, style == mb::kYesNo ? mb::kIdNo : mb::kIdOk);
    }
}

TEST_F(DialogTest, LanguageMessageBoxesGoThroughTheHelper)
{
    TempDir dir;
    PutFile(dir / "Deutsch.lng",
            "Corvane language file 1\n\"Impossible to save the memories : %1\"=\"Speichern "
            "unmoeglich: %1\"\n");
    CLanguage language;
    ASSERT_EQ(language.Load(dir / "Deutsch.lng", false), CLanguage::kLoaded);
    framework::InstallMessageBoxes(language);
    std::string shown;
    fwtest::WhenMessageBox([&](QMessageBox* box) {
        ASSERT_NE(box, nullptr);
        shown = box->text().toStdString();
        box->button(QMessageBox::Ok)->click();
    });
    std::string text = language.FormatString1(113, "disk full");
    EXPECT_EQ(language.ShowMessage({text, {}, mb::kIconError, 0}), mb::kIdOk);
    EXPECT_EQ(shown, "Speichern unmoeglich: disk full");
}

}  // namespace
