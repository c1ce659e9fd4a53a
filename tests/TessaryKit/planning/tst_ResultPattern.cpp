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
        QCOMPARE(ResultPattern(pattern).render(fields), expected);
    }

    void emptyNameStaysWithoutThatField()
    {
        QCOMPARE(ResultPattern(u"{}"_s).render(Fields{{u"a"_s, u"A"_s}}), u"{}"_s);
    }
};

QTEST_APPLESS_MAIN(tst_ResultPattern)
#include "tst_ResultPattern.moc"
