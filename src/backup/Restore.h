#pragma once

#include <QDateTime>
#include <QString>

// Putting a backup in place of the file in use.
namespace backup {

// Copies the backup beside the database file under a temporary name and checks the
// copy; keeps the current file as one more backup in its folder; then renames the
// copy over the file (the folder synced). The file must not be open in the program
// (its connections see the old file otherwise). A failure at any step leaves the
// database file exactly as it was and throws the store's error naming the file.
// Returns the path of the backup of the file as it was.
QString restoreBackup(const QString& backupPath, const QString& databasePath,
                      const QDateTime& when = QDateTime::currentDateTime());

} // namespace backup
