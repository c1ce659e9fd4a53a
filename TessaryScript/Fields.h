#pragma once

#include <QHash>
#include <QString>

// A file's fields: field name to text value. The one map type shared by every layer.
using Fields = QHash<QString, QString>;
