#pragma once

#include "metadata/FieldCatalogue.h"
#include "planning/RenameRules.h"

// The groups of base fields that the rules can read, so that only those are read from the files. A
// script may read any field, so with one, every group; else those of the pattern's placeholders and of
// the order's fields. The name and the row need no reading.
FieldCatalogue::Groups groupsUsedBy(const RenameRules& rules);
