#include "x11connection.h"

#include <QGuiApplication>
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
#include <QX11Info>
#endif

xcb_connection_t *qtX11Connection()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
#else
    return QX11Info::isPlatformX11() ? QX11Info::connection() : nullptr;
#endif
}
