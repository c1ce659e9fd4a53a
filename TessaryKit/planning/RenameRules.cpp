#include "planning/RenameRules.h"

#include "common/CanonicalText.h"

bool operator==(const RenameRules& a, const RenameRules& b)
{
    return a.reversed == b.reversed && a.numberDuplicates == b.numberDuplicates && a.order == b.order &&
           CanonicalText::equal(a.regex, b.regex) && CanonicalText::equal(a.script, b.script) &&
           CanonicalText::equal(a.pattern, b.pattern);
}
