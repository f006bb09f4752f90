#include "icons.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <iterator>

namespace {

// Each list of names, and the name under which the program's own set has it.
struct ActionIcon
{
    const char *list;
    QIcon (*lookUp)();
    const char *ownName;
};

const ActionIcon actionIcons[] = {
        {"logout", logoutIcon, "system-log-out"},      {"reboot", rebootIcon, "xfsm-reboot"},
        {"shutdown", shutdownIcon, "system-shutdown"}, {"suspend", suspendIcon, "system-suspend"},
        {"lock", lockIcon, "system-lock-screen"},      {"clock", clockIcon, "clock"},
};

const char ownTheme[] = ":/icons/farewelldesk";

QImage pixels(const QImage &image)
{
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage ownPixels(const char *name, int size)
{
    return pixels(QImage(QStringLiteral("%1/%2x%2/%3.png").arg(ownTheme).arg(size).arg(name)));
}

} // namespace

// Icon lookup against small themes shipped with the tests (fwtest: alarm,
// system-log-out, system-shutdown; an empty hicolor, as a session that names no
// theme has), against the installed Adwaita theme, and the program's own set
// behind them all.
class TestIcons : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir fallbackDir;
    QTemporaryDir systemThemes;

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
        // Adwaita alone from the system: its hicolor may have some of the names,
        // the one under TEST_ICON_DIR has none.
        QVERIFY(systemThemes.isValid());
        QVERIFY(QFile::link(QStringLiteral("/usr/share/icons/Adwaita"),
                            systemThemes.filePath(QStringLiteral("Adwaita"))));
        QIcon::setThemeSearchPaths(
                {QStringLiteral(TEST_ICON_DIR), systemThemes.path(), QStringLiteral(":/icons")});
        installFallbackIcons();
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
        QTest::newRow("own set answers for a name the theme lacks")
                << QList<QByteArray> {"system-suspend"} << "system-suspend";
        QTest::newRow("no name present gives an empty icon")
                << QList<QByteArray> {"alarm-clock", "timer"} << QString();
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

    void everyListHasAnIcon_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::addColumn<int>("action");
        QTest::addColumn<bool>("own");
        // fwtest has logout, shutdown and "alarm"; Adwaita lacks reboot and suspend.
        const struct
        {
            const char *theme;
            const char *fromTheme[6];
        } sessions[] = {
                {"hicolor", {}},
                {"fwtest", {"logout", "shutdown", "clock"}},
                {"Adwaita", {"logout", "shutdown", "lock", "clock"}},
        };
        for (const auto &session : sessions) {
            for (int action = 0; action < int(std::size(actionIcons)); ++action) {
                const char *list = actionIcons[action].list;
                bool own = true;
                for (const char *name : session.fromTheme)
                    own = own && !(name && qstrcmp(name, list) == 0);
                QTest::addRow("%s, %s", session.theme, list) << session.theme << action << own;
            }
        }
    }

    void everyListHasAnIcon()
    {
        QFETCH(QString, theme);
        QFETCH(int, action);
        QFETCH(bool, own);
        QIcon::setThemeName(theme);
        const ActionIcon &expected = actionIcons[action];
        const QIcon icon = expected.lookUp();
        QVERIFY(!icon.isNull());
        const QImage image = pixels(icon.pixmap(16, 16).toImage());
        QCOMPARE(image.size(), QSize(16, 16));
        QCOMPARE(image == ownPixels(expected.ownName, 16), own);
        if (own)
            QCOMPARE(icon.name(), QString::fromLatin1(expected.ownName));
    }

    void themeWinsWithItsOwnPictures()
    {
        const QImage theirs(
                QStringLiteral(TEST_ICON_DIR "/fwtest/16x16/actions/system-log-out.png"));
        QCOMPARE(pixels(logoutIcon().pixmap(16, 16).toImage()), pixels(theirs));
    }

    // The set lists each fixed size in index.theme: a PNG missing there would
    // leave Qt without the SVG plugin to scale another size.
    void ownSetHasEverySizeOfEveryIcon()
    {
        QStringList names = QDir(QStringLiteral("%1/scalable").arg(ownTheme))
                                    .entryList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name);
        QStringList expectedNames;
        for (const ActionIcon &icon : actionIcons)
            expectedNames << QString::fromLatin1(icon.ownName) + QStringLiteral(".svg");
        expectedNames.sort();
        QCOMPARE(names, expectedNames);

        QSettings index(QStringLiteral("%1/index.theme").arg(ownTheme), QSettings::IniFormat);
        const QStringList directories =
                index.value(QStringLiteral("Icon Theme/Directories")).toStringList();
        QList<int> fixedSizes;
        for (const QString &directory : directories) {
            index.beginGroup(directory);
            if (index.value(QStringLiteral("Type")).toString() == QLatin1String("Fixed"))
                fixedSizes << index.value(QStringLiteral("Size")).toInt();
            index.endGroup();
        }
        QCOMPARE(fixedSizes, (QList<int> {16, 22, 24, 32, 48, 64, 96}));
        for (const int size : fixedSizes) {
            for (const ActionIcon &icon : actionIcons) {
                const QImage image = ownPixels(icon.ownName, size);
                QVERIFY2(image.size() == QSize(size, size),
                         qPrintable(QStringLiteral("%1 at %2").arg(icon.ownName).arg(size)));
            }
        }
    }

    void unnamedIconKeepsThePictures()
    {
        QIcon::setThemeName(QStringLiteral("hicolor"));
        const QIcon named = clockIcon();
        const QIcon unnamed = unnamedIcon(named);
        QVERIFY(!unnamed.isNull());
        QVERIFY(unnamed.name().isEmpty());
        for (const int size : {16, 22, 24, 64}) {
            QVERIFY(unnamed.availableSizes().contains(QSize(size, size)));
            QCOMPARE(pixels(unnamed.pixmap(size, size).toImage()),
                     pixels(named.pixmap(size, size).toImage()));
        }
        QVERIFY(unnamedIcon(QIcon()).isNull());
    }

    void namedListsInAdwaita()
    {
        QIcon::setThemeName(QStringLiteral("Adwaita"));
        QCOMPARE(logoutIcon().name(), QStringLiteral("system-log-out"));
        QCOMPARE(lockIcon().name(), QStringLiteral("system-lock-screen"));
        QVERIFY(!lockIcon().pixmap(48, 48).isNull());
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
