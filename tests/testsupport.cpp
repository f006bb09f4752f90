#include "testsupport.h"

#include <QAccessible>
#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

QtMessageHandler previousHandler = nullptr;

void connectWarningHandler(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtWarningMsg && text.startsWith(QLatin1String("QObject::connect:"))) {
        fprintf(stderr, "FAIL: %s\n", qPrintable(text));
        abort();
    }
    previousHandler(type, context, text);
}

} // namespace

void failOnConnectWarnings()
{
    previousHandler = qInstallMessageHandler(connectWarningHandler);
}

QString testHome()
{
    const QByteArray home = qgetenv("FAREWELLDESK_TEST_HOME");
    if (home.isEmpty())
        qFatal("FAREWELLDESK_TEST_HOME is not set: run the test through testing/with-home.sh");
    return QString::fromLocal8Bit(home);
}

// Without a screen reader Qt sends no accessibility events: the objects
// themselves are watched as they appear.
HeardAloud::HeardAloud()
{
    qApp->installEventFilter(this);
}

bool HeardAloud::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Show)
        return false;
    QAccessibleInterface *object = QAccessible::queryAccessibleInterface(watched);
    if (object && object->role() == QAccessible::Notification)
        heard.append(object->text(QAccessible::Name));
    return false;
}

QStringList HeardAloud::texts() const
{
    return heard;
}
