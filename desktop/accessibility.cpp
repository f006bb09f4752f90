#include "accessibility.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QEvent>

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

void connectAccessibility()
{
#ifdef FAREWELLDESK_BRIDGE_START_FILTER
    QCoreApplication *app = QCoreApplication::instance();
    app->installEventFilter(new BridgeStartFilter(app));
#endif
    QAccessible::isActive(); // creates the bridge, unless it exists already
}

// The call fails at once, rather than start a bus launcher, where the
// session runs none.
bool screenReaderEnabled()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
            QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QStringLiteral("org.a11y.Status") << QStringLiteral("ScreenReaderEnabled");
    get.setAutoStartService(false);
    const QDBusMessage reply = bus.call(get, QDBus::Block, answerTimeout);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
           && qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant().toBool();
}

#else

// Qt without its D-Bus module has no accessibility bridge on X11 either.
void connectAccessibility() { }

bool screenReaderEnabled()
{
    return false;
}

#endif
