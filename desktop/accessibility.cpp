#include "accessibility.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMessageBox>
#include <QWindow>

#ifdef FAREWELLDESK_DBUS
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

namespace {

// Answers come within a millisecond; a launcher that hangs must not keep the
// screens from darkening for long.
constexpr int answerTimeout = 1000;

// Qt's AT-SPI bridge learns the accessibility bus's address from the session
// bus, asking as it is created, and connects when the answer is delivered; it
// then switches itself on. It also queues a call to itself that switches it on
// at once, for the case where it connected while it was being created (the
// address then comes from the X server). Delivered before the answer, as it
// is unless the program is slow to start, that call builds the bridge on a
// connection that does not exist yet, and the program never appears on the
// bus: the bridge does not build anything a second time. This filter drops
// that call when the bridge is not connected yet; the answer switches it on.
// It leans on the bridge's class name and its connection's name, as Qt 5.15
// to 6.4 have them (tst_accessibilitybridge fails when they move): with
// another Qt, the bridge is left as it is.
#if QT_VERSION < QT_VERSION_CHECK(6, 5, 0)
#define FAREWELLDESK_BRIDGE_START_FILTER
class BridgeStartFilter : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *receiver, QEvent *event) override
    {
        if (event->type() != QEvent::MetaCall || !receiver->inherits("QSpiAccessibleBridge"))
            return false;
        QCoreApplication::instance()->removeEventFilter(this);
        deleteLater();
        return !QDBusConnection(QStringLiteral("a11y")).isConnected();
    }
};
#endif

} // namespace

static void startBridge()
{
#ifdef FAREWELLDESK_BRIDGE_START_FILTER
    QCoreApplication *app = QCoreApplication::instance();
    app->installEventFilter(new BridgeStartFilter(app));
#endif
    QAccessible::isActive(); // creates the bridge, unless it exists already
}

// The call fails at once, rather than start a service, where the session
// runs none.
bool sessionBusFlag(const QString &service, const QString &path, const QString &interface,
                    const QString &property)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
            service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("Get"));
    get << interface << property;
    get.setAutoStartService(false);
    const QDBusMessage reply = bus.call(get, QDBus::Block, answerTimeout);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
           && qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant().toBool();
}

#else

// Qt without its D-Bus module has no accessibility bridge on X11 either.
static void startBridge() { }

bool sessionBusFlag(const QString &, const QString &, const QString &, const QString &)
{
    return false;
}

#endif

bool screenReaderEnabled()
{
    return sessionBusFlag(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                          QStringLiteral("org.a11y.Status"), QStringLiteral("ScreenReaderEnabled"));
}

namespace {

// Set on a window that an Announcer speaks for.
const char announcingWindow[] = "farewelldeskAnnouncing";

class NotificationInterface : public QAccessibleWidget
{
public:
    explicit NotificationInterface(QWidget *widget)
        : QAccessibleWidget(widget, QAccessible::Notification)
    { }
};

class DialogInterface : public QAccessibleWidget
{
public:
    explicit DialogInterface(QWidget *dialog) : QAccessibleWidget(dialog, QAccessible::Dialog) { }

    QAccessible::Role role() const override
    {
        return widget()->property(announcingWindow).toBool() ? QAccessible::AlertMessage
                                                             : QAccessible::Dialog;
    }

    // The confirmation lies exactly over the chooser: a screen reader would
    // count the chooser as a second dialog waiting behind it.
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        const QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal != widget() && modal->parentWidget()
            && modal->parentWidget()->window() == widget())
            state.invisible = true;
        return state;
    }
};

// Tells the screen reader that a dialog is covered as a modal dialog opened
// over it shows, and uncovered as that one hides: it keeps what it has
// learnt of a window's state until it is told of a change.
class CoverWatcher : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show && event->type() != QEvent::Hide)
            return false;
        auto *dialog = qobject_cast<QDialog *>(watched);
        if (!dialog || !dialog->isWindow() || !dialog->isModal() || !dialog->parentWidget())
            return false;
        QAccessibleEvent covered(dialog->parentWidget()->window(),
                                 event->type() == QEvent::Show ? QAccessible::ObjectHide
                                                               : QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&covered);
        return false;
    }
};

// Qt's own list of the application's windows, less those that are hidden
// (the backdrop's own, which only holds its pictures; an Announcer that
// outlived its window) or never take the focus (the pictures of the screens).
class ApplicationInterface : public QAccessibleApplication
{
public:
    int childCount() const override { return windows().size(); }

    QAccessibleInterface *child(int index) const override
    {
        return QAccessible::queryAccessibleInterface(windows().value(index));
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return windows().indexOf(child->object());
    }

private:
    static QObjectList windows()
    {
        QObjectList list;
        const QWindowList all = QGuiApplication::topLevelWindows();
        for (QWindow *window : all) {
            if (window->type() == Qt::Popup || window->type() == Qt::Desktop || !window->isVisible()
                || window->flags().testFlag(Qt::WindowDoesNotAcceptFocus))
                continue;
            QAccessibleInterface *root = window->accessibleRoot();
            if (root && root->object())
                list.append(root->object());
        }
        return list;
    }
};

QAccessibleInterface *programInterface(const QString &className, QObject *object)
{
    if (object == qApp)
        return new ApplicationInterface;
    if (className == QLatin1String("Announcer"))
        return new NotificationInterface(static_cast<QWidget *>(object));
    // Qt has an interface of its own for its message boxes.
    auto *dialog = qobject_cast<QDialog *>(object);
    if (dialog && dialog->isWindow() && !qobject_cast<QMessageBox *>(dialog))
        return new DialogInterface(dialog);
    return nullptr;
}

} // namespace

void connectAccessibility()
{
    QAccessible::installFactory(programInterface);
    qApp->installEventFilter(new CoverWatcher(qApp));
    startBridge();
}

bool worthAnnouncing(int seconds)
{
    if (seconds <= 3 || seconds == 5)
        return seconds > 0;
    if (seconds <= 60)
        return seconds % 10 == 0;
    if (seconds <= 5 * 60)
        return seconds % 60 == 0;
    if (seconds <= 60 * 60)
        return seconds % (5 * 60) == 0;
    return seconds % (60 * 60) == 0;
}

Announcer::Announcer(QWidget *window) : QWidget(window), home(window)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(0, 0);
    hide();
    window->setProperty(announcingWindow, true);
    window->installEventFilter(this);
}

// Each text appears anew, also one that was said before.
void Announcer::announce(const QString &text)
{
    if (!home || !home->isVisible())
        return;
    hide();
    setAccessibleName(text);
    show();
}

// Shown with its window, it would say its last text again, when it may be
// stale: it stays hidden until the next one. While its window is hidden it
// stays out of it, so that it outlives the window: Qt 5 gives the
// accessibility id of an object that is gone to the next object that needs
// one, and a screen reader would still take that one for a notification and
// read it out as it appears. One small hidden widget is left for each
// announcing window that the program deletes.
bool Announcer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == home && event->type() == QEvent::Hide) {
        hide();
        setParent(nullptr);
    } else if (watched == home && event->type() == QEvent::Show)
        setParent(home);
    return QWidget::eventFilter(watched, event);
}
