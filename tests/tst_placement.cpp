#include "placement.h"
#include "testsupport.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QTest>

namespace {

QRect centred(QSize size)
{
    return QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size,
                               QGuiApplication::primaryScreen()->geometry());
}

// Notes where the window is at the moment it is shown.
class ShownAt : public QObject
{
public:
    QRect geometry;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            geometry = static_cast<QWidget *>(watched)->geometry();
        return false;
    }
};

} // namespace

class TestPlacement : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { failOnConnectWarnings(); }

    // A window that bypasses the window manager is shown where it stays: moved
    // after, it would be elsewhere for a moment, where a click would miss it.
    // One that a window manager places is centred once it is shown.
    void centredOnThePrimaryScreen_data()
    {
        QTest::addColumn<bool>("bypassesWindowManager");
        QTest::addColumn<QSize>("size");
        QTest::newRow("bypassing, its own size") << true << QSize();
        QTest::newRow("bypassing, a given size") << true << QSize(333, 211);
        QTest::newRow("managed, its own size") << false << QSize();
        QTest::newRow("managed, a given size") << false << QSize(333, 211);
    }

    void centredOnThePrimaryScreen()
    {
        QFETCH(bool, bypassesWindowManager);
        QFETCH(QSize, size);
        QDialog dialog;
        dialog.setMinimumSize(120, 80);
        if (bypassesWindowManager)
            dialog.setWindowFlags(dialog.windowFlags() | Qt::X11BypassWindowManagerHint);
        ShownAt shownAt;
        dialog.installEventFilter(&shownAt);

        showCentred(&dialog, size);
        QVERIFY(dialog.isVisible());
        const QRect expected = centred(size.isValid() ? size : dialog.size());
        QCOMPARE(dialog.geometry(), expected);
        if (bypassesWindowManager)
            QCOMPARE(shownAt.geometry, expected);
    }
};

QTEST_MAIN(TestPlacement)
#include "tst_placement.moc"
