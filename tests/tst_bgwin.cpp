#include "bgwin.h"
#include "rootcapture.h"
#include "testsupport.h"

#include <QDialog>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTest>

#include <algorithm>
#include <random>

class TestBgWin : public QObject
{
    Q_OBJECT

private:
    static QList<QLabel *> backdropLabels(BgWin *backdrop)
    {
        return backdrop->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
    }

    static QImage noise(QSize size, unsigned seed)
    {
        QImage image(size, QImage::Format_ARGB32);
        std::mt19937 random(seed);
        for (int y = 0; y < size.height(); ++y) {
            auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
            std::generate(line, line + size.width(), random);
        }
        return image;
    }

private slots:
    void initTestCase() { failOnConnectWarnings(); }

    void dimmedPixel_data()
    {
        QTest::addColumn<QImage::Format>("format");
        QTest::addColumn<uint>("pixel");
        QTest::addColumn<uint>("dimmed");
        QTest::newRow("0x12/0x34/0x56") << QImage::Format_RGB32 << 0xff123456u << 0xff040d15u;
        QTest::newRow("white") << QImage::Format_RGB32 << 0xffffffffu << 0xff3f3f3fu;
        QTest::newRow("opaque black stays black")
                << QImage::Format_RGB32 << 0xff000000u << 0xff000000u;
        QTest::newRow("remainders are dropped")
                << QImage::Format_RGB32 << 0xff070503u << 0xff010100u;
        QTest::newRow("channels do not bleed into each other")
                << QImage::Format_RGB32 << 0xff030303u << 0xff000000u;
        QTest::newRow("ARGB, translucent becomes opaque")
                << QImage::Format_ARGB32 << 0x80123456u << 0xff040d15u;
        QTest::newRow("ARGB, transparent becomes opaque black")
                << QImage::Format_ARGB32 << 0x00000000u << 0xff000000u;
        // Premultiplied pixels are read as plain ARGB: 0x80808080 is white at half alpha.
        QTest::newRow("premultiplied is read unpremultiplied")
                << QImage::Format_ARGB32_Premultiplied << 0x80808080u << 0xff3f3f3fu;
        QTest::newRow("16-bit is converted first")
                << QImage::Format_RGB16 << 0xffffffffu << 0xff3f3f3fu;
    }

    void dimmedPixel()
    {
        QFETCH(QImage::Format, format);
        QFETCH(uint, pixel);
        QFETCH(uint, dimmed);
        QImage image(3, 2, format);
        if (format == QImage::Format_RGB16)
            image.fill(QColor::fromRgba(pixel));
        else
            image.fill(pixel); // the raw value, also for the premultiplied format
        dimImage(image);
        QCOMPARE(image.format(), QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                QCOMPARE(QString::number(image.pixel(x, y), 16), QString::number(dimmed, 16));
    }

    // Every pixel of rows of many widths, against the rule pixel by pixel:
    // the vectorised loop must not skip or spill over at the end of a line.
    void everyPixelOfEveryLine_data()
    {
        QTest::addColumn<int>("width");
        for (int width : {1, 15, 16, 17, 33, 1921})
            QTest::newRow(qPrintable(QStringLiteral("width %1").arg(width))) << width;
    }

    void everyPixelOfEveryLine()
    {
        QFETCH(int, width);
        // Lines padded to 32-bit boundaries would not show a spill-over; a
        // larger image with a border marks the bytes past each line instead.
        QImage big = noise(QSize(width + 1, 5), width);
        const QImage original = big.copy();
        QImage view(big.bits(), width, big.height(), big.bytesPerLine(), QImage::Format_ARGB32);
        dimImage(view);
        for (int y = 0; y < big.height(); ++y) {
            for (int x = 0; x < width; ++x) {
                const QRgb in = original.pixel(x, y);
                const QRgb expected = qRgba(qRed(in) / 4, qGreen(in) / 4, qBlue(in) / 4, 255);
                QCOMPARE(big.pixel(x, y), expected);
            }
            QCOMPARE(big.pixel(width, y), original.pixel(width, y));
        }
    }

    void nullImageStaysNull()
    {
        QImage image;
        dimImage(image);
        QVERIFY(image.isNull());
    }

    void oneLabelPerScreen()
    {
        BgWin backdrop;
        const QList<QScreen *> screens = QGuiApplication::screens();
        // Set by the run on a display of several monitors.
        if (qEnvironmentVariableIsSet("FAREWELLDESK_TEST_SCREENS"))
            QCOMPARE(screens.size(), qEnvironmentVariableIntValue("FAREWELLDESK_TEST_SCREENS"));
        const QList<QLabel *> labels = backdropLabels(&backdrop);
        QCOMPARE(labels.size(), screens.size());
        QVERIFY(!backdrop.isVisible());
        for (int index = 0; index < labels.size(); ++index) {
            QLabel *label = labels.at(index);
            QCOMPARE(label->pos(), screens.at(index)->geometry().topLeft());
            QCOMPARE(label->windowFlags(), Qt::Window | Qt::FramelessWindowHint
                                                   | Qt::WindowStaysOnTopHint
                                                   | Qt::X11BypassWindowManagerHint);
            QVERIFY(label->isVisible());
            QVERIFY(label->isFullScreen());
            QCOMPARE(label->parent(), &backdrop);
            QCOMPARE(backdrop.centralWidget() == label, index == 0);
        }
    }

    // Every pixel of the first screen as the screen shows it, read back
    // before and after. On X the pixels travel through the X server, which
    // the tests run again without MIT-SHM and at 16-bit colour; offscreen
    // grabs what its own windows show.
    void showsTheScreenDimmed()
    {
        QScreen *screen = QGuiApplication::primaryScreen();
        const QSize size = screen->geometry().size();
        QLabel desktop(nullptr, Qt::FramelessWindowHint);
        desktop.setPixmap(QPixmap::fromImage(noise(size, 1)));
        desktop.setGeometry(screen->geometry());
        desktop.show();
        QVERIFY(QTest::qWaitForWindowExposed(&desktop));
        const QImage before = screen->grabWindow(0, 0, 0, size.width(), size.height()).toImage();
        BgWin backdrop;
        QLabel *shown = backdropLabels(&backdrop).first();
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        const QImage after =
                screen->grabWindow(shown->winId(), 0, 0, size.width(), size.height()).toImage();
        QImage expected = before;
        dimImage(expected);
        QCOMPARE(after.size(), size);
        // In the screen's own pixel format: 16-bit colour keeps fewer bits.
        QVERIFY(after.convertToFormat(before.format())
                == expected.convertToFormat(before.format()));
    }

    void deletionClosesEveryWindow()
    {
        auto *backdrop = new BgWin;
        QList<QPointer<QWidget>> windows;
        for (QLabel *label : backdropLabels(backdrop))
            windows << label;
        auto *dialog = new QDialog(backdrop);
        dialog->show();
        windows << dialog;
        QVERIFY(!windows.isEmpty());
        delete backdrop;
        for (const QPointer<QWidget> &window : windows)
            QVERIFY(window.isNull());
        for (QWidget *topLevel : QApplication::topLevelWidgets())
            QVERIFY(!topLevel->isVisible());
    }
};

QTEST_MAIN(TestBgWin)
#include "tst_bgwin.moc"
