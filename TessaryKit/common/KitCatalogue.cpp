#include "common/KitCatalogue.h"

#include <QLocale>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace {

QString textLanguage; // of the catalogue installed last

} // namespace

bool KitCatalogue::install()
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QLocale(), u"TessaryKit"_s, u"_"_s, u":/i18n/TessaryKit"_s) ||
        translator->load(u"TessaryKit_en"_s, u":/i18n/TessaryKit"_s)) {
        textLanguage = translator->language();
        return QCoreApplication::installTranslator(translator);
    }
    delete translator;
    return false;
}

QLocale KitCatalogue::textLocale()
{
    return textLanguage.isEmpty() ? QLocale() : QLocale(textLanguage);
}
