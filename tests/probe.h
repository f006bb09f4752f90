// The test side of the probe programs (see probe.cpp).
#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct ProbeRun
{
    int exitCode = -1;
    bool crashed = false;
    QString out; // the probe's reports
    QString err; // the program's standard error
    QStringList boxes; // "<title>|<icon>\n<text>" of each message box, in order
};

// Runs the program to its end (at most timeoutMs) with the environment given.
ProbeRun runProbe(const QString &program, const QStringList &arguments,
                  const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
                  int timeoutMs = 20000);
