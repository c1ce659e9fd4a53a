#include "renaming/RenameOperation.h"

#include "common/CanonicalText.h"

bool operator==(const RenameOperation& a, const RenameOperation& b)
{
    return a.source == b.source && a.destination == b.destination && CanonicalText::equal(a.id, b.id);
}
