#include "planning/PlanOutput.h"

#include "common/CanonicalText.h"

#include <algorithm>

bool operator==(const PlanOutput& a, const PlanOutput& b)
{
    const auto equalText = [](const QString& x, const QString& y) { return CanonicalText::equal(x, y); };
    const auto equalNote = [](const std::optional<QString>& x, const std::optional<QString>& y) {
        return x.has_value() == y.has_value() && (!x || CanonicalText::equal(*x, *y));
    };
    return CanonicalText::equal(a.resultName, b.resultName) && equalNote(a.error, b.error) &&
           equalNote(a.warning, b.warning) && CanonicalText::equal(a.fields, b.fields) &&
           std::equal(a.logs.cbegin(), a.logs.cend(), b.logs.cbegin(), b.logs.cend(), equalText);
}
