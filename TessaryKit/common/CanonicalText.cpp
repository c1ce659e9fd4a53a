#include "common/CanonicalText.h"

#include <algorithm>

namespace CanonicalText {
namespace {

// Below U+0300 no character composes with another or decomposes: such text is its own composed form.
bool isComposed(QStringView text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x300; });
}

Fields composed(const Fields& fields)
{
    Fields result;
    for (auto it = fields.cbegin(); it != fields.cend(); ++it)
        result.insert(it.key().normalized(QString::NormalizationForm_C),
                      it.value().normalized(QString::NormalizationForm_C));
    return result;
}

} // namespace

bool equal(QStringView a, QStringView b)
{
    if (a == b)
        return true;
    if (isComposed(a) && isComposed(b))
        return false;
    return a.toString().normalized(QString::NormalizationForm_C) ==
           b.toString().normalized(QString::NormalizationForm_C);
}

bool equal(const Fields& a, const Fields& b)
{
    return a == b || (a.size() == b.size() && composed(a) == composed(b));
}

} // namespace CanonicalText
