// The countdown to a timed shutdown: a system tray icon whose tooltip tells
// the time left, and a small window that a click on the icon shows and hides.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QSystemTrayIcon>

#include <ctime>

class QCloseEvent;
class QHideEvent;
class QKeyEvent;
class QLabel;
class QTimer;

class Countdown : public QDialog
{
    Q_OBJECT

public:
    // Counts down from now; the window stays hidden until the tray icon is
    // clicked, or until it is clear that the desktop has no system tray.
    Countdown(int hours, int minutes, QWidget *parent = nullptr);

    // True once the time has run out; the dialog is then accepted.
    bool isShutdownDue() const;

    // The wall clock the countdown reads, ::time unless a test replaces it to
    // move through the countdown without waiting.
    static time_t (*wallClock)(time_t *);

private slots:
    void update();
    void hideWin();
    void changeTimer();
    void trayClicked(QSystemTrayIcon::ActivationReason reason);
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *e) override;
    void checkForSysTray();
    void scrGeomChanged(const QRect &);

protected:
    void hideEvent(QHideEvent *event) override;

private:
    void setLabelText(int hours, int minutes, int seconds);
    void createTrayIcon();
    int secondsLeft() const;

    bool shutdownDue;
    time_t endTime;
    QIcon timerIcon;
    QTimer *tickTimer;
    QTimer *trayTimer;
    QLabel *textLabel;
    QSystemTrayIcon *trayIcon;
    // Where the window was when it was last hidden; none before it was shown.
    QPoint lastPosition;
    bool hasBeenShown = false;
};
