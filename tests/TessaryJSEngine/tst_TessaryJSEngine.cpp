#include "ProtocolTestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using ProtocolTestSupport::linesFromJson;

namespace {

// Generous bound for a child that hangs; not a performance expectation.
constexpr int hangLimitMs = 120'000;

struct Exchange {
    QByteArray standardOutput;
    QByteArray standardError;
    int exitCode = -1;
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
};

void startEngine(QProcess& process)
{
    process.setProgram(QStringLiteral(TESSARY_JSENGINE_PATH));
    process.start();
    if (!process.waitForStarted())
        qFatal("Cannot start the engine: %s", qPrintable(process.errorString()));
}

Exchange finish(QProcess& process)
{
    if (!process.waitForFinished(hangLimitMs))
        process.kill();
    process.waitForFinished();
    return {process.readAllStandardOutput(), process.readAllStandardError(), process.exitCode(),
            process.exitStatus()};
}

Exchange exchange(const QByteArray& request)
{
    QProcess process;
    startEngine(process);
    process.write(request);
    process.closeWriteChannel();
    return finish(process);
}

QList<JSBatchOutputLine> decodeLines(const QByteArray& standardOutput)
{
    QList<JSBatchOutputLine> lines;
    QList<QByteArray> parts = standardOutput.split('\n');
    parts.removeLast(); // after the last line feed: empty when every line is complete
    for (const QByteArray& bytes : parts)
        lines.append(
            JSBatchOutputLine::fromJsonLine(bytes).value_or(JSBatchOutputLine{{}, u"<invalid line>"_s, {}}));
    return lines;
}

} // namespace

