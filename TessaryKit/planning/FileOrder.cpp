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
#include <type_traits>

using namespace Qt::StringLiterals;

namespace {

// A decimal written plainly: "12", "-0.5". Dates, times and "1-800" are text.
std::optional<double> numberIn(const QString& text)
{
    const auto isDigit = [&](qsizetype i) { return i < text.size() && text[i] >= u'0' && text[i] <= u'9'; };
    qsizetype i = !text.isEmpty() && (text[0] == u'+' || text[0] == u'-') ? 1 : 0;
    const qsizetype digits = i;
    qint64 whole = 0;
    for (; isDigit(i); ++i)
        whole = i - digits < 15 ? 10 * whole + (text[i].unicode() - u'0') : whole;
    if (i == digits)
        return std::nullopt;
    if (i == text.size() && i - digits <= 15) // exact as a double: no conversion needed
        return text[0] == u'-' ? -double(whole) : double(whole);
    if (i < text.size() && text[i] == u'.' && isDigit(i + 1)) {
        for (++i; isDigit(i);)
            ++i;
    }
    if (i != text.size())
        return std::nullopt;
    return text.toDouble();
}

// One value of one file, made comparable once, for fields that can't be encoded (see `FieldKeys`).
struct FieldKey {
    std::optional<double> number;
    std::vector<char> plain;                  // when every value of the field has one
    std::optional<NaturalOrder::Key> natural; // else the collation key
};

int compareNumbers(double a, double b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// An empty key's bytes may be no pointer at all, which memcmp must not see.
int compareBytes(const char* a, size_t sizeA, const char* b, size_t sizeB)
{
    const size_t common = std::min(sizeA, sizeB);
    if (const int order = common == 0 ? 0 : std::memcmp(a, b, common))
        return order;
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
    return compareBytes(a.plain.data(), a.plain.size(), b.plain.data(), b.plain.size());
}

// A double as eight bytes that compare as the numbers do.
void appendNumber(std::vector<char>& bytes, double number)
{
    auto bits = std::bit_cast<quint64>(number == 0 ? 0.0 : number); // -0 is 0
    bits = (bits >> 63) ? ~bits : bits | (quint64(1) << 63);
    for (int shift = 56; shift >= 0; shift -= 8)
        bytes.push_back(char(bits >> shift));
}

// What the values of one field hold: numbers, other texts, texts without a plain key.
struct FieldKinds {
    bool number = false;
    bool text = false;
    bool collated = false;

    // Numbers alone or plain texts alone encode in bytes that compare as the values do.
    bool encodable() const { return !collated && !(number && text); }
    void add(const FieldKinds& other)
    {
        number |= other.number;
        text |= other.text;
        collated |= other.collated;
    }
};

// The byte strings of some files (see `FieldKeys`), and what their fields hold.
struct EncodedFiles {
    std::vector<char> bytes;
    std::vector<size_t> ends; // where each file's string ends in `bytes`
    std::vector<FieldKinds> kinds;
};

// The byte strings of two halves in one buffer, with where each string begins, and where the last ends.
void joinHalves(std::array<EncodedFiles, 2>& halves, std::vector<char>& encoded, std::vector<size_t>& offsets)
{
    offsets.reserve(halves[0].ends.size() + halves[1].ends.size() + 1);
    offsets.push_back(0);
    offsets.insert(offsets.end(), halves[0].ends.cbegin(), halves[0].ends.cend());
    for (const size_t end : halves[1].ends)
        offsets.push_back(halves[0].bytes.size() + end);
    encoded = std::move(halves[0].bytes);
    encoded.insert(encoded.end(), halves[1].bytes.cbegin(), halves[1].bytes.cend());
}

// The order fields of every file: pointers to their values, null where a file lacks one. When each
// field holds only numbers or only plain text (dates, times, counts: the common case), a file's fields
// are encoded in one byte string that compares as they do, so that the sort compares a few bytes in one
// place per file. Otherwise each value is made comparable on its own.
class FieldKeys {
public:
    FieldKeys(const QList<FileOrder::Item>& items, const QStringList& fields)
        : fieldCount(size_t(fields.size())), values(size_t(items.size()) * fieldCount)
    {
        // Plain keys need no collator: both halves read and encode at once, each noting what it saw.
        const NaturalOrder natural;
        std::array<EncodedFiles, 2> halves;
        inHalves(items.size(), [&](qsizetype begin, qsizetype end) {
            halves[begin == 0 ? 0 : 1] = encodeFiles(items, fields, begin, end, natural);
        });
        std::vector<FieldKinds> kinds(fieldCount);
        for (const EncodedFiles& half : halves)
            for (size_t field = 0; field < half.kinds.size(); ++field)
                kinds[field].add(half.kinds[field]);
        encodable =
            std::all_of(kinds.cbegin(), kinds.cend(), [](const FieldKinds& k) { return k.encodable(); });
        if (encodable)
            joinHalves(halves, encoded, offsets);
        else
            makeKeys(items.size(), kinds);
    }

    bool hasFirst(qsizetype position) const { return value(position, 0) != nullptr; }

    int compare(qsizetype a, qsizetype b) const
    {
        const int order = encodable ? compareBytes(encoded.data() + offsets[size_t(a)], length(a),
                                                   encoded.data() + offsets[size_t(b)], length(b))
                                    : compareFields(a, b);
        return order ? order : compareTexts(a, b);
    }

private:
    const QString* value(qsizetype position, size_t field) const
    {
        return values[size_t(position) * fieldCount + field];
    }
    const FieldKey& key(qsizetype position, size_t field) const
    {
        return keys[size_t(position) * fieldCount + field];
    }
    size_t length(qsizetype position) const
    {
        return offsets[size_t(position) + 1] - offsets[size_t(position)];
    }

    // Per field: 1 when present, then its value (a plain key ends in 0, below all its bytes); 2 when
    // missing, so that a file lacking a field follows the files that have it. Once a field turns out not
    // to encode, only the values are noted.
    EncodedFiles encodeFiles(const QList<FileOrder::Item>& items, const QStringList& fields, qsizetype begin,
                             qsizetype end, const NaturalOrder& natural)
    {
        EncodedFiles files;
        files.kinds.resize(fieldCount);
        files.ends.reserve(size_t(end - begin));
        bool encoding = true;
        std::vector<qsizetype> hints(fieldCount); // where each field was in the last file's fields
        for (qsizetype position = begin; position < end; ++position) {
            for (size_t field = 0; field < fieldCount; ++field) {
                const auto found = items[position].fields->constFind(fields[qsizetype(field)], hints[field]);
                const QString* text = found != items[position].fields->cend() ? &*found : nullptr;
                values[size_t(position) * fieldCount + field] = text;
                if (encoding)
                    encoding = encode(text, files.bytes, files.kinds[field], natural);
            }
            files.ends.push_back(files.bytes.size());
        }
        return files;
    }

    static bool encode(const QString* text, std::vector<char>& bytes, FieldKinds& kinds,
                       const NaturalOrder& natural)
    {
        bytes.push_back(text ? 1 : 2);
        if (!text)
            return true;
        if (const std::optional<double> number = numberIn(*text)) {
            kinds.number = true;
            kinds.collated |= text->size() > 100; // past 100 digits a number may have no plain key
            appendNumber(bytes, *number);
        } else {
            kinds.text = true;
            kinds.collated |= !natural.appendPlainKey(*text, bytes);
            bytes.push_back(0);
        }
        return kinds.encodable();
    }

    // Each half with a collator of its own: one serves one thread only.
    void makeKeys(qsizetype files, const std::vector<FieldKinds>& kinds)
    {
        keys.resize(values.size());
        inHalves(files, [&](qsizetype begin, qsizetype end) {
            const NaturalOrder natural;
            for (qsizetype position = begin; position < end; ++position) {
                for (size_t field = 0; field < fieldCount; ++field) {
                    if (const QString* text = value(position, field))
                        keys[size_t(position) * fieldCount + field] = keyOf(*text, kinds[field], natural);
                }
            }
        });
    }

    static FieldKey keyOf(const QString& text, const FieldKinds& kinds, const NaturalOrder& natural)
    {
        FieldKey key{numberIn(text), {}, std::nullopt};
        if (kinds.collated)
            key.natural = natural.key(text);
        else
            natural.appendPlainKey(text, key.plain);
        return key;
    }

    int compareFields(qsizetype a, qsizetype b) const
    {
        for (size_t field = 0; field < fieldCount; ++field) {
            const bool hasA = value(a, field);
            const bool hasB = value(b, field);
            if (hasA != hasB)
                return hasA ? -1 : 1;
            if (!hasA)
                continue;
            if (const int order = compareValues(key(a, field), key(b, field)))
                return order;
        }
        return 0;
    }

    int compareTexts(qsizetype a, qsizetype b) const
    {
        for (size_t field = 0; field < fieldCount; ++field) {
            if (value(a, field) && value(b, field)) {
                if (const int order = QString::compare(*value(a, field), *value(b, field), Qt::CaseSensitive))
                    return order;
            }
        }
        return 0;
    }

    const size_t fieldCount;
    std::vector<const QString*> values; // per file, per field
    bool encodable = false;
    std::vector<char> encoded;   // every file's byte string, when the fields allow it
    std::vector<size_t> offsets; // where each file's string begins in `encoded`, and where the last ends
    std::vector<FieldKey> keys;  // per file, per field, when they don't
};

// Name keys: plain ones when every name has one (see `NaturalOrder::appendPlainKey`), all in one buffer;
// else a collation each, which with fields is made only for a tie, as it comes.
class NameKeys {
public:
    explicit NameKeys(const QList<FileOrder::Item>& items) : items(items) {}

    // Every key at once, on two threads when there are many: each half encodes plain keys, or, when a
    // name has none, makes collation keys, with a collator of its own, as one serves one thread only.
    void makeAll()
    {
        std::array<EncodedFiles, 2> halves;
        std::array<bool, 2> encodes{true, true}; // a short list is one half: the other stays empty
        inHalves(items.size(), [&](qsizetype begin, qsizetype end) {
            const qsizetype half = begin == 0 ? 0 : 1;
            encodes[half] = inOrderOf(
                end, [&](const NaturalOrder& order) { return encode(order, begin, end, halves[half]); });
        });
        if (encodes[0] && encodes[1]) {
            joinHalves(halves, encoded, offsets);
            return;
        }
        collationKeys();
        inHalves(items.size(), [&](qsizetype begin, qsizetype end) {
            inOrderOf(end, [&](const NaturalOrder& order) { make(order, begin, end); });
        });
    }

    int compare(qsizetype a, qsizetype b)
    {
        if (offsets.empty())
            return NaturalOrder::compare(at(a), at(b));
        if (const int order = compareBytes(encoded.data() + offsets[size_t(a)], length(a),
                                           encoded.data() + offsets[size_t(b)], length(b)))
            return order;
        return QString::compare(items[a].name, items[b].name, Qt::CaseSensitive);
    }

private:
    bool encode(const NaturalOrder& order, qsizetype begin, qsizetype end, EncodedFiles& half) const
    {
        half.ends.reserve(size_t(end - begin));
        for (qsizetype position = begin; position < end; ++position) {
            if (!order.appendPlainKey(items[position].name, half.bytes))
                return false;
            half.ends.push_back(half.bytes.size());
        }
        return true;
    }

    size_t length(qsizetype position) const
    {
        return offsets[size_t(position) + 1] - offsets[size_t(position)];
    }

    void collationKeys()
    {
        if (keys.empty())
            keys.resize(size_t(items.size()));
    }

    const NaturalOrder::Key& at(qsizetype position)
    {
        collationKeys();
        std::optional<NaturalOrder::Key>& key = keys[size_t(position)];
        if (!key)
            key = natural.key(items[position].name);
        return *key;
    }

    // Runs `work` with the order of the half ending at `end`: the calling thread, which takes the last half,
    // lends its own; the other thread makes one, as a collator serves one thread.
    template <typename Work>
    std::invoke_result_t<Work, const NaturalOrder&> inOrderOf(qsizetype end, Work work) const
    {
        if (end == items.size())
            return work(natural);
        return work(NaturalOrder());
    }

    void make(const NaturalOrder& order, qsizetype begin, qsizetype end)
    {
        for (qsizetype position = begin; position < end; ++position)
            keys[size_t(position)] = order.key(items[position].name);
    }

    const QList<FileOrder::Item>& items;
    const NaturalOrder natural;
    std::vector<char> encoded;   // every name's plain key, when all have one
    std::vector<size_t> offsets; // where each plain key begins in `encoded`, and where the last ends
    std::vector<std::optional<NaturalOrder::Key>> keys; // else
};

// The name order's comparison, shared as the fields' tie-break.
bool precedesByName(NameKeys& names, const QList<FileOrder::Item>& items, qsizetype a, qsizetype b,
                    bool reversed)
{
    if (const int byName = names.compare(a, b))
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
