#include "keyboardgrab.h"

#include "accessibility.h"

#include <QApplication>
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

xcb_connection_t *displayConnection = nullptr;

} // namespace

void KeyboardGrab::setDisplayConnection(xcb_connection_t *connection)
{
    displayConnection = connection;
}

void KeyboardGrab::setGrabRequest(bool (*request)(QWindow *, bool))
{
    setGrab = request;
}

KeyboardGrab::KeyboardGrab(QWidget *dialogParent)
    : QObject(dialogParent),
      dialogParent(dialogParent),
      retryTimer(new QTimer(this)),
      idleTimer(new QTimer(this))
{
    retryTimer->setObjectName(QStringLiteral("retryTimer"));
    retryTimer->setSingleShot(true);
    retryTimer->setInterval(retryInterval);
    connect(retryTimer, SIGNAL(timeout()), this, SLOT(tryGrab()));
    idleTimer->setSingleShot(true);
    idleTimer->setTimerType(Qt::PreciseTimer); // a coarse one may end 5 % early
    idleTimer->setInterval(idleTime);
    connect(idleTimer, SIGNAL(timeout()), this, SLOT(releaseWhenIdle()));

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
    idleTimer->start();
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

// A locker's grab must not find ours. Keys typed afterwards reach the dialog
// on top through the X focus, which windows that bypass the window manager
// get from nobody else.
void KeyboardGrab::releaseWhenIdle()
{
    retryTimer->stop();
    retriesLeft = 0;
    if (!held)
        return;
    if (QWidget *receiver = keyReceiver())
        receiver->activateWindow();
    held = !setGrab(&catcher, false);
    // On some desktops (icewm, xfwm4) the grab outlives the release; it never
    // outlives its window's unmapping.
    catcher.hide();
}

void KeyboardGrab::noteKeysAlreadyDown()
{
    if (!displayConnection)
        return;
    xcb_query_keymap_reply_t *keymap =
            xcb_query_keymap_reply(displayConnection, xcb_query_keymap(displayConnection), nullptr);
    if (!keymap)
        return;
    for (size_t keycode = 0; keycode < alreadyDown.size(); ++keycode) {
        if (keymap->keys[keycode / 8] & (1 << keycode % 8) && !pressed[keycode])
            alreadyDown.set(keycode);
    }
    free(keymap);
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
    if ((type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) || !isOwnWindow(event->event))
        return false;
    if (!isFreshKey(type, event->detail, event->time))
        return true;
    QWidget *receiver = keyReceiver();
    if (receiver && receiver->internalWinId())
        event->event = static_cast<xcb_window_t>(receiver->internalWinId());
    return false;
}

// A key or a click tells that the user is there: the keyboard is kept a while longer.
bool KeyboardGrab::eventFilter(QObject *, QEvent *event)
{
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress)
        && idleTimer->isActive())
        idleTimer->start();
    return false;
}
