#include "countdown.h"

#include "accessibility.h"
#include "icons.h"
#include "placement.h"
#include "timerwin.h"
#include "x11connection.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMoveEvent>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <xcb/xcb.h>

namespace {

// Ticks once a minute while more than this many seconds are left, once a second after.
constexpr int lastMinute = 60;
constexpr int secondTick = 1000;
constexpr int minuteTick = 60000;
constexpr int trayProbeInterval = 500;
// Failing probes for a system tray, beyond the first, before the window shows itself.
constexpr int trayProbeBudget = 60;

// What is left of the budget. It belongs to the desktop, not to one countdown,
// so it lives as long as the process: once the desktop has shown that it has
// no tray, a probe restarted later (after a screen change, or by another
// countdown) shows the window at its first tick instead of making the user
// wait again. Only a tray that was there, whose icon is rebuilt, earns a new
// budget.
int trayProbesLeft = trayProbeBudget;

time_t (*wallClock)(time_t *) = ::time;

// An X tray is the owner of the selection _NET_SYSTEM_TRAY_S<screen>, as it
// goes and comes.
bool xTrayThere()
{
    xcb_connection_t *connection = qtX11Connection();
    char *host = nullptr;
    int display = 0, screen = 0;
    if (!connection || !xcb_parse_display(nullptr, &host, &display, &screen))
        return false;
    free(host);
    const QByteArray name = "_NET_SYSTEM_TRAY_S" + QByteArray::number(screen);
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, false, uint16_t(name.size()), name.constData()),
            nullptr);
    if (!atom)
        return false;
    xcb_get_selection_owner_reply_t *owner = xcb_get_selection_owner_reply(
            connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
    const bool owned = owner && owner->owner != XCB_NONE;
    free(owner);
    free(atom);
    return owned;
}

// Whether a system tray is there, in the two ways Qt may put an icon in one:
// an X tray or a host of tray items on the session bus. Asked without
// QSystemTrayIcon::isSystemTrayAvailable(), which in Qt 5 opens a new D-Bus
// connection each time on a desktop whose tray is on D-Bus and never closes
// it: the countdown asks twice a second for as long as it runs.
bool trayThere()
{
    if (xTrayThere())
        return true;
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    return sessionBusFlag(watcher, QStringLiteral("/StatusNotifierWatcher"), watcher,
                          QStringLiteral("IsStatusNotifierHostRegistered"));
}

} // namespace

void Countdown::setWallClock(time_t (*clock)(time_t *))
{
    wallClock = clock;
}

Countdown::Countdown(int hours, int minutes, QWidget *parent)
    : QDialog(parent),
      shutdownDue(false),
      trayIcon(nullptr),
      announcer(new Announcer(this)),
      keptAsWindow(screenReaderEnabled())
{
    setObjectName(QStringLiteral("countdown"));
    const int total = hours * 3600 + minutes * 60;
    endTime = wallClock(nullptr) + total;

    const QIcon cancelIcon = stockIcon(QStyle::SP_DialogCancelButton);
    const QIcon okIcon = stockIcon(QStyle::SP_DialogOkButton);
    timerIcon = clockIcon();

    textLabel = new QLabel;
    textLabel->setObjectName(QStringLiteral("textLabel"));
    tickTimer = new QTimer(this);
    tickTimer->setObjectName(QStringLiteral("tickTimer"));
    trayTimer = new QTimer(this);
    trayTimer->setObjectName(QStringLiteral("trayTimer"));
    QLabel *imageLabel = new QLabel;
    imageLabel->setPixmap(timerIcon.pixmap(48, 48, QIcon::Normal, QIcon::Off));
    //: Name of the countdown window's picture, for screen readers
    imageLabel->setAccessibleName(tr("Clock"));
    //: Name of the countdown window, for screen readers
    setAccessibleName(tr("Shutdown countdown"));
    QPushButton *cancelButton = new QPushButton(cancelIcon, tr("Cancel timer"));
    cancelButton->setObjectName(QStringLiteral("cancelTimerButton"));
    QPushButton *okButton = new QPushButton(okIcon, tr("Ok"));
    okButton->setObjectName(QStringLiteral("okButton"));
    QPushButton *changeButton = new QPushButton(timerIcon, tr("Change timer"));
    changeButton->setObjectName(QStringLiteral("changeTimerButton"));

    setWindowIcon(timerIcon);

    QHBoxLayout *topRow = new QHBoxLayout;
    topRow->setSpacing(20);
    topRow->addWidget(imageLabel);
    topRow->addWidget(textLabel, 1, Qt::AlignHCenter);
    QHBoxLayout *buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(2);
    buttonRow->addWidget(changeButton, 0, Qt::AlignLeft);
    buttonRow->addWidget(cancelButton, 0, Qt::AlignRight);
    buttonRow->addWidget(okButton, 1, Qt::AlignRight);
    QVBoxLayout *mainLayout = new QVBoxLayout(this);
    mainLayout->setSpacing(10);
    mainLayout->addLayout(topRow);
    mainLayout->addLayout(buttonRow);
    mainLayout->setContentsMargins(15, 15, 15, 15);

    connect(trayTimer, SIGNAL(timeout()), this, SLOT(checkForSysTray()));
    connect(tickTimer, SIGNAL(timeout()), this, SLOT(update()));
    connect(okButton, SIGNAL(clicked()), this, SLOT(hideWin()));
    connect(cancelButton, SIGNAL(clicked()), this, SLOT(reject()));
    connect(changeButton, SIGNAL(clicked()), this, SLOT(changeTimer()));

    tickTimer->start(total <= lastMinute ? secondTick : minuteTick);
    trayTimer->start(trayProbeInterval);
    connect(QGuiApplication::primaryScreen(), SIGNAL(geometryChanged(QRect)), this,
            SLOT(scrGeomChanged(QRect)));
    // The size the window takes is that of a text, never that of an empty label.
    showTimeLeft();
    if (keptAsWindow)
        showCentred(this);
}

