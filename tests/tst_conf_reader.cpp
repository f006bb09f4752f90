#include "conf.h"
#include "tst_conf_faults.h"
#include "tst_conf_helpers.h"

#include <QTest>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

extern "C" {

char *strdup(const char *text) __THROW
{
    if (failNow("strdup"))
        return nullptr;
    static auto next = real<char *(*)(const char *)>("strdup");
    return next(text);
}

} // extern "C"

namespace {

const QString defaults = QStringLiteral("lock=metalock items=[a|b c] count=7 flag=true");

ConfSection *loadTyped()
{
    return conf_load("farewelldesk", "config", typedTemplate, typedCount);
}

// The error text with the configuration path written as {file}.
QByteArray errorTextWithoutPath()
{
    return QByteArray(conf_error_text()).replace(QFile::encodeName(configPath()), "{file}");
}

QStringList corpusFiles(const char *kind)
{
    // No name filter: it would run PCRE's JIT code, which valgrind cannot follow.
    const QDir directory(QStringLiteral(CONF_TEST_DATA "/") + QLatin1String(kind));
    QStringList files;
    for (const QString &name : directory.entryList(QDir::Files, QDir::Name))
        if (name.endsWith(QLatin1String(".conf")))
            files << directory.filePath(name);
    return files;
}

QByteArray expectationOf(const QString &confFile)
{
    return readFile(confFile.chopped(int(strlen(".conf"))) + QStringLiteral(".expected"));
}

} // namespace

class TestConfReader : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void items_data();
    void items();
    void splitListWithoutItems();
    void splitListReportsAllocationFailures_data();
    void splitListReportsAllocationFailures();
    void load_data();
    void load();
    void loadErrors_data();
    void loadErrors();
    void goodCorpus_data();
    void goodCorpus();
    void badCorpus_data();
    void badCorpus();
    void missingFile();
    void fileWithoutWritePermissionLoads();
    void onlyRegularFilesOfASaneSizeAreRead_data();
    void onlyRegularFilesOfASaneSizeAreRead();
    void syntaxErrorIsNotTakenForAMissingFile();
    void manySections();
};

void TestConfReader::init()
{
    removeConfigTree();
}

void TestConfReader::items_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QStringList>("items");

    QTest::newRow("quoted string")
            << QByteArray("\"shutdown -p now\"") << QStringList {"shutdown -p now"};
    QTest::newRow("unquoted blanks are dropped")
            << QByteArray("shutdown -p now") << QStringList {"shutdown-pnow"};
    QTest::newRow("three items") << QByteArray("\"a\", \"b c\", d")
                                 << QStringList {"a", "b c", "d"};
    QTest::newRow("empty item between commas") << QByteArray("a,,b") << QStringList {"a", "", "b"};
    QTest::newRow("trailing comma adds nothing") << QByteArray("a, b,") << QStringList {"a", "b"};
    QTest::newRow("escaped quotes")
            << QByteArray("\"say \\\"hi\\\"\"") << QStringList {"say \"hi\""};
    QTest::newRow("escaped backslashes, one at the end")
            << QByteArray("\"dir\\\\sub\\\\\"") << QStringList {"dir\\sub\\"};
    QTest::newRow("comma and hash inside quotes")
            << QByteArray("\"a,b\" # two letters") << QStringList {"a,b"};
    QTest::newRow("only a comment is one empty item")
            << QByteArray("# only a comment") << QStringList {""};
    QTest::newRow("empty quotes are one empty item") << QByteArray("\"\"") << QStringList {""};
    QTest::newRow("quoting starts and ends inside an item")
            << QByteArray("ab\"c d\"e") << QStringList {"abc de"};
    QTest::newRow("backslash n is n") << QByteArray("a\\nb") << QStringList {"anb"};
    QTest::newRow("escaped comma and hash outside quotes")
            << QByteArray("a\\,b\\#c") << QStringList {"a,b#c"};
    QTest::newRow("odd backslashes at the end: the last one goes")
            << QByteArray("abc\\\\\\") << QStringList {"abc\\"};
    QTest::newRow("bytes above 0x7f are no whitespace") << QByteArray("a\xa0"
                                                                      "b")
                                                        << QStringList {QString::fromLatin1("a\xa0"
                                                                                            "b")};
}

