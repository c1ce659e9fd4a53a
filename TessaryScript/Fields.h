#pragma once

#include <QMap>
#include <QString>

// A file's fields: field name to text value. The one map type shared by every layer. An ordered map:
// Qt 6.4's QHash allocates room for 128 buckets and 16 entries for even a handful of fields, which made
// every file's maps twice as large, and twice as slow to copy, for 100,000 files.
using Fields = QMap<QString, QString>;
