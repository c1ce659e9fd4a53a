// The safety promise under fault injection: every call of renameat2, rename, link, unlink, openat, write,
// fdatasync and fsync that a rename, undo, redo or recovery makes is, in turn, made to fail with EIO, ENOSPC,
// EACCES or EPERM, or has the process killed just before or just after it. After each run, and again after
// a recovery without faults, every file of the batch must be at exactly one visible name (its old one or
// its new one, a whole group on one side), no temporary entry may be left unless the run said so and kept
// its journal entry open, and no file outside the batch may be touched.
//
// CI runs a sample of the calls; TESSARY_FAULT_SWEEP=full (scripts/fault-sweep.sh) runs many more.
#include "RenameMixes.h"
#include "TestFolder.h"
#include "renaming/journal/RenameJournal.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

enum class Command { Rename, Undo, Redo, Recover, RecoverForward };

const QStringList functions{u"renameat2"_s, u"rename"_s, u"link"_s,      u"unlink"_s,
                            u"openat"_s,    u"write"_s,  u"fdatasync"_s, u"fsync"_s};
const QStringList actions{u"EIO"_s, u"ENOSPC"_s, u"EACCES"_s, u"EPERM"_s, u"kill-before"_s, u"kill-after"_s};
const QString outsider = u"outsider.txt"_s;

bool fullSweep()
{
    return qEnvironmentVariable("TESSARY_FAULT_SWEEP") == u"full";
}

struct Fault {
    QString function;
    long call = 0;
    QString action;
};

struct Outcome {
    bool killed = false;
    int exitCode = -1;
    QString output;
};

// Names of each file's group: files that share a name as source or destination.
QHash<QString, QString> groupsOf(const RenameMixes::Moves& moves)
{
    QHash<QString, QString> parent;
    const std::function<QString(const QString&)> root = [&](const QString& name) {
        const QString up = parent.value(name, name);
        return up == name ? name : root(up);
    };
    for (const auto& [from, to] : moves)
        parent.insert(root(from), root(to));
    QHash<QString, QString> groups;
    for (const auto& [from, to] : moves)
        groups.insert(from, root(from));
    return groups;
}

class Sandbox {
public:
    Sandbox(const QString& mix, bool noNoReplace)
        : moves(RenameMixes::named(mix)), mix(mix), noNoReplace(noNoReplace)
    {
        files = scratch.filePath(u"files"_s);
        journal = scratch.filePath(u"journal"_s);
        QDir().mkpath(files);
        QDir().mkpath(journal);
        QStringList names{outsider};
        for (const auto& [from, to] : moves)
            names.append(from);
        TestFolder::create(files, names);
    }

