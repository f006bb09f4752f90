#include "keyboardgrab.h"

#include "accessibility.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <algorithm>
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

} // namespace

void KeyboardGrab::setGrabRequest(bool (*request)(QWindow *, bool))
{
    setGrab = request;
}

KeyboardGrab::KeyboardGrab(QWidget *dialogParent)
    : QObject(dialogParent), dialogParent(dialogParent), retryTimer(new QTimer(this))
{
    // A screen reader reads its own key commands from the keyboard, which no
    // client may hold for it to work; the dialogs still take the focus as
    // they are shown.
    if (screenReaderEnabled())
        return;
    retryTimer->setSingleShot(true);
    retryTimer->setInterval(retryInterval);
    connect(retryTimer, SIGNAL(timeout()), this, SLOT(tryGrab()));

    catcher.setObjectName(QStringLiteral("keyboardGrabWindow"));
    // One pixel outside the screen, where nobody sees it.
    catcher.setFlags(Qt::Window | Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint
                     | Qt::WindowDoesNotAcceptFocus);
    catcher.setGeometry(-1, -1, 1, 1);
    catcher.show();
    QCoreApplication::instance()->installNativeEventFilter(this);
    tryGrab();
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
    held = setGrab(&catcher, true);
    if (!held && retriesLeft-- > 0)
        retryTimer->start();
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

bool KeyboardGrab::nativeEventFilter(const QByteArray &eventType, void *message, long *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    auto *event = static_cast<xcb_key_press_event_t *>(message);
    const uint8_t type = event->response_type & ~0x80;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    QWidget *receiver = keyReceiver();
    if (receiver && receiver->internalWinId() && isOwnWindow(event->event))
        event->event = static_cast<xcb_window_t>(receiver->internalWinId());
    return false;
}
