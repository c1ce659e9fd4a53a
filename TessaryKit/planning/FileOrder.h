#pragma once

#include "Fields.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

// The order in which the planner numbers the files and the script sees them, as the user writes it:
// "name" (natural order of the names), "listed" (the order the files were added in, or put in since), or
// field names separated by ",". Fields compare as numbers when both values are numbers, otherwise in
// natural order; a file lacking the first field comes last, and ties fall back to the name order.
class FileOrder {
public:
    static inline const QString byName = QStringLiteral("name");
    static inline const QString asListed = QStringLiteral("listed");

    // One file to sort; `fields` must outlive the sorting.
    struct Item {
        QString name;
        QString path;
        const Fields* fields;
    };

    // Text that names no field (empty, or only commas and blanks) means "name".
    explicit FileOrder(const QString& text);

    bool isByName() const { return kind == Kind::Name; }
    bool isListed() const { return kind == Kind::Listed; }
    QStringList fields() const { return keyFields; }
    // "name", "listed", or the fields joined by ",".
    QString text() const;

    // The positions of `items` in this order, or in its reverse. Files of the same name in different
    // folders keep ascending path order either way, and files lacking the first field stay last.
    std::vector<qsizetype> sorted(const QList<Item>& items, bool reversed) const;

private:
    enum class Kind { Name, Listed, Fields };

    std::vector<qsizetype> sortedByFields(const QList<Item>& items, bool reversed) const;

    Kind kind = Kind::Name;
    QStringList keyFields;
};
