#include "planning/FileLocations.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_FileLocations : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keepsEachLocationOnce_data()
    {
        QTest::addColumn<QStringList>("given");
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("distinct, in their order")
            << QStringList{u"/b/2"_s, u"/a/1"_s, u"/b/1"_s} << QStringList{u"/b/2"_s, u"/a/1"_s, u"/b/1"_s};
        QTest::newRow("the same twice: the first kept")
            << QStringList{u"/a/1"_s, u"/b/1"_s, u"/a/1"_s, u"/c"_s}
            << QStringList{u"/a/1"_s, u"/b/1"_s, u"/c"_s};
        QTest::newRow("written otherwise")
            << QStringList{u"/a//1"_s, u"/a/./1"_s, u"/b/../a/1"_s, u"/a/1/"_s} << QStringList{u"/a/1"_s};
        QTest::newRow("another case is another place")
            << QStringList{u"/a/X"_s, u"/a/x"_s} << QStringList{u"/a/X"_s, u"/a/x"_s};
        QTest::newRow("relative to the current folder")
            << QStringList{u"x"_s, QDir::currentPath() + u"/x"_s, u"./y"_s}
            << QStringList{QDir::currentPath() + u"/x"_s, QDir::currentPath() + u"/y"_s};
    }
    void keepsEachLocationOnce()
    {
        QFETCH(QStringList, given);
        QTEST(standardizedUniquePaths(given), "kept");
    }

    // Many duplicates among many paths: each is dropped where it comes again, none before.
    void keepsManyLocationsOnce()
    {
        QStringList given;
        QStringList kept;
        for (int i = 0; i < 3000; ++i) {
            given.append(u"/photos/%1.jpg"_s.arg(i));
            kept.append(given.last());
            if (i % 3 == 0)
                given.append(u"/photos/%1.jpg"_s.arg(i / 2));
        }
        QCOMPARE(standardizedUniquePaths(given), kept);
    }
};

QTEST_GUILESS_MAIN(tst_FileLocations)
#include "tst_FileLocations.moc"
