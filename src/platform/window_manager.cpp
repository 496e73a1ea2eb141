#include "platform/window_manager.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace dorvanel::platform {

namespace {

// A compliant manager keeps _NET_SUPPORTING_WM_CHECK on the root window for as long as it runs.
bool X11ManagerRunning(xcb_connection_t* connection) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(setup).data;
    if (!screen) return false;
    const char name[] = "_NET_SUPPORTING_WM_CHECK";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, std::strlen(name), name), nullptr);
    if (!atom) return false;
    const xcb_atom_t check = atom->atom;
    std::free(atom);
    if (check == XCB_ATOM_NONE) return false;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, screen->root, check, XCB_ATOM_WINDOW, 0, 1), nullptr);
    if (!reply) return false;
    const bool present = reply->type == XCB_ATOM_WINDOW && xcb_get_property_value_length(reply) >= 4;
    std::free(reply);
    return present;
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, std::strlen(name), name), nullptr);
    if (!reply) return XCB_ATOM_NONE;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

// Whether the manager lists atom among what it supports (_NET_SUPPORTED on the root window).
bool X11ManagerSupports(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t atom) {
    const xcb_atom_t supported = Atom(connection, "_NET_SUPPORTED");
    if (supported == XCB_ATOM_NONE || atom == XCB_ATOM_NONE) return false;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, supported, XCB_ATOM_ATOM, 0, 4096), nullptr);
    if (!reply) return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
    const int count = xcb_get_property_value_length(reply) / int(sizeof(xcb_atom_t));
    const bool found = reply->type == XCB_ATOM_ATOM && std::find(atoms, atoms + count, atom) != atoms + count;
    std::free(reply);
    return found;
}

// The _NET_WM_MOVERESIZE direction for a set of edges (8: move).
std::uint32_t MoveResizeDirection(Qt::Edges edges) {
    const bool left = edges & Qt::LeftEdge, right = edges & Qt::RightEdge;
    const bool top = edges & Qt::TopEdge, bottom = edges & Qt::BottomEdge;
    if (top && left) return 0;
    if (top && right) return 2;
    if (bottom && right) return 4;
    if (bottom && left) return 6;
    if (top) return 1;
    if (right) return 3;
    if (bottom) return 5;
    if (left) return 7;
    return 8;
}

}  // namespace

bool StartSystemMoveResize(QWindow* window, QPoint pressedAt, Qt::Edges edges) {
    if (!window) return false;
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return edges ? window->startSystemResize(edges) : window->startSystemMove();
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || !X11ManagerRunning(connection)) return false;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_atom_t moveResize = Atom(connection, "_NET_WM_MOVERESIZE");
    if (!screen || !X11ManagerSupports(connection, screen->root, moveResize)) return false;
    // A manager told after the button went up would wait for a release that never comes, holding the pointer:
    // the button is asked for now, not as the event that led here saw it.
    xcb_query_pointer_reply_t* pointer =
        xcb_query_pointer_reply(connection, xcb_query_pointer(connection, screen->root), nullptr);
    const bool held = pointer && (pointer->mask & XCB_BUTTON_MASK_1);
    std::free(pointer);
    if (!held) return false;
    // The press point, not the pointer's present one: the manager measures the travel from it.
    const QPoint at = pressedAt * window->devicePixelRatio();
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(window->winId());
    message.type = moveResize;
    message.data.data32[0] = static_cast<std::uint32_t>(at.x());
    message.data.data32[1] = static_cast<std::uint32_t>(at.y());
    message.data.data32[2] = MoveResizeDirection(edges);
    message.data.data32[3] = XCB_BUTTON_INDEX_1;
    message.data.data32[4] = 0;  // no source indication, which every manager accepts
    // The manager can take the pointer only once the program has let go of it.
    xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
    xcb_send_event(connection, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    return true;
}

bool CompositorPlacesWindows() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

bool WindowManagerRunning() {
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) return false;
    if (platform != QLatin1String("xcb")) return true;
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 && x11->connection() && X11ManagerRunning(x11->connection());
}

}  // namespace dorvanel::platform
