// The keyboard, held for the program while the screens are dark.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QWindow>

class QTimer;
class QWidget;

// Holds the X keyboard grab from before the first backdrop window is shown
// until the backdrop is deleted, and hands every key to the modal dialog on
// top (the chooser, its confirmation, the timer dialog). A key typed as the
// screen darkens would otherwise go to whatever had the focus, since nobody
// hands the focus to windows that bypass the window manager.
//
// X reports the grabbed keys on the window that holds the grab. Before Qt
// sees them, they are reported on the dialog on top instead: Qt drops a key
// meant for a window that a modal dialog blocks, and before the chooser has
// the focus that would be every window but the chooser.
//
// The grab lives on a window of its own that bypasses the window manager, so
// it is viewable the moment it is mapped: the backdrop becomes viewable only
// once the window manager has mapped it, the dialogs come and go, and X drops
// a grab whose window is unmapped. While another client holds a grab (a
// window manager finishing the key binding that started the program, an open
// menu), the grab is tried again for a short while.
class KeyboardGrab : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    // Takes the grab for the dialogs that descend from dialogParent.
    explicit KeyboardGrab(QWidget *dialogParent);
    ~KeyboardGrab() override;

    bool isHeld() const;

    // Replaces the X request that takes (grab true) or releases the grab on a
    // window and says whether it was granted: tests set their own, as
    // offscreen windows cannot grab.
    static void setGrabRequest(bool (*request)(QWindow *window, bool grab));

    // How often and how long a refused grab is tried again.
    static constexpr int retryInterval = 10;
    static constexpr int retries = 200;

    // Reports a key that X reports on one of the backdrop's windows or on
    // the grab window on the dialog on top; never filters an event out.
    bool nativeEventFilter(const QByteArray &eventType, void *message, long *result) override;

private slots:
    void tryGrab();

private:
    QWidget *keyReceiver() const;
    bool isOwnWindow(WId window) const;

    QWidget *dialogParent;
    QWindow catcher;
    QTimer *retryTimer;
    int retriesLeft = retries;
    bool held = false;
};
