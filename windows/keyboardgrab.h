// The keyboard, held for the program while the screens are dark.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QWindow>

#include <bitset>

class QTimer;
class QWidget;
struct xcb_connection_t;

// Keeps the keys with the modal dialog on top (the chooser, its confirmation,
// the timer dialog) while the screens are dark.
//
// At first it holds the X keyboard grab, from before the first backdrop
// window is shown until the dialog on top has had the X focus for
// settleTime, and never longer than longestHold: a key typed as the screen
// darkens would otherwise go to whatever had the focus, and a window manager
// may still move the focus as it sees the new windows. Only for those first
// moments, as a screen locker needs the keyboard too and gives up when it
// cannot have it (slock within 0.75 s): a lid closed right after the chooser
// appeared must still lock the session.
//
// X reports the grabbed keys on the window that holds the grab. Before Qt
// sees them, they are reported on the dialog on top instead: Qt drops a key
// meant for a window that a modal dialog blocks, and before the chooser has
// the focus that would be every window but the chooser.
//
// The grab lives on a window of its own that bypasses the window manager, so
// it is viewable the moment it is mapped, and X drops a grab whose window is
// unmapped. While another client holds a grab (a window manager finishing
// the key binding that started the program, an open menu), the grab is tried
// again for a short while.
//
// Afterwards the keys reach the dialog on top through the X focus, which no
// window manager gives or keeps for windows that bypass it. So when the focus
// goes to a window the user cannot see (Alt+Tab to a terminal, a click on the
// backdrop, a window mapped by another program), the program's windows are
// raised and the focus taken back; a click on any of them gives the keys to
// the dialog on top. A window that bypasses the window manager too, as a
// screen locker's does, keeps the focus it takes.
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

    // How long, in milliseconds, the grab is held once the dialog on top has
    // the focus, and at most.
    static constexpr int settleTime = 250;
    static constexpr int longestHold = 1000;
    // How often a refused grab is tried again: as long as it may be held.
    static constexpr int retryInterval = 10;
    static constexpr int retries = longestHold / retryInterval;

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
    void release();
    void focusChanged(QWindow *window);
    void takeFocusBack();

private:
    QWidget *keyReceiver() const;
    bool isOwnWindow(WId window) const;
    bool focusIsKept() const;
    void giveFocusTo(QWidget *receiver);
    bool isFreshKey(uint8_t type, uint8_t keycode, uint32_t time);
    bool readKeysDown(std::bitset<256> &down) const;
    void noteKeysAlreadyDown();
    void forgetKeysReleasedElsewhere();

    QWidget *dialogParent;
    QWindow catcher;
    QTimer *retryTimer;
    QTimer *releaseTimer;
    QTimer *focusTimer;
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
