#include "englishplurals.h"

#include <QCoreApplication>
#include <QTranslator>

bool installEnglishPlurals(QTranslator &translator)
{
    // The resource lives in a static library; this reference keeps it linked.
    Q_INIT_RESOURCE(english_plurals);
    return translator.load(QStringLiteral(":/i18n/farewelldesk_en.qm"))
           && QCoreApplication::installTranslator(&translator);
}
