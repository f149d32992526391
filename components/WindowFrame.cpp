#include "components/WindowFrame.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct TFreeReply {
    void operator()(void* p) const { std::free(p); }
};
template <class T> using TReply = std::unique_ptr<T, TFreeReply>;

xcb_atom_t Atom(xcb_connection_t* c, const char* name)
{
    const TReply<xcb_intern_atom_reply_t> r(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

QByteArray Property(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property, xcb_atom_t type)
{
    const TReply<xcb_get_property_reply_t> r(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, type, 0, 256), nullptr));
    if (!r || r->type != type)
        return {};
    const int length = xcb_get_property_value_length(r.get());
    return QByteArray(static_cast<const char*>(xcb_get_property_value(r.get())), length);
}

// The name the running window manager gives itself; empty without one.
QByteArray WindowManagerName(xcb_connection_t* c, xcb_window_t root)
{
    const xcb_atom_t check = Atom(c, "_NET_SUPPORTING_WM_CHECK");
    const QByteArray id = Property(c, root, check, XCB_ATOM_WINDOW);
    if (id.size() != sizeof(xcb_window_t))
        return {};
    xcb_window_t wm = 0;
    std::memcpy(&wm, id.constData(), sizeof wm);
    return Property(c, wm, Atom(c, "_NET_WM_NAME"), Atom(c, "UTF8_STRING"));
}

}  // namespace

void RequestCloseButtonOnly(QWidget& window)
{
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || x11->connection() == nullptr || !window.isWindow())
        return;
    xcb_connection_t* c = x11->connection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (screen == nullptr || WindowManagerName(c, screen->root) != "Openbox")
        return;
    const xcb_atom_t types[] = {Atom(c, "_NET_WM_WINDOW_TYPE_TOOLBAR"), Atom(c, "_NET_WM_WINDOW_TYPE_DIALOG"),
                                Atom(c, "_NET_WM_WINDOW_TYPE_NORMAL")};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()),
                        Atom(c, "_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32, 3, types);
    xcb_flush(c);
}
