// The grid widget driven by real Qt mouse and key events: selection, keyboard navigation,
// scroll bars, border cursors and resizing.
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>

#include "widget_support.h"

TEST(GridWidgetMouse, ClickFocusesAndShiftClickExtendsTheBlock)
{
    ShownGrid s;
    Click(s.widget, s.Centre(3, 2));
    EXPECT_EQ(s.grid().GetFocusCell(), CCellPos(3, 2));
    EXPECT_EQ(s.grid().GetSelectedCount(), 1);
    EXPECT_EQ(s.owner.Count(GridNotifyClick), 1);
    EXPECT_EQ(s.owner.commands, 1);

    Click(s.widget, s.Centre(5, 4), Qt::ShiftModifier);
    EXPECT_EQ(s.grid().GetFocusCell(), CCellPos(5, 4));
    EXPECT_EQ(s.grid().GetSelectedCellRange(), CCellBlock(3, 2, 5, 4));
    EXPECT_EQ(s.grid().GetSelectedCount(), 9);

    // Ctrl adds a distant cell to the selection.
    Click(s.widget, s.Centre(8, 1), Qt::ControlModifier);
    EXPECT_EQ(s.grid().GetSelectedCount(), 10);
    EXPECT_TRUE(s.grid().IsCellSelected(8, 1));
}

