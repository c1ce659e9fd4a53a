#include "LogCapture.h"
#include "storage/RenameHistoryStore.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QStringList patterns(const RenameHistoryStore& store)
{
    QStringList result;
    for (const RenameHistory& entry : store.entries())
        result.append(entry.pattern);
    return result;
}

} // namespace

class tst_RenameHistoryStore : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;

    QString storeFile() const { return folder->filePath(u"default.store"_s); }

private Q_SLOTS:
    void init() { folder = std::make_unique<QTemporaryDir>(); }

    void keepsTheTenNewestAcrossRestarts()
    {
        {
            RenameHistoryStore store(folder->path());
            QVERIFY(store.isPersistent());
            for (int i = 0; i < 11; ++i)
                store.saveHistory(u"r"_s, u"s"_s, u"p%1"_s.arg(i));
        }
        const RenameHistoryStore reopened(folder->path());
        QStringList expected;
        for (int i = 10; i > 0; --i)
            expected.append(u"p%1"_s.arg(i));
        QCOMPARE(patterns(reopened), expected);
    }

    void reusingOldRulesMovesThemToTheTop()
    {
        RenameHistoryStore store(folder->path());
        QSignalSpy changed(&store, &RenameHistoryStore::entriesChanged);
        store.saveHistory(u"r"_s, u"s"_s, u"old"_s);
        store.saveHistory(u"r"_s, u"s"_s, u"new"_s);
        const QDateTime before = store.entries().last().used;
        store.saveHistory(u"r"_s, u"s"_s, u"old"_s);
        QCOMPARE(patterns(store), (QStringList{u"old"_s, u"new"_s}));
        QVERIFY(store.entries().first().used > before);
        QCOMPARE(changed.size(), 3);
    }

    void emptyRulesAreStored()
    {
        RenameHistoryStore store(folder->path());
        store.saveHistory(QString(), QString(), u"{filename}"_s);
        store.saveHistory(QString(), QString(), u"{filename}"_s);
        QCOMPARE(store.entries().size(), 1);
        QCOMPARE(store.entries().first().regex, QString(u""_s));
        QVERIFY(!store.entries().first().regex.isNull());
    }

    void rulesThatDifferInOneTextAreTwoEntries_data()
    {
        QTest::addColumn<QStringList>("second");
        QTest::newRow("script") << QStringList{u"r"_s, u"s2"_s, u"p\u00e9"_s};
        QTest::newRow("regex") << QStringList{u"r2"_s, u"s"_s, u"p\u00e9"_s};
        QTest::newRow("only composition") << QStringList{u"r"_s, u"s"_s, u"pe\u0301"_s};
    }
    void rulesThatDifferInOneTextAreTwoEntries()
    {
        QFETCH(QStringList, second);
        RenameHistoryStore store(folder->path());
        store.saveHistory(u"r"_s, u"s"_s, u"p\u00e9"_s);
        store.saveHistory(second[0], second[1], second[2]);
        QCOMPARE(store.entries().size(), 2);
        QCOMPARE(store.entries().first(),
                 (RenameHistory{second[0], second[1], second[2], store.entries().first().used}));
    }

    void aFileThatIsNotOursIsLeftAlone_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("not a database") << u"foreign"_s;
        QTest::newRow("truncated database") << u"truncated"_s;
        QTest::newRow("newer schema") << u"newer"_s;
    }
    void aFileThatIsNotOursIsLeftAlone()
    {
        QFETCH(QString, kind);
        if (kind == u"foreign"_s) {
            QFile file(storeFile());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("my notes, not a database\n").repeated(200));
        } else {
            {
                RenameHistoryStore store(folder->path());
                for (int i = 0; i < 10; ++i)
                    store.saveHistory(u"r"_s.repeated(5000), u"s"_s, u"p%1"_s.arg(i));
            }
            if (kind == u"truncated"_s) {
                QFile file(storeFile());
                QVERIFY(file.resize(file.size() / 2));
            } else {
                setUserVersion(2'00'00);
            }
        }
        const QByteArray before = fileHash(storeFile());

        const LogCapture log("org.tessary.Tessary.App");
        RenameHistoryStore store(folder->path());
        QVERIFY(!store.isPersistent());
        QCOMPARE(LogCapture::lines().size(), 1);
        QVERIFY2(LogCapture::lines().first().startsWith(
                     u"Failed to open the history database, using an in-memory store: "_s),
                 qPrintable(LogCapture::lines().first()));
        store.saveHistory(u"r"_s, u"s"_s, u"p"_s); // the history works for this run
        QCOMPARE(patterns(store), QStringList{u"p"_s});
        QCOMPARE(fileHash(storeFile()), before);
    }

    // A store file written by Tessary 1.0.0, which kept no order and no collision option.
    void aFirstVersionStoreIsMigratedInPlace()
    {
        QVERIFY(QFile::copy(QStringLiteral(TESSARY_STORE_DATA "/store-1.0.0.store"), storeFile()));
        QVERIFY(QFile::setPermissions(storeFile(), QFile::ReadOwner | QFile::WriteOwner));
        {
            RenameHistoryStore store(folder->path());
            QVERIFY(store.isPersistent());
            QCOMPARE(patterns(store), (QStringList{u"Ærø {n}"_s, u"{rest} {year}"_s, u"{filename}"_s}));
            const RenameHistory scripted = store.entries().first();
            QCOMPARE(scripted.script, u"context.n = (context.n || 0) + 1;\nfields.n = String(context.n);"_s);
            QCOMPARE(store.entries()[1].regex, u"(?<year>\\d{4})-(?<rest>.*)"_s);
            for (const RenameHistory& entry : store.entries()) {
                QCOMPARE(entry.order, u"name"_s);
                QVERIFY(!entry.numberDuplicates);
            }
            store.saveHistory(u"r"_s, QString(), u"{row}"_s, u"image.date,image.time"_s, true);
            store.saveHistory(u"r"_s, QString(), u"{row}"_s, u"listed"_s, true);
        }
        const RenameHistoryStore reopened(folder->path());
        QVERIFY(reopened.isPersistent());
        QCOMPARE(reopened.entries().size(), 5);
        QCOMPARE(reopened.entries()[0].order, u"listed"_s);
        QCOMPARE(reopened.entries()[1].order, u"image.date,image.time"_s);
        QVERIFY(reopened.entries()[1].numberDuplicates);
        QCOMPARE(userVersion(), RenameHistoryStore::schemaVersion);
    }

    void aFirstVersionStoreThatCannotBeMigratedIsLeftAlone()
    {
        QVERIFY(QFile::copy(QStringLiteral(TESSARY_STORE_DATA "/store-1.0.0.store"), storeFile()));
        QVERIFY(QFile::setPermissions(storeFile(), QFile::ReadOwner | QFile::WriteOwner));
        execute(
            u"ALTER TABLE RenameHistory ADD COLUMN numberDuplicates TEXT"_s); // in the way of the migration
        const QByteArray before = fileHash(storeFile());

        const LogCapture log("org.tessary.Tessary.App");
        RenameHistoryStore store(folder->path());
        QVERIFY(!store.isPersistent());
        QVERIFY2(LogCapture::lines().first().contains(u"cannot be migrated"_s),
                 qPrintable(LogCapture::lines().first()));
        store.saveHistory(u"r"_s, u"s"_s, u"p"_s, u"listed"_s, true);
        QCOMPARE(store.entries().first().order, u"listed"_s);
        QCOMPARE(fileHash(storeFile()), before);
        QCOMPARE(userVersion(), 1'00'00);
    }

    void theOrderAndTheOptionTellEntriesApart()
    {
        RenameHistoryStore store(folder->path());
        store.saveHistory(u"r"_s, u"s"_s, u"p"_s);
        store.saveHistory(u"r"_s, u"s"_s, u"p"_s, u"listed"_s, false);
        store.saveHistory(u"r"_s, u"s"_s, u"p"_s, u"listed"_s, true);
        store.saveHistory(u"r"_s, u"s"_s, u"p"_s, u"listed"_s, true);
        QCOMPARE(store.entries().size(), 3);
        QCOMPARE(store.entries().first().order, u"listed"_s);
        QVERIFY(store.entries().first().numberDuplicates);
    }

    void anUncreatableFolderGivesAMemoryStore()
    {
        QFile blocker(folder->filePath(u"blocker"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        const LogCapture log("org.tessary.Tessary.App");
        RenameHistoryStore store(folder->filePath(u"blocker/org.tessary.Tessary"_s));
        QVERIFY(!store.isPersistent());
        QCOMPARE(LogCapture::lines().size(), 1);
        store.saveHistory(u"r"_s, u"s"_s, u"p"_s);
        QCOMPARE(store.entries().size(), 1);
    }

    void aFailedSaveIsLoggedAndChangesNothing()
    {
        RenameHistoryStore store(folder->path());
        store.saveHistory(u"r"_s, u"s"_s, u"p"_s);
        execute(u"DROP TABLE RenameHistory"_s); // pulled from under the open store
        const LogCapture log("org.tessary.Tessary.App");
        store.saveHistory(u"r"_s, u"s"_s, u"q"_s);
        QVERIFY(!LogCapture::lines().filter(u"Failed to save rename history: "_s).isEmpty());
        QCOMPARE(patterns(store), QStringList{u"p"_s});
    }

private:
    void setUserVersion(int version) { execute(u"PRAGMA user_version = %1"_s.arg(version)); }

    int userVersion() const
    {
        int version = -1;
        {
            QSqlDatabase database = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"version"_s);
            database.setDatabaseName(storeFile());
            database.open();
            QSqlQuery query(u"PRAGMA user_version"_s, database);
            if (query.next())
                version = query.value(0).toInt();
        }
        QSqlDatabase::removeDatabase(u"version"_s);
        return version;
    }

    // Runs `statement` on the store file through a connection of the test's own.
    void execute(const QString& statement)
    {
        {
            QSqlDatabase database = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"test"_s);
            database.setDatabaseName(storeFile());
            QVERIFY(database.open());
            QSqlQuery query(database);
            QVERIFY2(query.exec(statement), qPrintable(statement));
        }
        QSqlDatabase::removeDatabase(u"test"_s);
    }
};

QTEST_GUILESS_MAIN(tst_RenameHistoryStore)
#include "tst_RenameHistoryStore.moc"
