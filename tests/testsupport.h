// Helpers shared by the tests.
#pragma once

#include <QString>

class QWidget;

// A string-based connect that names a missing signal or slot only prints a
// warning at run time; this turns such warnings into test failures.
void failOnConnectWarnings();

// The private home directory the test runs in (see with-home.sh).
QString testHome();

// The modal widget on top, once it is visible; null after the timeout.
QWidget *waitForModal(int timeoutMs = 5000);
