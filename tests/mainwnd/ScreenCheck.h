// What a user sees of a window on a real X server: the root window's pixels under the window,
// compared with the window's own rendering. A window the server shows blank (one colour all
// over, as an unpainted window is) or different from what it drew fails.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <string>

#include "MessagePump.h"

namespace screentest {

struct Seen {
    bool shown = false;    // mapped and exposed on the screen
    bool blank = false;    // one colour over the whole window
    double differing = 0;  // share of pixels that differ from the window's own rendering
};

inline void Pump(std::chrono::milliseconds time)
{
    const auto end = std::chrono::steady_clock::now() + time;
    while (std::chrono::steady_clock::now() < end)
        platform::WaitPumpingMessages(10);
}

inline QString ShotFolder()
{
    const QString folder = QApplication::applicationDirPath() + "/screens";
    QDir().mkpath(folder);
    return folder;
}

// The part of the root window `screen` over `w` (what a user can see of it: a page taller than
// its scroll area is clipped by it) against the window's own grab.
inline Seen Compare(QWidget* w, const QImage& screen)
{
    Seen seen;
    const QPoint origin = w->mapToGlobal(QPoint(0, 0));
    const QRect onScreen = w->visibleRegion().boundingRect().translated(origin) & screen.rect();
    if (onScreen.isEmpty())
        return seen;
    const QImage shown = screen.copy(onScreen).convertToFormat(QImage::Format_RGB32);
    const QImage own =
        w->grab(onScreen.translated(-origin)).toImage().convertToFormat(QImage::Format_RGB32);
    long long differ = 0, total = 0;
    bool oneColour = true;
    const QRgb first = shown.pixel(0, 0);
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb a = shown.pixel(x, y);
            oneColour = oneColour && a == first;
            ++total;
            if (x >= own.width() || y >= own.height()) {
                ++differ;
                continue;
            }
            const QRgb b = own.pixel(x, y);
            if (std::abs(qRed(a) - qRed(b)) > 40 || std::abs(qGreen(a) - qGreen(b)) > 40
                || std::abs(qBlue(a) - qBlue(b)) > 40)
                ++differ;
        }
    seen.blank = oneColour;
    seen.differing = total ? static_cast<double>(differ) / static_cast<double>(total) : 1.0;
    return seen;
}

// Waits until the X server shows what the window drew, but for a share `slack` of its pixels (a
// deadline ends the wait for one that never does), saves the root window as screens/<name> and
// tells what was seen.
inline Seen LookAndCapture(QWidget* w, const QString& name, QImage* capture = nullptr,
                           double slack = 0.1)
{
    Seen seen;
    QImage screen;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    QWindow* const window = w->window()->windowHandle();
    do {
        platform::WaitPumpingMessages(10);
        seen.shown = window && window->isExposed();
        if (!seen.shown)
            continue;
        screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        const bool shown = seen.shown;
        seen = Compare(w, screen);
        seen.shown = shown;
    } while ((!seen.shown || seen.blank || seen.differing >= slack)
             && std::chrono::steady_clock::now() < end);
    screen.save(ShotFolder() + "/" + name);
    if (capture != nullptr)
        *capture = screen;
    return seen;
}

inline Seen Look(QWidget* w, const std::string& name)
{
    return LookAndCapture(w, QString::fromStdString(name) + ".png");
}

// A tool window beside the main window as the window manager framed both: wholly on the free
// part of the screen, covering nothing of the main window, the bottom edges aligned.
inline ::testing::AssertionResult BesideMain(const QWidget& tool, const QWidget& main)
{
    const QRect t = tool.frameGeometry();
    const QRect m = main.frameGeometry();
    const QRect screen = main.screen()->availableGeometry();
    const auto text = [](const QRect& r) {
        return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width())
               + "x" + std::to_string(r.height());
    };
    if (!tool.isVisible() || !screen.contains(t) || t.intersects(m) || t.bottom() != m.bottom())
        return ::testing::AssertionFailure() << "tool window " << text(t) << " main window "
                                             << text(m) << " screen " << text(screen);
    return ::testing::AssertionSuccess();
}

// The recorder bar by the main window as the window manager framed them: wholly on the free part
// of the screen, just below the main window or beside it with the top edges aligned, covering
// neither the main window nor the TX/RX window (nor covered by them).
inline ::testing::AssertionResult ByMainInTheClear(const QWidget& bar, const QWidget& main,
                                                   const QWidget& txRx)
{
    const QRect b = bar.frameGeometry();
    const QRect m = main.frameGeometry();
    const QRect t = txRx.frameGeometry();
    const QRect screen = main.screen()->availableGeometry();
    const auto text = [](const QRect& r) {
        return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width())
               + "x" + std::to_string(r.height());
    };
    const bool placed = b.top() == m.bottom() + 1 || b.top() == m.top();
    if (!bar.isVisible() || !screen.contains(b) || b.intersects(m) || b.intersects(t) || !placed)
        return ::testing::AssertionFailure()
               << "recorder bar " << text(b) << " main window " << text(m) << " TX/RX " << text(t)
               << " screen " << text(screen);
    return ::testing::AssertionSuccess();
}

}  // namespace screentest
