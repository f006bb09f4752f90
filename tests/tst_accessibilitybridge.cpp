// The accessibility bus's start-up filter (desktop/accessibility.cpp) knows
// Qt's AT-SPI bridge by its class name and the name of its bus connection,
// and works around how its two slots switch it on: a queued call to
// enabledChanged(bool), and the bus address's answer, connectA11yBus(QString).
// Qt does not export the bridge, so the names are looked for in the library
// that holds it. This fails when a Qt release renames or moves them, so that
// the filter's version guard is looked at again.
#include <QFile>
#include <QLibraryInfo>
#include <QTest>

class TestAccessibilityBridge : public QObject
{
    Q_OBJECT

private:
    // Qt 5 builds the bridge into its X11 platform's library, Qt 6 into its
    // GUI library.
    static QString bridgeLibrary()
    {
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
        return QLibraryInfo::path(QLibraryInfo::LibrariesPath) + QLatin1String("/libQt6Gui.so.6");
#else
        return QLibraryInfo::location(QLibraryInfo::LibrariesPath)
               + QLatin1String("/libQt5XcbQpa.so.5");
#endif
    }

private slots:
    void bridgeIsAsTheFilterKnowsIt_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("class") << QByteArray("QSpiAccessibleBridge");
        QTest::newRow("bus connection") << QByteArray("a11y");
        QTest::newRow("slot switching it on") << QByteArray("enabledChanged");
        QTest::newRow("slot taking the bus address") << QByteArray("connectA11yBus");
    }

    void bridgeIsAsTheFilterKnowsIt()
    {
        QFETCH(QByteArray, name);
        QFile library(bridgeLibrary());
        QVERIFY2(library.open(QIODevice::ReadOnly), qPrintable(library.fileName()));
        // Whole, as the string table holds it, with its terminating NUL.
        QVERIFY2(library.readAll().contains(name + '\0'), name.constData());
    }
};

QTEST_GUILESS_MAIN(TestAccessibilityBridge)
#include "tst_accessibilitybridge.moc"
