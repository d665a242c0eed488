#pragma once

#include "BackupFolder.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <functional>
#include <map>

namespace store {
struct WriteStart;
}

// The copies taken without being asked: at the first change of each day, before a
// vehicle is deleted and before an import. A failure never stops the user's work;
// it is told to whoever listens (the main window's status line).
namespace backup {

class AutoBackup {
public:
    using Clock = std::function<QDateTime()>;
    using FailureSink = std::function<void(const QString& message)>;

    explicit AutoBackup(Clock clock = &QDateTime::currentDateTime);

    // Installs this as the record store's write watch (and removes it when gone).
    void watchWrites();
    ~AutoBackup();
    AutoBackup(const AutoBackup&) = delete;
    AutoBackup& operator=(const AutoBackup&) = delete;

    void onFailure(FailureSink sink) { m_failure = std::move(sink); }
    // Only files this says yes to are copied (all when unset): the file in use, not
    // a new file being built aside.
    void onlyFiles(std::function<bool(const QString& path)> wanted) {
        m_wanted = std::move(wanted);
    }

    // A write is about to begin on the file.
    void writeStarting(const store::WriteStart& write);
    // An import into the file is about to begin.
    void beforeImport(const QString& databasePath);

private:
    bool take(const QString& databasePath, Reason reason);
    bool dailyTakenToday(const QString& key, const QString& databasePath, const QDate& today);

    Clock m_clock;
    FailureSink m_failure;
    std::function<bool(const QString&)> m_wanted;
    bool m_watching = false;
    // Per file: the day its daily copy was taken, or failed (no second try that day).
    std::map<QString, QDate> m_dailyDone;
};

} // namespace backup
