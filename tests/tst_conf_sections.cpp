#include "conf.h"
#include "tst_conf_helpers.h"

#include <QTest>

#include <cstdlib>

namespace {

const char *const noItems[] = {nullptr};
const ConfVar sparseTemplate[] = {
        {"none", CONF_STRING, 1, static_cast<const char *>(nullptr)},
        {"empty", CONF_STRINGLIST, 0, noItems},
        {"opaque", 42, 2, int32_t(1234)},
};
const int sparseCount = 3;

// Three sections: global, "net", "wifi".
ConfSection *threeSections()
{
    ConfSection *first = conf_new_section(nullptr, commandTemplate, commandCount);
    conf_add_section(first, "net", commandTemplate, commandCount);
    conf_add_section(first, "wifi", commandTemplate, commandCount);
    return first;
}

QString sectionNames(const ConfSection *section)
{
    QStringList names;
    for (; section; section = section->next)
        names << QString::fromUtf8(section->name ? section->name : "<global>");
    return names.join(QLatin1Char(','));
}

} // namespace

class TestConfSections : public QObject
{
    Q_OBJECT

private slots:
    void newSectionHoldsCopiesOfTheDefaults();
    void templateOrderAndEmptyDefaults();
    void addSectionRefusals_data();
    void addSectionRefusals();
    void addSectionAppends();
    void findSection_data();
    void findSection();
    void removeSection_data();
    void removeSection();
    void setValue_data();
    void setValue();
    void addStringGrowsByOne();
};

void TestConfSections::newSectionHoldsCopiesOfTheDefaults()
{
    ConfSection *section = conf_new_section(nullptr, commandTemplate, commandCount);
    QVERIFY(section);
    QCOMPARE(section->name, nullptr);
    QCOMPARE(section->next, nullptr);
    QCOMPARE(section->count, commandCount);
    for (int slot = 0; slot < commandCount; ++slot) {
        QCOMPARE(section->vars[slot].name, commandTemplate[slot].name);
        QCOMPARE(section->vars[slot].value.text, commandTemplate[slot].value.text);
        QVERIFY(section->vars[slot].value.text != commandTemplate[slot].value.text);
    }
    conf_free_sections(section);
}

void TestConfSections::templateOrderAndEmptyDefaults()
{
    ConfSection *typed = conf_new_section("typed", typedTemplate, typedCount);
    QVERIFY(typed);
    QCOMPARE(dumpSections(typed),
             QStringLiteral("[typed] lock=metalock items=[a|b c] count=7 flag=true\n"));
    QVERIFY(typed->vars[1].value.list[0] != defaultItems[0]);
    conf_free_sections(typed);

    ConfSection *sparse = conf_new_section(nullptr, sparseTemplate, sparseCount);
    QVERIFY(sparse);
    QCOMPARE(sparse->vars[0].value.list, nullptr); // an empty default list is none
    QCOMPARE(sparse->vars[1].value.string, nullptr);
    QCOMPARE(sparse->vars[2].type, 42);
    QCOMPARE(sparse->vars[2].value.integer, 1234);
    conf_free_sections(sparse);
}

void TestConfSections::addSectionRefusals_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("a name already in the list")
            << QByteArray("net") << QByteArray("Section 'net': Duplicated config file section\n");
    QTest::newRow("a second global section")
            << QByteArray() << QByteArray("Global section: Duplicated config file section\n");
}

void TestConfSections::addSectionRefusals()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, text);

    ConfSection *first = threeSections();
    QCOMPARE(conf_add_section(first, name.isNull() ? nullptr : name.constData(), commandTemplate,
                              commandCount),
             nullptr);
    QCOMPARE(QByteArray(conf_error_text()), text);
    QCOMPARE(sectionNames(first), QStringLiteral("<global>,net,wifi"));
    conf_free_sections(first);
}

void TestConfSections::addSectionAppends()
{
    QCOMPARE(conf_add_section(nullptr, "net", commandTemplate, commandCount), nullptr);

    ConfSection *first = conf_new_section("net", commandTemplate, commandCount);
    ConfSection *added = conf_add_section(first, "Net", commandTemplate, commandCount);
    QVERIFY(added);
    QCOMPARE(first->next, added);
    ConfSection *last = conf_add_section(first, "lan", commandTemplate, commandCount);
    QVERIFY(last);
    QCOMPARE(added->next, last);
    // A global section goes first or nowhere.
    QCOMPARE(conf_add_section(first, nullptr, commandTemplate, commandCount), nullptr);
    QCOMPARE(QByteArray(conf_error_text()),
             QByteArray("Fatal: Global section: Fatal error: Invalid argument\n"));
    QCOMPARE(sectionNames(first), QStringLiteral("net,Net,lan"));
    conf_free_sections(first);
}

void TestConfSections::findSection_data()
{
    QTest::addColumn<bool>("withGlobal");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("index"); // -1: none

    QTest::newRow("named section") << true << QByteArray("wifi") << 2;
    QTest::newRow("names compare case-sensitively") << true << QByteArray("Wifi") << -1;
    QTest::newRow("global section") << true << QByteArray() << 0;
    QTest::newRow("no global section in a list of named ones") << false << QByteArray() << -1;
}

