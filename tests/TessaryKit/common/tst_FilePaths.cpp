#include "common/FileNameParts.h"
#include "common/NormalizedPath.h"
#include "common/PathNormalizer.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_FilePaths : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void splitsNames_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stem");
        QTest::addColumn<QString>("extension");

        QTest::newRow("plain") << u"/a/b/photo.jpg"_s << u"/a/b"_s << u"photo.jpg"_s << u"photo"_s
                               << u"jpg"_s;
        QTest::newRow("last extension only")
            << u"/a/archive.tar.gz"_s << u"/a"_s << u"archive.tar.gz"_s << u"archive.tar"_s << u"gz"_s;
        QTest::newRow("no extension") << u"/a/README"_s << u"/a"_s << u"README"_s << u"README"_s << QString();
        QTest::newRow("only dot first")
            << u"/home/.profile"_s << u"/home"_s << u".profile"_s << u".profile"_s << QString();
        QTest::newRow("hidden with extension")
            << u"/h/.config.json"_s << u"/h"_s << u".config.json"_s << u".config"_s << u"json"_s;
        QTest::newRow("ends in a dot")
            << u"/a/notes."_s << u"/a"_s << u"notes."_s << u"notes."_s << QString();
        QTest::newRow("two leading dots") << u"/a/..x"_s << u"/a"_s << u"..x"_s << u"."_s << u"x"_s;
        QTest::newRow("in the root") << u"/file.txt"_s << u"/"_s << u"file.txt"_s << u"file"_s << u"txt"_s;
        QTest::newRow("dot in the folder only") << u"/a.b/c"_s << u"/a.b"_s << u"c"_s << u"c"_s << QString();
        QTest::newRow("non-ASCII") << u"/x/Café 😀.JPEG"_s << u"/x"_s << u"Café 😀.JPEG"_s << u"Café 😀"_s
                                   << u"JPEG"_s;
    }
    void splitsNames()
    {
        QFETCH(QString, path);
        const FileNameParts parts = FileNameParts::of(path);
        QTEST(parts.parent, "parent");
        QTEST(parts.name, "name");
        QTEST(parts.stem, "stem");
        QTEST(parts.extension, "extension");
        QTEST(FileNameParts::parentOf(path), "parent");
        QTEST(FileNameParts::nameOf(path), "name");
        QTEST(FileNameParts::stemOf(path), "stem");
        QTEST(FileNameParts::extensionOf(path), "extension");
        QTEST(FileNameParts::parentViewOf(path).toString(), "parent");
        QCOMPARE(joinPath(parts.parent, parts.name), path);
    }

    // Many paths of one folder hold one text; the parts stay those the path alone gives.
    void sharesAKnownParent_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("knownParent");
        QTest::addColumn<bool>("shared");
        QTest::newRow("its folder") << u"/a/b/x.jpg"_s << u"/a/b"_s << true;
        QTest::newRow("a folder named as its start") << u"/a/bc/x.jpg"_s << u"/a/b"_s << false;
        QTest::newRow("a folder above") << u"/a/b/x.jpg"_s << u"/a"_s << false;
        QTest::newRow("a folder below") << u"/a/x.jpg"_s << u"/a/b"_s << false;
        QTest::newRow("the root") << u"/x.jpg"_s << u"/"_s << true;
        QTest::newRow("none known") << u"/a/x.jpg"_s << QString() << false;
        QTest::newRow("no folder") << u"x.jpg"_s << u"/a"_s << false;
    }
    void sharesAKnownParent()
    {
        QFETCH(QString, path);
        QFETCH(QString, knownParent);
        QFETCH(bool, shared);
        knownParent.detach(); // a text of its own, as a parent made from another path is
        const FileNameParts parts = FileNameParts::of(path, knownParent);
        const FileNameParts alone = FileNameParts::of(path);
        QCOMPARE(parts.parent, alone.parent);
        QCOMPARE(parts.parent.isNull(), alone.parent.isNull());
        QCOMPARE(parts.name, alone.name);
        QCOMPARE(parts.stem, alone.stem);
        QCOMPARE(parts.extension, alone.extension);
        QCOMPARE(parts.parent.constData() == knownParent.constData(), shared);
    }

    void normalizesPaths_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("normalized");

        QTest::newRow("dots resolved") << u"/A/./B/../C.TXT"_s << u"/a/c.txt"_s;
        QTest::newRow("doubled slashes") << u"/a//b/"_s << u"/a/b"_s;
        QTest::newRow("decomposed becomes composed") << u"/x/e\u0301.txt"_s << u"/x/é.txt"_s;
        QTest::newRow("decomposed capital") << u"/x/E\u0301"_s << u"/x/é"_s;
        QTest::newRow("non-Latin capitals") << u"/ΣΊΣΥΦΟΣ/Дом"_s << u"/σίσυφοσ/дом"_s;
        QTest::newRow("clean ASCII") << u"/a/b-1.txt"_s << u"/a/b-1.txt"_s;
        QTest::newRow("clean ASCII capitals") << u"/Photos/IMG_1.JPG"_s << u"/photos/img_1.jpg"_s;
        QTest::newRow("the capitals' neighbours stay") << u"/@AZ[`az{/tmp.Xy9"_s << u"/@az[`az{/tmp.xy9"_s;
        QTest::newRow("dot-led names are no dot components") << u"/a/.x/..y/...z"_s << u"/a/.x/..y/...z"_s;
        QTest::newRow("trailing dot component") << u"/a/b/."_s << u"/a/b"_s;
        QTest::newRow("trailing dot-dot component") << u"/a/b/.."_s << u"/a"_s;
        QTest::newRow("leading doubled slash") << u"//a/B"_s << u"/a/b"_s;
        QTest::newRow("relative") << u"a/./B"_s << u"a/b"_s;
        QTest::newRow("relative dot-dot kept") << u"../A"_s << u"../a"_s;
        QTest::newRow("root") << u"/"_s << u"/"_s;
        QTest::newRow("empty") << QString() << QString();
    }
    void normalizesPaths()
    {
        QFETCH(QString, path);
        QTEST(normalizedPath(path), "normalized");
        // Cleaning alone changes nothing but "."/".." and slashes, exactly as Qt does it.
        QCOMPARE(cleanedPath(path), QDir::cleanPath(path));
    }

    void normalizesPathsInParts_data() { normalizesPaths_data(); }
    void normalizesPathsInParts()
    {
        QFETCH(QString, path);
        PathNormalizer normalizer;
        const PathNormalizer::Parts parts = normalizer.of(path);
        QCOMPARE(*parts.folder + parts.name.toString(), normalizedPath(path));
        QVERIFY(parts.folder->isEmpty() || parts.folder->endsWith(u'/'));
    }

    // One normaliser over paths of several folders, in and out of its run: the parts are equal exactly when
    // the normalised paths are.
    void partsAreEqualAsNormalizedPathsAre()
    {
        const QStringList paths{u"/A/x"_s, u"/a/X"_s,       u"/B/x"_s,   u"/A/x"_s, u"/A/y"_s,   u"/a/./x"_s,
                                u"x"_s,    u"/x"_s,         u"a/x"_s,    u"/a/"_s,  u"/A/x/y"_s, u"/a/x/Y"_s,
                                u"/a/é"_s, u"/A/e\u0301"_s, u"/a/é/x"_s, u"//x"_s};
        PathNormalizer normalizer;
        QList<PathNormalizer::Parts> parts;
        for (const QString& path : paths)
            parts.append(normalizer.of(path));
        for (qsizetype i = 0; i < paths.size(); ++i) {
            QCOMPARE(*parts[i].folder + parts[i].name.toString(), normalizedPath(paths[i]));
            for (qsizetype j = 0; j < paths.size(); ++j)
                QVERIFY2((parts[i] == parts[j]) == (normalizedPath(paths[i]) == normalizedPath(paths[j])),
                         qPrintable(paths[i] + u" and "_s + paths[j]));
        }
    }

    // A folder and a name give the parts of the path they join into, whether or not they can skip the join.
    void normalizesAFolderAndAName_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << u"/A/b"_s << u"C.txt"_s;
        QTest::newRow("lower-case name") << u"/A/b"_s << u"c.txt"_s;
        QTest::newRow("composed in both") << u"/E\u0301"_s << u"e\u0301.txt"_s;
        QTest::newRow("the root") << u"/"_s << u"X"_s;
        QTest::newRow("no folder") << QString() << u"X"_s;
        QTest::newRow("relative folder") << u"a"_s << u"X"_s;
        QTest::newRow("folder with a slash after it") << u"/a/"_s << u"X"_s;
        QTest::newRow("folder to clean") << u"/a/./B/.."_s << u"X"_s;
        QTest::newRow("name with a slash") << u"/a"_s << u"b/X"_s;
        QTest::newRow("dot-dot name") << u"/a/b"_s << u".."_s;
        QTest::newRow("empty name") << u"/a/b"_s << QString();
    }
    void normalizesAFolderAndAName()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        PathNormalizer normalizer;
        const PathNormalizer::Parts parts = normalizer.of(folder, name);
        const QString joined = joinPath(folder, name);
        QCOMPARE(parts.text(), normalizedPath(joined));
        QVERIFY(parts == normalizer.of(joined));
        QVERIFY(parts == PathNormalizer().of(joined));
    }

    // Most names are their own form: taken from the path as it stands.
    void takesALowerCaseNameAsItStands()
    {
        const QString path = u"/Photos/2024/img_0001.jpg"_s;
        PathNormalizer normalizer;
        QCOMPARE(normalizer.of(path).name.constData(), path.constData() + path.lastIndexOf(u'/') + 1);
    }
};

QTEST_APPLESS_MAIN(tst_FilePaths)
#include "tst_FilePaths.moc"
