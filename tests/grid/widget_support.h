// Shared set-up for the grid widget tests: one QApplication for the test program, a grid widget
// shown and active, and real Qt input events sent to it.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <memory>

#include "GridWidget.h"
#include "grid_fakes.h"

class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "grid_widget_test";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance())
            app_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QApplication> app_;
};

inline const ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

// A shown and active 400 x 300 grid: rows x cols, one fixed row and column, body cells "r,c",
// columns 60 wide and rows 20 high.
struct ShownGrid {
    RecordingOwner owner;  // outlives the window: closing an open editor still notifies it
    QWidget window;
    CGridWidget* widget;

    explicit ShownGrid(int rows = 30, int cols = 8)
    {
        widget = new CGridWidget(&window);
        widget->setGeometry(0, 0, 400, 300);
        window.resize(400, 340);
        CDataGrid& g = widget->Grid();
        g.SetOwner(&owner);
        g.SetRowCount(rows);
        g.SetColumnCount(cols);
        g.SetFixedRowCount(1);
        g.SetFixedColumnCount(1);
        for (int r = 0; r < rows; ++r) {
            g.SetRowHeight(r, 20);
            for (int c = 0; c < cols; ++c)
                g.SetItemText(r, c, std::to_string(r) + "," + std::to_string(c));
        }
        for (int c = 0; c < cols; ++c)
            g.SetColumnWidth(c, 60);
        g.ResetScrollBars();
        window.show();
        window.activateWindow();
        for (int i = 0; i < 50 && QApplication::activeWindow() != &window; ++i)
            QApplication::processEvents();
        widget->setFocus();
        QApplication::processEvents();
    }
    CDataGrid& grid() { return widget->Grid(); }

    // The centre of a cell in widget coordinates.
    QPoint Centre(int row, int col)
    {
        GridRect r;
        EXPECT_TRUE(grid().GetCellRect(row, col, r));
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
};

inline void SendMouse(QWidget* w, QEvent::Type type, QPoint pos,
                      Qt::MouseButton button = Qt::LeftButton,
                      Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    const Qt::MouseButtons buttons =
        type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick
            ? Qt::MouseButtons(button)
        : type == QEvent::MouseMove ? Qt::MouseButtons(Qt::NoButton)
                                    : Qt::MouseButtons(Qt::NoButton);
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)),
                  type == QEvent::MouseMove ? Qt::NoButton : button, buttons, mods);
    QApplication::sendEvent(w, &e);
}

inline void Click(QWidget* w, QPoint pos, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    SendMouse(w, QEvent::MouseButtonPress, pos, Qt::LeftButton, mods);
    SendMouse(w, QEvent::MouseButtonRelease, pos, Qt::LeftButton, mods);
}

// A key press (and release) to whichever widget has the keyboard focus.
inline void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {})
{
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    if (QWidget* now = QApplication::focusWidget())
        QApplication::sendEvent(now, &release);
    QApplication::processEvents();
}

inline void Type(const QString& text)
{
    for (QChar ch : text)
        Key(ch.unicode() >= 'a' && ch.unicode() <= 'z' ? Qt::Key_A + (ch.unicode() - 'a')
                                                       : ch.unicode(),
            Qt::NoModifier, QString(ch));
}