void TestConfSections::findSection()
{
    QFETCH(bool, withGlobal);
    QFETCH(QByteArray, name);
    QFETCH(int, index);

    ConfSection *first = threeSections();
    if (!withGlobal)
        conf_remove_section(&first, nullptr);
    ConfSection *expected = nullptr;
    if (index >= 0) {
        expected = first;
        for (int i = 0; i < index; ++i)
            expected = expected->next;
    }
    QCOMPARE(conf_find_section(first, name.isNull() ? nullptr : name.constData()), expected);
    conf_free_sections(first);
}

void TestConfSections::removeSection_data()
{
    QTest::addColumn<bool>("withGlobal");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("left");

    QTest::newRow("global section first") << true << QByteArray() << QStringLiteral("net,wifi");
    QTest::newRow("no global section: nothing goes")
            << false << QByteArray() << QStringLiteral("net,wifi");
    QTest::newRow("first section by name moves the head")
            << false << QByteArray("net") << QStringLiteral("wifi");
    QTest::newRow("last section") << true << QByteArray("wifi") << QStringLiteral("<global>,net");
    QTest::newRow("unknown name") << true << QByteArray("lan")
                                  << QStringLiteral("<global>,net,wifi");
}

void TestConfSections::removeSection()
{
    QFETCH(bool, withGlobal);
    QFETCH(QByteArray, name);
    QFETCH(QString, left);

    ConfSection *first = threeSections();
    if (!withGlobal)
        conf_remove_section(&first, nullptr);
    conf_remove_section(&first, name.isNull() ? nullptr : name.constData());
    QCOMPARE(sectionNames(first), left);
    conf_free_sections(first);

    ConfSection *empty = nullptr;
    conf_remove_section(&empty, "net");
    QCOMPARE(empty, nullptr);
}

void TestConfSections::setValue_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("which"); // which value word to store
    QTest::addColumn<QString>("dump");

    // typedTemplate's slots: 0 lock, 1 items, 2 count, 3 flag
    QTest::newRow("string copy") << 0 << 0 << "[] lock=xlock items=[a|b c] count=7 flag=true\n";
    QTest::newRow("none text stores none")
            << 0 << 1 << "[] lock=<none> items=[a|b c] count=7 flag=true\n";
    QTest::newRow("list replaced, not extended")
            << 1 << 2 << "[] lock=metalock items=[x|y] count=7 flag=true\n";
    QTest::newRow("none list leaves an empty list")
            << 1 << 1 << "[] lock=metalock items=<none> count=7 flag=true\n";
    QTest::newRow("integer keeps its low 32 bits")
            << 2 << 3 << "[] lock=metalock items=[a|b c] count=-5 flag=true\n";
    QTest::newRow("boolean 2 stores false")
            << 3 << 4 << "[] lock=metalock items=[a|b c] count=7 flag=false\n";
    QTest::newRow("boolean 3 stores true")
            << 3 << 5 << "[] lock=metalock items=[a|b c] count=7 flag=true\n";
}

void TestConfSections::setValue()
{
    QFETCH(int, slot);
    QFETCH(int, which);
    QFETCH(QString, dump);

    static const char *const xy[] = {"x", "y", nullptr};
    ConfValue value;
    switch (which) {
    case 0:
        value = ConfValue("xlock");
        break;
    case 1:
        value = ConfValue(static_cast<const char *>(nullptr));
        break;
    case 2:
        value = ConfValue(xy);
        break;
    case 3:
        value.word = intptr_t(0x7fffffff00000000) | intptr_t(uint32_t(-5));
        break;
    case 4:
        value.word = 2;
        break;
    default:
        value.word = 3;
    }
    ConfSection *section = conf_new_section(nullptr, typedTemplate, typedCount);
    QCOMPARE(conf_set_value(section, slot, value), 0);
    QCOMPARE(dumpSections(section), dump);
    conf_free_sections(section);
}

void TestConfSections::addStringGrowsByOne()
{
    char **list = nullptr;
    char text[] = "first";
    char **grown = add_string(&list, text);
    QVERIFY(grown);
    QCOMPARE(grown, list);
    text[0] = 'F';
    QCOMPARE(QByteArray(list[0]), QByteArray("first")); // a copy
    QCOMPARE(list[1], nullptr);
    QVERIFY(add_string(&list, "second"));
    QCOMPARE(QByteArray(list[1]), QByteArray("second"));
    QCOMPARE(list[2], nullptr);

    ConfSection *section = conf_new_section(nullptr, typedTemplate, typedCount);
    char **oldItems = section->vars[1].value.list;
    section->vars[1].value.list = list; // the section frees it
    for (char **item = oldItems; *item; ++item)
        free(*item);
    free(oldItems);
    QCOMPARE(dumpSections(section),
             QStringLiteral("[] lock=metalock items=[first|second] count=7 flag=true\n"));
    conf_free_sections(section);
}

QTEST_GUILESS_MAIN(TestConfSections)
#include "tst_conf_sections.moc"
