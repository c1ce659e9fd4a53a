#pragma once

#include "common/KitCatalogue.h"

#include <QLocale>

// Tests compare TessaryKit's texts in US English, plural forms included.
inline bool useEnglishCatalogue()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    return KitCatalogue::install();
}
