#include "window/OrderChoices.h"

#include "planning/FileOrder.h"

QList<OrderChoices::Choice> OrderChoices::presets()
{
    return {
        //: Choice of the Order menu: natural order of the file names
        {tr("Name"), FileOrder::byName},
        //: Choice of the Order menu: by the date and time a photo was taken
        {tr("Date Taken"), dateTaken},
        //: Choice of the Order menu: by the date and time a file was last changed
        {tr("Date Modified"), dateModified},
        //: Choice of the Order menu: the order in which the files were added, or dragged to
        {tr("As Listed"), FileOrder::asListed},
    };
}

QString OrderChoices::label(const QString& order)
{
    const FileOrder read(order);
    for (const Choice& choice : presets()) {
        if (choice.order == read.text())
            return choice.label;
    }
    return read.fields().join(QStringLiteral(", "));
}
