// The translation catalogues: complete, current with the sources, safe to use
// as formats, and really loaded by the program's own lookup.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>

#include <algorithm>

namespace {

struct TsMessage
{
    QString context;
    QString source;
    QString translation;
    QString type; // of the translation: "", "unfinished", "vanished", "obsolete"
};

struct Catalogue
{
    QString error;
    QVector<TsMessage> messages;
};

Catalogue readCatalogue(const QString &path)
{
    Catalogue catalogue;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        catalogue.error = file.errorString();
        return catalogue;
    }
    QXmlStreamReader xml(&file);
    QString context;
    TsMessage message;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            message = TsMessage();
            message.context = context;
        } else if (xml.name() == QLatin1String("source")) {
            message.source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            message.type = xml.attributes().value(QLatin1String("type")).toString();
            message.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            catalogue.messages.append(message);
        }
    }
    if (xml.hasError())
        catalogue.error = xml.errorString();
    return catalogue;
}

QString catalogueDir()
{
    return QStringLiteral(FAREWELLDESK_TS_DIR);
}

QStringList shippedLanguages()
{
    const QString prefix = QStringLiteral("farewelldesk_");
    const QStringList files = QDir(catalogueDir()).entryList({prefix + "*.ts"}, QDir::Files);
    QStringList languages;
    for (const QString &file : files)
        languages.append(QFileInfo(file).completeBaseName().mid(prefix.size()));
    return languages;
}

Catalogue catalogueOf(const QString &language)
{
    return readCatalogue(catalogueDir() + QStringLiteral("/farewelldesk_%1.ts").arg(language));
}

void addLanguageRows()
{
    QTest::addColumn<QString>("language");
    for (const QString &language : shippedLanguages())
        QTest::newRow(qPrintable(language)) << language;
}

// Conversions as printf sees them; a lone "%" counts too, since it would
// swallow whatever follows it.
QStringList printfConversions(const QString &text)
{
    static const QRegularExpression conversion(
            QStringLiteral("%(?:%|[-+ #0]*[0-9]*(?:\\.[0-9]+)?(?:hh|h|ll|l|L|z|j|t)?[a-zA-Z]|)"));
    QStringList found;
    auto it = conversion.globalMatch(text);
    while (it.hasNext())
        found.append(it.next().captured());
    return found;
}

// QString::arg() markers; a translation may put them in any order.
QStringList argMarkers(const QString &text)
{
    static const QRegularExpression marker(QStringLiteral("%L?[0-9]{1,2}"));
    QStringList found;
    auto it = marker.globalMatch(text);
    while (it.hasNext())
        found.append(it.next().captured());
    std::sort(found.begin(), found.end());
    return found;
}

int accelerators(const QString &text)
{
    return text.count(QLatin1Char('&')) - 2 * text.count(QStringLiteral("&&"));
}

QString describe(const TsMessage &message)
{
    return QStringLiteral("%1 \"%2\" -> \"%3\"")
            .arg(message.context, message.source, message.translation);
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void promisedLanguagesShipped();
    void catalogueComplete_data();
    void catalogueComplete();
    void catalogueCoversSources_data();
    void catalogueCoversSources();
    void placeholdersKept_data();
    void placeholdersKept();
    void builtCatalogueMatches_data();
    void builtCatalogueMatches();
    void localeFindsCatalogue_data();
    void localeFindsCatalogue();
};

void TestTranslations::promisedLanguagesShipped()
{
    const QStringList shipped = shippedLanguages();
    for (const char *language :
         {"cs", "da", "de", "es",    "fi", "fr", "hu", "it", "ja",    "ko",
          "nb", "nl", "pl", "pt_BR", "ru", "sv", "tr", "uk", "zh_CN", "zh_TW"})
        QVERIFY2(shipped.contains(QLatin1String(language)), language);
}

void TestTranslations::catalogueComplete_data()
{
    addLanguageRows();
}

void TestTranslations::catalogueComplete()
{
    QFETCH(QString, language);
    const Catalogue catalogue = catalogueOf(language);
    QVERIFY2(catalogue.error.isEmpty(), qPrintable(catalogue.error));
    QVERIFY(!catalogue.messages.isEmpty());
    for (const TsMessage &message : catalogue.messages) {
        QVERIFY2(message.type.isEmpty(), qPrintable(message.type + ": " + describe(message)));
        QVERIFY2(!message.translation.trimmed().isEmpty(), qPrintable(describe(message)));
    }
}

void TestTranslations::catalogueCoversSources_data()
{
    addLanguageRows();
}

