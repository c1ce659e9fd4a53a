#include "KitTestSupport.h"
#include "common/DurationText.h"

#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

class tst_DurationText : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(useEnglishCatalogue()); }

    void readsAsPeopleSayIt_data()
    {
        QTest::addColumn<qint64>("milliseconds");
        QTest::addColumn<QString>("text");

        QTest::newRow("default limit") << qint64(5000) << u"5 seconds"_s;
        QTest::newRow("one second") << qint64(1000) << u"1 second"_s;
        QTest::newRow("fraction dropped") << qint64(2999) << u"2 seconds"_s;
        QTest::newRow("under a second") << qint64(300) << u"0 seconds"_s;
        QTest::newRow("whole minute, no zero seconds") << qint64(60'000) << u"1 minute"_s;
        QTest::newRow("minutes and seconds") << qint64(90'000) << u"1 minute and 30 seconds"_s;
        QTest::newRow("hours, no zero minutes") << qint64(7'205'000) << u"2 hours and 5 seconds"_s;
        QTest::newRow("all three") << qint64(3'661'000) << u"1 hour, 1 minute, and 1 second"_s;
    }
    void readsAsPeopleSayIt()
    {
        QFETCH(qint64, milliseconds);
        QFETCH(QString, text);
        QCOMPARE(durationText(std::chrono::milliseconds(milliseconds)), text);
    }

    // Last: it leaves German installed. Parts join in the language of the texts, not the process's
    // locale, which is C under LANG=C.UTF-8 whatever LANGUAGE says.
    void partsJoinInTheLanguageOfTheTexts()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QVERIFY(KitCatalogue::install());
        QLocale::setDefault(QLocale::c());
        QCOMPARE(durationText(std::chrono::seconds(61)), u"1 Minute und 1 Sekunde"_s);
    }
};

QTEST_GUILESS_MAIN(tst_DurationText)
#include "tst_DurationText.moc"
