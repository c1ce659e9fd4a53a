#pragma once

#include "Fields.h"
#include "metadata/DocumentProperties.h"
#include "metadata/MetadataItems.h"
#include "platform/KitInternal.h"

#include <QString>
#include <exception>
#include <optional>

// The field groups read from a file's content, one adapter per library. Each adds what it can read to
// `fields` and never fails: a library's exceptions and log lines stay inside its adapter.
namespace MetadataReaders {

void readImageFields(const QString& path, Fields& fields); // exiv2
void readVideoFields(const QString& path, Fields& fields); // libavformat
void readAudioFields(const QString& path, Fields& fields); // libavformat, tags through readAudioTags
void readPDFFields(const QString& path, Fields& fields);   // poppler

// Office document properties; nothing when the file isn't a document the reader knows.
std::optional<DocumentProperties> readPackageProperties(const QString& path); // OOXML, OpenDocument: libzip
std::optional<DocumentProperties> readLegacyProperties(const QString& path);  // OLE2: libgsf

// An audio file's tags as items, each value of a repeated tag on its own; nothing when TagLib doesn't
// know the format.
std::optional<QList<MetadataItem>> readAudioTags(const QString& path); // TagLib

// Logs a library's exception for one file; the path, also inside the library's message, as private.
void logFailure(const char* library, const QString& path, const std::exception& exception);

} // namespace MetadataReaders
