#include "planning/ResultPattern.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_ResultPattern : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void renders_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");

        QTest::newRow("placeholder") << u"{row}"_s << u"3"_s;
        QTest::newRow("literal around") << u"IMG_{row}-x"_s << u"IMG_3-x"_s;
        QTest::newRow("two placeholders") << u"{a}{b}"_s << u"AB"_s;
        QTest::newRow("doubled braces") << u"{{row}}"_s << u"{3}"_s;
        QTest::newRow("no closing brace") << u"{row"_s << u"{row"_s;
        QTest::newRow("lone closing brace") << u"}"_s << u"}"_s;
        QTest::newRow("closing brace after a placeholder") << u"{a}}"_s << u"A}"_s;
        QTest::newRow("opening brace at the end") << u"{a}{"_s << u"A{"_s;
        QTest::newRow("brace before a placeholder") << u"{a{b}"_s << u"{aB"_s;
        QTest::newRow("nested") << u"{a{b}c}"_s << u"{aBc}"_s;
        QTest::newRow("missing field stays, braces too") << u"x{missing}y"_s << u"x{missing}y"_s;
        QTest::newRow("missing field, then a real one") << u"{missing}{a}"_s << u"{missing}A"_s;
        QTest::newRow("case-sensitive names") << u"{Row}"_s << u"{Row}"_s;
        QTest::newRow("dot in a name") << u"{image.width}"_s << u"640"_s;
        QTest::newRow("space in a name") << u"{my field}"_s << u"mine"_s;
        QTest::newRow("spaces are part of the name") << u"{ a }"_s << u"{ a }"_s;
        QTest::newRow("empty name looks up the empty field") << u"{}"_s << u"empty"_s;
        QTest::newRow("emoji name") << u"{😀}"_s << u"smile"_s;
        QTest::newRow("values are not expanded again") << u"{braces}"_s << u"{a}"_s;
        QTest::newRow("values go in unchanged") << u"{slash}"_s << u" a/b: "_s;
        QTest::newRow("brace carrying a combining mark is no opening") << u"{\u0301a}"_s << u"{\u0301a}"_s;
        QTest::newRow("brace carrying a combining mark is no closing") << u"{a}\u0301"_s << u"{a}\u0301"_s;
        QTest::newRow("a marked closing brace is part of the name") << u"{a}\u0301}"_s << u"never"_s;
        QTest::newRow("empty pattern") << QString() << QString();
    }
    void renders()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        const Fields fields{
            {u"row"_s, u"3"_s},           {u"a"_s, u"A"_s},           {u"b"_s, u"B"_s},
            {u"image.width"_s, u"640"_s}, {u"my field"_s, u"mine"_s}, {QString(), u"empty"_s},
            {u"😀"_s, u"smile"_s},         {u"braces"_s, u"{a}"_s},    {u"slash"_s, u" a/b: "_s},
            {u"a}\u0301"_s, u"never"_s},
        };
        const ResultPattern::Rendered rendered = ResultPattern(pattern).render(fields);
        QCOMPARE(rendered.stem, expected);
        QCOMPARE(rendered.error, std::nullopt);
    }

    void emptyNameStaysWithoutThatField()
    {
        QCOMPARE(ResultPattern(u"{}"_s).render(Fields{{u"a"_s, u"A"_s}}).stem, u"{}"_s);
    }

    void formats_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");

        QTest::newRow("pad a number") << u"{row:03}"_s << u"007"_s;
        QTest::newRow("pad leaves a longer value") << u"{long:03}"_s << u"12345"_s;
        QTest::newRow("pad counts characters, not code units") << u"{emoji:03}"_s << u"0👍🏽e"_s;
        QTest::newRow("upper") << u"{city:upper}"_s << u"ÆRØSKØBING"_s;
        QTest::newRow("lower") << u"{shout:lower}"_s << u"straße"_s;
        QTest::newRow("upper of ß") << u"{shout:lower:upper}"_s << u"STRASSE"_s;
        QTest::newRow("title by words") << u"{words:title}"_s << u"The Cat's Hat, Again"_s;
        QTest::newRow("ascii") << u"{city:ascii}"_s << u"AEroskobing"_s;
        QTest::newRow("ascii of other scripts") << u"{greek:ascii}"_s << u"Athena"_s;
        QTest::newRow("a range") << u"{city:1-3}"_s << u"Ærø"_s;
        QTest::newRow("a range to the end") << u"{city:4-}"_s << u"skøbing"_s;
        QTest::newRow("a range past the end") << u"{city:8-20}"_s << u"ing"_s;
        QTest::newRow("a range past the end, empty") << u"{city:30-}"_s << u""_s;
        QTest::newRow("a range of graphemes: a combining mark stays") << u"{marked:1-2}"_s << u"éx"_s;
        QTest::newRow("a range of graphemes: an emoji with its modifier")
            << u"{emoji:1-1}"_s << u"👍🏽"_s;
        QTest::newRow("trim") << u"[{padded:trim}]"_s << u"[in]"_s;
        QTest::newRow("replace every one, literally") << u"{dotted:replace/./_}"_s << u"a_b_c"_s;
        QTest::newRow("replace with nothing") << u"{dotted:replace/./}"_s << u"abc"_s;
        QTest::newRow("chain left to right") << u"{words:1-3:upper:04}"_s << u"0THE"_s;
        QTest::newRow("chain order matters") << u"{words:upper:1-3}"_s << u"THE"_s;
        QTest::newRow("a field whose name holds a colon is that field") << u"{a:b}"_s << u"whole"_s;
        QTest::newRow("its format after it") << u"{a:b:upper}"_s << u"WHOLE"_s;
        QTest::newRow("a format of a missing field stays literal") << u"{missing:03}"_s << u"{missing:03}"_s;
        QTest::newRow("with literal text around") << u"IMG_{row:04}.x"_s << u"IMG_0007.x"_s;
    }
    void formats()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        const Fields fields{
            {u"row"_s, u"7"_s},           {u"long"_s, u"12345"_s},   {u"emoji"_s, u"👍🏽e"_s},
            {u"city"_s, u"Ærøskøbing"_s}, {u"shout"_s, u"STRAßE"_s}, {u"words"_s, u"the cAT's hat, again"_s},
            {u"greek"_s, u"Αθηνα"_s},     {u"marked"_s, u"éxyz"_s},  {u"padded"_s, u"  in 	"_s},
            {u"dotted"_s, u"a.b.c"_s},    {u"a:b"_s, u"whole"_s},
        };
        const ResultPattern::Rendered rendered = ResultPattern(pattern).render(fields);
        QCOMPARE(rendered.error, std::nullopt);
        QCOMPARE(rendered.stem, expected);
    }

    void unknownFormats_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("error");
        const auto error = [](const QString& format, const QString& placeholder) {
            return u"The pattern uses the unknown format “%1” in “%2”"_s.arg(format, placeholder);
        };
        QTest::newRow("a word") << u"{row:bold}"_s << error(u"bold"_s, u"{row:bold}"_s);
        QTest::newRow("the first bad step of a chain")
            << u"{row:03:x:y}"_s << error(u"x"_s, u"{row:03:x:y}"_s);
        QTest::newRow("an empty step") << u"{row:}"_s << error(u""_s, u"{row:}"_s);
        QTest::newRow("a padding without its zero") << u"{row:3}"_s << error(u"3"_s, u"{row:3}"_s);
        QTest::newRow("a range that starts at 0") << u"{row:0-2}"_s << error(u"0-2"_s, u"{row:0-2}"_s);
        QTest::newRow("a range backwards") << u"{row:5-2}"_s << error(u"5-2"_s, u"{row:5-2}"_s);
        QTest::newRow("a replace without its target")
            << u"{row:replace//x}"_s << error(u"replace//x"_s, u"{row:replace//x}"_s);
        QTest::newRow("a replace with a slash too many")
            << u"{row:replace/a/b/c}"_s << error(u"replace/a/b/c"_s, u"{row:replace/a/b/c}"_s);
        QTest::newRow("cases count") << u"{row:UPPER}"_s << error(u"UPPER"_s, u"{row:UPPER}"_s);
    }
    void unknownFormats()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, error);
        QCOMPARE(ResultPattern(pattern).render(Fields{{u"row"_s, u"7"_s}}).error, std::optional(error));
    }
};

QTEST_APPLESS_MAIN(tst_ResultPattern)
#include "tst_ResultPattern.moc"
