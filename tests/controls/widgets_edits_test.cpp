// The edit controls driven by keys, mouse and the clipboard.
#include "ColorEdit.h"
#include "CustomControls.h"
#include "MaskEdit.h"
#include "MyFontDialog.h"
#include "NumEdit.h"
#include "widgets_support.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class EditTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ctltest::App(); }
    static void SetClipboard(const QString& t) { QApplication::clipboard()->setText(t); }
    static QString Clipboard() { return QApplication::clipboard()->text(); }
    static void Select(QLineEdit& e, int start, int length) { e.setSelection(start, length); }
};

TEST_F(EditTest, TypingFormatsAndRefusesLetters)
{
    CNumEdit e;
    e.SetFormat(0, ',');
    EXPECT_EQ(e.text(), "0");
    e.setCursorPosition(1);
    ctltest::Type(&e, "7");
    EXPECT_EQ(e.text(), "7");
    ctltest::Type(&e, "1a0,5.0");
    EXPECT_EQ(e.text(), "71.050");
    EXPECT_DOUBLE_EQ(e.GetValue(), 71050.0);
    ctltest::Key(&e, Qt::Key_Backspace);
    EXPECT_EQ(e.text(), "7.105");
    ctltest::Key(&e, Qt::Key_Home);
    ctltest::Key(&e, Qt::Key_Delete);
    EXPECT_EQ(e.text(), "105");
}

TEST_F(EditTest, ProgramTextsAndStatus)
{
    CNumEdit e;
    e.SetFormat(0, ',');
    e.setText("14175000");  // any way the program sets a text
    EXPECT_EQ(e.text(), "14.175.000");
    EXPECT_TRUE(e.SetWindowText("OFF LINE"));
    EXPECT_EQ(e.text(), "OFF LINE");
    EXPECT_DOUBLE_EQ(e.GetValue(), 0.0);
    e.setFocus();
    QFocusEvent in(QEvent::FocusIn);
    QApplication::sendEvent(&e, &in);
    EXPECT_EQ(e.text(), "OFF LINE");
    e.SetValue(7050000);
    EXPECT_EQ(e.text(), "7.050.000");
    e.setText("Error");
    EXPECT_EQ(e.text(), "Error");
}

TEST_F(EditTest, CopyWithoutSelectionKeepsTheClipboard)
{
    CNumEdit e;
    e.SetFormat(0, ',');
    e.SetValue(14175000);
    SetClipboard("keep me");
    e.setCursorPosition(2);
    ctltest::Key(&e, Qt::Key_C, "c", Qt::ControlModifier);
    EXPECT_EQ(Clipboard(), "keep me");
    ctltest::Key(&e, Qt::Key_X, "x", Qt::ControlModifier);
    EXPECT_EQ(Clipboard(), "keep me");
    EXPECT_EQ(e.text(), "14.175.000");
    Select(e, 0, 6);
    ctltest::Key(&e, Qt::Key_C, "c", Qt::ControlModifier);
    EXPECT_EQ(Clipboard(), "14175");
}

TEST_F(EditTest, CutPutsTheDigitsOnTheClipboard)
{
    CNumEdit e;
    e.SetFormat(0, ',');
    e.SetValue(14175000);
    Select(e, 3, 3);
    ctltest::Key(&e, Qt::Key_X, "x", Qt::ControlModifier);
    EXPECT_EQ(Clipboard(), "175");
    EXPECT_EQ(e.text(), "14.000");
}

TEST_F(EditTest, PasteAdmitsOnlyNumbers)
{
    CNumEdit e;
    e.SetFormat(0, ',');
    e.selectAll();
    SetClipboard("1.234.567");
    ctltest::Key(&e, Qt::Key_V, "v", Qt::ControlModifier);
    EXPECT_EQ(e.text(), "1.234.567");
    SetClipboard("rm -rf");
    e.selectAll();
    ctltest::Key(&e, Qt::Key_V, "v", Qt::ControlModifier);
    EXPECT_EQ(e.text(), "1.234.567");
    SetClipboard("14.074,5");
    CNumEdit oneDecimal;
    oneDecimal.SetFormat(1, ',');
    oneDecimal.selectAll();
    oneDecimal.Paste();
    EXPECT_EQ(oneDecimal.text(), "14.074,5");
    EXPECT_DOUBLE_EQ(oneDecimal.GetValue(), 14074.5);
}

// The middle button pastes the primary selection; it must pass the same checks as a paste.
template <class Field>
class SelectionField : public Field {
public:
    QString selection;

protected:
    QString SelectionText() const override { return selection; }
};

TEST_F(EditTest, MiddleClickPastesTheSelectionThroughTheFieldsChecks)
{
    SelectionField<CNumEdit> e;
    e.SetFormat(0, ',');
    e.SetValue(1234);
    e.selection = "abc";
    const QPoint end(e.width() - 2, e.height() / 2);
    ctltest::Click(&e, Qt::MiddleButton, end);
    EXPECT_EQ(e.text(), "1.234");
    e.selection = "5";
    ctltest::Click(&e, Qt::MiddleButton, end);
    EXPECT_EQ(e.text(), "12.345");

    SelectionField<CTimeEdit> t;
    t.selection = "99:99";
    ctltest::Click(&t, Qt::MiddleButton);
    EXPECT_EQ(t.text(), "");
    t.selection = "12:30";
    ctltest::Click(&t, Qt::MiddleButton);
    EXPECT_EQ(t.text(), "12:30");
}