TEST(GridWidgetMouse, DraggingAcrossCellsSelectsThem)
{
    ShownGrid s;
    SendMouse(s.widget, QEvent::MouseButtonPress, s.Centre(2, 1));
    QMouseEvent move(QEvent::MouseMove, QPointF(s.Centre(4, 3)),
                     QPointF(s.widget->mapToGlobal(s.Centre(4, 3))), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(s.widget, &move);
    SendMouse(s.widget, QEvent::MouseButtonRelease, s.Centre(4, 3));
    EXPECT_EQ(s.grid().GetSelectedCellRange(), CCellBlock(2, 1, 4, 3));
}

TEST(GridWidgetMouse, HeaderBorderShowsTheSizingCursorAndDragResizes)
{
    ShownGrid s;
    // The border between columns 2 and 3 in the fixed row is at x = 180.
    SendMouse(s.widget, QEvent::MouseMove, {179, 10});
    EXPECT_EQ(s.widget->cursor().shape(), Qt::SizeHorCursor);
    SendMouse(s.widget, QEvent::MouseMove, {150, 10});
    EXPECT_EQ(s.widget->cursor().shape(), Qt::ArrowCursor);
    // The border below row 1 in the fixed column.
    SendMouse(s.widget, QEvent::MouseMove, {20, 39});
    EXPECT_EQ(s.widget->cursor().shape(), Qt::SizeVerCursor);

    SendMouse(s.widget, QEvent::MouseMove, {179, 10});
    SendMouse(s.widget, QEvent::MouseButtonPress, {179, 10});
    EXPECT_EQ(s.grid().GetMouseMode(), MouseSizingCol);
    QMouseEvent move(QEvent::MouseMove, QPointF(220, 10),
                     QPointF(s.widget->mapToGlobal(QPoint(220, 10))), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(s.widget, &move);
    SendMouse(s.widget, QEvent::MouseButtonRelease, {220, 10});
    EXPECT_EQ(s.grid().GetColumnWidth(2), 100);
    EXPECT_EQ(s.widget->cursor().shape(), Qt::ArrowCursor);
}

TEST(GridWidgetMouse, RightClickMovesTheFocusAndNotifies)
{
    ShownGrid s;
    SendMouse(s.widget, QEvent::MouseButtonPress, s.Centre(6, 3), Qt::RightButton);
    SendMouse(s.widget, QEvent::MouseButtonRelease, s.Centre(6, 3), Qt::RightButton);
    EXPECT_EQ(s.grid().GetFocusCell(), CCellPos(6, 3));
    ASSERT_NE(s.owner.Last(GridNotifyRightClick), nullptr);
    EXPECT_EQ(s.owner.Last(GridNotifyRightClick)->row, 6);
}

TEST(GridWidgetKeyboard, ArrowsPagesAndEndsMoveTheFocusAndScroll)
{
    ShownGrid s(60, 12);
    Click(s.widget, s.Centre(1, 1));
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Right);
    EXPECT_EQ(s.grid().GetFocusCell(), CCellPos(3, 2));
    EXPECT_EQ(s.grid().GetSelectedCellRange(), CCellBlock(3, 2, 3, 2));

    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(s.grid().GetSelectedCellRange(), CCellBlock(3, 2, 4, 3));

    ASSERT_TRUE(s.widget->VerticalBar()->isVisible());
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(s.grid().GetFocusCell(), CCellPos(59, 11));
    EXPECT_TRUE(s.grid().IsCellVisible(59, 11));
    EXPECT_GT(s.widget->VerticalBar()->value(), 0);
    EXPECT_EQ(s.widget->VerticalBar()->value(), s.grid().GetScrollPos(true));
    EXPECT_EQ(s.widget->HorizontalBar()->value(), s.grid().GetScrollPos(false));

    Key(Qt::Key_PageDown);  // never past the last row
    EXPECT_EQ(s.grid().GetFocusCell().row, 59);
    Key(Qt::Key_PageUp);
    EXPECT_LT(s.grid().GetFocusCell().row, 59);

    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(s.grid().GetFocusCell(), CCellPos(1, 1));
    EXPECT_EQ(s.widget->VerticalBar()->value(), 0);
}

TEST(GridWidgetKeyboard, TabStaysInTheGridAndWrapsToTheNextRow)
{
    ShownGrid s(10, 4);
    QLineEdit other(&s.window);
    other.setGeometry(0, 310, 100, 25);
    other.show();
    Click(s.widget, s.Centre(1, 3));
    Key(Qt::Key_Tab);
    EXPECT_TRUE(s.widget->hasFocus());
    EXPECT_EQ(s.grid().GetFocusCell(), CCellPos(2, 1));
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(s.grid().GetFocusCell(), CCellPos(1, 3));

    // Esc and keys the grid does not use go on to the dialog.
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
    QApplication::sendEvent(s.widget, &esc);
    EXPECT_FALSE(esc.isAccepted());
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(s.widget, &f1);
    EXPECT_FALSE(f1.isAccepted());

    // With Tab leaving the grid the focus goes to the next control.
    s.grid().SetTabLeavesGrid(true);
    Key(Qt::Key_Tab);
    EXPECT_TRUE(other.hasFocus());
}

TEST(GridWidgetScrolling, ScrollBarActionsScrollTheGridAndAFittingSizeHidesThem)
{
    // The desktop's setting, as the grid is made: five lines a notch.
    const int desktopLines = QApplication::wheelScrollLines();
    QApplication::setWheelScrollLines(5);
    ShownGrid s(60, 12);
    QApplication::setWheelScrollLines(desktopLines);
    QScrollBar* v = s.widget->VerticalBar();
    ASSERT_TRUE(v->isVisible());
    EXPECT_EQ(v->geometry().right(), s.widget->width() - 1);
    v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(s.grid().GetScrollPos(true), 20);  // one row
    EXPECT_EQ(s.grid().GetTopleftNonFixedCell().row, 2);
    v->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(v->value(), s.grid().GetScrollPos(true));
    EXPECT_TRUE(s.grid().IsCellVisible(59, 1));

    const auto turn = [&](QPoint pixels, QPoint angle, int times) {
        for (int i = 0; i < times; ++i) {
            QWheelEvent wheel(QPointF(100, 100), QPointF(s.widget->mapToGlobal(QPoint(100, 100))),
                              pixels, angle, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                              false);
            QApplication::sendEvent(s.widget, &wheel);
        }
    };
    const int before = s.grid().GetScrollPos(true);
    turn({}, QPoint(0, 120), 1);
    EXPECT_EQ(s.grid().GetScrollPos(true), before - 5 * 20);
    // A fine-grained wheel's eighths of a notch add up to the notch's lines.
    turn({}, QPoint(0, -15), 8);
    EXPECT_EQ(s.grid().GetScrollPos(true), before);
    // A touchpad's pixels scroll a row once they reach its height.
    turn(QPoint(0, 7), QPoint(0, 21), 3);
    EXPECT_EQ(s.grid().GetScrollPos(true), before - 20);

    s.widget->resize(1000, 1400);
    QApplication::processEvents();
    EXPECT_FALSE(v->isVisible());
    EXPECT_FALSE(s.widget->HorizontalBar()->isVisible());
    EXPECT_EQ(s.grid().GetScrollPos(true), 0);
    EXPECT_EQ(s.grid().GetTopleftNonFixedCell(), CCellPos(1, 1));
}

TEST(GridWidgetPaint, SelectionAndGridLinesReachTheScreen)
{
    ShownGrid s(10, 5);
    s.grid().SetGridLineColor(GridRgb(0, 200, 0));
    Click(s.widget, s.Centre(2, 2));
    Click(s.widget, s.Centre(2, 3), Qt::ShiftModifier);
    QImage image(s.widget->size(), QImage::Format_RGB32);
    s.widget->render(&image);
    const GridPalette& pal = s.grid().GetPalette();
    // Cell (2, 2) covers x 120..179 and y 40..59; its right end is empty of text.
    EXPECT_EQ(image.pixelColor(174, 50), ToQColor(pal.highlight));
    EXPECT_EQ(image.pixelColor(174, 70), ToQColor(pal.window));
    EXPECT_EQ(image.pixelColor(150, 79), QColor(0, 200, 0));  // the line under row 3
    // Some text was drawn in the selected cell.
    bool ink = false;
    for (int x = 122; x < 160 && !ink; ++x)
        for (int y = 42; y < 58 && !ink; ++y)
            ink = image.pixelColor(x, y) != ToQColor(pal.highlight);
    EXPECT_TRUE(ink);
}