void TestConfReader::items()
{
    QFETCH(QByteArray, value);
    QFETCH(QStringList, items);

    int failed = -1;
    char **list = conf_split_list(value.constData(), &failed);
    QCOMPARE(failed, 0);
    QStringList got;
    for (char **item = list; item && *item; ++item)
        got << QString::fromLatin1(*item);
    for (char **item = list; item && *item; ++item)
        free(*item);
    free(list);
    QCOMPARE(got, items);
}

void TestConfReader::splitListWithoutItems()
{
    int failed = -1;
    QCOMPARE(conf_split_list(nullptr, &failed), nullptr);
    QCOMPARE(failed, 0);
    QCOMPARE(conf_split_list(" \t ", &failed), nullptr);
    QCOMPARE(failed, 0);
    QCOMPARE(conf_split_list("\"abc", &failed), nullptr);
    QCOMPARE(failed, 1);
    QCOMPARE(conf_last_error.code, int(CONF_ERR_QUOTE));
}

void TestConfReader::splitListReportsAllocationFailures_data()
{
    QTest::addColumn<int>("nth");
    QTest::newRow("the first item cannot be copied") << 1;
    QTest::newRow("the last item cannot be copied") << 3;
}

// When add_string cannot copy an item, the caller learns that it was a
// failure, not a text without items, and nothing built so far is left behind.
// (realloc is left alone: the sanitizers and valgrind bring their own.)
void TestConfReader::splitListReportsAllocationFailures()
{
    QFETCH(int, nth);
    int failed = 0;
    arm("strdup", nth, ENOMEM);
    char **list = conf_split_list("a, \"b c\", d", &failed);
    const bool injected = fault.injected;
    disarm();
    QVERIFY2(injected, "the armed call never came");
    QCOMPARE(list, nullptr);
    QCOMPARE(failed, 1);
    QCOMPARE(conf_last_error.code, int(CONF_ERR_FATAL));
    QCOMPARE(conf_last_error.saved_errno, ENOMEM);
}

