#include "conf.h"
#include "tst_conf_helpers.h"

#include <QFileInfo>
#include <QTest>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <sys/stat.h>
#include <utime.h>

class TestConfPaths : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void filePath_data();
    void filePath();
    void pathLength_data();
    void pathLength();
    void longHomeDirectoryIsRefused();
    void makeDirCreatesTheChain();
    void makeDirWithoutProgram();
    void makeDirBehindAPlainFile();

private:
    // Puts another home directory in the password file that the tests run with.
    void setPasswordHome(const QByteArray &home);
    void writePasswd(const QString &path, const QByteArray &contents);
    QByteArray originalPasswd;
};

void TestConfPaths::init()
{
    removeConfigTree();
}

void TestConfPaths::cleanup()
{
    if (!originalPasswd.isEmpty())
        writePasswd(QString::fromLocal8Bit(qgetenv("NSS_WRAPPER_PASSWD")), originalPasswd);
    originalPasswd.clear();
    removeConfigTree();
}

void TestConfPaths::setPasswordHome(const QByteArray &home)
{
    const QString passwd = QString::fromLocal8Bit(qgetenv("NSS_WRAPPER_PASSWD"));
    QVERIFY(!passwd.isEmpty());
    originalPasswd = readFile(passwd);
    QByteArrayList fields = originalPasswd.trimmed().split(':');
    QCOMPARE(fields.size(), 7);
    fields[5] = home;
    writePasswd(passwd, fields.join(':') + '\n');
}

// The wrapper reads the file again only when its modification time changes.
void TestConfPaths::writePasswd(const QString &path, const QByteArray &contents)
{
    static time_t stamp = time(nullptr);
    writeFile(path, contents);
    stamp += 10;
    const utimbuf times = {stamp, stamp};
    QCOMPARE(utime(QFile::encodeName(path).constData(), &times), 0);
}

void TestConfPaths::filePath_data()
{
    QTest::addColumn<QByteArray>("program");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("path");

    const QString home = testHome();
    QTest::newRow("program and file") << QByteArray("farewelldesk") << QByteArray("config")
                                      << home + "/.config/ZVL/farewelldesk/config";
    QTest::newRow("no program: the suite directory")
            << QByteArray() << QByteArray("config") << home + "/.config/ZVL/config";
    QTest::newRow("absolute file name as it is")
            << QByteArray("farewelldesk") << QByteArray("/etc/farewelldesk.conf")
            << QStringLiteral("/etc/farewelldesk.conf");
}

void TestConfPaths::filePath()
{
    QFETCH(QByteArray, program);
    QFETCH(QByteArray, file);
    QFETCH(QString, path);

    const char *composed =
            conf_file_path(program.isNull() ? nullptr : program.constData(), file.constData());
    QVERIFY(composed);
    QCOMPARE(QString::fromLocal8Bit(composed), path);
}

void TestConfPaths::pathLength_data()
{
    QTest::addColumn<QByteArray>("program");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("fits");

    // {home}/.config/ZVL/{program}/{file} must fit 767 characters.
    const int room = 767 - testHome().toLocal8Bit().size() - int(strlen("/.config/ZVL//"));
    QTest::newRow("relative path of 767 characters")
            << QByteArray(10, 'p') << QByteArray(room - 10, 'f') << true;
    QTest::newRow("relative path of 768 characters")
            << QByteArray(10, 'p') << QByteArray(room - 9, 'f') << false;
    QTest::newRow("long program name") << QByteArray(room, 'p') << QByteArray("config") << false;
    QTest::newRow("absolute path of 767 characters")
            << QByteArray(700, 'p') << "/" + QByteArray(766, 'f') << true;
    QTest::newRow("absolute path of 768 characters")
            << QByteArray() << "/" + QByteArray(767, 'f') << false;
}

void TestConfPaths::pathLength()
{
    QFETCH(QByteArray, program);
    QFETCH(QByteArray, file);
    QFETCH(bool, fits);

    const char *composed =
            conf_file_path(program.isNull() ? nullptr : program.constData(), file.constData());
    if (fits) {
        QVERIFY(composed);
        QCOMPARE(int(strlen(composed)), 767);
        QVERIFY(QByteArray(composed).endsWith(file));
    } else {
        QCOMPARE(composed, nullptr);
        QCOMPARE(conf_last_error.code, int(CONF_ERR_PATH_TOO_LONG));
        QCOMPARE(QByteArray(conf_error_text()), QByteArray("Path name too long\n"));
    }
}

void TestConfPaths::longHomeDirectoryIsRefused()
{
    setPasswordHome("/" + QByteArray(760, 'h'));
    QCOMPARE(conf_file_path("farewelldesk", "config"), nullptr);
    QCOMPARE(conf_last_error.code, int(CONF_ERR_PATH_TOO_LONG));

    // Nothing to compose from the home directory: the load fails, but not as a missing file.
    QCOMPARE(conf_load("farewelldesk", "config", commandTemplate, commandCount), nullptr);
    QVERIFY(errno != ENOENT);
}

void TestConfPaths::makeDirCreatesTheChain()
{
    const mode_t oldMask = umask(022);
    char *made = conf_make_dir("farewelldesk");
    umask(oldMask);
    QVERIFY(made);
    QCOMPARE(QString::fromLocal8Bit(made), configDirectory());
    free(made);
    for (const QString &directory :
         {testHome() + "/.config", testHome() + "/.config/ZVL", configDirectory()}) {
        struct stat status;
        QVERIFY2(stat(QFile::encodeName(directory).constData(), &status) == 0,
                 qPrintable(directory));
        QVERIFY(S_ISDIR(status.st_mode));
        QCOMPARE(status.st_mode & 0777, mode_t(0700));
    }

    made = conf_make_dir("farewelldesk");
    QVERIFY(made);
    QCOMPARE(QString::fromLocal8Bit(made), configDirectory());
    free(made);
}

void TestConfPaths::makeDirWithoutProgram()
{
    char *made = conf_make_dir(nullptr);
    QVERIFY(made);
    QCOMPARE(QString::fromLocal8Bit(made), testHome() + "/.config/ZVL");
    QVERIFY(QFileInfo(testHome() + "/.config/ZVL").isDir());
    free(made);
}

void TestConfPaths::makeDirBehindAPlainFile()
{
    writeFile(testHome() + "/.config", "not a directory");
    QCOMPARE(conf_make_dir("farewelldesk"), nullptr);
    QCOMPARE(conf_last_error.code, int(CONF_ERR_FATAL));
    QCOMPARE(QByteArray(conf_last_error.prefix), QByteArray("stat()"));
    QCOMPARE(conf_last_error.saved_errno, ENOTDIR);
    QFile::remove(testHome() + "/.config");
}

QTEST_GUILESS_MAIN(TestConfPaths)
#include "tst_conf_paths.moc"
