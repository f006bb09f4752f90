#include "xfocus.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name)
{
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, false, strlen(name), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
}

// The first window of a property's value, or XCB_NONE.
xcb_window_t windowProperty(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t property)
{
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
            connection,
            xcb_get_property(connection, false, window, property, XCB_ATOM_WINDOW, 0, 1), nullptr);
    xcb_window_t value = XCB_NONE;
    if (reply && xcb_get_property_value_length(reply) == sizeof value)
        value = *static_cast<xcb_window_t *>(xcb_get_property_value(reply));
    free(reply);
    return value;
}

bool hasProperty(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t property)
{
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
            connection,
            xcb_get_property(connection, false, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 0),
            nullptr);
    const bool found = reply && reply->type != XCB_ATOM_NONE;
    free(reply);
    return found;
}

// A client that a window manager manages carries its WM_STATE: the top level
// itself, or within the frame the window manager made around it (its child,
// or a child of that).
bool holdsManagedClient(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t wmState,
                        int depth = 2)
{
    if (hasProperty(connection, window, wmState))
        return true;
    if (depth == 0)
        return false;
    xcb_query_tree_reply_t *tree =
            xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr);
    if (!tree)
        return false;
    const xcb_window_t *children = xcb_query_tree_children(tree);
    const bool managed = std::any_of(
            children, children + xcb_query_tree_children_length(tree), [=](xcb_window_t child) {
                return holdsManagedClient(connection, child, wmState, depth - 1);
            });
    free(tree);
    return managed;
}

// X gives each client's windows ids from a range of its own, and the window
// manager names one of its windows on the root.
bool madeByWindowManager(xcb_connection_t *connection, xcb_window_t root, xcb_window_t window)
{
    const xcb_window_t managers =
            windowProperty(connection, root, internAtom(connection, "_NET_SUPPORTING_WM_CHECK"));
    const uint32_t clientBits = ~xcb_get_setup(connection)->resource_id_mask;
    return managers != XCB_NONE && (window & clientBits) == (managers & clientBits);
}

} // namespace

xcb_window_t focusedTopLevel(xcb_connection_t *connection)
{
    xcb_get_input_focus_reply_t *focus =
            xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr);
    xcb_window_t window = focus ? focus->focus : XCB_NONE;
    free(focus);
    while (window != XCB_NONE && window != XCB_INPUT_FOCUS_POINTER_ROOT) {
        xcb_query_tree_reply_t *tree =
                xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr);
        const xcb_window_t parent = tree ? tree->parent : XCB_NONE;
        const xcb_window_t root = tree ? tree->root : XCB_NONE;
        free(tree);
        if (parent == root)
            return window;
        window = parent; // XCB_NONE for the root itself
    }
    return XCB_NONE;
}

bool belongsToWindowManager(xcb_connection_t *connection, xcb_window_t topLevel)
{
    xcb_query_tree_reply_t *tree =
            xcb_query_tree_reply(connection, xcb_query_tree(connection, topLevel), nullptr);
    const xcb_window_t root = tree ? tree->root : XCB_NONE;
    free(tree);
    return holdsManagedClient(connection, topLevel, internAtom(connection, "WM_STATE"))
           || madeByWindowManager(connection, root, topLevel);
}
