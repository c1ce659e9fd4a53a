#pragma once

#include <QString>

// The one way a real number becomes field text: C's "%.Nf" in the C locale, so halves round to even on
// the binary value and a negative value that rounds to zero keeps its sign ("-0.0").
QString fixedText(double value, int decimals);
