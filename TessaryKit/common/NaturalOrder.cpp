#include "common/NaturalOrder.h"

#include <QLocale>

namespace {

// The C locale has no collation: Qt then compares code points and ignores numeric mode, which would
// put file10 before file2. Collate as English there.
QLocale collationLocale()
{
    const QLocale locale;
    return locale.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates) : locale;
}

} // namespace

NaturalOrder::NaturalOrder() : collator(collationLocale())
{
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
}

NaturalOrder::Key NaturalOrder::key(const QString& name) const
{
    return Key{collator.sortKey(name), name};
}

int NaturalOrder::compare(const Key& a, const Key& b)
{
    if (const int order = a.collation.compare(b.collation))
        return order;
    return QString::compare(a.name, b.name, Qt::CaseSensitive);
}
