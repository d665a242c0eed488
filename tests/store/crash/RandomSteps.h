#pragma once

#include "StepLine.h"
#include "TableRoles.h"
#include "store/Definitions.h"

#include <QMap>
#include <memory>
#include <optional>
#include <random>

namespace store {
class Database;
class Recordset;
} // namespace store

namespace crash {

// Adds, edits and deletes rows of every table through the record store, the way
// the record windows do (their select texts, FindFirst by key, AddNew/Edit/Update,
// Delete), and reports each change on a pipe before and after the store saves it.
// An unexpected store error is thrown to the caller.
class RandomSteps {
public:
    RandomSteps(std::shared_ptr<store::Database> db, quint64 seed, int reportFd);

    void runOne();

private:
    struct RowRef {
        qint64 key = 0;
        qint64 owner = 0;
    };

    int count(const char* table) const;
    std::optional<RowRef> pickRow(const char* table);
    std::unique_ptr<store::Recordset> openOwned(const TableRole& role, qint64 owner) const;
    std::unique_ptr<store::Recordset> openOn(const TableRole& role, const RowRef& row) const;

    void add(const TableRole& role, qint64 owner);
    void addNote();
    void edit(const TableRole& role, const RowRef& row);
    void remove(const TableRole& role, const RowRef& row);
    void tryRefusedAdd();

    // Sets the field from typed text and notes the value as the store will show it.
    void write(store::Recordset& rs, const store::FieldDef& field, const QString& typed,
               Step& step) const;
    QString randomValue(const store::FieldDef& field);
    QString randomText(int longest);
    int uniform(int low, int high);
    bool chance(int percent) { return uniform(0, 99) < percent; }
    void report(Line::Tag tag, const Step& step) const;

    std::shared_ptr<store::Database> m_db;
    QMap<QString, store::TableDef> m_defs;
    std::mt19937_64 m_random;
    int m_reportFd;
};

// Writes the whole buffer to the descriptor, riding out short writes.
void writeAll(int fd, const QByteArray& bytes);

} // namespace crash
