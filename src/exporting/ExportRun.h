#pragma once

#include "exporting/Export.h"
#include "store/SqliteErrors.h"
#include "store/Statement.h"

#include <QString>
#include <optional>

struct sqlite3;

// What every format's writer shares: the database's reads, which vehicles go out, and
// the progress told every few thousand rows.
namespace exporting {

class ExportRun {
public:
    ExportRun(sqlite3* db, std::optional<qint64> vehicleId, const ExportProgress& progress);

    sqlite3* db() const { return m_db; }
    const std::optional<qint64>& vehicleId() const { return m_vehicleId; }
    QString databaseFile() const;
    store::SqlErrorContext context(const QString& table) const;

    // A prepared select, with the vehicle bound to its first parameter when the
    // export is of one vehicle and the text has one.
    store::Statement prepare(const QString& sql, const QString& table) const;
    // Steps to the next row; false at the end; throws the store's error.
    bool next(store::Statement& stmt, const QString& table) const;
    // The first column of the select's one row as a number.
    qint64 scalar(const QString& sql, const QString& table) const;
    bool tableExists(const QString& table) const;

    // The rows the writing will go through, for the progress.
    void addToTotal(qint64 rows) { m_total += rows; }
    // Counts a row; false once the user cancelled (asked every few thousand rows).
    bool rowDone() {
        ++m_done;
        return (m_done % kRowsPerTell) != 0 || tell();
    }
    // Tells the end (done = total); false when the user cancelled there.
    bool finished();
    qint64 done() const { return m_done; }

private:
    static constexpr qint64 kRowsPerTell = 4096;
    bool tell();

    sqlite3* m_db;
    std::optional<qint64> m_vehicleId;
    const ExportProgress& m_progress;
    qint64 m_done = 0;
    qint64 m_total = 0;
};

// Holds one read transaction over the whole export, so that every table is read as
// the file was at one moment (unless the caller holds a transaction already).
class ReadSnapshot {
public:
    explicit ReadSnapshot(const ExportRun& run);
    ~ReadSnapshot();
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;

private:
    sqlite3* m_db;
    bool m_began = false;
};

} // namespace exporting
