#include "Fields.h"

#include <QHash>
#include <QRandomGenerator>
#include <QTest>
#include <map>

using namespace Qt::StringLiterals;

using Reference = std::map<QString, QString>;

namespace {

// What a map holds, in its own iteration order.
QList<std::pair<QString, QString>> entriesOf(const Fields& fields)
{
    QList<std::pair<QString, QString>> entries;
    for (auto it = fields.cbegin(); it != fields.cend(); ++it)
        entries.append({it.key(), it.value()});
    return entries;
}

QList<std::pair<QString, QString>> entriesOf(const Reference& reference)
{
    return {reference.cbegin(), reference.cend()};
}

// Every way to read `fields` agrees with `reference`. `hints` are the places each key was found at last,
// in whichever map.
void compare(const Fields& fields, const Reference& reference, const QStringList& probes,
             QHash<QString, qsizetype>& hints)
{
    QCOMPARE(entriesOf(fields), entriesOf(reference));
    QCOMPARE(fields.size(), qsizetype(reference.size()));
    QCOMPARE(fields.keys().size(), qsizetype(reference.size()));
    for (const QString& key : probes) {
        const auto expected = reference.find(key);
        QCOMPARE(fields.contains(key), expected != reference.end());
        QCOMPARE(fields.value(key, u"-"_s), expected == reference.end() ? u"-"_s : expected->second);
        const auto found = fields.constFind(key);
        QVERIFY(fields.constFind(key, hints[key]) == found);
        if (found != fields.cend()) {
            QCOMPARE(found.key(), key);
            QCOMPARE(entriesOf(fields).indexOf({key, *found}), // iterating on from there goes on in order
                     qsizetype(std::distance(reference.begin(), expected)));
        }
    }
}

} // namespace

// The field map against std::map, through the copies, layers and merges that listed files and their
// plans put it through.
class tst_Fields : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void behavesAsAnOrderedMap_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("keys");
        for (const quint32 seed : {1u, 2u, 3u, 4u})
            for (const int keys : {3, 12, 40})
                QTest::addRow("seed %u, %d keys", seed, keys) << seed << keys;
    }

    // Random inserts, removals and copies; after each step every live copy reads as its reference.
    void behavesAsAnOrderedMap()
    {
        QFETCH(quint32, seed);
        QFETCH(int, keys);
        QRandomGenerator random(seed);
        QStringList probes;
        for (int k = 0; k < keys; ++k)
            probes << u"key %1"_s.arg(k, 2, 10, QChar(u'0'));
        const auto anyKey = [&] { return probes[int(random.bounded(keys))]; };

        QList<std::pair<Fields, Reference>> maps{{}};
        QHash<QString, qsizetype> hints;
        for (int step = 0; step < 600; ++step) {
            auto& [fields, reference] = maps[qsizetype(random.bounded(quint32(maps.size())))];
            const quint32 action = random.bounded(10u);
            if (action < 6) {
                const QString key = anyKey();
                const QString value = u"v%1"_s.arg(random.bounded(3u)); // often the value it has
                fields.insert(key, value);
                reference[key] = value;
            } else if (action < 7) {
                const QString key = anyKey();
                QCOMPARE(fields.remove(key), qsizetype(reference.erase(key)));
            } else if (maps.size() < 6) {
                maps.append({fields, reference}); // a copy that shares until written
            }
            for (const auto& [someFields, someReference] : maps)
                compare(someFields, someReference, probes, hints);
        }
    }

    void aCopyWrittenToLeavesTheOriginal()
    {
        const Fields base{{u"filename"_s, u"a"_s}, {u"date"_s, u"2024-01-02"_s}};
        Fields planned = base;
        planned.insert(u"row"_s, u"1"_s);
        planned.insert(u"date"_s, u"2025-01-01"_s);
        QCOMPARE(entriesOf(base),
                 (QList<std::pair<QString, QString>>{{u"date"_s, u"2024-01-02"_s}, {u"filename"_s, u"a"_s}}));
        QCOMPARE(entriesOf(planned),
                 (QList<std::pair<QString, QString>>{
                     {u"date"_s, u"2025-01-01"_s}, {u"filename"_s, u"a"_s}, {u"row"_s, u"1"_s}}));
    }

    // Maps built in different ways are equal when they hold the same entries.
    void equalityIsByEntries_data()
    {
        QTest::addColumn<Fields>("a");
        QTest::addColumn<Fields>("b");
        QTest::addColumn<bool>("equal");
        const Fields base{{u"x"_s, u"1"_s}, {u"y"_s, u"2"_s}};
        Fields layered = base;
        layered.insert(u"z"_s, u"3"_s);
        const Fields built{{u"z"_s, u"3"_s}, {u"y"_s, u"2"_s}, {u"x"_s, u"1"_s}};
        Fields overridden = base;
        overridden.insert(u"y"_s, u"two"_s);
        QTest::newRow("layer against built") << layered << built << true;
        QTest::newRow("a copy") << base << Fields(base) << true;
        QTest::newRow("a different value") << overridden << base << false;
        QTest::newRow("an extra key") << layered << base << false;
        QTest::newRow("empty") << Fields() << Fields() << true;
    }

    void equalityIsByEntries()
    {
        QFETCH(Fields, a);
        QFETCH(Fields, b);
        QFETCH(bool, equal);
        QCOMPARE(a == b, equal);
        QCOMPARE(b == a, equal);
    }

    void changeValuesChangesOnlyTheCopy()
    {
        const Fields original{{u"a"_s, u" x "_s}, {u"b"_s, u"y"_s}};
        Fields changed = original;
        changed.insert(u"c"_s, u" z"_s);
        changed.changeValues(
            [](const QString& key, const QString& value) { return key == u"b"_s ? value : value.trimmed(); });
        QCOMPARE(entriesOf(changed),
                 (QList<std::pair<QString, QString>>{{u"a"_s, u"x"_s}, {u"b"_s, u"y"_s}, {u"c"_s, u"z"_s}}));
        QCOMPARE(original.value(u"a"_s), u" x "_s);
    }
};

QTEST_GUILESS_MAIN(tst_Fields)
#include "tst_Fields.moc"
