#include "keyboardgrab.h"

#include "accessibility.h"
#include "xfocus.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <xcb/xcb.h>

namespace {

// Only X11 has a keyboard grab; other platforms (the tests' offscreen one)
// would merely warn.
bool setX11KeyboardGrab(QWindow *window, bool grab)
{
    return QGuiApplication::platformName() == QLatin1String("xcb")
           && window->setKeyboardGrabEnabled(grab);
}

bool descendsFrom(const QWidget *widget, const QWidget *ancestor)
{
    for (; widget; widget = widget->parentWidget()) {
        if (widget == ancestor)
            return true;
    }
    return false;
}

bool (*setGrab)(QWindow *, bool) = setX11KeyboardGrab;

xcb_connection_t *programConnection = nullptr;

// The backdrop's windows first, then each dialog above the one it belongs to.
int dialogDepth(const QWidget *window)
{
    if (!qobject_cast<const QDialog *>(window))
        return 0;
    int depth = 0;
    for (; window; window = window->parentWidget())
        ++depth;
    return depth;
}

} // namespace

void KeyboardGrab::setDisplayConnection(xcb_connection_t *connection)
{
    programConnection = connection;
}

void KeyboardGrab::setGrabRequest(bool (*request)(QWindow *, bool))
{
    setGrab = request;
}

KeyboardGrab::KeyboardGrab(QWidget *dialogParent)
    : QObject(dialogParent),
      dialogParent(dialogParent),
      retryTimer(new QTimer(this)),
      releaseTimer(new QTimer(this)),
      focusTimer(new QTimer(this))
{
    retryTimer->setObjectName(QStringLiteral("retryTimer"));
    retryTimer->setSingleShot(true);
    retryTimer->setInterval(retryInterval);
    connect(retryTimer, SIGNAL(timeout()), this, SLOT(tryGrab()));
    releaseTimer->setObjectName(QStringLiteral("releaseTimer"));
    releaseTimer->setSingleShot(true);
    connect(releaseTimer, SIGNAL(timeout()), this, SLOT(release()));
    // Qt tells of a focus lost only once it has settled; what follows then
    // waits for the events already queued, such as the focus coming back.
    focusTimer->setSingleShot(true);
    focusTimer->setInterval(0);
    connect(focusTimer, SIGNAL(timeout()), this, SLOT(takeFocusBack()));
    connect(qApp, SIGNAL(focusWindowChanged(QWindow *)), this, SLOT(focusChanged(QWindow *)));

    catcher.setObjectName(QStringLiteral("keyboardGrabWindow"));
    // One pixel outside the screen, where nobody sees it.
    catcher.setFlags(Qt::Window | Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint
                     | Qt::WindowDoesNotAcceptFocus);
    catcher.setGeometry(-1, -1, 1, 1);
    QCoreApplication::instance()->installNativeEventFilter(this);
    QCoreApplication::instance()->installEventFilter(this);
    // A screen reader reads its own key commands from the keyboard, which no
    // client may hold for it to work: the keyboard is left to it, the dialogs
    // take the focus as they are shown, and held keys still never act.
    if (screenReaderEnabled()) {
        noteKeysAlreadyDown();
        return;
    }
    catcher.show();
    tryGrab();
    releaseTimer->start(longestHold);
}

KeyboardGrab::~KeyboardGrab()
{
    QCoreApplication::instance()->removeNativeEventFilter(this);
    if (held)
        setGrab(&catcher, false);
    // Hiding sends the release to the X server now: a command may run next.
    catcher.hide();
}

bool KeyboardGrab::isHeld() const
{
    return held;
}

void KeyboardGrab::tryGrab()
{
    // A key down before the grab was pressed for somebody else.
    noteKeysAlreadyDown();
    held = setGrab(&catcher, true);
    if (!held && retriesLeft-- > 0)
        retryTimer->start();
}

void KeyboardGrab::release()
{
    retryTimer->stop();
    retriesLeft = 0;
    if (!held)
        return;
    held = !setGrab(&catcher, false);
    // On some desktops (icewm, xfwm4) the grab outlives the release; it never
    // outlives its window's unmapping.
    catcher.hide();
}

// Keys that reach any of the program's windows are handed to the dialog on top.
void KeyboardGrab::focusChanged(QWindow *window)
{
    if (!window) {
        focusTimer->start();
    } else if (keyReceiver() && isOwnWindow(window->winId()) && releaseTimer->isActive()
               && releaseTimer->remainingTime() > settleTime) {
        releaseTimer->start(settleTime);
    }
}

void KeyboardGrab::takeFocusBack()
{
    QWidget *receiver = keyReceiver();
    if (receiver && !focusIsKept())
        giveFocusTo(receiver);
}