TEST_F(EditTest, SignedOffsetField)
{
    CNumEdit e;
    e.SetFormat(0, ',', true, true);
    e.SetValue(-600);
    EXPECT_EQ(e.text(), "-600");
    e.setCursorPosition(0);
    ctltest::Type(&e, "+");
    EXPECT_EQ(e.text(), "+600");
    EXPECT_DOUBLE_EQ(e.GetValue(), 600.0);
}

constexpr unsigned kTemplate = 9162;
constexpr int kNotify = 1101;
constexpr int kQuiet = 1102;

class EditDialog : public CMyFontDialog {
public:
    EditDialog() : CMyFontDialog(kTemplate) {}
    std::vector<std::pair<int, int>> mouse;

protected:
    bool OnCommand(int id, int code) override
    {
        if (code >= 0x200 && code <= 0x205)
            mouse.emplace_back(id, code);
        return true;
    }
};

TEST_F(EditTest, RightClickNotifiesTheDialogOnlyWhenAsked)
{
    RegisterCustomControls();
    RegisterDialogTemplate(
        {kTemplate, "Edits",
         tpl::Column({tpl::Control(kNotify, "CNumEdit"), tpl::Control(kQuiet, "CNumEdit")})});
    EditDialog dlg;
    ASSERT_TRUE(dlg.Create(kTemplate, nullptr));
    auto* notify = dlg.GetDlgItemAs<CNumEdit>(kNotify);
    auto* quiet = dlg.GetDlgItemAs<CNumEdit>(kQuiet);
    ASSERT_TRUE(notify && quiet);
    notify->EnableRightClickNotify();
    ctltest::Mouse(notify, QEvent::MouseButtonPress, Qt::RightButton, {3, 3});
    EXPECT_TRUE(notify->RButtonIsDown());
    ctltest::Mouse(notify, QEvent::MouseButtonRelease, Qt::RightButton, {3, 3});
    EXPECT_FALSE(notify->RButtonIsDown());
    ctltest::Mouse(quiet, QEvent::MouseButtonPress, Qt::RightButton, {3, 3});
    ctltest::Mouse(quiet, QEvent::MouseButtonRelease, Qt::RightButton, {3, 3});
    const std::vector<std::pair<int, int>> want{{kNotify, 0x204}, {kNotify, 0x205}};
    EXPECT_EQ(dlg.mouse, want);
}

// The window holding a field may go while the field's context menu is open (a remote command,
// a close handled in the menu's own event loop): nothing of the field may be touched afterwards.
TEST_F(EditTest, AFieldDestroyedWhileItsContextMenuIsOpenIsNotTouchedAfterwards)
{
    for (int kind = 0; kind < 2; ++kind) {
        auto* window = new QWidget;
        QLineEdit* edit =
            kind == 0 ? static_cast<QLineEdit*>(new CNumEdit(window)) : new CTimeEdit(window);
        window->show();
        bool deleted = false;
        QTimer::singleShot(0, [&] {
            if (QApplication::activePopupWidget()) {
                delete window;
                deleted = true;
            }
        });
        QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(2, 2),
                               edit->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(edit, &menu);
        EXPECT_TRUE(deleted) << kind;
        QApplication::processEvents();
    }
}

TEST_F(EditTest, TimeFieldTypesOnlyValidTimes)
{
    CTimeEdit t;
    ctltest::Type(&t, "25");
    EXPECT_EQ(t.text(), "2");
    ctltest::Type(&t, "3");
    EXPECT_EQ(t.text(), "23:");
    ctltest::Type(&t, "61");
    EXPECT_EQ(t.text(), "23:1");
    ctltest::Type(&t, "5");
    EXPECT_EQ(t.text(), "23:15");
    ctltest::Key(&t, Qt::Key_Home);
    ctltest::Key(&t, Qt::Key_Delete);
    ctltest::Key(&t, Qt::Key_Insert);
    EXPECT_EQ(t.text(), "23:15");
    SetClipboard("99:99");
    ctltest::Key(&t, Qt::Key_V, "v", Qt::ControlModifier);
    EXPECT_EQ(t.text(), "23:15");
    // Typed over the whole text selected (as Tab leaves it), the time is typed anew.
    t.selectAll();
    ctltest::Type(&t, "0745");
    EXPECT_EQ(t.text(), "07:45");
    Select(t, 3, 2);
    ctltest::Type(&t, "0");
    EXPECT_EQ(t.text(), "07:05");
}

