// The countdown to a timed shutdown: a system tray icon whose tooltip tells
// the time left, and a small window that a click on the icon shows and hides.
// Without a tray, and whenever a screen reader runs, the window is shown and
// only iconified, so that the window manager brings it back.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QSystemTrayIcon>

#include <ctime>

class Announcer;
class QCloseEvent;
class QHideEvent;
class QShowEvent;
class QKeyEvent;
class QMoveEvent;
class QLabel;
class QTimer;

class Countdown : public QDialog
{
    Q_OBJECT

public:
    // Counts down from now; the window stays hidden until the tray icon is
    // clicked, or until it is clear that the desktop has no system tray, or
    // its tray has gone away. With a screen reader it shows at once.
    Countdown(int hours, int minutes, QWidget *parent = nullptr);

    // True once the time has run out; the dialog is then accepted.
    bool isShutdownDue() const;

    // The wall clock every countdown reads: ::time, unless a test sets its
    // own to move through a countdown without waiting.
    static void setWallClock(time_t (*clock)(time_t *));

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *e) override;
    void hideEvent(QHideEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private slots:
    void update();
    void hideWin();
    void changeTimer();
    void trayClicked(QSystemTrayIcon::ActivationReason reason);
    void checkForSysTray();
    void scrGeomChanged(const QRect &);

private:
    void setLabelText(int hours, int minutes, int seconds);
    void createTrayIcon();
    int showTimeLeft();
    void putAway();
    void showWithoutTray();
    void keepActive();
    int secondsLeft() const;

    bool shutdownDue;
    time_t endTime;
    QIcon timerIcon;
    QTimer *tickTimer;
    QTimer *trayTimer;
    QLabel *textLabel;
    QSystemTrayIcon *trayIcon;
    Announcer *announcer;
    // Whether a screen reader runs: the window is then always within the
    // window manager's reach, whatever the tray does.
    bool keptAsWindow;
    // Shown because there was no tray: the tray's icon takes over when one comes.
    bool shownWithoutTray = false;
    // Where the window was when it was last hidden, without its frame; none
    // before it was shown.
    QPoint lastPosition;
    bool hasBeenShown = false;
    // Shown again, and not yet put back by the window manager.
    bool returning = false;
};
