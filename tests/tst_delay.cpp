#include "accessibility.h"
#include "delay.h"
#include "englishplurals.h"
#include "testsupport.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMetaMethod>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTranslator>

#include <memory>

class TestDelay : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QWidget> parent;
    QTranslator english;

    Delay *makeDelay(int seconds, const QString &message = QStringLiteral("Logging out in"))
    {
        return new Delay(seconds, QStringLiteral("Logout"), message, QIcon(), parent.get());
    }

    static QString labelText(Delay *delay) { return delay->findChild<QLabel *>()->text(); }

    static void tick(Delay *delay, int count)
    {
        for (int i = 0; i < count; ++i)
            QVERIFY(QMetaObject::invokeMethod(delay, "update"));
    }

private slots:
    // The English texts as the program shows them, with its English catalogue.
    void initTestCase()
    {
        failOnConnectWarnings();
        QVERIFY(installEnglishPlurals(english));
        connectAccessibility();
    }

    void init()
    {
        parent.reset(new QWidget);
        parent->resize(333, 221);
        parent->show();
    }

    void cleanup() { parent.reset(); }

    void textAtEachTick_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("first text") << 10 << 0 << "Logging out in 10 seconds" << false;
        QTest::newRow("first tick") << 10 << 1 << "Logging out in 9 seconds" << false;
        QTest::newRow("eighth tick, plural for 2")
                << 10 << 8 << "Logging out in 2 seconds" << false;
        QTest::newRow("ninth tick, singular for 1")
                << 10 << 9 << "Logging out in 1 second" << false;
        QTest::newRow("tenth tick leaves the text")
                << 10 << 10 << "Logging out in 1 second" << false;
        QTest::newRow("eleventh tick accepts") << 10 << 11 << "Logging out in 1 second" << true;
        QTest::newRow("singular from the start") << 1 << 0 << "Logging out in 1 second" << false;
        QTest::newRow("one second, second tick accepts")
                << 1 << 2 << "Logging out in 1 second" << true;
        QTest::newRow("plural above ten") << 21 << 0 << "Logging out in 21 seconds" << false;
        QTest::newRow("plural for 11") << 12 << 1 << "Logging out in 11 seconds" << false;
        QTest::newRow("zero seconds: empty label") << 0 << 0 << "" << false;
        QTest::newRow("zero seconds: first tick accepts") << 0 << 1 << "" << true;
        QTest::newRow("negative seconds: first tick accepts") << -5 << 1 << "" << true;
        QTest::newRow("lowest int: first tick accepts") << INT_MIN << 1 << "" << true;
    }

    void textAtEachTick()
    {
        QFETCH(int, seconds);
        QFETCH(int, ticks);
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        Delay *delay = makeDelay(seconds);
        QSignalSpy acceptedSpy(delay, SIGNAL(accepted()));
        tick(delay, ticks);
        QCOMPARE(labelText(delay), text);
        QCOMPARE(acceptedSpy.count(), accepted ? 1 : 0);
        QCOMPARE(delay->isVisible(), !accepted);
    }

    void placeMarkersInTheMessageTakePart()
    {
        Delay *delay = makeDelay(3, QStringLiteral("In %2 (%1)"));
        QCOMPARE(labelText(delay), QStringLiteral("In seconds (3) 3 seconds"));
    }

    void execResult_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("result");
        QTest::newRow("action button accepts") << "action" << int(QDialog::Accepted);
        QTest::newRow("Cancel rejects") << "cancel" << int(QDialog::Rejected);
        QTest::newRow("Escape rejects") << "escape" << int(QDialog::Rejected);
        QTest::newRow("close request hides") << "close" << int(QDialog::Rejected);
        QTest::newRow("the countdown running out accepts") << "ticks" << int(QDialog::Accepted);
    }

    void execResult()
    {
        QFETCH(QString, how);
        QFETCH(int, result);
        Delay *delay = makeDelay(10);
        QSignalSpy rejectedSpy(delay, SIGNAL(rejected()));
        bool closed = true;
        answerModal<Delay>([&](Delay *shown) {
            QCOMPARE(shown, delay);
            if (how == QLatin1String("action"))
                QTest::mouseClick(delay->findChild<QPushButton *>("actionButton"), Qt::LeftButton);
            else if (how == QLatin1String("cancel"))
                QTest::mouseClick(delay->findChild<QPushButton *>("cancelButton"), Qt::LeftButton);
            else if (how == QLatin1String("escape"))
                QTest::keyClick(delay, Qt::Key_Escape);
            else if (how == QLatin1String("close"))
                closed = delay->close();
            else
                tick(delay, 11);
        });
        QCOMPARE(delay->exec(), result);
        QVERIFY(!delay->isVisible());
        // A close request hides the dialog without going through reject().
        if (how == QLatin1String("close")) {
            QVERIFY(!closed);
            QCOMPARE(rejectedSpy.count(), 0);
        }
        // The action button works at any moment: here, before the first tick.
        if (how == QLatin1String("action"))
            QCOMPARE(labelText(delay), QStringLiteral("Logging out in 10 seconds"));
    }

    void slotOrder()
    {
        const QMetaObject &meta = Delay::staticMetaObject;
        QStringList slotNames;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i)
            slotNames << QString::fromLatin1(meta.method(i).methodSignature());
        QCOMPARE(slotNames, QStringList({"update()", "closeEvent(QCloseEvent*)",
                                         "keyPressEvent(QKeyEvent*)"}));
    }

    void otherKeysDoNotReject()
    {
        Delay *delay = makeDelay(10);
        QSignalSpy rejectedSpy(delay, SIGNAL(rejected()));
        QTest::keyClick(delay, Qt::Key_A);
        QTest::keyClick(delay, Qt::Key_Tab);
        QCOMPARE(rejectedSpy.count(), 0);
        QVERIFY(delay->isVisible());
    }

    void texts()
    {
        Delay *delay = new Delay(10, QStringLiteral("Reboot system"),
                                 QStringLiteral("Rebooting in"), QIcon(), parent.get());
        QCOMPARE(delay->findChild<QPushButton *>("actionButton")->text(),
                 QStringLiteral("Reboot system"));
        QCOMPARE(delay->findChild<QPushButton *>("cancelButton")->text(), QStringLiteral("Cancel"));
        QVERIFY(delay->isModal());
        const Qt::WindowFlags flags = Qt::Dialog | Qt::X11BypassWindowManagerHint
                                      | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
        QCOMPARE(delay->windowFlags() & flags, flags);
    }

    // A screen reader reads the first text with the alert as it appears; then
    // it hears the count at five and each of the last three seconds, and
    // nothing twice. The chooser it covers is no other window to tell of.
    void toldAloudAsAnAlert()
    {
        QDialog chooser;
        chooser.resize(333, 221);
        chooser.show();
        HeardAloud heard;
        auto *delay = new Delay(10, QStringLiteral("Logout"), QStringLiteral("Logging out in"),
                                QIcon(), &chooser);
        QAccessibleInterface *window = QAccessible::queryAccessibleInterface(delay);
        QCOMPARE(window->role(), QAccessible::AlertMessage);
        QCOMPARE(window->text(QAccessible::Description), QString());
        QVERIFY(QAccessible::queryAccessibleInterface(&chooser)->state().invisible);
        tick(delay, 10);
        QCOMPARE(heard.texts(),
                 QStringList({"Logging out in 5 seconds", "Logging out in 3 seconds",
                              "Logging out in 2 seconds", "Logging out in 1 second"}));
        delay->reject();
        QVERIFY(!QAccessible::queryAccessibleInterface(&chooser)->state().invisible);
        tick(delay, 1);
        QCOMPARE(heard.texts().size(), 4);
    }

    void takesTheParentsSizeCentredOnThePrimaryScreen_data()
    {
        QTest::addColumn<QSize>("parentSize");
        QTest::newRow("odd size") << QSize(333, 221);
        QTest::newRow("larger than its content needs") << QSize(640, 480);
        QTest::newRow("narrower than its content needs: keeps centred") << QSize(40, 300);
    }

    void takesTheParentsSizeCentredOnThePrimaryScreen()
    {
        QFETCH(QSize, parentSize);
        parent->resize(parentSize);
        parent->move(5, 7);
        Delay *delay = makeDelay(10);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QSize size = parentSize.expandedTo(delay->minimumSizeHint());
        const QPoint topLeft(screen.x() + screen.width() / 2 - size.width() / 2,
                             screen.y() + screen.height() / 2 - size.height() / 2);
        QCOMPARE(delay->geometry(), QRect(topLeft, size));
        if (parentSize.width() < delay->minimumSizeHint().width())
            QCOMPARE(size.height(), parentSize.height());
        else
            QCOMPARE(size, parentSize);
    }
};

QTEST_MAIN(TestDelay)
#include "tst_delay.moc"
