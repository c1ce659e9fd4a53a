#include "KitTestSupport.h"
#include "metadata/MetadataExtractor.h"
#include "planning/FieldsInUse.h"
#include "planning/RenamePlanner.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <future>

using namespace Qt::StringLiterals;
using FieldCatalogue::Group;
using FieldCatalogue::Groups;

Q_DECLARE_METATYPE(FieldCatalogue::Groups)

namespace {

// The new name, the error and the warning of every file, by path.
QHash<QString, QString> outcomes(const QStringList& paths, const QList<Fields>& fields,
                                 const RenameRules& rules)
{
    QList<PlanInput> inputs;
    for (qsizetype i = 0; i < paths.size(); ++i)
        inputs.append({paths[i], paths[i], fields[i]});
    const JSEngineClient engine{QStringLiteral(TESSARY_JSENGINE_PATH)};
    const auto plan = std::async(std::launch::async, [&] {
                          return RenamePlanner::plan(inputs, rules, engine, JSEngineClient::defaultTimeout);
                      }).get();
    QHash<QString, QString> byPath;
    for (const RenamePlanner::PlannedFile& file : *plan)
        byPath.insert(inputs[file.input].path, file.output.resultName + u" | "_s +
                                                   file.output.error.value_or(QString()) + u" | "_s +
                                                   file.output.warning.value_or(QString()));
    return byPath;
}

} // namespace

class tst_FieldsInUse : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    QStringList files; // a copy of every metadata fixture, one of each kind at least

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(useEnglishCatalogue());
        QVERIFY(folder.isValid());
        const QDir fixtures(QStringLiteral(TESSARY_FIXTURES));
        for (const QString& name : fixtures.entryList(QDir::Files)) {
            QVERIFY(QFile::copy(fixtures.filePath(name), folder.filePath(name)));
            files.append(folder.filePath(name));
        }
        QVERIFY(files.size() > 20);
    }

    void groupsOfTheRules_data()
    {
        QTest::addColumn<RenameRules>("rules");
        QTest::addColumn<Groups>("groups");
        const auto rules = [](const QString& pattern, const QString& order = u"name"_s,
                              const QString& script = QString()) {
            return RenameRules{u"(?P<n>.*)"_s, script, pattern, false, order, false};
        };
        QTest::newRow("regex groups and the row read nothing")
            << rules(u"{n}-{row}-{filename}"_s) << Groups();
        QTest::newRow("file dates") << rules(u"{date}_{modtime}"_s) << Groups(Group::File);
        QTest::newRow("a format after the name") << rules(u"{image.date:upper}"_s) << Groups(Group::Image);
        QTest::newRow("several readers") << rules(u"{audio.artist} {pdf.title} {doc.pages}"_s)
                                         << (Group::Audio | Group::Pdf | Group::Document);
        QTest::newRow("unknown placeholders read nothing") << rules(u"{imgae.date} {"_s) << Groups();
        QTest::newRow("the order's fields")
            << rules(u"{n}"_s, u"video.date,video.time"_s) << Groups(Group::Video);
        QTest::newRow("a script reads everything")
            << rules(u"{n}"_s, u"name"_s, u"1"_s) << FieldCatalogue::everyGroup;
    }
    void groupsOfTheRules()
    {
        QFETCH(RenameRules, rules);
        QTEST(groupsUsedBy(rules), "groups");
    }

    // Reading only what the rules use changes no name, error or warning.
    void theSameOutcomeWhicheverGroupsAreRead_data()
    {
        QTest::addColumn<RenameRules>("rules");
        const QStringList patterns{u"{filename}-{row}"_s,
                                   u"{image.make:title}_{image.date}_{image.time}"_s,
                                   u"{video.date} {video.resolution}"_s,
                                   u"{audio.artist} - {audio.title}"_s,
                                   u"{pdf.title:upper} ({pdf.page_count})"_s,
                                   u"{doc.title} {doc.authors}"_s,
                                   u"{date}_{time}_{filename}"_s};
        for (const QString& pattern : patterns)
            QTest::newRow(qPrintable(pattern))
                << RenameRules{QString(), QString(), pattern, false, u"name"_s, true};
        QTest::newRow("ordered by date taken") << RenameRules{
            QString(), QString(), u"{row}"_s, false, u"image.date,image.time,image.subsec"_s, true};
        QTest::newRow("ordered by modification, reversed")
            << RenameRules{QString(), QString(), u"{row}-{filename}"_s, true, u"moddate,modtime"_s, true};
    }
    void theSameOutcomeWhicheverGroupsAreRead()
    {
        QFETCH(RenameRules, rules);
        const Groups used = groupsUsedBy(rules);
        QVERIFY(used != FieldCatalogue::everyGroup);
        const QList<Fields> everything = MetadataExtractor::fields(files);
        const QList<Fields> needed = MetadataExtractor::fields(files, {}, used);
        for (qsizetype i = 0; i < files.size(); ++i)
            QVERIFY(everything[i].size() >= needed[i].size());
        QCOMPARE(outcomes(files, needed, rules), outcomes(files, everything, rules));
    }
};

QTEST_GUILESS_MAIN(tst_FieldsInUse)
#include "tst_FieldsInUse.moc"
