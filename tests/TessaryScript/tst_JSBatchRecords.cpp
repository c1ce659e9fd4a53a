#include "ProtocolTestSupport.h"

#include <QStringDecoder>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString loneHighSurrogate()
{
    return QString(QChar(0xD800));
}

bool isCleanUtf8Line(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    [[maybe_unused]] const QString text = decoder(bytes);
    return !decoder.hasError() && !bytes.contains('\n') && !bytes.contains('\r') && !bytes.contains('\0');
}

} // namespace

class tst_JSBatchRecords : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void requestDecodes_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<JSBatchInput>("expected");

        QTest::newRow("empty batch") << QByteArray(R"({"script":"","context":{},"items":[]})")
                                     << JSBatchInput{};
        QTest::newRow("other keys ignored")
            << QByteArray(R"({"version":3,"script":"x","context":{"c":"1"},"items":[{"a":"b"}],"z":null})")
            << JSBatchInput{u"x"_s, {{u"c"_s, u"1"_s}}, {{{u"a"_s, u"b"_s}}}};
        QTest::newRow("escaping style carries no meaning")
            << QByteArray(R"({ "items" : [ { "p" : "a\/b\u00e9" } ], "context" : { }, "script" : "\u0041" })")
            << JSBatchInput{u"A"_s, {}, {{{u"p"_s, u"a/bé"_s}}}};
        QTest::newRow("empty item maps keep their place")
            << QByteArray(R"({"script":"","context":{},"items":[{},{"k":""},{}]})")
            << JSBatchInput{QString(), {}, {Fields{}, Fields{{u"k"_s, QString()}}, Fields{}}};
    }
    void requestDecodes()
    {
        QFETCH(QByteArray, json);
        QFETCH(JSBatchInput, expected);
        QString error;
        const auto decoded = JSBatchInput::fromJson(json, &error);
        QVERIFY2(decoded, qPrintable(error));
        QVERIFY(*decoded == expected);
    }

    void requestIsRejected_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("errorMentions");

        QTest::newRow("empty") << QByteArray() << u"isn't valid JSON"_s;
        QTest::newRow("not JSON") << QByteArray("script") << u"isn't valid JSON"_s;
        QTest::newRow("truncated") << QByteArray(R"({"script":"","context":{},"items":[)")
                                   << u"isn't valid JSON"_s;
        QTest::newRow("invalid UTF-8")
            << QByteArray("{\"script\":\"\xff\",\"context\":{},\"items\":[]}") << u"isn't valid JSON"_s;
        QTest::newRow("encoded surrogate in UTF-8")
            << QByteArray("{\"script\":\"\xed\xa0\x80\",\"context\":{},\"items\":[]}")
            << u"isn't valid JSON"_s;
        QTest::newRow("array at top") << QByteArray("[]") << u"isn't a JSON object"_s;
        QTest::newRow("no script") << QByteArray(R"({"context":{},"items":[]})") << u"“script”"_s;
        QTest::newRow("no context, no items") << QByteArray(R"({"script":"","items":[]})") << u"“context”"_s;
        QTest::newRow("no items") << QByteArray(R"({"script":"","context":{}})") << u"“items”"_s;
        QTest::newRow("script is a number")
            << QByteArray(R"({"script":1,"context":{},"items":[]})") << u"a string at “script”"_s;
        QTest::newRow("context is null")
            << QByteArray(R"({"script":"","context":null,"items":[]})") << u"an object at “context”"_s;
        QTest::newRow("context is an array")
            << QByteArray(R"({"script":"","context":[],"items":[]})") << u"an object at “context”"_s;
        QTest::newRow("number in context")
            << QByteArray(R"({"script":"","context":{"n":1},"items":[]})") << u"a string at “context.n”"_s;
        QTest::newRow("items is an object")
            << QByteArray(R"({"script":"","context":{},"items":{}})") << u"an array at “items”"_s;
        QTest::newRow("item is a string")
            << QByteArray(R"({"script":"","context":{},"items":[{},"a"]})") << u"an object at “items[1]”"_s;
        QTest::newRow("number in an item")
            << QByteArray(R"({"script":"","context":{},"items":[{"a":"b","n":2}]})")
            << u"a string at “items[0].n”"_s;
        QTest::newRow("null in an item") << QByteArray(R"({"script":"","context":{},"items":[{"n":null}]})")
                                         << u"a string at “items[0].n”"_s;
        QTest::newRow("boolean in an item")
            << QByteArray(R"({"script":"","context":{},"items":[{"n":true}]})")
            << u"a string at “items[0].n”"_s;
    }
    void requestIsRejected()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, errorMentions);
        QString error;
        QVERIFY(!JSBatchInput::fromJson(json, &error));
        QVERIFY2(error.contains(errorMentions), qPrintable(error));
    }

    void textSurvivesBothDirections_data()
    {
        QTest::addColumn<QString>("text");

        QTest::newRow("line breaks") << u"a\nb\r\nc\u2028d\u0085e"_s;
        QTest::newRow("quote and backslash") << u"say \"hi\" \\ bye"_s;
        QTest::newRow("slash") << u"a/b"_s;
        QTest::newRow("NUL and controls") << u"a"_s + QChar(0) + u"b\u0001\u001f\u007f"_s;
        QTest::newRow("lone high surrogate") << u"x"_s + loneHighSurrogate() + u"y"_s;
        QTest::newRow("lone low surrogate at end") << u"x"_s + QChar(0xDC00);
        QTest::newRow("surrogates in wrong order") << QString(QChar(0xDC00)) + QChar(0xD800);
        QTest::newRow("astral and combining") << u"😀 e\u0301 👨‍👩‍👧"_s;
        QTest::newRow("empty") << QString();
    }
    void textSurvivesBothDirections()
    {
        QFETCH(QString, text);

        const JSBatchInput request{text, {{text, text}}, {{{u"k"_s, text}}, {{text, u"v"_s}}}};
        const QByteArray requestJson = request.toJson();
        QVERIFY(!requestJson.contains('\n'));
        const auto decodedRequest = JSBatchInput::fromJson(requestJson);
        QVERIFY(decodedRequest);
        QVERIFY(*decodedRequest == request);

        const JSBatchOutputLine line{Fields{{text, text}}, text, QStringList{text, text}};
        const QByteArray lineJson = line.toJsonLine();
        QVERIFY2(isCleanUtf8Line(lineJson), lineJson.constData());
        QCOMPARE(JSBatchOutputLine::fromJsonLine(lineJson), std::optional(line));
    }

    // Large requests are encoded in parts; every item must come back once, in its place.
    void requestOfAnySizeSurvives_data()
    {
        QTest::addColumn<qsizetype>("itemCount");
        for (const qsizetype count : {0, 1, 1'999, 2'000, 2'001, 5'001})
            QTest::addRow("%lld items", qint64(count)) << count;
    }
    void requestOfAnySizeSurvives()
    {
        QFETCH(qsizetype, itemCount);
        JSBatchInput request{u"fields.n = '1';"_s, {{u"c"_s, u"\"]}"_s}}, {}};
        for (qsizetype i = 0; i < itemCount; ++i)
            request.items.append(i % 7 == 0 ? Fields{}
                                            : Fields{{u"n"_s, QString::number(i)},
                                                     {u"q\",\\"_s, u"\n"_s.repeated(int(i % 3))}});
        const QByteArray json = request.toJson();
        QVERIFY(!json.contains('\n'));
        const auto decoded = JSBatchInput::fromJson(json);
        QVERIFY(decoded);
        QVERIFY(*decoded == request);
    }

    void answerLineDecodes_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<JSBatchOutputLine>("expected");

        const Fields ab{{u"a"_s, u"b"_s}};
        QTest::newRow("empty object") << QByteArray("{}") << JSBatchOutputLine{};
        QTest::newRow("nulls mean absent")
            << QByteArray(R"({"fields":null,"error":null,"logs":null})") << JSBatchOutputLine{};
        QTest::newRow("success with logs")
            << QByteArray(R"({"fields":{"a":"b"},"logs":["one",""]})")
            << JSBatchOutputLine{ab, std::nullopt, QStringList{u"one"_s, QString()}};
        QTest::newRow("failure") << QByteArray(R"({"error":"a\/b"})")
                                 << JSBatchOutputLine{std::nullopt, u"a/b"_s, {}};
        QTest::newRow("other keys ignored") << QByteArray(R"({"fields":{"a":"b"},"context":{"n":1},"x":[1]})")
                                            << JSBatchOutputLine{ab, {}, {}};
        QTest::newRow("empty fields and logs")
            << QByteArray(R"({"fields":{},"logs":[]})") << JSBatchOutputLine{Fields{}, {}, QStringList{}};
        QTest::newRow("white space around")
            << QByteArray(" {\"error\" : \"e\"} ") << JSBatchOutputLine{{}, u"e"_s, {}};
    }
    void answerLineDecodes()
    {
        QFETCH(QByteArray, json);
        QFETCH(JSBatchOutputLine, expected);
        QCOMPARE(JSBatchOutputLine::fromJsonLine(json), std::optional(expected));
    }

    void answerLineIsInvalid_data()
    {
        QTest::addColumn<QByteArray>("json");

        QTest::newRow("empty line") << QByteArray();
        QTest::newRow("not JSON") << QByteArray("fields");
        QTest::newRow("array") << QByteArray(R"([{"error":"e"}])");
        QTest::newRow("string") << QByteArray(R"("error")");
        QTest::newRow("number in fields") << QByteArray(R"({"fields":{"n":1}})");
        QTest::newRow("null in fields") << QByteArray(R"({"fields":{"n":null}})");
        QTest::newRow("fields is an array") << QByteArray(R"({"fields":["a"]})");
        QTest::newRow("error is a number") << QByteArray(R"({"error":5})");
        QTest::newRow("error is an object") << QByteArray(R"({"error":{}})");
        QTest::newRow("logs is a string") << QByteArray(R"({"logs":"x"})");
        QTest::newRow("number in logs") << QByteArray(R"({"logs":["a",1]})");
        QTest::newRow("null in logs") << QByteArray(R"({"logs":[null]})");
        QTest::newRow("valid fields, invalid logs") << QByteArray(R"({"fields":{"a":"b"},"logs":{}})");
        QTest::newRow("two lines") << QByteArray("{}\n{}");
    }
    void answerLineIsInvalid()
    {
        QFETCH(QByteArray, json);
        QCOMPARE(JSBatchOutputLine::fromJsonLine(json), std::nullopt);
    }

    void answerLineLeavesOutAbsentKeys_data()
    {
        QTest::addColumn<JSBatchOutputLine>("line");
        QTest::addColumn<QByteArray>("json");

        QTest::newRow("nothing") << JSBatchOutputLine{} << QByteArray("{}");
        QTest::newRow("error only") << JSBatchOutputLine{{}, u"`fields` must be an object"_s, {}}
                                    << QByteArray(R"({"error":"`fields` must be an object"})");
        QTest::newRow("fields only") << JSBatchOutputLine{Fields{{u"n"_s, u"2"_s}}, {}, {}}
                                     << QByteArray(R"({"fields":{"n":"2"}})");
        QTest::newRow("empty fields stay")
            << JSBatchOutputLine{Fields{}, {}, {}} << QByteArray(R"({"fields":{}})");
        QTest::newRow("error with logs") << JSBatchOutputLine{{}, u"e"_s, QStringList{u"l"_s}}
                                         << QByteArray(R"({"error":"e","logs":["l"]})");
    }
    void answerLineLeavesOutAbsentKeys()
    {
        QFETCH(JSBatchOutputLine, line);
        QFETCH(QByteArray, json);
        QCOMPARE(line.toJsonLine(), json);
    }
};

QTEST_APPLESS_MAIN(tst_JSBatchRecords)
#include "tst_JSBatchRecords.moc"
