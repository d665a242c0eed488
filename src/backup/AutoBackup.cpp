#include "AutoBackup.h"

#include "BackupFolder.h"
#include "platform/AppError.h"
#include "store/Connection.h"

#include <QFileInfo>

namespace backup {

namespace {

QString fileKey(const QString& path) {
    const QFileInfo file(path);
    return file.exists() ? file.canonicalFilePath() : file.absoluteFilePath();
}

} // namespace

AutoBackup::AutoBackup(Clock clock) : m_clock(std::move(clock)) {}

AutoBackup::~AutoBackup() {
    if (m_watching)
        store::setWriteWatch({});
}

void AutoBackup::watchWrites() {
    store::setWriteWatch([this](const store::WriteStart& write) { writeStarting(write); });
    m_watching = true;
}

bool AutoBackup::take(const QString& databasePath, Reason reason) {
    try {
        takeBackup(databasePath, reason, m_clock());
        return true;
    } catch (const platform::AppError& error) {
        if (m_failure)
            m_failure(QStringLiteral("No automatic backup was taken: %1").arg(error.text()));
    } catch (const std::exception& error) {
        if (m_failure)
            m_failure(QStringLiteral("No automatic backup was taken: %1")
                          .arg(QString::fromLocal8Bit(error.what())));
    }
    return false;
}

// A daily copy taken in an earlier run of the program counts too.
bool AutoBackup::dailyTakenToday(const QString& key, const QString& databasePath,
                                 const QDate& today) {
    const auto done = m_dailyDone.find(key);
    if (done != m_dailyDone.end() && done->second == today)
        return true;
    for (const BackupEntry& entry : listBackups(databasePath))
        if (entry.taken.date() == today && entry.reason.startsWith(reasonName(Reason::Daily))) {
            m_dailyDone[key] = today;
            return true;
        }
    return false;
}

void AutoBackup::writeStarting(const store::WriteStart& write) {
    if (write.file.isEmpty() || !QFileInfo::exists(write.file) ||
        (m_wanted && !m_wanted(write.file)))
        return;
    const QString key = fileKey(write.file);
    const QDate today = m_clock().date();
    if (write.deleting &&
        write.table.compare(QLatin1String("VehicleInfo"), Qt::CaseInsensitive) == 0) {
        // The copy before the delete is also the day's first.
        if (take(write.file, Reason::BeforeDelete))
            m_dailyDone[key] = today;
        return;
    }
    if (dailyTakenToday(key, write.file, today))
        return;
    take(write.file, Reason::Daily);
    // A failed day is not tried again at every save; tomorrow tries again.
    m_dailyDone[key] = today;
}

void AutoBackup::beforeImport(const QString& databasePath) {
    take(databasePath, Reason::BeforeImport);
}

} // namespace backup
