#include "accessibility.h"
#include "countdown.h"
#include "englishplurals.h"
#include "fakeclock.h"
#include "testsupport.h"
#include "timerwin.h"

#include <QAccessible>
#include <QApplication>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QTranslator>

namespace {

QTimer *tickTimer(Countdown &countdown)
{
    return countdown.findChild<QTimer *>(QStringLiteral("tickTimer"));
}

QTimer *trayTimer(Countdown &countdown)
{
    return countdown.findChild<QTimer *>(QStringLiteral("trayTimer"));
}

QString labelText(Countdown &countdown)
{
    return countdown.findChild<QLabel *>(QStringLiteral("textLabel"))->text();
}

QPushButton *button(QWidget *window, const char *name)
{
    return window->findChild<QPushButton *>(QString::fromLatin1(name));
}

// Fires the timer's timeout as its own tick would, through the connection.
void fire(QTimer *timer)
{
    QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
}

// Without a system tray the probe would show the window after its budget;
// tests about other things keep it out of the way.
void stopTrayProbe(Countdown &countdown)
{
    trayTimer(countdown)->stop();
}

// Hidden, or iconified where no tray icon can bring it back.
bool isPutAway(const QWidget &window)
{
    return window.isHidden() || window.isMinimized();
}

QRect centred(const QWidget &window)
{
    return QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(),
                               QGuiApplication::primaryScreen()->geometry());
}

// A translation that puts the unit word before the number; the unit words
// count as German does.
class ReorderingTranslator : public QTranslator
{
public:
    QString translate(const char *context, const char *sourceText, const char *,
                      int n) const override
    {
        static const QHash<QString, QString> texts = {
                {"Shutdown in %1 %2", "%2: noch %1"},
                {"Shutdown in %1 %2 %3 %4", "noch %3 %4 und %1 %2"},
        };
        static const QHash<QString, QStringList> units = {
                {"Hours", {"Stunde", "Stunden"}},
                {"Minutes", {"Minute", "Minuten"}},
                {"Seconds", {"Sekunde", "Sekunden"}},
        };
        if (qstrcmp(context, "Countdown") != 0)
            return QString();
        const QString source = QString::fromUtf8(sourceText);
        if (units.contains(source))
            return units.value(source).at(n == 1 ? 0 : 1);
        return texts.value(source);
    }

    bool isEmpty() const override { return false; }
};

} // namespace

Q_DECLARE_METATYPE(QSystemTrayIcon::ActivationReason)

