#pragma once

#include "JSBatchInput.h"
#include "JSBatchOutputLine.h"

#include <QMetaType>
#include <QStringList>
#include <QTest>

Q_DECLARE_METATYPE(JSBatchInput)
Q_DECLARE_METATYPE(JSBatchOutputLine)

// Lets QCOMPARE print answer lines as the JSON they stand for.
inline char* toString(const JSBatchOutputLine& line)
{
    return qstrdup(line.toJsonLine().constData());
}

namespace ProtocolTestSupport {

// Tables write lines as JSON text; a line that does not decode fails the test that uses it.
inline QList<JSBatchOutputLine> linesFromJson(const QStringList& jsonLines)
{
    QList<JSBatchOutputLine> lines;
    for (const QString& json : jsonLines) {
        const auto line = JSBatchOutputLine::fromJsonLine(json.toUtf8());
        if (!line)
            qFatal("Test table holds an invalid answer line: %s", qPrintable(json));
        lines.append(*line);
    }
    return lines;
}

// A request from the JSON text of its item list, as tables write them.
inline JSBatchInput requestFromJson(const QString& script, const QByteArray& itemsJson,
                                    const QByteArray& contextJson = "{}")
{
    QString error;
    auto input = JSBatchInput::fromJson(
        "{\"script\":\"\",\"context\":" + contextJson + ",\"items\":" + itemsJson + "}", &error);
    if (!input)
        qFatal("Test table holds an invalid request: %s", qPrintable(error));
    input->script = script;
    return *input;
}

} // namespace ProtocolTestSupport
