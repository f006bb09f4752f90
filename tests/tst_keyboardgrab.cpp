#include "bgwin.h"
#include "delay.h"
#include "keyboardgrab.h"
#include "mainwin.h"
#include "testsupport.h"
#include "timerwin.h"

#include <QApplication>
#include <QContextMenuEvent>
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

// A key event as X reports it, with a time of its own.
xcb_key_press_event_t keyEvent(uint8_t type, WId window, uint8_t keycode = 36)
{
    static uint32_t time = 1000;
    xcb_key_press_event_t event = {};
    event.response_type = type;
    event.event = static_cast<xcb_window_t>(window);
    event.detail = keycode;
    event.time = time += 10;
    return event;
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
        auto *grab = backdrop->findChild<KeyboardGrab *>();
        const auto *retryTimer = grab->findChild<QTimer *>("retryTimer");
        QTRY_VERIFY_WITH_TIMEOUT(!retryTimer->isActive(), 3 * KeyboardGrab::longestHold);
        // Only its timer asks again: with it stopped, no more requests follow.
        QVERIFY(grabRequests() > 1 && grabRequests() <= KeyboardGrab::retries + 1);
        QVERIFY(!grab->isHeld());
    }

    // Held while the screen darkens, and a moment longer once the chooser has
    // the focus: a screen locker started then must find the keyboard free.
    void heldOnlyForTheFirstMoments()
    {
        backdrop.reset(new BgWin);
        auto *grab = backdrop->findChild<KeyboardGrab *>();
        const auto *releaseTimer = grab->findChild<QTimer *>("releaseTimer");
        QVERIFY(releaseTimer->isActive());
        QCOMPARE(releaseTimer->interval(), KeyboardGrab::longestHold);
        auto *chooser = new Mainwin(backdrop.get());
        // As X gives it: the offscreen platform leaves it with the backdrop.
        chooser->windowHandle()->requestActivate();
        QTRY_COMPARE(QGuiApplication::focusWindow(), chooser->windowHandle());
        QCOMPARE(releaseTimer->interval(), KeyboardGrab::settleTime);
        QTRY_VERIFY(!grab->isHeld());
        QCOMPARE(server.requests.last(), qMakePair(grabWindow(), false));
        QVERIFY(!grabWindow()->isVisible());
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
            xcb_key_press_event_t event = keyEvent(type, windows.value(reportedOn));
            QVERIFY(!grab->nativeEventFilter("xcb_generic_event_t", &event, nullptr));
            QCOMPARE(WId(event.event), windows.value(deliveredTo));
        }
    }

    // What X sends for a held key: further presses (detectable auto-repeat)
    // or pairs of a release and a press at one time. Only a fresh press, and
    // the release that ends it, reach a dialog; a key held since before the
    // program started is never fresh (tested on a real server).
    void heldKeysDoNotRepeat_data()
    {
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("passed");
        QTest::newRow("press, release, press again") << "P R P"
                                                     << "P R P";
        QTest::newRow("detectable auto-repeat") << "P P P R"
                                                << "P R";
        QTest::newRow("auto-repeat as pairs of one time") << "P R= P R= P R"
                                                          << "P R R R";
        QTest::newRow("a release whose press went elsewhere") << "R P R"
                                                              << "P R";
        QTest::newRow("another key in between") << "P p P r R"
                                                << "P p r R";
    }

    void heldKeysDoNotRepeat()
    {
        QFETCH(QString, events);
        QFETCH(QString, passed);
        backdrop.reset(new BgWin);
        new Mainwin(backdrop.get());
        auto *grab = backdrop->findChild<KeyboardGrab *>();
        QStringList seen;
        uint32_t lastTime = 0;
        for (const QString &name : events.split(' ')) {
            // Upper case is Return, lower case Tab; "=" gives the next event this one's time.
            const bool press = name.at(0).toUpper() == 'P';
            xcb_key_press_event_t event =
                    keyEvent(press ? XCB_KEY_PRESS : XCB_KEY_RELEASE, grabWindow()->winId(),
                             name.at(0).isUpper() ? 36 : 23);
            if (lastTime)
                event.time = lastTime;
            lastTime = name.endsWith('=') ? event.time : 0;
            if (!grab->nativeEventFilter("xcb_generic_event_t", &event, nullptr))
                seen << name.left(1);
        }
        QCOMPARE(seen.join(' '), passed);
    }

    // A popup takes the grab over and drops it on closing: no widget of the
    // dialogs over the backdrop opens one, whichever the user asks with the
    // Menu key or a right click.
    void noDialogOverTheBackdropOpensAPopup()
    {
        backdrop.reset(new BgWin);
        auto *chooser = new Mainwin(backdrop.get());
        Delay delay(10, "Logout", "Logging out in", QIcon(), chooser);
        auto *timer = new Timerwin(backdrop.get());
        for (QWidget *dialog : std::initializer_list<QWidget *> {chooser, &delay, timer}) {
            QWidgetList widgets = dialog->findChildren<QWidget *>();
            widgets << dialog;
            for (QWidget *widget : qAsConst(widgets)) {
                QWidget *opened = nullptr;
                QTimer::singleShot(0, this, [&opened] {
                    if ((opened = QApplication::activePopupWidget()))
                        opened->close();
                });
                QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(1, 1),
                                          widget->mapToGlobal(QPoint(1, 1)));
                QApplication::sendEvent(widget, &request);
                QCoreApplication::processEvents();
                QVERIFY2(!opened, widget->metaObject()->className());
            }
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
        xcb_key_press_event_t event = keyEvent(XCB_KEY_PRESS, grabWindow()->winId());
        QVERIFY(!grab->nativeEventFilter("xcb_generic_event_t", &event, nullptr));
        QCOMPARE(WId(event.event), grabWindow()->winId());
    }
};

QTEST_MAIN(TestKeyboardGrab)
#include "tst_keyboardgrab.moc"
