#pragma once

#include <QCollator>
#include <QString>

// Natural file-name order: case-insensitive, runs of digits by numeric value, in the user's locale,
// and total: different names never compare equal (ties fall back to code-point order).
class NaturalOrder {
public:
    // Collation keys are computed once per name, so sorting many names compares bytes only.
    struct Key {
        QCollatorSortKey collation;
        QString name;
    };

    NaturalOrder();

    Key key(const QString& name) const;
    static int compare(const Key& a, const Key& b);

private:
    QCollator collator;
};