// Raises the program's windows, the backdrop first and the dialog on top
// last, and gives that dialog the focus. Through the program's own
// connection, at the current time: Qt's would use the time of the last event
// it saw, which X ignores when a window manager has moved the focus later.
void KeyboardGrab::giveFocusTo(QWidget *receiver)
{
    QWidgetList windows;
    const QWidgetList topLevels = QApplication::topLevelWidgets();
    for (QWidget *widget : topLevels) {
        if (widget->isVisible() && descendsFrom(widget, dialogParent))
            windows.append(widget);
    }
    std::stable_sort(windows.begin(), windows.end(), [](const QWidget *a, const QWidget *b) {
        return dialogDepth(a) < dialogDepth(b);
    });
    for (QWidget *window : qAsConst(windows))
        window->raise();
    if (!programConnection) {
        receiver->activateWindow();
        return;
    }
    xcb_set_input_focus(programConnection, XCB_INPUT_FOCUS_PARENT,
                        xcb_window_t(receiver->internalWinId()), XCB_CURRENT_TIME);
    xcb_flush(programConnection);
}

// Whether the X focus is on one of the program's windows, or was taken by a
// window that no window manager manages (a screen locker's): that one keeps
// it. A managed window lies under the backdrop where the user cannot see it;
// so does the root.
bool KeyboardGrab::focusIsKept() const
{
    if (!programConnection)
        return QGuiApplication::focusWindow() != nullptr;
    const xcb_window_t topLevel = focusedTopLevel(programConnection);
    return topLevel != XCB_NONE
           && (isOwnWindow(topLevel) || !belongsToWindowManager(programConnection, topLevel));
}

// The keys down now, by keycode; false without a connection to ask.
bool KeyboardGrab::readKeysDown(std::bitset<256> &down) const
{
    if (!programConnection)
        return false;
    xcb_query_keymap_reply_t *keymap =
            xcb_query_keymap_reply(programConnection, xcb_query_keymap(programConnection), nullptr);
    if (!keymap)
        return false;
    for (size_t keycode = 0; keycode < down.size(); ++keycode)
        down[keycode] = keymap->keys[keycode / 8] & (1 << keycode % 8);
    free(keymap);
    return true;
}

// A key down that we did not see pressed was pressed for somebody else.
void KeyboardGrab::noteKeysAlreadyDown()
{
    std::bitset<256> down;
    if (readKeysDown(down))
        alreadyDown |= down & ~pressed;
}

// A key up that we saw pressed was released while another window had the
// focus (the Escape that closed the timer dialog, released as the focus
// came back to the chooser): its next press is a fresh one.
void KeyboardGrab::forgetKeysReleasedElsewhere()
{
    std::bitset<256> down;
    if (!readKeysDown(down))
        return;
    pressed &= down;
    alreadyDown &= down;
}

// X sends the auto-repeats of a held key either as presses alone (detectable
// auto-repeat) or as a release and a press with one time stamp. Neither is
// fresh; a release counts only after a press that counted.
bool KeyboardGrab::isFreshKey(uint8_t type, uint8_t keycode, uint32_t time)
{
    if (type == XCB_KEY_PRESS) {
        if (keycode == lastRelease.keycode && time == lastRelease.time) {
            (lastRelease.counted ? pressed : alreadyDown).set(keycode);
            return false;
        }
        if (pressed[keycode] || alreadyDown[keycode])
            return false;
        pressed.set(keycode);
        return true;
    }
    lastRelease = {keycode, time, pressed[keycode]};
    alreadyDown.reset(keycode);
    if (!pressed[keycode])
        return false;
    pressed.reset(keycode);
    return true;
}

// The modal dialog on top, as long as it is one of the backdrop's.
QWidget *KeyboardGrab::keyReceiver() const
{
    QWidget *modal = QApplication::activeModalWidget();
    return modal && descendsFrom(modal, dialogParent) ? modal : nullptr;
}

bool KeyboardGrab::isOwnWindow(WId window) const
{
    if (window == catcher.winId())
        return true;
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.cbegin(), windows.cend(), [this, window](const QWidget *widget) {
        return widget->internalWinId() == window && descendsFrom(widget, dialogParent);
    });
}

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
bool KeyboardGrab::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
#else
bool KeyboardGrab::nativeEventFilter(const QByteArray &eventType, void *message, long *)
#endif
{
    if (eventType != "xcb_generic_event_t")
        return false;
    auto *event = static_cast<xcb_key_press_event_t *>(message);
    const uint8_t type = event->response_type & ~0x80;
    // Not on the focus events of a grab's start or end, which come as the
    // user may be typing.
    const auto *focus = reinterpret_cast<xcb_focus_in_event_t *>(event);
    if (type == XCB_FOCUS_IN && focus->mode == XCB_NOTIFY_MODE_NORMAL && isOwnWindow(focus->event))
        forgetKeysReleasedElsewhere();
    if ((type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) || !isOwnWindow(event->event))
        return false;
    if (!isFreshKey(type, event->detail, event->time))
        return true;
    QWidget *receiver = keyReceiver();
    if (receiver && receiver->internalWinId())
        event->event = static_cast<xcb_window_t>(receiver->internalWinId());
    return false;
}

// A click on any of the program's windows gives the keys to the dialog on
// top: X gives no focus to a window that bypasses the window manager.
bool KeyboardGrab::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::MouseButtonPress || !watched->isWidgetType())
        return false;
    QWidget *receiver = keyReceiver();
    if (receiver && QGuiApplication::focusWindow() != receiver->windowHandle()
        && descendsFrom(static_cast<QWidget *>(watched), dialogParent))
        giveFocusTo(receiver);
    return false;
}
