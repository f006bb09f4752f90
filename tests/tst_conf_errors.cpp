#include "conf.h"

#include <QTest>

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace {

const char configPath[] = "/home/user/.config/ZVL/farewelldesk/config";

// Records an error as the library does, with the path buffer naming configPath.
void record(int code, int savedErrno, int line, const char *prefix)
{
    QVERIFY(conf_file_path(nullptr, configPath));
    errno = savedErrno;
    if (prefix)
        conf_set_error(code, "%s", prefix);
    else
        conf_set_error(code, nullptr);
    conf_last_error.line = line;
}

// What conf_print_error() writes, caught through a temporary file.
QByteArray printedError()
{
    fflush(stderr);
    FILE *capture = tmpfile();
    const int savedStderr = dup(STDERR_FILENO);
    dup2(fileno(capture), STDERR_FILENO);
    conf_print_error();
    fflush(stderr);
    dup2(savedStderr, STDERR_FILENO);
    close(savedStderr);
    rewind(capture);
    char buffer[4096];
    const size_t length = fread(buffer, 1, sizeof buffer, capture);
    fclose(capture);
    return QByteArray(buffer, int(length));
}

} // namespace

class TestConfErrors : public QObject
{
    Q_OBJECT

private slots:
    void errorText_data();
    void errorText();
    void printedTextMatchesComposedText_data();
    void printedTextMatchesComposedText();
    void unknownCodeIsPrintedAsWarning();
    void recordingLeavesErrnoAlone();
    void composingRestoresErrnoOfTheFailure();
    void longPrefixIsCut();
};

void TestConfErrors::errorText_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("savedErrno");
    QTest::addColumn<int>("line");
    QTest::addColumn<QByteArray>("prefix");
    QTest::addColumn<QByteArray>("text");

    const QByteArray path(configPath);
    QTest::newRow("missing file: no lead for ENOENT")
            << 7 << ENOENT << 0 << path << path + ": Fatal error: No such file or directory\n";
    QTest::newRow("file not writable: fatal lead")
            << 7 << EACCES << 0 << path << "Fatal: " + path + ": Fatal error: Permission denied\n";
    QTest::newRow("fatal error keeps its errno text even inside a file")
            << 7 << ENOMEM << 4 << QByteArray("strdup()")
            << QByteArray("Fatal: strdup(): Fatal error: Cannot allocate memory\n");
    QTest::newRow("missing '=' on line 3")
            << 0x103 << 0 << 3 << QByteArray()
            << "Syntax error: Missing '=', in file " + path + ", line 3\n";
    QTest::newRow("syntax error on line 1 names the file")
            << 0x102 << 0 << 1 << QByteArray()
            << "Syntax error: Unterminated quoted string, in file " + path + ", line 1\n";
    QTest::newRow("syntax error outside a file has no file part")
            << 0x105 << 0 << 0 << QByteArray() << QByteArray("Syntax error: Unknown variable\n");
    QTest::newRow("escape error, never recorded by the reader, composes alike")
            << 0x101 << 0 << 0 << QByteArray()
            << QByteArray("Syntax error: Incomplete escape sequence\n");
    QTest::newRow("missing value on line 2")
            << 0x104 << 0 << 2 << QByteArray()
            << "Syntax error: Missing value, in file " + path + ", line 2\n";
    QTest::newRow("duplicated section on line 12")
            << 8 << 0 << 12 << QByteArray("Section 'net'")
            << "Section 'net': Duplicated config file section, in file " + path + ", line 12\n";
    QTest::newRow("duplicated global section outside a file")
            << 8 << 0 << 0 << QByteArray("Global section")
            << QByteArray("Global section: Duplicated config file section\n");
    QTest::newRow("path too long")
            << 6 << ENAMETOOLONG << 0 << QByteArray() << QByteArray("Path name too long\n");
    QTest::newRow("code 5 is unknown")
            << 5 << 0 << 0 << QByteArray() << QByteArray("Unknown error code");
    QTest::newRow("code 0, the record's first state, is unknown")
            << 0 << 0 << 0 << QByteArray() << QByteArray("Unknown error code");
    QTest::newRow("code between the syntax errors and beyond is unknown")
            << 0x106 << 0 << 3 << QByteArray() << QByteArray("Unknown error code");
    QTest::newRow("no error recorded") << -1 << 0 << 0 << QByteArray() << QByteArray();
}

void TestConfErrors::errorText()
{
    QFETCH(int, code);
    QFETCH(int, savedErrno);
    QFETCH(int, line);
    QFETCH(QByteArray, prefix);
    QFETCH(QByteArray, text);

    record(code, savedErrno, line, prefix.isEmpty() ? nullptr : prefix.constData());
    QCOMPARE(QByteArray(conf_error_text()), text);
}

void TestConfErrors::printedTextMatchesComposedText_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("line");

    QTest::newRow("fatal") << 7 << 0;
    QTest::newRow("syntax error in a file") << 0x103 << 5;
    QTest::newRow("duplicate outside a file") << 8 << 0;
    QTest::newRow("nothing recorded") << -1 << 0;
}

void TestConfErrors::printedTextMatchesComposedText()
{
    QFETCH(int, code);
    QFETCH(int, line);

    record(code, EACCES, line, "prefix");
    QCOMPARE(printedError(), QByteArray(conf_error_text()));
}

void TestConfErrors::unknownCodeIsPrintedAsWarning()
{
    record(5, EPERM, 0, nullptr);
    const QByteArray printed = printedError();
    QCOMPARE(errno, EPERM);
    QVERIFY2(printed.endsWith(": Unknown error code\n"), printed.constData());
    QVERIFY2(printed.startsWith("tst_conf_errors"), printed.constData());
}

void TestConfErrors::recordingLeavesErrnoAlone()
{
    errno = EROFS;
    conf_set_error(7, "%s", "a prefix long enough to format");
    QCOMPARE(errno, EROFS);
    QCOMPARE(conf_last_error.saved_errno, EROFS);
}

void TestConfErrors::composingRestoresErrnoOfTheFailure()
{
    record(7, ENOSPC, 0, "fwrite()");
    errno = 0;
    conf_error_text();
    QCOMPARE(errno, ENOSPC);

    record(5, ENOSPC, 0, nullptr);
    errno = EINTR;
    conf_error_text();
    QCOMPARE(errno, EINTR); // an unknown code leaves errno alone
}

void TestConfErrors::longPrefixIsCut()
{
    const QByteArray longPrefix(1500, 'p');
    record(7, ENOMEM, 0, longPrefix.constData());
    QCOMPARE(QByteArray(conf_last_error.prefix), longPrefix.left(1023));
    QVERIFY(QByteArray(conf_error_text()).startsWith("Fatal: " + longPrefix.left(1023) + ": "));
}

QTEST_GUILESS_MAIN(TestConfErrors)
#include "tst_conf_errors.moc"
