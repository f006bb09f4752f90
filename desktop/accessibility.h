// The session's accessibility bus (AT-SPI), through which screen readers and
// other assistive technology read and drive the program's windows.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

// Makes sure that Qt's accessibility bridge registers the program on the
// accessibility bus, when the session has one switched on, as the event loop
// first runs, and that the bus sees the program's windows as a screen reader
// needs them (below). Call it once, after the application object exists and
// before any window is made.
//
// A dialog that an Announcer speaks for is an alert; a dialog covered by a
// modal dialog opened over it is not showing, so that the one on top is the
// only window a screen reader tells of; and windows that are hidden or never
// take the focus (the backdrop's) are left out of the program's windows.
void connectAccessibility();

// Whether the session says that a screen reader runs. False without a session
// bus or an accessibility bus; never starts an accessibility bus. It asks on
// the session bus connection that Qt's bridge has already opened.
bool screenReaderEnabled();

// A yes-or-no property of a service on the session bus, asked as above: false
// where the bus, the service or the property is missing. The bus's services
// say what the session has (a screen reader, a tray on D-Bus).
bool sessionBusFlag(const QString &service, const QString &path, const QString &interface,
                    const QString &property);

// Whether a countdown this many seconds before its end says so aloud: each of
// the last three seconds, five, every ten in the last minute, each minute of
// the last five, every five minutes of the last hour and each hour before.
// Often enough to follow, never so often that it drowns what the user does.
bool worthAnnouncing(int seconds);

// Tells a screen reader a short text, whatever has the focus in its window.
// Orca 43 says nothing when a text that is not focused changes, but speaks an
// object of the notification role as it appears: an Announcer is such an
// object, invisible, that appears anew with each text. Inside a dialog Orca
// would first repeat the dialog with its texts; inside an alert, which is what
// a dialog with an Announcer becomes, it does not. It speaks only while its
// window is shown, and outlives it.
class Announcer : public QWidget
{
    Q_OBJECT

public:
    explicit Announcer(QWidget *window);

    void announce(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> home;
};
