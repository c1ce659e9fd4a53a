#include "common/NaturalOrder.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QTest>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

int sign(int value)
{
    return (value > 0) - (value < 0);
}

int comparePlainKeys(const std::vector<char>& a, const std::vector<char>& b)
{
    const auto differ = std::mismatch(a.cbegin(), a.cend(), b.cbegin(), b.cend());
    if (differ.first != a.cend() && differ.second != b.cend())
        return sign(int(uchar(*differ.first)) - int(uchar(*differ.second)));
    return sign(int(a.size()) - int(b.size()));
}

// Texts such as dates, times, counts and ASCII file names, with every ASCII mark the plain key ranks and
// the letters that some languages join ("ch", "aa", "cs", "y").
QStringList plainTexts()
{
    QStringList texts{
        u""_s,         u"0"_s,        u"00"_s,           u"007"_s,   u"7"_s,    u"10"_s,   u"2026-12-08"_s,
        u"2026-2-8"_s, u"12:30:05"_s, u"12-30-05"_s,     u"1.5"_s,   u"1.10"_s, u"-3"_s,   u"+3"_s,
        u" 3"_s,       u"IMG_0001"_s, u"img_0001.jpg"_s, u"chata"_s, u"cizi"_s, u"hrad"_s, u"aarhus"_s,
        u"zebra"_s,    u"csak"_s,     u"cz"_s,           u"yard"_s,  u"iz"_s,   u"kz"_s,   u"Ab"_s,
        u"aB"_s,       u"a-b"_s};
    const QString marks = u" !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~"_s;
    const QString letters = u"acdhisyzACHSYZ"_s;
    QRandomGenerator random(20261208);
    for (int i = 0; i < 400; ++i) {
        QString text;
        for (int length = random.bounded(1, 7); length > 0; --length) {
            switch (random.bounded(3)) {
            case 0:
                text += QString::number(random.bounded(random.bounded(2) ? 10 : 100000));
                break;
            case 1:
                text += marks[random.bounded(int(marks.size()))];
                break;
            default:
                text += letters[random.bounded(int(letters.size()))];
            }
        }
        texts.append(text);
    }
    return texts;
}

// The default locale for one test, and back after it.
class DefaultLocale {
public:
    explicit DefaultLocale(const QString& name)
    {
        QLocale::setDefault(name.isEmpty() ? QLocale::c() : QLocale(name));
    }
    ~DefaultLocale() { QLocale::setDefault(QLocale::c()); }
    DefaultLocale(const DefaultLocale&) = delete;
    DefaultLocale& operator=(const DefaultLocale&) = delete;
};

} // namespace

class tst_NaturalOrder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Where letters are joined or reordered, they have no plain key; elsewhere every ASCII name has one.
    void plainKeysOrderAsTheCollation_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("lettersArePlain");
        QTest::newRow("C") << QString() << true;
        QTest::newRow("en_US") << u"en_US"_s << true;
        QTest::newRow("de_DE") << u"de_DE"_s << true;
        QTest::newRow("fr_FR") << u"fr_FR"_s << true;
        QTest::newRow("es_ES") << u"es_ES"_s << true;
        QTest::newRow("cs_CZ: ch after h") << u"cs_CZ"_s << false;
        QTest::newRow("da_DK: aa after z") << u"da_DK"_s << false;
        QTest::newRow("hu_HU: cs after c") << u"hu_HU"_s << false;
        QTest::newRow("lt_LT: y as i") << u"lt_LT"_s << false;
    }
    // The planner sorts names, dates and times by plain keys: they must never disagree with the collation.
    void plainKeysOrderAsTheCollation()
    {
        QFETCH(QString, locale);
        QFETCH(bool, lettersArePlain);
        const DefaultLocale setting(locale);
        const NaturalOrder natural;
        const QStringList texts = plainTexts();
        std::vector<std::vector<char>> plain(size_t(texts.size()));
        std::vector<bool> hasKey(size_t(texts.size()));
        for (qsizetype i = 0; i < texts.size(); ++i) {
            hasKey[size_t(i)] = natural.appendPlainKey(texts[i], plain[size_t(i)]);
            const bool hasLetters =
                std::any_of(texts[i].cbegin(), texts[i].cend(), [](QChar c) { return c.isLetter(); });
            QVERIFY2(hasKey[size_t(i)] == (!hasLetters || lettersArePlain), qPrintable(texts[i]));
        }
        for (qsizetype i = 0; i < texts.size(); ++i) {
            const QString& a = texts[i];
            for (qsizetype j = 0; j < texts.size(); ++j) {
                if (!hasKey[size_t(i)] || !hasKey[size_t(j)])
                    continue;
                const QString& b = texts[j];
                const int byCollation = sign(natural.key(a).collation.compare(natural.key(b).collation));
                const int byPlain = comparePlainKeys(plain[size_t(i)], plain[size_t(j)]);
                if (byCollation != byPlain)
                    QFAIL(qPrintable(u"“%1” against “%2”: collation %3, plain key %4"_s.arg(a, b)
                                         .arg(byCollation)
                                         .arg(byPlain)));
            }
        }
    }

    void plainKeysAreOnlyForPlainText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("non-ASCII letter") << u"café"_s;
        QTest::newRow("non-ASCII digits") << u"٢٠٢٦"_s;
        QTest::newRow("non-ASCII mark") << u"12–30"_s;
        QTest::newRow("tab") << u"12\t30"_s;
        QTest::newRow("too many digits to tell apart") << u"1"_s.repeated(101);
    }
    void plainKeysAreOnlyForPlainText()
    {
        QFETCH(QString, text);
        std::vector<char> key{'k', 'e', 'p', 't'}; // a key begun before: left whole
        QVERIFY(!NaturalOrder().appendPlainKey(text, key));
        QCOMPARE(std::string(key.begin(), key.end()), "kept");
    }
};

QTEST_GUILESS_MAIN(tst_NaturalOrder)
#include "tst_NaturalOrder.moc"
