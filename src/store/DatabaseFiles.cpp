#include "DatabaseFiles.h"

#include "StoreErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace store {

namespace {

void checkFolder(const QString& path) {
    const QFileInfo folder(QFileInfo(path).absolutePath());
    if (!folder.exists() || !folder.isDir())
        raise(errFileNotFound, QStringLiteral("The folder '%1' of the database file '%2' does "
                                              "not exist.")
                                   .arg(QDir::toNativeSeparators(folder.filePath()), path));
}

} // namespace

void checkNewDatabasePath(const QString& path) {
    if (path.trimmed().isEmpty())
        raise(errFileNotFound, QStringLiteral("No name was given for the new database file."));
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink())
        raise(errInvalidOperation,
              QStringLiteral("The database file '%1' already exists.").arg(path));
    checkFolder(path);
    if (!QFileInfo(info.absolutePath()).isWritable())
        raise(errReadOnly, QStringLiteral("The database file '%1' cannot be created: its folder "
                                          "is read-only.")
                               .arg(path));
}

bool isWritableFile(const QString& path) {
    const QFileInfo info(path);
    constexpr QFile::Permissions anyWriteBit =
        QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return info.isWritable() && (info.permissions() & anyWriteBit);
}

std::optional<FileIdentity> fileIdentity(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return FileIdentity{status.st_dev, status.st_ino};
}

void checkExistingDatabasePath(const QString& path, bool forWriting) {
    const QFileInfo info(path);
    if (path.trimmed().isEmpty())
        raise(errFileNotFound, QStringLiteral("No database file was named."));
    checkFolder(path);
    if (!info.exists())
        raise(errFileNotFound, QStringLiteral("The database file '%1' does not exist.").arg(path));
    if (info.isDir())
        raise(errNotADatabase, QStringLiteral("'%1' is a folder, not a database file.").arg(path));
    if (!info.isReadable())
        raise(
            errIo,
            QStringLiteral("The database file '%1' cannot be read: permission denied.").arg(path));
    // SQLite would take an empty file for a new, empty database; it is none of ours.
    if (info.size() == 0)
        raise(errNotADatabase,
              QStringLiteral("The file '%1' is empty: it is not a database file.").arg(path));
    if (!forWriting)
        return;
    if (!isWritableFile(path))
        raise(errReadOnly, QStringLiteral("The database file '%1' is read-only; the program "
                                          "needs to write to it.")
                               .arg(path));
    // The journal that keeps every change safe is written next to the file.
    if (!QFileInfo(info.absolutePath()).isWritable())
        raise(errReadOnly, QStringLiteral("The folder of the database file '%1' is read-only; "
                                          "the program needs to write there.")
                               .arg(path));
}

} // namespace store
