#include "Metadata.h"

#include "Connection.h"
#include "Names.h"
#include "Statement.h"
#include "ValueConversion.h"

#include <sqlite3.h>

namespace store {

namespace {

const QLatin1Char kListSeparator(';'); // names never contain it (checkName)

QStringList splitList(const QString& text) {
    return text.isEmpty() ? QStringList() : text.split(kListSeparator);
}

} // namespace

bool metaTablesExist(sqlite3* db, const SqlErrorContext& context) {
    Statement stmt(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND "
                                      "name = 'drivolex_meta_relations'"));
    const int rc = stmt.step();
    checkSqlite(db, rc, context);
    return rc == SQLITE_ROW;
}

void createMetaTables(sqlite3* db, const SqlErrorContext& context) {
    execute(db,
            QStringLiteral("CREATE TABLE IF NOT EXISTS drivolex_meta_info ("
                           "name TEXT PRIMARY KEY COLLATE NOCASE, value TEXT)"),
            context);
    execute(db,
            QStringLiteral("CREATE TABLE IF NOT EXISTS drivolex_meta_indexes ("
                           "table_name TEXT NOT NULL COLLATE NOCASE, "
                           "index_name TEXT NOT NULL COLLATE NOCASE, "
                           "fields TEXT NOT NULL, is_primary INTEGER NOT NULL, "
                           "is_unique INTEGER NOT NULL, PRIMARY KEY (table_name, index_name))"),
            context);
    execute(db,
            QStringLiteral("CREATE TABLE IF NOT EXISTS drivolex_meta_relations ("
                           "relation_name TEXT PRIMARY KEY COLLATE NOCASE, "
                           "table_name TEXT NOT NULL, foreign_table TEXT NOT NULL, "
                           "attributes INTEGER NOT NULL, fields TEXT NOT NULL, "
                           "foreign_fields TEXT NOT NULL, ordinal INTEGER NOT NULL)"),
            context);
}

QString readInfo(sqlite3* db, const QString& key, const SqlErrorContext& context) {
    if (!metaTablesExist(db, context))
        return QString();
    Statement stmt(db, QStringLiteral("SELECT value FROM drivolex_meta_info WHERE name = ?"));
    stmt.bind(1, key);
    const int rc = stmt.step();
    checkSqlite(db, rc, context);
    return rc == SQLITE_ROW ? stmt.columnText(0) : QString();
}

void writeInfo(sqlite3* db, const QString& key, const QString& value,
               const SqlErrorContext& context) {
    Statement stmt(db, QStringLiteral("INSERT OR REPLACE INTO drivolex_meta_info (name, value) "
                                      "VALUES (?, ?)"));
    stmt.bind(1, key);
    stmt.bind(2, value);
    checkSqlite(db, stmt.step(), context);
}

QString storedTableName(sqlite3* db, const QString& name, const SqlErrorContext& context) {
    if (isReservedTableName(name))
        return QString();
    Statement stmt(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND "
                                      "name = ? COLLATE NOCASE"));
    stmt.bind(1, name);
    const int rc = stmt.step();
    checkSqlite(db, rc, context);
    return rc == SQLITE_ROW ? stmt.columnText(0) : QString();
}

QStringList userTableNames(sqlite3* db, const SqlErrorContext& context) {
    Statement stmt(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                      "ORDER BY rowid"));
    QStringList names;
    int rc;
    while ((rc = stmt.step()) == SQLITE_ROW) {
        const QString name = stmt.columnText(0);
        if (!isReservedTableName(name))
            names << name;
    }
    checkSqlite(db, rc, context);
    return names;
}

