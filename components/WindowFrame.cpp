#include "components/WindowFrame.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

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

xcb_connection_t* Connection()
{
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 != nullptr ? x11->connection() : nullptr;
}

}  // namespace

void RequestCloseButtonOnly(QWidget& window)
{
    xcb_connection_t* c = Connection();
    if (c == nullptr || !window.isWindow())
        return;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (screen == nullptr || WindowManagerName(c, screen->root) != "Openbox")
        return;
    const xcb_atom_t types[] = {Atom(c, "_NET_WM_WINDOW_TYPE_TOOLBAR"), Atom(c, "_NET_WM_WINDOW_TYPE_DIALOG"),
                                Atom(c, "_NET_WM_WINDOW_TYPE_NORMAL")};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()),
                        Atom(c, "_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32, 3, types);
    xcb_flush(c);
}

void RequestKeptAbove(QWidget& window, bool above)
{
    xcb_connection_t* c = Connection();
    if (c == nullptr || !window.isWindow())
        return;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (screen == nullptr)
        return;
    // The widget's own id may name a window the toolkit has since replaced (changing flags does).
    const auto id =
        static_cast<xcb_window_t>(window.windowHandle() != nullptr ? window.windowHandle()->winId() : window.winId());
    const xcb_atom_t state = Atom(c, "_NET_WM_STATE");
    const xcb_atom_t keptAbove = Atom(c, "_NET_WM_STATE_ABOVE");
    if (window.windowHandle() != nullptr && window.windowHandle()->isVisible()) {
        // A mapped window's state belongs to the window manager: it is asked to change it.
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = id;
        message.type = state;
        message.data.data32[0] = above ? 1 : 0;  // _NET_WM_STATE_ADD or _NET_WM_STATE_REMOVE
        message.data.data32[1] = keptAbove;
        message.data.data32[3] = 1;  // asked for by an application
        xcb_send_event(c, 0, screen->root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(c);
        return;
    }
    // Before mapping the window names its state itself; the toolkit adds its own states to
    // what the property holds when it maps the window.
    const QByteArray bytes = Property(c, id, state, XCB_ATOM_ATOM);
    std::vector<xcb_atom_t> atoms(static_cast<std::size_t>(bytes.size()) / sizeof(xcb_atom_t));
    if (!atoms.empty())
        std::memcpy(atoms.data(), bytes.constData(), atoms.size() * sizeof(xcb_atom_t));
    std::erase(atoms, keptAbove);
    if (above)
        atoms.push_back(keptAbove);
    if (atoms.empty())
        xcb_delete_property(c, id, state);
    else
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32, static_cast<uint32_t>(atoms.size()),
                            atoms.data());
    xcb_flush(c);
}
