// Helpers for the configuration library's tests: files in the private test
// home and a readable dump of what a load returned.
#pragma once

#include "conf.h"
#include "testsupport.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

// The five commands that start-up loads.
inline const ConfVar commandTemplate[] = {
        {"lock", CONF_STRING, 0, "metalock"},
        {"logout", CONF_STRING, 1, "fluxbox exit"},
        {"shutdown", CONF_STRING, 2, "shutdown -p now"},
        {"reboot", CONF_STRING, 3, "shutdown -r now"},
        {"suspend", CONF_STRING, 4, "acpiconf -s 3"},
};
constexpr int commandCount = 5;

// One variable of each type, filled in an order other than the template's.
inline const char *const defaultItems[] = {"a", "b c", nullptr};
inline const ConfVar typedTemplate[] = {
        {"flag", CONF_BOOLEAN, 3, true},
        {"lock", CONF_STRING, 0, "metalock"},
        {"items", CONF_STRINGLIST, 1, defaultItems},
        {"count", CONF_INTEGER, 2, int32_t(7)},
};
constexpr int typedCount = 4;

inline QString configDirectory()
{
    return testHome() + QStringLiteral("/.config/ZVL/farewelldesk");
}

inline QString configPath()
{
    return configDirectory() + QStringLiteral("/config");
}

inline void writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(contents) != contents.size())
        qFatal("cannot write %s", qPrintable(path));
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline void writeConfig(const QByteArray &contents)
{
    writeFile(configPath(), contents);
}

inline void removeConfigTree()
{
    QDir(testHome() + QStringLiteral("/.config")).removeRecursively();
}

inline QString dumpVar(const ConfVar &var)
{
    switch (var.type) {
    case CONF_STRING:
        return var.value.string ? QString::fromUtf8(var.value.string) : QStringLiteral("<none>");
    case CONF_STRINGLIST: {
        if (!var.value.list)
            return QStringLiteral("<none>");
        QStringList items;
        for (char **item = var.value.list; *item; ++item)
            items << QString::fromUtf8(*item);
        return QLatin1Char('[') + items.join(QLatin1Char('|')) + QLatin1Char(']');
    }
    case CONF_INTEGER:
        return QString::number(var.value.integer);
    case CONF_BOOLEAN:
        return var.value.boolean ? QStringLiteral("true") : QStringLiteral("false");
    default:
        return QStringLiteral("?");
    }
}

// "[name] var=value var=value\n" for each section; "[]" is the global section.
inline QString dumpSections(const ConfSection *section)
{
    QString dump;
    for (; section; section = section->next) {
        dump += QLatin1Char('[') + QString::fromUtf8(section->name ? section->name : "")
                + QLatin1Char(']');
        for (int i = 0; i < section->count; ++i)
            if (section->vars[i].name)
                dump += QLatin1Char(' ') + QString::fromUtf8(section->vars[i].name)
                        + QLatin1Char('=') + dumpVar(section->vars[i]);
        dump += QLatin1Char('\n');
    }
    return dump;
}
