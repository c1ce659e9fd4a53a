#include "KitTestSupport.h"
#include "TestFolder.h"
#include "planning/RenamePlanner.h"
#include "planning/RuleRegex.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

const JSEngineClient realEngine{QStringLiteral(TESSARY_JSENGINE_PATH)};

JSEngineClient fakeEngine(const QString& name)
{
    return JSEngineClient(QStringLiteral(TESSARY_FAKE_HELPERS) + u'/' + name);
}

const QString noWholeMatch = u"The regular expression doesn't match the whole file name"_s;

QString alreadyExists(const QString& name)
{
    return u"“%1” already exists in this folder"_s.arg(name);
}

QString alsoNamed(const QString& name)
{
    return u"Another file in the list would also be named “%1”"_s.arg(name);
}

// A plan's results by file id, and the ids in the plan's order.
struct Planned {
    QStringList ids;
    QHash<QString, PlanOutput> outputs;

    PlanOutput value(const QString& id) const { return outputs.value(id); }
    qsizetype size() const { return ids.size(); }
};

std::optional<Planned> planOnWorker(const QList<PlanInput>& inputs, const RenameRules& rules,
                                    const JSEngineClient& engine = realEngine, std::stop_token stop = {})
{
    const auto plan =
        std::async(std::launch::async, [&] {
            return RenamePlanner::plan(inputs, rules, engine, JSEngineClient::defaultTimeout, stop);
        }).get();
    if (!plan)
        return std::nullopt;
    Planned planned;
    for (const RenamePlanner::PlannedFile& file : *plan) {
        planned.ids.append(inputs[file.input].id);
        planned.outputs.insert(planned.ids.last(), file.output);
    }
    return planned;
}

// Whether each result sits at the place its row names.
bool rowsAreListPlaces(const Planned& plan)
{
    for (qsizetype place = 0; place < plan.size(); ++place)
        if (plan.value(plan.ids[place]).fields.value(u"row"_s) != QString::number(place + 1))
            return false;
    return true;
}

} // namespace

