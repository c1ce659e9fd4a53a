#include "Report.h"

#include "common/FileNameParts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

QJsonObject toObject(const Fields& fields)
{
    QJsonObject object;
    for (auto it = fields.cbegin(); it != fields.cend(); ++it)
        object.insert(it.key(), it.value());
    return object;
}

QString plural(qsizetype count, const QString& one, const QString& many)
{
    return QString::number(count) + u' ' + (count == 1 ? one : many);
}

} // namespace

QString Report::printable(const QString& name)
{
    const auto plain = [](QChar c) { return c >= u' ' && c < u'\x7f' && c != u'\\'; };
    if (std::all_of(name.cbegin(), name.cend(), plain))
        return name;
    QString text;
    text.reserve(name.size());
    for (const QChar character : name) {
        if (character == u'\n')
            text += u"\\n"_s;
        else if (character == u'\t')
            text += u"\\t"_s;
        else if (character == u'\\')
            text += u"\\\\"_s;
        else if (character.category() == QChar::Other_Control)
            text += u"\\x%1"_s.arg(uint(character.unicode()), 2, 16, QChar(u'0'));
        else
            text += character;
    }
    return text;
}

QByteArray Report::rowOf(const FileReport& file) const
{
    const PlanOutput& output = file.output;
    if (json) {
        QJsonObject object{{u"path"_s, file.path},
                           {u"resultName"_s, output.resultName},
                           {u"fields"_s, toObject(output.fields)}};
        if (output.error)
            object.insert(u"error"_s, *output.error);
        if (output.warning)
            object.insert(u"warning"_s, *output.warning);
        if (!output.logs.isEmpty())
            object.insert(u"logs"_s, QJsonArray::fromStringList(output.logs));
        if (file.renamed)
            object.insert(u"renamed"_s, *file.renamed);
        if (file.renameError)
            object.insert(u"renameError"_s, *file.renameError);
        return QJsonDocument(object).toJson(QJsonDocument::Compact);
    }
    const QString name = printable(FileNameParts::nameOf(file.path));
    QString row = name + u"  →  "_s + (file.changed ? printable(output.resultName) : u"unchanged"_s);
    if (file.renamed && restoring)
        row += *file.renamed ? u"  (not restored)"_s : u"  (restored)"_s;
    else if (file.renamed)
        row += *file.renamed ? u"  (renamed)"_s : u"  (not renamed)"_s;
    for (const std::optional<QString>& problem : {output.error, output.warning, file.renameError})
        if (problem)
            row += u"\n    "_s + printable(*problem);
    if (verbose) {
        QStringList keys = output.fields.keys();
        keys.sort();
        for (const QString& key : keys)
            row += u"\n    %1 = %2"_s.arg(printable(key), printable(output.fields.value(key)));
        for (const QString& log : output.logs)
            row += u"\n    console: "_s + printable(log);
    }
    return row.toUtf8();
}

void Report::summary(qsizetype files, qsizetype toRename, qsizetype errors) const
{
    if (!json)
        write((plural(files, u"file"_s, u"files"_s) + u", "_s + QString::number(toRename) +
               u" to rename, "_s + plural(errors, u"error"_s, u"errors"_s))
                  .toUtf8());
}

void Report::write(const QByteArray& row) const
{
    std::fwrite(row.constData(), 1, size_t(row.size()), stdout);
    std::fputc('\n', stdout);
}