    Outcome run(Command command, const std::optional<Fault>& fault = std::nullopt,
                const QString& countsFile = QString()) const
    {
        QStringList arguments;
        switch (command) {
        case Command::Rename:
            arguments = {u"rename"_s, mix, files, journal};
            break;
        case Command::Undo:
            arguments = {u"undo"_s, journal};
            break;
        case Command::Redo:
            arguments = {u"redo"_s, journal};
            break;
        case Command::Recover:
            arguments = {u"recover"_s, journal};
            break;
        case Command::RecoverForward:
            arguments = {u"recover"_s, journal, u"forward"_s};
            break;
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"LD_PRELOAD"_s, QStringLiteral(TESSARY_FAULT_SHIM));
        // A sanitizer build's runtime would insist on coming before the shim.
        environment.insert(u"ASAN_OPTIONS"_s,
                           environment.value(u"ASAN_OPTIONS"_s) + u":verify_asan_link_order=0"_s);
        environment.insert(u"TESSARY_FAULT_PATHS"_s, files + u':' + journal);
        if (noNoReplace)
            environment.insert(u"TESSARY_FAULT_NO_NOREPLACE"_s, u"1"_s);
        if (fault) {
            environment.insert(u"TESSARY_FAULT_FUNCTION"_s, fault->function);
            environment.insert(u"TESSARY_FAULT_CALL"_s, QString::number(fault->call));
            environment.insert(u"TESSARY_FAULT_ACTION"_s, fault->action);
        }
        if (!countsFile.isEmpty())
            environment.insert(u"TESSARY_FAULT_COUNTS"_s, countsFile);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(TESSARY_RENAME_DRIVER), arguments);
        if (!process.waitForFinished(300'000))
            qFatal("The rename driver did not finish");
        return {process.exitStatus() == QProcess::CrashExit, process.exitCode(),
                QString::fromUtf8(process.readAll())};
    }

    // How often each watched function is called by `command` without faults, from this state.
    QHash<QString, long> callsOf(Command command) const
    {
        const QString countsFile = scratch.filePath(u"counts"_s);
        run(command, std::nullopt, countsFile);
        QFile file(countsFile);
        file.open(QIODevice::ReadOnly);
        QHash<QString, long> counts;
        for (const QByteArray& line : file.readAll().split('\n'))
            if (const QList<QByteArray> parts = line.split(' '); parts.size() == 2)
                counts.insert(QString::fromUtf8(parts[0]), parts[1].toLong());
        return counts;
    }

    // A violation of the invariant, described; empty when it holds. `settled`: a command returned without
    // being killed, or a recovery ran afterwards.
    QString violation(const Outcome& outcome) const
    {
        const QMap<QString, QString> found = TestFolder::contents(files);
        if (found.value(outsider) != outsider)
            return u"the file outside the batch was touched"_s;
        QSet<QString> contentNames;
        for (const auto& [from, to] : moves)
            contentNames.insert(from);
        QHash<QString, QString> nameOfContent; // content (the old name) to where it is now
        QStringList parked;
        for (auto it = found.cbegin(); it != found.cend(); ++it) {
            if (it.key() == outsider)
                continue;
            if (outcome.killed && it.value().isEmpty())
                continue; // a reservation that a move cut short left; the recovery takes it away
            if (!it.key().startsWith(u".tessary-"_s) && !contentNames.contains(it.value()))
                return u"“%1” is not a file of the batch"_s.arg(it.key());
            if (nameOfContent.contains(it.value()))
                return u"“%1” is under two names"_s.arg(it.value());
            nameOfContent.insert(it.value(), it.key());
            if (it.key().startsWith(u".tessary-"_s))
                parked.append(it.key());
        }
        for (const auto& [from, to] : moves) {
            const QString place = nameOfContent.value(from);
            if (place.isEmpty())
                return u"“%1” is lost"_s.arg(from);
            if (place != from && place != to && !place.startsWith(u".tessary-"_s))
                return u"“%1” is under a third name, “%2”"_s.arg(from, place);
        }
        if (outcome.killed)
            return QString();
        const RenameJournal::Contents contents = RenameJournal::scan(journal);
        // An entry that could not be read just now is kept, and the run said so: what it names is unknown.
        const bool unread = outcome.exitCode != 0 && outcome.output.contains(u"can't be read now"_s);
        const bool open = !contents.incomplete.isEmpty() || unread;
        for (const QString& name : parked)
            if ((!outcome.output.contains(name) && !unread) || outcome.exitCode == 0 || !open)
                return u"“%1” was left hidden without saying so"_s.arg(name);
        if (outcome.exitCode == 0 && open)
            return u"success was reported with an open journal entry"_s;
        return QString();
    }

    // After a recovery: nothing parked, and each group wholly at its old or its new names.
    QString unsettled() const
    {
        const QMap<QString, QString> found = TestFolder::contents(files);
        QHash<QString, QString> placeOf;
        for (auto it = found.cbegin(); it != found.cend(); ++it) {
            if (it.key().startsWith(u".tessary-"_s))
                return u"“%1” is still parked after a recovery"_s.arg(it.key());
            placeOf.insert(it.value(), it.key());
        }
        const QHash<QString, QString> groups = groupsOf(moves);
        QHash<QString, bool> groupRenamed;
        for (const auto& [from, to] : moves) {
            const bool renamed = placeOf.value(from) == to;
            const QString group = groups.value(from);
            if (groupRenamed.contains(group) && groupRenamed.value(group) != renamed)
                return u"the group of “%1” is half renamed"_s.arg(from);
            groupRenamed.insert(group, renamed);
        }
        const RenameJournal::Contents journalContents = RenameJournal::scan(journal);
        if (!journalContents.incomplete.isEmpty() || !journalContents.unreadable.isEmpty())
            return u"the journal still has an open or unreadable entry"_s;
        return QString();
    }

    const RenameMixes::Moves moves;

private:
    QTemporaryDir scratch;
    QString files, journal;
    const QString mix;
    const bool noNoReplace;
};

// The calls a sweep faults: about `sample` spread over each function's calls, or every one when it is 0.
QList<long> callsToFault(long count, int sample)
{
    QList<long> calls;
    const long stride = sample == 0 ? 1 : std::max(1L, count / sample);
    for (long call = 1; call <= count; call += stride)
        calls.append(call);
    if (count > 0 && calls.last() != count)
        calls.append(count);
    return calls;
}

} // namespace

