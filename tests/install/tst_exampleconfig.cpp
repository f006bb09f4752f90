// The example configuration as a package installs it: copied into a user's
// configuration directory, it loads with the program's own library, and the
// snippets its comments show read the way the comments say.
#include "commands.h"
#include "conf.h"
#include "testsupport.h"

#include <QFile>
#include <QTest>

#include <cstdlib>
#include <cstring>

namespace {

// The program's variables, with defaults no file would set: a value read back
// that differs from these came from the file.
ConfVar probeTemplate[commandCount];

void fillProbeTemplate()
{
    for (int index = 0; index < commandCount; ++index)
        probeTemplate[index] = {actionCommands[index].name, CONF_STRING, index, "(not set)"};
}

// The slot of a variable, as the program loads it.
int slotOf(const char *name)
{
    for (int index = 0; index < commandCount; ++index)
        if (!strcmp(actionCommands[index].name, name))
            return index;
    return -1;
}

QString userConfigPath()
{
    return testHome() + QStringLiteral("/.config/ZVL/farewelldesk/config");
}

bool makeUserConfigDir()
{
    char *dir = conf_make_dir("farewelldesk");
    free(dir);
    return dir != nullptr;
}

ConfSection *loadUserConfig()
{
    return conf_load("farewelldesk", "config", probeTemplate, commandCount);
}

// The indented example blocks of the comments ("#" and seven blanks), each
// with the comment mark taken off; a block's own further indent is kept.
QVector<QByteArray> exampleSnippets(const QByteArray &config)
{
    static const QByteArray marker("#       ");
    QVector<QByteArray> snippets;
    bool inBlock = false;
    for (const QByteArray &line : config.split('\n')) {
        if (!line.startsWith(marker)) {
            inBlock = false;
            continue;
        }
        if (!inBlock)
            snippets.append(QByteArray());
        snippets.last() += line.mid(marker.size()) + '\n';
        inBlock = true;
    }
    return snippets;
}

} // namespace

class TestExampleConfig : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void loadsToDefaults_data();
    void loadsToDefaults();
    void snippetReadsAsDocumented_data();
    void snippetReadsAsDocumented();
};

void TestExampleConfig::initTestCase()
{
    QVERIFY2(QFile::exists(QStringLiteral(STAGED_EXAMPLE_CONFIG)), STAGED_EXAMPLE_CONFIG);
    QVERIFY(makeUserConfigDir());
    fillProbeTemplate();
}

void TestExampleConfig::loadsToDefaults_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QByteArray>("value");
    for (int index = 0; index < commandCount; ++index)
        QTest::newRow(actionCommands[index].name)
                << index << QByteArray(actionCommands[index].defaultCommand);
}

// A user who copies the example as it is gets the built-in commands, now set
// explicitly by the file.
void TestExampleConfig::loadsToDefaults()
{
    QFETCH(int, slot);
    QFETCH(QByteArray, value);
    QFile::remove(userConfigPath());
    // Copied as cp(1) would, with the installed file's permissions.
    QVERIFY(QFile::copy(QStringLiteral(STAGED_EXAMPLE_CONFIG), userConfigPath()));

    ConfSection *config = loadUserConfig();
    QVERIFY2(config, conf_error_text());
    QCOMPARE(conf_error_text(), "");
    QVERIFY2(!config->name, config->name);
    QVERIFY(!config->next);
    QCOMPARE(config->vars[slot].value.string, value.constData());
    conf_free_sections(config);
}

void TestExampleConfig::snippetReadsAsDocumented_data()
{
    QTest::addColumn<QByteArray>("firstLine");
    QTest::addColumn<QByteArray>("section"); // the first section's name; empty for the global one
    QTest::addColumn<int>("slot");
    QTest::addColumn<QByteArray>("value");
    QTest::newRow("unquoted blanks are dropped")
            << QByteArray("lock = xlock -mode blank") << QByteArray() << slotOf("lock")
            << QByteArray("xlock-modeblank");
    QTest::newRow("escaped quotes inside quotes")
            << QByteArray(R"(lock = "xlock -mode blank -info \"Back soon\"")") << QByteArray()
            << slotOf("lock") << QByteArray(R"(xlock -mode blank -info "Back soon")");
    QTest::newRow("continuation joins lines without a blank")
            << QByteArray(R"(shutdown = "sync; \)") << QByteArray() << slotOf("shutdown")
            << QByteArray("sync; shutdown -p now");
    QTest::newRow("section header")
            << QByteArray("desktop:") << QByteArray("desktop") << -1 << QByteArray();
    QTest::newRow("unquoted value ending in a colon is a header")
            << QByteArray("lock = xlock:") << QByteArray("lock = xlock") << -1 << QByteArray();
    QTest::newRow("quoted colon is a value") << QByteArray(R"(lock = "xlock:")") << QByteArray()
                                             << slotOf("lock") << QByteArray("xlock:");
}

void TestExampleConfig::snippetReadsAsDocumented()
{
    QFETCH(QByteArray, firstLine);
    QFETCH(QByteArray, section);
    QFETCH(int, slot);
    QFETCH(QByteArray, value);

    QFile example(QStringLiteral(STAGED_EXAMPLE_CONFIG));
    QVERIFY(example.open(QIODevice::ReadOnly));
    QByteArray snippet;
    for (const QByteArray &candidate : exampleSnippets(example.readAll())) {
        if (candidate.startsWith(firstLine + '\n'))
            snippet = candidate;
    }
    QVERIFY2(!snippet.isEmpty(), "the example no longer shows this snippet");

    QFile user(userConfigPath());
    QVERIFY(user.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(user.write(snippet), qint64(snippet.size()));
    user.close();

    ConfSection *config = loadUserConfig();
    QVERIFY2(config, conf_error_text());
    QCOMPARE(QByteArray(config->name), section);
    if (slot >= 0)
        QCOMPARE(config->vars[slot].value.string, value.constData());
    conf_free_sections(config);
}

QTEST_GUILESS_MAIN(TestExampleConfig)
#include "tst_exampleconfig.moc"
