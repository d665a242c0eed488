#include "SchemaDdl.h"

#include "Connection.h"
#include "Names.h"
#include "Statement.h"
#include "StoreErrors.h"
#include "ValueConversion.h"

#include <sqlite3.h>

namespace store {

namespace {

QStringList foreignFields(const RelationDef& relation) {
    QStringList names;
    for (const FieldDef& field : relation.fields)
        names << (field.foreignName.isEmpty() ? field.name : field.foreignName);
    return names;
}

QStringList primaryFields(const RelationDef& relation) {
    QStringList names;
    for (const FieldDef& field : relation.fields)
        names << field.name;
    return names;
}

bool sameNames(const QStringList& a, const QStringList& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (!sameName(a[i], b[i]))
            return false;
    return true;
}

bool startsWithNames(const QStringList& list, const QStringList& prefix) {
    return list.size() >= prefix.size() && sameNames(list.mid(0, prefix.size()), prefix);
}

// Whether an index of the table already leads with these fields (and is unique,
// when asked), so a relation needs no index of its own.
bool coveredByIndex(const TableDef& def, const QStringList& fields, bool needUnique) {
    if (const FieldDef* key = autoIncrementField(def); key && sameNames(fields, {key->name}))
        return true;
    for (const IndexDef& index : def.indexes) {
        const bool unique = index.primary || index.unique;
        if (needUnique ? unique && sameNames(index.fields, fields)
                       : startsWithNames(index.fields, fields))
            return true;
    }
    return false;
}

} // namespace

bool primaryIsRowKey(const TableDef& def) {
    const FieldDef* key = autoIncrementField(def);
    const IndexDef* primary = primaryIndex(def);
    return key && primary && sameNames(primary->fields, {key->name});
}

bool isUniqueKey(const TableDef& def, const QStringList& fields) {
    return coveredByIndex(def, fields, true);
}

namespace {

bool inPrimaryIndex(const TableDef& def, const QString& field) {
    const IndexDef* primary = primaryIndex(def);
    return primary && primary->fields.contains(field, Qt::CaseInsensitive);
}

QString columnSql(const FieldDef& field, const TableLayout& layout) {
    QString sql = quoted(field.name) + QLatin1Char(' ');
    if (field.attributes & dbAutoIncrField)
        return sql + QLatin1String("INTEGER PRIMARY KEY AUTOINCREMENT");
    sql += sqlTypeName(field);
    // Text compares and sorts without regard to case in every locale of the store.
    if (field.type == FieldType::Text || field.type == FieldType::Memo)
        sql += QLatin1String(" COLLATE NOCASE");
    if (inPrimaryIndex(layout.def, field.name))
        sql += QLatin1String(" NOT NULL");
    return sql;
}

QString foreignKeySql(const RelationDef& relation) {
    return QStringLiteral("FOREIGN KEY (%1) REFERENCES %2 (%3) ON UPDATE %4 ON DELETE %5")
        .arg(quotedList(foreignFields(relation)), quoted(relation.table),
             quotedList(primaryFields(relation)),
             relation.attributes & dbRelationUpdateCascade ? QLatin1String("CASCADE")
                                                           : QLatin1String("NO ACTION"),
             relation.attributes & dbRelationDeleteCascade ? QLatin1String("CASCADE")
                                                           : QLatin1String("NO ACTION"));
}

QString createTableSql(const QString& sqlName, const TableLayout& layout) {
    QStringList parts;
    for (const FieldDef& field : layout.def.fields)
        parts << columnSql(field, layout);
    // A primary key other than the row key: unique and never empty. It is not
    // declared PRIMARY KEY so that an INTEGER key never turns into the row number,
    // which SQLite would fill in by itself for a missing value.
    if (const IndexDef* primary = primaryIndex(layout.def); primary && !primaryIsRowKey(layout.def))
        parts << QStringLiteral("UNIQUE (%1)").arg(quotedList(primary->fields));
    for (const RelationDef& relation : layout.foreignRelations)
        if (!(relation.attributes & dbRelationDontEnforce))
            parts << foreignKeySql(relation);
    return QStringLiteral("CREATE TABLE %1 (%2)")
        .arg(quoted(sqlName), parts.join(QLatin1String(", ")));
}

QString indexSqlName(const QString& table, const QString& index) {
    return QStringLiteral("drivolex_ix_%1_%2").arg(table, index);
}

// Cascading deletes look rows up by the foreign field: without an index each
// delete would read the whole foreign table.
void createRelationIndexes(sqlite3* db, const TableLayout& layout, const SqlErrorContext& context) {
    for (const RelationDef& relation : layout.foreignRelations) {
        const QStringList fields = foreignFields(relation);
        const bool unique = relation.attributes & dbRelationUnique;
        if (coveredByIndex(layout.def, fields, unique))
            continue;
        execute(db,
                QStringLiteral("CREATE %1INDEX IF NOT EXISTS %2 ON %3 (%4)")
                    .arg(unique ? QLatin1String("UNIQUE ") : QLatin1String(),
                         quoted(QStringLiteral("drivolex_fk_%1").arg(relation.name)),
                         quoted(layout.def.name), quotedList(fields)),
                context);
    }
}

void createAllIndexes(sqlite3* db, const TableLayout& layout, const SqlErrorContext& context) {
    for (const IndexDef& index : layout.def.indexes)
        if (!index.primary)
            createSecondaryIndex(db, layout.def.name, index, context);
    createRelationIndexes(db, layout, context);
}

std::optional<qint64> autoIncrementCounter(sqlite3* db, const QString& table,
                                           const SqlErrorContext& context) {
    Statement exists(db,
                     QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = 'sqlite_sequence'"));
    const int rc = exists.step();
    checkSqlite(db, rc, context);
    if (rc != SQLITE_ROW)
        return std::nullopt;
    Statement stmt(db, QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"));
    stmt.bind(1, table);
    const int found = stmt.step();
    checkSqlite(db, found, context);
    return found == SQLITE_ROW ? std::optional<qint64>(stmt.columnInt64(0)) : std::nullopt;
}

// Keys once given out are never given again, also after rows were deleted.
void restoreAutoIncrementCounter(sqlite3* db, const QString& table, qint64 counter,
                                 const SqlErrorContext& context) {
    Statement update(db,
                     QStringLiteral("UPDATE sqlite_sequence SET seq = max(seq, ?) WHERE name = ?"));
    update.bind(1, counter);
    update.bind(2, table);
    checkSqlite(db, update.step(), context);
    if (sqlite3_changes(db) == 0) {
        Statement insert(db,
                         QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)"));
        insert.bind(1, table);
        insert.bind(2, counter);
        checkSqlite(db, insert.step(), context);
    }
}

void checkRelationsHold(sqlite3* db, const QString& table, const SqlErrorContext& context) {
    Statement check(db,
                    QStringLiteral("SELECT \"table\", parent FROM pragma_foreign_key_check(?)"));
    check.bind(1, table);
    const int rc = check.step();
    checkSqlite(db, rc, context);
    if (rc == SQLITE_ROW)
        raise(errRelatedRecordRequired,
              QStringLiteral("The relation cannot be added: rows of table '%1' name rows of "
                             "table '%2' that do not exist.")
                  .arg(check.columnText(0), check.columnText(1)));
}

// Turns foreign keys back on when the rebuild ends, also on a failure.
class ForeignKeysOff {
public:
    ForeignKeysOff(sqlite3* db, const SqlErrorContext& context) : m_db(db) {
        execute(m_db, QStringLiteral("PRAGMA foreign_keys = OFF"), context);
    }
    ~ForeignKeysOff() { sqlite3_exec(m_db, "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr); }
    ForeignKeysOff(const ForeignKeysOff&) = delete;
    ForeignKeysOff& operator=(const ForeignKeysOff&) = delete;

private:
    sqlite3* m_db;
};

// Create new, copy, drop, rename: the caller holds the transaction with foreign keys off.
void rebuildInTransaction(sqlite3* db, const TableLayout& layout, const SqlErrorContext& context) {
    const QString table = layout.def.name;
    const QString scratch = QStringLiteral("drivolex_rebuild_%1").arg(table);
    QStringList columns;
    for (const FieldDef& field : layout.def.fields)
        columns << quoted(field.name);
    // The row number is copied too, so bookmarks of open record sets stay valid.
    const QString copied = autoIncrementField(layout.def)
                               ? columns.join(QLatin1String(", "))
                               : QLatin1String("rowid, ") + columns.join(QLatin1String(", "));

    const std::optional<qint64> counter = autoIncrementCounter(db, table, context);
    execute(db, createTableSql(scratch, layout), context);
    execute(db,
            QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3")
                .arg(quoted(scratch), copied, quoted(table)),
            context);
    execute(db, QStringLiteral("DROP TABLE %1").arg(quoted(table)), context);
    execute(db, QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(quoted(scratch), quoted(table)),
            context);
    if (counter)
        restoreAutoIncrementCounter(db, table, *counter, context);
    createAllIndexes(db, layout, context);
}

} // namespace

const FieldDef* autoIncrementField(const TableDef& def) {
    for (const FieldDef& field : def.fields)
        if (field.attributes & dbAutoIncrField)
            return &field;
    return nullptr;
}

const IndexDef* primaryIndex(const TableDef& def) {
    for (const IndexDef& index : def.indexes)
        if (index.primary)
            return &index;
    return nullptr;
}

void createTable(sqlite3* db, const TableLayout& layout, const SqlErrorContext& context) {
    execute(db, createTableSql(layout.def.name, layout), context);
    createAllIndexes(db, layout, context);
}

void createSecondaryIndex(sqlite3* db, const QString& table, const IndexDef& index,
                          const SqlErrorContext& context) {
    execute(db,
            QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                .arg(index.unique ? QLatin1String("UNIQUE ") : QLatin1String(),
                     quoted(indexSqlName(table, index.name)), quoted(table),
                     quotedList(index.fields)),
            context);
}

void rebuildTable(sqlite3* db, const TableLayout& layout,
                  const std::function<void()>& alsoInTransaction, const SqlErrorContext& context) {
    ForeignKeysOff foreignKeysOff(db, context);
    Transaction transaction(db, context);
    rebuildInTransaction(db, layout, context);
    if (alsoInTransaction)
        alsoInTransaction();
    checkRelationsHold(db, layout.def.name, context);
    transaction.commit();
}

void rebuildTables(sqlite3* db, const QList<TableLayout>& layouts, const SqlErrorContext& context) {
    ForeignKeysOff foreignKeysOff(db, context);
    Transaction transaction(db, context);
    for (const TableLayout& layout : layouts)
        rebuildInTransaction(db, layout, context);
    transaction.commit();
}

} // namespace store
