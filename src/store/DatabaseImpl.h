#pragma once

#include "Connection.h"
#include "Database.h"
#include "DatabaseFiles.h"
#include "SchemaDdl.h"
#include "Statement.h"

#include <map>
#include <optional>

namespace store {

// The state behind a Database, shared with the record store's own code.
struct Database::Impl {
    ConnectionHandle connection;
    QString path;
    std::optional<FileIdentity> file; // the file opened, whatever its name is now
    // After the connection, so that they are finalized before it closes.
    std::map<QString, Statement> statements;

    sqlite3* db() const { return connection.get(); }
    SqlErrorContext context(const QString& table = QString()) const {
        return SqlErrorContext{path, table, false, {}};
    }
    // A stored table's definition with the relations that point out of it.
    TableLayout layout(const QString& storedName) const;
    // The stored spelling of a table name; throws errTableNotFound when there is none.
    QString requireTable(const QString& name) const;
};

} // namespace store
