#include "JSBatchEvaluator.h"
#include "ProtocolTestSupport.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;
using ProtocolTestSupport::linesFromJson;
using ProtocolTestSupport::requestFromJson;

namespace {

QList<JSBatchOutputLine> run(const JSBatchEvaluator& evaluator, const JSBatchInput& input)
{
    QList<JSBatchOutputLine> lines;
    evaluator.run(input, [&](const QByteArray& line) {
        lines.append(JSBatchOutputLine::fromJsonLine(line).value_or(JSBatchOutputLine{
            std::nullopt, u"<invalid line: %1>"_s.arg(QString::fromUtf8(line)), std::nullopt}));
    });
    return lines;
}

} // namespace

class tst_JSBatchEvaluator : public QObject {
    Q_OBJECT

    JSBatchEvaluator evaluator;

    QList<JSBatchOutputLine> run(const QString& script, const QByteArray& itemsJson,
                                 const QByteArray& contextJson = "{}")
    {
        return ::run(evaluator, requestFromJson(script, itemsJson, contextJson));
    }

private Q_SLOTS:
    // Each row: a script, the items as JSON, and the answer lines it must give, as JSON.
    void answers_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QByteArray>("items");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("empty script keeps fields")
            << QString() << QByteArray(R"([{"a":"1"},{}])")
            << QStringList{uR"({"fields":{"a":"1"}})"_s, u"{\"fields\":{}}"_s};
        QTest::newRow("reading only") << u"fields.a + fields.missing;"_s << QByteArray(R"([{"a":"1"}])")
                                      << QStringList{uR"({"fields":{"a":"1"}})"_s};
        QTest::newRow("number becomes its text")
            << u"fields.n = 1 + 1"_s << QByteArray("[{}]") << QStringList{uR"({"fields":{"n":"2"}})"_s};
        QTest::newRow("real and odd numbers")
            << u"fields.a = 0.5; fields.b = 1/0; fields.c = -0; fields.d = 1e21"_s << QByteArray("[{}]")
            << QStringList{uR"({"fields":{"a":"0.5","b":"Infinity","c":"0","d":"1e+21"}})"_s};
        QTest::newRow("boolean becomes its text")
            << u"fields.t = true"_s << QByteArray("[{}]") << QStringList{uR"({"fields":{"t":"true"}})"_s};
        QTest::newRow("null removes a field") << u"fields.a = null"_s << QByteArray(R"([{"a":"1","b":"2"}])")
                                              << QStringList{uR"({"fields":{"b":"2"}})"_s};
        QTest::newRow("undefined removes a field")
            << u"fields.a = undefined"_s << QByteArray(R"([{"a":"1"}])") << QStringList{u"{\"fields\":{}}"_s};
        QTest::newRow("delete removes a field")
            << u"delete fields.a"_s << QByteArray(R"([{"a":"1","b":"2"}])")
            << QStringList{uR"({"fields":{"b":"2"}})"_s};
        QTest::newRow("nested values use ToString")
            << u"fields.o = {x: 1}; fields.l = [1, 'a', [2, 3]]; fields.f = Symbol.prototype.toString.name"_s
            << QByteArray("[{}]")
            << QStringList{uR"({"fields":{"o":"[object Object]","l":"1,a,2,3","f":"toString"}})"_s};
        QTest::newRow("new object replaces fields")
            << u"fields = {only: 'x'}"_s << QByteArray(R"([{"a":"1"}])")
            << QStringList{uR"({"fields":{"only":"x"}})"_s};
        QTest::newRow("empty array is an empty map")
            << u"fields = []"_s << QByteArray(R"([{"a":"1"}])") << QStringList{u"{\"fields\":{}}"_s};
        QTest::newRow("array keys are indices") << u"fields = ['a', 'b']"_s << QByteArray("[{}]")
                                                << QStringList{uR"({"fields":{"0":"a","1":"b"}})"_s};
        QTest::newRow("function is an empty map")
            << u"fields = function () {}"_s << QByteArray("[{}]") << QStringList{u"{\"fields\":{}}"_s};
        QTest::newRow("inherited enumerable properties count")
            << u"fields = Object.create({inherited: 'i'}); fields.own = 'o'"_s << QByteArray("[{}]")
            << QStringList{uR"({"fields":{"inherited":"i","own":"o"}})"_s};
        QTest::newRow("non-enumerable properties are left out")
            << u"Object.defineProperty(fields, 'hidden', {value: 'h'})"_s << QByteArray(R"([{"a":"1"}])")
            << QStringList{uR"({"fields":{"a":"1"}})"_s};
        QTest::newRow("number as fields fails")
            << u"fields = 5"_s << QByteArray("[{}]")
            << QStringList{u"{\"error\":\"`fields` must be an object\"}"_s};
        QTest::newRow("null as fields fails") << u"fields = null"_s << QByteArray("[{}]")
                                              << QStringList{u"{\"error\":\"`fields` must be an object\"}"_s};
        QTest::newRow("deleted fields fails") << u"delete globalThis.fields"_s << QByteArray("[{}]")
                                              << QStringList{u"{\"error\":\"`fields` must be an object\"}"_s};
        QTest::newRow("string context fails")
            << u"context = 'x'"_s << QByteArray("[{}]")
            << QStringList{u"{\"error\":\"`context` must be an object\"}"_s};
        QTest::newRow("fields checked before context")
            << u"fields = 1; context = 1"_s << QByteArray("[{}]")
            << QStringList{u"{\"error\":\"`fields` must be an object\"}"_s};
        QTest::newRow("getter that throws is left out")
            << u"fields = {get bad() { throw new Error('no') }, good: 'g'}"_s << QByteArray("[{}]")
            << QStringList{uR"({"fields":{"good":"g"}})"_s};
        QTest::newRow("value whose ToString throws is left out")
            << u"fields.bad = {toString() { throw 1 }}; context.bad = {toString() { throw 2 }}"_s
            << QByteArray(R"([{"a":"1"},{"b":"2"}])")
            << QStringList{uR"({"fields":{"a":"1"}})"_s, uR"({"fields":{"b":"2"}})"_s};
        QTest::newRow("proxy whose ownKeys throws, next item unharmed")
            << u"if (fields.i === '1') fields = new Proxy({}, {ownKeys() { throw new Error('keys') }})"_s
            << QByteArray(R"([{"i":"1"},{"i":"2"}])")
            << QStringList{u"{\"fields\":{}}"_s, uR"({"fields":{"i":"2"}})"_s};
        QTest::newRow("globals start afresh for every item")
            << u"var g = (typeof g === 'undefined' ? 0 : g) + 1; fields.g = g;"
               u"fields.seen = String(Array.prototype.marker); Array.prototype.marker = 'set'"_s
            << QByteArray("[{},{}]")
            << QStringList{uR"({"fields":{"g":"1","seen":"undefined"}})"_s,
                           uR"({"fields":{"g":"1","seen":"undefined"}})"_s};
        QTest::newRow("NUL and lone surrogate from the script")
            << u"fields.s = 'a\\u0000b\\uD800'"_s << QByteArray("[{}]")
            << QStringList{uR"({"fields":{"s":"a\u0000b\ud800"}})"_s};
        QTest::newRow("NUL and lone surrogate from the item")
            << u"fields.len = fields.s.length"_s << QByteArray(R"([{"s":"\u0000\udc00"}])")
            << QStringList{uR"({"fields":{"s":"\u0000\udc00","len":"2"}})"_s};
        QTest::newRow("a field named __proto__ is an ordinary field")
            << u"fields = JSON.parse('{\"__proto__\": \"p\", \"a\": \"1\"}')"_s << QByteArray("[{}]")
            << QStringList{uR"({"fields":{"__proto__":"p","a":"1"}})"_s};
        QTest::newRow("the script's toJSON has no say")
            << u"String.prototype.toJSON = () => 'no'; Object.defineProperty(Object.prototype, 'toJSON', "
               u"{value: () => 'no'}); fields.a = 'b'"_s
            << QByteArray("[{}]") << QStringList{uR"({"fields":{"a":"b"}})"_s};
        QTest::newRow("many fields, the same keys on every item")
            << u"for (let i = 0; i < 40; i++) fields['k' + i] = i"_s << QByteArray("[{},{}]")
            << QStringList(2, [] {
                   QStringList members;
                   for (int i = 0; i < 40; ++i)
                       members << u"\"k%1\":\"%1\""_s.arg(i);
                   return u"{\"fields\":{%1}}"_s.arg(members.join(u','));
               }());
        QTest::newRow("fields and logs on one line")
            << u"console.log('a\\nb'); fields.x = '\\u2028'"_s << QByteArray("[{}]")
            << QStringList{uR"({"fields":{"x":"\u2028"},"logs":["a\nb"]})"_s};
        QTest::newRow("replaced console") << u"console = 5; fields.x = 'ok'"_s << QByteArray("[{}]")
                                          << QStringList{uR"({"fields":{"x":"ok"}})"_s};
    }
    void answers()
    {
        QFETCH(QString, script);
        QFETCH(QByteArray, items);
        QFETCH(QStringList, expected);
        QCOMPARE(run(script, items), linesFromJson(expected));
    }

    void console_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("logs");

        QTest::newRow("arguments joined by single spaces")
            << u"console.log('a', 1, null, undefined)"_s << QStringList{u"a 1 null undefined"_s};
        QTest::newRow("no arguments give an empty line") << u"console.log()"_s << QStringList{QString()};
        QTest::newRow("all five names write")
            << u"console.log(1); console.info(2); console.warn(3); console.error(4); console.debug(5)"_s
            << QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s};
        QTest::newRow("called through apply and as a value")
            << u"console.log.apply(null, ['x', 'y']); ['z'].forEach(console.info)"_s
            << QStringList{u"x y"_s, u"z 0 z"_s};
        QTest::newRow("objects use ToString")
            << u"console.log({}, [1, 2])"_s << QStringList{u"[object Object] 1,2"_s};
        QTest::newRow("line breaks stay inside one entry")
            << u"console.log('a\\nb')"_s << QStringList{u"a\nb"_s};
        QStringList fifty;
        for (int i = 0; i < 50; ++i)
            fifty.append(QString::number(i));
        QTest::newRow("51st call ignored") << u"for (let i = 0; i < 60; i++) console.log(i)"_s << fifty;
        QTest::newRow("cut to 1000 characters")
            << u"console.log('x'.repeat(1500))"_s << QStringList{QString(1000, u'x')};
        QTest::newRow("1000 characters kept whole")
            << u"console.log('x'.repeat(1000))"_s << QStringList{QString(1000, u'x')};
        QTest::newRow("combining marks count with their base")
            << u"console.log('e\\u0301'.repeat(1200))"_s << QStringList{u"e\u0301"_s.repeated(1000)};
        QTest::newRow("emoji sequences count once") << u"console.log('👨‍👩‍👧'.repeat(1001))"_s
                                                    << QStringList{u"👨‍👩‍👧"_s.repeated(1000)};
    }
    void console()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, logs);
        const auto lines = run(script, "[{}]");
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines[0].error, std::nullopt);
        QCOMPARE(lines[0].logs, std::optional(logs));
    }

    void consoleIsFreshForEveryItem_data()
    {
        QTest::addColumn<QString>("change");

        QTest::newRow("a function replaced") << u"console.log = () => {}"_s;
        QTest::newRow("a function deleted") << u"delete console.log"_s;
        QTest::newRow("console replaced") << u"console = {log() {}}"_s;
    }
    void consoleIsFreshForEveryItem()
    {
        QFETCH(QString, change);
        const auto lines =
            run(u"if (fields.i === '1') { %1; } console.info(typeof console.log); if (typeof console.log "
                "=== 'function') console.log(fields.i)"_s.arg(change),
                R"([{"i":"1"},{"i":"2"}])");
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines[0].logs.value_or(QStringList()) != (QStringList{u"function"_s, u"1"_s}));
        QCOMPARE(lines[1].logs, std::optional(QStringList{u"function"_s, u"2"_s}));
    }

    // Engine wording is not ours, so engine errors are matched by pattern.
    void failures_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("errorPattern");
        QTest::addColumn<QStringList>("logs");

        QTest::newRow("error object names its line") << u"let a = 1;\nlet b = 2;\nthrow new Error('third')"_s
                                                     << u"^Line 3: Error: third$"_s << QStringList{};
        QTest::newRow("type error") << u"null.x"_s << u"^Line 1: TypeError: .+$"_s << QStringList{};
        QTest::newRow("reference error")
            << u"\nmissing()"_s << u"^Line 2: ReferenceError: .*missing.*$"_s << QStringList{};
        QTest::newRow("syntax error") << u"fields.a = ;"_s << u"^Line 1: SyntaxError: .+$"_s << QStringList{};
        QTest::newRow("plain string") << u"throw 'just text'"_s << u"^just text$"_s << QStringList{};
        QTest::newRow("number") << u"throw 42"_s << u"^42$"_s << QStringList{};
        QTest::newRow("undefined") << u"throw undefined"_s << u"^undefined$"_s << QStringList{};
        QTest::newRow("object with a numeric line") << u"throw {line: 7.9, toString() { return 'custom' }}"_s
                                                    << u"^Line 7: custom$"_s << QStringList{};
        QTest::newRow("line beyond 32 bits wraps like ToInt32")
            << u"throw {line: 4294967297, toString() { return 'w' }}"_s << u"^Line 1: w$"_s << QStringList{};
        QTest::newRow("object with a text line")
            << u"throw {line: '7', toString() { return 'custom' }}"_s << u"^custom$"_s << QStringList{};
        QTest::newRow("object whose ToString throws") << u"throw {toString() { throw new Error('inner') }}"_s
                                                      << u"^Unknown JavaScript error$"_s << QStringList{};
        QTest::newRow("line getter that throws")
            << u"throw {get line() { throw 1 }, toString() { return 'g' }}"_s << u"^g$"_s << QStringList{};
        QTest::newRow("logs come back with the error")
            << u"console.log('before'); throw new Error('after')"_s << u"^Line 1: Error: after$"_s
            << QStringList{u"before"_s};
        QTest::newRow("console argument whose ToString throws")
            << u"console.log('a', {toString() { throw new Error('arg') }}); fields.x = 1"_s
            << u"^Line 1: Error: arg$"_s << QStringList{u"a undefined"_s};
        QTest::newRow("every reported exception, in order")
            << u"console.log({toString() { throw 'first' }}); throw 'second'"_s << u"^first\nsecond$"_s
            << QStringList{u"undefined"_s};
        QTest::newRow("console function removed then called")
            << u"delete console.log; console.log('x')"_s << u"^Line 1: TypeError: .+$"_s << QStringList{};
        QTest::newRow("runaway recursion")
            << u"function f() { return f() + 1 } f()"_s
            << u"^Line 1: RangeError: Maximum call stack size exceeded.?$"_s << QStringList{};
    }
    void failures()
    {
        QFETCH(QString, script);
        QFETCH(QString, errorPattern);
        QFETCH(QStringList, logs);

        const auto lines = run(script, R"([{"a":"1"},{"a":"2"}])");
        QCOMPARE(lines.size(), 2);
        for (const JSBatchOutputLine& line : lines) { // a failed item never stops the batch
            QCOMPARE(line.fields, std::nullopt);
            QVERIFY(line.error);
            QVERIFY2(QRegularExpression(errorPattern).match(*line.error).hasMatch(), qPrintable(*line.error));
            QCOMPARE(line.logs, logs.isEmpty() ? std::nullopt : std::optional(logs));
        }
    }

    void contextFlowsFromItemToItem_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QByteArray>("startingContext");
        QTest::addColumn<QStringList>("expected");

        const QString count =
            u"context.count = Number(context.count || 0) + 1; fields.seen = context.count;"_s;
        QTest::newRow("success carries the context")
            << count << QByteArray("{}")
            << QStringList{uR"({"fields":{"i":"1","seen":"1"}})"_s, uR"({"fields":{"i":"2","seen":"2"}})"_s,
                           uR"({"fields":{"i":"3","seen":"3"}})"_s};
        QTest::newRow("failure keeps the context before it")
            << count + u"if (fields.i === '2') throw 'no'"_s << QByteArray("{}")
            << QStringList{uR"({"fields":{"i":"1","seen":"1"}})"_s, uR"({"error":"no"})"_s,
                           uR"({"fields":{"i":"3","seen":"2"}})"_s};
        QTest::newRow("bad fields keep the context before it")
            << count + u"if (fields.i === '2') fields = 0"_s << QByteArray("{}")
            << QStringList{uR"({"fields":{"i":"1","seen":"1"}})"_s,
                           uR"({"error":"`fields` must be an object"})"_s,
                           uR"({"fields":{"i":"3","seen":"2"}})"_s};
        QTest::newRow("starting context is seen first")
            << count << QByteArray(R"({"count":"41"})")
            << QStringList{uR"({"fields":{"i":"1","seen":"42"}})"_s, uR"({"fields":{"i":"2","seen":"43"}})"_s,
                           uR"({"fields":{"i":"3","seen":"44"}})"_s};
        QTest::newRow("the obvious counter counts")
            << u"context.count = (context.count || 0) + 1; fields.n = String(context.count)"_s
            << QByteArray("{}")
            << QStringList{uR"({"fields":{"i":"1","n":"1"}})"_s, uR"({"fields":{"i":"2","n":"2"}})"_s,
                           uR"({"fields":{"i":"3","n":"3"}})"_s};
        // A context described without quotes: each key with the type and text of its value.
        const QString described =
            u"fields.seen = Object.keys(context).map(k => k + ':' + (context[k] === null ? 'null' :"
            u" typeof context[k]) + ':' + context[k]).join(' ');"_s;
        QTest::newRow("numbers, booleans, null and strings keep their types")
            << described + u"context = {n: 1.5, b: true, z: null, s: '7'}"_s << QByteArray("{}")
            << QStringList{
                   uR"({"fields":{"i":"1","seen":""}})"_s,
                   uR"({"fields":{"i":"2","seen":"n:number:1.5 b:boolean:true z:null:null s:string:7"}})"_s,
                   uR"({"fields":{"i":"3","seen":"n:number:1.5 b:boolean:true z:null:null s:string:7"}})"_s};
        QTest::newRow("nested arrays and objects are kept")
            << u"context.names = (context.names || []).concat([{i: fields.i}]);"
               u"fields.seen = context.names.map(x => x.i).join('+')"_s
            << QByteArray("{}")
            << QStringList{uR"({"fields":{"i":"1","seen":"1"}})"_s, uR"({"fields":{"i":"2","seen":"1+2"}})"_s,
                           uR"({"fields":{"i":"3","seen":"1+2+3"}})"_s};
        QTest::newRow("what JSON can't carry is dropped")
            << described + u"context = {f() {}, u: undefined, d: new Date(0), k: 1}"_s << QByteArray("{}")
            << QStringList{
                   uR"({"fields":{"i":"1","seen":""}})"_s,
                   uR"({"fields":{"i":"2","seen":"d:string:1970-01-01T00:00:00.000Z k:number:1"}})"_s,
                   uR"({"fields":{"i":"3","seen":"d:string:1970-01-01T00:00:00.000Z k:number:1"}})"_s};
        QTest::newRow("an array as the context is carried")
            << u"fields.seen = String(Array.isArray(context) && context.length); context = [fields.i]"_s
            << QByteArray("{}")
            << QStringList{uR"({"fields":{"i":"1","seen":"false"}})"_s,
                           uR"({"fields":{"i":"2","seen":"1"}})"_s, uR"({"fields":{"i":"3","seen":"1"}})"_s};
        QTest::newRow("a context JSON can't hold fails its item and is not carried")
            << count + u"if (fields.i === '2') context.self = context"_s << QByteArray("{}")
            << QStringList{uR"({"fields":{"i":"1","seen":"1"}})"_s,
                           uR"({"error":"TypeError: JSON.stringify cannot serialize cyclic structures."})"_s,
                           uR"({"fields":{"i":"3","seen":"2"}})"_s};
        QTest::newRow("a replaced context object is carried")
            << u"fields.prev = String(context.k); context = {k: fields.i}"_s << QByteArray(R"({"other":"x"})")
            << QStringList{uR"({"fields":{"i":"1","prev":"undefined"}})"_s,
                           uR"({"fields":{"i":"2","prev":"1"}})"_s, uR"({"fields":{"i":"3","prev":"2"}})"_s};
    }
    void contextFlowsFromItemToItem()
    {
        QFETCH(QString, script);
        QFETCH(QByteArray, startingContext);
        QFETCH(QStringList, expected);
        QCOMPARE(run(script, R"([{"i":"1"},{"i":"2"},{"i":"3"}])", startingContext), linesFromJson(expected));
    }

    void emptyBatchAnswersNothing() { QCOMPARE(run(u"throw 1"_s, "[]"), QList<JSBatchOutputLine>{}); }
};

QTEST_APPLESS_MAIN(tst_JSBatchEvaluator)
#include "tst_JSBatchEvaluator.moc"
