// Copy, cut and paste through the real QClipboard with the grid widget's keys.
#include <QClipboard>
#include <QDragEnterEvent>
#include <QMimeData>

#include <memory>

#include "CellEditor.h"
#include "ProgramClipboard.h"
#include "widget_support.h"

TEST(GridWidgetClipboard, CopyAndPasteRoundTripThroughTheSystemClipboard)
{
    ShownGrid s;
    s.grid().SetItemText(2, 2, "14.200.000");
    s.grid().SetItemText(2, 3, "USB, wide");  // a comma survives: the text holds tabs
    Click(s.widget, s.Centre(2, 2));
    Click(s.widget, s.Centre(3, 3), Qt::ShiftModifier);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
              "14.200.000\tUSB, wide\r\n3,2\t3,3");

    Click(s.widget, s.Centre(6, 4));
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(s.grid().GetItemText(6, 4), "14.200.000");
    EXPECT_EQ(s.grid().GetItemText(6, 5), "USB, wide");
    EXPECT_EQ(s.grid().GetItemText(7, 4), "3,2");
    EXPECT_EQ(s.grid().GetItemText(7, 5), "3,3");
    EXPECT_EQ(s.grid().GetSelectedCellRange(), CCellBlock(6, 4, 7, 5));  // the pasted block
    EXPECT_GE(s.owner.Count(GridNotifyEndEdit), 4);
    EXPECT_EQ(s.owner.Last(GridNotifyBeginEdit)->cause, EditCause::Paste);
}

TEST(GridWidgetClipboard, TextFromAnotherProgramPastesAndCutEmptiesTheCells)
{
    ShownGrid s;
    QGuiApplication::clipboard()->setText(QStringLiteral("7,145.500\n"));
    Click(s.widget, s.Centre(3, 1));
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(s.grid().GetItemText(3, 1), "7");  // no tab: commas separate fields
    EXPECT_EQ(s.grid().GetItemText(3, 2), "145.500");
    EXPECT_EQ(s.grid().GetItemText(4, 1), "4,1");  // the trailing line end blanks nothing

    Click(s.widget, s.Centre(3, 1));
    Click(s.widget, s.Centre(3, 2), Qt::ShiftModifier);
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "7\t145.500");
    EXPECT_EQ(s.grid().GetItemText(3, 1), "");
    EXPECT_EQ(s.grid().GetItemText(3, 2), "");

    // Delete empties the selection without touching the clipboard.
    Click(s.widget, s.Centre(5, 5));
    Key(Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"));
    EXPECT_EQ(s.grid().GetItemText(5, 5), "");
    EXPECT_EQ(s.widget->Editor(), nullptr);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "7\t145.500");
}

TEST(GridWidgetClipboard, PasteWithAnOpenEditorGoesIntoTheEditorOnly)
{
    ShownGrid s;
    QGuiApplication::clipboard()->setText(QStringLiteral("ABC\tDEF"));
    Click(s.widget, s.Centre(2, 2));
    Key(Qt::Key_F2);
    ASSERT_NE(s.widget->Editor(), nullptr);
    s.grid().OnEditPaste();
    EXPECT_EQ(s.widget->Editor()->text(), QStringLiteral("2,2ABC\tDEF"));
    EXPECT_EQ(s.grid().GetItemText(2, 3), "2,3");
}

TEST(GridWidgetClipboard, NothingOnTheClipboardPastesNothing)
{
    ShownGrid s;
    QGuiApplication::clipboard()->setMimeData(new QMimeData);
    Click(s.widget, s.Centre(2, 2));
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(s.grid().GetItemText(2, 2), "2,2");
    EXPECT_EQ(s.owner.Count(GridNotifyBeginEdit), 0);
}

TEST(GridWidgetDragAndDrop, TextDroppedFromOutsideLandsWhereTheGridAllowsIt)
{
    ShownGrid s;
    QMimeData data;
    data.setText(QStringLiteral("145.500\tFM"));
    const QPointF at(s.Centre(3, 2));

    // Off (as in every list window): refused, nothing highlighted.
    QDragEnterEvent refused(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                            Qt::NoModifier);
    QApplication::sendEvent(s.widget, &refused);
    EXPECT_FALSE(refused.isAccepted());
    EXPECT_FALSE(s.grid().GetItemState(3, 2) & CellStateDropHighlighted);

    s.grid().EnableDragAndDrop(true);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(s.widget, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDragMoveEvent overHeading(QPoint(100, 5), Qt::CopyAction | Qt::MoveAction, &data,
                               Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(s.widget, &overHeading);
    EXPECT_FALSE(overHeading.isAccepted());
    QDragMoveEvent move(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                        Qt::ControlModifier);
    QApplication::sendEvent(s.widget, &move);
    EXPECT_TRUE(move.isAccepted());
    EXPECT_EQ(move.dropAction(), Qt::CopyAction);
    EXPECT_TRUE(s.grid().GetItemState(3, 2) & CellStateDropHighlighted);

    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(s.widget, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(drop.dropAction(), Qt::MoveAction);
    EXPECT_EQ(s.grid().GetItemText(3, 2), "145.500");
    EXPECT_EQ(s.grid().GetItemText(3, 3), "FM");
    EXPECT_FALSE(s.grid().GetItemState(3, 2) & CellStateDropHighlighted);
}

TEST(GridWidgetDragAndDrop, TextThatDoesNotAllFitIsDroppedAsACopy)
{
    ShownGrid s(4, 4);
    s.grid().EnableDragAndDrop(true);
    QMimeData data;
    data.setText(QStringLiteral("a\tb\tlost"));
    const QPointF at(s.Centre(3, 2));
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(s.widget, &enter);
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(s.widget, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction);  // the source keeps its text
    EXPECT_EQ(s.grid().GetItemText(3, 3), "b");
}

TEST(GridWidgetClipboard, OneColumnCopiedByAGridKeepsItsCommasInAnotherGrid)
{
    ShownGrid from, to;
    from.grid().SetItemText(2, 2, "USB, wide");
    from.grid().SetSelectedRange(2, 2, 2, 2);
    from.grid().OnEditCopy();
    to.grid().SetSelectedRange(3, 1, 3, 1);
    to.grid().OnEditPaste();
    EXPECT_EQ(to.grid().GetItemText(3, 1), "USB, wide");
    EXPECT_EQ(to.grid().GetItemText(3, 2), "3,2");

    // The same holds for a grid's drag dropped here.
    to.grid().EnableDragAndDrop(true);
    const std::unique_ptr<QMimeData> data(MarkedMimeData(QStringLiteral("LSB, narrow")));
    const QPointF at(to.Centre(4, 1));
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(to.widget, &enter);
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(to.widget, &drop);
    EXPECT_EQ(to.grid().GetItemText(4, 1), "LSB, narrow");
    EXPECT_EQ(to.grid().GetItemText(4, 2), "4,2");
}
