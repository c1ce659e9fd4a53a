#include "storage/RenameHistoryStore.h"

#include "common/Diagnostics.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

std::optional<QString> failure(const QSqlQuery& query)
{
    return query.lastError().text();
}

// Runs `statement` with `values` bound in order; the error text when it fails.
std::optional<QString> run(QSqlQuery& query, const QString& statement, const QVariantList& values = {})
{
    if (!query.prepare(statement))
        return failure(query);
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        return failure(query);
    return std::nullopt;
}

constexpr int firstSchemaVersion = 1'00'00;

std::optional<QString> createSchema(QSqlDatabase& database)
{
    QSqlQuery query(database);
    if (auto error = run(query, u"CREATE TABLE RenameHistory (id INTEGER PRIMARY KEY, regex TEXT NOT NULL, "
                                u"javascript TEXT NOT NULL, pattern TEXT NOT NULL, used INTEGER NOT NULL, "
                                u"ordering TEXT NOT NULL DEFAULT 'name', "
                                u"numberDuplicates INTEGER NOT NULL DEFAULT 0)"_s))
        return error;
    return run(query, u"PRAGMA user_version = %1"_s.arg(RenameHistoryStore::schemaVersion));
}

// 1.0.0 stored no order and no collision option: its entries numbered by name and marked collisions.
std::optional<QString> migrateFromFirstSchema(QSqlDatabase& database)
{
    QSqlQuery query(database);
    if (auto error = run(query, u"SELECT regex, javascript, pattern, used FROM RenameHistory LIMIT 1"_s))
        return error;
    if (auto error =
            run(query, u"ALTER TABLE RenameHistory ADD COLUMN ordering TEXT NOT NULL DEFAULT 'name'"_s))
        return error;
    if (auto error = run(query, u"ALTER TABLE RenameHistory ADD COLUMN numberDuplicates INTEGER NOT NULL "
                                u"DEFAULT 0"_s))
        return error;
    return run(query, u"PRAGMA user_version = %1"_s.arg(RenameHistoryStore::schemaVersion));
}

// Runs `change` in a transaction: all of it or nothing reaches the file.
std::optional<QString> inTransaction(QSqlDatabase& database,
                                     std::optional<QString> (*change)(QSqlDatabase& database))
{
    if (!database.transaction())
        return database.lastError().text();
    if (auto error = change(database)) {
        database.rollback();
        return error;
    }
    if (!database.commit()) {
        const QString error = database.lastError().text();
        database.rollback();
        return error;
    }
    return std::nullopt;
}

// Reads what is there first, so that a file that is not ours is never written to.
std::optional<QString> prepareSchema(QSqlDatabase& database)
{
    QSqlQuery query(database);
    if (auto error = run(query, u"PRAGMA quick_check"_s))
        return error;
    if (!query.next() || query.value(0).toString() != u"ok"_s)
        return u"the file is damaged"_s;
    if (auto error = run(query, u"PRAGMA user_version"_s))
        return error;
    const int version = query.next() ? query.value(0).toInt() : -1;
    if (auto error = run(query, u"SELECT count(*) FROM sqlite_master"_s))
        return error;
    const bool empty = query.next() && query.value(0).toInt() == 0;
    if (version == 0 && empty)
        return inTransaction(database, createSchema);
    if (version == firstSchemaVersion) {
        if (auto error = inTransaction(database, migrateFromFirstSchema))
            return u"the file of schema version %1 cannot be migrated: %2"_s.arg(version).arg(*error);
        qCInfo(appLog, "Migrated the rename history from schema version %d", version);
    } else if (version != RenameHistoryStore::schemaVersion) {
        return u"the file has schema version %1, this Tessary reads version %2"_s.arg(version).arg(
            RenameHistoryStore::schemaVersion);
    }
    return run(query,
               u"SELECT regex, javascript, pattern, used, ordering, numberDuplicates FROM RenameHistory "
               u"LIMIT 1"_s);
}

// A rule left empty is stored as empty text: Qt SQL would bind a null QString as NULL.
QVariant storedText(const QString& text)
{
    return text.isNull() ? QVariant(QString(u""_s)) : QVariant(text);
}

} // namespace

QString RenameHistoryStore::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u"/org.tessary.Tessary"_s;
}

