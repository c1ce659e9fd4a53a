#include "planning/PlanOutput.h"

#include "common/CanonicalText.h"

#include <algorithm>

bool operator==(const PlanOutput& a, const PlanOutput& b)
{
    const auto equalText = [](const QString& x, const QString& y) { return CanonicalText::equal(x, y); };
    return CanonicalText::equal(a.resultName, b.resultName) && a.error.has_value() == b.error.has_value() &&
           (!a.error || CanonicalText::equal(*a.error, *b.error)) &&
           CanonicalText::equal(a.fields, b.fields) &&
           std::equal(a.logs.cbegin(), a.logs.cend(), b.logs.cbegin(), b.logs.cend(), equalText);
}
