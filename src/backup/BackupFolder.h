#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// Where the copies the program takes by itself are kept: one folder per database
// file under the user's data folder, each copy named with its date, time and reason.
namespace backup {

// Why a copy was taken; part of its name.
enum class Reason { Daily, BeforeDelete, BeforeImport, BeforeRestore };
QString reasonName(Reason reason);

// The number of copies kept in each folder: the newest.
inline constexpr int kKeptBackups = 20;

// The folder for the database file at path (not made here): the file's stem and a
// short hash of its full path, so that two files of one name keep apart.
QString folderFor(const QString& databasePath);

// A new name in the folder for a copy taken at `when` for `reason`.
QString newBackupPath(const QString& databasePath, Reason reason, const QDateTime& when);

// The copies kept for the file, newest first (by the time in their names).
struct BackupEntry {
    QString path;
    QDateTime taken;
    QString reason;
    qint64 size = 0;
};
QList<BackupEntry> listBackups(const QString& databasePath);

// Removes all but the newest kKeptBackups copies of the file.
void pruneBackups(const QString& databasePath, int keep = kKeptBackups);

// Takes a copy into the file's folder (made when missing), then prunes. Returns
// its path; throws the store's error on failure.
QString takeBackup(const QString& databasePath, Reason reason, const QDateTime& when);

// The default name File > Back Up offers: the file's name with the date and time.
QString suggestedBackupName(const QString& databasePath, const QDateTime& when);

} // namespace backup
