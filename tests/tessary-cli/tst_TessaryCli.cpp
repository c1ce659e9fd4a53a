#include "CliRun.h"
#include "TestFolder.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <pty.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

using Run = CliRun;

// tessary-cli run as a program on real temporary folders.
class tst_TessaryCli : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> folder;
    std::optional<QTemporaryDir> state;

    QString path(const QString& name) const { return folder->filePath(name); }

    Run run(const QStringList& arguments, const QByteArray& input = QByteArray()) const
    {
        return CliRun::of(arguments, folder->path(), state->path(), input);
    }

    void create(const QStringList& names) const { TestFolder::create(folder->path(), names); }
    QMap<QString, QString> contents() const { return TestFolder::contents(folder->path()); }

    void setModified(const QString& name, const QDateTime& time) const
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
    }

    // What a terminal receives when it is the run's standard error.
    QByteArray errorOnTerminal(const QStringList& arguments) const
    {
        int terminal = -1;
        int side = -1;
        if (::openpty(&terminal, &side, nullptr, nullptr, nullptr) != 0)
            return {};
        CliRun::of(arguments, folder->path(), state->path(), {}, {}, [side] { ::dup2(side, STDERR_FILENO); });
        ::close(side);
        QByteArray shown;
        char buffer[4096];
        for (ssize_t got; (got = ::read(terminal, buffer, sizeof buffer)) > 0;)
            shown.append(buffer, got);
        ::close(terminal);
        return shown;
    }

    const QStringList numbered{u"--regex"_s, u"(?P<name>.*)-(?P<n>\\d+)"_s, u"--pattern"_s, u"{n}_{name}"_s};

