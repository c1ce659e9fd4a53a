#pragma once

#include "Fields.h"
#include "metadata/DocumentValue.h"

#include <QDateTime>
#include <QString>
#include <optional>

// An office document's own properties, as OOXML, OpenDocument and legacy OLE2 files all have them.
struct DocumentProperties {
    std::optional<DocumentValue> title, authors, creator, description, subject;
    std::optional<QDateTime> created, modified;
    std::optional<QString> lastAuthor, company, revision;
    std::optional<qint64> pages, words, slides;

    // The doc.* fields; an empty text or list, or a count below zero, is left out.
    void addTo(Fields& fields) const;
};
