#include "ImportCommands.h"

#include "frmExport.h"
#include "frmImport.h"
#include "platform/FileDialog.h"
#include "records/RecordWindow.h"
#include "shell/AppState.h"
#include "shell/MDIForm1.h"

#include <QDir>
#include <QFileInfo>

namespace importwindows {

void registerImportCommands(shell::MDIForm1& frame) {
    frame.setExchangeCommands([&frame] { importIntoFileInUse(frame); },
                              [&frame] { exportFileInUse(frame); });
}

void importIntoFileInUse(shell::MDIForm1& frame) {
    const QString databasePath = shell::DatabasePath;
    if (databasePath.isEmpty())
        return;
    platform::FileDialog dialog;
    dialog.setDialogTitle(QStringLiteral("Import"));
    dialog.setInitDir(QFileInfo(databasePath).absolutePath());
    dialog.addFilter(QStringLiteral("CSV Files: *.csv"));
    dialog.addFilter(QStringLiteral("All Files: *"));
    dialog.setOption(platform::FileDialog::FileMustExist);
    dialog.setOption(platform::FileDialog::HideReadOnly);
    dialog.show(&frame);
    if (dialog.fileName().isEmpty())
        return;
    frmImport window(QDir(dialog.folder()).filePath(dialog.fileName()), databasePath, &frame);
    if (window.exec() != QDialog::Accepted || !window.result())
        return;
    records::RecordWindow::rowsAddedElsewhere(frame, databasePath);
}

void exportFileInUse(shell::MDIForm1& frame) {
    if (shell::DatabasePath.isEmpty())
        return;
    frmExport window(shell::DatabasePath, &frame);
    window.exec();
}

} // namespace importwindows
