#pragma once

#include <QString>
#include <memory>

namespace store {
class Database;
}

namespace records {

// One open connection per database file, shared by every data source control that
// names the file, so that what one window saves the others read at once. The
// connection closes when the last control lets go of it. Once the file at the path
// is another (replaced or deleted), a new connection opens on what is there now.
std::shared_ptr<store::Database> sharedDatabase(const QString& path);

// The same shared connection, for a record window taking the file into use: the
// first use checks the file as File Open does (store::schema::openProgramDatabase),
// a remembered file from an earlier run included. A connection some control opened
// unchecked has its layout checked now. Throws, having written nothing, on failure.
std::shared_ptr<store::Database> takeUpProgramDatabase(const QString& path);

} // namespace records
