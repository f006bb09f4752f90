#include "delay.h"
#include "deliberatekeys.h"
#include "keyboardlayout.h"
#include "mainwin.h"
#include "testsupport.h"

#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMetaMethod>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <algorithm>
#include <memory>

namespace {

// A catalogue that gives Logout another key, and the tooltip its own words.
class KeyTranslator : public QTranslator
{
public:
    explicit KeyTranslator(const QString &logoutKey) : logoutKey(logoutKey) { }

    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (qstrcmp(context, "Mainwin") != 0)
            return QString();
        if (qstrcmp(sourceText, "L") == 0)
            return logoutKey;
        if (qstrcmp(sourceText, "Key: %1") == 0)
            return QStringLiteral("Taste %1");
        return QString();
    }

    bool isEmpty() const override { return false; }

private:
    QString logoutKey;
};

} // namespace

class TestMainwin : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QWidget> backdrop;
    Mainwin *chooser = nullptr;

    QPushButton *button(const QString &name) const
    {
        auto *found = chooser->findChild<QPushButton *>(name);
        if (!found)
            qFatal("no button %s", qPrintable(name));
        return found;
    }

    // The texts a Delay showed, read when it appeared.
    struct Confirmation
    {
        QString actionText, labelText;
        bool overChooser = false;
    };

    // Once the Delay is up, records it and ends it the way named: "action",
    // "ticks" (lets it run out) or "cancel".
    void answerDelay(const QString &how, Confirmation &seen)
    {
        answerModal<Delay>([this, how, &seen](Delay *delay) {
            seen.actionText = delay->findChild<QPushButton *>("actionButton")->text();
            seen.labelText = delay->findChild<QLabel *>()->text();
            seen.overChooser = coversCentred(delay->geometry(), chooser->geometry());
            if (how == QLatin1String("action")) {
                QTest::mouseClick(delay->findChild<QPushButton *>("actionButton"), Qt::LeftButton);
            } else if (how == QLatin1String("cancel")) {
                QTest::mouseClick(delay->findChild<QPushButton *>("cancelButton"), Qt::LeftButton);
            } else {
                for (int tick = 0; tick < 11; ++tick)
                    QMetaObject::invokeMethod(delay, "update");
            }
        });
    }

    // Covers the chooser whole, with the same centre (to the pixel: odd
    // differences in width are split unevenly).
    static bool coversCentred(const QRect &delay, const QRect &chooser)
    {
        const QPoint offset = delay.center() - chooser.center();
        return delay.contains(chooser) && qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1;
    }

    // Clicks the chooser's button once exec() runs.
    void clickWhenShown(const QString &name)
    {
        answerModal<Mainwin>([this, name](Mainwin *shown) {
            QCOMPARE(shown, chooser);
            QTest::mouseClick(button(name), Qt::LeftButton);
        });
    }

    // Types one character the way a keyboard delivers it, the key's code and
    // the text it types, to the widget with the focus or else the active window.
    static void type(const QString &text, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                     bool autoRepeat = false, quint32 keycode = 0)
    {
        QWidget *target = QApplication::focusWidget();
        if (!target)
            target = QApplication::activeWindow();
        QVERIFY(target);
        const int key = text == "\r" ? int(Qt::Key_Return) : text.at(0).toUpper().unicode();
        QKeyEvent press(QEvent::KeyPress, key, modifiers, keycode, 0, 0, text, autoRepeat);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, keycode, 0, 0, text, autoRepeat);
        QApplication::sendEvent(target, &release);
    }

    // Types at the shown chooser and tells the action text of the confirmation
    // that opened, if any, cancelling it; a chooser that accepted is "accepted".
    QString typedAtTheChooser(const QString &text, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                              bool autoRepeat = false, quint32 keycode = 0)
    {
        if (!QTest::qWaitFor([this] { return QApplication::activeWindow() == chooser; }))
            return QStringLiteral("the chooser never got the keyboard");
        QString opened;
        QTimer::singleShot(0, this, [&opened] {
            if (auto *delay = qobject_cast<Delay *>(QApplication::activeModalWidget())) {
                opened = delay->findChild<QPushButton *>("actionButton")->text();
                delay->reject();
            }
        });
        type(text, modifiers, autoRepeat, keycode);
        // The check above has run: in the confirmation's loop, or here.
        QCoreApplication::processEvents();
        if (chooser->result() == QDialog::Accepted)
            return QStringLiteral("accepted");
        return opened;
    }

