// Colour label, link label, font combo and the folder chooser's checks.
#include "ColorEdit.h"
#include "ColorLabel.h"
#include "FolderPicker.h"
#include "FontCombo.h"
#include "FolderPath.h"
#include "FrameworkContext.h"
#include "Language.h"
#include "LinkLabel.h"
#include "QtColor.h"
#include "widgets_support.h"

#include "TempDir.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QEnterEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class LabelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ctltest::App(); }
    void SetUp() override
    {
        framework::Language().SetMessageBoxSink([this](const MessageBoxRequest& r) {
            boxes.push_back(r);
            return answer;
        });
    }
    void TearDown() override
    {
        framework::Language().SetMessageBoxSink(nullptr);
        CLinkLabel::SetOpener(nullptr);
    }
    std::vector<MessageBoxRequest> boxes;
    int answer = mb::kIdOk;
};

TEST_F(LabelTest, ColorLabelColoursAndBlinking)
{
    ctltest::Recorder parent;
    auto* label = new CColorLabel("Reading", &parent);
    SetControlId(label, 1300);
    label->SetTextColor(RgbColor(0, 128, 0));
    label->SetBkColor(RgbColor(255, 255, 200));
    EXPECT_EQ(label->CurrentTextColor(), RgbColor(0, 128, 0));
    label->SetBlinkTextColors();
    label->SetBlinkText(1);
    EXPECT_TRUE(label->IsBlinking());
    EXPECT_EQ(label->CurrentTextColor(), RgbColor(255, 0, 0));
    label->SetBlinkText(0);
    EXPECT_FALSE(label->IsBlinking());
    EXPECT_EQ(label->CurrentTextColor(), RgbColor(0, 128, 0));
    label->SetBkColor(CColorLabel::kSystemColor);
    EXPECT_EQ(ToQColor(label->CurrentBkColor()), SystemColor(label->palette(), SysColor::BtnFace));
    label->resize(80, 20);
    EXPECT_EQ(label->grab().toImage().pixelColor(1, 1),
              SystemColor(label->palette(), SysColor::BtnFace));
    ctltest::Click(label, Qt::RightButton);
    const std::vector<std::pair<int, int>> want{{1300, 0x205}};
    EXPECT_EQ(parent.commands, want);
}

TEST_F(LabelTest, DisplayBarsWithNothingToShowTakeThePanelsColour)
{
    // A panel in a light colour with bars in the display's black.
    ctltest::Recorder panel;
    QPalette pal = panel.palette();
    pal.setColor(QPalette::Window, QColor(200, 210, 220));
    panel.setPalette(pal);
    const QColor black(0, 0, 0);
    auto* range = new CColorLabel(&panel);
    auto* status = new CColorEdit(&panel);
    status->setReadOnly(true);
    range->setGeometry(0, 0, 180, 20);
    status->setGeometry(0, 30, 180, 24);
    range->SetBkColor(RgbColor(0, 0, 0));
    status->SetBkColor(RgbColor(0, 0, 0));
    const auto corner = [](QWidget* w) {
        return w->grab().toImage().pixelColor(w->width() - 4, w->height() / 2);
    };
    // Not asked for: an empty bar keeps its colour, as before.
    EXPECT_EQ(corner(range), black);
    range->SetBlankWhenEmpty(true);
    status->SetBlankWhenEmpty(true);
    EXPECT_EQ(corner(range), QColor(200, 210, 220));
    EXPECT_EQ(corner(status), QColor(200, 210, 220));
    // Something to show: the display's colour again, and back to the panel once empty.
    range->setText("1.8 - 30 MHz");
    // Filled while disabled (as during the start-up): the display's colour, not a grey box.
    status->setEnabled(false);
    status->setText("VFO A");
    EXPECT_EQ(corner(status), black);
    status->setEnabled(true);
    EXPECT_EQ(corner(range), black);
    EXPECT_EQ(corner(status), black);
    status->clear();
    range->clear();
    EXPECT_EQ(corner(status), QColor(200, 210, 220));
    EXPECT_EQ(corner(range), QColor(200, 210, 220));
}

TEST_F(LabelTest, LinkOpensAndTurnsVisited)
{
    QString opened;
    CLinkLabel::SetOpener([&](const QString& url) {
        opened = url;
        return 42;
    });
    CLinkLabel link("https://example.invalid/corvane");
    EXPECT_EQ(link.GetURL(), "https://example.invalid/corvane");
    EXPECT_EQ(link.toolTip(), link.GetURL());
    EXPECT_EQ(link.CurrentColor(), 0xEE0000u);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), link.mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(&link, &enter);
    EXPECT_TRUE(link.IsHovered());
    EXPECT_TRUE(link.font().underline());
    EXPECT_EQ(link.CurrentColor(), 0x0000FFu);
    ctltest::Click(&link, Qt::LeftButton, {2, 2});
    EXPECT_EQ(opened, link.GetURL());
    EXPECT_TRUE(link.IsVisited());
    EXPECT_FALSE(link.IsHovered());
    EXPECT_EQ(link.CurrentColor(), 0x8B1A55u);
    EXPECT_TRUE(boxes.empty());
    link.SetUnderline(1);
    EXPECT_TRUE(link.font().underline());
    link.SetUnderline(0);
    EXPECT_FALSE(link.font().underline());
}

