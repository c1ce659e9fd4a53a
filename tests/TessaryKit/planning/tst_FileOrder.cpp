#include "common/NaturalOrder.h"
#include "planning/FileOrder.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// "name.jpg date=2026-01-02 time=10-00-00": a file and its fields, as the rows below write them.
struct File {
    QString name;
    Fields fields;
};

File fileFrom(const QString& row)
{
    QStringList parts = row.split(u' ');
    File file{parts.takeFirst(), {}};
    for (const QString& part : parts)
        file.fields.insert(part.section(u'=', 0, 0), part.section(u'=', 1));
    return file;
}

QStringList sortedNames(const QString& order, const QStringList& rows, bool reversed)
{
    QList<File> files;
    for (const QString& row : rows)
        files.append(fileFrom(row));
    QList<FileOrder::Item> items;
    for (const File& file : files)
        items.append({file.name, u"/photos/"_s + file.name, &file.fields});
    QStringList names;
    for (const qsizetype position : FileOrder(order).sorted(items, reversed))
        names.append(files[position].name);
    return names;
}

} // namespace

class tst_FileOrder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsTheOrder_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("canonical");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("name") << u"name"_s << u"name"_s << QStringList{};
        QTest::newRow("listed, padded") << u" listed "_s << u"listed"_s << QStringList{};
        QTest::newRow("empty") << u""_s << u"name"_s << QStringList{};
        QTest::newRow("only commas") << u" , ,"_s << u"name"_s << QStringList{};
        QTest::newRow("fields with blanks and empties")
            << u" image.date , ,image.time"_s << u"image.date,image.time"_s
            << QStringList{u"image.date"_s, u"image.time"_s};
        QTest::newRow("a field named like a word")
            << u"name,row"_s << u"name,row"_s << QStringList{u"name"_s, u"row"_s};
    }
    void readsTheOrder()
    {
        QFETCH(QString, text);
        QFETCH(QString, canonical);
        QFETCH(QStringList, fields);
        const FileOrder order(text);
        QCOMPARE(order.text(), canonical);
        QCOMPARE(order.fields(), fields);
        QCOMPARE(order.isListed(), canonical == u"listed"_s);
        QCOMPARE(order.isByName(), canonical == u"name"_s);
    }

    void sorts_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<QStringList>("files"); // in listed order
        QTest::addColumn<QStringList>("ascending");
        QTest::addColumn<QStringList>("descending");

        QTest::newRow("name, natural")
            << u"name"_s << QStringList{u"img10"_s, u"IMG9"_s, u"img1"_s}
            << QStringList{u"img1"_s, u"IMG9"_s, u"img10"_s} << QStringList{u"img10"_s, u"IMG9"_s, u"img1"_s};
        QTest::newRow("listed") << u"listed"_s << QStringList{u"c"_s, u"a"_s, u"b"_s}
                                << QStringList{u"c"_s, u"a"_s, u"b"_s} << QStringList{u"b"_s, u"a"_s, u"c"_s};
        QTest::newRow("date and time taken, as text")
            << u"date,time"_s
            << QStringList{u"a date=2026-12-08 time=09-00-00"_s, u"b date=2026-2-08 time=10-00-00"_s,
                           u"c date=2026-12-08 time=08-59-59"_s}
            << QStringList{u"b"_s, u"c"_s, u"a"_s} << QStringList{u"a"_s, u"c"_s, u"b"_s};
        QTest::newRow("numbers by value, not by text")
            << u"n"_s << QStringList{u"a n=10"_s, u"b n=9"_s, u"c n=-2.5"_s, u"d n=1.10"_s, u"e n=1.5"_s}
            << QStringList{u"c"_s, u"d"_s, u"e"_s, u"b"_s, u"a"_s}
            << QStringList{u"a"_s, u"b"_s, u"e"_s, u"d"_s, u"c"_s};
        QTest::newRow("signed and long numbers by value")
            << u"n"_s
            << QStringList{u"a n=1000000000000001"_s, u"b n=+7"_s, u"c n=-12"_s, u"d n=999999999999999"_s,
                           u"e n=0.5"_s, u"f n=-100000000000000000"_s}
            << QStringList{u"f"_s, u"c"_s, u"e"_s, u"b"_s, u"d"_s, u"a"_s}
            << QStringList{u"a"_s, u"d"_s, u"b"_s, u"e"_s, u"c"_s, u"f"_s};
        QTest::newRow("letters: natural, ignoring case")
            << u"album"_s << QStringList{u"a album=beta"_s, u"b album=Alpha"_s, u"c album=alpha2"_s}
            << QStringList{u"b"_s, u"c"_s, u"a"_s} << QStringList{u"a"_s, u"c"_s, u"b"_s};
        QTest::newRow("numbers among texts compare as text with them")
            << u"v"_s << QStringList{u"a v=10"_s, u"b v=9a"_s, u"c v=9"_s}
            << QStringList{u"c"_s, u"b"_s, u"a"_s} << QStringList{u"a"_s, u"b"_s, u"c"_s};
        QTest::newRow("an empty value among numbers and texts")
            << u"v"_s << QStringList{u"b v=3"_s, u"a v="_s, u"c v=2-1"_s}
            << QStringList{u"a"_s, u"c"_s, u"b"_s} << QStringList{u"b"_s, u"c"_s, u"a"_s};
        QTest::newRow("a number of over 100 digits among texts")
            << u"v"_s << QStringList{u"a v=%1"_s.arg(u"1"_s.repeated(101)), u"b v=2-1"_s}
            << QStringList{u"b"_s, u"a"_s} << QStringList{u"a"_s, u"b"_s};
        QTest::newRow("lacking the first field: last, also reversed")
            << u"date"_s << QStringList{u"z"_s, u"b date=2026-01-02"_s, u"a"_s, u"c date=2026-01-01"_s}
            << QStringList{u"c"_s, u"b"_s, u"a"_s, u"z"_s} << QStringList{u"b"_s, u"c"_s, u"z"_s, u"a"_s};
        QTest::newRow("lacking a later field: after the files that have it")
            << u"date,subsec"_s << QStringList{u"a date=1"_s, u"b date=1 subsec=20"_s, u"c date=1 subsec=3"_s}
            << QStringList{u"c"_s, u"b"_s, u"a"_s} << QStringList{u"a"_s, u"b"_s, u"c"_s};
        QTest::newRow("ties by name")
            << u"date"_s << QStringList{u"b2 date=x"_s, u"b10 date=x"_s, u"a date=y"_s}
            << QStringList{u"b2"_s, u"b10"_s, u"a"_s} << QStringList{u"a"_s, u"b10"_s, u"b2"_s};
        QTest::newRow("values equal but for leading zeros: the next field decides")
            << u"n,m"_s << QStringList{u"a n=5-1 m=1"_s, u"b n=05-1 m=2"_s} << QStringList{u"a"_s, u"b"_s}
            << QStringList{u"b"_s, u"a"_s};
        QTest::newRow("values equal but for leading zeros: then their text, before the name")
            << u"n,m"_s << QStringList{u"a n=5-1 m=1"_s, u"b n=05-1 m=1"_s} << QStringList{u"b"_s, u"a"_s}
            << QStringList{u"a"_s, u"b"_s};
        QTest::newRow("the same with letters") << u"n,m"_s << QStringList{u"a n=x5 m=1"_s, u"b n=x05 m=1"_s}
                                               << QStringList{u"b"_s, u"a"_s} << QStringList{u"a"_s, u"b"_s};
        QTest::newRow("a field nobody has: by name")
            << u"nothing"_s << QStringList{u"b"_s, u"a"_s} << QStringList{u"a"_s, u"b"_s}
            << QStringList{u"b"_s, u"a"_s};
    }
    void sorts()
    {
        QFETCH(QString, order);
        QFETCH(QStringList, files);
        QFETCH(QStringList, ascending);
        QFETCH(QStringList, descending);
        QCOMPARE(sortedNames(order, files, false), ascending);
        QCOMPARE(sortedNames(order, files, true), descending);
    }

    // Large lists make their name keys and sort on two threads; the order must be the one a single collator
    // gives.
    // ASCII names sort by plain keys, unless one name of either half has none.
    void sortsManyNamesAsOneCollatorDoes_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("stems");
        QTest::addColumn<int>("oddOneAt"); // where "Été" stands in for a name, or -1
        const QStringList mixed{u"Photo"_s, u"photo"_s, u"Été"_s, u"ete"_s, u"IMG_"_s, u"img-"_s, u"Ω"_s};
        const QStringList ascii{u"Photo"_s, u"photo"_s, u"ete"_s, u"IMG_"_s, u"img-"_s, u"a b"_s, u"A-b"_s};
        QTest::newRow("few") << 50 << mixed << -1;
        QTest::newRow("two halves, the first one shorter") << 4001 << mixed << -1;
        QTest::newRow("many") << 5001 << mixed << -1;
        QTest::newRow("few, ASCII") << 50 << ascii << -1;
        QTest::newRow("many, ASCII") << 5001 << ascii << -1;
        QTest::newRow("many, ASCII but one in the first half") << 5001 << ascii << 7;
        QTest::newRow("many, ASCII but one in the second half") << 5001 << ascii << 5000;
    }
    void sortsManyNamesAsOneCollatorDoes()
    {
        QFETCH(int, count);
        QFETCH(QStringList, stems);
        QFETCH(int, oddOneAt);
        QStringList names;
        for (int i = 0; i < count; ++i)
            names.append(u"%1%2.jpg"_s.arg(i == oddOneAt ? u"Été"_s : stems[i % stems.size()])
                             .arg((i * 7919) % count));
        const Fields none;
        QList<FileOrder::Item> items;
        for (const QString& name : names)
            items.append({name, u"/p/"_s + name, &none});
        const NaturalOrder natural;
        for (const bool reversed : {false, true}) {
            const std::vector<qsizetype> order = FileOrder(u"name"_s).sorted(items, reversed);
            QCOMPARE(qsizetype(order.size()), names.size());
            for (size_t i = 1; i < order.size(); ++i) {
                const int byName =
                    NaturalOrder::compare(natural.key(names[order[i - 1]]), natural.key(names[order[i]]));
                QVERIFY2(reversed ? byName > 0 : byName < 0,
                         qPrintable(names[order[i - 1]] + u" before "_s + names[order[i]]));
            }
        }
    }

    // Large lists read their fields and sort on two threads. Every neighbouring pair must keep its order
    // when sorted on its own, which takes neither path.
    void sortsManyFilesByFieldsAsPairsDo_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<int>("count");
        for (const int count : {50, 4001, 5001}) {
            const QString size = QString::number(count);
            QTest::newRow(qPrintable(u"dates and times, "_s + size)) << u"date,time"_s << count;
            QTest::newRow(qPrintable(u"numbers with ties, "_s + size)) << u"n"_s << count;
            QTest::newRow(qPrintable(u"texts needing a collator in the second half only, "_s + size))
                << u"album,n"_s << count;
            QTest::newRow(qPrintable(u"numbers in the first half, texts in the second, "_s + size))
                << u"version,n"_s << count;
        }
    }
    void sortsManyFilesByFieldsAsPairsDo()
    {
        QFETCH(QString, order);
        QFETCH(int, count);
        QList<File> files;
        for (int i = 0; i < count; ++i) {
            const int shot = (i * 7919) % count;
            File file{u"img%1.jpg"_s.arg(shot % 97), {}};
            if (shot % 11 != 0) { // the others lack every field: last
                file.fields.insert(u"date"_s,
                                   u"2026-%1-%2"_s.arg(1 + shot % 12).arg(1 + shot % 28, 2, 10, QChar(u'0')));
                file.fields.insert(u"time"_s,
                                   u"%1-00-%2"_s.arg(shot % 24, 2, 10, QChar(u'0')).arg(shot % 60));
                file.fields.insert(u"n"_s, QString::number(shot % 13));
                // Digits and dashes have plain keys; a letter needs the collator.
                file.fields.insert(u"album"_s, i < count / 2 ? u"%1-%2"_s.arg(shot % 7).arg(shot % 3)
                                                             : u"%1-Été %2"_s.arg(shot % 7).arg(shot % 5));
                // Numbers and dates compare as texts with each other, so neither half can encode alone.
                file.fields.insert(u"version"_s, i < count / 2 ? QString::number(shot % 17)
                                                               : u"%1-%2"_s.arg(shot % 17).arg(shot % 3));
            }
            files.append(file);
        }
        QList<FileOrder::Item> items;
        for (qsizetype i = 0; i < files.size(); ++i)
            items.append({files[i].name, u"/photos/%1/"_s.arg(i) + files[i].name, &files[i].fields});
        const FileOrder fileOrder(order);
        for (const bool reversed : {false, true}) {
            const std::vector<qsizetype> sorted = fileOrder.sorted(items, reversed);
            QCOMPARE(qsizetype(sorted.size()), items.size());
            for (size_t i = 1; i < sorted.size(); ++i) {
                const QList<FileOrder::Item> pair{items[sorted[i - 1]], items[sorted[i]]};
                QVERIFY2(fileOrder.sorted(pair, reversed) == (std::vector<qsizetype>{0, 1}),
                         qPrintable(pair[0].path + u" before "_s + pair[1].path));
            }
        }
    }
};

QTEST_GUILESS_MAIN(tst_FileOrder)
#include "tst_FileOrder.moc"
