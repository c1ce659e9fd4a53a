#pragma once

#include <QString>

// The application's catalogue, separate from TessaryKit's, for the user's languages.
namespace AppCatalogue {

// Installs both catalogues, and Qt's own for the same language; the language of the application's translation
// in use, empty when Tessary speaks its original English.
QString install();

} // namespace AppCatalogue
