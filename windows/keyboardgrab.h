// The keyboard, held for the program while the screens are dark.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QWindow>

#include <bitset>

class QTimer;
class QWidget;
struct xcb_connection_t;

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
//
// A screen locker needs the keyboard too, and gives up when it cannot have
// it: once the user has left the dialogs alone for idleTime, the grab is let
// go and the X focus given to the dialog on top, where keys go on arriving.
//
// Only a fresh press acts: the auto-repeats of a held key, and a key that was
// already down when the program started (the Enter that started it from a
// launcher), never reach a dialog.
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

    // The connection to the program's X display on which the keys already
    // down are asked for; without one, every key is taken as up at first.
    static void setDisplayConnection(xcb_connection_t *connection);

    // How often and how long a refused grab is tried again.
    static constexpr int retryInterval = 10;
    static constexpr int retries = 200;
    // How long, in milliseconds, the dialogs may wait for a key or a click
    // before the grab is let go.
    static constexpr int idleTime = 10000;

    // Reports a key that X reports on one of the backdrop's windows or on
    // the grab window on the dialog on top; filters out the keys that must
    // not act.
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;
#else
    bool nativeEventFilter(const QByteArray &eventType, void *message, long *result) override;
#endif
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void tryGrab();
    void releaseWhenIdle();

private:
    QWidget *keyReceiver() const;
    bool isOwnWindow(WId window) const;
    bool isFreshKey(uint8_t type, uint8_t keycode, uint32_t time);
    void noteKeysAlreadyDown();

    QWidget *dialogParent;
    QWindow catcher;
    QTimer *retryTimer;
    QTimer *idleTimer;
    int retriesLeft = retries;
    bool held = false;
    // By keycode: pressed while we watched, and not released yet.
    std::bitset<256> pressed;
    // By keycode: down before we could see the press, and not released yet.
    std::bitset<256> alreadyDown;
    struct
    {
        uint8_t keycode;
        uint32_t time;
        bool counted;
    } lastRelease = {0, 0, false};
};
