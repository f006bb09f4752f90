#include "placement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QStyle>
#include <QWidget>

QRect centredOnPrimaryScreen(QSize size)
{
    return QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size,
                               QGuiApplication::primaryScreen()->geometry());
}

void showCentred(QWidget *window, QSize size)
{
    if (!(window->windowFlags() & Qt::X11BypassWindowManagerHint)) {
        // A window manager places a window as it maps it: centred after that.
        window->show();
        window->setGeometry(centredOnPrimaryScreen(size.isValid() ? size : window->size()));
        return;
    }
    // Placed before it is mapped: moved after, it would show somewhere else
    // for a moment, and a click aimed at it then would land on the backdrop.
    if (!size.isValid()) {
        window->adjustSize();
        size = window->size();
    }
    window->setGeometry(centredOnPrimaryScreen(size));
    window->show();
    window->activateWindow();
}
