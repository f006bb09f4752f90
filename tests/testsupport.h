// Helpers shared by the tests.
#pragma once

#include <QApplication>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTimer>

// A string-based connect that names a missing signal or slot only prints a
// warning at run time; this turns such warnings into test failures.
void failOnConnectWarnings();

// The private home directory the test runs in (see with-home.sh).
QString testHome();

// Answers the next modal dialog of the class Dialog: once the event loop runs
// (the one that opens the dialog, or the dialog's own exec()), waits for the
// dialog to show on top and calls answer(dialog); a failure if none does.
template<typename Dialog, typename Answer>
void answerModal(Answer answer)
{
    QTimer::singleShot(0, qApp, [answer] {
        Dialog *dialog = nullptr;
        QVERIFY2(QTest::qWaitFor([&dialog] {
                     dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
                     return dialog && dialog->isVisible();
                 }),
                 Dialog::staticMetaObject.className());
        answer(dialog);
    });
}

// What a screen reader is told as notifications appear (what the program's
// Announcers say), in order, while this object lives. The program's
// accessibility (connectAccessibility()) must be set up.
class HeardAloud : public QObject
{
public:
    HeardAloud();
    QStringList texts() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QStringList heard;
};
