#pragma once

#include "Fields.h"
#include "metadata/FieldCatalogue.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// Reads the base fields of files: for every file its name without extension and its dates, and, by
// type, image, video, audio, PDF and office document fields. Never fails: what cannot be read is left
// out, and every file gets at least `filename`. Only the groups asked for are read: a file that none of
// them concern is not even looked at, and its type comes from its name alone.
namespace MetadataExtractor {

// One map per path, in input order. Reads a few files at a time (by the processor count) on threads of
// its own and blocks until all are read: call it from a worker thread. `fileRead`, when given, is called
// after each file, on the thread that read it.
QList<Fields> fields(const QStringList& paths, const std::function<void()>& fileRead = {},
                     FieldCatalogue::Groups groups = FieldCatalogue::everyGroup);

// Makes equal values of `files` one shared string. Dates, sizes and camera names repeat across a batch,
// and 100,000 listed files would otherwise hold a copy each. `fields` does this to what it read.
void shareRepeatedValues(QList<Fields>& files);

Fields extract(const QString& path, FieldCatalogue::Groups groups = FieldCatalogue::everyGroup);

// How many files are read at once on a machine with `processors` cores: 2 below 4 cores, then half the
// cores, at most 8.
int width(int processors);

} // namespace MetadataExtractor