class tst_FaultSweep : public QObject {
    Q_OBJECT

    // Brings a fresh sandbox to the state the command starts from.
    static void prepare(const Sandbox& sandbox, const QString& mix, Command command)
    {
        if (command == Command::Undo || command == Command::Redo) {
            QCOMPARE(sandbox.run(Command::Rename).exitCode, 0);
            if (command == Command::Redo)
                QCOMPARE(sandbox.run(Command::Undo).exitCode, 0);
        } else if (command != Command::Rename) { // interrupted halfway through its moves
            const long moves = Sandbox(mix, false).callsOf(Command::Rename).value(u"renameat2"_s);
            const Outcome crash =
                sandbox.run(Command::Rename, Fault{u"renameat2"_s, moves / 2, u"kill-after"_s});
            QVERIFY(crash.killed);
        }
    }

private Q_SLOTS:
    void invariantHoldsUnderEveryFault_data()
    {
        QTest::addColumn<QString>("mix");
        QTest::addColumn<Command>("command");
        QTest::addColumn<bool>("noNoReplace");
        QTest::addColumn<int>("sample");
        // The full sweep faults every call of the small batches; a 2,000-file rotation makes some 20,000
        // calls per command, so there it faults a sample of 40 per function, spread from first to last.
        // Twelve copies of the mixed batch are journaled in two chunks, the first moved while the second is
        // stored.
        const bool full = fullSweep();
        const std::pair<QString, int> mixes[] = {
            {u"swap"_s, full ? 0 : 12},
            {u"rotation-3"_s, full ? 0 : 12},
            {u"chain-3"_s, full ? 0 : 12},
            {u"mixed"_s, full ? 0 : 6},
            {full ? u"rotation-2000"_s : u"rotation-300"_s, full ? 40 : 2},
            {u"mixed-12"_s, full ? 12 : 2}};
        const std::pair<const char*, Command> commands[] = {{"rename", Command::Rename},
                                                            {"undo", Command::Undo},
                                                            {"redo", Command::Redo},
                                                            {"recover", Command::Recover},
                                                            {"recover forward", Command::RecoverForward}};
        for (const auto& [mix, sample] : mixes)
            for (const auto& [name, command] : commands)
                QTest::addRow("%s, %s", qPrintable(mix), name) << mix << command << false << sample;
        QTest::addRow("rotation-3, rename, no RENAME_NOREPLACE nor links")
            << u"rotation-3"_s << Command::Rename << true << (full ? 0 : 12);
        QTest::addRow("mixed, undo, no RENAME_NOREPLACE nor links")
            << u"mixed"_s << Command::Undo << true << (full ? 0 : 6);
    }
    void invariantHoldsUnderEveryFault()
    {
        QFETCH(QString, mix);
        QFETCH(Command, command);
        QFETCH(bool, noNoReplace);
        QFETCH(int, sample);

        // Journal entries name their files by absolute path, so each run prepares its own sandbox.
        const Sandbox probe(mix, noNoReplace);
        prepare(probe, mix, command);
        const QHash<QString, long> calls = probe.callsOf(command);
        QVERIFY2(calls.value(u"renameat2"_s) > 0, "the command made no move");

        int runs = 0;
        for (const QString& function : functions) {
            for (const long call : callsToFault(calls.value(function), sample)) {
                for (const QString& action : actions) {
                    const Sandbox sandbox(mix, noNoReplace);
                    prepare(sandbox, mix, command);
                    const Fault fault{function, call, action};
                    const Outcome outcome = sandbox.run(command, fault);
                    const QString where = u"%1 call %2 %3: "_s.arg(function).arg(call).arg(action);
                    const QString during = sandbox.violation(outcome);
                    QVERIFY2(during.isEmpty(), qPrintable(where + during + u"\n"_s + outcome.output));
                    const Outcome recovery = sandbox.run(Command::Recover);
                    const QString after = sandbox.violation(recovery) + sandbox.unsettled();
                    QVERIFY2(after.isEmpty() && recovery.exitCode == 0,
                             qPrintable(where + u"after recovery: "_s + after + u"\n"_s + recovery.output));
                    ++runs;
                }
            }
        }
        qInfo("%d faulty runs", runs);
    }
};

QTEST_GUILESS_MAIN(tst_FaultSweep)
#include "tst_FaultSweep.moc"
