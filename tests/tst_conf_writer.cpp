#include "conf.h"
#include "tst_conf_faults.h"
#include "tst_conf_helpers.h"

#include <QTest>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

extern "C" {

size_t fwrite(const void *data, size_t size, size_t count, FILE *stream)
{
    if (failNow("fwrite"))
        return 0;
    static auto next = real<size_t (*)(const void *, size_t, size_t, FILE *)>("fwrite");
    return next(data, size, count, stream);
}

int fflush(FILE *stream)
{
    if (failNow("fflush"))
        return EOF;
    static auto next = real<int (*)(FILE *)>("fflush");
    return next(stream);
}

int fclose(FILE *stream)
{
    static auto next = real<int (*)(FILE *)>("fclose");
    const int closed = next(stream); // the stream is gone either way
    return failNow("fclose") ? EOF : closed;
}

int fsync(int fd)
{
    if (failNow("fsync"))
        return -1;
    static auto next = real<int (*)(int)>("fsync");
    return next(fd);
}

int rename(const char *from, const char *to) __THROW
{
    if (failNow("rename"))
        return -1;
    static auto next = real<int (*)(const char *, const char *)>("rename");
    return next(from, to);
}

int mkstemp(char *pattern)
{
    if (failNow("mkstemp"))
        return -1;
    static auto next = real<int (*)(char *)>("mkstemp");
    return next(pattern);
}

FILE *fdopen(int fd, const char *mode) __THROW
{
    if (failNow("fdopen"))
        return nullptr;
    static auto next = real<FILE *(*)(int, const char *)>("fdopen");
    return next(fd, mode);
}

} // extern "C"

namespace {

const char fiveDefaults[] = "lock = \"metalock\"\n"
                            "logout = \"fluxbox exit\"\n"
                            "shutdown = \"shutdown -p now\"\n"
                            "reboot = \"shutdown -r now\"\n"
                            "suspend = \"acpiconf -s 3\"\n"
                            "\n";

QStringList directoryEntries()
{
    return QDir(configDirectory())
            .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
}

QByteArray configContents()
{
    return readFile(configPath());
}

// A list of the typed template: global section, "net" and "wifi".
ConfSection *typedSections()
{
    ConfSection *first = conf_new_section(nullptr, typedTemplate, typedCount);
    conf_add_section(first, "net", typedTemplate, typedCount);
    conf_add_section(first, "wifi", typedTemplate, typedCount);
    return first;
}

int saveTyped(const ConfSection *sections)
{
    return conf_save("farewelldesk", "config", sections);
}

} // namespace

class TestConfWriter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void fiveCommandDefaults();
    void output_data();
    void output();
    void savedFileReadsBack_data();
    void savedFileReadsBack();
    void replacesAnExistingFile();
    void keepsASymbolicLink();
    void refusesWhatWouldNotReadBack_data();
    void refusesWhatWouldNotReadBack();
    void unwritableConfiguration_data();
    void unwritableConfiguration();
    void failingCallsLeaveTheOldFile_data();
    void failingCallsLeaveTheOldFile();
    void failureOnAFirstSaveLeavesNoFile();
};

void TestConfWriter::init()
{
    removeConfigTree();
}

void TestConfWriter::cleanup()
{
    disarm();
}

void TestConfWriter::fiveCommandDefaults()
{
    ConfSection *section = conf_new_section(nullptr, commandTemplate, commandCount);
    QCOMPARE(conf_save("farewelldesk", "config", section), 0);
    conf_free_sections(section);

    QCOMPARE(configContents(), QByteArray(fiveDefaults));
    QCOMPARE(directoryEntries(), QStringList {"config"});
    struct stat status;
    QCOMPARE(stat(QFile::encodeName(configPath()).constData(), &status), 0);
    QCOMPARE(status.st_mode & 0777, mode_t(0600));
}

