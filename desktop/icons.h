// Icons from the user's icon theme and from the widget style.
#pragma once

#include <QIcon>
#include <QStyle>

// The first icon that the theme really provides among the names, which end
// with a null pointer; an empty icon when it has none of them.
QIcon themeIcon(const char *name, ...) __attribute__((sentinel));

// An icon that the current widget style draws itself.
QIcon stockIcon(QStyle::StandardPixmap pixmap, const QWidget *widget = nullptr);

// The icons of the actions, each under the names that common themes use for it.
QIcon logoutIcon();
QIcon rebootIcon();
QIcon shutdownIcon();
QIcon suspendIcon();
QIcon lockIcon();
QIcon clockIcon();
