#include "planning/FileOrder.h"

#include "common/InHalves.h"
#include "common/NaturalOrder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <future>
#include <memory>
#include <numeric>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// A decimal written plainly: "12", "-0.5". Dates, times and "1-800" are text.
std::optional<double> numberIn(const QString& text)
{
    const auto isDigit = [&](qsizetype i) { return i < text.size() && text[i] >= u'0' && text[i] <= u'9'; };
    qsizetype i = !text.isEmpty() && (text[0] == u'+' || text[0] == u'-') ? 1 : 0;
    const qsizetype digits = i;
    while (isDigit(i))
        ++i;
    if (i == digits)
        return std::nullopt;
    if (i < text.size() && text[i] == u'.' && isDigit(i + 1)) {
        for (++i; isDigit(i);)
            ++i;
    }
    if (i != text.size())
        return std::nullopt;
    return text.toDouble();
}

// One field of one file, made comparable once.
struct FieldKey {
    bool present = false;
    std::optional<double> number;
    // Made only when the field compares as text somewhere: the plain key when every value of the field
    // has one, else the collation key.
    QByteArray plain;
    std::optional<NaturalOrder::Key> natural;
    QString text;
};

// How the values of one field of the list compare when they are not both numbers; a later kind takes
// over from an earlier one.
enum class TextKind { None, Plain, Collated };