bool Countdown::isShutdownDue() const
{
    return shutdownDue;
}

int Countdown::secondsLeft() const
{
    return static_cast<int>(endTime - wallClock(nullptr));
}

void Countdown::update()
{
    if (secondsLeft() <= 0) {
        shutdownDue = true;
        accept();
        return;
    }
    const QString before = textLabel->text();
    const int told = showTimeLeft();
    if (textLabel->text() != before && worthAnnouncing(told))
        announcer->announce(textLabel->text());
}

// In the text and the tooltip; in the last minute, once a second from now on.
// Returns the time the text tells, in seconds.
int Countdown::showTimeLeft()
{
    const int left = std::max(secondsLeft(), 1);
    int told = left;
    if (left <= lastMinute) {
        tickTimer->start(secondTick);
        setLabelText(0, 0, left);
    } else {
        setLabelText(left / 3600, left % 3600 / 60, 0);
        told = left / 60 * 60;
    }
    if (trayIcon)
        trayIcon->setToolTip(textLabel->text());
    return told;
}

// However it is shown, the window tells the time left at once, not at the
// next tick up to a minute later; a screen reader reads it with the window.
void Countdown::showEvent(QShowEvent *event)
{
    showTimeLeft();
    QDialog::showEvent(event);
}

// With a tray, its icon brings the window back. Without one, the window
// manager's task list or icon box does: the window is iconified, as a
// hidden window would be lost with the timer still running. A screen
// reader's user finds it there too, not in the tray.
void Countdown::putAway()
{
    if (trayIcon && !keptAsWindow)
        hide();
    else
        showMinimized();
}

// Where it is, iconified or not; shown where the window manager puts it when
// it was hidden.
void Countdown::showWithoutTray()
{
    if (isHidden())
        show();
    shownWithoutTray = true;
}

// Each unit word is translated on its own, in the form its number asks for,
// and the numbers fill the markers in a fixed order, so that a translation may
// put them where its grammar wants.
void Countdown::setLabelText(int hours, int minutes, int seconds)
{
    //: %1 is a number, %2 its unit: Second(s), Minute(s) or Hour(s)
    const QString oneUnit = tr("Shutdown in %1 %2");
    //: The unit after a number of hours in "Shutdown in", in the form that number asks for
    const QString hourWord = tr("Hours", nullptr, hours);
    //: The unit after a number of minutes in "Shutdown in", in the form that number asks for
    const QString minuteWord = tr("Minutes", nullptr, minutes);
    QString text;
    if (seconds > 0)
        //: The unit after a number of seconds in "Shutdown in", in the form that number asks for
        text = oneUnit.arg(QString::number(seconds), tr("Seconds", nullptr, seconds));
    else if (hours <= 0)
        text = oneUnit.arg(QString::number(minutes), minuteWord);
    else if (minutes <= 0)
        text = oneUnit.arg(QString::number(hours), hourWord);
    else
        //: %1 hours, %2 Hour(s), %3 minutes, %4 Minute(s)
        text = tr("Shutdown in %1 %2 %3 %4")
                       .arg(QString::number(hours), hourWord, QString::number(minutes), minuteWord);
    textLabel->setText(text);
}