private slots:
    void initTestCase()
    {
        failOnConnectWarnings();
        // As the program does for all its windows.
        qApp->installEventFilter(new DeliberateKeys(qApp));
    }

    void init()
    {
        backdrop.reset(new QWidget);
        chooser = new Mainwin(backdrop.get());
    }

    void cleanup() { backdrop.reset(); }

    void buttonsInOrder()
    {
        QList<QPushButton *> buttons = chooser->findChildren<QPushButton *>();
        std::sort(buttons.begin(), buttons.end(),
                  [](QPushButton *a, QPushButton *b) { return a->y() < b->y(); });
        QStringList texts;
        for (QPushButton *b : buttons) {
            texts << b->text();
            QCOMPARE(b->x(), buttons.first()->x());
        }
        QCOMPARE(texts, QStringList({"Logout", "Reboot system", "Shutdown system", "Suspend system",
                                     "Lock screen", "Timer", "Cancel"}));
        QVERIFY(chooser->isVisible());
        QVERIFY(chooser->isModal());
        const Qt::WindowFlags flags = Qt::Dialog | Qt::X11BypassWindowManagerHint
                                      | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
        QCOMPARE(chooser->windowFlags() & flags, flags);
    }

    void slotOrder()
    {
        const QMetaObject *meta = chooser->metaObject();
        QStringList slotNames;
        for (int i = meta->methodOffset(); i < meta->methodCount(); ++i)
            slotNames << QString::fromLatin1(meta->method(i).methodSignature());
        QCOMPARE(slotNames, QStringList({"logoutClicked()", "rebootClicked()", "shutdownClicked()",
                                         "suspendClicked()", "timerClicked()", "lockClicked()"}));
    }

    void confirmedActions_data()
    {
        QTest::addColumn<QString>("buttonName");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("actionId");
        QTest::addColumn<QString>("actionText");
        QTest::addColumn<QString>("message");
        QTest::newRow("logout by the action button") << "logoutButton"
                                                     << "action" << 0 << "Logout"
                                                     << "Logging out in";
        QTest::newRow("logout by the countdown") << "logoutButton"
                                                 << "ticks" << 0 << "Logout"
                                                 << "Logging out in";
        QTest::newRow("reboot") << "rebootButton"
                                << "action" << 1 << "Reboot system"
                                << "Rebooting in";
        QTest::newRow("shutdown") << "shutdownButton"
                                  << "ticks" << 2 << "Shutdown system"
                                  << "Shutting down in";
        QTest::newRow("suspend") << "suspendButton"
                                 << "action" << 3 << "Suspend system"
                                 << "Suspending system in";
        QTest::newRow("lock screen") << "lockButton"
                                     << "action" << 5 << "Lock screen"
                                     << "Locking screen in";
    }

    void confirmedActions()
    {
        QFETCH(QString, buttonName);
        QFETCH(QString, how);
        QFETCH(int, actionId);
        QFETCH(QString, actionText);
        QFETCH(QString, message);
        Confirmation seen;
        clickWhenShown(buttonName);
        answerDelay(how, seen);
        QCOMPARE(chooser->exec(), int(QDialog::Accepted));
        QCOMPARE(chooser->getAction(), actionId);
        QCOMPARE(seen.actionText, actionText);
        QCOMPARE(seen.labelText, message + " 10 seconds");
        QVERIFY(seen.overChooser);
        QVERIFY(!chooser->isVisible());
        QVERIFY(!chooser->findChild<Delay *>());
    }

    void timerAcceptsAtOnce_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::addColumn<bool>("clockShown");
        QTest::newRow("a theme with a clock") << "fwtest" << true;
        QTest::newRow("a theme without any of its names") << "fwnoclock" << false;
    }

    // Timer accepts at once, without a confirmation; without a clock icon its
    // button shows the text alone and works all the same.
    void timerAcceptsAtOnce()
    {
        QFETCH(QString, theme);
        QFETCH(bool, clockShown);
        // Theme icons follow the theme of the moment, so it stays until the end.
        const auto restoreTheme = qScopeGuard(
                [searchPaths = QIcon::themeSearchPaths(), themeName = QIcon::themeName()] {
                    QIcon::setThemeName(themeName);
                    QIcon::setThemeSearchPaths(searchPaths);
                });
        QIcon::setThemeSearchPaths({QStringLiteral(TEST_ICON_DIR)});
        QIcon::setThemeName(theme);
        backdrop.reset(new QWidget);
        chooser = new Mainwin(backdrop.get());

        QVERIFY2(!button("shutdownButton")->icon().isNull(), "the theme is not in use");
        QCOMPARE(button("timerButton")->icon().isNull(), !clockShown);
        QCOMPARE(button("timerButton")->text(), QStringLiteral("Timer"));
        clickWhenShown("timerButton");
        QCOMPARE(chooser->exec(), int(QDialog::Accepted));
        QCOMPARE(chooser->getAction(), 4);
        QVERIFY(!chooser->findChild<Delay *>());
    }

    void cancelInTheDelayKeepsTheChooser()
    {
        // First a timer choice, as when the timer dialog was cancelled...
        clickWhenShown("timerButton");
        QCOMPARE(chooser->exec(), int(QDialog::Accepted));
        // ...then the chooser runs again: a cancelled confirmation records nothing.
        Confirmation seen;
        bool chooserBack = false;
        clickWhenShown("rebootButton");
        answerDelay("cancel", seen);
        answerModal<Mainwin>([this, &chooserBack](Mainwin *shown) {
            chooserBack = shown == chooser && chooser->isVisible();
            QTest::mouseClick(button("cancelButton"), Qt::LeftButton);
        });
        QCOMPARE(chooser->exec(), int(QDialog::Rejected));
        QVERIFY(chooserBack);
        QCOMPARE(seen.actionText, QStringLiteral("Reboot system"));
        QCOMPARE(chooser->getAction(), 4);
    }

    void execAgainAfterAnAccept()
    {
        clickWhenShown("timerButton");
        QCOMPARE(chooser->exec(), int(QDialog::Accepted));
        const QRect placed = chooser->geometry();
        Confirmation seen;
        clickWhenShown("shutdownButton");
        answerDelay("action", seen);
        QCOMPARE(chooser->exec(), int(QDialog::Accepted));
        QCOMPARE(chooser->getAction(), 2);
        QCOMPARE(chooser->geometry(), placed);
    }

    void cancelRejects()
    {
        clickWhenShown("cancelButton");
        QCOMPARE(chooser->exec(), int(QDialog::Rejected));
    }

    // Cancelling is always safe: a chord with Escape cancels too.
    void escapeRejects_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Escape") << int(Qt::NoModifier);
        QTest::newRow("Super+Escape") << int(Qt::MetaModifier);
    }

    void escapeRejects()
    {
        QFETCH(int, modifiers);
        answerModal<Mainwin>([this, modifiers](Mainwin *shown) {
            QCOMPARE(shown, chooser);
            QTest::keyClick(chooser, Qt::Key_Escape, Qt::KeyboardModifiers(modifiers));
        });
        QCOMPARE(chooser->exec(), int(QDialog::Rejected));
    }

    void keysMoveBetweenButtons_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("focused");
        QTest::newRow("the first button has the focus") << QList<int>() << "logoutButton";
        QTest::newRow("Tab") << QList<int> {Qt::Key_Tab, Qt::Key_Tab} << "shutdownButton";
        QTest::newRow("Down") << QList<int> {Qt::Key_Down, Qt::Key_Down} << "shutdownButton";
        QTest::newRow("Down then Up")
                << QList<int> {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up} << "rebootButton";
        QTest::newRow("Up from the first wraps to Cancel")
                << QList<int> {Qt::Key_Up} << "cancelButton";
        QTest::newRow("Down to Cancel") << QVector<int>(6, Qt::Key_Down).toList() << "cancelButton";
        QTest::newRow("Down from Cancel wraps to the first")
                << QVector<int>(7, Qt::Key_Down).toList() << "logoutButton";
    }

    void keysMoveBetweenButtons()
    {
        QFETCH(QList<int>, keys);
        QFETCH(QString, focused);
        QVERIFY(QTest::qWaitForWindowActive(chooser));
        for (int key : keys)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(QApplication::focusWidget()->objectName(), focused);
    }

    void returnPressesTheFocusedButton()
    {
        answerModal<Mainwin>([this](Mainwin *shown) {
            QCOMPARE(shown, chooser);
            QVERIFY(QTest::qWaitForWindowActive(chooser));
            for (int i = 0; i < 5; ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        QCOMPARE(chooser->exec(), int(QDialog::Accepted));
        QCOMPARE(chooser->getAction(), 4);
    }

    void lettersPressTheirButtons_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("actionId");
        QTest::addColumn<QString>("actionText");
        QTest::newRow("l: Logout") << "l" << 0 << "Logout";
        QTest::newRow("Shift+L: Logout") << "L" << 0 << "Logout";
        QTest::newRow("r: Reboot system") << "r" << 1 << "Reboot system";
        QTest::newRow("R: Reboot system") << "R" << 1 << "Reboot system";
        QTest::newRow("s: Shutdown system") << "s" << 2 << "Shutdown system";
        QTest::newRow("S: Shutdown system") << "S" << 2 << "Shutdown system";
        QTest::newRow("u: Suspend system") << "u" << 3 << "Suspend system";
        QTest::newRow("U: Suspend system") << "U" << 3 << "Suspend system";
        QTest::newRow("k: Lock screen") << "k" << 5 << "Lock screen";
        QTest::newRow("K: Lock screen") << "K" << 5 << "Lock screen";
        QTest::newRow("t: Timer, at once") << "t" << 4 << "";
        QTest::newRow("T: Timer, at once") << "T" << 4 << "";
    }

    // As a click would: the confirmation follows, and its action button accepts.
    void lettersPressTheirButtons()
    {
        QFETCH(QString, typed);
        QFETCH(int, actionId);
        QFETCH(QString, actionText);
        const Qt::KeyboardModifiers modifiers =
                typed.at(0).isUpper() ? Qt::ShiftModifier : Qt::NoModifier;
        Confirmation seen;
        answerModal<Mainwin>([this, typed, modifiers, actionId, &seen](Mainwin *shown) {
            QCOMPARE(shown, chooser);
            QTRY_COMPARE(QApplication::activeWindow(), chooser);
            if (actionId != TimerAction)
                answerDelay("action", seen);
            type(typed, modifiers);
        });
        QCOMPARE(chooser->exec(), int(QDialog::Accepted));
        QCOMPARE(chooser->getAction(), actionId);
        QCOMPARE(seen.actionText, actionText);
    }

    void keysThatPressNothing_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("autoRepeat");
        QTest::newRow("Alt+L") << "l" << int(Qt::AltModifier) << false;
        QTest::newRow("Alt+T") << "t" << int(Qt::AltModifier) << false;
        QTest::newRow("Ctrl+S") << "s" << int(Qt::ControlModifier) << false;
        QTest::newRow("Meta+R") << "r" << int(Qt::MetaModifier) << false;
        QTest::newRow("a letter of no action") << "x" << int(Qt::NoModifier) << false;
        // A window manager's shortcuts, on the focused Logout button.
        QTest::newRow("Alt+Return") << "\r" << int(Qt::AltModifier) << false;
        QTest::newRow("Super+Return") << "\r" << int(Qt::MetaModifier) << false;
        QTest::newRow("Ctrl+Alt+Return")
                << "\r" << int(Qt::ControlModifier | Qt::AltModifier) << false;
        QTest::newRow("Shift+Return") << "\r" << int(Qt::ShiftModifier) << false;
        QTest::newRow("Alt+Space") << " " << int(Qt::AltModifier) << false;
        QTest::newRow("Super+Space") << " " << int(Qt::MetaModifier) << false;
        QTest::newRow("a held key repeating") << "k" << int(Qt::NoModifier) << true;
    }

    void keysThatPressNothing()
    {
        QFETCH(QString, typed);
        QFETCH(int, modifiers);
        QFETCH(bool, autoRepeat);
        QCOMPARE(typedAtTheChooser(typed, Qt::KeyboardModifiers(modifiers), autoRepeat), QString());
        QVERIFY(chooser->isVisible());
    }

    void translatedKeys_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("presses");
        QTest::newRow("Cyrillic small letter") << "Й"
                                               << "й" << true;
        QTest::newRow("Cyrillic capital letter") << "Й"
                                                 << "Й" << true;
        QTest::newRow("the English key is gone") << "Й"
                                                 << "l" << false;
        QTest::newRow("Turkish dotless i") << "I"
                                           << "ı" << true;
        QTest::newRow("German umlaut") << "Ä"
                                       << "ä" << true;
    }

    // The key and its tooltip come from the catalogue.
    void translatedKeys()
    {
        QFETCH(QString, key);
        QFETCH(QString, typed);
        QFETCH(bool, presses);
        KeyTranslator translator(key);
        QVERIFY(QCoreApplication::installTranslator(&translator));
        delete chooser;
        chooser = new Mainwin(backdrop.get());
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(button("logoutButton")->toolTip(), "Taste " + key);
        QCOMPARE(typedAtTheChooser(typed), presses ? QStringLiteral("Logout") : QString());
    }

    // On a keyboard of a Latin and a Cyrillic group, an action's letter also
    // works from its key while the other group is active. Needs the keyboard
    // of an X server: the run on two monitors has one.
    void lettersFromAnotherGroup_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("sameKey");
        QTest::newRow("Latin letter, Cyrillic group active") << "L"
                                                             << "д"
                                                             << "l";
        QTest::newRow("Cyrillic letter, Latin group active") << "В"
                                                             << "d"
                                                             << "в";
    }

    void lettersFromAnotherGroup()
    {
        QFETCH(QString, key);
        QFETCH(QString, typed);
        QFETCH(QString, sameKey);
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server's keyboard");
        QCOMPARE(QProcess::execute("setxkbmap", {"-layout", "us,ru"}), 0);
        quint32 keycode = 8;
        while (keycode < 256 && !keyLetters(keycode).contains(sameKey))
            ++keycode;
        QVERIFY(keycode < 256);
        KeyTranslator translator(key);
        QVERIFY(QCoreApplication::installTranslator(&translator));
        delete chooser;
        chooser = new Mainwin(backdrop.get());
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(typedAtTheChooser(typed, Qt::NoModifier, false, keycode),
                 QStringLiteral("Logout"));
    }

    void letterInTheConfirmationDoesNothing()
    {
        bool stillConfirming = false;
        clickWhenShown("lockButton");
        answerModal<Delay>([this, &stillConfirming](Delay *delay) {
            QTRY_COMPARE(QApplication::activeWindow(), delay);
            for (const char *letter : {"l", "r", "s", "u", "t", "K"})
                type(QString::fromLatin1(letter));
            // Neither answered nor a second confirmation opened by the chooser.
            stillConfirming = delay->isVisible() && QApplication::activeModalWidget() == delay
                              && chooser->findChildren<Delay *>().size() == 1;
            answerModal<Mainwin>([this](Mainwin *shown) {
                QCOMPARE(shown, chooser);
                QTest::mouseClick(button("cancelButton"), Qt::LeftButton);
            });
            QTest::keyClick(delay, Qt::Key_Escape);
        });
        QCOMPARE(chooser->exec(), int(QDialog::Rejected));
        QVERIFY(stillConfirming);
    }

    void tooltipsTellTheKeys()
    {
        const QList<QPair<QString, QString>> keys = {
                {"logoutButton", "L"},  {"rebootButton", "R"}, {"shutdownButton", "S"},
                {"suspendButton", "U"}, {"lockButton", "K"},   {"timerButton", "T"}};
        for (const auto &key : keys) {
            QCOMPARE(button(key.first)->toolTip(), "Key: " + key.second);
            QCOMPARE(button(key.first)->accessibleDescription(), "Key: " + key.second);
        }
        QCOMPARE(button("cancelButton")->toolTip(), QString());
        QCOMPARE(button("logoutButton")->text(), QStringLiteral("Logout"));
    }

    void centredOnThePrimaryScreen()
    {
        if (qEnvironmentVariableIsSet("FAREWELLDESK_TEST_SCREENS"))
            QCOMPARE(QGuiApplication::screens().size(),
                     qEnvironmentVariableIntValue("FAREWELLDESK_TEST_SCREENS"));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QRect placed = chooser->geometry();
        QCOMPARE(placed.size(), chooser->sizeHint().expandedTo(chooser->minimumSize()));
        QCOMPARE(placed.x(), screen.x() + screen.width() / 2 - placed.width() / 2);
        QCOMPARE(placed.y(), screen.y() + screen.height() / 2 - placed.height() / 2);
    }
};

QTEST_MAIN(TestMainwin)
#include "tst_mainwin.moc"
