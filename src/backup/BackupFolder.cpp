#include "BackupFolder.h"

#include "OnlineBackup.h"
#include "store/StoreErrors.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <sys/stat.h>

namespace backup {

namespace {

// Sorts as it reads: the newest name is the greatest.
constexpr const char* kTimeFormat = "yyyy-MM-dd_HH-mm-ss-zzz";
constexpr const char* kSuffix = ".backup";

// When the file was last written, to the nanosecond.
qint64 writtenAt(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return 0;
    return qint64(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
}

} // namespace

QString reasonName(Reason reason) {
    switch (reason) {
    case Reason::Daily:
        return QStringLiteral("daily");
    case Reason::BeforeDelete:
        return QStringLiteral("before-delete");
    case Reason::BeforeImport:
        return QStringLiteral("before-import");
    case Reason::BeforeRestore:
        return QStringLiteral("before-restore");
    }
    return QStringLiteral("backup");
}

QString folderFor(const QString& databasePath) {
    const QFileInfo file(databasePath);
    // The canonical path when the file exists, so that every name of one file shares
    // one folder; the absolute path of a file not (or no longer) there.
    const QString full = file.exists() ? file.canonicalFilePath() : file.absoluteFilePath();
    const QByteArray hash =
        QCryptographicHash::hash(full.toUtf8(), QCryptographicHash::Sha1).toHex().left(10);
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QLatin1String("/backups/") + file.completeBaseName() + QLatin1Char('-') +
           QString::fromLatin1(hash);
}

QString newBackupPath(const QString& databasePath, Reason reason, const QDateTime& when) {
    const QString folder = folderFor(databasePath);
    const QString stem = QFileInfo(databasePath).completeBaseName() + QLatin1Char('_') +
                         when.toString(QLatin1String(kTimeFormat)) + QLatin1Char('_') +
                         reasonName(reason);
    QString path = folder + QLatin1Char('/') + stem + QLatin1String(kSuffix);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder + QLatin1Char('/') + stem + QStringLiteral("-%1").arg(n) +
               QLatin1String(kSuffix);
    return path;
}

QList<BackupEntry> listBackups(const QString& databasePath) {
    QList<BackupEntry> entries;
    const QString stem = QFileInfo(databasePath).completeBaseName();
    const QDir folder(folderFor(databasePath));
    const QStringList names = folder.entryList({QStringLiteral("*") + QLatin1String(kSuffix)},
                                               QDir::Files, QDir::Name | QDir::Reversed);
    for (const QString& name : names) {
        // stem_time_reason.backup; the stem itself may hold underscores.
        const QString rest = name.mid(stem.size() + 1).chopped(int(qstrlen(kSuffix)));
        if (!name.startsWith(stem + QLatin1Char('_')))
            continue;
        const QString timeText = rest.left(int(qstrlen(kTimeFormat)));
        const QDateTime taken = QDateTime::fromString(timeText, QLatin1String(kTimeFormat));
        if (!taken.isValid())
            continue;
        const QFileInfo info(folder.filePath(name));
        entries << BackupEntry{info.filePath(), taken, rest.mid(timeText.size() + 1), info.size()};
    }
    // Two taken within one time stamp: the one written last is the newer.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const BackupEntry& a, const BackupEntry& b) {
                         if (a.taken != b.taken)
                             return a.taken > b.taken;
                         return writtenAt(a.path) > writtenAt(b.path);
                     });
    return entries;
}

void pruneBackups(const QString& databasePath, int keep) {
    const QList<BackupEntry> entries = listBackups(databasePath);
    for (qsizetype i = keep; i < entries.size(); ++i)
        QFile::remove(entries[i].path);
}

QString takeBackup(const QString& databasePath, Reason reason, const QDateTime& when) {
    const QString folder = folderFor(databasePath);
    if (!QDir().mkpath(folder))
        store::raise(store::errReadOnly,
                     QStringLiteral("The backup folder '%1' could not be made.").arg(folder));
    const QString path = newBackupPath(databasePath, reason, when);
    writeBackup(databasePath, path);
    // Only once the new copy is whole does an old one go.
    pruneBackups(databasePath);
    return path;
}

QString suggestedBackupName(const QString& databasePath, const QDateTime& when) {
    const QFileInfo file(databasePath);
    const QString suffix = file.suffix().isEmpty() ? QString() : QLatin1Char('.') + file.suffix();
    return file.completeBaseName() + QLatin1Char(' ') +
           when.toString(QStringLiteral("yyyy-MM-dd HH-mm")) + suffix;
}

} // namespace backup
