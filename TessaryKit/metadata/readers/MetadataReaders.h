#pragma once

#include "Fields.h"
#include "platform/KitInternal.h"

#include <QString>
#include <exception>

// The field groups read from a file's content, one adapter per library. Each adds what it can read to
// `fields` and never fails: a library's exceptions and log lines stay inside its adapter.
namespace MetadataReaders {

void readImageFields(const QString& path, Fields& fields);    // exiv2
void readVideoFields(const QString& path, Fields& fields);    // libavformat
void readAudioFields(const QString& path, Fields& fields);    // libavformat
void readPDFFields(const QString& path, Fields& fields);      // poppler
void readDocumentFields(const QString& path, Fields& fields); // libzip and libgsf

// Logs a library's exception for one file; the path, also inside the library's message, as private.
void logFailure(const char* library, const QString& path, const std::exception& exception);

} // namespace MetadataReaders