void TestConfReader::load_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("dump");

    const QString global = QStringLiteral("[] ");
    QTest::newRow("empty file") << QByteArray() << "[] " + defaults + "\n";
    QTest::newRow("only blank and comment lines")
            << QByteArray("\n# lock = \"x\"\n   \n\t# indented comment\n")
            << "[] " + defaults + "\n";
    QTest::newRow("first meaningful line is a header: no global section")
            << QByteArray("# intro\nnet:\nlock = x\n")
            << "[net] lock=x items=[a|b c] count=7 flag=true\n";
    QTest::newRow("global section, then named ones in file order")
            << QByteArray("count = 1\nwifi:\ncount = 2\nnet:\ncount = 3\n")
            << "[] lock=metalock items=[a|b c] count=1 flag=true\n"
               "[wifi] lock=metalock items=[a|b c] count=2 flag=true\n"
               "[net] lock=metalock items=[a|b c] count=3 flag=true\n";
    QTest::newRow("quoted blanks stay")
            << QByteArray("lock = \"xlock -mode blank\"\n")
            << "[] lock=xlock -mode blank items=[a|b c] count=7 flag=true\n";
    QTest::newRow("unquoted blanks go")
            << QByteArray("lock = xlock -mode blank\n")
            << "[] lock=xlock-modeblank items=[a|b c] count=7 flag=true\n";
    QTest::newRow("a string takes the first item only")
            << QByteArray("lock = \"x\", \"y\"\n") << "[] lock=x items=[a|b c] count=7 flag=true\n";
    QTest::newRow("a list ends at its comment")
            << QByteArray("items = \"a\", \"b\" # c\n")
            << "[] lock=metalock items=[a|b] count=7 flag=true\n";
    QTest::newRow("escaped backslash at the end of a list joins no line")
            << QByteArray("items = \"a\\\\\", \"b\"\ncount = 3\n")
            << "[] lock=metalock items=[a\\|b] count=3 flag=true\n";
    QTest::newRow("continuation line without its leading blanks")
            << QByteArray("lock = \"abc\\\n   def\"\n")
            << "[] lock=abcdef items=[a|b c] count=7 flag=true\n";
    QTest::newRow("empty line ends a continuation")
            << QByteArray("lock = abc\\\n\ncount = 2\n")
            << "[] lock=abc items=[a|b c] count=2 flag=true\n";
    QTest::newRow("backslash at the end of the last line is dropped")
            << QByteArray("lock = abc\\") << "[] lock=abc items=[a|b c] count=7 flag=true\n";
    QTest::newRow("last line without LF")
            << QByteArray("count = 5") << "[] lock=metalock items=[a|b c] count=5 flag=true\n";
    QTest::newRow("CR LF lines read like LF lines")
            << QByteArray("lock = \"a b\"\r\nnet:\r\ncount = 4\r\n")
            << "[] lock=a b items=[a|b c] count=7 flag=true\n"
               "[net] lock=metalock items=[a|b c] count=4 flag=true\n";
    QTest::newRow("a backslash before CR LF continues the line")
            << QByteArray("lock = \"a \\\r\n  b\"\r\ncount = 1\r\n")
            << "[] lock=a b items=[a|b c] count=1 flag=true\n";
    QTest::newRow("blanks before the colon belong to the name")
            << QByteArray("net :\n") << "[net ] " + defaults + "\n";
    QTest::newRow("header with a comment after the colon")
            << QByteArray("net:  # the network\n") << "[net] " + defaults + "\n";
    QTest::newRow("an assignment ending in a colon is a header")
            << QByteArray("lock = a:\n") << "[lock = a] " + defaults + "\n";
    QTest::newRow("vertical tab line skipped before the first header")
            << QByteArray("\v\ncount = 1\n\f\n")
            << "[] lock=metalock items=[a|b c] count=1 flag=true\n";
    QTest::newRow("later assignment replaces, a list too")
            << QByteArray("items = x, y\ncount = 1\nitems = z\ncount = 2\n")
            << "[] lock=metalock items=[z] count=2 flag=true\n";
    QTest::newRow("empty list") << QByteArray("items =\n")
                                << "[] lock=metalock items=<none> count=7 flag=true\n";
    QTest::newRow("value that is only a comment is an empty string")
            << QByteArray("lock = # none\n") << "[] lock= items=[a|b c] count=7 flag=true\n";
    QTest::newRow("integer stops at the first non-digit")
            << QByteArray("count = 12abc\n")
            << "[] lock=metalock items=[a|b c] count=12 flag=true\n";
    QTest::newRow("integer without digits is 0")
            << QByteArray("count = \"x\"\n")
            << "[] lock=metalock items=[a|b c] count=0 flag=true\n";
    QTest::newRow("negative integer")
            << QByteArray("count = -2147483648\n")
            << "[] lock=metalock items=[a|b c] count=-2147483648 flag=true\n";
    QTest::newRow("NUL ends the text of its line") << QByteArray("lock = x\0junk\ncount = 3\n", 24)
                                                   << "[] lock=x items=[a|b c] count=3 flag=true\n";
    QTest::newRow("characters between the name and '=' are ignored")
            << QByteArray("count junk = 9\n")
            << "[] lock=metalock items=[a|b c] count=9 flag=true\n";
    const QByteArray longValue(5000, 'v');
    QTest::newRow("line longer than the line buffer")
            << "count = 1\nlock = \"" + longValue + "\"\ncount = 2\n"
            << "[] lock=" + QString::fromLatin1(longValue) + " items=[a|b c] count=2 flag=true\n";

    const char *const booleans[][2] = {
            {"off", "true"}, {"No", "false"},  {"FALSE", "false"}, {"0", "false"},
            {"00", "false"}, {"0x1", "false"}, {"yes", "true"},    {"on", "true"},
            {"1", "true"},   {"-0", "true"},   {"\"\"", "true"},   {"2", "true"},
    };
    for (const auto &boolean : booleans)
        QTest::addRow("flag = %s is %s", boolean[0], boolean[1])
                << "flag = " + QByteArray(boolean[0]) + "\n"
                << QStringLiteral("[] lock=metalock items=[a|b c] count=7 flag=%1\n")
                           .arg(boolean[1]);
}