TEST_F(EditTest, TimeExchange)
{
    CTimeEdit t;
    DDX_TimeEditSet(QDateTime(), t);
    EXPECT_EQ(t.text(), "");
    QDateTime v(QDate(2024, 5, 1), QTime(0, 0));
    EXPECT_FALSE(DDX_TimeEditGet(v, t));
    DDX_TimeEditSet(QDateTime(QDate(2024, 5, 1), QTime(7, 5)), t);
    EXPECT_EQ(t.text(), "07:05");
    ctltest::Key(&t, Qt::Key_Home);
    ctltest::Type(&t, "1");
    EXPECT_EQ(t.text(), "17:05");
    ctltest::Key(&t, Qt::Key_Right);
    ctltest::Key(&t, Qt::Key_Backspace);
    EXPECT_EQ(t.text(), "17:05");
    ctltest::Key(&t, Qt::Key_Backspace);
    EXPECT_EQ(t.text(), "07:05");  // the program's text comes back
    ASSERT_TRUE(DDX_TimeEditGet(v, t));
    EXPECT_EQ(v, QDateTime(QDate(2024, 5, 1), QTime(7, 5)));
    t.setText("12:00");  // set around the exchange: Backspace restores it
    t.setCursorPosition(1);
    ctltest::Type(&t, "0");
    EXPECT_EQ(t.text(), "10:00");
    EXPECT_EQ(t.cursorPosition(), 3);  // past the colon
    ctltest::Key(&t, Qt::Key_Backspace);
    ctltest::Key(&t, Qt::Key_Backspace);
    EXPECT_EQ(t.text(), "12:00");
}

TEST_F(EditTest, ColorEditKeepsItsColours)
{
    CColorEdit e;
    const COLORREF oldBk = e.GetBkColor();
    EXPECT_EQ(e.SetBkColor(RgbColor(0, 0, 80)), oldBk);
    const COLORREF oldText = e.GetTextColor();
    EXPECT_EQ(e.SetTextColor(RgbColor(255, 255, 0)), oldText);
    EXPECT_EQ(e.palette().color(QPalette::Base), QColor(0, 0, 80));
    EXPECT_EQ(e.palette().color(QPalette::Text), QColor(255, 255, 0));
    EXPECT_FALSE(e.SetPointFont(0, "Sans"));
    EXPECT_TRUE(e.SetPointFont(14, "Sans"));
    EXPECT_EQ(e.GetLogFont().pointSize(), 14);
    e.SetBold();
    EXPECT_EQ(e.GetLogFont().weight(), QFont::Black);
}

// Where a focused field's picture differs from the unfocused one: first and last column, and
// whether every changed pixel has the text's colour.
struct CaretMark {
    int left = -1, right = -1;
    bool textColoured = true;
};

CaretMark FocusMark(CNumEdit& e, const QColor& text)
{
    e.setFocus();
    EXPECT_TRUE(e.hasFocus());
    e.setCursorPosition(3);  // after "14."
    const QImage focused = e.grab().toImage();
    e.clearFocus();
    const QImage plain = e.grab().toImage();
    CaretMark m;
    for (int x = 0; x < focused.width(); ++x)
        for (int y = 0; y < focused.height(); ++y)
            if (focused.pixelColor(x, y) != plain.pixelColor(x, y)) {
                m.left = m.left < 0 ? x : m.left;
                m.right = x;
                m.textColoured = m.textColoured && focused.pixelColor(x, y) == text;
            }
    return m;
}

TEST_F(EditTest, FocusedNumberFieldShowsACaretThatGrowsWithTheFont)
{
    QWidget window;
    window.resize(700, 120);
    auto* e = new CNumEdit(&window);
    e->SetFormat(0, ',');
    e->setFrame(false);
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    e->SetBkColor(RgbColor(0, 0, 0));
    e->SetTextColor(RgbColor(255, 200, 0));
    e->SetValue(14074000);
    window.show();
    window.activateWindow();
    for (int i = 0; i < 500 && !window.isActiveWindow(); ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_TRUE(window.isActiveWindow());
    int lastWidth = 0;
    for (int points : {10, 40}) {
        e->SetPointFont(points, "DejaVu Sans");
        e->setGeometry(0, 0, 690, e->sizeHint().height());
        const CaretMark m = FocusMark(*e, QColor(255, 200, 0));
        ASSERT_GE(m.left, 0) << points << " pt: no caret";
        EXPECT_GT(m.right - m.left + 1, std::max(lastWidth, 1)) << points;
        EXPECT_TRUE(m.textColoured) << points;
        // Between "14." and "074" of the right-aligned text (give or take the edit's margin).
        const QFontMetrics fm(e->font());
        const int textLeft = e->width() - fm.horizontalAdvance(e->text()) - 4;
        EXPECT_GE(m.left, textLeft + fm.horizontalAdvance("14") - 2) << points;
        EXPECT_LE(m.right, textLeft + fm.horizontalAdvance("14.0") + 2) << points;
        lastWidth = m.right - m.left + 1;
    }
    // Read only (a status display), nothing is typed, so nothing marks a place.
    e->setReadOnly(true);
    EXPECT_LT(FocusMark(*e, QColor(255, 200, 0)).left, 0);
}

}  // namespace
