#include "ToolWindowPlace.h"

#include <algorithm>
#include <tuple>

namespace mainwnd {

namespace {

// How far a cascaded window stands off the one under it: about a title bar.
constexpr int kCascadeStep = 28;

// The first coordinate at which `length` still ends inside [first, first + room).
int Clamp(int at, int first, int room, int length)
{
    return std::clamp(at, first, std::max(first, first + room - length));
}

QPoint OnScreen(QPoint at, QSize tool, const QRect& screen)
{
    return {Clamp(at.x(), screen.left(), screen.width(), tool.width()),
            Clamp(at.y(), screen.top(), screen.height(), tool.height())};
}

long long Covered(const QRect& place, const std::vector<QRect>& rects)
{
    long long area = 0;
    for (const QRect& r : rects) {
        const QRect both = place & r;
        area += static_cast<long long>(both.width()) * both.height();
    }
    return area;
}

QPoint Left(const QRect& main, QSize tool, bool alignTop)
{
    return {main.left() - tool.width(), alignTop ? main.top() : main.bottom() + 1 - tool.height()};
}

QPoint Right(const QRect& main, QSize tool, bool alignTop)
{
    return {main.right() + 1, alignTop ? main.top() : main.bottom() + 1 - tool.height()};
}

QPoint BelowAt(const QRect& main, QSize tool, bool alignLeft)
{
    return {alignLeft ? main.left() : main.right() + 1 - tool.width(), main.bottom() + 1};
}

QPoint AboveAt(const QRect& main, QSize tool, bool alignLeft)
{
    return {alignLeft ? main.left() : main.right() + 1 - tool.width(), main.top() - tool.height()};
}

std::vector<QPoint> Preferred(ToolKind kind, const QRect& main, QSize tool)
{
    switch (kind) {
    case ToolKind::Beside: return {Left(main, tool, false), Right(main, tool, false)};
    case ToolKind::Below:
        return {BelowAt(main, tool, true), Left(main, tool, true), Right(main, tool, true)};
    case ToolKind::Free: break;
    }
    return {};
}

}  // namespace

QPoint PlaceToolFrame(ToolKind kind, QSize tool, const PlaceContext& c)
{
    std::vector<QPoint> places = Preferred(kind, c.main, tool);
    for (bool top : {true, false}) {
        places.push_back(Left(c.main, tool, top));
        places.push_back(Right(c.main, tool, top));
    }
    for (bool left : {true, false}) {
        places.push_back(BelowAt(c.main, tool, left));
        places.push_back(AboveAt(c.main, tool, left));
    }
    for (const QPoint& at : places) {
        const QRect r(at, tool);
        if (c.screen.contains(r) && !r.intersects(c.main) && Covered(r, c.others) == 0
            && Covered(r, c.keep) == 0)
            return at;
    }
    // No room by the main window: the place on the screen that covers least, tried at every
    // edge of what it may cover, the spare part's lower corners and the places by the main
    // window first. A TX/RX window or recorder bar keeps clear of the panel's parts before the
    // other windows; a list window, which they would cover, the other way round. Of the main
    // window the spare part counts as free.
    std::vector<QRect> edges = c.keep;
    edges.insert(edges.end(), c.others.begin(), c.others.end());
    edges.insert(edges.end(), {c.main, c.spare, c.screen});
    std::vector<int> xs, ys;
    for (const QRect& e : edges) {
        xs.insert(xs.end(),
                  {e.left(), e.right() + 1 - tool.width(), e.left() - tool.width(), e.right() + 1});
        ys.insert(ys.end(), {e.top(), e.bottom() + 1 - tool.height(), e.top() - tool.height(),
                             e.bottom() + 1});
    }
    for (std::vector<int>* v : {&xs, &ys}) {
        std::sort(v->begin(), v->end());
        v->erase(std::unique(v->begin(), v->end()), v->end());
    }
    std::vector<QPoint> over;
    if (!c.spare.isEmpty())
        for (int x : {c.spare.left(), c.spare.right() + 1 - tool.width()})
            over.push_back(
                OnScreen(QPoint(x, c.spare.bottom() + 1 - tool.height()), tool, c.screen));
    for (const QPoint& at : places)
        over.push_back(OnScreen(at, tool, c.screen));
    for (int y : ys)
        for (int x : xs)
            over.push_back(OnScreen(QPoint(x, y), tool, c.screen));
    const QRect spare = c.spare & c.main;
    const auto cost = [&](QPoint at) {
        const QRect r(at, tool);
        const long long keep = Covered(r, c.keep), others = Covered(r, c.others);
        const long long used = Covered(r, {c.main}) - Covered(r, {spare});
        // Else the lower, nearer the least used part.
        const int high = -r.bottom();
        return kind == ToolKind::Free ? std::make_tuple(others, keep, used, high)
                                      : std::make_tuple(keep, others, used, high);
    };
    QPoint best = *std::min_element(over.begin(), over.end(),
                                    [&](QPoint a, QPoint b) { return cost(a) < cost(b); });
    // A list window that has to go on another window leaves that window's title in sight, as
    // cascaded windows do.
    for (const QRect& other : c.others) {
        const QRect title(other.topLeft(), QSize(other.width(), kCascadeStep));
        if (kind != ToolKind::Free || !QRect(best, tool).contains(title))
            continue;
        const QPoint down = OnScreen(title.bottomLeft() + QPoint(kCascadeStep, 1), tool, c.screen);
        best = down.y() > title.bottom()
                   ? down
                   : OnScreen(other.topLeft() + QPoint(kCascadeStep, -tool.height() + kCascadeStep),
                              tool, c.screen);
    }
    return best;
}

bool RoomBelow(const QRect& mainFrame, QSize toolFrame, const QRect& screen)
{
    return screen.bottom() - mainFrame.bottom() >= toolFrame.height();
}

QPoint MainCornerWithRoomFor(const QRect& mainFrame, QSize toolFrame, const QRect& screen)
{
    const int spare = screen.width() - mainFrame.width() - toolFrame.width();
    if (spare < 0)
        return mainFrame.topLeft();
    return {screen.left() + spare / 2 + toolFrame.width(), mainFrame.top()};
}

}  // namespace mainwnd