void TestConfReader::load()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, dump);

    writeConfig(contents);
    ConfSection *sections = loadTyped();
    QVERIFY2(sections, conf_error_text());
    QCOMPARE(dumpSections(sections), dump);
    QCOMPARE(QByteArray(conf_error_text()), QByteArray());
    conf_free_sections(sections);
}

void TestConfReader::loadErrors_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("no '='") << QByteArray("lock \"x\"\n")
                            << QByteArray("Syntax error: Missing '=', in file {file}, line 1\n");
    QTest::newRow("names are case-sensitive")
            << QByteArray("# comment\nLock = \"x\"\n")
            << QByteArray("Syntax error: Unknown variable, in file {file}, line 2\n");
    QTest::newRow("unterminated quote")
            << QByteArray("count = 1\nlock = \"abc\n")
            << QByteArray("Syntax error: Unterminated quoted string, in file {file}, line 2\n");
    QTest::newRow("unterminated quote in a list")
            << QByteArray("items = a, \"b\n")
            << QByteArray("Syntax error: Unterminated quoted string, in file {file}, line 1\n");
    QTest::newRow("duplicated section")
            << QByteArray("net:\ncount = 1\nwifi:\nnet:\n")
            << QByteArray(
                       "Section 'net': Duplicated config file section, in file {file}, line 4\n");
    QTest::newRow("vertical tab line after a header")
            << QByteArray("net:\n\v\n")
            << QByteArray("Syntax error: Missing '=', in file {file}, line 2\n");
    QTest::newRow("empty string value")
            << QByteArray("lock =\n")
            << QByteArray("Syntax error: Missing value, in file {file}, line 1\n");
    QTest::newRow("empty integer value")
            << QByteArray("\ncount =   \t\n")
            << QByteArray("Syntax error: Missing value, in file {file}, line 2\n");
    QTest::newRow("empty boolean value")
            << QByteArray("net:\nflag=")
            << QByteArray("Syntax error: Missing value, in file {file}, line 2\n");
    QTest::newRow("error after a continuation names the later line")
            << QByteArray("lock = \"abc\\\n   def\"\nbogus\n")
            << QByteArray("Syntax error: Missing '=', in file {file}, line 3\n");
    QTest::newRow("a continuation swallows a header line")
            << QByteArray("lock = \"abc\\\nnet:\n")
            << QByteArray("Syntax error: Unterminated quoted string, in file {file}, line 2\n");
}

void TestConfReader::loadErrors()
{
    QFETCH(QByteArray, contents);
    QFETCH(QByteArray, text);

    writeConfig(contents);
    QCOMPARE(loadTyped(), nullptr);
    QCOMPARE(errorTextWithoutPath(), text);
}

// A row for each file of the corpus folder.
static void addCorpusRows(const char *folder)
{
    QTest::addColumn<QString>("file");
    const QStringList files = corpusFiles(folder);
    QVERIFY(!files.isEmpty());
    for (const QString &file : files)
        QTest::newRow(qPrintable(QFileInfo(file).fileName())) << file;
}

void TestConfReader::goodCorpus_data()
{
    addCorpusRows("good");
}

void TestConfReader::goodCorpus()
{
    QFETCH(QString, file);

    writeConfig(readFile(file));
    ConfSection *sections = loadTyped();
    QVERIFY2(sections, conf_error_text());
    QCOMPARE(dumpSections(sections).toUtf8(), expectationOf(file));
    conf_free_sections(sections);
}

void TestConfReader::badCorpus_data()
{
    addCorpusRows("bad");
}

void TestConfReader::badCorpus()
{
    QFETCH(QString, file);

    writeConfig(readFile(file));
    QCOMPARE(loadTyped(), nullptr);
    QCOMPARE(errorTextWithoutPath(), expectationOf(file));
}

