// Where the X keyboard focus is, told through the program's own connection.
#pragma once

#include <xcb/xcb.h>

// The top-level window (a child of the root) that holds the focus or has it
// in one of its descendants; XCB_NONE when the focus is on no window, on the
// pointer's root or on the root itself.
xcb_window_t focusedTopLevel(xcb_connection_t *connection);

// Whether a top-level window is the window manager's: a client it manages,
// in the frame it made around it, or a window of its own (one that holds the
// focus while no client has it). Other windows bypass the window manager, as
// a screen locker's does.
bool belongsToWindowManager(xcb_connection_t *connection, xcb_window_t topLevel);
