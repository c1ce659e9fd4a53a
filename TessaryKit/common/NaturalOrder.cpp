#include "common/NaturalOrder.h"

#include <QHash>
#include <QLocale>
#include <algorithm>
#include <mutex>

namespace {

// The C locale has no collation: Qt then compares code points and ignores numeric mode, which would
// put file10 before file2. Collate as English there.
QLocale collationLocale()
{
    const QLocale locale;
    return locale.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates) : locale;
}

bool isPunctuation(char16_t c)
{
    return c < 128 && !std::isalnum(int(c)) && (c == u' ' || std::isgraph(int(c)));
}

// A digit run's part of a plain key: it follows every punctuation rank, and compares by value: the count
// of significant digits, then the digits. Leading zeros are left to the tie-break, as the collator does.
constexpr char digitRun = char(0x7f);
// Letters follow digits, case ignored, 'a' first.
constexpr int firstLetter = 0x80;

// The languages whose collation orders ASCII as the root collation does. Others may join letters, as
// Czech does "ch" or Danish "aa", in ways that no short probe proves absent.
bool mayOrderLettersPlainly(const QLocale& locale)
{
    static const QList<QLocale::Language> plain{QLocale::English, QLocale::German,     QLocale::French,
                                                QLocale::Italian, QLocale::Portuguese, QLocale::Dutch,
                                                QLocale::Spanish, QLocale::Indonesian, QLocale::Malay};
    return plain.contains(locale.language());
}

} // namespace

NaturalOrder::NaturalOrder() : collator(collationLocale())
{
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // Punctuation sorts before digits in every locale's collation; among itself, as the locale says.
    std::vector<char16_t> marks;
    for (char16_t c = 0; c < 128; ++c)
        if (isPunctuation(c))
            marks.push_back(c);
    std::stable_sort(marks.begin(), marks.end(), [&](char16_t a, char16_t b) {
        return collator.compare(QStringView(&a, 1), QStringView(&b, 1)) < 0;
    });
    char rank = 0;
    for (size_t i = 0; i < marks.size(); ++i) {
        if (i == 0 || collator.compare(QStringView(&marks[i - 1], 1), QStringView(&marks[i], 1)) != 0)
            ++rank;
        plainRank[marks[i]] = rank;
    }
    if (ordersLettersPlainly())
        for (char16_t c = u'a'; c <= u'z'; ++c)
            plainRank[c] = plainRank[c - u'a' + u'A'] = char(firstLetter + (c - u'a'));
}

// Probed once per locale: about 700 comparisons.
bool NaturalOrder::ordersLettersPlainly() const
{
    static std::mutex mutex;
    static QHash<QString, bool> verdicts;
    const QString locale = collator.locale().bcp47Name();
    const std::lock_guard lock(mutex);
    const auto found = verdicts.constFind(locale);
    if (found != verdicts.cend())
        return *found;
    return verdicts[locale] = mayOrderLettersPlainly(collator.locale()) && probeLetters();
}

// Letters in alphabetical order after the digits, each equal to its capital, and every pair of them in
// the order of its letters: no pair sorts as one letter.
bool NaturalOrder::probeLetters() const
{
    if (collator.compare(u"9", u"a") >= 0)
        return false;
    std::array<char16_t, 2> previous{};
    for (char16_t first = u'a'; first <= u'z'; ++first) {
        const char16_t capital = first - u'a' + u'A';
        if (collator.compare(QStringView(&first, 1), QStringView(&capital, 1)) != 0)
            return false;
        for (char16_t second = u'a'; second <= u'z'; ++second) {
            const std::array<char16_t, 2> pair{first, second};
            if (previous[0] &&
                collator.compare(QStringView(previous.data(), 2), QStringView(pair.data(), 2)) >= 0)
                return false;
            previous = pair;
        }
    }
    return true;
}

bool NaturalOrder::appendPlainKey(QStringView text, std::vector<char>& key) const
{
    const size_t start = key.size();
    const auto fail = [&] {
        key.resize(start);
        return false;
    };
    for (qsizetype i = 0; i < text.size();) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9') {
            qsizetype end = i;
            while (end < text.size() && text[end] >= u'0' && text[end] <= u'9')
                ++end;
            qsizetype first = i;
            while (first < end - 1 && text[first] == u'0')
                ++first;
            if (end - first > 100)
                return fail(); // beyond what one length byte tells apart here
            key.push_back(digitRun);
            key.push_back(char(end - first));
            for (qsizetype d = first; d < end; ++d)
                key.push_back(char(text[d].unicode()));
            i = end;
            continue;
        }
        if (c >= 128 || !plainRank[c])
            return fail();
        key.push_back(plainRank[c]);
        ++i;
    }
    return true;
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