int compareNumbers(double a, double b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

int compareBytes(const char* a, qsizetype sizeA, const char* b, qsizetype sizeB)
{
    if (const int common = std::memcmp(a, b, size_t(std::min(sizeA, sizeB))))
        return common;
    return sizeA == sizeB ? 0 : (sizeA < sizeB ? -1 : 1);
}

// Equal values by these comparisons may still differ in their texts ("05" and "5"); `FieldKeys` breaks
// such ties after all fields, by code points.
int compareValues(const FieldKey& a, const FieldKey& b)
{
    if (a.number && b.number)
        return compareNumbers(*a.number, *b.number);
    if (a.natural)
        return a.natural->collation.compare(b.natural->collation);
    return compareBytes(a.plain.constData(), a.plain.size(), b.plain.constData(), b.plain.size());
}

// A double as eight bytes that compare as the numbers do.
void appendNumber(std::vector<char>& bytes, double number)
{
    auto bits = std::bit_cast<quint64>(number == 0 ? 0.0 : number); // -0 is 0
    bits = (bits >> 63) ? ~bits : bits | (quint64(1) << 63);
    for (int shift = 56; shift >= 0; shift -= 8)
        bytes.push_back(char(bits >> shift));
}

// The order fields of every file. When each field holds only numbers or only plain text (dates, times,
// counts: the common case), a file's fields are encoded in one byte string that compares as they do, so
// that the sort compares a few bytes in one place per file.
class FieldKeys {
public:
    FieldKeys(const QList<FileOrder::Item>& items, const QStringList& fields)
        : fieldCount(size_t(fields.size())), keys(size_t(items.size()) * fieldCount)
    {
        const NaturalOrder natural;
        // Plain keys need no collator: the files are read in halves, each noting its own fields' kinds.
        std::array<std::vector<TextKind>, 2> kinds;
        kinds.fill(std::vector<TextKind>(fieldCount, TextKind::None));
        inHalves(items.size(), [&](qsizetype begin, qsizetype end) {
            readFiles(items, fields, begin, end, natural, kinds[begin == 0 ? 0 : 1]);
        });
        std::vector<TextKind> textKind(fieldCount);
        for (size_t field = 0; field < fieldCount; ++field)
            textKind[field] = std::max(kinds[0][field], kinds[1][field]);
        bool encodable = true;
        for (size_t field = 0; field < fieldCount; ++field) {
            if (textKind[field] == TextKind::Collated)
                makeCollationKeys(field, natural);
            encodable &= textKind[field] == TextKind::None ||
                         (textKind[field] == TextKind::Plain && !hasNumber(field));
        }
        if (encodable)
            encode(textKind);
    }

    bool hasFirst(qsizetype position) const { return at(position, 0).present; }

    int compare(qsizetype a, qsizetype b) const
    {
        const int order =
            encoded.empty() ? compareFields(a, b)
                            : compareBytes(encoded.data() + spans[size_t(a)].first, spans[size_t(a)].second,
                                           encoded.data() + spans[size_t(b)].first, spans[size_t(b)].second);
        return order ? order : compareTexts(a, b);
    }

private:
    const FieldKey& at(qsizetype position, size_t field) const
    {
        return keys[size_t(position) * fieldCount + field];
    }
    FieldKey& at(qsizetype position, size_t field) { return keys[size_t(position) * fieldCount + field]; }

    void readFiles(const QList<FileOrder::Item>& items, const QStringList& fields, qsizetype begin,
                   qsizetype end, const NaturalOrder& natural, std::vector<TextKind>& kinds)
    {
        for (qsizetype position = begin; position < end; ++position) {
            for (size_t field = 0; field < fieldCount; ++field) {
                const auto value = items[position].fields->constFind(fields[qsizetype(field)]);
                if (value != items[position].fields->cend())
                    read(at(position, field), *value, natural, kinds[field]);
            }
        }
    }

    static void read(FieldKey& key, const QString& value, const NaturalOrder& natural, TextKind& kind)
    {
        key.present = true;
        key.text = value;
        key.number = numberIn(value);
        if (kind == TextKind::Collated)
            return;
        if (auto plain = natural.plainKey(value)) {
            key.plain = std::move(*plain);
            if (!key.number)
                kind = TextKind::Plain;
        } else {
            kind = TextKind::Collated;
        }
    }

    void makeCollationKeys(size_t field, const NaturalOrder& natural)
    {
        for (size_t position = 0; position < keys.size() / fieldCount; ++position) {
            FieldKey& key = at(qsizetype(position), field);
            if (key.present)
                key.natural = natural.key(key.text);
        }
    }

    bool hasNumber(size_t field) const
    {
        for (size_t position = 0; position < keys.size() / fieldCount; ++position)
            if (at(qsizetype(position), field).number)
                return true;
        return false;
    }

    // Per field: 1 when present, then its value (a plain key ends in 0, below all its bytes); 2 when
    // missing, so that a file lacking a field follows the files that have it.
    void encode(const std::vector<TextKind>& textKind)
    {
        const size_t files = keys.size() / fieldCount;
        spans.reserve(files);
        for (size_t position = 0; position < files; ++position) {
            const size_t start = encoded.size();
            for (size_t field = 0; field < fieldCount; ++field) {
                const FieldKey& key = at(qsizetype(position), field);
                encoded.push_back(key.present ? 1 : 2);
                if (!key.present)
                    continue;
                if (textKind[field] == TextKind::None) {
                    appendNumber(encoded, *key.number);
                } else {
                    encoded.insert(encoded.end(), key.plain.cbegin(), key.plain.cend());
                    encoded.push_back(0);
                }
            }
            spans.emplace_back(start, qsizetype(encoded.size() - start));
        }
    }

    int compareFields(qsizetype a, qsizetype b) const
    {
        for (size_t field = 0; field < fieldCount; ++field) {
            const FieldKey& keyA = at(a, field);
            const FieldKey& keyB = at(b, field);
            if (keyA.present != keyB.present)
                return keyA.present ? -1 : 1;
            if (!keyA.present)
                continue;
            if (const int order = compareValues(keyA, keyB))
                return order;
        }
        return 0;
    }

    int compareTexts(qsizetype a, qsizetype b) const
    {
        for (size_t field = 0; field < fieldCount; ++field) {
            if (at(a, field).present && at(b, field).present) {
                if (const int order =
                        QString::compare(at(a, field).text, at(b, field).text, Qt::CaseSensitive))
                    return order;
            }
        }
        return 0;
    }

    const size_t fieldCount;
    std::vector<FieldKey> keys; // per file, per field
    std::vector<char> encoded;  // every file's byte string, when the fields allow it
    std::vector<std::pair<size_t, qsizetype>> spans;
};

// Name keys cost a collation each; with fields they are needed only for ties.
class NameKeys {
public:
    explicit NameKeys(const QList<FileOrder::Item>& items) : items(items), keys(size_t(items.size())) {}

    const NaturalOrder::Key& at(qsizetype position)
    {
        std::optional<NaturalOrder::Key>& key = keys[size_t(position)];
        if (!key)
            key = natural.key(items[position].name);
        return *key;
    }

    // Every key at once, half of them on a second thread when there are many: each costs a collation,
    // and a collator serves one thread only.
    void makeAll()
    {
        inHalves(items.size(), [&](qsizetype begin, qsizetype end) {
            if (end == items.size())
                make(natural, begin, end);
            else
                make(NaturalOrder(), begin, end);
        });
    }

private:
    void make(const NaturalOrder& order, qsizetype begin, qsizetype end)
    {
        for (qsizetype position = begin; position < end; ++position)
            keys[size_t(position)] = order.key(items[position].name);
    }

    const QList<FileOrder::Item>& items;
    const NaturalOrder natural;
    std::vector<std::optional<NaturalOrder::Key>> keys;
};

// The name order's comparison, shared as the fields' tie-break.
bool precedesByName(NameKeys& names, const QList<FileOrder::Item>& items, qsizetype a, qsizetype b,
                    bool reversed)
{
    if (const int byName = NaturalOrder::compare(names.at(a), names.at(b)))
        return reversed ? byName > 0 : byName < 0;
    return items[a].path < items[b].path;
}

// Sorts two halves at once and merges them, equal positions staying in their order; merging also copes
// with mixed numbers and texts, which need not compare transitively. Each thread takes its comparison from
// `comparison()`: one that makes keys as it goes serves one thread only. The calling thread's also merges,
// with the keys its half made.
template <typename Comparison>
void sortInHalves(std::vector<qsizetype>& positions, const Comparison& comparison)
{
    const auto count = qsizetype(positions.size());
    const auto precedes = comparison();
    inHalves(count, [&](qsizetype begin, qsizetype end) {
        if (end == count)
            std::stable_sort(positions.begin() + begin, positions.end(), precedes);
        else
            std::stable_sort(positions.begin() + begin, positions.begin() + end, comparison());
    });
    std::inplace_merge(positions.begin(), positions.begin() + count / 2, positions.end(), precedes);
}

std::vector<qsizetype> positionsOf(const QList<FileOrder::Item>& items)
{
    std::vector<qsizetype> positions(size_t(items.size()));
    std::iota(positions.begin(), positions.end(), 0);
    return positions;
}

} // namespace

