#include "common/KitCatalogue.h"
#include "planning/NameValidation.h"

#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_NameValidation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void judges_data()
    {
        QTest::addColumn<QString>("newStem");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("error"); // empty: the name passes

        const QString empty = u"The new name is empty"_s;
        const QString controls = u"The new name contains line breaks or other control characters"_s;
        const auto slashOrColon = [](const QString& name) {
            return u"The new name “%1” contains “/” or “:”, which can't be used in file names"_s.arg(name);
        };
        const auto tooLong = [](int bytes) {
            return u"The new name is too long (%1 bytes, the limit is 255)"_s.arg(bytes);
        };

        QTest::newRow("plain") << u"photo"_s << u"jpg"_s << QString();
        QTest::newRow("empty") << QString() << u"txt"_s << empty;
        QTest::newRow("spaces and tabs") << u" \t  "_s << QString() << empty;
        QTest::newRow("no-break and ideographic spaces") << u"\u00A0\u3000"_s << u"txt"_s << empty;
        QTest::newRow("line break is not blank") << u"\n"_s << QString() << controls;
        QTest::newRow("blanks around a name stay") << u"  a  "_s << u"txt"_s << QString();
        QTest::newRow("single dot") << u"."_s << QString() << u"“.” can't be used as a file name"_s;
        QTest::newRow("two dots") << u".."_s << QString() << u"“..” can't be used as a file name"_s;
        QTest::newRow("dot with an extension is fine") << u"."_s << u"txt"_s << QString();
        QTest::newRow("slash") << u"a/b"_s << u"txt"_s << slashOrColon(u"a/b.txt"_s);
        QTest::newRow("colon") << u"a:b"_s << QString() << slashOrColon(u"a:b"_s);
        QTest::newRow("slash in the extension") << u"a"_s << u"b/c"_s << slashOrColon(u"a.b/c"_s);
        QTest::newRow("slash before a control character")
            << u"a/\n"_s << QString() << slashOrColon(u"a/\n"_s);
        QTest::newRow("NUL") << u"a"_s + QChar(0) << QString() << controls;
        QTest::newRow("delete") << u"a\u007F"_s << QString() << controls;
        QTest::newRow("next line U+0085") << u"a\u0085b"_s << QString() << controls;
        QTest::newRow("line separator U+2028 is no control") << u"a\u2028b"_s << QString() << QString();
        QTest::newRow("tab inside") << u"a\tb"_s << QString() << controls;
        QTest::newRow("braces are fine") << u"{missing}"_s << QString() << QString();
        QTest::newRow("255 bytes") << QString(251, u'a') << u"txt"_s << QString();
        QTest::newRow("256 bytes") << QString(252, u'a') << u"txt"_s << tooLong(256);
        QTest::newRow("100 two-byte letters") << QString(100, u'é') << QString() << QString();
        QTest::newRow("128 two-byte letters") << QString(128, u'é') << QString() << tooLong(256);
        QTest::newRow("63 emoji and 3 bytes") << u"😀"_s.repeated(63) << u"ab"_s << QString();
        QTest::newRow("64 emoji") << u"😀"_s.repeated(64) << QString() << tooLong(256);
        const QString surrogate =
            u"The new name contains a lone surrogate (half of a character), which can't be "
            "written in a file name"_s;
        QTest::newRow("lone high surrogate") << u"a"_s + QChar(0xD83D) << u"txt"_s << surrogate;
        QTest::newRow("lone low surrogate at the start") << QChar(0xDE00) + u"a"_s << QString() << surrogate;
        QTest::newRow("surrogates in the wrong order")
            << QString() + QChar(0xDE00) + QChar(0xD83D) << QString() << surrogate;
        QTest::newRow("U+FFFD is a character") << u"a�"_s << QString() << QString();
        QTest::newRow("300 bytes") << QString(300, u'x') << QString() << tooLong(300);
    }
    void judges()
    {
        QFETCH(QString, newStem);
        QFETCH(QString, extension);
        QFETCH(QString, error);
        const QString newName = extension.isEmpty() ? newStem : newStem + u'.' + extension;
        QCOMPARE(validateName(newStem, newName), error.isEmpty() ? std::nullopt : std::optional(error));
    }
};

QTEST_APPLESS_MAIN(tst_NameValidation)
#include "tst_NameValidation.moc"
