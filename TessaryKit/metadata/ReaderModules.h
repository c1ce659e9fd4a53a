#pragma once

#include "Fields.h"
#include "metadata/FieldCatalogue.h"

#include <QString>
#include <QStringList>

// The readers of a file's content live in modules of their own, loaded when a group is first read: a
// program that never reads an image never loads exiv2, and most runs load none of the media and document
// libraries. A module that can't be loaded leaves its groups unread and says why in `failures()`.
namespace ReaderModules {

// Adds the fields of `group` (any group but File) that the file at `path` has.
void read(FieldCatalogue::Group group, const QString& path, Fields& fields);

// One line per module that could not be loaded, in the UI language.
QStringList failures();

// TESSARY_READER_MODULES when set, else <program's folder>/../lib/tessary: where the build and an
// installation put them.
QString folder();

} // namespace ReaderModules
