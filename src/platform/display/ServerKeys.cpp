#include "ServerKeys.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>

std::optional<bool> ServerHoldsKey(uint32_t nativeScanCode)
{
    constexpr uint32_t kFirstKeycode = 8;  // X keycodes are 8..255
    constexpr uint32_t kLastKeycode = 255;
    if (nativeScanCode < kFirstKeycode || nativeScanCode > kLastKeycode)
        return std::nullopt;
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (connection == nullptr)
        return std::nullopt;
    xcb_query_keymap_reply_t* keymap =
        xcb_query_keymap_reply(connection, xcb_query_keymap(connection), nullptr);
    if (keymap == nullptr)
        return std::nullopt;
    const bool down = (keymap->keys[nativeScanCode / 8] >> (nativeScanCode % 8)) & 1;
    std::free(keymap);
    return down;
}