class tst_RenamePlanner : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> folder;
    QString marker;

    QString path(const QString& name) const { return folder->filePath(name); }

    void create(const QStringList& names) const { TestFolder::create(folder->path(), names); }

    // Inputs for files created in the test folder, each identified by its name and with one base field.
    QList<PlanInput> inputs(const QStringList& names) const
    {
        create(names);
        QList<PlanInput> list;
        for (const QString& name : names)
            list.append(PlanInput{name, path(name), Fields{{u"base"_s, u"b"_s}}});
        return list;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(useEnglishCatalogue()); }

    void init()
    {
        folder.emplace();
        QVERIFY(folder->isValid());
        marker = folder->filePath(u"helper-started"_s);
        qputenv("TESSARY_TEST_MARKER", QFile::encodeName(marker));
    }

    void rowsFollowNaturalOrder_data()
    {
        QTest::addColumn<bool>("reversed");
        QTest::addColumn<QStringList>("results"); // for a.txt, b.txt, c

        QTest::newRow("ascending") << false << QStringList{u"1.txt"_s, u"2.txt"_s, u"3"_s};
        QTest::newRow("descending") << true << QStringList{u"3.txt"_s, u"2.txt"_s, u"1"_s};
    }
    void rowsFollowNaturalOrder()
    {
        QFETCH(bool, reversed);
        QFETCH(QStringList, results);
        create({u"b.txt"_s, u"a.txt"_s, u"c"_s});
        const auto plan = planOnWorker(inputs({u"b.txt"_s, u"a.txt"_s, u"c"_s}),
                                       {QString(), QString(), u"{row}"_s, reversed, u"name"_s, false});
        QVERIFY(plan);
        QCOMPARE(plan->size(), 3);
        QCOMPARE((QStringList{plan->value(u"a.txt"_s).resultName, plan->value(u"b.txt"_s).resultName,
                              plan->value(u"c"_s).resultName}),
                 results);
        for (const PlanOutput& output : plan->outputs) {
            QCOMPARE(output.error, std::nullopt);
            QCOMPARE(output.fields.value(u"base"_s), u"b"_s);
        }
    }

    // Natural order must hold in the C locale too, where Qt's collator would compare code points.
    void naturalOrderInEveryLocale_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("C, as with LANG unset") << QLocale::c();
        QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany);
    }
    void naturalOrderInEveryLocale()
    {
        QFETCH(QLocale, locale);
        const QStringList expected{u"a"_s,     u"B"_s,     u"e"_s,     u"é"_s,      u"f"_s,
                                   u"file1"_s, u"file2"_s, u"File3"_s, u"file10"_s, u"z"_s};
        QStringList shuffled = expected;
        std::reverse(shuffled.begin(), shuffled.end());
        std::swap(shuffled[2], shuffled[7]);

        QLocale::setDefault(locale);
        const auto plan =
            planOnWorker(inputs(shuffled), {QString(), QString(), u"{row}"_s, false, u"name"_s, false});
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY(plan);
        QCOMPARE(plan->ids, expected);
        QVERIFY(rowsAreListPlaces(*plan));
    }

    void namesEqualButForCaseKeepATotalOrder()
    {
        const auto plan = planOnWorker(inputs({u"photo"_s, u"Photo"_s, u"PHOTO"_s}),
                                       {QString(), QString(), u"{row}"_s, false, u"name"_s, false});
        QVERIFY(plan);
        QCOMPARE(plan->ids, (QStringList{u"PHOTO"_s, u"Photo"_s, u"photo"_s}));
        QVERIFY(rowsAreListPlaces(*plan));
    }

    void sameNameInTwoFoldersByPathAlsoReversed_data()
    {
        QTest::addColumn<bool>("reversed");
        QTest::newRow("ascending") << false;
        QTest::newRow("descending") << true;
    }
    void sameNameInTwoFoldersByPathAlsoReversed()
    {
        QFETCH(bool, reversed);
        QVERIFY(QDir(folder->path()).mkpath(u"x"_s) && QDir(folder->path()).mkpath(u"y"_s));
        const QList<PlanInput> list{{u"second"_s, path(u"y/a.txt"_s), {}},
                                    {u"first"_s, path(u"x/a.txt"_s), {}},
                                    {u"other"_s, path(u"x/b.txt"_s), {}}};
        const auto plan = planOnWorker(list, {QString(), QString(), u"{row}"_s, reversed, u"name"_s, false});
        QVERIFY(plan);
        const int first = plan->value(u"first"_s).fields.value(u"row"_s).toInt();
        QCOMPARE(plan->value(u"second"_s).fields.value(u"row"_s).toInt(), first + 1);
        QCOMPARE(plan->value(u"other"_s).fields.value(u"row"_s), reversed ? u"1"_s : u"3"_s);
        QVERIFY(rowsAreListPlaces(*plan));
    }

    // Each row: a regex, a file name, and the fields it must add, or the error it must give.
    void regexStage_data()
    {
        QTest::addColumn<QString>("regex");
        QTest::addColumn<QString>("name");
        QTest::addColumn<Fields>("groups");
        QTest::addColumn<QString>("error");

        QTest::newRow("two groups") << u"(?P<name>.*)-(?P<n>\\d+)"_s << u"photo-12.jpg"_s
                                    << Fields{{u"name"_s, u"photo"_s}, {u"n"_s, u"12"_s}} << QString();
        QTest::newRow("no whole match")
            << u"(?P<name>.*)-(?P<n>\\d+)"_s << u"photo.jpg"_s << Fields{} << noWholeMatch;
        QTest::newRow("a part is no match") << u"abc"_s << u"xabcx.txt"_s << Fields{} << noWholeMatch;
        QTest::newRow("alternation must span the name") << u"a|ab"_s << u"ab.txt"_s << Fields{} << QString();
        QTest::newRow("extension is not matched")
            << u"(?P<all>.+)"_s << u"archive.tar.gz"_s << Fields{{u"all"_s, u"archive.tar"_s}} << QString();
        QTest::newRow("group that took no part is empty")
            << u"(?P<a>x)?y"_s << u"y.txt"_s << Fields{{u"a"_s, QString()}} << QString();
        QTest::newRow("three notations")
            << u"(?<a>.)(?'b'.)(?P<c>.)"_s << u"xyz"_s
            << Fields{{u"a"_s, u"x"_s}, {u"b"_s, u"y"_s}, {u"c"_s, u"z"_s}} << QString();
        QTest::newRow("unnamed groups add nothing")
            << u"(.)(?P<b>.)"_s << u"xy"_s << Fields{{u"b"_s, u"y"_s}} << QString();
        QTest::newRow("group named row replaces the row")
            << u"(?P<row>.+)"_s << u"7.txt"_s << Fields{{u"row"_s, u"7"_s}} << QString();
        QTest::newRow("group named like a base field replaces it")
            << u"(?P<base>.+)"_s << u"q"_s << Fields{{u"base"_s, u"q"_s}} << QString();
        QTest::newRow("case-sensitive unless the regex says")
            << u"photo"_s << u"PHOTO.jpg"_s << Fields{} << noWholeMatch;
        QTest::newRow("inline case-insensitive") << u"(?i)photo"_s << u"PHOTO.jpg"_s << Fields{} << QString();
        QTest::newRow("Unicode letters") << u"(?P<w>\\w+) (?P<e>\\X)"_s << u"Café e\u0301.txt"_s
                                         << Fields{{u"w"_s, u"Café"_s}, {u"e"_s, u"e\u0301"_s}} << QString();
        QTest::newRow("catastrophic backtracking gives up")
            << u"(a+)+b"_s << QString(40, u'a') << Fields{} << noWholeMatch;
        const QString hasAnError = u"^The regular expression has an error$"_s;
        QTest::newRow("does not compile") << u"("_s << u"a.txt"_s << Fields{} << hasAnError;
        QTest::newRow("duplicate group names") << u"(?P<a>x)(?P<a>y)"_s << u"xy"_s << Fields{} << hasAnError;
        QTest::newRow("empty group name") << u"(?P<>x)"_s << u"x"_s << Fields{} << hasAnError;
    }
    // The parser's words and the place it stopped, for the editor to show once.
    void regexProblemsSayWhere_data()
    {
        QTest::addColumn<QString>("regex");
        QTest::addColumn<qsizetype>("offset");
        QTest::newRow("unclosed group") << u"ab("_s << qsizetype(3);
        QTest::newRow("nothing to repeat") << u"a*+*"_s << qsizetype(3);
        QTest::newRow("after a non-ASCII letter") << u"é[a"_s << qsizetype(3);
        QTest::newRow("fine") << u"(?<n>\\d+)"_s << qsizetype(-1);
    }
    void regexProblemsSayWhere()
    {
        QFETCH(QString, regex);
        QFETCH(qsizetype, offset);
        const std::optional<RuleRegex::Problem> problem = RuleRegex::problemOf(regex);
        QCOMPARE(problem.has_value(), offset >= 0);
        if (problem) {
            QCOMPARE(problem->offset, offset);
            QVERIFY(!problem->message.isEmpty());
        }
    }

    void regexStage()
    {
        QFETCH(QString, regex);
        QFETCH(QString, name);
        QFETCH(Fields, groups);
        QFETCH(QString, error);

        const auto plan =
            planOnWorker(inputs({name}), {regex, QString(), u"{row}"_s, false, u"name"_s, false});
        QVERIFY(plan);
        const PlanOutput output = plan->value(name);
        if (error.isEmpty()) {
            QCOMPARE(output.error, std::nullopt);
            Fields expected{{u"base"_s, u"b"_s}, {u"row"_s, u"1"_s}};
            expected.insert(groups);
            QCOMPARE(output.fields, expected);
        } else {
            QVERIFY(output.error);
            QVERIFY2(QRegularExpression(error.startsWith(u'^') ? error : QRegularExpression::escape(error))
                         .match(*output.error)
                         .hasMatch(),
                     qPrintable(*output.error));
            QCOMPARE(output.resultName, name);
            QCOMPARE(output.fields, (Fields{{u"base"_s, u"b"_s}, {u"row"_s, u"1"_s}}));
        }
    }

    void filesThatAreGoneSayWhy_data()
    {
        QTest::addColumn<QString>("regex");
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("error");
        QTest::newRow("deleted") << QString() << u"delete"_s << u"“a.txt” no longer exists"_s;
        QTest::newRow("deleted, and the regex fails too")
            << u"x"_s << u"delete"_s << u"“a.txt” no longer exists"_s;
        QTest::newRow("folder replaced by a file")
            << QString() << u"folder is a file"_s << u"“a.txt” can't be reached: Not a directory"_s;
        QTest::newRow("folder deleted") << QString() << u"folder deleted"_s << u"“a.txt” no longer exists"_s;
    }
    void filesThatAreGoneSayWhy()
    {
        QFETCH(QString, regex);
        QFETCH(QString, damage);
        QFETCH(QString, error);
        const QList<PlanInput> list = inputs({u"sub/a.txt"_s, u"b.txt"_s});
        if (damage == u"delete")
            QVERIFY(QFile::remove(path(u"sub/a.txt"_s)));
        else {
            QVERIFY(QDir(path(u"sub"_s)).removeRecursively());
            if (damage == u"folder is a file")
                create({u"sub"_s});
        }

        const auto plan = planOnWorker(list, {regex, QString(), u"{row}"_s, false, u"name"_s, false});
        QVERIFY(plan);
        QCOMPARE(plan->value(u"sub/a.txt"_s).error, std::optional(error));
        QCOMPARE(plan->value(u"b.txt"_s).error.has_value(), !regex.isEmpty());
    }

    // Past a few dozen names a folder is read once instead of asked name by name, and past a few thousand
    // files each half of the list is named, and put in order, on a thread of its own: the same answers.
    // The files are listed last first, so that the order moves every one.
    void manyFilesInOneFolderAreCheckedAlike_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("asked name by name") << 10;
        QTest::newRow("the folder read once") << 300;
        QTest::newRow("named in two halves") << 4500;
    }
    void manyFilesInOneFolderAreCheckedAlike()
    {
        QFETCH(int, count);
        QStringList names;
        for (int i = 1; i <= count; ++i)
            names.append(u"f-%1.txt"_s.arg(i));
        const QList<PlanInput> list = inputs(QStringList(names.crbegin(), names.crend()));
        create({u"new-f-3.txt"_s, u"NEW-f-4.txt"_s}); // taken, and another name in another case
        QVERIFY(QFile::remove(path(u"f-5.txt"_s)));

        const auto plan =
            planOnWorker(list, {u"(?P<stem>.*)"_s, QString(), u"new-{stem}"_s, false, u"name"_s, false});
        QVERIFY(plan);
        QHash<QString, QString> errors;
        for (const QString& name : names)
            if (const auto error = plan->value(name).error)
                errors.insert(name, *error);
        QCOMPARE(errors, (QHash<QString, QString>{{u"f-3.txt"_s, alreadyExists(u"new-f-3.txt"_s)},
                                                  {u"f-5.txt"_s, u"“f-5.txt” no longer exists"_s}}));
        const QString last = names.last();
        QCOMPARE(plan->value(last).resultName, u"new-"_s + last);
        QCOMPARE(plan->ids, names);
        QVERIFY(rowsAreListPlaces(*plan));
    }

    // An edit that leaves the script and its items as they were reuses its answers; any other runs it.
    // The script draws a random number, so a second run shows.
    void theScriptRunsAgainOnlyForNewInputs_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("reused");
        QTest::newRow("pattern") << u"pattern"_s << true;
        QTest::newRow("numbering option") << u"numbering"_s << true;
        QTest::newRow("script") << u"script"_s << false;
        QTest::newRow("regex") << u"regex"_s << false;
        QTest::newRow("reversed order") << u"reversed"_s << false;
        QTest::newRow("another file") << u"file"_s << false;
    }
    void theScriptRunsAgainOnlyForNewInputs()
    {
        QFETCH(QString, change);
        QFETCH(bool, reused);
        QList<PlanInput> list = inputs({u"a-1.txt"_s, u"b-2.txt"_s});
        RenameRules rules{
            u"(?P<l>.)-.*"_s, u"fields.r = String(Math.random())"_s, u"{r}"_s, false, u"name"_s, false};
        ScriptMemo memo;
        const auto plan = [&] {
            return std::async(std::launch::async,
                              [&] {
                                  return RenamePlanner::plan(list, rules, realEngine,
                                                             JSEngineClient::defaultTimeout, {}, &memo);
                              })
                .get();
        };
        const auto first = plan();
        QVERIFY(first);
        if (change == u"pattern")
            rules.pattern = u"{r}-{l}"_s;
        else if (change == u"numbering")
            rules.numberDuplicates = true;
        else if (change == u"script")
            rules.script += u";"_s;
        else if (change == u"regex")
            rules.regex = u"(?P<l>.)-(?P<d>.*)"_s;
        else if (change == u"reversed")
            rules.reversed = true;
        else
            list += inputs({u"c-3.txt"_s});
        const auto second = plan();
        QVERIFY(second);
        const auto randomOf = [&](const RenamePlanner::Plan& planned, const QString& id) {
            for (const RenamePlanner::PlannedFile& file : planned)
                if (list[file.input].id == id)
                    return file.output.fields.value(u"r"_s);
            return QString();
        };
        QVERIFY(!randomOf(*first, u"a-1.txt"_s).isEmpty());
        QCOMPARE(randomOf(*second, u"a-1.txt"_s) == randomOf(*first, u"a-1.txt"_s), reused);
        QCOMPARE(randomOf(*second, u"b-2.txt"_s) == randomOf(*first, u"b-2.txt"_s), reused);
    }

    void invalidRegexRunsNoScript()
    {
        const auto plan = planOnWorker(inputs({u"a.txt"_s, u"b.txt"_s}),
                                       {u"("_s, u"fields.x = 1"_s, u"{row}"_s, false, u"name"_s, false},
                                       fakeEngine(u"mark-start.sh"_s));
        QVERIFY(plan);
        QVERIFY(plan->value(u"a.txt"_s).error && plan->value(u"b.txt"_s).error);
        QVERIFY(!QFile::exists(marker));
    }

    void scriptSeesOnlyFilesWithoutError()
    {
        const auto plan = planOnWorker(inputs({u"a-1.txt"_s, u"b.txt"_s, u"c-2.txt"_s}),
                                       {u"(?P<l>.)-(?P<d>\\d)"_s,
                                        u"context.n = Number(context.n || 0) + 1; fields.seen = context.n;"
                                        u"console.log('saw ' + fields.l)"_s,
                                        u"{l}{seen}"_s, false, u"name"_s, false});
        QVERIFY(plan);
        QCOMPARE(plan->value(u"a-1.txt"_s).resultName, u"a1.txt"_s);
        QCOMPARE(plan->value(u"a-1.txt"_s).logs, QStringList{u"saw a"_s});
        QCOMPARE(plan->value(u"b.txt"_s).error, std::optional(noWholeMatch));
        QCOMPARE(plan->value(u"b.txt"_s).logs, QStringList{});
        QCOMPARE(plan->value(u"c-2.txt"_s).resultName, u"c2.txt"_s);
    }

    // While the script runs, each answered file's result is handed on in plan order; it differs from the
    // finished plan's only by the collisions that need every name.
    void provisionalResultsComeInPlanOrder_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("collisions");
        QStringList numbered, mixed;
        for (int i = 1; i <= 60; ++i) {
            numbered << u"a-%1.txt"_s.arg(i);
            mixed << (i % 7 == 0 ? u"a-%1 refused.txt"_s.arg(i) : u"a-%1.txt"_s.arg(i));
        }
        QTest::newRow("every file answered") << numbered << u"fields.x = fields.d * 2"_s << u"{l}{x}"_s << 0;
        QTest::newRow("files the regex refuses in between")
            << mixed << u"fields.x = fields.d * 2"_s << u"{l}{x}"_s << 0;
        QTest::newRow("a collision only the whole plan finds")
            << numbered << u"fields.x = fields.d % 30"_s << u"{l}{x}"_s << 60;
    }

    void provisionalResultsComeInPlanOrder()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, script);
        QFETCH(QString, pattern);
        QFETCH(int, collisions);
        const QList<PlanInput> list = inputs(names);
        const RenameRules rules{u"(?P<l>.)-(?P<d>\\d+)"_s, script, pattern, false, u"name"_s, false};
        RenamePlanner::Plan provisional;
        bool inOrder = true;
        const auto plan =
            std::async(std::launch::async, [&] {
                return RenamePlanner::plan(list, rules, realEngine, JSEngineClient::defaultTimeout, {},
                                           nullptr, [&](qsizetype firstRow, RenamePlanner::Plan files) {
                                               inOrder &= firstRow == provisional.size();
                                               provisional.append(std::move(files));
                                           });
            }).get();
        QVERIFY(plan);
        QVERIFY(inOrder);
        qsizetype answeredRows = plan->size(); // through the last file the script saw
        while (answeredRows > 0 && (*plan)[answeredRows - 1].output.error == noWholeMatch)
            --answeredRows;
        QCOMPARE(provisional.size(), answeredRows);
        int collided = 0;
        for (qsizetype row = 0; row < provisional.size(); ++row) {
            const PlanOutput& early = provisional[row].output;
            const PlanOutput& final = (*plan)[row].output;
            QCOMPARE(provisional[row].input, (*plan)[row].input);
            QCOMPARE(early.resultName, final.resultName);
            QCOMPARE(early.fields, final.fields);
            if (final.error && final.error->startsWith(u"Another file"_s)) {
                ++collided;
                QCOMPARE(early.error, std::nullopt);
            } else {
                QCOMPARE(early.error, final.error);
            }
        }
        QCOMPARE(collided, collisions);
    }

    void scriptFieldsAreMergedIn()
    {
        const auto plan = planOnWorker(inputs({u"a.txt"_s}), {QString(), u"fields = {x: 'new', row: '9'}"_s,
                                                              u"{base}{x}{row}"_s, false, u"name"_s, false});
        QVERIFY(plan);
        const PlanOutput output = plan->value(u"a.txt"_s);
        QCOMPARE(output.fields, (Fields{{u"base"_s, u"b"_s}, {u"row"_s, u"9"_s}, {u"x"_s, u"new"_s}}));
        QCOMPARE(output.resultName, u"bnew9.txt"_s);
    }

    void scriptErrorKeepsLogsAndName()
    {
        const auto plan = planOnWorker(inputs({u"a.txt"_s}), {QString(), u"console.log('hi'); throw 'bad'"_s,
                                                              u"{row}"_s, false, u"name"_s, false});
        QVERIFY(plan);
        const PlanOutput output = plan->value(u"a.txt"_s);
        QCOMPARE(output.error, std::optional(u"bad"_s));
        QCOMPARE(output.logs, QStringList{u"hi"_s});
        QCOMPARE(output.resultName, u"a.txt"_s);
    }

    void answersTheEngineNeverWrites()
    {
        const auto plan = planOnWorker(inputs({u"a"_s, u"b"_s, u"c"_s}),
                                       {QString(), u"x"_s, u"{row}{x}"_s, false, u"name"_s, false},
                                       fakeEngine(u"odd-answers.sh"_s));
        QVERIFY(plan);
        QCOMPARE(plan->value(u"a"_s).error, std::optional(u"The script failed"_s));
        QCOMPARE(plan->value(u"b"_s).error, std::nullopt); // an error beside fields is ignored
        QCOMPARE(plan->value(u"b"_s).resultName, u"21"_s);
        QCOMPARE(plan->value(u"c"_s).error, std::optional(u"e"_s));
        QCOMPARE(plan->value(u"c"_s).logs, QStringList{u"l"_s});
    }

    void patternStage_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("resultName");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("warning");

        QTest::newRow("extension kept")
            << u"a.jpeg"_s << u"x{row}"_s << u"x1.jpeg"_s << QString() << QString();
        QTest::newRow("no extension") << u"a"_s << u"x"_s << u"x"_s << QString() << QString();
        QTest::newRow("empty pattern")
            << u"a.txt"_s << QString() << u".txt"_s << u"The new name is empty"_s << QString();
        QTest::newRow("empty pattern, no extension")
            << u"a"_s << QString() << QString() << u"The new name is empty"_s << QString();
        QTest::newRow("slash from a value")
            << u"a.txt"_s << u"{base}/x"_s << u"b/x.txt"_s
            << u"The new name “b/x.txt” contains “/” or “:”, which can't be used in file names"_s
            << QString();
        QTest::newRow("dot pattern with an extension")
            << u"a.txt"_s << u"."_s << u"..txt"_s << QString() << QString();
        QTest::newRow("too long") << u"a.txt"_s << QString(300, u'x') << QString(300, u'x') + u".txt"_s
                                  << u"The new name is too long (304 bytes, the limit is 255)"_s << QString();
        QTest::newRow("missing field stays literal, with a warning")
            << u"a.txt"_s << u"{nope}"_s << u"{nope}.txt"_s << QString()
            << u"The pattern uses “{nope}”, which this file doesn't have"_s;
        QTest::newRow("the first missing one is named")
            << u"a.txt"_s << u"{row}{imgae.date}{nope}"_s << u"1{imgae.date}{nope}.txt"_s << QString()
            << u"The pattern uses “{imgae.date}”, which this file doesn't have"_s;
        QTest::newRow("a name error and a missing field")
            << u"a.txt"_s << u"{nope:x}"_s << u"{nope:x}.txt"_s
            << u"The new name “{nope:x}.txt” contains “/” or “:”, which can't be used in file names"_s
            << u"The pattern uses “{nope:x}”, which this file doesn't have"_s;
        QTest::newRow("an unknown format gives no warning")
            << u"a.txt"_s << u"{row:bold}{nope}"_s << u"{row:bold}{nope}.txt"_s
            << u"The pattern uses the unknown format “bold” in “{row:bold}”"_s << QString();
    }
    void patternStage()
    {
        QFETCH(QString, name);
        QFETCH(QString, pattern);
        const auto plan =
            planOnWorker(inputs({name}), {QString(), QString(), pattern, false, u"name"_s, false});
        QVERIFY(plan);
        QTEST(plan->value(name).resultName, "resultName");
        QFETCH(QString, error);
        QCOMPARE(plan->value(name).error, error.isEmpty() ? std::nullopt : std::optional(error));
        QFETCH(QString, warning);
        QCOMPARE(plan->value(name).warning, warning.isEmpty() ? std::nullopt : std::optional(warning));
    }

    // Each row: files on disk, the listed files with the new stem each gets, and the errors expected.
    void collisionCheck_data()
    {
        QTest::addColumn<QStringList>("onDisk");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QStringList>("newStems");
        QTest::addColumn<QStringList>("errors");

        QTest::newRow("same name twice in the list, by case")
            << QStringList{u"1.txt"_s, u"2.txt"_s} << QStringList{u"1.txt"_s, u"2.txt"_s}
            << QStringList{u"A"_s, u"a"_s} << QStringList{alsoNamed(u"A.txt"_s), alsoNamed(u"a.txt"_s)};
        QTest::newRow("same name twice in the list, by composition")
            << QStringList{u"1.txt"_s, u"2.txt"_s} << QStringList{u"1.txt"_s, u"2.txt"_s}
            << QStringList{u"é"_s, u"e\u0301"_s}
            << QStringList{alsoNamed(u"é.txt"_s), alsoNamed(u"e\u0301.txt"_s)};
        QTest::newRow("swapping two listed files")
            << QStringList{u"a.txt"_s, u"b.txt"_s} << QStringList{u"a.txt"_s, u"b.txt"_s}
            << QStringList{u"b"_s, u"a"_s} << QStringList{QString(), QString()};
        QTest::newRow("unchanged") << QStringList{u"a.txt"_s} << QStringList{u"a.txt"_s}
                                   << QStringList{u"a"_s} << QStringList{QString()};
        QTest::newRow("case only, nothing there")
            << QStringList{u"photo.jpg"_s} << QStringList{u"photo.jpg"_s} << QStringList{u"Photo"_s}
            << QStringList{QString()};
        QTest::newRow("case only, another item there")
            << QStringList{u"photo.jpg"_s, u"Photo.jpg"_s} << QStringList{u"photo.jpg"_s}
            << QStringList{u"Photo"_s} << QStringList{alreadyExists(u"Photo.jpg"_s)};
        QTest::newRow("composition only, another item there")
            << QStringList{u"é.txt"_s, u"e\u0301.txt"_s} << QStringList{u"é.txt"_s}
            << QStringList{u"e\u0301"_s} << QStringList{alreadyExists(u"e\u0301.txt"_s)};
        QTest::newRow("taken by an unlisted file")
            << QStringList{u"a.txt"_s, u"b.txt"_s} << QStringList{u"a.txt"_s} << QStringList{u"b"_s}
            << QStringList{alreadyExists(u"b.txt"_s)};
        QTest::newRow("free name") << QStringList{u"a.txt"_s} << QStringList{u"a.txt"_s}
                                   << QStringList{u"c"_s} << QStringList{QString()};
        QTest::newRow("listed file that is gone")
            << QStringList{} << QStringList{u"gone.txt"_s} << QStringList{u"c"_s} << QStringList{QString()};
        QTest::newRow("onto a listed file that keeps its name")
            << QStringList{u"a.txt"_s, u"b.txt"_s} << QStringList{u"a.txt"_s, u"b.txt"_s}
            << QStringList{u"b"_s, u"b"_s} << QStringList{alsoNamed(u"b.txt"_s), alsoNamed(u"b.txt"_s)};
        QTest::newRow("onto a name that only looks like a listed file")
            << QStringList{u"a.txt"_s, u"b.txt"_s, u"y.txt"_s, u"B.txt"_s}
            << QStringList{u"a.txt"_s, u"b.txt"_s, u"y.txt"_s} << QStringList{u"y"_s, u"c"_s, u"B"_s}
            << QStringList{QString(), QString(), alreadyExists(u"B.txt"_s)};
        QTest::newRow("listed names equal but for case, onto the one listed first")
            << QStringList{u"a.txt"_s, u"A.txt"_s} << QStringList{u"a.txt"_s, u"A.txt"_s}
            << QStringList{u"x"_s, u"a"_s} << QStringList{QString(), QString()};
        QTest::newRow("listed names equal but for case, onto the one listed last")
            << QStringList{u"a.txt"_s, u"A.txt"_s} << QStringList{u"a.txt"_s, u"A.txt"_s}
            << QStringList{u"A"_s, u"x"_s} << QStringList{QString(), QString()};
        QTest::newRow("onto a listed file's name in another case, nothing there")
            << QStringList{u"a.txt"_s, u"b.txt"_s} << QStringList{u"a.txt"_s, u"b.txt"_s}
            << QStringList{u"B"_s, u"z"_s} << QStringList{QString(), QString()};
    }
    void collisionCheck()
    {
        QFETCH(QStringList, onDisk);
        QFETCH(QStringList, listed);
        QFETCH(QStringList, newStems);
        QFETCH(QStringList, errors);

        create(onDisk);
        QList<PlanInput> list = inputs(listed);
        for (qsizetype i = 0; i < list.size(); ++i) // the pattern reads the new stem from a base field
            list[i].baseFields.insert(u"new"_s, newStems[i]);
        const auto plan = planOnWorker(list, {QString(), QString(), u"{new}"_s, false, u"name"_s, false});
        QVERIFY(plan);
        for (qsizetype i = 0; i < listed.size(); ++i)
            QCOMPARE(plan->value(listed[i]).error,
                     errors[i].isEmpty() ? std::nullopt : std::optional(errors[i]));
    }

    void numberDuplicates_data()
    {
        QTest::addColumn<QStringList>("onDisk");
        QTest::addColumn<QStringList>("listed"); // in name order
        QTest::addColumn<QStringList>("newStems");
        QTest::addColumn<QStringList>("results");

        const QStringList threeJpegs{u"1.jpg"_s, u"2.jpg"_s, u"3.jpg"_s};
        QTest::newRow("three files, one name")
            << threeJpegs << threeJpegs << QStringList{u"x"_s, u"x"_s, u"x"_s}
            << QStringList{u"x.jpg"_s, u"x (2).jpg"_s, u"x (3).jpg"_s};
        QTest::newRow("taken on disk by an unlisted file")
            << QStringList{u"1.jpg"_s, u"x.jpg"_s} << QStringList{u"1.jpg"_s} << QStringList{u"x"_s}
            << QStringList{u"x (2).jpg"_s};
        QTest::newRow("a numbered name another file asks for")
            << threeJpegs << threeJpegs << QStringList{u"x"_s, u"x"_s, u"x (2)"_s}
            << QStringList{u"x.jpg"_s, u"x (3).jpg"_s, u"x (2).jpg"_s};
        QTest::newRow("a numbered name taken on disk")
            << QStringList{u"1.jpg"_s, u"2.jpg"_s, u"x (2).jpg"_s} << QStringList{u"1.jpg"_s, u"2.jpg"_s}
            << QStringList{u"x"_s, u"x"_s} << QStringList{u"x.jpg"_s, u"x (3).jpg"_s};
        QTest::newRow("without extension") << QStringList{u"a"_s, u"b"_s} << QStringList{u"a"_s, u"b"_s}
                                           << QStringList{u"x"_s, u"x"_s} << QStringList{u"x"_s, u"x (2)"_s};
        QTest::newRow("other extensions don't collide")
            << QStringList{u"1.jpg"_s, u"2.png"_s} << QStringList{u"1.jpg"_s, u"2.png"_s}
            << QStringList{u"x"_s, u"x"_s} << QStringList{u"x.jpg"_s, u"x.png"_s};
        QTest::newRow("names equal but for case")
            << QStringList{u"1.txt"_s, u"2.txt"_s} << QStringList{u"1.txt"_s, u"2.txt"_s}
            << QStringList{u"A"_s, u"a"_s} << QStringList{u"A.txt"_s, u"a (2).txt"_s};
        QTest::newRow("onto a listed file that moves away")
            << QStringList{u"x.jpg"_s, u"y.jpg"_s} << QStringList{u"x.jpg"_s, u"y.jpg"_s}
            << QStringList{u"z"_s, u"x"_s} << QStringList{u"z.jpg"_s, u"x.jpg"_s};
    }
    void numberDuplicates()
    {
        QFETCH(QStringList, onDisk);
        QFETCH(QStringList, listed);
        QFETCH(QStringList, newStems);
        QFETCH(QStringList, results);

        create(onDisk);
        QList<PlanInput> list = inputs(listed);
        for (qsizetype i = 0; i < list.size(); ++i)
            list[i].baseFields.insert(u"new"_s, newStems[i]);
        const auto plan = planOnWorker(list, {QString(), QString(), u"{new}"_s, false, u"name"_s, true});
        QVERIFY(plan);
        for (qsizetype i = 0; i < listed.size(); ++i) {
            QCOMPARE(plan->value(listed[i]).error, std::nullopt);
            QCOMPARE(plan->value(listed[i]).resultName, results[i]);
        }
    }

    void numberedNameTooLongIsAnError()
    {
        create({u"1.txt"_s, u"2.txt"_s});
        QList<PlanInput> list = inputs({u"1.txt"_s, u"2.txt"_s});
        for (PlanInput& input : list)
            input.baseFields.insert(u"new"_s, u"x"_s.repeated(251));
        const auto plan = planOnWorker(list, {QString(), QString(), u"{new}"_s, false, u"name"_s, true});
        QVERIFY(plan);
        QCOMPARE(plan->value(u"1.txt"_s).error, std::nullopt);
        QVERIFY(plan->value(u"2.txt"_s).error.has_value());
    }

    // The order decides the rows, and the order in which the script sees the files: its counter agrees.
    void orderDecidesRowsAndScriptOrder_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<bool>("reversed");
        QTest::addColumn<QStringList>("results"); // for a.jpg, b.jpg, c.jpg, d.jpg

        QTest::newRow("name") << u"name"_s << false
                              << QStringList{u"1-1.jpg"_s, u"2-2.jpg"_s, u"3-3.jpg"_s, u"4-4.jpg"_s};
        QTest::newRow("listed") << u"listed"_s << false
                                << QStringList{u"3-3.jpg"_s, u"1-1.jpg"_s, u"4-4.jpg"_s, u"2-2.jpg"_s};
        QTest::newRow("listed, reversed")
            << u"listed"_s << true << QStringList{u"2-2.jpg"_s, u"4-4.jpg"_s, u"1-1.jpg"_s, u"3-3.jpg"_s};
        QTest::newRow("a base field; d lacks it")
            << u"taken"_s << false << QStringList{u"3-3.jpg"_s, u"1-1.jpg"_s, u"2-2.jpg"_s, u"4-4.jpg"_s};
        QTest::newRow("a base field, reversed; d stays last")
            << u"taken"_s << true << QStringList{u"1-1.jpg"_s, u"3-3.jpg"_s, u"2-2.jpg"_s, u"4-4.jpg"_s};
        QTest::newRow("a named group of the regex")
            << u"n"_s << false << QStringList{u"4-4.jpg"_s, u"3-3.jpg"_s, u"2-2.jpg"_s, u"1-1.jpg"_s};
    }
    void orderDecidesRowsAndScriptOrder()
    {
        QFETCH(QString, order);
        QFETCH(bool, reversed);
        QFETCH(QStringList, results);

        const QStringList names{u"a.jpg"_s, u"b.jpg"_s, u"c.jpg"_s, u"d.jpg"_s};
        create(names);
        QList<PlanInput> list = inputs({u"b.jpg"_s, u"d.jpg"_s, u"a.jpg"_s, u"c.jpg"_s});
        const QHash<QString, QString> taken{{u"a.jpg"_s, u"2026-12-08 10-00-00"_s},
                                            {u"b.jpg"_s, u"2026-12-08 09-00-00"_s},
                                            {u"c.jpg"_s, u"2026-12-08 09-30-00"_s}};
        for (PlanInput& input : list) {
            if (taken.contains(input.id))
                input.baseFields.insert(u"taken"_s, taken.value(input.id));
        }
        const RenameRules rules{u"(?P<letter>.)"_s,
                                u"context.n = (context.n || 0) + 1; fields.n = String(context.n)"_s,
                                u"{row}-{n}"_s,
                                reversed,
                                order,
                                false};
        // A named group orders too: here "n", the letter, reversed: d, c, b, a.
        RenameRules byGroup = rules;
        byGroup.regex = u"(?P<n>.)"_s;
        byGroup.script = u"context.count = (context.count || 0) + 1; fields.n = String(context.count)"_s;
        byGroup.order = u"n"_s;
        byGroup.reversed = true;
        const auto plan = planOnWorker(list, order == u"n"_s ? byGroup : rules);
        QVERIFY(plan);
        QVERIFY(rowsAreListPlaces(*plan));
        QStringList actual;
        for (const QString& name : names)
            actual.append(plan->value(name).resultName);
        QCOMPARE(actual, results);
    }

    // Names that don't depend on the order are made while the order is found; the plan still lists the
    // files in order, numbered so, each with its own name and problem.
    void orderFreeNamesKeepThePlanOrder_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<bool>("reversed");
        QTest::addColumn<QStringList>("planOrder");

        QTest::newRow("name") << u"name"_s << false
                              << QStringList{u"a.jpg"_s, u"b.jpg"_s, u"c.jpg"_s, u"d.jpg"_s};
        QTest::newRow("name, reversed")
            << u"name"_s << true << QStringList{u"d.jpg"_s, u"c.jpg"_s, u"b.jpg"_s, u"a.jpg"_s};
        QTest::newRow("listed") << u"listed"_s << false
                                << QStringList{u"b.jpg"_s, u"d.jpg"_s, u"a.jpg"_s, u"c.jpg"_s};
        QTest::newRow("a field the names read too")
            << u"group"_s << false << QStringList{u"b.jpg"_s, u"d.jpg"_s, u"a.jpg"_s, u"c.jpg"_s};
    }
    void orderFreeNamesKeepThePlanOrder()
    {
        QFETCH(QString, order);
        QFETCH(bool, reversed);
        QFETCH(QStringList, planOrder);

        QList<PlanInput> list = inputs({u"b.jpg"_s, u"d.jpg"_s, u"a.jpg"_s, u"c.jpg"_s});
        const QHash<QString, QString> groups{{u"a.jpg"_s, u"same"_s},
                                             {u"b.jpg"_s, u"one"_s},
                                             {u"c.jpg"_s, u"same"_s},
                                             {u"d.jpg"_s, u"other"_s}};
        for (PlanInput& input : list)
            input.baseFields.insert(u"group"_s, groups.value(input.id));
        const auto plan = planOnWorker(list, {QString(), QString(), u"{group}"_s, reversed, order, false});
        QVERIFY(plan);
        QCOMPARE(plan->ids, planOrder);
        QVERIFY(rowsAreListPlaces(*plan));
        for (const QString& sharing : {u"a.jpg"_s, u"c.jpg"_s})
            QCOMPARE(plan->value(sharing).error, std::optional(alsoNamed(u"same.jpg"_s)));
        QCOMPARE(plan->value(u"b.jpg"_s).resultName, u"one.jpg"_s);
        QCOMPARE(plan->value(u"d.jpg"_s).resultName, u"other.jpg"_s);
        QCOMPARE(plan->value(u"d.jpg"_s).error, std::nullopt);
    }

    // A name whose bytes aren't UTF-8 reads with U+FFFD, like the name of the file that really has U+FFFD:
    // neither may move, since the text can't tell them apart.
    void namesThatAreNotUtf8AreRefused_data()
    {
        QTest::addColumn<QByteArrayList>("onDisk");
        QTest::addColumn<bool>("refused");
        QTest::newRow("bytes that aren't UTF-8") << QByteArrayList{"a\xff.txt"} << true;
        QTest::newRow("next to the real U+FFFD") << QByteArrayList{"a\xff.txt", "a\xef\xbf\xbd.txt"} << true;
        QTest::newRow("a real U+FFFD alone") << QByteArrayList{"a\xef\xbf\xbd.txt"} << false;
        QTest::newRow("in the folder's name") << QByteArrayList{"f\xff/a\xef\xbf\xbd.txt"} << true;
    }
    void namesThatAreNotUtf8AreRefused()
    {
        QFETCH(QByteArrayList, onDisk);
        QFETCH(bool, refused);
        const QByteArray root = QFile::encodeName(folder->path()) + '/';
        const auto removeAll = qScopeGuard([&] { // QTemporaryDir can't remove names Qt can't read
            for (const QByteArray& name : onDisk) {
                ::unlink((root + name).constData());
                if (const qsizetype slash = name.indexOf('/'); slash > 0)
                    ::rmdir((root + name.first(slash)).constData());
            }
        });
        for (const QByteArray& name : onDisk) {
            const QByteArray file = root + name;
            if (const qsizetype slash = name.indexOf('/'); slash > 0)
                QVERIFY(::mkdir((root + name.first(slash)).constData(), 0700) == 0);
            const int fd = ::open(file.constData(), O_CREAT | O_WRONLY, 0600);
            QVERIFY(fd >= 0);
            ::close(fd);
        }
        const QString listed = QFile::decodeName(onDisk.last()); // as a file dialog or a terminal gives it
        const auto plan = planOnWorker(inputs({listed}),
                                       {QString(), QString(), u"{filename}-new"_s, false, u"name"_s, false});
        QVERIFY(plan);
        const QString name = listed.section(u'/', -1);
        QCOMPARE(plan->value(listed).error,
                 refused
                     ? std::optional(u"“%1” can't be renamed: its name, or a name in its folder that reads "
                                     "the same, isn't valid UTF-8 text"_s.arg(name))
                     : std::nullopt);
    }

    void danglingLinkTakesTheName()
    {
        create({u"a.txt"_s});
        QVERIFY(QFile::link(path(u"nowhere"_s), path(u"b.txt"_s)));
        const auto plan =
            planOnWorker(inputs({u"a.txt"_s}), {QString(), QString(), u"b"_s, false, u"name"_s, false});
        QVERIFY(plan);
        QCOMPARE(plan->value(u"a.txt"_s).error, std::optional(alreadyExists(u"b.txt"_s)));
    }

    void emptyListStartsNothing()
    {
        const auto plan =
            planOnWorker({}, {QString(), u"fields.x = 1"_s, u"{row}"_s, false, u"name"_s, false},
                         fakeEngine(u"mark-start.sh"_s));
        QVERIFY(plan);
        QCOMPARE(plan->size(), 0);
        QVERIFY(!QFile::exists(marker));
    }

    void cancelledBeforeTheScriptStage()
    {
        std::stop_source stop;
        stop.request_stop();
        QCOMPARE(planOnWorker(inputs({u"a"_s}), {QString(), u"x"_s, u"{row}"_s, false, u"name"_s, false},
                              fakeEngine(u"mark-start.sh"_s), stop.get_token()),
                 std::nullopt);
        QVERIFY(!QFile::exists(marker));
    }

    void cancelledWhileTheScriptRuns()
    {
        std::stop_source stop;
        auto plan = std::async(std::launch::async, [&] {
            return RenamePlanner::plan(inputs({u"a"_s, u"b"_s, u"c"_s}),
                                       {QString(), u"x"_s, u"{row}"_s, false, u"name"_s, false},
                                       fakeEngine(u"hang-after-one.sh"_s), 60s, stop.get_token());
        });
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 60'000);
        stop.request_stop();
        QCOMPARE(plan.get(), std::nullopt);
    }

    // Last: it may leave German installed. The helper's words follow the UI language; the engine's don't.
    void scriptErrorsInTheUiLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("error");
        QTest::newRow("English line")
            << u"en"_s << u"\nthrow new Error('boom')"_s << u"Line 2: Error: boom"_s;
        QTest::newRow("German line") << u"de"_s << u"\nthrow new Error('boom')"_s
                                     << u"Zeile 2: Error: boom"_s;
        QTest::newRow("German fields") << u"de"_s << u"fields = 1"_s << u"`fields` muss ein Objekt sein"_s;
        QTest::newRow("German context") << u"de"_s << u"context = 1"_s << u"`context` muss ein Objekt sein"_s;
        QTest::newRow("German, the engine's own words")
            << u"de"_s << u"undefinedName"_s
            << u"Zeile 1: ReferenceError: Can't find variable: undefinedName"_s;
    }
    void scriptErrorsInTheUiLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QString, script);
        QFETCH(QString, error);
        QLocale::setDefault(QLocale(language));
        QVERIFY(KitCatalogue::install());
        const auto plan =
            planOnWorker(inputs({u"a.txt"_s}), {QString(), script, u"{filename}"_s, false, u"name"_s, false});
        QVERIFY(plan);
        QCOMPARE(plan->value(u"a.txt"_s).error, std::optional(error));
    }
};

QTEST_GUILESS_MAIN(tst_RenamePlanner)
#include "tst_RenamePlanner.moc"
