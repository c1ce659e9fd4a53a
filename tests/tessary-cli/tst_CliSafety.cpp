// tessary-cli where a file could be lost: a move the kernel refuses, a full disk, a second rename at the
// same time, a file system without birth times, and names the text of a path can't carry. Cases that need
// a file system of their own mount one (as root) and are skipped where that is not possible.
#include "CliRun.h"
#include "TestFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

bool succeeds(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(60'000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// A file system mounted for one test, unmounted at its end.
class Mount {
public:
    explicit Mount(const QStringList& mountArguments, const QString& image = QString()) : image(image)
    {
        mounted = root.isValid() && succeeds(u"mount"_s, mountArguments + QStringList{root.path()});
    }
    ~Mount()
    {
        if (mounted)
            succeeds(u"umount"_s, {root.path()});
    }
    bool isMounted() const { return mounted; }
    QString path() const { return root.path(); }

private:
    QTemporaryDir root;
    QString image;
    bool mounted = false;
};

const QStringList rotation{u"a"_s, u"b"_s, u"c"_s};
const QStringList rotate{u"--script"_s, u"fields.t = {a: 'b', b: 'c', c: 'a'}[fields.filename]"_s,
                         u"--pattern"_s, u"{t}"_s};

QMap<QString, QString> unchanged(const QStringList& names)
{
    QMap<QString, QString> map;
    for (const QString& name : names)
        map.insert(name, name);
    return map;
}

bool hasTemporaryEntry(const QString& folder)
{
    return !QDir(folder)
                .entryList({u".tessary-*"_s}, QDir::AllEntries | QDir::Hidden | QDir::System)
                .isEmpty();
}

} // namespace

class tst_CliSafety : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> scratch;
    QString files;
    QString state;

    CliRun run(const QStringList& arguments, const QByteArray& input = QByteArray()) const
    {
        return CliRun::of(arguments, files, state, input);
    }

    void useFolders(const QString& root)
    {
        files = root + u"/files"_s;
        state = root + u"/state"_s;
        QVERIFY(QDir().mkpath(files) && QDir().mkpath(state));
    }

private Q_SLOTS:
    void init()
    {
        scratch.emplace();
        useFolders(scratch->path());
    }

    // a → y, b → c, y → B, next to an unlisted B: B only looks like the listed b, so y can't have it.
    void nameThatOnlyLooksLikeAListedFileIsTaken()
    {
        TestFolder::create(files, {u"a.txt"_s, u"b.txt"_s, u"y.txt"_s, u"B.txt"_s});
        const QStringList rules{u"--script"_s, u"fields.t = {a: 'y', b: 'c', y: 'B'}[fields.filename]"_s,
                                u"--pattern"_s, u"{t}"_s};
        const CliRun result =
            run(QStringList{u"rename"_s} + rules + QStringList{u"a.txt"_s, u"b.txt"_s, u"y.txt"_s});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.error, u"tessary-cli: Fix the errors in the file list first\n"_s);
        const CliRun plan =
            run(QStringList{u"plan"_s} + rules + QStringList{u"a.txt"_s, u"b.txt"_s, u"y.txt"_s});
        QVERIFY2(plan.output.contains(u"y.txt  →  B.txt\n    “B.txt” already exists in this folder\n"_s),
                 qPrintable(plan.output));
        QCOMPARE(TestFolder::contents(files), unchanged({u"a.txt"_s, u"b.txt"_s, u"y.txt"_s, u"B.txt"_s}));
    }

    // Beside the rotation, a file of its own moves, and one keeps its name: each row tells how its file
    // fared.
    void immutableFileHoldsBackItsRotation()
    {
        TestFolder::create(files, rotation + QStringList{u"d"_s, u"x"_s});
        if (!succeeds(u"chattr"_s, {u"+i"_s, files + u"/b"_s}))
            QSKIP("chattr +i needs root and a file system that keeps the flag");
        const auto release = qScopeGuard([&] { succeeds(u"chattr"_s, {u"-i"_s, files + u"/b"_s}); });
        const QStringList rules{u"--script"_s,
                                u"fields.t = {a: 'b', b: 'c', c: 'a', d: 'e', x: 'x'}[fields.filename]"_s,
                                u"--pattern"_s, u"{t}"_s};
        const CliRun result = run(QStringList{u"rename"_s} + rules + rotation + QStringList{u"d"_s, u"x"_s});
        QCOMPARE(result.exitCode, 1);
        const QStringList rows = result.output.split(u'\n');
        QCOMPARE(rows.size(), 9);
        QCOMPARE(rows.mid(0, 2), (QStringList{u"a  →  b  (not renamed)"_s,
                                              u"    “a” kept its name because “b” couldn't be renamed."_s}));
        QCOMPARE(rows[2], u"b  →  c  (not renamed)"_s);
        QVERIFY2(rows[3].endsWith(u"because you don't have permission to change it."_s), qPrintable(rows[3]));
        QCOMPARE(rows.mid(4),
                 (QStringList{u"c  →  a  (not renamed)"_s,
                              u"    “c” kept its name because “b” couldn't be renamed."_s,
                              u"d  →  e  (renamed)"_s, u"x  →  unchanged  (not renamed)"_s, u""_s}));
        QMap<QString, QString> after = unchanged(rotation + QStringList{u"x"_s});
        after.insert(u"e"_s, u"d"_s);
        QCOMPARE(TestFolder::contents(files), after);
        QVERIFY(!hasTemporaryEntry(files));
        QCOMPARE(run({u"recover"_s}).exitCode, 0);
    }

    // The journal can't be written on a full disk: nothing moves and nothing is left behind.
    void fullDiskMovesNothingAndLeavesNothing()
    {
        const Mount disk({u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=512k"_s, u"tmpfs"_s});
        if (!disk.isMounted())
            QSKIP("mounting a small file system needs root");
        useFolders(disk.path());
        TestFolder::create(files, rotation);
        QFile filler(disk.path() + u"/filler"_s);
        QVERIFY(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        filler.close();
        const CliRun result = run(QStringList{u"rename"_s} + rotate + rotation);
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.error.contains(u"so nothing was renamed."_s), qPrintable(result.error));
        QCOMPARE(TestFolder::contents(files), unchanged(rotation));
        const QString journal = state + u"/org.tessary.Tessary/journal"_s;
        QCOMPARE(QDir(journal).entryList(QDir::Files | QDir::Hidden), QStringList());
        const CliRun recovery = run({u"recover"_s});
        QCOMPARE(recovery.exitCode, 0);
        QCOMPARE(recovery.error, QString()); // no warning about a damaged entry
    }

    void renameWhileAnotherHoldsTheFoldersIsRefused()
    {
        TestFolder::create(files, rotation);
        const int folder = ::open(QFile::encodeName(files).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        QVERIFY(folder >= 0);
        const auto close = qScopeGuard([&] { ::close(folder); });
        QCOMPARE(::flock(folder, LOCK_EX), 0); // as a rename in another process holds it
        const CliRun result = run(QStringList{u"rename"_s} + rotate + rotation);
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.error,
                 u"tessary-cli: Another rename is in progress, in Tessary or in a terminal. Try "
                 "again when it has finished.\n"_s);
        QCOMPARE(TestFolder::contents(files), unchanged(rotation));
    }

    // Two renames of the same rotation at once: one after the other, each whole, nothing hidden.
    void twoRenamesAtOnceTakeTurns()
    {
        QStringList names;
        QString table;
        for (int i = 0; i < 300; ++i) {
            names.append(u"f%1"_s.arg(i));
            table += u"f%1: 'f%2', "_s.arg(i).arg((i + 1) % 300);
        }
        TestFolder::create(files, names);
        const QStringList arguments =
            QStringList{u"rename"_s, u"--script"_s, u"fields.t = {%1}[fields.filename]"_s.arg(table),
                        u"--pattern"_s, u"{t}"_s} +
            names;
        QProcess first, second;
        for (QProcess* process : {&first, &second}) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(u"XDG_STATE_HOME"_s, state);
            process->setProcessEnvironment(environment);
            process->setWorkingDirectory(files);
            process->start(QStringLiteral(TESSARY_CLI_PATH), arguments);
        }
        QVERIFY(first.waitForFinished(120'000) && second.waitForFinished(120'000));
        QVERIFY(first.exitCode() == 0 || second.exitCode() == 0);
        QVERIFY(!hasTemporaryEntry(files));
        const QMap<QString, QString> found = TestFolder::contents(files);
        QCOMPARE(found.size(), 300);
        const int shift = found.value(u"f1"_s).mid(1).toInt() == 0 ? 1 : 2; // renamed once or twice
        for (int i = 0; i < 300; ++i)
            QCOMPARE(found.value(u"f%1"_s.arg((i + (shift == 1 ? 1 : 2)) % 300)), u"f%1"_s.arg(i));
    }

    // Without birth times an inode number comes back for the next file; undo must still know it.
    void undoRefusesAReplacedFileWithoutBirthTimes()
    {
        const QString image = scratch->filePath(u"ext2.img"_s);
        QFile file(image);
        if (!file.open(QIODevice::WriteOnly) || !file.resize(8 << 20))
            QFAIL("cannot make the image");
        file.close();
        if (!succeeds(u"mkfs.ext2"_s, {u"-q"_s, u"-F"_s, u"-I"_s, u"128"_s, image}))
            QSKIP("mkfs.ext2 is not available");
        const Mount disk({u"-o"_s, u"loop"_s, image}, image);
        if (!disk.isMounted())
            QSKIP("mounting a loop device needs root");
        useFolders(disk.path());
        TestFolder::create(files, {u"a"_s});
        QCOMPARE(run({u"rename"_s, u"--pattern"_s, u"b"_s, u"a"_s}).exitCode, 0);
        QVERIFY(QFile::remove(files + u"/b"_s));
        TestFolder::create(files, {u"b"_s}); // most often given the inode that was a's
        const CliRun undo = run({u"undo"_s});
        QCOMPARE(undo.exitCode, 1);
        QVERIFY2(
            undo.output.contains(u"“b” was replaced or changed since the rename, so it keeps that name."_s),
            qPrintable(undo.output));
        QCOMPARE(TestFolder::contents(files), unchanged({u"b"_s}));
    }

    // Two halves of characters that the disk would both write as U+FFFD.
    void loneSurrogatesAreRefused()
    {
        TestFolder::create(files, {u"a"_s, u"b"_s});
        const CliRun result = run({u"rename"_s, u"--script"_s,
                                   u"fields.t = fields.filename === 'a' ? 'x\\uD800' : 'x\\uDBFF'"_s,
                                   u"--pattern"_s, u"{t}"_s, u"a"_s, u"b"_s});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(TestFolder::contents(files), unchanged({u"a"_s, u"b"_s}));
        const CliRun plan =
            run({u"plan"_s, u"--script"_s, u"fields.t = 'x\\uD800'"_s, u"--pattern"_s, u"{t}"_s, u"a"_s});
        QVERIFY2(plan.output.contains(u"The new name contains a lone surrogate"_s), qPrintable(plan.output));
    }

    // A name that isn't UTF-8 next to one that really holds U+FFFD: neither moves, and -r lists it.
    void nameThatIsNotUtf8TouchesNoOtherFile_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::newRow("on standard input") << QStringList{u"-"_s} << QByteArray("a\xff.txt\0", 8);
        QTest::newRow("below a folder") << QStringList{u"-r"_s, u"."_s} << QByteArray();
    }
    void nameThatIsNotUtf8TouchesNoOtherFile()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        const QByteArray folder = QFile::encodeName(files) + '/';
        const QByteArrayList names{"a\xff.txt", "a\xef\xbf\xbd.txt"};
        const auto removeAll = qScopeGuard([&] { // QTemporaryDir can't remove a name Qt can't read
            for (const QByteArray& name : names)
                ::unlink((folder + name).constData());
        });
        for (const QByteArray& name : names) {
            const int fd = ::open((folder + name).constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
            QVERIFY(fd >= 0);
            QCOMPARE(::write(fd, name.constData(), size_t(name.size())), ssize_t(name.size()));
            ::close(fd);
        }
        const QStringList rules{u"--pattern"_s, u"{filename}-new"_s};
        const CliRun plan = run(QStringList{u"plan"_s} + rules + arguments, input);
        QCOMPARE(plan.exitCode, 1);
        QVERIFY2(plan.output.contains(u"isn't valid UTF-8 text"_s), qPrintable(plan.output));
        QCOMPARE(run(QStringList{u"rename"_s} + rules + arguments, input).exitCode, 1);
        for (const QByteArray& name : names) {
            QFile file(QFile::decodeName(folder + name));
            const int fd = ::open((folder + name).constData(), O_RDONLY | O_CLOEXEC);
            QVERIFY2(fd >= 0, name.constData());
            QByteArray content(64, '\0');
            content.resize(::read(fd, content.data(), size_t(content.size())));
            ::close(fd);
            QCOMPARE(content, name);
        }
    }
};

QTEST_GUILESS_MAIN(tst_CliSafety)
#include "tst_CliSafety.moc"