private Q_SLOTS:
    void init()
    {
        folder.emplace();
        state.emplace();
    }

    void planShowsEveryFileInOrder()
    {
        create({u"photo-12.jpg"_s, u"photo-3.jpg"_s, u"other.jpg"_s});
        const Run result = run(QStringList{u"plan"_s} + numbered +
                               QStringList{u"photo-12.jpg"_s, u"photo-3.jpg"_s, u"other.jpg"_s});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.output, u"other.jpg  →  unchanged\n"
                                u"    The regular expression doesn't match the whole file name\n"
                                u"photo-3.jpg  →  3_photo.jpg\n"
                                u"photo-12.jpg  →  12_photo.jpg\n"
                                u"3 files, 2 to rename, 1 error\n"_s);
        QCOMPARE(result.error, QString()); // no progress line when standard error is not a terminal
        QCOMPARE(contents().size(), 3);
    }

    // Formats, and the counter a script keeps in its context, end to end through the real helper.
    void formatsAndCountersRename()
    {
        create({u"b-ærø.txt"_s, u"a-köln.txt"_s});
        const Run result = run(
            {u"rename"_s, u"--regex"_s, u"(?P<letter>.)-(?P<town>.*)"_s, u"--script"_s,
             u"context.count = (context.count || 0) + 1; fields.n = String(context.count)"_s, u"--pattern"_s,
             u"{n:03}_{town:ascii:title}_{letter:upper}"_s, u"b-ærø.txt"_s, u"a-köln.txt"_s});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(contents().keys(), (QStringList{u"001_Koln_A.txt"_s, u"002_Aero_B.txt"_s}));
    }

    // The order numbers the files and feeds the script; the counter and {row} agree.
    void orderNumbersTheFiles_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("renamed");

        QTest::newRow("name") << QStringList{} << QStringList{u"1-1_a.txt"_s, u"2-2_b.txt"_s, u"3-3_c.txt"_s};
        QTest::newRow("listed: as given") << QStringList{u"--order"_s, u"listed"_s}
                                          << QStringList{u"1-1_c.txt"_s, u"2-2_a.txt"_s, u"3-3_b.txt"_s};
        QTest::newRow("date modified") << QStringList{u"--order"_s, u"moddate,modtime"_s}
                                       << QStringList{u"1-1_b.txt"_s, u"2-2_c.txt"_s, u"3-3_a.txt"_s};
        QTest::newRow("date modified, reversed")
            << QStringList{u"--order"_s, u"moddate,modtime"_s, u"--reverse"_s}
            << QStringList{u"1-1_a.txt"_s, u"2-2_c.txt"_s, u"3-3_b.txt"_s};
        QTest::newRow("a field no file has: by name")
            << QStringList{u"--order"_s, u"image.date"_s}
            << QStringList{u"1-1_a.txt"_s, u"2-2_b.txt"_s, u"3-3_c.txt"_s};
    }
    void orderNumbersTheFiles()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, renamed);
        create({u"a.txt"_s, u"b.txt"_s, u"c.txt"_s});
        const QDateTime base = QDateTime::currentDateTime().addDays(-3);
        setModified(u"b.txt"_s, base);
        setModified(u"c.txt"_s, base.addSecs(3600));
        setModified(u"a.txt"_s, base.addDays(1));
        const Run result =
            run(QStringList{u"rename"_s, u"--script"_s,
                            u"context.n = (context.n || 0) + 1; fields.n = String(context.n)"_s,
                            u"--pattern"_s, u"{row}-{n}_{filename}"_s} +
                options + QStringList{u"c.txt"_s, u"a.txt"_s, u"b.txt"_s});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(contents().keys(), renamed);
    }

    void duplicatesAreNumberedWhenAsked()
    {
        create({u"1.txt"_s, u"2.txt"_s, u"3.txt"_s, u"burst.txt"_s});
        const QStringList files{u"3.txt"_s, u"1.txt"_s, u"2.txt"_s};
        const Run refused = run(QStringList{u"rename"_s, u"--pattern"_s, u"burst"_s} + files);
        QCOMPARE(refused.exitCode, 1);
        const Run result =
            run(QStringList{u"rename"_s, u"--pattern"_s, u"burst"_s, u"--number-duplicates"_s} + files);
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(contents().keys(),
                 (QStringList{u"burst (2).txt"_s, u"burst (3).txt"_s, u"burst (4).txt"_s, u"burst.txt"_s}));
        QCOMPARE(contents().value(u"burst (2).txt"_s), u"1.txt"_s);
        QCOMPARE(contents().value(u"burst (4).txt"_s), u"3.txt"_s);
    }

    void unknownFormatIsAnErrorOfTheFile()
    {
        create({u"a.txt"_s});
        const Run result = run({u"plan"_s, u"--pattern"_s, u"{filename:bold}"_s, u"a.txt"_s});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.output, u"a.txt  →  {filename:bold}.txt\n"
                                u"    The pattern uses the unknown format “bold” in “{filename:bold}”\n"
                                u"1 file, 1 to rename, 1 error\n"_s);
    }

    // A placeholder that names no field stays literal and the file still renames, with a warning.
    void unknownFieldWarnsAndRenames()
    {
        create({u"a.txt"_s});
        const Run plan = run({u"plan"_s, u"--pattern"_s, u"{imgae.date}-{filename}"_s, u"a.txt"_s});
        QCOMPARE(plan.exitCode, 0);
        QCOMPARE(plan.output, u"a.txt  →  {imgae.date}-a.txt\n"
                              u"    The pattern uses “{imgae.date}”, which this file doesn't have\n"
                              u"1 file, 1 to rename, 0 errors\n"_s);
        const Run json = run({u"plan"_s, u"--json"_s, u"--pattern"_s, u"{imgae.date}"_s, u"a.txt"_s});
        QCOMPARE(QJsonDocument::fromJson(json.output.toUtf8()).object().value(u"warning"_s).toString(),
                 u"The pattern uses “{imgae.date}”, which this file doesn't have"_s);
        QCOMPARE(run({u"rename"_s, u"--pattern"_s, u"{imgae.date}-{filename}"_s, u"a.txt"_s}).exitCode, 0);
        QCOMPARE(contents().keys(), QStringList{u"{imgae.date}-a.txt"_s});
    }

    void planAsJson()
    {
        create({u"a-1.txt"_s, u"b-2.txt"_s});
        const Run result =
            run(QStringList{u"plan"_s, u"--json"_s} + numbered + QStringList{u"a-1.txt"_s, u"b-2.txt"_s});
        QCOMPARE(result.exitCode, 0);
        const QStringList lines = result.output.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        const QJsonObject first = QJsonDocument::fromJson(lines[0].toUtf8()).object();
        QCOMPARE(first.value(u"path"_s).toString(), path(u"a-1.txt"_s));
        QCOMPARE(first.value(u"resultName"_s).toString(), u"1_a.txt"_s);
        QCOMPARE(first.value(u"fields"_s).toObject().value(u"name"_s).toString(), u"a"_s);
        QCOMPARE(first.value(u"fields"_s).toObject().value(u"filename"_s).toString(), u"a-1"_s);
        QVERIFY(!first.contains(u"error"_s) && !first.contains(u"logs"_s) && !first.contains(u"renamed"_s));
    }

    void renameRefuses_data()
    {
        QTest::addColumn<QStringList>("rules");
        QTest::addColumn<QString>("reason");
        QTest::newRow("an error") << numbered << u"tessary-cli: Fix the errors in the file list first\n"_s;
        QTest::newRow("no new name") << QStringList{} << u"tessary-cli: No file gets a new name\n"_s;
    }
    void renameRefuses()
    {
        QFETCH(QStringList, rules);
        QFETCH(QString, reason);
        create({u"a-1.txt"_s, u"plain.txt"_s});
        const Run result = run(QStringList{u"rename"_s} + rules + QStringList{u"a-1.txt"_s, u"plain.txt"_s});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.error, reason);
        QCOMPARE(contents(),
                 (QMap<QString, QString>{{u"a-1.txt"_s, u"a-1.txt"_s}, {u"plain.txt"_s, u"plain.txt"_s}}));
    }

    void renameThenUndo()
    {
        create({u"a-1.txt"_s, u"b-2.txt"_s});
        const QMap<QString, QString> before = contents();
        Run result = run(QStringList{u"rename"_s} + numbered + QStringList{u"."_s, u"-r"_s});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(contents(),
                 (QMap<QString, QString>{{u"1_a.txt"_s, u"a-1.txt"_s}, {u"2_b.txt"_s, u"b-2.txt"_s}}));

        result = run({u"undo"_s, u"--json"_s});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.output.count(u"\"renamed\":false"_s), 2);
        QCOMPARE(contents(), before);

        result = run({u"undo"_s});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.error, u"tessary-cli: Nothing to undo\n"_s);
    }

    // Each command is a new process over the same journal, as after a restart.
    void historyUndoRedoInAnyOrder()
    {
        create({u"a.txt"_s, u"b.txt"_s});
        const auto renameWith = [&](const QString& suffix, const QStringList& names) {
            QCOMPARE(run(QStringList{u"rename"_s, u"--pattern"_s, u"{filename}"_s + suffix} + names).exitCode,
                     0);
        };
        renameWith(u"1"_s, {u"a.txt"_s, u"b.txt"_s});
        renameWith(u"2"_s, {u"a1.txt"_s});
        renameWith(u"3"_s, {u"b1.txt"_s});
        Run result = run({u"history"_s, u"--json"_s});
        QCOMPARE(result.exitCode, 0);
        QStringList ids;
        for (const QString& line : result.output.split(u'\n', Qt::SkipEmptyParts)) {
            const QJsonObject entry = QJsonDocument::fromJson(line.toUtf8()).object();
            QCOMPARE(entry.value(u"state"_s).toString(), u"done"_s);
            QCOMPARE(entry.value(u"folders"_s).toArray().first().toString(), folder->path());
            ids.append(entry.value(u"id"_s).toString());
        }
        QCOMPARE(ids.size(), 3);
        QCOMPARE(QJsonDocument::fromJson(result.output.section(u'\n', 0, 0).toUtf8())
                     .object()
                     .value(u"rules"_s)
                     .toObject()
                     .value(u"pattern"_s),
                 u"{filename}3"_s);
        const QString first = ids[2], second = ids[1];

        result = run({u"undo"_s, first});
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.output.contains(u"a1.txt  →  a.txt  (not restored)\n"
                                        u"    “a1.txt” was renamed again later; undo that rename first."_s),
                 qPrintable(result.output));
        const auto step = [&](const QStringList& arguments, const QStringList& names) {
            QCOMPARE(run(arguments).exitCode, 0);
            QCOMPARE(contents().keys(), names);
        };
        step({u"undo"_s}, {u"a12.txt"_s, u"b1.txt"_s});
        step({u"redo"_s}, {u"a12.txt"_s, u"b13.txt"_s});
        step({u"undo"_s}, {u"a12.txt"_s, u"b1.txt"_s});
        step({u"undo"_s, second}, {u"a1.txt"_s, u"b1.txt"_s});
        step({u"undo"_s}, {u"a.txt"_s, u"b.txt"_s});
        result = run({u"undo"_s});
        QCOMPARE(result.error, u"tessary-cli: Nothing to undo\n"_s);
        QVERIFY(run({u"history"_s}).output.contains(u"  undone  "_s));
        step({u"redo"_s}, {u"a1.txt"_s, u"b1.txt"_s});
        QCOMPARE(run({u"history"_s, first.left(6)}).output,
                 u"a.txt  →  a1.txt  (renamed)\nb.txt  →  b1.txt  (renamed)\n"_s);
        result = run({u"redo"_s, u"ffffffff"_s});
        QCOMPARE(result.error,
                 u"tessary-cli: No single rename has the ID “ffffffff”: see tessary-cli history\n"_s);
    }

    void aRegexErrorIsToldOnce()
    {
        create({u"a.txt"_s, u"b.txt"_s});
        const Run result = run({u"rename"_s, u"--regex"_s, u"ab("_s, u"a.txt"_s, u"b.txt"_s});
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(
            result.error.startsWith(u"tessary-cli: The regular expression has an error at character 4: "_s),
            qPrintable(result.error));
        QCOMPARE(result.error.count(u'\n'), 1);
        QCOMPARE(result.output, QString());
        QCOMPARE(contents().keys(), (QStringList{u"a.txt"_s, u"b.txt"_s}));
    }

    void swapThroughTheScript()
    {
        create({u"a.txt"_s, u"b.txt"_s});
        const Run result =
            run({u"rename"_s, u"--script"_s, u"fields.new = fields.filename == 'a' ? 'b' : 'a'"_s,
                 u"--pattern"_s, u"{new}"_s, u"a.txt"_s, u"b.txt"_s});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(contents(), (QMap<QString, QString>{{u"a.txt"_s, u"b.txt"_s}, {u"b.txt"_s, u"a.txt"_s}}));
    }

    void folderIsOneItemUnlessRecursive()
    {
        create({u"album/x-1.jpg"_s, u"album/deeper/y-2.jpg"_s});
        Run result =
            run(QStringList{u"plan"_s} + QStringList{u"--pattern"_s, u"{filename}-new"_s, u"album"_s});
        QCOMPARE(result.output, u"album  →  album-new\n1 file, 1 to rename, 0 errors\n"_s);
        result = run(QStringList{u"plan"_s} + numbered + QStringList{u"-r"_s, u"album"_s});
        QCOMPARE(result.output,
                 u"x-1.jpg  →  1_x.jpg\ny-2.jpg  →  2_y.jpg\n2 files, 2 to rename, 0 errors\n"_s);
    }

    void pathsOnStandardInput()
    {
        create({u"a-1.txt"_s, u"line\nbreak-2.txt"_s});
        // An empty path between two NULs is skipped, and the last path needs no NUL after it.
        const QByteArray input = QFile::encodeName(path(u"a-1.txt"_s)) + '\0' +
                                 QFile::encodeName(path(u"line\nbreak-2.txt"_s)) + '\0' + '\0' +
                                 QFile::encodeName(path(u"a-1.txt"_s));
        // (?s): the name holds a line break, which "." matches only in that mode.
        const QStringList rules{u"--regex"_s, u"(?s)(?P<name>.*)-(?P<n>\\d+)"_s, u"--pattern"_s,
                                u"{n}_{name}"_s};
        Run result = run(QStringList{u"plan"_s} + rules + QStringList{u"-"_s}, input);
        QCOMPARE(result.output, u"a-1.txt  →  1_a.txt\nline\\nbreak-2.txt  →  2_line\\nbreak.txt\n"
                                u"    The new name contains line breaks or other control characters\n"
                                u"2 files, 2 to rename, 1 error\n"_s);
        result = run(QStringList{u"plan"_s, u"--json"_s} + rules + QStringList{u"-"_s}, input);
        const QStringList lines = result.output.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(QJsonDocument::fromJson(lines[1].toUtf8()).object().value(u"resultName"_s).toString(),
                 u"2_line\nbreak.txt"_s);
    }

    void manyPathsOnStandardInput()
    {
        QByteArray input;
        for (int i = 0; i < 20'000; ++i) {
            create({u"f-%1"_s.arg(i)});
            input += QFile::encodeName(path(u"f-%1"_s.arg(i))) + '\0';
        }
        const Run result = run(QStringList{u"plan"_s} + numbered + QStringList{u"-"_s}, input);
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.output.endsWith(u"20000 files, 20000 to rename, 0 errors\n"_s));
    }

    void missingFileStopsTheRenameBeforeAnyMove()
    {
        create({u"a-1.txt"_s});
        const Run result = run(QStringList{u"rename"_s, u"--json"_s} + numbered +
                               QStringList{u"a-1.txt"_s, u"gone-2.txt"_s});
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.output.contains(u"“gone-2.txt” no longer exists"_s), qPrintable(result.output));
        QCOMPARE(contents(), (QMap<QString, QString>{{u"a-1.txt"_s, u"a-1.txt"_s}}));
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("no command") << QStringList{} << u"No command given"_s;
        QTest::newRow("unknown command") << QStringList{u"move"_s} << u"Unknown command “move”"_s;
        QTest::newRow("unknown option")
            << QStringList{u"plan"_s, u"--colour"_s, u"x"_s} << u"Unknown option “--colour”"_s;
        QTest::newRow("missing value")
            << QStringList{u"plan"_s, u"x"_s, u"--pattern"_s} << u"Option --pattern needs a value"_s;
        QTest::newRow("no paths") << QStringList{u"rename"_s} << u"No files given"_s;
        QTest::newRow("two IDs") << QStringList{u"undo"_s, u"ab12"_s, u"cd34"_s}
                                 << u"undo takes one rename ID at most, as tessary-cli history lists them"_s;
        QTest::newRow("bad timeout") << QStringList{u"plan"_s, u"--timeout"_s, u"soon"_s, u"x"_s}
                                     << u"The timeout must be a number of seconds above 0, not “soon”"_s;
        QTest::newRow("unreadable script file")
            << QStringList{u"plan"_s, u"--script-file"_s, u"/nonexistent/s.js"_s, u"x"_s}
            << u"Cannot read the script file “/nonexistent/s.js”: No such file or directory"_s;
    }
    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const Run result = run(arguments);
        QCOMPARE(result.exitCode, 2);
        QVERIFY2(result.error.startsWith(u"tessary-cli: "_s + message + u"\nUsage:"_s),
                 qPrintable(result.error));
        QCOMPARE(result.output, QString());
    }

    void interruptedRenameIsRecovered_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("kept"); // s1a's content ends under this name
        QTest::newRow("rolled back") << QStringList{u"recover"_s} << u"s1a"_s;
        QTest::newRow("rolled forward") << QStringList{u"recover"_s, u"--forward"_s} << u"s1b"_s;
    }
    void interruptedRenameIsRecovered()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, kept);
        // The files of the crash test's mix, killed after five moves.
        create({u"s1a"_s, u"s1b"_s, u"s2a"_s, u"s2b"_s, u"r1"_s, u"r2"_s, u"r3"_s, u"c1"_s, u"c2"_s, u"d1"_s,
                u"d2"_s});
        for (int i = 1; i <= 19; ++i)
            create({u"m%1"_s.arg(i)});
        QProcess crash;
        crash.start(QStringLiteral(TESSARY_CRASH_RENAMER),
                    {folder->path(), state->filePath(u"org.tessary.Tessary/journal"_s), u"5"_s});
        QVERIFY(crash.waitForFinished(60'000));
        QCOMPARE(crash.exitStatus(), QProcess::CrashExit);

        Run result = run(QStringList{u"rename"_s, u"--pattern"_s, u"x{row}"_s, u"m1"_s});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.error,
                 u"tessary-cli: An earlier rename was interrupted: run tessary-cli recover first\n"_s);

        result = run(arguments);
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(result.output.endsWith(u"30 files of 1 interrupted renames %1, 0 problems\n"_s.arg(
                     arguments.contains(u"--forward"_s) ? u"completed"_s : u"rolled back"_s)),
                 qPrintable(result.output));
        QCOMPARE(contents().value(kept), u"s1a"_s);
        QCOMPARE(contents().size(), 30);
        QCOMPARE(run({u"recover"_s}).output, u"Nothing to recover\n"_s);
    }

    // A reader module that is missing or broken costs its groups and is told about; the other groups
    // are read and nothing crashes.
    void unloadableReaderModulesAreTold_data()
    {
        QTest::addColumn<QString>("brokenModule"); // empty: no module at all
        QTest::addColumn<QStringList>("told");
        QTest::addColumn<bool>("pdfRead");
        QTest::newRow("none") << QString()
                              << QStringList{u"Image fields can't be read: %1/image-reader.so is missing"_s,
                                             u"PDF fields can't be read: %1/pdf-reader.so is missing"_s}
                              << false;
        QTest::newRow("image module not a library")
            << u"image-reader.so"_s
            << QStringList{u"Image fields can't be read: Cannot load library %1/image-reader.so: "_s} << true;
        QTest::newRow("media module not a library") << u"media-reader.so"_s << QStringList{} << true;
    }

    void unloadableReaderModulesAreTold()
    {
        QFETCH(QString, brokenModule);
        QFETCH(QStringList, told);
        QFETCH(bool, pdfRead);
        const QTemporaryDir modules;
        if (!brokenModule.isEmpty()) {
            const QDir built(QStringLiteral(TESSARY_READER_MODULES));
            for (const QString& name : built.entryList({u"*.so"_s}, QDir::Files))
                QVERIFY(QFile::link(built.filePath(name), modules.filePath(name)));
            QVERIFY(QFile::remove(modules.filePath(brokenModule)));
            QFile broken(modules.filePath(brokenModule));
            QVERIFY(broken.open(QIODevice::WriteOnly));
            broken.write("not a library\n");
        }
        const QString fixtures = QStringLiteral(TESSARY_FIXTURES);
        for (const QString& name : {u"photo.jpg"_s, u"document.pdf"_s})
            QVERIFY(QFile::copy(fixtures + u'/' + name, path(name)));

        const Run result =
            CliRun::of({u"plan"_s, u"--json"_s, u"photo.jpg"_s, u"document.pdf"_s}, folder->path(),
                       state->path(), {}, {{u"TESSARY_READER_MODULES"_s, modules.path()}});
        QCOMPARE(result.exitCode, 0);
        QStringList toldLines = result.error.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(toldLines.size(), told.size());
        toldLines.sort();
        for (qsizetype i = 0; i < told.size(); ++i)
            QVERIFY2(toldLines[i].startsWith(u"tessary-cli: "_s + told[i].arg(modules.path())),
                     qPrintable(toldLines[i]));
        const QStringList lines = result.output.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        const auto fieldsOf = [&](qsizetype line) {
            return QJsonDocument::fromJson(lines[line].toUtf8()).object().value(u"fields"_s).toObject();
        };
        QCOMPARE(fieldsOf(0).value(u"filename"_s).toString(), u"document"_s);
        QCOMPARE(fieldsOf(0).contains(u"pdf.page_count"_s), pdfRead);
        QCOMPARE(fieldsOf(1).contains(u"image.width"_s), told.isEmpty());
        QVERIFY(fieldsOf(1).contains(u"date"_s)); // the file's own dates need no module
    }

    // Slow work shows a line that is redrawn while it runs and wiped when it ends, on a terminal only.
    void progressIsShownOnATerminalOnly()
    {
        create({u"a-1.txt"_s, u"b-2.txt"_s});
        const QStringList arguments =
            QStringList{u"plan"_s} + numbered +
            QStringList{u"--script"_s, u"const end = Date.now() + 400; while (Date.now() < end) {}"_s,
                        u"a-1.txt"_s, u"b-2.txt"_s};
        const QByteArray shown = errorOnTerminal(arguments);
        QVERIFY2(shown.contains("\r\033[KComputing new names…"), shown.constData());
        QVERIFY2(shown.endsWith("\r\033[K"), shown.constData());
        const Run piped = run(arguments);
        QCOMPARE(piped.error, QString());
        QCOMPARE(piped.output,
                 u"a-1.txt  →  1_a.txt\nb-2.txt  →  2_b.txt\n2 files, 2 to rename, 0 errors\n"_s);
    }

    void helpGoesToStandardOutput()
    {
        const Run result = run({u"--help"_s});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.output.startsWith(u"Usage:"_s));
    }

    void versionIsTheProjects()
    {
        const Run result = run({u"--version"_s});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.output, u"tessary-cli %1\n"_s.arg(QStringLiteral(TESSARY_VERSION)));
    }
};

QTEST_GUILESS_MAIN(tst_TessaryCli)
#include "tst_TessaryCli.moc"
