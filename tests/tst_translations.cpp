// The translation catalogues: complete, current with the sources, safe to use
// as formats, and really loaded by the program's own lookup.
#include "englishplurals.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
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
    QString comment; // for translators
    QString translation;
    QString type; // of the translation: "", "unfinished", "vanished", "obsolete"
    bool counted = false; // a plural text: its forms, one per plural form of the language
    QStringList forms;

    // What the program may show: each plural form, or the one translation.
    QStringList shown() const { return counted ? forms : QStringList {translation}; }
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
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("translation")
            && message.counted) {
            message.translation = message.forms.join(QLatin1Char('|'));
            catalogue.messages.append(message);
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            message = TsMessage();
            message.context = context;
            message.counted =
                    xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
        } else if (xml.name() == QLatin1String("source")) {
            message.source = xml.readElementText();
        } else if (xml.name() == QLatin1String("extracomment")) {
            message.comment = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            message.type = xml.attributes().value(QLatin1String("type")).toString();
            if (!message.counted) {
                message.translation = xml.readElementText();
                catalogue.messages.append(message);
            }
        } else if (xml.name() == QLatin1String("numerusform")) {
            message.forms.append(xml.readElementText());
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

// The English catalogue, only the plural forms of the counted texts, is built
// into the program; it is checked on its own.
const QString english = QStringLiteral("en");

// The languages of the catalogues that get installed.
QStringList shippedLanguages()
{
    const QString prefix = QStringLiteral("farewelldesk_");
    const QStringList files = QDir(catalogueDir()).entryList({prefix + "*.ts"}, QDir::Files);
    QStringList languages;
    for (const QString &file : files)
        languages.append(QFileInfo(file).completeBaseName().mid(prefix.size()));
    languages.removeOne(english);
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

// The installed catalogues and the English one, which only has the counted texts.
void addCatalogueRows()
{
    addLanguageRows();
    QTest::newRow("en") << english;
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

Catalogue sourceTexts()
{
    return readCatalogue(QStringLiteral(FAREWELLDESK_SOURCES_TS));
}

// Counts from 0 to 200 reach every plural form of every language.
constexpr int highestCount = 200;

// The letters a language's usual keyboard types with a key alone or with
// Shift, no AltGr and no input method, in capitals (the chooser takes either
// case). Japanese, Chinese and Korean keyboards type Latin letters directly;
// their own scripts come through an input method, which would keep the key
// press for its composition instead of handing it to the chooser, so their keys
// must be Latin letters. Polish and Dutch keyboards are US ones (Polish letters
// need AltGr). Turkish İ is left out: Qt maps neither case of it to the other,
// so i would not press it.
QString layoutLetters(const QString &language)
{
    const QString latin = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    static const QHash<QString, QString> letters = {
            {"en", latin},
            {"ja", latin},
            {"ko", latin},
            {"zh_CN", latin},
            {"zh_TW", latin},
            {"nl", latin},
            {"pl", latin},
            {"cs", latin + QStringLiteral("ĚŠČŘŽÝÁÍÉÚŮ")},
            {"da", latin + QStringLiteral("ÆØÅ")},
            {"de", latin + QStringLiteral("ÄÖÜ")},
            {"es", latin + QStringLiteral("ÑÇ")},
            {"fi", latin + QStringLiteral("ÅÄÖ")},
            {"fr", latin + QStringLiteral("ÉÈÇÀÙ")},
            {"hu", latin + QStringLiteral("ÖÜÓŐÚÉÁŰÍ")},
            {"it", latin + QStringLiteral("ÈÉÒÀÙÌ")},
            {"nb", latin + QStringLiteral("ÆØÅ")},
            {"pt_BR", latin + QStringLiteral("Ç")},
            {"sv", latin + QStringLiteral("ÅÄÖ")},
            {"tr", latin + QStringLiteral("ĞÜŞÖÇ")},
            {"ru", QStringLiteral("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ")},
            {"uk", QStringLiteral("АБВГДЕЄЖЗИІЇЙКЛМНОПРСТУФХЦЧШЩЬЮЯ")},
    };
    return letters.value(language);
}

// Two keys the chooser cannot tell apart, whatever the case typed.
bool sameKey(QChar a, QChar b)
{
    return a.toUpper() == b.toUpper() || a.toLower() == b.toLower();
}

// The chooser's letter keys: its texts whose comment says they are keys.
QVector<TsMessage> letterKeys(const Catalogue &catalogue)
{
    QVector<TsMessage> keys;
    for (const TsMessage &message : catalogue.messages) {
        if (message.context == QLatin1String("Mainwin")
            && message.comment.startsWith(QLatin1String("Key for ")))
            keys.append(message);
    }
    return keys;
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
    void englishForms_data();
    void englishForms();
    void pluralForms_data();
    void pluralForms();
    void letterKeys_data();
    void letterKeys();
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
    addCatalogueRows();
}

void TestTranslations::catalogueComplete()
{
    QFETCH(QString, language);
    const Catalogue catalogue = catalogueOf(language);
    QVERIFY2(catalogue.error.isEmpty(), qPrintable(catalogue.error));
    QVERIFY(!catalogue.messages.isEmpty());
    for (const TsMessage &message : catalogue.messages) {
        QVERIFY2(message.type.isEmpty(), qPrintable(message.type + ": " + describe(message)));
        QVERIFY2(!message.shown().isEmpty(), qPrintable(describe(message)));
        for (const QString &text : message.shown())
            QVERIFY2(!text.trimmed().isEmpty(), qPrintable(describe(message)));
    }
}

void TestTranslations::catalogueCoversSources_data()
{
    addCatalogueRows();
}

// Catches a text added to or changed in the sources without refreshing the
// catalogues (the translations_update target does that).
void TestTranslations::catalogueCoversSources()
{
    QFETCH(QString, language);
    const Catalogue sources = sourceTexts();
    QVERIFY2(sources.error.isEmpty(), qPrintable(sources.error));
    QVERIFY(!sources.messages.isEmpty());
    // A text that becomes counted, or stops being counted, needs new translations.
    const auto name = [](const TsMessage &message) {
        return QString(message.context + " \"" + message.source + '"'
                       + (message.counted ? " (counted)" : ""));
    };
    QSet<QString> inSources;
    for (const TsMessage &message : sources.messages) {
        if (language != english || message.counted)
            inSources.insert(name(message));
    }
    QSet<QString> inCatalogue;
    for (const TsMessage &message : catalogueOf(language).messages)
        inCatalogue.insert(name(message));

    for (const QString &text : inSources)
        QVERIFY2(inCatalogue.contains(text), qPrintable("missing: " + text));
    for (const QString &text : inCatalogue)
        QVERIFY2(inSources.contains(text), qPrintable("no longer in the sources: " + text));
}

void TestTranslations::placeholdersKept_data()
{
    addCatalogueRows();
}

void TestTranslations::placeholdersKept()
{
    QFETCH(QString, language);
    for (const TsMessage &message : catalogueOf(language).messages) {
        const QByteArray what = describe(message).toUtf8();
        for (const QString &text : message.shown()) {
            // The command runner hands these translations to printf as formats.
            QVERIFY2(printfConversions(text) == printfConversions(message.source), what);
            QVERIFY2(argMarkers(text) == argMarkers(message.source), what);
            // Keyboard accelerators, and the blank that separates a spin box's
            // suffix from its number.
            QVERIFY2(accelerators(text) == accelerators(message.source), what);
            QVERIFY2(text.startsWith(QLatin1Char(' '))
                             == message.source.startsWith(QLatin1Char(' ')),
                     what);
            QVERIFY2(text.endsWith(QLatin1Char(' ')) == message.source.endsWith(QLatin1Char(' ')),
                     what);
        }
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
        const QByteArray context = message.context.toUtf8();
        const QByteArray source = message.source.toUtf8();
        if (!message.counted) {
            const QString built = translator.translate(context, source);
            QVERIFY2(built == message.translation,
                     qPrintable(describe(message) + " but built: " + built));
            continue;
        }
        // Every count gets one of the forms, and every form is some count's.
        QSet<QString> reached;
        for (int n = 0; n <= highestCount; ++n) {
            const QString built = translator.translate(context, source, nullptr, n);
            QVERIFY2(message.forms.contains(built),
                     qPrintable(describe(message) + QStringLiteral(" but built for %1: ").arg(n)
                                + built));
            reached.insert(built);
        }
        QCOMPARE(reached, QSet<QString>(message.forms.begin(), message.forms.end()));
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
                                          << "Cancel"
                                          << "Cancelar";
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

void TestTranslations::englishForms_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("singular");
    QTest::addColumn<QString>("plural");
    QTest::newRow("C: the confirmation's seconds") << "C"
                                                   << "Delay"
                                                   << "seconds"
                                                   << "second"
                                                   << "seconds";
    QTest::newRow("en_US: the countdown's seconds") << "en_US"
                                                    << "Countdown"
                                                    << "Seconds"
                                                    << "Second"
                                                    << "Seconds";
    QTest::newRow("en_US: minutes") << "en_US"
                                    << "Countdown"
                                    << "Minutes"
                                    << "Minute"
                                    << "Minutes";
    QTest::newRow("C: hours") << "C"
                              << "Countdown"
                              << "Hours"
                              << "Hour"
                              << "Hours";
    QTest::newRow("a language without a catalogue") << "el_GR"
                                                    << "Countdown"
                                                    << "Hours"
                                                    << "Hour"
                                                    << "Hours";
}

// English as the program shows it: its own catalogue beneath whatever the
// locale finds. Only 1 is singular, as before the texts were counted.
void TestTranslations::englishForms()
{
    QFETCH(QString, locale);
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, singular);
    QFETCH(QString, plural);
    QTranslator englishTranslator;
    QVERIFY(installEnglishPlurals(englishTranslator));
    QTranslator translator;
    QVERIFY2(!translator.load(QLocale(locale), QStringLiteral("farewelldesk"), QStringLiteral("_"),
                              QStringLiteral(FAREWELLDESK_QM_DIR)),
             "an English catalogue among the installed ones");
    QStringList shown;
    for (int n : {0, 1, 2, 5, 11, 21, 22, 25})
        shown << QCoreApplication::translate(qPrintable(context), qPrintable(source), nullptr, n);
    QCoreApplication::removeTranslator(&englishTranslator);
    QCOMPARE(shown,
             QStringList({plural, singular, plural, plural, plural, plural, plural, plural}));
}

// The rows of a language's unit words: the confirmation's seconds and the
// countdown's seconds, minutes and hours (an empty text: no row). The forms
// for 1, 2, 5, 11, 21, 22 and 25, as they read after the language's "in"
// ("через", "za"), which asks for the accusative.
static void addPluralRows(const char *language, const char *seconds, const char *minutes,
                          const char *hours)
{
    const struct
    {
        const char *row, *context, *source, *forms;
    } units[] = {{"confirmation", "Delay", "seconds", seconds},
                 {"seconds", "Countdown", "Seconds", seconds},
                 {"minutes", "Countdown", "Minutes", minutes},
                 {"hours", "Countdown", "Hours", hours}};
    for (const auto &unit : units) {
        if (*unit.forms)
            QTest::addRow("%s %s", language, unit.row) << language << unit.context << unit.source
                                                       << QString::fromUtf8(unit.forms).split(' ');
    }
}

void TestTranslations::pluralForms_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QStringList>("forms");
    addPluralRows("ru", "секунду секунды секунд секунд секунду секунды секунд",
                  "минуту минуты минут минут минуту минуты минут",
                  "час часа часов часов час часа часов");
    addPluralRows("pl", "sekundę sekundy sekund sekund sekund sekundy sekund",
                  "minutę minuty minut minut minut minuty minut",
                  "godzinę godziny godzin godzin godzin godziny godzin");
    addPluralRows("uk", "секунду секунди секунд секунд секунду секунди секунд",
                  "хвилину хвилини хвилин хвилин хвилину хвилини хвилин",
                  "годину години годин годин годину години годин");
    addPluralRows("cs", "sekundu sekundy sekund sekund sekund sekund sekund",
                  "minutu minuty minut minut minut minut minut",
                  "hodinu hodiny hodin hodin hodin hodin hodin");
    // Finnish says the singular for 1 only and the partitive for any other
    // count; Japanese has one form for every count.
    addPluralRows("fi", "", "minuutti minuuttia minuuttia minuuttia minuuttia minuuttia minuuttia",
                  "");
    addPluralRows("ja", "秒 秒 秒 秒 秒 秒 秒", "", "");
}

// The built catalogues, so that the language's plural rule picks the form.
void TestTranslations::pluralForms()
{
    QFETCH(QString, language);
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QStringList, forms);
    if (!shippedLanguages().contains(language))
        QSKIP("no catalogue for this language");
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral("farewelldesk_") + language,
                            QStringLiteral(FAREWELLDESK_QM_DIR)));
    QStringList shown;
    for (int n : {1, 2, 5, 11, 21, 22, 25})
        shown << translator.translate(qPrintable(context), qPrintable(source), nullptr, n);
    QCOMPARE(shown, forms);
}

void TestTranslations::letterKeys_data()
{
    addLanguageRows();
    QTest::newRow("en, the source texts") << english;
}

// Each action's key is a letter of the language's keyboard, and no two
// actions share one.
void TestTranslations::letterKeys()
{
    QFETCH(QString, language);
    const bool sources = language == english;
    const QVector<TsMessage> keys = ::letterKeys(sources ? sourceTexts() : catalogueOf(language));
    const QString typeable = layoutLetters(language);
    QVERIFY2(!typeable.isEmpty(), "no keyboard known for this language: add its letters");
    QCOMPARE(keys.size(), 6);
    QVector<QChar> taken;
    for (const TsMessage &message : keys) {
        const QString key = sources ? message.source : message.translation;
        const QByteArray what = describe(message).toUtf8();
        QVERIFY2(key.size() == 1 && key.at(0).isLetter(), what);
        QVERIFY2(typeable.contains(key.at(0).toUpper()), what + " is not typed by a key alone");
        for (QChar other : qAsConst(taken))
            QVERIFY2(!sameKey(key.at(0), other), what + " is another action's key too");
        taken.append(key.at(0));
    }
}

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
