#include "script/ScriptErrorText.h"

#include "common/KitCatalogue.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

QString scriptErrorText(const QString& helperText)
{
    static const QRegularExpression linePrefix(u"\\ALine (-?\\d+): "_s);
    if (const QRegularExpressionMatch line = linePrefix.match(helperText); line.hasMatch())
        //: Error of a file whose script failed; %1 is the script's line, %2 the JavaScript engine's message
        return KitCatalogue::tr("Line %1: %2")
            .arg(line.captured(1), scriptErrorText(helperText.mid(line.capturedEnd())));
    if (helperText == u"Unknown JavaScript error")
        //: Error of a file whose script threw something that can't be shown as text
        return KitCatalogue::tr("Unknown JavaScript error");
    if (helperText == u"`fields` must be an object")
        //: Error of a file whose script set the global `fields` to something else; keep `fields` as it is
        return KitCatalogue::tr("`fields` must be an object");
    if (helperText == u"`context` must be an object")
        //: Error of a file whose script set the global `context` to something else; keep `context` as it is
        return KitCatalogue::tr("`context` must be an object");
    return helperText;
}
