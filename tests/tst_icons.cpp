#include "icons.h"
#include "testsupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Icon lookup against a small theme shipped with the tests (fwtest: alarm,
// system-log-out, system-shutdown) and against the installed Adwaita theme.
class TestIcons : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir fallbackDir;

    static QIcon lookUp(const QList<QByteArray> &names)
    {
        switch (names.size()) {
        case 1:
            return themeIcon(names[0].constData(), nullptr);
        case 2:
            return themeIcon(names[0].constData(), names[1].constData(), nullptr);
        case 3:
            return themeIcon(names[0].constData(), names[1].constData(), names[2].constData(),
                             nullptr);
        }
        qFatal("lookUp() takes one to three names");
    }

private slots:
    void initTestCase()
    {
        failOnConnectWarnings();
        QVERIFY(fallbackDir.isValid());
        // Qt finds an icon for the empty name in the fallback search paths as
        // the file ".png", and that icon has no name: the case themeIcon must skip.
        QFile nameless(fallbackDir.filePath(QStringLiteral(".png")));
        QVERIFY(QFile::copy(QStringLiteral(TEST_ICON_DIR "/fwtest/16x16/actions/alarm.png"),
                            nameless.fileName()));
        QIcon::setFallbackSearchPaths({fallbackDir.path()});
        QIcon::setThemeSearchPaths(
                {QStringLiteral(TEST_ICON_DIR), QStringLiteral("/usr/share/icons")});
    }

    void init() { QIcon::setThemeName(QStringLiteral("fwtest")); }

    void namelessIconIsProvoked()
    {
        // Guards the premise of the "nameless" rows below.
        QVERIFY(QIcon::hasThemeIcon(QString()));
        const QIcon icon = QIcon::fromTheme(QString());
        QVERIFY(!icon.isNull());
        QVERIFY(icon.name().isEmpty());
    }

    void firstAvailableNameWins_data()
    {
        QTest::addColumn<QList<QByteArray>>("names");
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing first name is skipped")
                << QList<QByteArray> {"alarm-clock", "alarm"} << "alarm";
        QTest::newRow("earlier name wins over later")
                << QList<QByteArray> {"system-log-out", "alarm"} << "system-log-out";
        QTest::newRow("single present name")
                << QList<QByteArray> {"system-shutdown"} << "system-shutdown";
        QTest::newRow("dash fallback is not taken for the asked name")
                << QList<QByteArray> {"alarm-missing", "system-log-out"} << "system-log-out";
        QTest::newRow("nameless icon is skipped") << QList<QByteArray> {"", "alarm"} << "alarm";
        QTest::newRow("no name present gives an empty icon")
                << QList<QByteArray> {"alarm-clock", "timer", "clock"} << QString();
        QTest::newRow("only a nameless icon gives an empty icon")
                << QList<QByteArray> {""} << QString();
    }

    void firstAvailableNameWins()
    {
        QFETCH(QList<QByteArray>, names);
        QFETCH(QString, expected);
        const QIcon icon = lookUp(names);
        QCOMPARE(icon.isNull(), expected.isEmpty());
        QCOMPARE(icon.name(), expected);
    }

    void namedListsInTheSmallTheme()
    {
        QCOMPARE(logoutIcon().name(), QStringLiteral("system-log-out"));
        QCOMPARE(shutdownIcon().name(), QStringLiteral("system-shutdown"));
        QCOMPARE(clockIcon().name(), QStringLiteral("alarm"));
        QVERIFY(rebootIcon().isNull());
        QVERIFY(suspendIcon().isNull());
        QVERIFY(lockIcon().isNull());
    }

    void namedListsInAdwaita()
    {
        QIcon::setThemeName(QStringLiteral("Adwaita"));
        QCOMPARE(logoutIcon().name(), QStringLiteral("system-log-out"));
        QCOMPARE(lockIcon().name(), QStringLiteral("system-lock-screen"));
        QVERIFY(!lockIcon().pixmap(48, 48).isNull());
        // Adwaita has none of the reboot or suspend names.
        QVERIFY(rebootIcon().isNull());
        QVERIFY(suspendIcon().isNull());
        // "alarm-symbolic" exists only as SVG; without Qt's SVG icon engine the
        // lookup must go on to "appointment-soon".
        const QString clock = clockIcon().name();
        const bool svg = QIcon::hasThemeIcon(QStringLiteral("alarm-symbolic"));
        QCOMPARE(clock,
                 svg ? QStringLiteral("alarm-symbolic") : QStringLiteral("appointment-soon"));
    }

    void eachCallAsksTheCurrentTheme()
    {
        QCOMPARE(clockIcon().name(), QStringLiteral("alarm"));
        QIcon::setThemeName(QStringLiteral("Adwaita"));
        QVERIFY(clockIcon().name() != QStringLiteral("alarm"));
        QIcon::setThemeName(QStringLiteral("fwtest"));
        QCOMPARE(clockIcon().name(), QStringLiteral("alarm"));
    }
};

QTEST_MAIN(TestIcons)
#include "tst_icons.moc"
