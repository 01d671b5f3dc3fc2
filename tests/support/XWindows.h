// The top-level windows on an X server as another program sees them: title, class, the client
// area and the frame the window manager put round it, in stacking order.
#pragma once

#include <string>
#include <vector>

namespace testing_support {

struct XRect {
    int x = 0, y = 0, width = 0, height = 0;
    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
    bool Intersects(const XRect& o) const
    {
        return x < o.Right() && o.x < Right() && y < o.Bottom() && o.y < Bottom();
    }
    bool Inside(const XRect& o) const
    {
        return x >= o.x && y >= o.y && Right() <= o.Right() && Bottom() <= o.Bottom();
    }
};

struct XTopWindow {
    unsigned long id = 0;  // the client window
    std::string title;
    std::string wmClass;
    bool popup = false;  // override-redirect: a menu or a tool tip
    XRect client;        // in root coordinates
    XRect frame;         // the client with the window manager's frame
};

class XWindows {
public:
    // Connects to $DISPLAY.
    XWindows();
    ~XWindows();
    XWindows(const XWindows&) = delete;
    XWindows& operator=(const XWindows&) = delete;

    bool Ok() const { return display_ != nullptr; }
    XRect Screen() const;
    // The viewable top-level windows of that class (all when empty), bottom first.
    std::vector<XTopWindow> List(const std::string& wmClass = "") const;
    // The window that has the keyboard focus, 0 when none.
    unsigned long Focus() const;

private:
    void* display_ = nullptr;
};

}  // namespace testing_support
