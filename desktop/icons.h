// Icons from the user's icon theme, the program's own set and the widget style.
#pragma once

#include <QIcon>
#include <QStyle>

// The first icon that the theme really provides among the names, which end
// with a null pointer; an empty icon when it has none of them.
QIcon themeIcon(const char *name, ...) __attribute__((sentinel));

// Makes the program's own icon set Qt's fallback theme, searched after the
// user's theme, so that each list below finds an icon on any desktop while the
// user's theme keeps every name it has. Call it before the first lookup.
void installFallbackIcons();

// Loads Qt's image format plugins, which Qt otherwise loads all as it reads
// the first image file, to ask each whether it reads it. Any thread may call
// it; the program does so in a thread of its own while it starts.
void loadImagePlugins();

// The pictures of an icon under no theme name. A D-Bus tray is handed the
// name of an icon that has one, and shows nothing where the panel's own
// theme lacks that name; without a name it gets the pixels.
QIcon unnamedIcon(const QIcon &icon);

// An icon that the current widget style draws itself.
QIcon stockIcon(QStyle::StandardPixmap pixmap, const QWidget *widget = nullptr);

// The icons of the actions, each under the names that common themes use for it.
QIcon logoutIcon();
QIcon rebootIcon();
QIcon shutdownIcon();
QIcon suspendIcon();
QIcon lockIcon();
QIcon clockIcon();
