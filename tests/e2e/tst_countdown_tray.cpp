// The countdown with a real system tray: run on an X desktop that has one
// (on_desktop.py), since Qt's offscreen platform has none.
#include "countdown.h"
#include "englishplurals.h"
#include "fakeclock.h"
#include "testsupport.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>
#include <QTranslator>

namespace {

void fire(Countdown &countdown, const char *timer)
{
    QVERIFY(QMetaObject::invokeMethod(countdown.findChild<QTimer *>(timer), "timeout"));
}

QSystemTrayIcon *trayIcon(Countdown &countdown)
{
    return countdown.findChild<QSystemTrayIcon *>(QStringLiteral("trayIcon"));
}

} // namespace

class TestCountdownTray : public QObject
{
    Q_OBJECT

    QTranslator english;

private slots:
    // The English texts as the program shows them, with its English catalogue.
    void initTestCase()
    {
        failOnConnectWarnings();
        QVERIFY(installEnglishPlurals(english));
        Countdown::setWallClock(fakeClock);
        QVERIFY2(QSystemTrayIcon::isSystemTrayAvailable(), "this display has no system tray");
    }

    // The tooltip follows every tick, also on an icon rebuilt after a screen change.
    void tooltipTellsTheTimeLeft()
    {
        Countdown countdown(1, 30);
        QVERIFY(!trayIcon(countdown));
        fire(countdown, "trayTimer");
        QVERIFY(trayIcon(countdown));
        QVERIFY(trayIcon(countdown)->isVisible());
        QCOMPARE(trayIcon(countdown)->toolTip(), QStringLiteral("Shutdown in 1 Hour 30 Minutes"));

        fakeNow += 85 * 60;
        fire(countdown, "tickTimer");
        QCOMPARE(trayIcon(countdown)->toolTip(), QStringLiteral("Shutdown in 5 Minutes"));

        QScreen *screen = QGuiApplication::primaryScreen();
        QVERIFY(QMetaObject::invokeMethod(screen, "geometryChanged",
                                          Q_ARG(QRect, screen->geometry())));
        fakeNow += 4 * 60 + 15;
        fire(countdown, "trayTimer");
        QVERIFY(trayIcon(countdown));
        QCOMPARE(trayIcon(countdown)->toolTip(), QStringLiteral("Shutdown in 45 Seconds"));
        QVERIFY2(countdown.isHidden(), "with a tray the window waits for a click");
    }
};

QTEST_MAIN(TestCountdownTray)
#include "tst_countdown_tray.moc"
