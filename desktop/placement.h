// Where the program's windows appear.
#pragma once

#include <QRect>
#include <QSize>

class QWidget;

// A rectangle of that size in the middle of the primary screen.
QRect centredOnPrimaryScreen(QSize size);

// Shows the window centred on the primary screen, whichever screen the pointer
// is on, at the given size (by default the size it takes when shown). A window
// that bypasses the window manager also takes the keyboard focus: nobody else
// would give it, and the program is usually started from a key binding.
void showCentred(QWidget *window, QSize size = QSize());
