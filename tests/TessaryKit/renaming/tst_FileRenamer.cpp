#include "KitTestSupport.h"
#include "TestFolder.h"
#include "platform/NonReplacingMover.h"
#include "renaming/FileRenamer.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cerrno>
#include <functional>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

// The real move, except for moves the test picks, which fail with the reason it gives. Records every
// move it was asked for, by names.
class PickyMover final : public FileMover {
public:
    using Pick = std::function<int(const QString& fromName, const QString& toName)>; // 0: really move

    explicit PickyMover(Pick pick = {}) : pick(std::move(pick)) {}

    int move(const QString& source, const QString& destination) override
    {
        const QString from = source.section(u'/', -1);
        const QString to = destination.section(u'/', -1);
        moves.append(from + u" -> "_s + to);
        if (const int reason = pick ? pick(from, to) : 0)
            return reason;
        return real.move(source, destination);
    }

    QStringList moves;

private:
    Pick pick;
    NonReplacingMover real;
};

const QRegularExpression
    temporaryName(u"^\\.tessary-[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}$"_s);

} // namespace

class tst_FileRenamer : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> folder;

    QString path(const QString& name) const { return folder->filePath(name); }

    void create(const QStringList& names) const { TestFolder::create(folder->path(), names); }
    QMap<QString, QString> contents(const QString& subfolder = QString()) const
    {
        return TestFolder::contents(path(subfolder));
    }

    RenameOperation op(const QString& from, const QString& to) const { return {from, path(from), path(to)}; }
    // Enough moves that `layoutOf` compares their paths in two halves at once.
    static constexpr qsizetype manyMoves = 6000;

