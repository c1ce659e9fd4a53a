#include "common/NaturalOrder.h"

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

// Texts such as dates, times and counts, with every ASCII mark the plain key ranks.
QStringList plainTexts()
{
    QStringList texts{u""_s,    u"0"_s,          u"00"_s,       u"007"_s,      u"7"_s,
                      u"10"_s,  u"2026-12-08"_s, u"2026-2-8"_s, u"12:30:05"_s, u"12-30-05"_s,
                      u"1.5"_s, u"1.10"_s,       u"-3"_s,       u"+3"_s,       u" 3"_s};
    const QString marks = u" !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~"_s;
    QRandomGenerator random(20261208);
    for (int i = 0; i < 400; ++i) {
        QString text;
        for (int length = random.bounded(1, 7); length > 0; --length) {
            if (random.bounded(2))
                text += QString::number(random.bounded(random.bounded(2) ? 10 : 100000));
            else
                text += marks[random.bounded(int(marks.size()))];
        }
        texts.append(text);
    }
    return texts;
}

} // namespace

class tst_NaturalOrder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The planner sorts dates and times by plain keys: they must never disagree with the collation.
    void plainKeysOrderAsTheCollation()
    {
        const NaturalOrder natural;
        const QStringList texts = plainTexts();
        std::vector<std::vector<char>> plain(size_t(texts.size()));
        for (qsizetype i = 0; i < texts.size(); ++i)
            QVERIFY2(natural.appendPlainKey(texts[i], plain[size_t(i)]), qPrintable(texts[i]));
        for (qsizetype i = 0; i < texts.size(); ++i) {
            const QString& a = texts[i];
            for (qsizetype j = 0; j < texts.size(); ++j) {
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
        QTest::newRow("letters") << u"IMG_0001"_s;
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
