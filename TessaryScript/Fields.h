#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <iterator>
#include <utility>

// A file's fields: field name to text value, in name order. The one map type shared by every layer.
//
// 100,000 listed files each keep their base fields, and every plan gives them fields that mostly repeat
// those. So a copy shares its entries with the original, and what is inserted into it afterwards goes to
// a small layer of its own: a plan that adds "row" and two regex groups to ten base fields costs three
// entries, not a copy of thirteen. Inserting a value a field already has changes nothing. Entries sit
// in sorted arrays, a third of a tree node's size each.
class Fields {
public:
    struct Entry {
        QString key;
        QString value;
    };

    // Visits the entries in name order: the base's, with the layer's in their places.
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using difference_type = qsizetype;
        using value_type = QString;
        using pointer = const QString*;
        using reference = const QString&;

        const QString& key() const { return current().key; }
        const QString& value() const { return current().value; }
        const QString& operator*() const { return value(); }
        const QString* operator->() const { return &value(); }
        const_iterator& operator++();
        const_iterator operator++(int)
        {
            const_iterator before = *this;
            ++*this;
            return before;
        }
        friend bool operator==(const const_iterator& a, const const_iterator& b)
        {
            return a.inBase == b.inBase && a.inLayer == b.inLayer;
        }

    private:
        friend class Fields;
        const_iterator(const Fields* fields, qsizetype inBase, qsizetype inLayer)
            : fields(fields), inBase(inBase), inLayer(inLayer)
        {
        }
        bool atLayer() const;
        const Entry& current() const;

        const Fields* fields;
        qsizetype inBase;
        qsizetype inLayer;
    };
    using iterator = const_iterator;

    Fields() = default;
    Fields(std::initializer_list<std::pair<QString, QString>> entries);

    // Sets `key` to `value`, adding it when absent.
    void insert(const QString& key, const QString& value);
    // Sets every field of `other` here.
    void insert(const Fields& other);
    qsizetype remove(const QString& key);

    QString value(const QString& key, const QString& fallback = QString()) const;
    bool contains(const QString& key) const { return constFind(key) != cend(); }
    const_iterator constFind(const QString& key) const;
    // The same, starting where `key` was in another map: `hint` is its place in that map's base, and
    // becomes its place in this one's. Files' fields mostly have the same keys, so one comparison finds it.
    const_iterator constFind(const QString& key, qsizetype& hint) const;
    const_iterator find(const QString& key) const { return constFind(key); }
    QStringList keys() const;
    qsizetype size() const { return base.size() + added; }
    qsizetype count() const { return size(); }
    bool isEmpty() const { return size() == 0; }

    const_iterator cbegin() const { return {this, 0, 0}; }
    const_iterator cend() const { return {this, base.size(), layer.size()}; }
    const_iterator begin() const { return cbegin(); }
    const_iterator end() const { return cend(); }
    const_iterator constBegin() const { return cbegin(); }
    const_iterator constEnd() const { return cend(); }

    // Replaces each value with `change(key, value)`; a value it returns unchanged, shared, stays put,
    // so that nothing is copied where nothing changes.
    template <typename Change> void changeValues(Change change)
    {
        fold();
        for (qsizetype i = 0; i < base.size(); ++i) {
            QString changed = change(base.at(i).key, base.at(i).value);
            if (!changed.isSharedWith(base.at(i).value))
                base[i].value = std::move(changed);
        }
    }

    friend bool operator==(const Fields& a, const Fields& b);

private:
    // Merges the layer into a base of this map's own.
    void fold();

    QList<Entry> base;   // sorted by key; shared between copies
    QList<Entry> layer;  // sorted by key; overrides the base's values and adds keys it lacks
    qsizetype added = 0; // the layer's keys that the base lacks
};
