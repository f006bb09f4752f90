// Helpers shared by the tests.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QWidget;

// A string-based connect that names a missing signal or slot only prints a
// warning at run time; this turns such warnings into test failures.
void failOnConnectWarnings();

// The private home directory the test runs in (see with-home.sh).
QString testHome();

// The modal widget on top, once it is visible; null after the timeout.
QWidget *waitForModal(int timeoutMs = 5000);

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