FileOrder::FileOrder(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed == asListed) {
        kind = Kind::Listed;
        return;
    }
    if (trimmed == byName)
        return;
    for (const QString& field : trimmed.split(u',')) {
        if (!field.trimmed().isEmpty())
            keyFields.append(field.trimmed());
    }
    if (!keyFields.isEmpty())
        kind = Kind::Fields;
}

QString FileOrder::text() const
{
    switch (kind) {
    case Kind::Name:
        return byName;
    case Kind::Listed:
        return asListed;
    case Kind::Fields:
        break;
    }
    return keyFields.join(u',');
}

std::vector<qsizetype> FileOrder::sorted(const QList<Item>& items, bool reversed) const
{
    std::vector<qsizetype> positions = positionsOf(items);
    switch (kind) {
    case Kind::Listed:
        if (reversed)
            std::reverse(positions.begin(), positions.end());
        break;
    case Kind::Name: {
        NameKeys names(items);
        names.makeAll(); // all are needed: made up front rather than inside the sort, which then only reads
        sortInHalves(positions, [&] {
            return [&](qsizetype a, qsizetype b) { return precedesByName(names, items, a, b, reversed); };
        });
        break;
    }
    case Kind::Fields:
        return sortedByFields(items, reversed);
    }
    return positions;
}

std::vector<qsizetype> FileOrder::sortedByFields(const QList<Item>& items, bool reversed) const
{
    const FieldKeys keys(items, keyFields);
    // Name keys are made only for ties, as they come: each thread has its own.
    const auto comparison = [&] {
        return
            [&keys, &items, reversed, names = std::make_shared<NameKeys>(items)](qsizetype a, qsizetype b) {
                if (keys.hasFirst(a) != keys.hasFirst(b))
                    return keys.hasFirst(a); // also when reversed
                if (const int order = keys.compare(a, b))
                    return reversed ? order > 0 : order < 0;
                return precedesByName(*names, items, a, b, reversed);
            };
    };
    std::vector<qsizetype> positions = positionsOf(items);
    sortInHalves(positions, comparison);
    return positions;
}
