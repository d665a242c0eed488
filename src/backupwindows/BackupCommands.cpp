#include "BackupCommands.h"

#include "BackUpFile.h"
#include "RestoreFile.h"
#include "backup/AutoBackup.h"
#include "platform/ErrorReporting.h"
#include "shell/AppState.h"
#include "shell/MDIForm1.h"
#include "store/DatabaseFiles.h"

#include <QPointer>

namespace backupwindows {

namespace {

// The automatic backups of one frame, living as long as it does.
class AutomaticBackups : public QObject {
public:
    explicit AutomaticBackups(shell::MDIForm1& frame) : QObject(&frame) {
        setObjectName(QStringLiteral("automaticBackups"));
        QPointer<shell::MDIForm1> owner(&frame);
        m_backups.onFailure([owner](const QString& message) {
            if (owner)
                owner->showNotice(message);
        });
        m_backups.onlyFiles([](const QString& path) {
            return !shell::DatabasePath.isEmpty() &&
                   store::fileIdentity(path) == store::fileIdentity(shell::DatabasePath);
        });
        m_backups.watchWrites();
        current() = this;
    }
    ~AutomaticBackups() override {
        if (current() == this)
            current() = nullptr;
    }
    backup::AutoBackup& backups() { return m_backups; }

    static AutomaticBackups*& current() {
        static AutomaticBackups* instance = nullptr;
        return instance;
    }

private:
    backup::AutoBackup m_backups;
};

} // namespace

void registerBackupCommands(shell::MDIForm1& frame) {
    new AutomaticBackups(frame);
    frame.setBackupCommands([&frame] { backUpFileInUse(frame); },
                            [&frame] { restoreFileInUse(frame); });
}

void beforeImport(const QString& databasePath) {
    if (AutomaticBackups* automatic = AutomaticBackups::current())
        automatic->backups().beforeImport(databasePath);
}

} // namespace backupwindows
