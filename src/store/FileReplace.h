#pragma once

#include <QString>

// Moving a finished database file into place without ever losing the old one.
namespace store {

// A name for building a file aside in the same folder as path (so the final move
// is a rename within one file system); no file of that name exists.
QString asideFileName(const QString& path);

// Atomically replaces target with source (rename), then makes the rename durable
// by syncing the folder. Throws the store's error naming the file on failure.
void replaceFile(const QString& source, const QString& target);

// Removes a database file with its journal files, ignoring ones that do not exist.
void removeDatabaseFiles(const QString& path);

} // namespace store