void TestConfWriter::output_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<QByteArray>("text");

    const QByteArray tail =
            "net:\nlock = \"metalock\"\nitems = \"a\", \"b c\"\ncount = 7\nflag = true\n\n"
            "wifi:\nlock = \"metalock\"\nitems = \"a\", \"b c\"\ncount = 7\nflag = true\n\n";
    QTest::newRow("defaults: slot order, a header per named section")
            << 0
            << "lock = \"metalock\"\nitems = \"a\", \"b c\"\ncount = 7\nflag = true\n\n" + tail;
    QTest::newRow("quote, backslash and hash are escaped")
            << 1
            << "lock = \"say \\\"hi\\\" \\\\ \\#1\"\nitems = \"a\", \"b c\"\ncount = 7\nflag = "
               "true\n\n"
                       + tail;
    QTest::newRow("none string writes no line; none list writes the name")
            << 2 << "items = \ncount = 7\nflag = true\n\n" + tail;
    QTest::newRow("negative integer, false boolean, three items")
            << 3
            << "lock = \"metalock\"\nitems = \"x\", \"\", \"z\"\ncount = -5\nflag = false\n\n"
                       + tail;
}

void TestConfWriter::output()
{
    QFETCH(int, change);
    QFETCH(QByteArray, text);

    static const char *const threeItems[] = {"x", "", "z", nullptr};
    ConfSection *sections = typedSections();
    ConfValue value;
    switch (change) {
    case 1:
        conf_set_value(sections, 0, ConfValue("say \"hi\" \\ #1"));
        break;
    case 2:
        conf_set_value(sections, 0, ConfValue(static_cast<const char *>(nullptr)));
        conf_set_value(sections, 1, ConfValue(static_cast<const char *const *>(nullptr)));
        break;
    case 3:
        conf_set_value(sections, 1, ConfValue(threeItems));
        conf_set_value(sections, 2, ConfValue(int32_t(-5)));
        value.word = 0;
        conf_set_value(sections, 3, value);
        break;
    }
    QCOMPARE(saveTyped(sections), 0);
    conf_free_sections(sections);
    QCOMPARE(configContents(), text);
}

void TestConfWriter::savedFileReadsBack_data()
{
    QTest::addColumn<QByteArray>("lock");
    QTest::addColumn<QString>("sectionName");

    QTest::newRow("plain") << QByteArray("xlock") << QStringLiteral("net");
    QTest::newRow("quotes, backslashes, blanks and commas")
            << QByteArray("\"a\", b\\ \\") << QStringLiteral("net");
    QTest::newRow("a value that looks like a header") << QByteArray("a:#b") << QStringLiteral("n");
    QTest::newRow("a value that looks like a comment") << QByteArray("# x") << QStringLiteral("n#");
    QTest::newRow("carriage return and tab") << QByteArray("a\r\tb\\") << QStringLiteral("a b\t");
    QTest::newRow("empty string") << QByteArray("") << QStringLiteral("x=y");
}

void TestConfWriter::savedFileReadsBack()
{
    QFETCH(QByteArray, lock);
    QFETCH(QString, sectionName);

    static const char *const items[] = {"", "a,b", "\\", "\"", "c:#", nullptr};
    ConfSection *sections = conf_new_section(nullptr, typedTemplate, typedCount);
    ConfSection *named =
            conf_add_section(sections, sectionName.toUtf8().constData(), typedTemplate, typedCount);
    conf_set_value(sections, 0, ConfValue(lock.constData()));
    conf_set_value(named, 0, ConfValue(lock.constData()));
    conf_set_value(named, 1, ConfValue(items));
    conf_set_value(named, 2, ConfValue(int32_t(INT32_MIN)));
    QCOMPARE(saveTyped(sections), 0);

    ConfSection *loaded = conf_load("farewelldesk", "config", typedTemplate, typedCount);
    QVERIFY2(loaded, conf_error_text());
    QCOMPARE(dumpSections(loaded), dumpSections(sections));
    conf_free_sections(loaded);
    conf_free_sections(sections);
}