RenameHistoryStore::RenameHistoryStore(const QString& folder, QObject* parent)
    : QObject(parent), connection(u"RenameHistoryStore-%1"_s.arg(quintptr(this)))
{
    std::optional<QString> error;
    if (!QDir().mkpath(folder))
        error = u"the folder “%1” cannot be created"_s.arg(folder);
    else
        error = open(folder + u"/default.store"_s);
    persistent = !error;
    if (error) {
        qCWarning(appLog, "Failed to open the history database, using an in-memory store: %s",
                  qUtf8Printable(*error));
        if (const auto memoryError = open(u":memory:"_s))
            qFatal("Could not open the rename history in memory either: %s", qUtf8Printable(*memoryError));
    }
    reload();
}

RenameHistoryStore::~RenameHistoryStore()
{
    QSqlDatabase::database(connection, false).close();
    QSqlDatabase::removeDatabase(connection);
}

std::optional<QString> RenameHistoryStore::open(const QString& file)
{
    if (QSqlDatabase::contains(connection))
        QSqlDatabase::removeDatabase(connection);
    QSqlDatabase database = QSqlDatabase::addDatabase(u"QSQLITE"_s, connection);
    database.setDatabaseName(file);
    if (!database.open())
        return database.lastError().text();
    if (auto error = prepareSchema(database)) {
        database.close();
        return error;
    }
    return std::nullopt;
}

void RenameHistoryStore::saveHistory(const QString& regex, const QString& script, const QString& pattern,
                                     const QString& order, bool numberDuplicates)
{
    QSqlDatabase database = QSqlDatabase::database(connection);
    database.transaction();
    if (const auto error = save({regex, script, pattern, {}, order, numberDuplicates})) {
        database.rollback();
        qCWarning(appLog, "Failed to save rename history: %s", qUtf8Printable(*error));
    } else if (!database.commit()) {
        qCWarning(appLog, "Failed to save rename history: %s", qUtf8Printable(database.lastError().text()));
    }
    reload();
}

std::optional<QString> RenameHistoryStore::save(const RenameHistory& rules)
{
    QSqlQuery query(QSqlDatabase::database(connection));
    // Strictly after the newest entry, so that the last use sorts first even within one millisecond.
    if (auto error = run(query, u"SELECT max(used) FROM RenameHistory"_s))
        return error;
    const qint64 newest = query.next() ? query.value(0).toLongLong() : 0;
    const qint64 now = std::max(QDateTime::currentMSecsSinceEpoch(), newest + 1);

    const QVariantList values{storedText(rules.regex), storedText(rules.script), storedText(rules.pattern),
                              storedText(rules.order), rules.numberDuplicates};
    if (auto error = run(query,
                         u"SELECT id FROM RenameHistory WHERE regex = ? AND javascript = ? AND pattern = ? "
                         u"AND ordering = ? AND numberDuplicates = ? LIMIT 1"_s,
                         values))
        return error;
    if (query.next()) {
        const qint64 id = query.value(0).toLongLong();
        if (auto error = run(query, u"UPDATE RenameHistory SET used = ? WHERE id = ?"_s, {now, id}))
            return error;
    } else if (auto error = run(query,
                                u"INSERT INTO RenameHistory (regex, javascript, pattern, ordering, "
                                u"numberDuplicates, used) VALUES (?, ?, ?, ?, ?, ?)"_s,
                                values + QVariantList{now})) {
        return error;
    }
    return run(query,
               u"DELETE FROM RenameHistory WHERE id NOT IN "
               u"(SELECT id FROM RenameHistory ORDER BY used DESC LIMIT ?)"_s,
               {capacity});
}

void RenameHistoryStore::reload()
{
    QSqlQuery query(QSqlDatabase::database(connection));
    if (const auto error = run(
            query, u"SELECT regex, javascript, pattern, used, ordering, numberDuplicates FROM RenameHistory "
                   u"ORDER BY used DESC"_s)) {
        qCWarning(appLog, "Failed to read rename history: %s", qUtf8Printable(*error));
        return;
    }
    QList<RenameHistory> found;
    while (query.next())
        found.append({query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                      QDateTime::fromMSecsSinceEpoch(query.value(3).toLongLong()), query.value(4).toString(),
                      query.value(5).toBool()});
    if (found == current)
        return;
    current = found;
    Q_EMIT entriesChanged();
}