class TestCountdown : public QObject
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
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
        connectAccessibility();
    }

    // The probe budget is shared by every countdown of the process and never
    // comes back without a tray, so this test must run before any other lets
    // a tray probe fire.
    void windowShowsAfterTheProbeBudget()
    {
        Countdown countdown(1, 0);
        QCOMPARE(trayTimer(countdown)->interval(), 500);
        QVERIFY(trayTimer(countdown)->isActive());
        QVERIFY(!countdown.isVisible());
        for (int probe = 1; probe <= 60; ++probe)
            fire(trayTimer(countdown));
        QVERIFY(!countdown.isVisible());
        QVERIFY(trayTimer(countdown)->isActive());
        fire(trayTimer(countdown));
        QVERIFY(countdown.isVisible());
        QVERIFY2(trayTimer(countdown)->isActive(), "it watches for a tray to come");
    }

    void screenChangeBringsTheHiddenWindowBack()
    {
        Countdown countdown(1, 0);
        fire(trayTimer(countdown));
        QVERIFY2(countdown.isVisible(), "the spent budget shows the window at the first probe");
        countdown.hide();
        QScreen *screen = QGuiApplication::primaryScreen();
        QVERIFY(QMetaObject::invokeMethod(screen, "geometryChanged",
                                          Q_ARG(QRect, screen->geometry())));
        QVERIFY(trayTimer(countdown)->isActive());
        QCOMPARE(trayTimer(countdown)->interval(), 500);
        fire(trayTimer(countdown));
        QVERIFY(countdown.isVisible());
    }

    // Hidden, the countdown says nothing; shown, a screen reader reads its
    // text with the alert and then hears it at the moments worth telling.
    void toldAloudWhileShown_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("step");
        QTest::addColumn<QStringList>("heard");
        QTest::newRow("the last minute")
                << 1 << 1
                << QStringList({"Shutdown in 30 Seconds", "Shutdown in 20 Seconds",
                                "Shutdown in 10 Seconds", "Shutdown in 5 Seconds",
                                "Shutdown in 3 Seconds", "Shutdown in 2 Seconds",
                                "Shutdown in 1 Second"});
        QTest::newRow("minutes") << 12 << 60
                                 << QStringList({"Shutdown in 5 Minutes", "Shutdown in 4 Minutes",
                                                 "Shutdown in 3 Minutes", "Shutdown in 2 Minutes",
                                                 "Shutdown in 60 Seconds"});
    }

    void toldAloudWhileShown()
    {
        QFETCH(int, minutes);
        QFETCH(int, step);
        QFETCH(QStringList, heard);
        Countdown countdown(0, minutes);
        stopTrayProbe(countdown);
        QCOMPARE(QAccessible::queryAccessibleInterface(&countdown)->role(),
                 QAccessible::AlertMessage);
        HeardAloud aloud;
        const int ticks = minutes * 60 / step - 1;
        for (int tick = 1; tick <= ticks; ++tick) {
            if (tick == ticks / 2 + 1)
                countdown.show();
            fakeNow += step;
            fire(tickTimer(countdown));
        }
        QCOMPARE(aloud.texts(), heard);
    }

    void labelTexts_data()
    {
        QTest::addColumn<int>("hours");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("elapsed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("hours and minutes") << 3 << 25 << 0 << "Shutdown in 3 Hours 25 Minutes";
        QTest::newRow("one hour one minute") << 1 << 1 << 0 << "Shutdown in 1 Hour 1 Minute";
        QTest::newRow("whole hours") << 2 << 0 << 0 << "Shutdown in 2 Hours";
        QTest::newRow("one hour") << 1 << 0 << 0 << "Shutdown in 1 Hour";
        QTest::newRow("minutes only") << 0 << 45 << 0 << "Shutdown in 45 Minutes";
        QTest::newRow("minutes are cut, not rounded")
                << 3 << 25 << 1 << "Shutdown in 3 Hours 24 Minutes";
        QTest::newRow("61 seconds are one minute") << 0 << 2 << 59 << "Shutdown in 1 Minute";
        QTest::newRow("one hour less a second") << 1 << 0 << 1 << "Shutdown in 59 Minutes";
        QTest::newRow("60 seconds in seconds") << 0 << 1 << 0 << "Shutdown in 60 Seconds";
        QTest::newRow("one second") << 0 << 1 << 59 << "Shutdown in 1 Second";
        QTest::newRow("the longest time") << 99 << 59 << 0 << "Shutdown in 99 Hours 59 Minutes";
        QTest::newRow("21 and 1: English counts only 1 as one")
                << 21 << 1 << 0 << "Shutdown in 21 Hours 1 Minute";
        QTest::newRow("21 seconds") << 0 << 1 << 39 << "Shutdown in 21 Seconds";
    }

    void labelTexts()
    {
        QFETCH(int, hours);
        QFETCH(int, minutes);
        QFETCH(int, elapsed);
        QFETCH(QString, expected);
        Countdown countdown(hours, minutes);
        stopTrayProbe(countdown);
        QVERIFY2(!labelText(countdown).isEmpty(), "a window shown before the first tick is blank");
        fakeNow += elapsed;
        fire(tickTimer(countdown));
        QCOMPARE(labelText(countdown), expected);
    }

    void translationMayReorder_data()
    {
        QTest::addColumn<int>("hours");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("elapsed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("hours and minutes") << 3 << 25 << 0 << "noch 25 Minuten und 3 Stunden";
        QTest::newRow("one hour") << 1 << 0 << 0 << "Stunde: noch 1";
        QTest::newRow("one hour one minute") << 1 << 1 << 0 << "noch 1 Minute und 1 Stunde";
        QTest::newRow("minutes") << 0 << 45 << 0 << "Minuten: noch 45";
        QTest::newRow("seconds") << 0 << 1 << 30 << "Sekunden: noch 30";
    }

    // The same texts through a translation that puts the numbers elsewhere;
    // the translator leaves the application as it goes.
    void translationMayReorder()
    {
        ReorderingTranslator translator;
        QVERIFY(QCoreApplication::installTranslator(&translator));
        labelTexts();
    }

    void tickInterval_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("elapsed");
        QTest::addColumn<int>("firstInterval");
        QTest::addColumn<int>("nextInterval");
        QTest::newRow("one minute ticks every second") << 1 << 1 << 1000 << 1000;
        QTest::newRow("two minutes tick every minute") << 2 << 59 << 60000 << 60000;
        QTest::newRow("60 seconds left switch to seconds") << 2 << 60 << 60000 << 1000;
        QTest::newRow("a late tick switches too") << 60 << 3590 << 60000 << 1000;
        QTest::newRow("hours left keep the minute tick") << 90 << 60 << 60000 << 60000;
    }

    void tickInterval()
    {
        QFETCH(int, minutes);
        QFETCH(int, elapsed);
        QFETCH(int, firstInterval);
        QFETCH(int, nextInterval);
        Countdown countdown(minutes / 60, minutes % 60);
        stopTrayProbe(countdown);
        QVERIFY(tickTimer(countdown)->isActive());
        QCOMPARE(tickTimer(countdown)->interval(), firstInterval);
        fakeNow += elapsed;
        fire(tickTimer(countdown));
        QVERIFY(tickTimer(countdown)->isActive());
        QCOMPARE(tickTimer(countdown)->interval(), nextInterval);
    }

    void shutdownComesAtZero_data()
    {
        QTest::addColumn<int>("pastDeadline");
        QTest::addColumn<bool>("due");
        QTest::newRow("a second before") << -1 << false;
        QTest::newRow("at the deadline") << 0 << true;
        QTest::newRow("a tick that comes late") << 5 << true;
        QTest::newRow("the clock set forward an hour") << 3600 << true;
    }

    void shutdownComesAtZero()
    {
        QFETCH(int, pastDeadline);
        QFETCH(bool, due);
        Countdown countdown(0, 1);
        stopTrayProbe(countdown);
        QSignalSpy accepted(&countdown, SIGNAL(accepted()));
        QSignalSpy rejected(&countdown, SIGNAL(rejected()));
        fakeNow += 30;
        fire(tickTimer(countdown));
        QCOMPARE(labelText(countdown), QStringLiteral("Shutdown in 30 Seconds"));
        fakeNow += 30 + pastDeadline;
        fire(tickTimer(countdown));
        QCOMPARE(countdown.isShutdownDue(), due);
        QCOMPARE(accepted.count(), due ? 1 : 0);
        QCOMPARE(rejected.count(), 0);
        if (due) {
            QCOMPARE(countdown.result(), int(QDialog::Accepted));
            QCOMPARE(labelText(countdown), QStringLiteral("Shutdown in 30 Seconds"));
        } else {
            QCOMPARE(labelText(countdown), QStringLiteral("Shutdown in 1 Second"));
        }
    }

    void clockSetBackDelaysTheShutdown()
    {
        Countdown countdown(0, 1);
        stopTrayProbe(countdown);
        fakeNow -= 3600;
        fire(tickTimer(countdown));
        QVERIFY(!countdown.isShutdownDue());
        QCOMPARE(labelText(countdown), QStringLiteral("Shutdown in 1 Hour 1 Minute"));
    }

    void cancelTimerEndsWithoutShutdown()
    {
        Countdown countdown(0, 5);
        stopTrayProbe(countdown);
        countdown.show();
        QSignalSpy rejected(&countdown, SIGNAL(rejected()));
        QTest::mouseClick(button(&countdown, "cancelTimerButton"), Qt::LeftButton);
        QCOMPARE(rejected.count(), 1);
        QVERIFY(!countdown.isVisible());
        QVERIFY(!countdown.isShutdownDue());
    }

    // Without a tray nothing would bring a hidden window back: it is iconified.
    void windowIsOnlyPutAway_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("staysVisible");
        QTest::newRow("Escape is swallowed") << "escape" << true;
        QTest::newRow("the close button iconifies") << "close" << false;
        QTest::newRow("Ok iconifies") << "ok" << false;
    }

    void windowIsOnlyPutAway()
    {
        QFETCH(QString, how);
        QFETCH(bool, staysVisible);
        Countdown countdown(0, 5);
        stopTrayProbe(countdown);
        countdown.show();
        QSignalSpy finished(&countdown, SIGNAL(finished(int)));
        if (how == "escape")
            QTest::keyClick(&countdown, Qt::Key_Escape);
        else if (how == "close")
            QVERIFY(!countdown.close());
        else
            QTest::mouseClick(button(&countdown, "okButton"), Qt::LeftButton);
        QVERIFY(countdown.isVisible());
        QCOMPARE(countdown.isMinimized(), !staysVisible);
        QCOMPARE(finished.count(), 0);
        QVERIFY(tickTimer(countdown)->isActive());
    }

    void trayActivation_data()
    {
        QTest::addColumn<QSystemTrayIcon::ActivationReason>("reason");
        QTest::addColumn<bool>("toggles");
        QTest::newRow("a click toggles") << QSystemTrayIcon::Trigger << true;
        QTest::newRow("a double click toggles") << QSystemTrayIcon::DoubleClick << true;
        QTest::newRow("the context menu request does not") << QSystemTrayIcon::Context << false;
        QTest::newRow("a middle click does not") << QSystemTrayIcon::MiddleClick << false;
        QTest::newRow("an unknown reason does not") << QSystemTrayIcon::Unknown << false;
    }

    void trayActivation()
    {
        QFETCH(QSystemTrayIcon::ActivationReason, reason);
        QFETCH(bool, toggles);
        Countdown countdown(1, 0);
        stopTrayProbe(countdown);
        const auto activate = [&countdown, reason] {
            QVERIFY(QMetaObject::invokeMethod(&countdown, "trayClicked",
                                              Q_ARG(QSystemTrayIcon::ActivationReason, reason)));
        };
        activate();
        QCOMPARE(countdown.isVisible(), toggles);
        if (toggles)
            QCOMPARE(countdown.geometry(), centred(countdown));
        activate();
        QVERIFY(!countdown.isVisible());

        countdown.show();
        activate();
        QCOMPARE(countdown.isVisible(), !toggles);
    }

    // The first show centres the window; after that it comes back where it
    // was hidden, however it was hidden and wherever the user had moved it.
    void comesBackWhereItWas_data()
    {
        QTest::addColumn<QString>("hiddenBy");
        QTest::newRow("a click on the tray icon") << "tray";
        QTest::newRow("Ok") << "ok";
        QTest::newRow("a close request") << "close";
    }

    void comesBackWhereItWas()
    {
        QFETCH(QString, hiddenBy);
        Countdown countdown(1, 0);
        stopTrayProbe(countdown);
        const auto click = [&countdown] {
            QVERIFY(QMetaObject::invokeMethod(
                    &countdown, "trayClicked",
                    Q_ARG(QSystemTrayIcon::ActivationReason, QSystemTrayIcon::Trigger)));
        };
        click();
        QCOMPARE(countdown.geometry(), centred(countdown));
        const QPoint movedTo = countdown.pos() + QPoint(37, -23);
        const QSize shownSize = countdown.size();
        countdown.move(movedTo);
        if (hiddenBy == QLatin1String("tray"))
            click();
        else if (hiddenBy == QLatin1String("ok"))
            QTest::mouseClick(button(&countdown, "okButton"), Qt::LeftButton);
        else
            countdown.close();
        QVERIFY(isPutAway(countdown));
        click();
        QVERIFY(countdown.isVisible());
        QCOMPARE(countdown.pos(), movedTo);
        QCOMPARE(countdown.size(), shownSize);
    }

    void changeTimerPreset_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("elapsed");
        QTest::addColumn<int>("presetHours");
        QTest::addColumn<int>("presetMinutes");
        QTest::addColumn<QString>("textAfter");
        QTest::newRow("hours and minutes")
                << 150 << 0 << 2 << 30 << "Shutdown in 2 Hours 30 Minutes";
        QTest::newRow("minutes are cut") << 150 << 1 << 2 << 29 << "Shutdown in 2 Hours 29 Minutes";
        QTest::newRow("an hour less a second") << 60 << 1 << 0 << 59 << "Shutdown in 59 Minutes";
        QTest::newRow("less than a minute opens at one minute")
                << 1 << 30 << 0 << 1 << "Shutdown in 30 Seconds";
    }

    void changeTimerPreset()
    {
        QFETCH(int, minutes);
        QFETCH(int, elapsed);
        QFETCH(int, presetHours);
        QFETCH(int, presetMinutes);
        QFETCH(QString, textAfter);
        Countdown countdown(minutes / 60, minutes % 60);
        stopTrayProbe(countdown);
        countdown.show();
        fakeNow += elapsed;
        int shownHours = -1, shownMinutes = -1;
        answerModal<Timerwin>([&](Timerwin *dialog) {
            QVERIFY(!(dialog->windowFlags() & Qt::FramelessWindowHint));
            shownHours = dialog->findChild<QSpinBox *>("hoursBox")->value();
            shownMinutes = dialog->findChild<QSpinBox *>("minutesBox")->value();
            QTest::mouseClick(button(dialog, "cancelButton"), Qt::LeftButton);
        });
        QTest::mouseClick(button(&countdown, "changeTimerButton"), Qt::LeftButton);
        QCOMPARE(shownHours, presetHours);
        QCOMPARE(shownMinutes, presetMinutes);
        QVERIFY(isPutAway(countdown));

        fire(tickTimer(countdown));
        QVERIFY2(labelText(countdown) == textAfter, "a cancelled change keeps the deadline");
    }

    void changeTimerNewTime_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("newHours");
        QTest::addColumn<int>("newMinutes");
        QTest::addColumn<int>("interval");
        QTest::addColumn<QString>("text");
        QTest::newRow("a short new time ticks every second at once")
                << 120 << 0 << 1 << 1000 << "Shutdown in 60 Seconds";
        QTest::newRow("a shorter time of minutes keeps the minute tick")
                << 120 << 0 << 30 << 60000 << "Shutdown in 30 Minutes";
        QTest::newRow("a longer time keeps the second tick")
                << 1 << 1 << 30 << 1000 << "Shutdown in 1 Hour 30 Minutes";
    }

    void changeTimerNewTime()
    {
        QFETCH(int, minutes);
        QFETCH(int, newHours);
        QFETCH(int, newMinutes);
        QFETCH(int, interval);
        QFETCH(QString, text);
        Countdown countdown(minutes / 60, minutes % 60);
        stopTrayProbe(countdown);
        countdown.show();
        fakeNow += 20;
        answerModal<Timerwin>([&](Timerwin *dialog) {
            dialog->setHours(newHours);
            dialog->setMinutes(newMinutes);
            QTest::mouseClick(button(dialog, "okButton"), Qt::LeftButton);
        });
        QTest::mouseClick(button(&countdown, "changeTimerButton"), Qt::LeftButton);
        QCOMPARE(labelText(countdown), text);
        QCOMPARE(tickTimer(countdown)->interval(), interval);
        QVERIFY(isPutAway(countdown));
        QVERIFY(!countdown.isShutdownDue());

        fakeNow += newHours * 3600 + newMinutes * 60;
        fire(tickTimer(countdown));
        QVERIFY2(countdown.isShutdownDue(), "the new deadline counts from the change");
    }

    // The scheduled shutdown must not wait for a change dialog left open: the
    // dialog goes away and the application's event loop ends.
    void timeRunsOutWhileChanging()
    {
        Countdown countdown(0, 1);
        stopTrayProbe(countdown);
        countdown.show();
        bool dialogSeen = false;
        bool hung = false;
        QTimer::singleShot(0, this, [&] {
            QTest::mouseClick(button(&countdown, "changeTimerButton"), Qt::LeftButton);
        });
        answerModal<Timerwin>([&](Timerwin *) {
            dialogSeen = true;
            fakeNow += 60;
            fire(tickTimer(countdown));
        });
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, this, [&hung] {
            hung = true;
            QApplication::exit(1);
        });
        guard.start(5000);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!hung);
        QVERIFY(dialogSeen);
        QVERIFY(countdown.isShutdownDue());
        QCOMPARE(countdown.result(), int(QDialog::Accepted));
        QVERIFY(!countdown.isVisible());
        QVERIFY(!QApplication::activeModalWidget());
    }
};

QTEST_MAIN(TestCountdown)
#include "tst_countdown.moc"
