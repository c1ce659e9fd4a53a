// RenamePlanner on many files of one folder:
//   10,000 against 100,000 files, regex with two named groups, pattern {name}-{row}, no script: the time
//   and its growth (linear: 100,000 take at most 12 times as long as 10,000), beside the growth of a bare
//   collision check on this machine;
//   100,000 files numbered by three fields (two dates as text, one number) against by name: at most 1.2x;
//   10,000 files with a one-line script, end to end through the helper, against the bare JavaScriptCore
//   loop as a program of its own and inside this process, and as a program whose contexts hold the
//   `fields` the script reads;
//   peak memory for 100,000 files with 10 base fields each.
#include "BareScriptLoop.h"
#include "BenchSupport.h"
#include "planning/RenamePlanner.h"
#include "script/JSEngineClient.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const JSEngineClient engine{QStringLiteral(TESSARY_JSENGINE_PATH)};

// A date and time per file that do not follow its name: a camera's shots, renamed out of order.
Fields baseFields(int i)
{
    const int shot = int(qint64(i) * 104'729 % 1'000'003); // beyond int for most files
    const QString date =
        u"2026-%1-%2"_s.arg(1 + shot % 12, 2, 10, QChar(u'0')).arg(1 + shot / 12 % 28, 2, 10, QChar(u'0'));
    const QString time = u"%1-%2-%3"_s.arg(shot / 336 % 24, 2, 10, QChar(u'0'))
                             .arg(shot / 7 % 60, 2, 10, QChar(u'0'))
                             .arg(shot % 60, 2, 10, QChar(u'0'));
    return {{u"filename"_s, u"img_%1"_s.arg(i)},
            {u"date"_s, date},
            {u"time"_s, time},
            {u"moddate"_s, u"2026-12-06"_s},
            {u"modtime"_s, u"18-13-16"_s},
            {u"image.width"_s, u"4032"_s},
            {u"image.height"_s, u"3024"_s},
            {u"image.make"_s, u"Camera"_s},
            {u"image.model"_s, u"One"_s},
            {u"image.iso"_s, QString::number(100 + i % 3200)}};
}

// Files img_0.jpg … in `folder`, created on disk, in shuffled order.
QList<PlanInput> inputs(const QString& folder, int count)
{
    QList<PlanInput> list;
    list.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QString path = folder + u"/img_%1.jpg"_s.arg((i * 7919) % count);
        const int descriptor =
            ::open(QFile::encodeName(path).constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (descriptor >= 0)
            ::close(descriptor);
        list.append(PlanInput{QString::number(i), path, baseFields(i)});
    }
    return list;
}

double secondsToPlan(const QList<PlanInput>& list, const RenameRules& rules)
{
    QElapsedTimer timer;
    timer.start();
    const auto plan = RenamePlanner::plan(list, rules, engine, JSEngineClient::defaultTimeout);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (!plan || plan->size() != list.size() || plan->cbegin()->output.error)
        qFatal("The plan failed");
    return seconds;
}

// The least a collision check does: each path lowered into a set of them all, then each looked up. A table
// of 100,000 paths outgrows caches that hold one of 10,000, so its growth is the machine's, not a plan's.
double secondsOfBareCollisionCheck(const QList<PlanInput>& list)
{
    QElapsedTimer timer;
    timer.start();
    QSet<QString> targets;
    targets.reserve(list.size());
    for (const PlanInput& input : list)
        targets.insert(input.path.toLower());
    qsizetype found = 0;
    for (const PlanInput& input : list)
        found += targets.contains(input.path.toLower()) ? 1 : 0;
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (found != list.size())
        qFatal("The bare collision check lost a path");
    return seconds;
}

template <typename Measure> double bestOf(int runs, Measure measure)
{
    double best = 1e9;
    for (int run = 0; run < runs; ++run)
        best = std::min(best, measure());
    return best;
}

// The bare loop's program, from its start to its end.
double secondsOfBareLoopProgram(const QString& script, int items, const QString& fieldsJson = {})
{
    QProcess program;
    QElapsedTimer timer;
    timer.start();
    QStringList arguments{script, QString::number(items)};
    if (!fieldsJson.isEmpty())
        arguments.append(fieldsJson);
    program.start(QStringLiteral(BARE_SCRIPT_LOOP_PATH), arguments);
    if (!program.waitForFinished(-1) || program.exitCode() != 0)
        qFatal("The bare loop program failed");
    return double(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main()
{
    const RenameRules rules{
        u"(?P<name>[a-z]+)_(?P<n>\\d+)"_s, QString(), u"{name}-{row}"_s, false, u"name"_s, false};
    QTemporaryDir small, large;

    const QList<PlanInput> tenThousand = inputs(small.path(), 10'000);
    const double smallSeconds = bestOf(5, [&] { return secondsToPlan(tenThousand, rules); });
    const double smallCheckSeconds = bestOf(5, [&] { return secondsOfBareCollisionCheck(tenThousand); });
    {
        const QList<PlanInput> hundredThousand = inputs(large.path(), 100'000);
        RenameRules byFields = rules;
        byFields.order = u"date,time,image.iso"_s;
        // The two orders in turns, the best of five each: a virtual machine's pace drifts from run to run.
        double largeSeconds = 1e9;
        double byFieldSeconds = 1e9;
        double largeCheckSeconds = 1e9;
        for (int run = 0; run < 5; ++run) {
            largeSeconds = std::min(largeSeconds, secondsToPlan(hundredThousand, rules));
            byFieldSeconds = std::min(byFieldSeconds, secondsToPlan(hundredThousand, byFields));
            largeCheckSeconds = std::min(largeCheckSeconds, secondsOfBareCollisionCheck(hundredThousand));
        }
        std::printf("plan, no script      10,000 files %6.3f s   100,000 files %6.3f s   growth %5.2fx   "
                    "(goals: 100,000 <= 1 s, growth <= 12x)\n",
                    smallSeconds, largeSeconds, largeSeconds / smallSeconds);
        std::printf("bare collision check 10,000 files %6.3f s   100,000 files %6.3f s   growth %5.2fx   "
                    "(no goal: the growth of lookups that outgrow the caches here)\n",
                    smallCheckSeconds, largeCheckSeconds, largeCheckSeconds / smallCheckSeconds);
        std::printf("plan 100,000 files by date,time,image.iso %6.3f s, by name %6.3f s   ratio %5.2fx   "
                    "(goal: <= 1.2x)\n",
                    byFieldSeconds, largeSeconds, byFieldSeconds / largeSeconds);
        std::printf("peak resident memory with 100,000 files of 10 base fields: %.1f MB\n",
                    double(BenchSupport::statusKiB("VmHWM:")) / 1024);
    }

    RenameRules scripted = rules;
    scripted.script = u"fields.n = String(Number(fields.n) + 1);"_s;
    // Taken in turns, the best of five each: a virtual machine's pace drifts by a tenth from run to run.
    // The helper is a new process for every batch; the loop runs both in this warm process and as a
    // program of its own, started and ended like the helper.
    double plannedSeconds = 1e9;
    double bareSeconds = 1e9;
    double bareProgramSeconds = 1e9;
    double completingProgramSeconds = 1e9;
    for (int run = 0; run < 5; ++run) {
        plannedSeconds = std::min(plannedSeconds, secondsToPlan(tenThousand, scripted));
        bareSeconds =
            std::min(bareSeconds, bareScriptLoopMicroseconds(scripted.script, 10'000) * 10'000 / 1e6);
        bareProgramSeconds = std::min(bareProgramSeconds, secondsOfBareLoopProgram(scripted.script, 10'000));
        completingProgramSeconds = std::min(
            completingProgramSeconds, secondsOfBareLoopProgram(scripted.script, 10'000, u"{\"n\":\"1\"}"_s));
    }
    std::printf(
        "plan, one-line script   10,000 files %6.3f s end to end   bare JavaScriptCore loop as a program "
        "%6.3f s   ratio %5.2fx   (goal: <= 1.15x)\n",
        plannedSeconds, bareProgramSeconds, plannedSeconds / bareProgramSeconds);
    std::printf("                        the same loop inside this warm process %6.3f s   ratio %5.2fx\n",
                bareSeconds, plannedSeconds / bareSeconds);
    std::printf(
        "                        the loop as a program, its script finding `fields` %6.3f s   ratio %5.2fx"
        "   (no goal; above, reading `fields` throws in every bare context)\n",
        completingProgramSeconds, plannedSeconds / completingProgramSeconds);
}
