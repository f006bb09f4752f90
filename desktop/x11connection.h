// Qt's own connection to the X server, reached through Qt's public interfaces.
#pragma once

struct xcb_connection_t;

// The connection on which Qt made the program's windows; null where Qt does
// not run on X11.
xcb_connection_t *qtX11Connection();
