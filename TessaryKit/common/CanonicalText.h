#pragma once

#include "Fields.h"

#include <QString>

// Text equality under Unicode canonical equivalence: an accented letter written as one code point
// equals the letter followed by its combining mark.
namespace CanonicalText {

bool equal(QStringView a, QStringView b);
// Same names with equal values, names and values compared canonically.
bool equal(const Fields& a, const Fields& b);

} // namespace CanonicalText
