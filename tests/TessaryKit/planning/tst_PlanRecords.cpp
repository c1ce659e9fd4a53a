#include "planning/FileRecord.h"
#include "planning/PlanOutput.h"
#include "planning/RenameRules.h"
#include "renaming/RenameOperation.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(RenameRules)
Q_DECLARE_METATYPE(PlanOutput)

class tst_PlanRecords : public QObject {
    Q_OBJECT

    static PlanOutput baseOutput()
    {
        return {{{u"name"_s, u"café"_s}}, u"café.txt"_s, std::nullopt, {u"a"_s, u"b"_s}, std::nullopt};
    }

private Q_SLOTS:
    void rulesEquality_data()
    {
        QTest::addColumn<RenameRules>("other");
        QTest::addColumn<bool>("equal");

        QTest::newRow("same") << RenameRules{u"(?P<n>.*)"_s, u"x"_s, u"{n}é"_s, false, u"name"_s, false}
                              << true;
        QTest::newRow("decomposed pattern")
            << RenameRules{u"(?P<n>.*)"_s, u"x"_s, u"{n}e\u0301"_s, false, u"name"_s, false} << true;
        QTest::newRow("only reversed differs")
            << RenameRules{u"(?P<n>.*)"_s, u"x"_s, u"{n}é"_s, true, u"name"_s, false} << false;
        QTest::newRow("script differs")
            << RenameRules{u"(?P<n>.*)"_s, u"y"_s, u"{n}é"_s, false, u"name"_s, false} << false;
        QTest::newRow("regex differs")
            << RenameRules{u"(?P<m>.*)"_s, u"x"_s, u"{n}é"_s, false, u"name"_s, false} << false;
        QTest::newRow("case differs")
            << RenameRules{u"(?P<n>.*)"_s, u"x"_s, u"{n}É"_s, false, u"name"_s, false} << false;
    }
    void rulesEquality()
    {
        QFETCH(RenameRules, other);
        QFETCH(bool, equal);
        const RenameRules rules{u"(?P<n>.*)"_s, u"x"_s, u"{n}é"_s, false, u"name"_s, false};
        QCOMPARE(rules == other, equal);
    }

    void outputEquality_data()
    {
        QTest::addColumn<PlanOutput>("other");
        QTest::addColumn<bool>("equal");

        // The base output below with one change.
        const auto changed = [](auto change) {
            PlanOutput output = baseOutput();
            change(output);
            return output;
        };
        QTest::newRow("same") << baseOutput() << true;
        QTest::newRow("decomposed value, name and result") << changed([](PlanOutput& output) {
            output.fields = {{u"name"_s, u"cafe\u0301"_s}};
            output.resultName = u"cafe\u0301.txt"_s;
        }) << true;
        QTest::newRow("another field name") << changed([](PlanOutput& output) {
            output.fields = {{u"nam\u00e9"_s, u"café"_s}};
        }) << false;
        QTest::newRow("logs in another order") << changed([](PlanOutput& output) {
            output.logs = {u"b"_s, u"a"_s};
        }) << false;
        QTest::newRow("an extra field")
            << changed([](PlanOutput& output) { output.fields.insert(u"row"_s, u"1"_s); }) << false;
        QTest::newRow("warning present on one side")
            << changed([](PlanOutput& output) { output.warning = u"w"_s; }) << false;
        QTest::newRow("error present on one side")
            << changed([](PlanOutput& output) { output.error = u"e"_s; }) << false;
    }
    void outputEquality()
    {
        QFETCH(PlanOutput, other);
        QFETCH(bool, equal);
        QCOMPARE(baseOutput() == other, equal);
        QCOMPARE(other == baseOutput(), equal);
    }

    // Field names are compared as canonical text too: "é" typed and "e" with a combining accent are one name.
    void fieldNamesCompareCanonically_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("equal");
        QTest::newRow("decomposed") << u"ne\u0301"_s << true;
        QTest::newRow("composed") << u"n\u00e9"_s << true;
        QTest::newRow("without the accent") << u"ne"_s << false;
        QTest::newRow("accent on another letter") << u"n\u0301e"_s << false;
    }
    void fieldNamesCompareCanonically()
    {
        QFETCH(QString, name);
        QFETCH(bool, equal);
        const PlanOutput composed{{{u"n\u00e9"_s, u"x"_s}}, u"a"_s, std::nullopt, {}, std::nullopt};
        const PlanOutput other{{{name, u"x"_s}}, u"a"_s, std::nullopt, {}, std::nullopt};
        QCOMPARE(composed == other, equal);
    }

    void operationEquality()
    {
        const RenameOperation operation{u"café"_s, u"/a/é"_s, u"/a/b"_s};
        QVERIFY(operation == (RenameOperation{u"cafe\u0301"_s, u"/a/é"_s, u"/a/b"_s}));
        QVERIFY(
            !(operation == RenameOperation{u"café"_s, u"/a/e\u0301"_s, u"/a/b"_s})); // another name on disk
        QVERIFY(!(operation == RenameOperation{u"café"_s, u"/a/é"_s, u"/a/c"_s}));
    }

    void errorsCompareCanonically()
    {
        const PlanOutput composed{{}, u"a"_s, u"“é” already exists"_s, {}, std::nullopt};
        const PlanOutput decomposed{{}, u"a"_s, u"“e\u0301” already exists"_s, {}, std::nullopt};
        QVERIFY(composed == decomposed);
        QVERIFY(!(composed == PlanOutput{{}, u"a"_s, u"other"_s, {}, std::nullopt}));
    }

    // A planned name counts as new unless it is the current one up to composition; the new place is in
    // the file's own folder.
    void aRecordTellsItsNewNameAndPlace_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("resultName");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QString>("location");
        QTest::newRow("the same name") << u"/a/x.txt"_s << u"x.txt"_s << false << u"/a/x.txt"_s;
        QTest::newRow("a new name") << u"/a/x.txt"_s << u"y.txt"_s << true << u"/a/y.txt"_s;
        QTest::newRow("another case") << u"/a/X"_s << u"x"_s << true << u"/a/x"_s;
        QTest::newRow("Latin-1 letters apart") << u"/a/ü"_s << u"u"_s << true << u"/a/u"_s;
        QTest::newRow("composed, then decomposed")
            << u"/a/café.txt"_s << u"cafe\u0301.txt"_s << false << u"/a/cafe\u0301.txt"_s;
        QTest::newRow("a combining mark more") << u"/a/e"_s << u"e\u0301"_s << true << u"/a/e\u0301"_s;
        QTest::newRow("Hangul syllable and its letters")
            << u"/a/\uD55C"_s << u"\u1112\u1161\u11AB"_s << false << u"/a/\u1112\u1161\u11AB"_s;
        QTest::newRow("in the root") << u"/x"_s << u"y"_s << true << u"/y"_s;
    }
    void aRecordTellsItsNewNameAndPlace()
    {
        QFETCH(QString, path);
        QFETCH(QString, resultName);
        FileRecord record(path, path, Fields());
        QCOMPARE(record.nameChanged(), false);
        record.resultName = resultName;
        QTEST(record.nameChanged(), "changed");
        QTEST(record.locationNamed(resultName), "location");
        record.renamed = true;
        QTEST(record.currentLocation(), "location");
    }
};

QTEST_APPLESS_MAIN(tst_PlanRecords)
#include "tst_PlanRecords.moc"
