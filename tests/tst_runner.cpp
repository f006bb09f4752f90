#include "probe.h"

#include <QTest>

#include <cerrno>
#include <cstring>

// runCommand and the error boxes end the process, so they are run in a child.
class TestRunner : public QObject
{
    Q_OBJECT

private slots:
    void outcome_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("box"); // empty: no box at all

        const auto error = [](const QString &text) { return "Error|3\n" + text; };
        QTest::newRow("success ends quietly with 0") << "run"
                                                     << "true" << 0 << QString();
        QTest::newRow("a command that exits with 1")
                << "run"
                << "exit 1" << 1 << error("Command 'exit 1' exited with code 1");
        QTest::newRow("code above 127 is not cut")
                << "run"
                << "exit 200" << 1 << error("Command 'exit 200' exited with code 200");
        QTest::newRow("the shell cannot find the program")
                << "run"
                << "no-such-program-farewelldesk" << 1
                << error("Command 'no-such-program-farewelldesk' not found");
        QTest::newRow("a command that exits with 127 itself")
                << "run"
                << "exit 127" << 1 << error("Command 'exit 127' not found");
        QTest::newRow("ended by a signal")
                << "run"
                << "kill -TERM $$" << 1
                << error("Command 'kill -TERM $$' was terminated by signal 15");
        QTest::newRow("status cannot be collected: system() gives -1")
                << "run-reaped"
                << "true" << 1 << error(QString("system(true):\n%1\n").arg(strerror(ECHILD)));
        QTest::newRow("markup in a command is shown as typed")
                << "run"
                << "exit 3 # <b>&amp;</b>" << 1
                << error("Command 'exit 3 # <b>&amp;</b>' exited with code 3");
        QTest::newRow("errDialog adds the errno text")
                << "err"
                << "flock()" << 1 << error(QString("flock():\n%1\n").arg(strerror(EAGAIN)));
        QTest::newRow("errxDialog shows its text alone") << "errx"
                                                         << "%d %s" << 1 << error("%d %s");
    }

    void outcome()
    {
        QFETCH(QString, mode);
        QFETCH(QString, argument);
        QFETCH(int, exitCode);
        QFETCH(QString, box);
        const ProbeRun run = runProbe(PROBE_RUNNER, {mode, argument});
        QVERIFY2(!run.crashed, qPrintable(run.err));
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.boxes, box.isEmpty() ? QStringList() : QStringList {box});
    }

    // The box would be cut at its buffer's end, and with it the reason.
    void longCommandKeepsTheReason()
    {
        const QString command = "exit 3 # " + QString(2000, 'x');
        const ProbeRun run = runProbe(PROBE_RUNNER, {"run", command});
        QCOMPARE(run.boxes.size(), 1);
        const QString box = run.boxes.first();
        QVERIFY2(box.startsWith("Error|3\nCommand 'exit 3 # xxx"), qPrintable(box));
        QVERIFY2(box.endsWith("' exited with code 3"), qPrintable(box));
        QVERIFY2(box.contains(QChar(0x2026)) || box.contains("..."), qPrintable(box));
    }

    void errorBoxClosedAnyWay_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK") << "ok";
        QTest::newRow("Escape") << "escape";
        QTest::newRow("the window's close request") << "close";
    }

    // However the user gets rid of the box, the program ends with the same status.
    void errorBoxClosedAnyWay()
    {
        QFETCH(QString, how);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PROBE_BOX_CLOSE", how);
        const ProbeRun run = runProbe(PROBE_RUNNER, {"run", "exit 3"}, environment);
        QVERIFY2(!run.crashed, "the box did not close");
        QCOMPARE(run.boxes, QStringList {"Error|3\nCommand 'exit 3' exited with code 3"});
        QCOMPARE(run.exitCode, 1);
    }

    void actionRunsItsOwnCommandOrNone_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("ran"); // empty: nothing may run
        QTest::newRow("logout") << 0 << "logout";
        QTest::newRow("reboot") << 1 << "reboot";
        QTest::newRow("shutdown") << 2 << "shutdown";
        QTest::newRow("suspend") << 3 << "suspend";
        QTest::newRow("lock") << 5 << "lock";
        // The timer's command runs only through its countdown.
        QTest::newRow("the timer, directly") << 4 << QString();
        QTest::newRow("no choice") << -1 << QString();
        QTest::newRow("a code after the last") << 6 << QString();
    }

    // Above all, a value without a command must not fall through to shutdown.
    void actionRunsItsOwnCommandOrNone()
    {
        QFETCH(int, action);
        QFETCH(QString, ran);
        const ProbeRun run = runProbe(PROBE_RUNNER, {"action", QString::number(action)});
        QVERIFY2(!run.crashed, qPrintable(run.err));
        QStringList commandsRun;
        for (const QString &line : run.out.split('\n'))
            if (line.startsWith("ran "))
                commandsRun << line.mid(4);
        if (ran.isEmpty()) {
            QCOMPARE(commandsRun, QStringList());
            QCOMPARE(run.exitCode, 1);
            QCOMPARE(run.boxes,
                     QStringList {QString("Error|3\nNo command for action %1").arg(action)});
        } else {
            QCOMPARE(commandsRun, QStringList {ran});
            QCOMPARE(run.exitCode, 0);
            QCOMPARE(run.boxes, QStringList());
        }
    }
};

QTEST_GUILESS_MAIN(TestRunner)
#include "tst_runner.moc"
