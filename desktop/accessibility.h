// The session's accessibility bus (AT-SPI), through which screen readers and
// other assistive technology read and drive the program's windows.
#pragma once

// Makes sure that Qt's accessibility bridge registers the program on the
// accessibility bus, when the session has one switched on, as the event loop
// first runs. Call it once, after the application object exists and before
// anything runs an event loop.
void connectAccessibility();

// Whether the session says that a screen reader runs. False without a session
// bus or an accessibility bus; never starts an accessibility bus. It asks on
// the session bus connection that Qt's bridge has already opened.
bool screenReaderEnabled();
