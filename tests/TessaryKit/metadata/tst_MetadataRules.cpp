#include "metadata/DateFields.h"
#include "metadata/DocumentValue.h"
#include "metadata/Iso6709.h"
#include "metadata/MetadataExtractor.h"
#include "metadata/MetadataItems.h"
#include "metadata/NumberText.h"
#include "metadata/VideoResolution.h"

#include <QTest>
#include <cmath>
#include <cstdlib>
#include <ctime>

using namespace Qt::StringLiterals;
using namespace MetadataItems;

namespace {

MetadataItem text(const QString& value, const QString& identifier = u"x"_s)
{
    return {identifier, std::nullopt, value};
}

} // namespace

Q_DECLARE_METATYPE(QList<MetadataItem>)
Q_DECLARE_METATYPE(DocumentValue)

class tst_MetadataRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("TZ", "Europe/Berlin"); // local time is part of every date rule
        tzset();
    }

    void width_data()
    {
        QTest::addColumn<int>("processors");
        QTest::addColumn<int>("width");
        for (const auto& [processors, width] : {std::pair{1, 2},
                                                {2, 2},
                                                {3, 2},
                                                {4, 2},
                                                {5, 2},
                                                {6, 3},
                                                {7, 3},
                                                {8, 4},
                                                {9, 4},
                                                {15, 7},
                                                {16, 8},
                                                {64, 8}})
            QTest::addRow("%d cores", processors) << processors << width;
    }
    void width()
    {
        QFETCH(int, processors);
        QTEST(MetadataExtractor::width(processors), "width");
    }

    void resolutionClasses_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<QString>("label");
        QTest::newRow("8K") << 7680.0 << 4320.0 << u"8K"_s;
        QTest::newRow("4K") << 3840.0 << 2160.0 << u"4K"_s;
        QTest::newRow("1080p") << 1920.0 << 1080.0 << u"1080p"_s;
        QTest::newRow("portrait 1080p") << 1080.0 << 1920.0 << u"1080p"_s;
        QTest::newRow("720p") << 1280.0 << 720.0 << u"720p"_s;
        QTest::newRow("just under 720p") << 1280.0 << 719.0 << u"480p"_s;
        QTest::newRow("480p") << 720.0 << 480.0 << u"480p"_s;
        QTest::newRow("VGA is SD") << 640.0 << 480.0 << u"SD"_s;
    }
    void resolutionClasses()
    {
        QFETCH(double, width);
        QFETCH(double, height);
        QTEST(resolutionClass(width * height), "label");
    }

    void fixedTextRoundsAsPrintf_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("text");
        QTest::newRow("a half rounds to even") << 12.5 << 0 << u"12"_s;
        QTest::newRow("and up from odd") << 13.5 << 0 << u"14"_s;
        QTest::newRow("by the binary value: 0.125 is exact") << 0.125 << 2 << u"0.12"_s;
        QTest::newRow("by the binary value: 2.675 lies below") << 2.675 << 2 << u"2.67"_s;
        QTest::newRow("1/800 s in double precision") << 1.0 / 800 << 4 << u"0.0013"_s;
        QTest::newRow("a negative that rounds to zero keeps its sign") << -0.04 << 1 << u"-0.0"_s;
        QTest::newRow("negative zero itself") << -0.0 << 1 << u"-0.0"_s;
        QTest::newRow("six decimals") << -33.8568 << 6 << u"-33.856800"_s;
        QTest::newRow("large") << 1e20 << 1 << u"100000000000000000000.0"_s;
    }
    void fixedTextRoundsAsPrintf()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QTEST(fixedText(value, decimals), "text");
    }

    void dateParts_data()
    {
        QTest::addColumn<QDateTime>("instant");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::newRow("fraction dropped")
            << QDateTime(QDate(2024, 3, 7), QTime(9, 5, 0, 800)) << u"2024-03-07"_s << u"09-05-00"_s;
        QTest::newRow("UTC shown in local time")
            << QDateTime(QDate(2024, 1, 31), QTime(22, 59, 59), Qt::UTC) << u"2024-01-31"_s << u"23-59-59"_s;
        QTest::newRow("across midnight")
            << QDateTime(QDate(2023, 12, 31), QTime(23, 30), Qt::UTC) << u"2024-01-01"_s << u"00-30-00"_s;
        QTest::newRow("summer time") << QDateTime(QDate(2024, 7, 1), QTime(12, 0), Qt::UTC) << u"2024-07-01"_s
                                     << u"14-00-00"_s;
        QTest::newRow("early year") << QDateTime(QDate(812, 1, 2), QTime(3, 4, 5)) << u"0812-01-02"_s
                                    << u"03-04-05"_s;
    }
    void dateParts()
    {
        QFETCH(QDateTime, instant);
        const auto [date, time] = formatDateParts(instant);
        QTEST(date, "date");
        QTEST(time, "time");
        Fields fields;
        addDateFields(instant, u"pdf.mod"_s, fields);
        QCOMPARE(fields, (Fields{{u"pdf.moddate"_s, date}, {u"pdf.modtime"_s, time}}));
    }

    void firstNumber_data()
    {
        QTest::addColumn<QList<MetadataItem>>("items");
        QTest::addColumn<qint64>("expected"); // 0: no value

        QTest::newRow("number") << QList{text(u"4"_s)} << qint64(4);
        QTest::newRow("text with a total") << QList{text(u"3/12"_s)} << qint64(3);
        QTest::newRow("leading blank and zero") << QList{text(u" 07"_s)} << qint64(7);
        QTest::newRow("zero text is no number") << QList{text(u"0/12"_s)} << qint64(0);
        QTest::newRow("digits later in the text do not count") << QList{text(u"track 3"_s)} << qint64(0);
        QTest::newRow("negative") << QList{text(u"-3"_s)} << qint64(0);
        QTest::newRow("next item") << QList{text(u"x"_s), text(u"9"_s)} << qint64(9);
    }
    void firstNumber()
    {
        QFETCH(QList<MetadataItem>, items);
        QFETCH(qint64, expected);
        QCOMPARE(firstNumberValue(items), expected ? std::optional(expected) : std::nullopt);
    }

    void firstTotal_data()
    {
        QTest::addColumn<QList<MetadataItem>>("items");
        QTest::addColumn<qint64>("expected"); // 0: no value

        QTest::newRow("number of total") << QList{text(u"3/12"_s)} << qint64(12);
        QTest::newRow("blanks around the slash") << QList{text(u" 3 / 12"_s)} << qint64(12);
        QTest::newRow("total alone") << QList{text(u"/7"_s)} << qint64(7);
        QTest::newRow("no total") << QList{text(u"3"_s)} << qint64(0);
        QTest::newRow("zero total") << QList{text(u"3/0"_s), text(u"1/2"_s)} << qint64(2);
    }
    void firstTotal()
    {
        QFETCH(QList<MetadataItem>, items);
        QFETCH(qint64, expected);
        QCOMPARE(firstTotalValue(items), expected ? std::optional(expected) : std::nullopt);
    }

    void iso6709_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("latitude"); // NaN: no position
        QTest::addColumn<double>("longitude");
        const double none = std::nan("");
        QTest::newRow("degrees with altitude") << u"+48.8577+002.2950+035.000/"_s << 48.8577 << 2.295;
        QTest::newRow("south and west") << u"-33.8568-151.2153/"_s << -33.8568 << -151.2153;
        QTest::newRow("whole degrees") << u"+48+002/"_s << 48.0 << 2.0;
        QTest::newRow("degrees and minutes") << u"+4851.462+00217.700/"_s << 48.8577 << 2.295;
        QTest::newRow("degrees, minutes and seconds") << u"+485127.72+0021742.0/"_s << 48.8577 << 2.295;
        QTest::newRow("latitude past the pole") << u"+91.0+002.0/"_s << none << none;
        QTest::newRow("longitude digits of no form") << u"+48.0+0021.0/"_s << none << none;
        QTest::newRow("no longitude") << u"+48.8577/"_s << none << none;
        QTest::newRow("not a point") << u"Paris"_s << none << none;
    }
    void iso6709()
    {
        QFETCH(QString, text);
        QFETCH(double, latitude);
        QFETCH(double, longitude);
        const auto position = iso6709Position(text);
        QCOMPARE(position.has_value(), !std::isnan(latitude));
        if (position) {
            QVERIFY2(std::abs(position->latitude - latitude) < 1e-6,
                     qPrintable(QString::number(position->latitude)));
            QVERIFY2(std::abs(position->longitude - longitude) < 1e-6,
                     qPrintable(QString::number(position->longitude)));
        }
    }

    void firstYear_data()
    {
        QTest::addColumn<QList<MetadataItem>>("items");
        QTest::addColumn<QString>("expected"); // empty: no value

        QTest::newRow("text date") << QList{text(u"2019-05-03"_s)} << u"2019"_s;
        QTest::newRow("year only") << QList{text(u"1999"_s)} << u"1999"_s;
        QTest::newRow("not at the start") << QList{text(u"c. 2019"_s)} << QString();
        QTest::newRow("next item") << QList{text(u"unknown"_s), text(u"2001"_s)} << u"2001"_s;
    }
    void firstYear()
    {
        QFETCH(QList<MetadataItem>, items);
        QFETCH(QString, expected);
        QCOMPARE(firstYearValue(items), expected.isEmpty() ? std::nullopt : std::optional(expected));
    }

    void firstStringSkipsEmptyTexts()
    {
        QCOMPARE(firstStringValue({text(QString()), text(u"Second"_s)}), std::optional(u"Second"_s));
        QCOMPARE(firstStringValue({text(QString())}), std::nullopt);
    }

    void matchingKeepsOrderByIdentifierOrCommonKey()
    {
        const QList<MetadataItem> items{
            {u"id3/TIT2"_s, u"title"_s, u"a"_s},
            {u"genre"_s, {}, u"b"_s},
            {u"other"_s, u"title"_s, u"c"_s},
        };
        const auto byKey = matchingItems(items, {}, u"title"_s);
        QCOMPARE(byKey.size(), 2);
        QCOMPARE(byKey[1].value, u"c"_s);
        const auto byBoth = matchingItems(items, {u"genre"_s}, u"title"_s);
        QCOMPARE(byBoth.size(), 3);
        QCOMPARE(matchingItems(items, {u"genre"_s}, std::nullopt).size(), 1);
    }

    void documentValues_data()
    {
        QTest::addColumn<DocumentValue>("value");
        QTest::addColumn<Fields>("fields");

        QTest::newRow("text as read")
            << DocumentValue(u" Title "_s) << Fields{{u"doc.title"_s, u" Title "_s}};
        QTest::newRow("list joined") << DocumentValue(QStringList{u"Ann"_s, u"Bob"_s})
                                     << Fields{{u"doc.title"_s, u"Ann, Bob"_s}};
        QTest::newRow("date as two fields")
            << DocumentValue(QDateTime(QDate(2024, 1, 31), QTime(22, 59, 59), Qt::UTC))
            << Fields{{u"doc.title_date"_s, u"2024-01-31"_s}, {u"doc.title_time"_s, u"23-59-59"_s}};
        QTest::newRow("whole number") << DocumentValue(qint64(3)) << Fields{{u"doc.title"_s, u"3"_s}};
        QTest::newRow("real number") << DocumentValue(2.5) << Fields{{u"doc.title"_s, u"2.5"_s}};
        QTest::newRow("other value") << DocumentValue(OtherDocumentValue{u"<blob>"_s})
                                     << Fields{{u"doc.title"_s, u"<blob>"_s}};
    }
    void documentValues()
    {
        QFETCH(DocumentValue, value);
        Fields fields;
        addDocumentValue(u"doc.title"_s, value, fields);
        QTEST(fields, "fields");
    }
};

QTEST_APPLESS_MAIN(tst_MetadataRules)
#include "tst_MetadataRules.moc"