class tst_TessaryJSEngine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each row: the bytes on standard input, the lines expected on standard output, a pattern for the
    // whole of standard error, and the exit status.
    void exchange_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("errorPattern");
        QTest::addColumn<int>("exitCode");

        QTest::newRow("empty standard input")
            << QByteArray() << QStringList{} << u"^Cannot read input from stdin$"_s << 1;
        QTest::newRow("not JSON") << QByteArray("hello") << QStringList{}
                                  << u"^The request isn't valid JSON: .+$"_s << 1;
        QTest::newRow("invalid UTF-8")
            << QByteArray("{\"script\":\"\",\"context\":{},\"items\":[{\"a\":\"\xc3\x28\"}]}")
            << QStringList{} << u"^The request isn't valid JSON: .+$"_s << 1;
        QTest::newRow("number where a string is expected")
            << QByteArray(R"({"script":"","context":{},"items":[{"n":1}]})") << QStringList{}
            << u"^Expected a string at “items\\[0\\]\\.n”$"_s << 1;
        QTest::newRow("missing context with empty items")
            << QByteArray(R"({"script":"","items":[]})") << QStringList{}
            << u"^The request has no “context”$"_s << 1;
        QTest::newRow("empty items") << QByteArray(R"({"script":"throw 1","context":{},"items":[]})")
                                     << QStringList{} << u"^$"_s << 0;
        QTest::newRow("one line per item, in order")
            << QByteArray(
                   R"({"script":"fields.n = Number(fields.n) * 2","context":{},"items":[{"n":"1"},{"n":"2"},{"n":"3"}]})")
            << QStringList{uR"({"fields":{"n":"2"}})"_s, uR"({"fields":{"n":"4"}})"_s,
                           uR"({"fields":{"n":"6"}})"_s}
            << u"^$"_s << 0;
        QTest::newRow("failed items do not stop the batch")
            << QByteArray(
                   R"({"script":"if (fields.i === '1') throw 'bad'; console.log(fields.i);","context":{},"items":[{"i":"1"},{"i":"2"}]})")
            << QStringList{uR"({"error":"bad"})"_s, uR"({"fields":{"i":"2"},"logs":["2"]})"_s} << u"^$"_s
            << 0;
        QTest::newRow("context carried across items")
            << QByteArray(
                   R"({"script":"context.n = (Number(context.n) || 0) + 1; fields.n = context.n","context":{},"items":[{},{},{}]})")
            << QStringList{uR"({"fields":{"n":"1"}})"_s, uR"({"fields":{"n":"2"}})"_s,
                           uR"({"fields":{"n":"3"}})"_s}
            << u"^$"_s << 0;
        QTest::newRow("the context keeps numbers; the starting context is text")
            << QByteArray(
                   R"({"script":"if (fields.i === '2') throw 'no'; context.count = (context.count || 0) + 1; fields.n = context.count + '/' + typeof context.base","context":{"base":"10"},"items":[{"i":"1"},{"i":"2"},{"i":"3"}]})")
            << QStringList{uR"({"fields":{"i":"1","n":"1/string"}})"_s, uR"({"error":"no"})"_s,
                           uR"({"fields":{"i":"3","n":"2/string"}})"_s}
            << u"^$"_s << 0;
        QTest::newRow("line feeds, quotes and backslashes stay inside their line")
            << QByteArray(
                   R"({"script":"fields.b = fields.a + '\\n\"\\\\'; console.log(fields.b);","context":{},"items":[{"a":"x\ny"},{"a":"\r"}]})")
            // Plain literals: moc cannot read a raw string that ends a JSON string with an escaped backslash.
            << QStringList{u"{\"fields\":{\"a\":\"x\\ny\",\"b\":\"x\\ny\\n\\\"\\\\\"},\"logs\":[\"x\\ny\\n\\\"\\\\\"]}"_s,
                           u"{\"fields\":{\"a\":\"\\r\",\"b\":\"\\r\\n\\\"\\\\\"},\"logs\":[\"\\r\\n\\\"\\\\\"]}"_s}
            << u"^$"_s << 0;
        QTest::newRow("NUL and lone surrogate")
            << QByteArray(
                   R"({"script":"fields.b = fields.a + '\uDFFF'","context":{},"items":[{"a":"\u0000\uD800"}]})")
            << QStringList{uR"({"fields":{"a":"\u0000\ud800","b":"\u0000\ud800\udfff"}})"_s} << u"^$"_s << 0;
        QTest::newRow("syntax error fails each item")
            << QByteArray(R"({"script":"1 +","context":{},"items":[{},{}]})")
            << QStringList{uR"({"error":"Line 1: SyntaxError: Unexpected end of script"})"_s,
                           uR"({"error":"Line 1: SyntaxError: Unexpected end of script"})"_s}
            << u"^$"_s << 0;
    }
    void exchange()
    {
        QFETCH(QByteArray, request);
        QFETCH(QStringList, lines);
        QFETCH(QString, errorPattern);
        QFETCH(int, exitCode);

        const Exchange result = ::exchange(request);
        QCOMPARE(result.exitStatus, QProcess::NormalExit);
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(decodeLines(result.standardOutput), linesFromJson(lines));
        QCOMPARE(result.standardOutput.count('\n'), lines.size());
        const QString standardError = QString::fromUtf8(result.standardError);
        QVERIFY2(QRegularExpression(errorPattern).match(standardError).hasMatch(), qPrintable(standardError));
        QVERIFY(!result.standardError.endsWith('\n'));
    }

    void unreadableStandardInputIsReported()
    {
        QTemporaryDir directory; // reading a directory fails with the system's own description
        QProcess process;
        process.setStandardInputFile(directory.path());
        startEngine(process);
        const Exchange result = finish(process);
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.standardOutput, QByteArray());
        QCOMPARE(result.standardError, QByteArray(std::strerror(EISDIR)));
    }

    void largeRequestIsAnswered()
    {
        constexpr int items = 100;
        const QByteArray value(1 << 20, 'v'); // 100 items of 1 MiB: a 100 MB request
        QByteArray request = R"({"script":"fields.v = fields.v.length","context":{},"items":[)";
        for (int i = 0; i < items; ++i)
            request += (i ? ",{\"v\":\"" : "{\"v\":\"") + value + "\"}";
        request += "]}";

        const Exchange result = ::exchange(request);
        QCOMPARE(result.exitCode, 0);
        const auto lines = decodeLines(result.standardOutput);
        QCOMPARE(lines.size(), items);
        for (const JSBatchOutputLine& line : lines)
            QCOMPARE(line, (JSBatchOutputLine{Fields{{u"v"_s, QString::number(value.size())}}, {}, {}}));
    }

    void linesStreamBeforeTheBatchEnds()
    {
        // The third item never ends, so lines on the pipe can only have been streamed: the first, written
        // at once, and the second, gathered for a later write.
        QProcess process;
        startEngine(process);
        process.write(R"({"script":"if (fields.i === '3') for (;;) {}","context":{},)"
                      R"("items":[{"i":"1"},{"i":"2"},{"i":"3"}]})");
        process.closeWriteChannel();
        QList<JSBatchOutputLine> lines;
        while (lines.size() < 2 && process.state() == QProcess::Running) {
            if (process.canReadLine())
                lines.append(JSBatchOutputLine::fromJsonLine(process.readLine().chopped(1))
                                 .value_or(JSBatchOutputLine{std::nullopt, u"invalid"_s, std::nullopt}));
            else if (!process.waitForReadyRead(hangLimitMs))
                break;
        }
        QCOMPARE(process.state(), QProcess::Running);
        process.kill();
        process.waitForFinished();
        QCOMPARE(lines, (QList<JSBatchOutputLine>{JSBatchOutputLine{Fields{{u"i"_s, u"1"_s}}, {}, {}},
                                                  JSBatchOutputLine{Fields{{u"i"_s, u"2"_s}}, {}, {}}}));
    }

    // Once it has its request the helper runs fenced in; dates, locales, collation and Unicode
    // properties, which the engine sets up on first use, still work in every item.
    void scriptsRunFencedIn()
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"TZ"_s, u"Europe/Berlin"_s);
        process.setProcessEnvironment(environment);
        startEngine(process);
        process.write(
            R"({"script":"fields.d = new Date(0).toString(); fields.l = new Date(0).toLocaleString('de-DE');)"
            R"( fields.n = (1234.5).toLocaleString('de-DE');)"
            R"( fields.c = String(new Intl.Collator('sv').compare('ä', 'z'));)"
            R"( fields.u = 'i'.toLocaleUpperCase('tr-TR'); fields.p = String(/\\p{L}/u.test('ж'));)"
            R"( fields.t = new Intl.DateTimeFormat('ja-JP', {timeZone: 'Asia/Tokyo', hour: 'numeric'}))"
            R"(.format(0);)"
            R"( if (fields.i === '2') for (;;) {}",)"
            R"("context":{},"items":[{"i":"1"},{"i":"2"}]})");
        process.closeWriteChannel();
        while (!process.canReadLine() && process.state() == QProcess::Running)
            process.waitForReadyRead(hangLimitMs);
        const QByteArray line = process.readLine();
        // Every thread, the engine's own among them: 2 means a filter is in place.
        const QDir tasks(u"/proc/%1/task"_s.arg(process.processId()));
        const QStringList threads = tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QStringList unfenced;
        for (const QString& task : threads) {
            QFile status(tasks.filePath(task + u"/status"_s));
            if (status.open(QIODevice::ReadOnly) && !status.readAll().contains("\nSeccomp:\t2\n"))
                unfenced.append(task);
        }
        process.kill();
        process.waitForFinished();
        QCOMPARE_GT(threads.size(), 1);
        QCOMPARE(unfenced, QStringList());
        QCOMPARE(JSBatchOutputLine::fromJsonLine(line.chopped(1)),
                 (JSBatchOutputLine{
                     Fields{{u"i"_s, u"1"_s},
                            {u"d"_s, u"Thu Jan 01 1970 01:00:00 GMT+0100 (Central European Standard Time)"_s},
                            {u"l"_s, u"1.1.1970, 01:00:00"_s},
                            {u"n"_s, u"1.234,5"_s},
                            {u"c"_s, u"1"_s},
                            {u"u"_s, u"İ"_s},
                            {u"p"_s, u"true"_s},
                            {u"t"_s, u"9時"_s}},
                     {},
                     {}}));
    }
};

QTEST_GUILESS_MAIN(tst_TessaryJSEngine)
#include "tst_TessaryJSEngine.moc"
