#include "RestoreFile.h"

#include "RecordWindowsClose.h"
#include "backup/Restore.h"
#include "frmRestore.h"
#include "platform/AppError.h"
#include "platform/MsgBox.h"
#include "shell/AppState.h"
#include "shell/MDIForm1.h"
#include "store/Database.h"
#include "store/DatabaseFiles.h"
#include "store/modCreateDB.h"
#include "undo/DeleteHistory.h"

namespace backupwindows {

namespace {

const QString kTitle = QStringLiteral("Restore From Backup");

QList<BackupRow> listedBackups(const QString& databasePath) {
    QList<BackupRow> rows;
    for (const backup::BackupEntry& entry : backup::listBackups(databasePath))
        rows << BackupRow{entry, backup::contentsOf(entry.path)};
    return rows;
}

// The database a File New made stays open until the next one; it is the file in use.
void letGoOfNewDatabase(const QString& databasePath) {
    const auto& created = modCreateDB::CurrentDatabase;
    if (created && store::fileIdentity(created->path()) == store::fileIdentity(databasePath))
        modCreateDB::CurrentDatabase.reset();
}

void reopen(shell::MDIForm1& frame, const QList<shell::ChildWindow>& windows) {
    for (const shell::ChildWindow which : windows) {
        try {
            frame.showChildWindow(which, true);
        } catch (const platform::AppError& error) {
            platform::MsgBox(error.text(), platform::vbExclamation, kTitle);
            return;
        }
    }
}

} // namespace

void restoreFileInUse(shell::MDIForm1& frame) {
    const QString databasePath = shell::DatabasePath;
    if (databasePath.isEmpty())
        return;
    const QList<BackupRow> rows = listedBackups(databasePath);
    if (rows.isEmpty()) {
        platform::MsgBox(QStringLiteral("There are no backups of %1 yet.").arg(databasePath),
                         platform::vbInformation, kTitle);
        return;
    }
    int chosen = -1;
    {
        frmRestore dialog(databasePath, rows, &frame);
        chosen = dialog.chooseBackup();
    }
    if (chosen < 0 || chosen >= rows.size())
        return;
    const backup::BackupEntry& entry = rows[chosen].entry;
    const QString when = frmRestore::dateText(entry.taken);
    if (platform::MsgBox(QStringLiteral("Replace %1 with its backup of %2?\r\nThe file as it is "
                                        "now is kept as one more backup.")
                             .arg(databasePath, when),
                         platform::vbYesNo | platform::vbQuestion, kTitle) != platform::vbYes)
        return;

    QList<shell::ChildWindow> wereOpen;
    if (!closeRecordWindows(frame, &wereOpen))
        return; // a row the user keeps: nothing is restored
    letGoOfNewDatabase(databasePath);
    try {
        backup::restoreBackup(entry.path, databasePath);
        undo::DeleteHistory::instance().forget(databasePath);
        frame.showNotice(QStringLiteral("Backup of %1 restored").arg(when));
    } catch (const platform::AppError& error) {
        platform::MsgBox(QStringLiteral("The backup was not restored; %1 is as it was.\r\n%2")
                             .arg(databasePath, error.text()),
                         platform::vbExclamation, kTitle);
    }
    reopen(frame, wereOpen);
}

} // namespace backupwindows
