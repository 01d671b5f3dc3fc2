// The in-place editor and the title tip of the grid widget, with real key and mouse events.
#include <QLineEdit>

#include "CellEditor.h"
#include "CellTip.h"
#include "widget_support.h"

TEST(GridWidgetEditor, TypingReplacesTheTextAndEnterCommits)
{
    ShownGrid s;
    Click(s.widget, s.Centre(2, 2));
    Key(Qt::Key_7, Qt::NoModifier, QStringLiteral("7"));
    CCellEditor* editor = s.widget->Editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->hasFocus());
    EXPECT_EQ(editor->text(), QStringLiteral("7"));
    ASSERT_NE(s.owner.Last(GridNotifyBeginEdit), nullptr);
    EXPECT_EQ(s.owner.Last(GridNotifyBeginEdit)->cause, EditCause::Typed);

    Key(Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
    Key(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_EQ(s.widget->Editor(), nullptr);
    EXPECT_EQ(s.grid().GetItemText(2, 2), "75");
    EXPECT_EQ(s.owner.Count(GridNotifyEndEdit), 1);
    EXPECT_TRUE(s.widget->hasFocus());
    EXPECT_TRUE(s.grid().GetModified());
}

TEST(GridWidgetEditor, EscapeKeepsTheOldTextAndSendsNoChange)
{
    ShownGrid s;
    Click(s.widget, s.Centre(3, 1));
    Key(Qt::Key_F2);
    CCellEditor* editor = s.widget->Editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("3,1"));
    EXPECT_EQ(editor->cursorPosition(), 3);  // F2 keeps the text, caret at the end
    Type(QStringLiteral("xyz"));
    EXPECT_EQ(editor->text(), QStringLiteral("3,1xyz"));
    Key(Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
    EXPECT_EQ(s.widget->Editor(), nullptr);
    EXPECT_EQ(s.grid().GetItemText(3, 1), "3,1");
    EXPECT_EQ(s.owner.Count(GridNotifyEndEdit), 0);
    EXPECT_TRUE(s.widget->hasFocus());
}

TEST(GridWidgetEditor, ARefusingOwnerKeepsTheOldText)
{
    ShownGrid s;
    s.owner.answerEndEdit = -1;
    Click(s.widget, s.Centre(2, 3));
    Key(Qt::Key_9, Qt::NoModifier, QStringLiteral("9"));
    Key(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_EQ(s.grid().GetItemText(2, 3), "2,3");
}

TEST(GridWidgetEditor, LosingTheFocusCommits)
{
    ShownGrid s;
    QLineEdit other(&s.window);
    other.setGeometry(0, 310, 100, 25);
    other.show();
    Click(s.widget, s.Centre(4, 2));
    Key(Qt::Key_F2);
    ASSERT_NE(s.widget->Editor(), nullptr);
    s.widget->Editor()->setText(QStringLiteral("14.200.000"));
    other.setFocus();
    QApplication::processEvents();
    EXPECT_EQ(s.widget->Editor(), nullptr);
    EXPECT_EQ(s.grid().GetItemText(4, 2), "14.200.000");
}

TEST(GridWidgetEditor, ArrowsEndATypedEditButMoveTheCaretInAClickedOne)
{
    ShownGrid s;
    Click(s.widget, s.Centre(2, 2));
    Key(Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    Key(Qt::Key_Right);
    // The next cell is edited with its whole text selected.
    EXPECT_EQ(s.grid().GetItemText(2, 2), "a");
    EXPECT_EQ(s.grid().GetFocusCell(), CCellPos(2, 3));
    ASSERT_NE(s.widget->Editor(), nullptr);
    EXPECT_EQ(s.widget->Editor()->Col(), 3);
    EXPECT_EQ(s.widget->Editor()->selectedText(), QStringLiteral("2,3"));
    Key(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));

    // A click on the focus cell's text opens the editor on button up; arrows stay inside it.
    Click(s.widget, s.Centre(2, 3));
    CCellEditor* editor = s.widget->Editor();
    ASSERT_NE(editor, nullptr);
    Key(Qt::Key_Left);
    EXPECT_EQ(s.widget->Editor(), editor);
    EXPECT_EQ(editor->cursorPosition(), 2);
    Key(Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));  // Tab ends it and edits the next cell
    EXPECT_EQ(s.grid().GetFocusCell(), CCellPos(2, 4));
    ASSERT_NE(s.widget->Editor(), nullptr);
    EXPECT_EQ(s.widget->Editor()->Col(), 4);
}

TEST(GridWidgetEditor, BackspaceStartsAnEditWithoutTheLastCharacter)
{
    ShownGrid s;
    Click(s.widget, s.Centre(5, 5));
    Key(Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
    ASSERT_NE(s.widget->Editor(), nullptr);
    EXPECT_EQ(s.widget->Editor()->text(), QStringLiteral("5,"));
}

TEST(GridWidgetEditor, NumericCellsTakeDigitsOnly)
{
    ShownGrid s;
    s.grid().SetCellType<CDataGridNumericCell>(3, 3);
    Click(s.widget, s.Centre(3, 3));
    Key(Qt::Key_4, Qt::NoModifier, QStringLiteral("4"));
    Type(QStringLiteral("x2"));
    ASSERT_NE(s.widget->Editor(), nullptr);
    EXPECT_EQ(s.widget->Editor()->text(), QStringLiteral("42"));
}

TEST(GridWidgetTitleTip, ATruncatedCellShowsItsWholeTextAndAFittingOneDoesNot)
{
    ShownGrid s;
    const std::string longText = "A memory name far too long for its column";
    s.grid().SetItemText(2, 2, longText);
    SendMouse(s.widget, QEvent::MouseMove, s.Centre(3, 2));
    EXPECT_TRUE(s.widget->TitleTip() == nullptr || !s.widget->TitleTip()->isVisible());

    SendMouse(s.widget, QEvent::MouseMove, s.Centre(2, 2));
    CCellTip* tip = s.widget->TitleTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(tip->isVisible());
    EXPECT_EQ(tip->Text().toStdString(), longText);
    EXPECT_GT(tip->width(), 60);
    EXPECT_EQ(tip->geometry().topLeft().y(), s.widget->mapToGlobal(QPoint(0, 40)).y());

    // Moving out of the cell over the tip hides it and the grid sees the move.
    const QPoint outside = s.Centre(2, 3);
    QMouseEvent move(QEvent::MouseMove, QPointF(tip->mapFromGlobal(s.widget->mapToGlobal(outside))),
                     QPointF(s.widget->mapToGlobal(outside)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(tip, &move);
    EXPECT_FALSE(tip->isVisible());

    // A key hides it too.
    SendMouse(s.widget, QEvent::MouseMove, s.Centre(2, 2));
    EXPECT_TRUE(tip->isVisible());
    Key(Qt::Key_Down);
    EXPECT_FALSE(tip->isVisible());
}

TEST(GridWidgetTitleTip, AClickOnTheTipReachesTheGrid)
{
    ShownGrid s;
    s.grid().SetItemText(4, 1, "Another name that is much too long to fit");
    SendMouse(s.widget, QEvent::MouseMove, s.Centre(4, 1));
    CCellTip* tip = s.widget->TitleTip();
    ASSERT_TRUE(tip && tip->isVisible());
    const QPoint global = s.widget->mapToGlobal(s.Centre(4, 1));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(tip->mapFromGlobal(global)),
                      QPointF(global), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tip, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(tip->mapFromGlobal(global)),
                        QPointF(global), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(tip, &release);
    EXPECT_FALSE(tip->isVisible());
    EXPECT_EQ(s.grid().GetFocusCell(), CCellPos(4, 1));
    EXPECT_EQ(s.owner.Count(GridNotifyClick), 1);
}