TEST_F(LabelTest, LinkFailureShowsTheReason)
{
    CLinkLabel::SetOpener([](const QString&) { return 26; });
    CLinkLabel link;
    link.SetURL("mailto:nobody@example.invalid");
    link.OpenLink();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Unable to open hyperlink:\n\nA sharing violation occurred. ");
    EXPECT_EQ(boxes[0].style, mb::kIconExclamation);
    EXPECT_FALSE(link.IsVisited());
}

TEST_F(LabelTest, FontComboListsEveryFamily)
{
    CFontCombo combo;
    EXPECT_EQ(combo.count(), QFontDatabase::families().size());
    CFontDrawC drawer;
    EXPECT_GT(drawer.MeasureItem(&combo), 0);
    EXPECT_EQ(drawer.CompareItem(), -1);
    if (combo.count() > 0) {
        combo.setCurrentIndex(0);
        combo.resize(200, 28);
        EXPECT_FALSE(combo.grab().isNull());
    }
}

TEST_F(LabelTest, FolderChecksAskAndCreate)
{
    testing_support::TempDir dir;
    CFolderPicker picker("Audio folder", "Choose", std::nullopt);
    EXPECT_FALSE(picker.MakeSurePathExists("relative/folder"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Folder < relative/folder > not valid.");

    boxes.clear();
    answer = mb::kIdNo;
    EXPECT_FALSE(picker.Accept(dir / "new/sub"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Folder < " + (dir / "new/sub") + " > does not exist, create ?");
    EXPECT_EQ(boxes[0].style, mb::kYesNo | mb::kIconQuestion);
    EXPECT_FALSE(folderpath::Exists(dir / "new"));

    // A hidden folder of the home folder, typed as a shell user types it.
    answer = mb::kIdYes;
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "/";
    ::setenv("HOME", dir.path.c_str(), 1);
    EXPECT_TRUE(picker.Accept("~/.local/sub"));
    ::setenv("HOME", home.c_str(), 1);
    EXPECT_TRUE(folderpath::Exists(dir / ".local/sub"));
    EXPECT_EQ(picker.GetPathName(), dir / ".local/sub");

    boxes.clear();
    testing_support::PutFile(dir / "file", "x");
    EXPECT_FALSE(picker.MakeSurePathExists(dir / "file/sub"));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "Folder < " + (dir / "file/sub") + " > cannot be created.");
    EXPECT_TRUE(picker.MakeSurePathExists("/"));
}

TEST_F(LabelTest, FolderChooserShowsItsTitleAsPlainText)
{
    testing_support::TempDir dir;
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll.stop();
        if (auto* label = dialog->findChild<QLabel*>()) {
            shown = label->text();
            format = label->textFormat();
        }
        dialog->reject();
    });
    poll.start(10);
    CFolderPicker picker("Audio folder", "<b>Choose</b> the folder", dir.path);
    EXPECT_EQ(picker.DoModal(nullptr), -1);
    EXPECT_EQ(shown, "<b>Choose</b> the folder");
    EXPECT_EQ(format, Qt::PlainText);
}

// The window that opened the chooser may be destroyed meanwhile, here while OK asks whether
// to create the folder: the chooser then ends as cancelled and touches none of its parts.
TEST_F(LabelTest, FolderChooserWhoseOwnerIsDestroyedEndsCancelled)
{
    testing_support::TempDir dir;
    auto* owner = new QWidget;
    owner->show();
    framework::Language().SetMessageBoxSink([&](const MessageBoxRequest& r) {
        boxes.push_back(r);
        delete owner;
        owner = nullptr;
        return mb::kIdNo;
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll.stop();
        auto* edit = dialog->findChild<QLineEdit*>();
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        ASSERT_TRUE(edit && buttons);
        edit->setText(QString::fromStdString(dir / "missing"));
        buttons->button(QDialogButtonBox::Ok)->click();
    });
    poll.start(10);
    CFolderPicker picker("Audio folder", "Choose", dir.path);
    EXPECT_EQ(picker.DoModal(owner), -1);
    EXPECT_EQ(owner, nullptr);
    ASSERT_EQ(boxes.size(), 1u);
}

}  // namespace
