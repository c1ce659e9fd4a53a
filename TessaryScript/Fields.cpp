#include "Fields.h"

#include <algorithm>

namespace {

// Past this many entries a layer is merged into a base of its own, so that lookups stay two binary
// searches over short arrays and one map's many inserts don't grow a long layer.
constexpr qsizetype longestLayer = 8;

qsizetype lowerBound(const QList<Fields::Entry>& entries, const QString& key)
{
    const auto at =
        std::lower_bound(entries.cbegin(), entries.cend(), key,
                         [](const Fields::Entry& entry, const QString& k) { return entry.key < k; });
    return at - entries.cbegin();
}

bool holds(const QList<Fields::Entry>& entries, qsizetype at, const QString& key)
{
    return at < entries.size() && entries[at].key == key;
}

} // namespace

bool Fields::const_iterator::atLayer() const
{
    if (inLayer == fields->layer.size())
        return false;
    return inBase == fields->base.size() || fields->layer[inLayer].key <= fields->base[inBase].key;
}

const Fields::Entry& Fields::const_iterator::current() const
{
    return atLayer() ? fields->layer[inLayer] : fields->base[inBase];
}

Fields::const_iterator& Fields::const_iterator::operator++()
{
    if (!atLayer()) {
        ++inBase;
        return *this;
    }
    if (holds(fields->base, inBase, fields->layer[inLayer].key))
        ++inBase; // the base's entry the layer overrides
    ++inLayer;
    return *this;
}

Fields::Fields(std::initializer_list<std::pair<QString, QString>> entries)
{
    base.reserve(qsizetype(entries.size()));
    for (const auto& [key, value] : entries)
        insert(key, value);
}

void Fields::insert(const QString& key, const QString& value)
{
    const qsizetype inLayer = lowerBound(layer, key);
    if (holds(layer, inLayer, key)) {
        if (layer[inLayer].value != value)
            layer[inLayer].value = value;
        return;
    }
    const qsizetype inBase = lowerBound(base, key);
    const bool baseHasIt = holds(base, inBase, key);
    if (baseHasIt && base[inBase].value == value)
        return;
    if (layer.isEmpty() && (base.isEmpty() || base.isDetached())) { // no other map sees the base
        if (baseHasIt)
            base[inBase].value = value;
        else
            base.insert(inBase, Entry{key, value});
        return;
    }
    layer.insert(inLayer, Entry{key, value});
    added += baseHasIt ? 0 : 1;
    if (layer.size() > longestLayer)
        fold();
}

void Fields::insert(const Fields& other)
{
    for (auto it = other.cbegin(); it != other.cend(); ++it)
        insert(it.key(), it.value());
}

qsizetype Fields::remove(const QString& key)
{
    fold();
    const qsizetype at = lowerBound(base, key);
    if (!holds(base, at, key))
        return 0;
    base.remove(at);
    return 1;
}

QString Fields::value(const QString& key, const QString& fallback) const
{
    const const_iterator at = constFind(key);
    return at == cend() ? fallback : at.value();
}

Fields::const_iterator Fields::constFind(const QString& key, qsizetype& hint) const
{
    if (hint < 0 || !holds(base, hint, key))
        hint = lowerBound(base, key);
    const qsizetype inLayer = lowerBound(layer, key);
    if (holds(layer, inLayer, key) || holds(base, hint, key))
        return {this, hint, inLayer};
    return cend();
}

Fields::const_iterator Fields::constFind(const QString& key) const
{
    qsizetype noHint = -1;
    return constFind(key, noHint);
}

QStringList Fields::keys() const
{
    QStringList names;
    names.reserve(size());
    for (auto it = cbegin(); it != cend(); ++it)
        names.append(it.key());
    return names;
}

void Fields::fold()
{
    if (layer.isEmpty())
        return;
    QList<Entry> merged;
    merged.reserve(size());
    for (auto it = cbegin(); it != cend(); ++it)
        merged.append(Entry{it.key(), it.value()});
    base = std::move(merged);
    layer = {};
    added = 0;
}

bool operator==(const Fields& a, const Fields& b)
{
    if (a.size() != b.size())
        return false;
    if (a.base.isSharedWith(b.base) && a.layer.isSharedWith(b.layer))
        return true;
    for (auto x = a.cbegin(), y = b.cbegin(); x != a.cend(); ++x, ++y)
        if (x.key() != y.key() || x.value() != y.value())
            return false;
    return true;
}
