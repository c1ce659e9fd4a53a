#include "app/AppCatalogue.h"

#include "common/KitCatalogue.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace AppCatalogue {

QString install()
{
    KitCatalogue::install();
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QLocale(), u"Tessary"_s, u"_"_s, u":/i18n/Tessary"_s) ||
        translator->load(u"Tessary_en"_s, u":/i18n/Tessary"_s)) {
        QCoreApplication::installTranslator(translator);
        const QString language = translator->language().section(u'_', 0, 0);
        return language == u"en"_s ? QString() : language;
    }
    delete translator;
    return {};
}

} // namespace AppCatalogue
