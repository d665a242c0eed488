#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

struct sqlite3;

namespace undo {

// One value as SQLite holds it: its storage class and its bytes, so that writing
// it back gives the file exactly what it had (no text turned into a number, no
// real into an integer).
struct StoredValue {
    int type = 0; // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB or SQLITE_NULL
    qint64 integer = 0;
    double real = 0;
    QByteArray bytes; // text (UTF-8 as stored) or blob
};

struct StoredRow {
    qint64 rowid = 0;
    QVector<StoredValue> values; // in the order of the table's columns
};

struct StoredTable {
    QString name;
    QStringList columns;
    bool rowidIsColumn = false; // an INTEGER PRIMARY KEY: the row number is a column
    QVector<StoredRow> rows;
};

// A deleted row with every row its relations' cascades take with it, read before
// the delete. Tables come parents first, the order they can be written back in.
class StoredRows {
public:
    // Reads the row and, through the program's relations, every row that belongs to
    // it, with plain selects on db. Empty when the row is not there. Throws the
    // store's error naming the file on a failed read.
    static StoredRows capture(sqlite3* db, const QString& file, const QString& table, qint64 rowid);

    bool isEmpty() const { return m_tables.isEmpty(); }
    const QVector<StoredTable>& tables() const { return m_tables; }
    // The deleted row itself: the first row of the first table.
    const StoredTable& top() const { return m_tables.front(); }
    // A value of the deleted row by column name; a null value when there is none.
    StoredValue topValue(const QString& column) const;

    // The first row of the set whose row number is taken in db; false when none.
    bool findTakenKey(sqlite3* db, QString* table, qint64* rowid) const;
    // Writes every row back with its own row number, parents first, inside the
    // caller's transaction. Returns SQLite's result code of the first failure
    // (SQLITE_OK when all went in).
    int insertInto(sqlite3* db) const;

private:
    QVector<StoredTable> m_tables;
};

} // namespace undo