void Countdown::hideWin()
{
    putAway();
}

void Countdown::changeTimer()
{
    const int left = secondsLeft();
    Timerwin dialog(nullptr);
    // When the time runs out while the dialog is open, the shutdown must not
    // wait for the user to close it.
    connect(this, SIGNAL(accepted()), &dialog, SLOT(reject()));
    dialog.setHours(left / 3600);
    dialog.setMinutes(left % 3600 / 60);
    if (dialog.exec() == QDialog::Accepted) {
        endTime = wallClock(nullptr) + dialog.getHours() * 3600 + dialog.getMinutes() * 60;
        update();
    }
    if (!shutdownDue)
        putAway();
}

void Countdown::trayClicked(QSystemTrayIcon::ActivationReason reason)
{
    if (reason != QSystemTrayIcon::Trigger && reason != QSystemTrayIcon::DoubleClick)
        return;
    if (isVisible() && !isMinimized()) {
        if (keptAsWindow)
            showMinimized();
        else
            hide();
        return;
    }
    // Iconified while the desktop had no tray yet.
    setWindowState(windowState() & ~Qt::WindowMinimized);
    if (!hasBeenShown) {
        showCentred(this);
    } else {
        // Some window managers (i3) place a window anew each time it is
        // mapped; it comes back where it was, also after the user moved it.
        show();
        setGeometry(QRect(lastPosition, size()));
        returning = true;
    }
    keepActive();
}

// Hidden, the window stops being the application's active window at once,
// while Qt keeps it as the focus window until it has seen no focus come back
// for a moment. Shown again within that moment, the focus that comes back
// changes nothing for Qt: the window would have the keys with no focus frame,
// and a screen reader would hear of no active window.
void Countdown::keepActive()
{
    if (QGuiApplication::focusWindow() != windowHandle() || QApplication::activeWindow() == this)
        return;
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QApplication::setActiveWindow(this);
    QT_WARNING_POP
}

// i3 takes a position asked for while it maps the window as that of its
// frame, and puts the window lower by the title bar; once the window is
// mapped, it grants the same request as it is. A move by the user would
// hardly put the frame's corner exactly there.
void Countdown::moveEvent(QMoveEvent *event)
{
    QDialog::moveEvent(event);
    if (!returning || frameGeometry().topLeft() != lastPosition
        || geometry().topLeft() == lastPosition)
        return;
    returning = false;
    setGeometry(QRect(lastPosition, size()));
}

void Countdown::hideEvent(QHideEvent *event)
{
    // The window's own corner: the frame's would put it lower by the title
    // bar on each show, as the frame is gone once the window is hidden.
    lastPosition = geometry().topLeft();
    returning = false;
    hasBeenShown = true;
    QDialog::hideEvent(event);
}

// Closing from the window manager only puts the window away: the countdown goes on.
void Countdown::closeEvent(QCloseEvent *event)
{
    putAway();
    event->ignore();
}

// Escape would reject the dialog, which cancels the timer.
void Countdown::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(e);
}

// The probe goes on while the countdown runs: a tray may go away (a panel
// that crashes or restarts) or come later, and the countdown must never be
// out of sight. Without a tray the window shows itself once the budget is
// spent, at once when the tray was there; with one, the icon takes over.
void Countdown::checkForSysTray()
{
    if (trayIcon) {
        if (trayThere())
            return;
        trayProbesLeft = 0;
        delete trayIcon;
        trayIcon = nullptr;
    } else if (trayThere() && QSystemTrayIcon::isSystemTrayAvailable()) {
        createTrayIcon();
        if (shownWithoutTray && !keptAsWindow)
            hide();
        shownWithoutTray = false;
        return;
    }
    if (trayProbesLeft-- <= 0)
        showWithoutTray();
}

void Countdown::createTrayIcon()
{
    trayIcon = new QSystemTrayIcon(this);
    trayIcon->setObjectName(QStringLiteral("trayIcon"));
    trayIcon->setIcon(unnamedIcon(timerIcon));
    update();
    trayIcon->show();
    connect(trayIcon, SIGNAL(activated(QSystemTrayIcon::ActivationReason)), this,
            SLOT(trayClicked(QSystemTrayIcon::ActivationReason)));
}

// A tray icon may be lost or misplaced when the screen changes; the next probe
// builds a new one.
void Countdown::scrGeomChanged(const QRect &)
{
    if (trayIcon) {
        trayProbesLeft = trayProbeBudget;
        delete trayIcon;
        trayIcon = nullptr;
    }
    trayTimer->start(trayProbeInterval);
}
