#include "XWindows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace testing_support {
namespace {

Display* D(void* d)
{
    return static_cast<Display*>(d);
}

std::string Utf8Property(Display* d, Window w, const char* name)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string text;
    if (XGetWindowProperty(d, w, XInternAtom(d, name, False), 0, 4096, False, AnyPropertyType,
                           &type, &format, &count, &after, &data)
            == Success
        && data != nullptr && format == 8)
        text.assign(reinterpret_cast<char*>(data), count);
    if (data != nullptr)
        XFree(data);
    return text;
}

std::string ClassOf(Display* d, Window w)
{
    XClassHint hint{};
    if (XGetClassHint(d, w, &hint) == 0)
        return {};
    std::string name = hint.res_class != nullptr ? hint.res_class : "";
    XFree(hint.res_name);
    XFree(hint.res_class);
    return name;
}

// The client inside a frame: the first window down the tree that carries a class.
Window ClientOf(Display* d, Window w, int depth = 0)
{
    if (!ClassOf(d, w).empty())
        return w;
    if (depth > 3)
        return 0;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int n = 0;
    if (XQueryTree(d, w, &root, &parent, &children, &n) == 0)
        return 0;
    Window found = 0;
    for (unsigned int i = n; i-- > 0 && found == 0;)
        found = ClientOf(d, children[i], depth + 1);
    if (children != nullptr)
        XFree(children);
    return found;
}

// A window may go away between listing it and asking about it; such errors only end the question.
int IgnoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

}  // namespace

XWindows::XWindows() : display_(XOpenDisplay(nullptr))
{
    XSetErrorHandler(IgnoreErrors);
}

XWindows::~XWindows()
{
    if (display_)
        XCloseDisplay(D(display_));
}

XRect XWindows::Screen() const
{
    if (!display_)
        return {};
    Display* d = D(display_);
    return {0, 0, DisplayWidth(d, DefaultScreen(d)), DisplayHeight(d, DefaultScreen(d))};
}

std::vector<XTopWindow> XWindows::List(const std::string& wmClass) const
{
    std::vector<XTopWindow> list;
    if (!display_)
        return list;
    Display* d = D(display_);
    const Window rootWindow = DefaultRootWindow(d);
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int n = 0;
    if (XQueryTree(d, rootWindow, &root, &parent, &children, &n) == 0)
        return list;
    for (unsigned int i = 0; i < n; ++i) {
        XWindowAttributes frame{};
        if (XGetWindowAttributes(d, children[i], &frame) == 0 || frame.map_state != IsViewable)
            continue;
        const Window client = ClientOf(d, children[i]);
        if (client == 0)
            continue;
        XTopWindow top;
        top.id = client;
        top.wmClass = ClassOf(d, client);
        if (!wmClass.empty() && top.wmClass != wmClass)
            continue;
        top.title = Utf8Property(d, client, "_NET_WM_NAME");
        if (top.title.empty())
            top.title = Utf8Property(d, client, "WM_NAME");
        top.popup = frame.override_redirect != 0;
        top.frame = {frame.x, frame.y, frame.width + 2 * frame.border_width,
                     frame.height + 2 * frame.border_width};
        XWindowAttributes inner{};
        if (XGetWindowAttributes(d, client, &inner) == 0)
            continue;
        int x = 0, y = 0;
        Window child = 0;
        XTranslateCoordinates(d, client, rootWindow, 0, 0, &x, &y, &child);
        top.client = {x, y, inner.width, inner.height};
        list.push_back(top);
    }
    if (children != nullptr)
        XFree(children);
    return list;
}

unsigned long XWindows::Focus() const
{
    if (!display_)
        return 0;
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(D(display_), &focus, &revert);
    return focus;
}

}  // namespace testing_support
