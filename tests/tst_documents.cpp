// The documents that repeat the built-in commands say what the program's own
// table says: the man page, the README and the demo's harmless stand-ins.
#include "commands.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

QStringList linesOf(const char *path)
{
    QFile file(QString::fromUtf8(path));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", path);
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
}

// Each line that the pattern matches whole, rewritten by the format, sorted.
QStringList matches(const QStringList &lines, const QString &pattern,
                    const QString &format = QStringLiteral("\\1: \\2"))
{
    const QRegularExpression row(QLatin1Char('^') + pattern + QLatin1Char('$'));
    QStringList found;
    for (const QString &line : lines)
        if (row.match(line).hasMatch())
            found << QString(line).replace(row, format);
    found.sort();
    return found;
}

// The text of an mdoc argument in double quotes, such as "say \(dqhi\(dq".
QString unquotedMdoc(const QString &argument)
{
    QString text = argument.mid(1, argument.size() - 2);
    return text.replace(QLatin1String("\\(dq"), QLatin1String("\""))
            .replace(QLatin1String("\\e"), QLatin1String("\\"));
}

// The first .Ql after each ".It <macro> <key> ..." line of the man page (as
// the build generated it), by key.
QStringList manPageDefaults(const QString &itemMacro)
{
    static const QRegularExpression closingPunctuation(QStringLiteral("\\s+[.,;:]$"));
    QStringList found;
    QString key;
    for (const QString &line : linesOf(MAN_PAGE)) {
        if (line.startsWith(itemMacro)) {
            key = line.mid(itemMacro.size()).section(QLatin1Char(' '), 0, 0);
        } else if (line.startsWith(QLatin1String(".It "))) {
            key.clear();
        } else if (!key.isEmpty() && line.startsWith(QLatin1String(".Ql "))) {
            found << key + QLatin1String(": ")
                             + unquotedMdoc(line.mid(4).remove(closingPunctuation));
            key.clear();
        }
    }
    found.sort();
    return found;
}

// "key: default" for each command of the program's table, sorted.
QStringList programDefaults(QString (*keyOf)(const ActionCommand &))
{
    QStringList defaults;
    for (const ActionCommand &each : actionCommands)
        defaults << keyOf(each) + QLatin1String(": ") + QLatin1String(each.defaultCommand);
    defaults.sort();
    return defaults;
}

QString option(const ActionCommand &command)
{
    return QString(QLatin1Char(command.option));
}

QString name(const ActionCommand &command)
{
    return QLatin1String(command.name);
}

QString nameAndOption(const ActionCommand &command)
{
    return name(command) + QLatin1String(" -") + option(command);
}

} // namespace

class TestDocuments : public QObject
{
    Q_OBJECT

private slots:
    void defaultsAsTheProgramHasThem_data()
    {
        QTest::addColumn<QStringList>("documented");
        QTest::addColumn<QStringList>("program");
        QTest::newRow("man page, options")
                << manPageDefaults(QStringLiteral(".It Fl ")) << programDefaults(option);
        QTest::newRow("man page, variables")
                << manPageDefaults(QStringLiteral(".It Ic ")) << programDefaults(name);
        // | `lock` | Lock screen | `metalock` | `-L` |
        QTest::newRow("README, table")
                << matches(linesOf(SOURCE_DIR "/README.md"),
                           QStringLiteral("\\|\\s*`(\\w+)`\\s*\\|[^|]*\\|\\s*`([^`]+)`\\s*\\|"
                                          "\\s*`(-\\w)`\\s*\\|"),
                           QStringLiteral("\\1 \\3: \\2"))
                << programDefaults(nameAndOption);
        //     lock     = "metalock"           # Lock screen
        QTest::newRow("README, configuration example")
                << matches(linesOf(SOURCE_DIR "/README.md"),
                           QStringLiteral("    (\\w+)\\s+= \"([^\"]*)\"\\s+#.*"))
                << programDefaults(name);
        //     ("-L", "metalock"),
        QTest::newRow("the demo's stand-ins")
                << matches(linesOf(SOURCE_DIR "/scripts/demo.py"),
                           QStringLiteral("\\s*\\(\"-(\\w)\", \"([^\"]*)\"\\),"))
                << programDefaults(option);
    }

    void defaultsAsTheProgramHasThem()
    {
        QFETCH(QStringList, documented);
        QFETCH(QStringList, program);
        QCOMPARE(documented, program);
    }
};

QTEST_GUILESS_MAIN(TestDocuments)
#include "tst_documents.moc"