void TestConfWriter::replacesAnExistingFile()
{
    writeConfig("# old\ncount = 1\n");
    ConfSection *sections = typedSections();
    QCOMPARE(saveTyped(sections), 0);
    conf_free_sections(sections);
    QVERIFY(configContents().startsWith("lock = \"metalock\"\n"));
    QCOMPARE(directoryEntries(), QStringList {"config"});
}

void TestConfWriter::keepsASymbolicLink()
{
    const QString dotfiles = testHome() + "/dotfiles";
    writeFile(dotfiles + "/farewelldesk.conf", "count = 1\n");
    QVERIFY(QDir().mkpath(configDirectory()));
    QVERIFY(QFile::link(dotfiles + "/farewelldesk.conf", configPath()));

    ConfSection *section = conf_new_section(nullptr, commandTemplate, commandCount);
    QCOMPARE(conf_save("farewelldesk", "config", section), 0);
    conf_free_sections(section);

    QVERIFY(QFileInfo(configPath()).isSymLink());
    QCOMPARE(readFile(dotfiles + "/farewelldesk.conf"), QByteArray(fiveDefaults));
    QCOMPARE(QDir(dotfiles).entryList(QDir::Files), QStringList {"farewelldesk.conf"});
    QCOMPARE(directoryEntries(), QStringList {"config"});
    QDir(dotfiles).removeRecursively();
}

void TestConfWriter::refusesWhatWouldNotReadBack_data()
{
    QTest::addColumn<QByteArray>("sectionName");
    QTest::addColumn<QByteArray>("lock");
    QTest::addColumn<QByteArray>("item");
    QTest::addColumn<QByteArray>("prefix");

    QTest::newRow("newline in a string") << QByteArray("net") << QByteArray("a\nb")
                                         << QByteArray("x") << QByteArray("Variable 'lock'");
    QTest::newRow("newline in a list item") << QByteArray("net") << QByteArray("a")
                                            << QByteArray("x\n") << QByteArray("Variable 'items'");
    QTest::newRow("empty section name")
            << QByteArray("") << QByteArray("a") << QByteArray("x") << QByteArray("Section ''");
    QTest::newRow("section name starting with a blank")
            << QByteArray(" net") << QByteArray("a") << QByteArray("x")
            << QByteArray("Section ' net'");
    QTest::newRow("section name starting with '#'")
            << QByteArray("#net") << QByteArray("a") << QByteArray("x")
            << QByteArray("Section '#net'");
    QTest::newRow("section name with ':'") << QByteArray("a:b") << QByteArray("a")
                                           << QByteArray("x") << QByteArray("Section 'a:b'");
    QTest::newRow("section name with a newline") << QByteArray("a\nb") << QByteArray("a")
                                                 << QByteArray("x") << QByteArray("Section 'a\nb'");
}

void TestConfWriter::refusesWhatWouldNotReadBack()
{
    QFETCH(QByteArray, sectionName);
    QFETCH(QByteArray, lock);
    QFETCH(QByteArray, item);
    QFETCH(QByteArray, prefix);

    writeConfig("# old\n");
    ConfSection *sections = conf_new_section(nullptr, typedTemplate, typedCount);
    ConfSection *named =
            conf_add_section(sections, sectionName.constData(), typedTemplate, typedCount);
    const char *const items[] = {"a", item.constData(), nullptr};
    conf_set_value(named, 0, ConfValue(lock.constData()));
    conf_set_value(named, 1, ConfValue(items));

    QCOMPARE(saveTyped(sections), -1);
    conf_free_sections(sections);
    QCOMPARE(conf_last_error.code, int(CONF_ERR_FATAL));
    QCOMPARE(conf_last_error.saved_errno, EINVAL);
    QCOMPARE(QByteArray(conf_last_error.prefix), prefix);
    QCOMPARE(configContents(), QByteArray("# old\n"));
    QCOMPARE(directoryEntries(), QStringList {"config"});
}

