#include "StoredRows.h"

#include "store/Names.h"
#include "store/Schema.h"
#include "store/SqliteErrors.h"

#include <memory>
#include <sqlite3.h>
#include <vector>

namespace undo {

namespace {

struct StmtCloser {
    void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};
using Stmt = std::unique_ptr<sqlite3_stmt, StmtCloser>;

class Reader {
public:
    Reader(sqlite3* db, const QString& file) : m_db(db), m_file(file) {}

    Stmt prepare(const QString& sql, const QString& table) const {
        sqlite3_stmt* raw = nullptr;
        const int rc = sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &raw, nullptr);
        Stmt stmt(raw);
        if (rc != SQLITE_OK)
            fail(rc, table);
        return stmt;
    }

    [[noreturn]] void fail(int rc, const QString& table) const {
        store::raiseSqlite(m_db, rc, store::SqlErrorContext{m_file, table, false, {}});
    }

    // The table's columns in order, and whether its row number is one of them.
    StoredTable layout(const QString& table) const {
        StoredTable result;
        result.name = table;
        Stmt info =
            prepare(QStringLiteral("PRAGMA table_info(%1)").arg(store::quoted(table)), table);
        int keyColumns = 0;
        bool integerKey = false;
        int rc;
        while ((rc = sqlite3_step(info.get())) == SQLITE_ROW) {
            result.columns << QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 1)));
            if (sqlite3_column_int(info.get(), 5) > 0) {
                ++keyColumns;
                integerKey = QString::fromUtf8(
                                 reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 2)))
                                 .compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0;
            }
        }
        if (rc != SQLITE_DONE)
            fail(rc, table);
        result.rowidIsColumn = keyColumns == 1 && integerKey;
        return result;
    }

    // Appends the rows of `where` (one bound value) to table.
    void readRows(StoredTable& table, const QString& where, const StoredValue& bound) const {
        QStringList columns;
        for (const QString& column : table.columns)
            columns << store::quoted(column);
        Stmt stmt =
            prepare(QStringLiteral("SELECT rowid, %1 FROM %2 WHERE %3 ORDER BY rowid")
                        .arg(columns.join(QLatin1String(", ")), store::quoted(table.name), where),
                    table.name);
        bind(stmt.get(), 1, bound);
        int rc;
        while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
            StoredRow row;
            row.rowid = sqlite3_column_int64(stmt.get(), 0);
            for (int i = 1; i < sqlite3_column_count(stmt.get()); ++i)
                row.values << read(stmt.get(), i);
            table.rows << row;
        }
        if (rc != SQLITE_DONE)
            fail(rc, table.name);
    }

    static StoredValue read(sqlite3_stmt* stmt, int column) {
        StoredValue value;
        value.type = sqlite3_column_type(stmt, column);
        switch (value.type) {
        case SQLITE_INTEGER:
            value.integer = sqlite3_column_int64(stmt, column);
            break;
        case SQLITE_FLOAT:
            value.real = sqlite3_column_double(stmt, column);
            break;
        case SQLITE_TEXT:
            value.bytes =
                QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                           sqlite3_column_bytes(stmt, column));
            break;
        case SQLITE_BLOB: {
            const void* data = sqlite3_column_blob(stmt, column);
            value.bytes =
                QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(stmt, column));
            break;
        }
        default:
            break;
        }
        return value;
    }

    static int bind(sqlite3_stmt* stmt, int index, const StoredValue& value) {
        switch (value.type) {
        case SQLITE_INTEGER:
            return sqlite3_bind_int64(stmt, index, value.integer);
        case SQLITE_FLOAT:
            return sqlite3_bind_double(stmt, index, value.real);
        case SQLITE_TEXT:
            return sqlite3_bind_text(stmt, index, value.bytes.constData(), int(value.bytes.size()),
                                     SQLITE_TRANSIENT);
        case SQLITE_BLOB:
            return sqlite3_bind_blob(stmt, index, value.bytes.constData(), int(value.bytes.size()),
                                     SQLITE_TRANSIENT);
        default:
            return sqlite3_bind_null(stmt, index);
        }
    }

private:
    sqlite3* m_db;
    QString m_file;
};

int columnIndex(const StoredTable& table, const QString& column) {
    for (qsizetype i = 0; i < table.columns.size(); ++i)
        if (table.columns[i].compare(column, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

// A table of the program's own beside the records (such as the fuel rows' missed
// marks) whose rows a cascading relation deletes with a row of a record table.
struct ExtraRelation {
    QString table;
    QString field;       // in the extra table
    QString parentField; // in the record table
};

std::vector<ExtraRelation> extraRelationsOf(const Reader& reader, sqlite3* db,
                                            const QString& parent) {
    Stmt stmt = reader.prepare(
        QStringLiteral("SELECT m.name, f.\"from\", f.\"to\" FROM sqlite_master AS m, "
                       "pragma_foreign_key_list(m.name) AS f WHERE m.type = 'table' AND "
                       "m.name LIKE 'drivolex\\_%' ESCAPE '\\' AND f.\"table\" = ?1 "
                       "COLLATE NOCASE AND f.on_delete = 'CASCADE' ORDER BY m.name, f.id"),
        parent);
    const QByteArray name = parent.toUtf8();
    sqlite3_bind_text(stmt.get(), 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    std::vector<ExtraRelation> relations;
    const auto text = [&stmt](int column) {
        return QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), column)));
    };
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW)
        relations.push_back(ExtraRelation{text(0), text(1), text(2)});
    if (rc != SQLITE_DONE)
        store::raiseSqlite(db, rc, store::SqlErrorContext{{}, parent, false, {}});
    return relations;
}

} // namespace

