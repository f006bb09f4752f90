#include "icons.h"

#include <QApplication>
#include <QImageReader>

#include <cstdarg>

namespace {

QIcon usableThemeIcon(const char *name)
{
    const QString themeName = QString::fromUtf8(name);
    if (!QIcon::hasThemeIcon(themeName))
        return QIcon();
    const QIcon icon = QIcon::fromTheme(themeName);
    // An icon without a name is a fallback the theme made up, not the one asked for.
    if (icon.isNull() || icon.name().isEmpty())
        return QIcon();
    return icon;
}

} // namespace

QIcon themeIcon(const char *name, ...)
{
    va_list names;
    va_start(names, name);
    QIcon icon;
    for (const char *next = name; next; next = va_arg(names, const char *)) {
        icon = usableThemeIcon(next);
        if (!icon.isNull())
            break;
    }
    va_end(names);
    return icon;
}

void installFallbackIcons()
{
    // The set is compiled in (desktop/icons/icons.qrc), so the program finds it
    // wherever it runs from; Qt searches ":/icons" for themes by default.
    Q_INIT_RESOURCE(icons);
    QIcon::setFallbackThemeName(QStringLiteral("farewelldesk"));
}

void loadImagePlugins()
{
    QImageReader(QStringLiteral(":/icons/farewelldesk/16x16/system-shutdown.png")).canRead();
}

QIcon unnamedIcon(const QIcon &icon)
{
    // Trays ask for 16 to 24 pixels, D-Bus trays are sent up to 64.
    QIcon unnamed;
    for (const int size : {16, 22, 24, 32, 48, 64})
        unnamed.addPixmap(icon.pixmap(size, size));
    return unnamed;
}

QIcon stockIcon(QStyle::StandardPixmap pixmap, const QWidget *widget)
{
    return QApplication::style()->standardIcon(pixmap, nullptr, widget);
}

QIcon logoutIcon()
{
    return themeIcon("system-log-out", nullptr);
}

QIcon rebootIcon()
{
    return themeIcon("system-reboot", "gnome-session-reboot", "un-reboot", "xfsm-reboot", nullptr);
}

QIcon shutdownIcon()
{
    return themeIcon("system-shutdown", nullptr);
}

QIcon suspendIcon()
{
    return themeIcon("system-suspend", nullptr);
}

QIcon lockIcon()
{
    return themeIcon("system-lock-screen", nullptr);
}

QIcon clockIcon()
{
    return themeIcon("alarm-clock", "alarm", "alarm-symbolic", "appointment-soon", "timer", "clock",
                     nullptr);
}
