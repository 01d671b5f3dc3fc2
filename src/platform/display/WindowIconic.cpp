#include "WindowIconic.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

void AskWindowManagerToIconify(QWindow& window)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (connection == nullptr || window.handle() == nullptr)
        return;
    constexpr char kName[] = "WM_CHANGE_STATE";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, sizeof kName - 1, kName), nullptr);
    if (atom == nullptr)
        return;
    const xcb_window_t id = static_cast<xcb_window_t>(window.winId());
    xcb_window_t root = 0;
    if (xcb_get_geometry_reply_t* g =
            xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr)) {
        root = g->root;
        std::free(g);
    }
    if (root != 0) {
        xcb_client_message_event_t event;
        std::memset(&event, 0, sizeof event);
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = id;
        event.type = atom->atom;
        event.data.data32[0] = 3;  // IconicState
        xcb_send_event(connection, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&event));
        xcb_flush(connection);
    }
    std::free(atom);
}
