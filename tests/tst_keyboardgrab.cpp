#include "bgwin.h"
#include "delay.h"
#include "keyboardgrab.h"
#include "mainwin.h"
#include "testsupport.h"

#include <QGuiApplication>
#include <QHash>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <memory>

namespace {

// What the X server would have seen, and how often it says no before it
// grants a grab (another client holding one).
struct FakeServer
{
    QList<QPair<QWindow *, bool>> requests;
    int refusals = 0;
};

FakeServer server;

bool fakeSetGrab(QWindow *window, bool grab)
{
    server.requests.append({window, grab});
    if (grab && server.refusals > 0) {
        --server.refusals;
        return false;
    }
    return true;
}

int grabRequests()
{
    return std::count_if(server.requests.cbegin(), server.requests.cend(),
                         [](const QPair<QWindow *, bool> &request) { return request.second; });
}

} // namespace

class TestKeyboardGrab : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<BgWin> backdrop;

    QWindow *backdropWindow() const
    {
        return backdrop->findChild<QLabel *>(QString(), Qt::FindDirectChildrenOnly)->windowHandle();
    }

    // The window that holds the grab: the first one the backdrop asked for.
    QWindow *grabWindow() const { return server.requests.value(0).first; }

private slots:
    void initTestCase()
    {
        failOnConnectWarnings();
        KeyboardGrab::setGrabRequest(fakeSetGrab);
    }

    void init() { server = FakeServer(); }

    void cleanup() { backdrop.reset(); }

    void takenBeforeTheBackdropIsShown()
    {
        backdrop.reset(new BgWin);
        QCOMPARE(grabRequests(), 1);
        QWindow *window = grabWindow();
        QVERIFY(window->isVisible());
        // Its own window, which bypasses the window manager and so is
        // viewable at once, not a backdrop window that waits for it.
        QVERIFY(window != backdropWindow());
        QVERIFY(window->flags() & Qt::X11BypassWindowManagerHint);
        QVERIFY(backdrop->findChild<KeyboardGrab *>()->isHeld());
    }

    void retriedWhileAnotherClientHoldsIt()
    {
        server.refusals = 3;
        backdrop.reset(new BgWin);
        auto *grab = backdrop->findChild<KeyboardGrab *>();
        QVERIFY(!grab->isHeld());
        QTRY_VERIFY(grab->isHeld());
        QCOMPARE(grabRequests(), 4);
    }

    void givenUpAfterAWhile()
    {
        server.refusals = KeyboardGrab::retries + 100;
        backdrop.reset(new BgWin);
        const int patience = KeyboardGrab::retries * KeyboardGrab::retryInterval;
        QTRY_COMPARE_WITH_TIMEOUT(grabRequests(), KeyboardGrab::retries + 1, 3 * patience);
        // Only its timer asks again: with none running, no request follows.
        auto *grab = backdrop->findChild<KeyboardGrab *>();
        for (const QTimer *timer : grab->findChildren<QTimer *>())
            QVERIFY(!timer->isActive());
        QVERIFY(!grab->isHeld());
    }

    void releasedWithTheBackdrop()
    {
        backdrop.reset(new BgWin);
        QWindow *window = grabWindow();
        backdrop.reset();
        QCOMPARE(server.requests.size(), 2);
        QCOMPARE(server.requests.last().first, window);
        QCOMPARE(server.requests.last().second, false);
    }

    void notReleasedWhenNeverHeld()
    {
        server.refusals = KeyboardGrab::retries + 1;
        backdrop.reset(new BgWin);
        backdrop.reset();
        QCOMPARE(server.requests.size(), 1);
    }

    // X reports every grabbed key on the grab window, and Qt gives a key to
    // the window X names unless another one has the focus; a backdrop window
    // or the chooser under its confirmation would drop it, being blocked.
    void keysAreReportedOnTheDialogOnTop_data()
    {
        QTest::addColumn<QString>("reportedOn");
        QTest::addColumn<bool>("confirming");
        QTest::addColumn<QString>("deliveredTo");
        QTest::newRow("grab window, chooser on top") << "grab" << false << "chooser";
        QTest::newRow("backdrop, chooser on top") << "backdrop" << false << "chooser";
        QTest::newRow("grab window, confirmation on top") << "grab" << true << "delay";
        QTest::newRow("backdrop, confirmation on top") << "backdrop" << true << "delay";
        QTest::newRow("chooser, confirmation on top") << "chooser" << true << "delay";
        QTest::newRow("the dialog on top itself") << "chooser" << false << "chooser";
        QTest::newRow("a window of somebody else") << "other" << false << "other";
    }

    void keysAreReportedOnTheDialogOnTop()
    {
        QFETCH(QString, reportedOn);
        QFETCH(bool, confirming);
        QFETCH(QString, deliveredTo);
        backdrop.reset(new BgWin);
        auto *chooser = new Mainwin(backdrop.get());
        std::unique_ptr<Delay> delay;
        if (confirming)
            delay.reset(new Delay(10, "Logout", "Logging out in", QIcon(), chooser));
        QDialog other;
        other.show();
        const QHash<QString, WId> windows = {
                {"grab", grabWindow()->winId()}, {"backdrop", backdropWindow()->winId()},
                {"chooser", chooser->winId()},   {"delay", delay ? delay->winId() : 0},
                {"other", other.winId()},
        };
        auto *grab = backdrop->findChild<KeyboardGrab *>();
        for (const uint8_t type :
             {uint8_t(XCB_KEY_PRESS), uint8_t(XCB_KEY_RELEASE), uint8_t(XCB_KEY_PRESS | 0x80)}) {
            xcb_key_press_event_t event = {};
            event.response_type = type;
            event.event = windows.value(reportedOn);
            QVERIFY(!grab->nativeEventFilter("xcb_generic_event_t", &event, nullptr));
            QCOMPARE(WId(event.event), windows.value(deliveredTo));
        }
    }

    void otherEventsAreLeftAlone()
    {
        backdrop.reset(new BgWin);
        new Mainwin(backdrop.get());
        auto *grab = backdrop->findChild<KeyboardGrab *>();
        xcb_button_press_event_t click = {};
        click.response_type = XCB_BUTTON_PRESS;
        click.event = backdropWindow()->winId();
        QVERIFY(!grab->nativeEventFilter("xcb_generic_event_t", &click, nullptr));
        QCOMPARE(WId(click.event), backdropWindow()->winId());
    }

    // Between the chooser and the timer dialog no dialog is on top: the key
    // stays where X reported it.
    void withoutADialogKeysStayPut()
    {
        backdrop.reset(new BgWin);
        auto *grab = backdrop->findChild<KeyboardGrab *>();
        xcb_key_press_event_t event = {};
        event.response_type = XCB_KEY_PRESS;
        event.event = grabWindow()->winId();
        QVERIFY(!grab->nativeEventFilter("xcb_generic_event_t", &event, nullptr));
        QCOMPARE(WId(event.event), grabWindow()->winId());
    }
};

QTEST_MAIN(TestKeyboardGrab)
#include "tst_keyboardgrab.moc"
