#include "ToolWindowPlace.h"

#include <algorithm>

namespace mainwnd {

namespace {
// The first coordinate at which `length` still ends inside [first, first + room).
int Clamp(int at, int first, int room, int length)
{
    return std::clamp(at, first, std::max(first, first + room - length));
}
}  // namespace

QPoint ToolFrameBeside(const QRect& mainFrame, QSize toolFrame, const QRect& screen, bool alignTop)
{
    const int roomLeft = mainFrame.left() - screen.left();
    const int roomRight = screen.right() - mainFrame.right();
    int left = 0;
    if (roomLeft >= toolFrame.width())
        left = mainFrame.left() - toolFrame.width();
    else if (roomRight >= toolFrame.width())
        left = mainFrame.right() + 1;
    else
        left = roomLeft >= roomRight ? screen.left() : screen.right() + 1 - toolFrame.width();
    const int top = alignTop ? mainFrame.top() : mainFrame.bottom() + 1 - toolFrame.height();
    return {Clamp(left, screen.left(), screen.width(), toolFrame.width()),
            Clamp(top, screen.top(), screen.height(), toolFrame.height())};
}

bool RoomBelow(const QRect& mainFrame, QSize toolFrame, const QRect& screen)
{
    return screen.bottom() - mainFrame.bottom() >= toolFrame.height();
}

QPoint ToolFrameBelow(const QRect& mainFrame, QSize toolFrame, const QRect& screen)
{
    if (RoomBelow(mainFrame, toolFrame, screen))
        return {Clamp(mainFrame.left(), screen.left(), screen.width(), toolFrame.width()),
                mainFrame.bottom() + 1};
    return ToolFrameBeside(mainFrame, toolFrame, screen, true);
}

QPoint MainCornerWithRoomFor(const QRect& mainFrame, QSize toolFrame, const QRect& screen)
{
    const int spare = screen.width() - mainFrame.width() - toolFrame.width();
    if (spare < 0)
        return mainFrame.topLeft();
    return {screen.left() + spare / 2 + toolFrame.width(), mainFrame.top()};
}

}  // namespace mainwnd
