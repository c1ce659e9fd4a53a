#include "EditorFormats.h"

#include <QApplication>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

std::unique_ptr<SyntaxHighlighter> highlighterOf(const QString& kind, const QStringList& known)
{
    if (kind == u"regex"_s)
        return std::make_unique<RegexHighlighter>();
    if (kind == u"script"_s)
        return std::make_unique<JavaScriptHighlighter>();
    return std::make_unique<PatternFieldHighlighter>(QSet<QString>(known.cbegin(), known.cend()));
}

// A mask left empty means: nothing set on any character.
QString orPlain(const QString& mask, const QString& text)
{
    return mask.isEmpty() ? QString(text.size(), u'.') : mask;
}

} // namespace

class tst_SyntaxHighlighting : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void coloursEveryCharacter_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("known");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("foreground");
        QTest::addColumn<QString>("background");
        QTest::addColumn<QString>("bold");
        QTest::addColumn<QString>("underline");

        const QStringList none;
        const QStringList filename{u"filename"_s};
        QTest::newRow("known and unknown reference")
            << u"pattern"_s << filename << u"{filename}-{row}"_s << u"...........rrrrr"_s
            << u"gggggggggg......"_s << u""_s << u"...........uuuuu"_s;
        QTest::newRow("no known fields") << u"pattern"_s << none << u"{filename}"_s << u"rrrrrrrrrr"_s
                                         << u""_s << u""_s << u"uuuuuuuuuu"_s;
        QTest::newRow("spaces belong to the name")
            << u"pattern"_s << filename << u"{ filename }"_s << u"rrrrrrrrrrrr"_s << u""_s << u""_s
            << u"uuuuuuuuuuuu"_s;
        QTest::newRow("case counts") << u"pattern"_s << filename << u"{File}"_s << u"rrrrrr"_s << u""_s
                                     << u""_s << u"uuuuuu"_s;
        QTest::newRow("empty and nested braces: the empty name is looked up too")
            << u"pattern"_s << none << u"{}{a{b}"_s << u"rr..rrr"_s << u""_s << u""_s << u"uu..uuu"_s;
        QTest::newRow("a format of a known field is known")
            << u"pattern"_s << filename << u"{filename:03:upper}"_s << u""_s << u"ggggggggggggggggggg"_s
            << u""_s << u""_s;
        QTest::newRow("an unknown format is not")
            << u"pattern"_s << filename << u"{filename:bold}"_s << u"rrrrrrrrrrrrrrr"_s << u""_s << u""_s
            << u"uuuuuuuuuuuuuuu"_s;
        QTest::newRow("named groups")
            << u"regex"_s << none << u"(?P<year>\\d{4})-(?P<month>\\d+)"_s
            << u"pp.........p.pp.pp..........pp"_s << u"....gggg............ggggg....."_s
            << u"....BBBB............BBBBB....."_s << u""_s;
        // Group names as the regex engine reads them, not as they look.
        QTest::newRow("not a valid group name")
            << u"regex"_s << none << u"(?<a.b>x)"_s << u"pp..p...p"_s << u""_s << u""_s << u"....u...."_s;
        QTest::newRow("unclosed group: the end is marked")
            << u"regex"_s << none << u"ab("_s << u"..p"_s << u""_s << u""_s << u"..u"_s;
        QTest::newRow("nothing to repeat: where the parser stopped")
            << u"regex"_s << none << u"a*+*"_s << u".ppp"_s << u""_s << u""_s << u"...u"_s;
        QTest::newRow("name in quotes") << u"regex"_s << none << u"(?'name'x)"_s << u"pp.......p"_s
                                        << u"...gggg..."_s << u"...BBBB..."_s << u""_s;
        QTest::newRow("lookbehind is no name")
            << u"regex"_s << none << u"(?<=x)(?<n>y)"_s << u"pp...ppp....p"_s << u".........g..."_s
            << u".........B..."_s << u""_s;
        QTest::newRow("escaped parenthesis opens no group")
            << u"regex"_s << none << u"(?<n>a)\\(?<n>b"_s << u"pp....p.pp...."_s << u"...g.........."_s
            << u"...B.........."_s << u""_s;
        QTest::newRow("brace with a combining mark is literal")
            << u"pattern"_s << none << u"{\u0301a}"_s << u""_s << u""_s << u""_s << u""_s;
        QTest::newRow("keywords, literals, field access")
            << u"script"_s << none << u"if (fields['name'] == 'a') return;"_s
            << u"PP.........bbbbbb.....bbb..PPPPPP."_s << u"............gggg.................."_s
            << u"BB.........................BBBBBB."_s << u""_s;
        QTest::newRow("keyword inside a literal")
            << u"script"_s << none << u"\"if\""_s << u"bbbb"_s << u""_s << u".BB."_s << u""_s;
        QTest::newRow("other quote inside a literal")
            << u"script"_s << none << u"\"it's\""_s << u"bbbbbb"_s << u""_s << u""_s << u""_s;
        QTest::newRow("unclosed literal")
            << u"script"_s << none << u"x = \"abc"_s << u""_s << u""_s << u""_s << u""_s;
        QTest::newRow("literal across a line break")
            << u"script"_s << none << u"a = \"ab\ncd\""_s << u""_s << u""_s << u""_s << u""_s;
        QTest::newRow("mixed quotes in a field access")
            << u"script"_s << none << u"fields['name\"]"_s << u""_s << u""_s << u""_s << u""_s;
        QTest::newRow("whole words, case-sensitive")
            << u"script"_s << none << u"variable inner dot Var éif typeof"_s
            << u"...........................PPPPPP"_s << u""_s << u"...........................BBBBBB"_s
            << u""_s;
    }
    void coloursEveryCharacter()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, known);
        QFETCH(QString, text);
        QFETCH(QString, foreground);
        QFETCH(QString, background);
        QFETCH(QString, bold);
        QFETCH(QString, underline);

        SyntaxHighlightEditor editor(*highlighterOf(kind, known), u"Rule"_s);
        editor.setPlainText(text);
        const EditorFormats shown = EditorFormats::of(editor);
        QCOMPARE(shown.foreground, orPlain(foreground, text));
        QCOMPARE(shown.background, orPlain(background, text));
        QCOMPARE(shown.bold, orPlain(bold, text));
        QCOMPARE(shown.underline, orPlain(underline, text));
    }

    void translucentColoursKeepTheirHue_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << false;
        QTest::newRow("dark") << true;
    }
    void translucentColoursKeepTheirHue()
    {
        QFETCH(bool, dark);
        const QColor purple = HighlightPalette::colour(HighlightColour::Purple, dark);
        const QColor translucent = HighlightPalette::colour(HighlightColour::PurpleTranslucent, dark);
        QCOMPARE(translucent.rgb(), purple.rgb());
        QCOMPARE(qRound(translucent.alphaF() * 100), 80);
        QCOMPARE(qRound(HighlightPalette::colour(HighlightColour::GreenTranslucent, dark).alphaF() * 100),
                 20);
        QVERIFY(HighlightPalette::colour(HighlightColour::Red, dark) !=
                HighlightPalette::colour(HighlightColour::Red, !dark));
    }

    void aDarkPaletteRecolours()
    {
        SyntaxHighlightEditor editor(RegexHighlighter(), u"Rule"_s);
        editor.setPlainText(u"a+"_s);
        QPalette dark = editor.palette();
        dark.setColor(QPalette::Base, Qt::black);
        dark.setColor(QPalette::Text, Qt::white);
        editor.setPalette(dark);
        const QTextLayout::FormatRange plus = editor.document()->begin().layout()->formats().value(0);
        QCOMPARE(plus.format.foreground().color(),
                 HighlightPalette::colour(HighlightColour::PurpleTranslucent, true));
    }

    void theBaseFontIsTheFixedPitchFontAtTwelvePoints()
    {
        const SyntaxHighlightEditor editor(JavaScriptHighlighter(), u"Script"_s);
        QCOMPARE(editor.document()->defaultFont().pointSize(), 12);
        QCOMPARE(editor.document()->defaultFont().family(), HighlightPalette::codeFont().family());
        QCOMPARE(editor.document()->documentMargin(), 5.0);
        QCOMPARE(editor.accessibleName(), u"Script"_s);
        QCOMPARE(editor.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    }

    void equality()
    {
        QVERIFY(RegexHighlighter() == RegexHighlighter());
        QVERIFY(!(static_cast<const SyntaxHighlighter&>(RegexHighlighter()) == JavaScriptHighlighter()));
        QVERIFY(PatternFieldHighlighter({u"a"_s, u"b"_s}) == PatternFieldHighlighter({u"b"_s, u"a"_s}));
        QVERIFY(!(PatternFieldHighlighter({u"a"_s}) == PatternFieldHighlighter({u"a"_s, u"b"_s})));
    }
};

QTEST_MAIN(tst_SyntaxHighlighting)
#include "tst_SyntaxHighlighting.moc"
