#include "BackUpFile.h"

#include "backup/BackupFolder.h"
#include "backup/OnlineBackup.h"
#include "platform/AppError.h"
#include "platform/FileDialog.h"
#include "platform/MsgBox.h"
#include "shell/AppState.h"
#include "shell/MDIForm1.h"
#include "shell/modGetFileName.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QProgressDialog>

namespace backupwindows {

namespace {

constexpr const char* kTitle = "Back Up";
// A copy this quick needs no progress box.
constexpr int kShowProgressAfterMs = 700;

QString askForName(shell::MDIForm1& frame, const QString& databasePath) {
    platform::FileDialog dialog;
    dialog.setDialogTitle(QStringLiteral("Back Up Database"));
    dialog.addFilter(QLatin1String(modGetFileName::kDatabaseFilter));
    dialog.setOption(platform::FileDialog::HideReadOnly);
    dialog.setOption(platform::FileDialog::PathMustExist);
    dialog.setOption(platform::FileDialog::OverwritePrompt);
    dialog.setInitDir(QFileInfo(databasePath).absolutePath());
    dialog.setDefaultFileName(
        backup::suggestedBackupName(databasePath, QDateTime::currentDateTime()));
    dialog.show(&frame);
    if (dialog.fileName().isEmpty())
        return QString();
    return modGetFileName::joinPath(dialog.folder(), dialog.fileName());
}

} // namespace

void backUpFileInUse(shell::MDIForm1& frame) {
    const QString databasePath = shell::DatabasePath;
    if (databasePath.isEmpty())
        return;
    const QString destination = askForName(frame, databasePath);
    if (destination.isEmpty())
        return; // cancelled: nothing is written

    QProgressDialog progress(QStringLiteral("Backing up %1...").arg(databasePath),
                             QStringLiteral("Cancel"), 0, 100, &frame);
    progress.setObjectName(QStringLiteral("dlgBackUpProgress"));
    progress.setWindowTitle(QLatin1String(kTitle));
    progress.setAccessibleName(QStringLiteral("Backup progress"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kShowProgressAfterMs);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    try {
        backup::writeBackup(databasePath, destination, [&](int done, int total) {
            progress.setValue(total > 0 ? int(qint64(done) * 100 / total) : 0);
            QApplication::processEvents();
            return !progress.wasCanceled();
        });
    } catch (const platform::AppError& error) {
        // Closing the progress box counts as a cancel: asked before it closes.
        const bool cancelled = progress.wasCanceled();
        progress.close();
        if (cancelled)
            return; // the user's own choice needs no box
        platform::MsgBox(QStringLiteral("The database %1 was not backed up to %2.\r\n%3")
                             .arg(databasePath, destination, error.text()),
                         platform::vbExclamation, QLatin1String(kTitle));
        return;
    }
    progress.close();
    frame.showNotice(QStringLiteral("Backed up to %1").arg(destination));
}

} // namespace backupwindows
