#include "common/CanonicalText.h"

namespace CanonicalText {
namespace {

Fields composed(const Fields& fields)
{
    Fields result;
    for (auto it = fields.cbegin(); it != fields.cend(); ++it)
        result.insert(it.key().normalized(QString::NormalizationForm_C),
                      it.value().normalized(QString::NormalizationForm_C));
    return result;
}

} // namespace

bool equal(const QString& a, const QString& b)
{
    return a == b || a.normalized(QString::NormalizationForm_C) == b.normalized(QString::NormalizationForm_C);
}

bool equal(const Fields& a, const Fields& b)
{
    return a == b || (a.size() == b.size() && composed(a) == composed(b));
}

} // namespace CanonicalText
