#include "probe.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// Start-up runs in a child process: the real program for what ends before any
// window, the probe (the same start-up with its dialogs driven from inside)
// for the rest. Every command only writes to a marker file in the private home.
class TestStartup : public QObject
{
    Q_OBJECT

private:
    QString home;
    QString marker;
    QString fakeBin;
    QProcessEnvironment environment;

    const QString usage =
            QStringLiteral("Usage: farewelldesk [-L <lock command>] [-S <suspend command>]\n"
                           "                    [-l <logout command>] [-r <reboot command>]\n"
                           "                    [-s <shutdown command>]\n");

    QString lockPath() const { return home + "/.farewelldesk.lock"; }
    QString configPath() const { return home + "/.config/ZVL/farewelldesk/config"; }

    QString markerText() const
    {
        QFile file(marker);
        return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
    }

    // A command that appends its word to the marker file.
    QString note(const QString &word) const { return QString("echo %1 >> '%2'").arg(word, marker); }

    void writeConfig(const QByteArray &text)
    {
        QVERIFY(QDir().mkpath(QFileInfo(configPath()).path()));
        QFile file(configPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    ProbeRun probe(const QStringList &clicks, const QStringList &arguments = {})
    {
        QProcessEnvironment env = environment;
        env.insert("PROBE_CLICKS", clicks.join(','));
        return runProbe(PROBE_STARTUP, arguments, env);
    }

    ProbeRun program(const QStringList &arguments)
    {
        return runProbe(FAREWELLDESK, arguments, environment, 10000);
    }

    // One row per action: its button, its option and its built-in command.
    static void actionRows()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("builtIn");
        QTest::newRow("logout") << "Logout"
                                << "-l"
                                << "fluxbox exit";
        QTest::newRow("reboot") << "Reboot system"
                                << "-r"
                                << "shutdown -r now";
        QTest::newRow("shutdown") << "Shutdown system"
                                  << "-s"
                                  << "shutdown -p now";
        QTest::newRow("suspend") << "Suspend system"
                                 << "-S"
                                 << "acpiconf -s 3";
        QTest::newRow("lock") << "Lock screen"
                              << "-L"
                              << "metalock";
    }

    // Holds the instance lock the way another instance would.
    int holdLock()
    {
        const int fd = open(QFile::encodeName(lockPath()).constData(), O_WRONLY | O_CREAT, 0600);
        if (fd == -1 || flock(fd, LOCK_EX | LOCK_NB) == -1)
            return -1;
        return fd;
    }

private slots:
    void initTestCase()
    {
        home = testHome();
        marker = home + "/marker";
        fakeBin = home + "/bin";
        // Harmless stand-ins for the programs that the default commands name;
        // each notes its name and arguments.
        QVERIFY(QDir().mkpath(fakeBin));
        for (const char *name : {"metalock", "fluxbox", "shutdown", "acpiconf"}) {
            QFile program(fakeBin + "/" + name);
            QVERIFY(program.open(QIODevice::WriteOnly));
            program.write(QString("#!/bin/sh\necho \"${0##*/}\" \"$@\" >> '%1'\n")
                                  .arg(marker)
                                  .toLocal8Bit());
            program.close();
            QVERIFY(program.setPermissions(program.permissions() | QFile::ExeOwner));
        }
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("PATH", fakeBin + ":" + environment.value("PATH"));
    }

    void init()
    {
        QFile::remove(marker);
        QFile::remove(configPath());
        QFile::remove(lockPath());
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("diagnosed");
        QTest::newRow("unknown option") << QStringList {"-x"} << "x";
        QTest::newRow("option without its argument") << QStringList {"-s", "true", "-l"} << "l";
        // Options after an operand would otherwise be dropped for a built-in command.
        QTest::newRow("an operand first") << QStringList {"stray", "-L", "my-locker"} << QString();
        QTest::newRow("an operand after --")
                << QStringList {"--", "-s", "my-shutdown"} << QString();
    }

    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, diagnosed);
        const ProbeRun run = program(arguments);
        QVERIFY2(!run.crashed, "the program did not end: it went on to its windows");
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.endsWith(usage), qPrintable(run.err));
        // getopt's own diagnostic comes first, on one line that names the
        // option; an operand has none.
        const QString diagnostic = run.err.left(run.err.size() - usage.size());
        QCOMPARE(diagnostic.count('\n'), diagnosed.isEmpty() ? 0 : 1);
        QVERIFY2(diagnostic.contains(diagnosed), qPrintable(diagnostic));
    }

    void commandComesFrom_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("ran");
        QTest::newRow("the configuration file")
                << QByteArray("lock = \"echo from-config >> $HOME/marker\"\n") << QStringList()
                << "from-config\n";
        QTest::newRow("an option over the file")
                << QByteArray("lock = \"echo from-config >> $HOME/marker\"\n")
                << QStringList {"-L", "echo from-option >> $HOME/marker"} << "from-option\n";
        QTest::newRow("blanks stay inside one command")
                << QByteArray() << QStringList {"-L", "echo one   two >> $HOME/marker"}
                << "one two\n";
        QTest::newRow("a file that starts with a named section")
                << QByteArray("desk:\nlock = \"echo sectioned >> $HOME/marker\"\n") << QStringList()
                << "sectioned\n";
    }

    void commandComesFrom()
    {
        QFETCH(QByteArray, config);
        QFETCH(QStringList, arguments);
        QFETCH(QString, ran);
        if (!config.isEmpty())
            writeConfig(config);
        const ProbeRun run = probe({"Lock screen", "Lock screen"}, arguments);
        QVERIFY2(!run.crashed, qPrintable(run.out + run.err));
        QCOMPARE(run.boxes, QStringList());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(markerText(), ran);
        QCOMPARE(QFileInfo::exists(configPath()), !config.isEmpty()); // never written
    }

    void builtInDefaultsWithoutAFile_data() { actionRows(); }

    void builtInDefaultsWithoutAFile()
    {
        QFETCH(QString, button);
        QFETCH(QString, builtIn);
        QProcessEnvironment env = environment;
        // The stand-ins alone can be found: the machine's own shutdown never runs.
        env.insert("PATH", fakeBin);
        env.insert("PROBE_CLICKS", button + "," + button);
        const ProbeRun run = runProbe(PROBE_STARTUP, {}, env);
        QCOMPARE(run.boxes, QStringList());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(markerText(), builtIn + "\n");
        QVERIFY2(!QFileInfo::exists(configPath()), "the defaults were written to a file");
    }

    void eachActionRunsTheLastOfItsOption_data() { actionRows(); }

    // Every option is given twice: the first of each must lose.
    void eachActionRunsTheLastOfItsOption()
    {
        QFETCH(QString, button);
        QFETCH(QString, option);
        const QStringList options {"-l", "-r", "-s", "-S", "-L"};
        QStringList arguments;
        for (const QString &each : options)
            arguments << each << note("overridden");
        for (const QString &each : options)
            arguments << each << note(each);
        const ProbeRun run = probe({button, button}, arguments);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(markerText(), option + "\n");
    }

    void glSettingDoesNotReachCommands_data()
    {
        QTest::addColumn<QString>("userValue");
        QTest::addColumn<QString>("seen");
        QTest::newRow("not set by the user") << QString() << "unset\n";
        QTest::newRow("the user's own value stands") << "xcb_egl"
                                                     << "xcb_egl\n";
    }

    void glSettingDoesNotReachCommands()
    {
        QFETCH(QString, userValue);
        QFETCH(QString, seen);
        const char *name = "QT_XCB_GL_INTEGRATION";
        QProcessEnvironment env = environment;
        env.remove(name);
        if (!userValue.isEmpty())
            env.insert(name, userValue);
        env.insert("PROBE_CLICKS", "Lock screen,Lock screen");
        const QString command = QString("echo ${%1-unset} >> '%2'").arg(name, marker);
        const ProbeRun run = runProbe(PROBE_STARTUP, {"-L", command}, env);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(markerText(), seen);
    }

    void cancelRunsNothing()
    {
        const ProbeRun run = probe({}, {"-L", note("ran")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QStringLiteral("REJECT Mainwin\n"));
        QCOMPARE(markerText(), QString());
    }

    void cancelledTimerBringsTheChooserBack()
    {
        const ProbeRun run = probe({"Timer"}, {"-s", note("ran")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QStringLiteral("CLICK Timer\nREJECT Timerwin\nREJECT Mainwin\n"));
        QCOMPARE(markerText(), QString());
    }

    void failingCommandIsReported()
    {
        const ProbeRun run = probe({"Lock screen", "Lock screen"}, {"-L", "exit 4"});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.boxes, QStringList {"Error|3\nCommand 'exit 4' exited with code 4"});
    }

    void brokenConfigurationIsReported()
    {
        writeConfig("# commands\nlock \"xlock\"\n");
        const ProbeRun run = probe({});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.boxes, QStringList {"Error|3\nSyntax error: Missing '=', in file "
                                         + configPath() + ", line 2\n"});
    }

    void unreadableConfigurationIsReported_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QString>("text"); // {file} stands for the configuration's path
        QTest::newRow("a directory in its place")
                << "directory"
                << QString("Fatal: {file}: not a regular file: Fatal error: %1\n")
                           .arg(strerror(EISDIR));
        QTest::newRow("no read permission")
                << "mode 000" << QString("Fatal: {file}: Fatal error: %1\n").arg(strerror(EACCES));
    }

    // Only a missing file falls back to the defaults; one that cannot be read
    // is reported, and nothing runs.
    void unreadableConfigurationIsReported()
    {
        QFETCH(QString, obstacle);
        QFETCH(QString, text);
        if (obstacle == "directory") {
            QVERIFY(QDir().mkpath(configPath()));
        } else {
            if (geteuid() == 0)
                QSKIP("root reads a file whatever its mode");
            writeConfig("lock = \"xlock\"\n");
            QVERIFY(QFile::setPermissions(configPath(), QFile::Permissions()));
        }
        const ProbeRun run = probe({"Lock screen", "Lock screen"}, {"-L", note("ran")});
        QDir().rmdir(configPath());
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.boxes, QStringList {"Error|3\n" + text.replace("{file}", configPath())});
        QCOMPARE(markerText(), QString());
    }

    void secondInstanceEndsSilently()
    {
        const int fd = holdLock();
        QVERIFY(fd != -1);
        const ProbeRun run = program({"-x"}); // bad options do not matter: the lock comes first
        close(fd);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QString());
    }

    void secondInstanceStillReportsBrokenConfiguration()
    {
        writeConfig("lock = \"unterminated\n");
        const int fd = holdLock();
        QVERIFY(fd != -1);
        const ProbeRun run = probe({});
        close(fd);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.boxes.size(), 1);
        QVERIFY(run.boxes.first().contains("Unterminated quoted string"));
    }

    void lockFileThatIsNoFileIsReported_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("a FIFO, which would block") << "fifo";
        QTest::newRow("a link to /dev/zero") << "zero";
    }

    // At once, naming the file.
    void lockFileThatIsNoFileIsReported()
    {
        QFETCH(QString, kind);
        const QByteArray path = QFile::encodeName(lockPath());
        if (kind == "fifo")
            QCOMPARE(mkfifo(path.constData(), 0600), 0);
        else
            QVERIFY(QFile::link("/dev/zero", lockPath()));
        const ProbeRun run = probe({"Lock screen", "Lock screen"}, {"-L", note("ran")});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.boxes, QStringList {"Error|3\nopen(" + lockPath() + "): not a regular file"});
        QCOMPARE(markerText(), QString());
    }

    void lockIsHeldWhileTheCommandRuns()
    {
        // A second instance started by the command finds the lock taken.
        const QString second = QString("'%1' -x; echo $? >> '%2'").arg(PROBE_STARTUP, marker);
        const ProbeRun run = probe({"Lock screen", "Lock screen"}, {"-L", second});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(markerText(), QStringLiteral("0\n"));
    }

    void backgroundCommandDoesNotKeepTheLock()
    {
        const QString pidFile = home + "/sleeper.pid";
        const ProbeRun run = probe({"Lock screen", "Lock screen"},
                                   {"-L", QString("sleep 30 & echo $! > '%1'").arg(pidFile)});
        QCOMPARE(run.exitCode, 0);
        const int fd = holdLock();
        QFile pid(pidFile);
        if (pid.open(QIODevice::ReadOnly))
            kill(pid.readAll().trimmed().toInt(), SIGTERM);
        QVERIFY2(fd != -1, "a process left running by the command still holds the lock");
        close(fd);
    }

    void lockFileIsPrivateAndNeverTruncated()
    {
        probe({});
        struct stat created;
        QCOMPARE(stat(QFile::encodeName(lockPath()).constData(), &created), 0);
        QCOMPARE(created.st_mode & 0777, mode_t(0600));

        QFile existing(lockPath());
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("kept");
        existing.close();
        probe({});
        QVERIFY(existing.open(QIODevice::ReadOnly));
        QCOMPARE(existing.readAll(), QByteArray("kept"));
    }

    void missingPasswordEntryIsReported()
    {
        const QString passwd = home + "/empty-passwd";
        QFile file(passwd);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("nobody:x:65534:65534:nobody:/nonexistent:/bin/sh\n");
        file.close();
        QProcessEnvironment env = environment;
        env.insert("NSS_WRAPPER_PASSWD", passwd);
        const ProbeRun run = runProbe(PROBE_STARTUP, {}, env);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.boxes.size(), 1);
        QVERIFY2(run.boxes.first().startsWith("Error|3\n"), qPrintable(run.boxes.first()));
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
