#include "placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

void showCentred(QWidget *window, QSize size)
{
    window->show();
    if (!size.isValid())
        size = window->size();
    window->setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size,
                                            QGuiApplication::primaryScreen()->geometry()));
    if (window->windowFlags() & Qt::X11BypassWindowManagerHint)
        window->activateWindow();
}