void TestConfReader::missingFile()
{
    QCOMPARE(loadTyped(), nullptr);
    QCOMPARE(errno, ENOENT);
    QCOMPARE(errorTextWithoutPath(),
             QByteArray("{file}: Fatal error: No such file or directory\n"));
    QVERIFY(!QFileInfo::exists(configPath()));
}

void TestConfReader::fileWithoutWritePermissionLoads()
{
    writeConfig("count = 3\n");
    QVERIFY(QFile::setPermissions(configPath(), QFile::ReadOwner));
    ConfSection *sections = loadTyped();
    QVERIFY2(sections, conf_error_text());
    QCOMPARE(sections->vars[2].value.integer, 3);
    conf_free_sections(sections);
}

void TestConfReader::onlyRegularFilesOfASaneSizeAreRead_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("error");
    QTest::addColumn<QByteArray>("text");
    const auto notRegular = [](int error) {
        return "Fatal: {file}: not a regular file: Fatal error: " + QByteArray(strerror(error))
               + "\n";
    };
    QTest::newRow("a FIFO, which would block") << "fifo" << EINVAL << notRegular(EINVAL);
    QTest::newRow("a link to /dev/zero, which never ends")
            << "zero" << EINVAL << notRegular(EINVAL);
    QTest::newRow("a directory") << "directory" << EISDIR << notRegular(EISDIR);
    QTest::newRow("a file over the limit") << "large" << EFBIG
                                           << "Fatal: {file}: larger than 64 MiB: Fatal error: "
                                                      + QByteArray(strerror(EFBIG)) + "\n";
}

// Each fails at once and names the file; none is taken for a missing file.
void TestConfReader::onlyRegularFilesOfASaneSizeAreRead()
{
    QFETCH(QString, kind);
    QFETCH(int, error);
    QFETCH(QByteArray, text);

    QVERIFY(QDir().mkpath(configDirectory()));
    const QByteArray path = QFile::encodeName(configPath());
    if (kind == "fifo") {
        QCOMPARE(mkfifo(path.constData(), 0600), 0);
    } else if (kind == "zero") {
        QVERIFY(QFile::link("/dev/zero", configPath()));
    } else if (kind == "directory") {
        QVERIFY(QDir().mkdir(configPath()));
    } else {
        writeConfig("count = 1\n"); // sparse: nothing of the rest is on the disk
        QCOMPARE(truncate(path.constData(), CONF_MAX_FILE_SIZE + 1), 0);
    }
    QCOMPARE(loadTyped(), nullptr);
    QCOMPARE(errno, error);
    QCOMPARE(errorTextWithoutPath(), text);
}

void TestConfReader::syntaxErrorIsNotTakenForAMissingFile()
{
    // Start-up falls back to the defaults on ENOENT alone.
    writeConfig("lock\n");
    errno = ENOENT;
    QCOMPARE(loadTyped(), nullptr);
    QVERIFY(errno != ENOENT);
    QCOMPARE(conf_last_error.code, int(CONF_ERR_NO_EQUALS));
}

void TestConfReader::manySections()
{
    QByteArray contents;
    for (int i = 0; i < 3000; ++i)
        contents += "s" + QByteArray::number(i) + ":\ncount = " + QByteArray::number(i) + "\n";
    contents += "s1234:\n";
    writeConfig(contents);
    QCOMPARE(loadTyped(), nullptr);
    QCOMPARE(errorTextWithoutPath(), QByteArray("Section 's1234': Duplicated config file section, "
                                                "in file {file}, line 6001\n"));

    contents.chop(int(strlen("s1234:\n")));
    writeConfig(contents);
    ConfSection *sections = loadTyped();
    QVERIFY(sections);
    int count = 0;
    for (const ConfSection *section = sections; section; section = section->next, ++count)
        QCOMPARE(section->vars[2].value.integer, count);
    QCOMPARE(count, 3000);
    conf_free_sections(sections);
}

QTEST_GUILESS_MAIN(TestConfReader)
#include "tst_conf_reader.moc"
