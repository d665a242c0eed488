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

} // namespace records
