// Reports what Qt sees of the X desktop: each screen's geometry and whether a
// system tray is there. The end-to-end tests wait for it before they start
// the program, so a slow window manager does not look like a missing tray.
#include <QApplication>
#include <QScreen>
#include <QSystemTrayIcon>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect g = screen->geometry();
        printf("screen %d,%d %dx%d%s\n", g.x(), g.y(), g.width(), g.height(),
               screen == QGuiApplication::primaryScreen() ? " primary" : "");
    }
    printf("tray %d\n", QSystemTrayIcon::isSystemTrayAvailable() ? 1 : 0);
    return 0;
}
