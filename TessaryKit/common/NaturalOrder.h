#pragma once

#include <QCollator>
#include <QString>
#include <array>
#include <vector>

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

    // Appends to `key` a key many times cheaper to make, for text of ASCII digits, punctuation and blanks
    // only, such as dates and times, and of ASCII letters too in the locales that order them as the
    // alphabet does. Such texts compare by their plain keys' bytes (a shorter key first when one starts
    // the other) as by their collation keys; where those are equal, `compare` goes on by code points.
    // Other text leaves `key` as it was: false.
    bool appendPlainKey(QStringView text, std::vector<char>& key) const;

private:
    bool ordersLettersPlainly() const;
    bool probeLetters() const;

    QCollator collator;
    std::array<char, 128> plainRank{}; // by the collator; 0 for digits, and for what has no plain key
};
