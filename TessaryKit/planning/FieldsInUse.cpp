#include "planning/FieldsInUse.h"

#include "planning/FileOrder.h"
#include "planning/ResultPattern.h"

using namespace Qt::StringLiterals;

FieldCatalogue::Groups groupsUsedBy(const RenameRules& rules)
{
    if (!rules.script.isEmpty())
        return FieldCatalogue::everyGroup;
    QStringList names = FileOrder(rules.order).fields();
    const ResultPattern pattern(rules.pattern);
    for (const ResultPattern::Placeholder& placeholder : pattern.placeholders())
        for (const ResultPattern::Reading& reading : placeholder.readings)
            names.append(reading.field);
    names.removeAll(u"filename"_s);
    names.removeAll(u"row"_s);
    return FieldCatalogue::groupsOf(names);
}
