#pragma once

#include <QString>

// Unicode text transforms that need ICU's data: word boundaries and transliteration.
namespace TextTransforms {

// The first letter of each word (by ICU's word boundaries) in title case, the rest in lower case.
QString titleCase(const QString& text);

// ASCII by ICU's "Any-Latin; Latin-ASCII": "Ærøskøbing" gives "AEroskobing".
QString toAscii(const QString& text);

} // namespace TextTransforms
