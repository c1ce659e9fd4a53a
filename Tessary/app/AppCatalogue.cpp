#include "app/AppCatalogue.h"

#include "common/KitCatalogue.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace AppCatalogue {

QString install()
{
    KitCatalogue::install();
    // Qt's own texts: dialogs' buttons, editors' context menus, and key names such as "Strg" in tooltips.
    auto* qtTexts = new QTranslator(QCoreApplication::instance());
    if (qtTexts->load(QLocale(), u"qtbase"_s, u"_"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtTexts);
    else
        delete qtTexts;
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
