#pragma once

#include "platform/KitInternal.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Writes that are on the disk, data and name, before they return, and that leave nothing half written:
// a failed write removes or cuts back what it wrote. Failures are errno values; 0 is success.
namespace DurableFile {

// A new file at `path` with `bytes`, written under a side name and given its own name once whole.
int create(const QString& path, const QByteArray& bytes);
// Appends `bytes` to the file at `path`, after cutting it back to `after` bytes where it is longer and
// `after` is not 0; on failure the file is cut back to its former length.
int append(const QString& path, const QByteArray& bytes, qint64 after = 0);
// Renames an entry of the caller's own, under a name nothing else uses, and syncs the folder.
int rename(const QString& from, const QString& to);
int remove(const QString& path);

// Makes the renames of entries in these folders durable; every folder is synced, and the first failure
// is returned.
int syncFolders(const QStringList& folders);

// The system's sentence for an errno value.
QString describe(int reason);

} // namespace DurableFile