// Catches a text added to or changed in the sources without refreshing the
// catalogues (the translations_update target does that).
void TestTranslations::catalogueCoversSources()
{
    QFETCH(QString, language);
    const Catalogue sources = readCatalogue(QStringLiteral(FAREWELLDESK_SOURCES_TS));
    QVERIFY2(sources.error.isEmpty(), qPrintable(sources.error));
    QVERIFY(!sources.messages.isEmpty());
    QSet<QPair<QString, QString>> inSources;
    for (const TsMessage &message : sources.messages)
        inSources.insert({message.context, message.source});
    QSet<QPair<QString, QString>> inCatalogue;
    for (const TsMessage &message : catalogueOf(language).messages)
        inCatalogue.insert({message.context, message.source});

    for (const auto &text : inSources)
        QVERIFY2(inCatalogue.contains(text),
                 qPrintable("missing: " + text.first + " \"" + text.second + '"'));
    for (const auto &text : inCatalogue)
        QVERIFY2(inSources.contains(text),
                 qPrintable("no longer in the sources: " + text.first + " \"" + text.second + '"'));
}

void TestTranslations::placeholdersKept_data()
{
    addLanguageRows();
}

void TestTranslations::placeholdersKept()
{
    QFETCH(QString, language);
    for (const TsMessage &message : catalogueOf(language).messages) {
        const QByteArray what = describe(message).toUtf8();
        // The command runner hands these translations to printf as formats.
        QVERIFY2(printfConversions(message.translation) == printfConversions(message.source), what);
        QVERIFY2(argMarkers(message.translation) == argMarkers(message.source), what);
        // Keyboard accelerators, and the blank that separates a spin box's
        // suffix from its number.
        QVERIFY2(accelerators(message.translation) == accelerators(message.source), what);
        QVERIFY2(message.translation.startsWith(QLatin1Char(' '))
                         == message.source.startsWith(QLatin1Char(' ')),
                 what);
        QVERIFY2(message.translation.endsWith(QLatin1Char(' '))
                         == message.source.endsWith(QLatin1Char(' ')),
                 what);
    }
}

void TestTranslations::builtCatalogueMatches_data()
{
    addLanguageRows();
}

// The .qm files that get installed say what the .ts files say: the build
// compiled every catalogue, and none is stale.
void TestTranslations::builtCatalogueMatches()
{
    QFETCH(QString, language);
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral("farewelldesk_") + language,
                            QStringLiteral(FAREWELLDESK_QM_DIR)));
    for (const TsMessage &message : catalogueOf(language).messages) {
        const QString built =
                translator.translate(qPrintable(message.context), qPrintable(message.source));
        QVERIFY2(built == message.translation,
                 qPrintable(describe(message) + " but built: " + built));
    }
}

void TestTranslations::localeFindsCatalogue_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("expected");
    QTest::newRow("German chooser button") << "de_DE"
                                           << "Mainwin"
                                           << "Shutdown system"
                                           << "Herunterfahren";
    QTest::newRow("Austrian German falls back to German") << "de_AT"
                                                          << "Countdown"
                                                          << "Cancel timer"
                                                          << "Timer abbrechen";
    QTest::newRow("German error box title") << "de_DE"
                                            << "QObject"
                                            << "Error"
                                            << "Fehler";
    QTest::newRow("Brazilian Portuguese") << "pt_BR"
                                          << "Delay"
                                          << "seconds"
                                          << "segundos";
    QTest::newRow("Canadian French falls back to French") << "fr_CA"
                                                          << "Timerwin"
                                                          << "&Cancel"
                                                          << "&Annuler";
    QTest::newRow("Russian") << "ru_RU"
                             << "Mainwin"
                             << "Lock screen"
                             << "Заблокировать";
    QTest::newRow("Japanese") << "ja_JP"
                              << "Mainwin"
                              << "Shutdown system"
                              << "シャットダウン";
    QTest::newRow("Simplified Chinese") << "zh_CN"
                                        << "Mainwin"
                                        << "Reboot system"
                                        << "重启";
    QTest::newRow("Traditional Chinese, not the simplified") << "zh_TW"
                                                             << "Mainwin"
                                                             << "Reboot system"
                                                             << "重新開機";
    QTest::newRow("Norwegian Bokmål") << "nb_NO"
                                      << "Mainwin"
                                      << "Lock screen"
                                      << "Lås skjermen";
    QTest::newRow("Norwegian without the Bokmål code") << "no_NO"
                                                       << "Mainwin"
                                                       << "Lock screen"
                                                       << "Lås skjermen";
    QTest::newRow("Ukrainian") << "uk_UA"
                               << "Mainwin"
                               << "Logout"
                               << "Вийти";
    QTest::newRow("no catalogue: English source text") << "en_US"
                                                       << "Mainwin"
                                                       << "Logout"
                                                       << "Logout";
}

// The lookup the program does at start-up, against the built catalogues.
void TestTranslations::localeFindsCatalogue()
{
    QFETCH(QString, locale);
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, expected);
    QTranslator translator;
    if (translator.load(QLocale(locale), QStringLiteral("farewelldesk"), QStringLiteral("_"),
                        QStringLiteral(FAREWELLDESK_QM_DIR)))
        QVERIFY(QCoreApplication::installTranslator(&translator));
    const QString shown = QCoreApplication::translate(qPrintable(context), qPrintable(source));
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(shown, expected);
}

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