void TestConfWriter::unwritableConfiguration_data()
{
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<QByteArray>("why");

    QTest::newRow("a directory") << QByteArray("directory")
                                 << QByteArray(": Fatal error: Is a directory");
    QTest::newRow("a FIFO, never swapped for a file")
            << QByteArray("fifo")
            << QByteArray(": not a regular file: Fatal error: Invalid argument");
}

// What stands where the file should be is left as it is.
void TestConfWriter::unwritableConfiguration()
{
    QFETCH(QByteArray, kind);
    QFETCH(QByteArray, why);

    const QByteArray path = QFile::encodeName(configPath());
    QVERIFY(QDir().mkpath(configDirectory()));
    if (kind == "directory")
        QVERIFY(QDir().mkpath(configPath()));
    else
        QCOMPARE(mkfifo(path.constData(), 0600), 0);
    ConfSection *sections = typedSections();
    QCOMPARE(saveTyped(sections), -1);
    conf_free_sections(sections);
    QCOMPARE(QByteArray(conf_error_text()), "Fatal: " + path + why + "\n");
    const QFileInfo info(configPath());
    QVERIFY(kind == "directory" ? info.isDir() : !info.isFile());
    QCOMPARE(directoryEntries(), QStringList {"config"});
}

void TestConfWriter::failingCallsLeaveTheOldFile_data()
{
    QTest::addColumn<QByteArray>("function");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("harmless"); // failing calls that cannot harm the new file

    QTest::newRow("mkstemp") << QByteArray("mkstemp") << EEXIST << 0;
    QTest::newRow("fdopen") << QByteArray("fdopen") << EMFILE << 0;
    QTest::newRow("fwrite") << QByteArray("fwrite") << ENOSPC << 0;
    QTest::newRow("fflush") << QByteArray("fflush") << ENOSPC << 0;
    QTest::newRow("fsync: the directory's, after the rename, is harmless")
            << QByteArray("fsync") << EIO << 1;
    QTest::newRow("fclose") << QByteArray("fclose") << EDQUOT << 0;
    QTest::newRow("rename") << QByteArray("rename") << EXDEV << 0;
}

// Fails each call of the function in turn, from the first to the last.
void TestConfWriter::failingCallsLeaveTheOldFile()
{
    QFETCH(QByteArray, function);
    QFETCH(int, error);
    QFETCH(int, harmless);

    const QByteArray oldContents = "# old\ncount = 1\n";
    const QByteArray path = QFile::encodeName(configPath()); // absolute: no password lookup
    ConfSection *sections = typedSections();
    int failures = 0;
    int unnoticed = 0;
    for (int nth = 1;; ++nth) {
        writeConfig(oldContents);
        arm(function.constData(), nth, error);
        const int result = conf_save(nullptr, path.constData(), sections);
        disarm();
        if (!fault.injected) {
            QCOMPARE(result, 0); // past the last call: the save goes through
            break;
        }
        const QByteArray row = function + " #" + QByteArray::number(nth);
        if (result == 0) {
            ++unnoticed;
            QVERIFY2(configContents().startsWith("lock = "), row.constData());
        } else {
            ++failures;
            QVERIFY2(configContents() == oldContents, row.constData());
            QCOMPARE(QByteArray(conf_last_error.prefix), function + "()");
            QCOMPARE(conf_last_error.saved_errno, error);
        }
        QVERIFY2(directoryEntries() == QStringList {"config"}, row.constData());
    }
    conf_free_sections(sections);
    QVERIFY(failures > 0);
    QCOMPARE(unnoticed, harmless);
}

void TestConfWriter::failureOnAFirstSaveLeavesNoFile()
{
    ConfSection *sections = typedSections();
    arm("rename", 1, EIO);
    QCOMPARE(saveTyped(sections), -1);
    disarm();
    conf_free_sections(sections);
    QVERIFY(fault.injected);
    QVERIFY(QFileInfo(configDirectory()).isDir());
    QCOMPARE(directoryEntries(), QStringList());
}

QTEST_GUILESS_MAIN(TestConfWriter)
#include "tst_conf_writer.moc"
