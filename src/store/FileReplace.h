#pragma once

#include <QString>

// Moving a finished database file into place without ever losing the old one.
namespace store {

// A name for building a file aside in the same folder as path (so the final move
// is a rename within one file system); no file of that name exists. Its name stays
// short whatever the length of path's.
QString asideFileName(const QString& path);

// Atomically replaces target with source (rename), then makes the rename durable
// by syncing the folder. Throws the store's error naming the file on failure.
void replaceFile(const QString& source, const QString& target);

// Replaces the database file target with source, and takes away the side files of
// target (journal, WAL, shared memory) that an earlier crash may have left: SQLite
// would play them into the new file. They are moved aside first and deleted only
// once the new file is in place; on any failure they go back and target stays as it
// was. Throws the store's error naming the file.
void replaceDatabaseFile(const QString& source, const QString& target);

// Removes a database file with its journal files, ignoring ones that do not exist.
void removeDatabaseFiles(const QString& path);

} // namespace store
