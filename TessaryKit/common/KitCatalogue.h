#pragma once

#include <QCoreApplication>
#include <QLocale>

// TessaryKit's user-visible texts, under their own translation context "TessaryKit" and in their own
// catalogue, separate from the application's.
class KitCatalogue {
    Q_DECLARE_TR_FUNCTIONS(TessaryKit)

public:
    // Loads the catalogue for the user's languages into the running application. English is a
    // catalogue too: it holds the plural forms ("1 second", "5 seconds").
    static bool install();
    // The language the texts are shown in, for what joins them into sentences (lists of names, a
    // duration's parts). Under LANG=C.UTF-8 with LANGUAGE=de the process's locale is C, the texts German.
    static QLocale textLocale();
};
