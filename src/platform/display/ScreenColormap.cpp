#include "ScreenColormap.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPlatformSurfaceEvent>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>

namespace {

xcb_connection_t* Connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

const xcb_screen_t* ScreenOf(xcb_connection_t* connection, xcb_window_t window)
{
    const xcb_get_geometry_cookie_t cookie = xcb_get_geometry(connection, window);
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(connection, cookie, nullptr);
    if (geometry == nullptr)
        return nullptr;
    const xcb_window_t root = geometry->root;
    std::free(geometry);
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(connection)); it.rem > 0;
         xcb_screen_next(&it))
        if (it.data->root == root)
            return it.data;
    return nullptr;
}

void UseScreenColormap(xcb_connection_t* connection, xcb_window_t window)
{
    const xcb_screen_t* screen = ScreenOf(connection, window);
    if (screen == nullptr)
        return;
    const xcb_get_window_attributes_cookie_t cookie = xcb_get_window_attributes(connection, window);
    xcb_get_window_attributes_reply_t* attributes =
        xcb_get_window_attributes_reply(connection, cookie, nullptr);
    if (attributes == nullptr)
        return;
    // A colormap must match its window's visual: windows of another visual (translucent ones)
    // keep theirs.
    const bool defaultVisual = attributes->visual == screen->root_visual;
    std::free(attributes);
    if (!defaultVisual)
        return;
    const uint32_t colormap = screen->default_colormap;
    xcb_change_window_attributes(connection, window, XCB_CW_COLORMAP, &colormap);
}

class ColormapWatch : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::PlatformSurface && watched->isWindowType()
            && static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType()
                   == QPlatformSurfaceEvent::SurfaceCreated) {
            if (xcb_connection_t* connection = Connection())
                UseScreenColormap(
                    connection, static_cast<xcb_window_t>(static_cast<QWindow*>(watched)->winId()));
        }
        return false;
    }
};

}  // namespace

void UseScreenColormapForWindows()
{
    if (qGuiApp == nullptr || Connection() == nullptr)
        return;
    qGuiApp->installEventFilter(new ColormapWatch(qGuiApp));
}