TableDef readTableDef(sqlite3* db, const QString& storedName, const SqlErrorContext& context) {
    TableDef table(storedName);

    Statement sqlText(db, QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'table' "
                                         "AND name = ?"));
    sqlText.bind(1, storedName);
    checkSqlite(db, sqlText.step(), context);
    const bool autoIncrement =
        sqlText.columnText(0).contains(QLatin1String("AUTOINCREMENT"), Qt::CaseInsensitive);

    Statement columns(db, QStringLiteral("SELECT name, type, pk FROM pragma_table_info(?) "
                                         "ORDER BY cid"));
    columns.bind(1, storedName);
    int rc;
    while ((rc = columns.step()) == SQLITE_ROW) {
        FieldDef field{columns.columnText(0), FieldType::Memo, 0, 0, {}};
        const QString declared = columns.columnText(1);
        // A column declared by another tool reads as unbounded text.
        if (!fieldTypeFromSql(declared, &field.type, &field.size)) {
            field.type = FieldType::Memo;
            field.size = 0;
        }
        if (autoIncrement && columns.columnInt64(2) == 1 &&
            declared.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0)
            field.attributes = dbAutoIncrField;
        table.fields << field;
    }
    checkSqlite(db, rc, context);

    if (!metaTablesExist(db, context))
        return table;
    Statement indexes(db, QStringLiteral("SELECT index_name, fields, is_primary, is_unique "
                                         "FROM drivolex_meta_indexes WHERE table_name = ? "
                                         "ORDER BY rowid"));
    indexes.bind(1, storedName);
    while ((rc = indexes.step()) == SQLITE_ROW)
        table.indexes << IndexDef{indexes.columnText(0), splitList(indexes.columnText(1)),
                                  indexes.columnInt64(2) != 0, indexes.columnInt64(3) != 0};
    checkSqlite(db, rc, context);
    return table;
}

QList<RelationDef> readRelations(sqlite3* db, const SqlErrorContext& context) {
    QList<RelationDef> relations;
    if (!metaTablesExist(db, context))
        return relations;
    Statement stmt(db, QStringLiteral("SELECT relation_name, table_name, foreign_table, "
                                      "attributes, fields, foreign_fields "
                                      "FROM drivolex_meta_relations ORDER BY ordinal"));
    int rc;
    while ((rc = stmt.step()) == SQLITE_ROW) {
        RelationDef relation{stmt.columnText(0),
                             stmt.columnText(1),
                             stmt.columnText(2),
                             int(stmt.columnInt64(3)),
                             {}};
        const QStringList fields = splitList(stmt.columnText(4));
        const QStringList foreignFields = splitList(stmt.columnText(5));
        for (qsizetype i = 0; i < fields.size() && i < foreignFields.size(); ++i)
            relation.fields << FieldDef{fields[i], FieldType::Text, 0, 0, foreignFields[i]};
        relations << relation;
    }
    checkSqlite(db, rc, context);
    return relations;
}

void writeIndex(sqlite3* db, const QString& table, const IndexDef& index,
                const SqlErrorContext& context) {
    createMetaTables(db, context);
    Statement stmt(db, QStringLiteral("INSERT INTO drivolex_meta_indexes (table_name, "
                                      "index_name, fields, is_primary, is_unique) "
                                      "VALUES (?, ?, ?, ?, ?)"));
    stmt.bind(1, table);
    stmt.bind(2, index.name);
    stmt.bind(3, index.fields.join(kListSeparator));
    stmt.bind(4, index.primary ? 1 : 0);
    stmt.bind(5, index.unique || index.primary ? 1 : 0);
    checkSqlite(db, stmt.step(), context);
}

void writeRelation(sqlite3* db, const RelationDef& relation, const SqlErrorContext& context) {
    createMetaTables(db, context);
    QStringList fields, foreignFields;
    for (const FieldDef& field : relation.fields) {
        fields << field.name;
        foreignFields << (field.foreignName.isEmpty() ? field.name : field.foreignName);
    }
    Statement stmt(db, QStringLiteral("INSERT INTO drivolex_meta_relations (relation_name, "
                                      "table_name, foreign_table, attributes, fields, "
                                      "foreign_fields, ordinal) VALUES (?, ?, ?, ?, ?, ?, "
                                      "(SELECT count(*) FROM drivolex_meta_relations))"));
    stmt.bind(1, relation.name);
    stmt.bind(2, relation.table);
    stmt.bind(3, relation.foreignTable);
    stmt.bind(4, relation.attributes);
    stmt.bind(5, fields.join(kListSeparator));
    stmt.bind(6, foreignFields.join(kListSeparator));
    checkSqlite(db, stmt.step(), context);
}

} // namespace store