StoredRows StoredRows::capture(sqlite3* db, const QString& file, const QString& table,
                               qint64 rowid) {
    const Reader reader(db, file);
    StoredRows result;
    StoredTable top = reader.layout(table);
    StoredValue key;
    key.type = SQLITE_INTEGER;
    key.integer = rowid;
    reader.readRows(top, QStringLiteral("rowid = ?"), key);
    if (top.rows.isEmpty())
        return result;
    result.m_tables << top;
    // The rows of one owned table whose field holds the key of a row of the owner.
    const auto takeOwned = [&](qsizetype owner, const QString& parentField,
                               const QString& ownedTable, const QString& ownedField) {
        const int keyColumn = columnIndex(result.m_tables[owner], parentField);
        if (keyColumn < 0)
            return;
        StoredTable owned = reader.layout(ownedTable);
        const QString where = store::quoted(ownedField) + QLatin1String(" = ?");
        const QVector<StoredRow> parents = result.m_tables[owner].rows;
        for (const StoredRow& parent : parents)
            if (parent.values[keyColumn].type != SQLITE_NULL)
                reader.readRows(owned, where, parent.values[keyColumn]);
        if (!owned.rows.isEmpty())
            result.m_tables << owned;
    };
    // Each table's owned rows follow it: the cascades' own order, parents first, then
    // the program's extra tables tied to it.
    for (qsizetype owner = 0; owner < result.m_tables.size(); ++owner) {
        const QString parentName = result.m_tables[owner].name;
        for (const store::schema::RelationLayout& relation : store::schema::relations())
            if (parentName.compare(QLatin1String(relation.table), Qt::CaseInsensitive) == 0)
                takeOwned(owner, QLatin1String(relation.field),
                          QLatin1String(relation.foreignTable), QLatin1String(relation.field));
        for (const ExtraRelation& relation : extraRelationsOf(reader, db, parentName))
            takeOwned(owner, relation.parentField, relation.table, relation.field);
    }
    return result;
}

StoredValue StoredRows::topValue(const QString& column) const {
    if (isEmpty())
        return {};
    const int index = columnIndex(top(), column);
    return index < 0 ? StoredValue() : top().rows.front().values[index];
}

bool StoredRows::findTakenKey(sqlite3* db, QString* table, qint64* rowid) const {
    const Reader reader(db, QString::fromUtf8(sqlite3_db_filename(db, "main")));
    for (const StoredTable& stored : m_tables) {
        Stmt probe = reader.prepare(
            QStringLiteral("SELECT 1 FROM %1 WHERE rowid = ?").arg(store::quoted(stored.name)),
            stored.name);
        for (const StoredRow& row : stored.rows) {
            sqlite3_bind_int64(probe.get(), 1, row.rowid);
            const int rc = sqlite3_step(probe.get());
            sqlite3_reset(probe.get());
            if (rc == SQLITE_ROW) {
                *table = stored.name;
                *rowid = row.rowid;
                return true;
            }
            if (rc != SQLITE_DONE)
                reader.fail(rc, stored.name);
        }
    }
    return false;
}

int StoredRows::insertInto(sqlite3* db) const {
    for (const StoredTable& stored : m_tables) {
        QStringList columns;
        if (!stored.rowidIsColumn)
            columns << QStringLiteral("rowid");
        for (const QString& column : stored.columns)
            columns << store::quoted(column);
        const QString sql =
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(store::quoted(stored.name), columns.join(QLatin1String(", ")),
                     QStringList(columns.size(), QStringLiteral("?")).join(QLatin1String(", ")));
        sqlite3_stmt* raw = nullptr;
        int rc = sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &raw, nullptr);
        const Stmt insert(raw);
        if (rc != SQLITE_OK)
            return rc;
        for (const StoredRow& row : stored.rows) {
            int index = 1;
            if (!stored.rowidIsColumn)
                sqlite3_bind_int64(insert.get(), index++, row.rowid);
            for (const StoredValue& value : row.values)
                Reader::bind(insert.get(), index++, value);
            rc = sqlite3_step(insert.get());
            sqlite3_reset(insert.get());
            if (rc != SQLITE_DONE)
                return sqlite3_extended_errcode(db);
        }
    }
    return SQLITE_OK;
}

} // namespace undo