private Q_SLOTS:
    void initTestCase() { QVERIFY(useEnglishCatalogue()); }

    void init()
    {
        folder.emplace();
        QVERIFY(folder->isValid());
        QTest::failOnWarning(QRegularExpression(u".*"_s)); // a failure report must be expected by the test
    }

    void emptyListMovesNothing()
    {
        PickyMover mover;
        QCOMPARE(FileRenamer::perform({}, mover).failures, FileRenamer::Failures{});
        QCOMPARE(mover.moves, QStringList{});
    }

    void temporaryNamesOfTheWrongCountMoveNothing_data()
    {
        QTest::addColumn<QStringList>("temporaryNames");
        QTest::newRow("none for a swap") << QStringList{};
        QTest::newRow("one for a swap") << QStringList{u".tessary-x"_s};
        QTest::newRow("three for a swap") << QStringList{u".tessary-x"_s, QString(), QString()};
    }

    void temporaryNamesOfTheWrongCountMoveNothing()
    {
        QFETCH(QStringList, temporaryNames);
        create({u"a"_s, u"b"_s});
        const QMap<QString, QString> before = contents();
        PickyMover mover;
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(u"temporary names for 2 renames"_s));
        const auto result =
            FileRenamer::perform({op(u"a"_s, u"b"_s), op(u"b"_s, u"a"_s)}, temporaryNames, mover);
        QCOMPARE(mover.moves, QStringList{});
        QCOMPARE(contents(), before);
        QCOMPARE(QSet<QString>(result.failures.keyBegin(), result.failures.keyEnd()),
                 (QSet<QString>{u"a"_s, u"b"_s}));
    }

    // Each row: files, moves as "from>to", the contents expected afterwards, and the temporary moves.
    void movesWithoutOverwriting_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("moves");
        QTest::addColumn<QStringList>("after"); // "name=content"
        QTest::addColumn<int>("temporaryMoves");

        QTest::newRow("swap") << QStringList{u"a"_s, u"b"_s} << QStringList{u"a>b"_s, u"b>a"_s}
                              << QStringList{u"a=b"_s, u"b=a"_s} << 2;
        QTest::newRow("rotation of three")
            << QStringList{u"a"_s, u"b"_s, u"c"_s} << QStringList{u"a>b"_s, u"b>c"_s, u"c>a"_s}
            << QStringList{u"a=c"_s, u"b=a"_s, u"c=b"_s} << 3;
        QTest::newRow("chain into a free name")
            << QStringList{u"a"_s, u"b"_s} << QStringList{u"a>b"_s, u"b>c"_s}
            << QStringList{u"b=a"_s, u"c=b"_s} << 1;
        QTest::newRow("case only is direct")
            << QStringList{u"photo.jpg"_s} << QStringList{u"photo.jpg>Photo.jpg"_s}
            << QStringList{u"Photo.jpg=photo.jpg"_s} << 0;
        QTest::newRow("composition only is direct")
            << QStringList{u"é"_s} << QStringList{u"é>e\u0301"_s} << QStringList{u"e\u0301=é"_s} << 0;
    }
    void movesWithoutOverwriting()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, moves);
        QFETCH(QStringList, after);
        QFETCH(int, temporaryMoves);

        create(files);
        QList<RenameOperation> operations;
        for (const QString& move : moves)
            operations.append(op(move.section(u'>', 0, 0), move.section(u'>', 1)));
        PickyMover mover;
        QCOMPARE(FileRenamer::perform(operations, mover).failures, FileRenamer::Failures{});

        QMap<QString, QString> expected;
        for (const QString& entry : after)
            expected.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
        QCOMPARE(contents(), expected);
        const auto throughTemporary = [](const QString& move) { return move.contains(u".tessary-"_s); };
        QCOMPARE(std::count_if(mover.moves.cbegin(), mover.moves.cend(), throughTemporary),
                 2 * temporaryMoves);
    }

    // Moves that reach across the two halves. Each row: the move of file i of `count` as "from>to", with
    // %1 = i, %2 = i + 1 and %3 = i + count / 2 (wrapping), and the groups and parked moves expected.
    void laysOutManyMoves_data()
    {
        QTest::addColumn<QString>("move");
        QTest::addColumn<qsizetype>("groups");
        QTest::addColumn<qsizetype>("parked");

        constexpr qsizetype count = manyMoves;
        QTest::newRow("independent") << u"/Tmp/f%1>/Tmp/g%1"_s << count << qsizetype(0);
        QTest::newRow("one rotation of all") << u"/Tmp/f%1>/Tmp/f%2"_s << qsizetype(1) << count;
        QTest::newRow("rotation under other case") << u"/Tmp/f%1>/tmp/F%2"_s << qsizetype(1) << count;
        QTest::newRow("swaps across the halves") << u"/Tmp/f%1>/Tmp/f%3"_s << count / 2 << count;
        QTest::newRow("case only") << u"/Tmp/f%1>/Tmp/F%1"_s << count << qsizetype(0);
        QTest::newRow("into a subfolder") << u"/Tmp/f%1>/Tmp/f%1/f%1"_s << count << qsizetype(0);
        QTest::newRow("rotation through paths to clean")
            << u"/Tmp/./f%1>/tmp//F%2"_s << qsizetype(1) << count;
        QTest::newRow("rotation through composed names")
            << u"/Tmp/e\u0301%1>/Tmp/É%2"_s << qsizetype(1) << count;
    }
    void laysOutManyMoves()
    {
        QFETCH(QString, move);
        constexpr qsizetype count = manyMoves;
        QList<RenameOperation> operations;
        for (qsizetype i = 0; i < count; ++i) {
            const QString names = QString(move)
                                      .replace(u"%1"_s, QString::number(i))
                                      .replace(u"%2"_s, QString::number((i + 1) % count))
                                      .replace(u"%3"_s, QString::number((i + count / 2) % count));
            operations.append({names.section(u'>', 0, 0), names.section(u'>', 0, 0), names.section(u'>', 1)});
        }
        const FileRenamer::Layout layout = FileRenamer::layoutOf(operations);
        QTEST(layout.groups.size(), "groups");
        QTEST(qsizetype(layout.parks.count(true)), "parked");
        QList<qsizetype> grouped;
        qsizetype previousFirst = -1;
        for (const FileRenamer::Groups::Group group : layout.groups) {
            // In the given order, and the groups in the order of their first moves.
            QVERIFY(std::is_sorted(group.begin(), group.end()));
            QCOMPARE_GT(group.front(), previousFirst);
            previousFirst = group.front();
            for (const qsizetype i : group)
                grouped.append(i);
        }
        std::sort(grouped.begin(), grouped.end());
        QList<qsizetype> every(count);
        std::iota(every.begin(), every.end(), 0);
        QCOMPARE(grouped, every);
    }

    void destinationHeldByAnUnlistedFile()
    {
        create({u"a.txt"_s, u"b.txt"_s});
        QTest::ignoreMessage(QtWarningMsg, "1 of 1 renames failed");
        const auto failures = FileRenamer::perform({op(u"a.txt"_s, u"b.txt"_s)}).failures;
        QCOMPARE(
            failures,
            (FileRenamer::Failures{
                {u"a.txt"_s,
                 u"“a.txt” couldn't be renamed to “b.txt” because an item with that name already exists."_s}}));
        QCOMPARE(contents(), (QMap<QString, QString>{{u"a.txt"_s, u"a.txt"_s}, {u"b.txt"_s, u"b.txt"_s}}));
    }

    void fileWhoseDestinationStaysTakenGoesBack()
    {
        create({u"a"_s, u"b"_s});
        PickyMover mover(
            [](const QString& from, const QString& to) { return from == u"b" && to == u"c" ? EACCES : 0; });
        QTest::ignoreMessage(QtWarningMsg, "2 of 2 renames failed");
        const auto failures = FileRenamer::perform({op(u"a"_s, u"b"_s), op(u"b"_s, u"c"_s)}, mover).failures;
        QCOMPARE(failures,
                 (FileRenamer::Failures{
                     {u"a"_s, u"“a” kept its name because “b” couldn't be renamed."_s},
                     {u"b"_s,
                      u"“b” couldn't be renamed to “c” because you don't have permission to change it."_s}}));
        QCOMPARE(contents(), (QMap<QString, QString>{{u"a"_s, u"a"_s}, {u"b"_s, u"b"_s}}));
    }

    // A group is all-or-nothing: whichever move of a rotation fails, and why, every file of it has its old
    // name again afterwards, and a group beside it still moves.
    void failedMoveReversesItsGroup_data()
    {
        QTest::addColumn<int>("failing");
        QTest::addColumn<int>("reason");
        for (const int reason : {EIO, ENOSPC, EACCES, EPERM})
            for (int k = 0; k < 8; ++k) // a rotation of four takes eight moves
                QTest::addRow("move %d fails with %s", k + 1, strerrorname_np(reason)) << k << reason;
    }
    void failedMoveReversesItsGroup()
    {
        QFETCH(int, failing);
        QFETCH(int, reason);
        create({u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"x"_s});
        int rotationMoves = 0;
        PickyMover mover([&](const QString& from, const QString& to) {
            if (from == u"x" || to == u"y")
                return 0;
            return rotationMoves++ == failing ? reason : 0;
        });
        QTest::ignoreMessage(QtWarningMsg, "4 of 5 renames failed");
        const auto result = FileRenamer::perform({op(u"a"_s, u"b"_s), op(u"b"_s, u"c"_s), op(u"x"_s, u"y"_s),
                                                  op(u"c"_s, u"d"_s), op(u"d"_s, u"a"_s)},
                                                 mover);
        QCOMPARE(
            contents(),
            (QMap<QString, QString>{
                {u"a"_s, u"a"_s}, {u"b"_s, u"b"_s}, {u"c"_s, u"c"_s}, {u"d"_s, u"d"_s}, {u"y"_s, u"x"_s}}));
        QCOMPARE(result.stranded, (QHash<QString, QString>{}));
        QCOMPARE(result.failures.size(), 4);
        const qsizetype kept =
            std::count_if(result.failures.cbegin(), result.failures.cend(), [](const QString& message) {
                return message.contains(u"kept its name because"_s);
            });
        QCOMPARE(kept, 3); // the file whose move failed carries the move error
    }

    // A target that differs from a listed file's name only in case, and is held by an unlisted file.
    void caseOnlyCollisionWithAnUnlistedFileChangesNothing()
    {
        create({u"a.txt"_s, u"b.txt"_s, u"y.txt"_s, u"B.txt"_s});
        QTest::ignoreMessage(QtWarningMsg, "3 of 3 renames failed");
        const auto result = FileRenamer::perform(
            {op(u"a.txt"_s, u"y.txt"_s), op(u"b.txt"_s, u"c.txt"_s), op(u"y.txt"_s, u"B.txt"_s)});
        QCOMPARE(result.failures.value(u"y.txt"_s),
                 u"“y.txt” couldn't be renamed to “B.txt” because an item with that name already exists."_s);
        QCOMPARE(contents(), (QMap<QString, QString>{{u"B.txt"_s, u"B.txt"_s},
                                                     {u"a.txt"_s, u"a.txt"_s},
                                                     {u"b.txt"_s, u"b.txt"_s},
                                                     {u"y.txt"_s, u"y.txt"_s}}));
    }

    void failedMoveBackLeavesTheTemporaryName()
    {
        create({u"a"_s, u"b"_s});
        // a parks, b cannot leave, and a can neither return nor take b: a stays under its temporary name.
        PickyMover mover([](const QString& from, const QString& to) {
            if (from == u"b" && to == u"c")
                return EBUSY;
            return from.startsWith(u".tessary-"_s) && to == u"a" ? EIO : 0;
        });
        QTest::ignoreMessage(
            QtCriticalMsg,
            QRegularExpression(u"^Failed to restore <private> from \\.tessary-[0-9A-F-]{36}$"_s));
        QTest::ignoreMessage(QtWarningMsg, "2 of 2 renames failed");
        const auto result = FileRenamer::perform({op(u"a"_s, u"b"_s), op(u"b"_s, u"c"_s)}, mover);

        const QMap<QString, QString> after = contents();
        QCOMPARE(after.size(), 2);
        QCOMPARE(after.value(u"b"_s), u"b"_s);
        const QString parked = after.firstKey(); // ".tessary-…" sorts before "b"
        QVERIFY2(temporaryName.match(parked).hasMatch(), qPrintable(parked));
        QCOMPARE(after.value(parked), u"a"_s);
        QCOMPARE(result.failures.value(u"a"_s),
                 u"“a” kept its name because “b” couldn't be renamed. "
                 u"The file was left as “%1” in the same folder."_s.arg(parked));
        QCOMPARE(result.stranded, (QHash<QString, QString>{{u"a"_s, path(parked)}}));
    }

    // When a file cannot go back, it takes its destination if that is free, rather than stay hidden.
    void fileThatCannotGoBackTakesAFreeDestination()
    {
        create({u"a"_s, u"b"_s});
        PickyMover mover([](const QString& from, const QString& to) {
            if (from == u"b" && to == u"c")
                return EBUSY;
            return from.startsWith(u".tessary-"_s) && to == u"b" ? EIO : 0;
        });
        QTest::ignoreMessage(QtWarningMsg, "2 of 2 renames failed");
        const auto result = FileRenamer::perform({op(u"b"_s, u"c"_s), op(u"a"_s, u"b"_s)}, mover);
        QCOMPARE(contents(), (QMap<QString, QString>{{u"a"_s, u"a"_s}, {u"b"_s, u"b"_s}}));
        QCOMPARE(result.stranded, (QHash<QString, QString>{}));
    }

    void realFailuresRootCannotAvoid_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("message");

        QTest::newRow("folder that does not exist")
            << u"a"_s << u"missing/a"_s
            << u"“a” couldn't be renamed to “a” because the folder it was to be moved into doesn't exist."_s;
        QTest::newRow("source gone") << u"gone"_s << u"b"_s
                                     << u"“gone” couldn't be renamed to “b” because it no longer exists."_s;
        QTest::newRow("name too long")
            << u"a"_s << QString(256, u'x')
            << u"“a” couldn't be renamed to “%1” because the name is too long for this file system."_s.arg(
                   QString(256, u'x'));
    }
    void realFailuresRootCannotAvoid()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, message);
        create({u"a"_s});
        QTest::ignoreMessage(QtWarningMsg, "1 of 1 renames failed");
        QCOMPARE(FileRenamer::perform({op(from, to)}).failures, (FileRenamer::Failures{{from, message}}));
        QCOMPARE(contents(), (QMap<QString, QString>{{u"a"_s, u"a"_s}}));
    }

    void folderRenamedWithFilesInOtherFolders()
    {
        QVERIFY(QDir(folder->path()).mkpath(u"photos/2024"_s));
        QVERIFY(QDir(folder->path()).mkpath(u"docs"_s));
        create({u"photos/2024/x.jpg"_s, u"docs/a.txt"_s, u"docs/b.txt"_s});
        const auto failures =
            FileRenamer::perform({op(u"photos/2024"_s, u"photos/2024-summer"_s),
                                  op(u"docs/a.txt"_s, u"docs/b.txt"_s), op(u"docs/b.txt"_s, u"docs/a.txt"_s)})
                .failures;
        QCOMPARE(failures, FileRenamer::Failures{});
        QCOMPARE(contents(u"photos"_s), (QMap<QString, QString>{{u"2024-summer"_s, u"<folder>"_s}}));
        QCOMPARE(contents(u"photos/2024-summer"_s),
                 (QMap<QString, QString>{{u"x.jpg"_s, u"photos/2024/x.jpg"_s}}));
        QCOMPARE(contents(u"docs"_s),
                 (QMap<QString, QString>{{u"a.txt"_s, u"docs/b.txt"_s}, {u"b.txt"_s, u"docs/a.txt"_s}}));
    }

    void tenThousandInOneFolder()
    {
        // Every file takes the next one's name: 10,000 files through temporary names, one name free at the
        // end.
        constexpr int count = 10'000;
        QStringList names;
        QList<RenameOperation> operations;
        for (int i = 0; i < count; ++i)
            names.append(u"f%1"_s.arg(i));
        create(names);
        for (int i = 0; i < count; ++i)
            operations.append(op(names[i], u"f%1"_s.arg(i + 1)));
        QCOMPARE(FileRenamer::perform(operations).failures, FileRenamer::Failures{});
        const QMap<QString, QString> after = contents();
        QCOMPARE(after.size(), count);
        for (int i = 0; i < count; ++i)
            QCOMPARE(after.value(u"f%1"_s.arg(i + 1)), names[i]);
    }

    void laterFailureForTheSameIdReplacesTheEarlier()
    {
        create({u"a"_s, u"b"_s, u"x"_s, u"y"_s});
        QTest::ignoreMessage(QtWarningMsg, "1 of 2 renames failed"); // the map holds one entry per id
        const auto failures = FileRenamer::perform({{u"same"_s, path(u"a"_s), path(u"x"_s)},
                                                    {u"same"_s, path(u"b"_s), path(u"y"_s)}})
                                  .failures;
        QCOMPARE(failures,
                 (FileRenamer::Failures{
                     {u"same"_s,
                      u"“b” couldn't be renamed to “y” because an item with that name already exists."_s}}));
    }

    void temporaryNamesAreFreshUuids()
    {
        const QString first = FileRenamer::newTemporaryName();
        QVERIFY2(temporaryName.match(first).hasMatch(), qPrintable(first));
        QVERIFY(first != FileRenamer::newTemporaryName());
    }

    // The mover keeps the folder of its moves open: each move must still land in the folder its paths name,
    // whichever folder the move before it was in.
    void movesLandInTheFoldersTheirPathsName()
    {
        create({u"x/a"_s, u"x/b"_s, u"xa"_s, u"y/a"_s, u"y/c"_s});
        NonReplacingMover mover;
        QCOMPARE(mover.move(path(u"x/a"_s), path(u"x/d"_s)), 0);
        QCOMPARE(mover.move(path(u"y/a"_s), path(u"y/e"_s)), 0);
        QCOMPARE(mover.move(path(u"x/b"_s), path(u"x/d"_s)), EEXIST);
        QCOMPARE(mover.move(path(u"y/c"_s), path(u"y/d"_s)), 0);
        QCOMPARE(mover.move(path(u"x/b"_s), path(u"y/b"_s)), 0);
        QCOMPARE(mover.move(path(u"y/missing"_s), path(u"y/f"_s)), ENOENT);
        QCOMPARE(mover.move(path(u"xa"_s), path(u"x/a"_s)), 0);
        QCOMPARE(mover.move(path(u"x/d"_s), path(u"xd"_s)), 0);
        QCOMPARE(contents(u"x"_s), (QMap<QString, QString>{{u"a"_s, u"xa"_s}}));
        QCOMPARE(contents(u"y"_s),
                 (QMap<QString, QString>{{u"b"_s, u"x/b"_s}, {u"d"_s, u"y/c"_s}, {u"e"_s, u"y/a"_s}}));
        QCOMPARE(contents(), (QMap<QString, QString>{
                                 {u"x"_s, u"<folder>"_s}, {u"xd"_s, u"x/a"_s}, {u"y"_s, u"<folder>"_s}}));
    }

    // A folder removed and made anew under its path is the one moved in, not the one held open before.
    void folderMadeAnewIsMovedIn()
    {
        create({u"x/a"_s, u"x/b"_s});
        NonReplacingMover mover;
        QCOMPARE(mover.move(path(u"x/a"_s), path(u"x/c"_s)), 0);
        QVERIFY(QDir(path(u"x"_s)).removeRecursively());
        create({u"x/b"_s});
        QCOMPARE(mover.move(path(u"x/b"_s), path(u"x/d"_s)), 0);
        QCOMPARE(contents(u"x"_s), (QMap<QString, QString>{{u"d"_s, u"x/b"_s}}));
    }

    void linkingFallbackNeverReplaces()
    {
        create({u"a"_s, u"b"_s});
        QVERIFY(QDir(folder->path()).mkdir(u"folder"_s));
        QCOMPARE(NonReplacingMover::moveByLinking(path(u"a"_s), path(u"b"_s)), EEXIST);
        QCOMPARE(NonReplacingMover::moveByLinking(path(u"folder"_s), path(u"other"_s)), EISDIR);
        QCOMPARE(NonReplacingMover::moveByLinking(path(u"missing"_s), path(u"c"_s)), ENOENT);
        QCOMPARE(NonReplacingMover::moveByLinking(path(u"a"_s), path(u"c"_s)), 0);
        QCOMPARE(contents(),
                 (QMap<QString, QString>{{u"b"_s, u"b"_s}, {u"c"_s, u"a"_s}, {u"folder"_s, u"<folder>"_s}}));
    }

    // For file systems with neither RENAME_NOREPLACE nor hard links: files and folders move onto their own
    // reservation, and a taken name stays untouched.
    void reservingFallbackNeverReplaces()
    {
        create({u"a"_s, u"b"_s, u"folder/inside"_s, u"full/x"_s});
        QCOMPARE(NonReplacingMover::moveByReserving(path(u"a"_s), path(u"b"_s)), EEXIST);
        QCOMPARE(NonReplacingMover::moveByReserving(path(u"folder"_s), path(u"full"_s)), EEXIST);
        QCOMPARE(NonReplacingMover::moveByReserving(path(u"missing"_s), path(u"c"_s)), ENOENT);
        QCOMPARE(NonReplacingMover::moveByReserving(path(u"a"_s), path(u"c"_s)), 0);
        QCOMPARE(NonReplacingMover::moveByReserving(path(u"folder"_s), path(u"moved"_s)), 0);
        QCOMPARE(NonReplacingMover::moveByReserving(path(u"b"_s), path(u"nowhere/b"_s)), ENOENT);
        QCOMPARE(contents(), (QMap<QString, QString>{{u"b"_s, u"b"_s},
                                                     {u"c"_s, u"a"_s},
                                                     {u"full"_s, u"<folder>"_s},
                                                     {u"moved"_s, u"<folder>"_s}}));
        QCOMPARE(contents(u"moved"_s), (QMap<QString, QString>{{u"inside"_s, u"folder/inside"_s}}));
    }
};

QTEST_GUILESS_MAIN(tst_FileRenamer)
#include "tst_FileRenamer.moc"
