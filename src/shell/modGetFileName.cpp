#include "modGetFileName.h"

#include "platform/AppError.h"
#include "platform/FileDialog.h"
#include "platform/MsgBox.h"
#include "store/Database.h"
#include "store/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <memory>
#include <unistd.h>

namespace modGetFileName {

namespace {

// Each call works on a fresh dialog, released when the call ends.
std::unique_ptr<platform::FileDialog> newDialog() {
    auto dialog = std::make_unique<platform::FileDialog>();
    dialog->setOption(platform::FileDialog::HideReadOnly);
    // Both dialogs start in the same folder, whatever was used last time.
    dialog->setInitDir(startFolder(QCoreApplication::applicationDirPath()));
    return dialog;
}

QString chosenPath(const platform::FileDialog& dialog) {
    if (dialog.fileName().isEmpty())
        return QString();
    return joinPath(dialog.folder(), dialog.fileName());
}

// The checks every record window's first use of a file makes too; the error says
// why not.
void checkIsOurDatabase(const QString& path) {
    store::schema::openProgramDatabase(path);
}

} // namespace

QString startFolder(const QString& programFolder) {
    // The system's own answer, which counts read-only mounts and immutable folders,
    // where the permission bits alone would let the administrator write anywhere.
    const auto writable = [](const QString& folder) {
        return QFileInfo(folder).isDir() &&
               ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
    };
    if (writable(programFolder))
        return programFolder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && writable(documents))
        return documents;
    return QDir::homePath();
}

QString joinPath(const QString& folder, const QString& fileName) {
    const QString separator = QDir::separator();
    return folder.endsWith(separator) ? folder + fileName : folder + separator + fileName;
}

QString GetNewDatabaseName(QWidget* owner) {
    auto dialog = newDialog();
    dialog->addFilter(QLatin1String(kDatabaseFilter));
    dialog->setOption(platform::FileDialog::PathMustExist);
    dialog->setOption(platform::FileDialog::OverwritePrompt);
    dialog->setDialogTitle(QStringLiteral("Create New Database"));
    dialog->setOption(platform::FileDialog::CreatePrompt);
    dialog->show(owner);
    return chosenPath(*dialog);
}

QString GetOpenDatabaseName(QWidget* owner, bool* rejected) {
    if (rejected)
        *rejected = false;
    auto dialog = newDialog();
    dialog->setOption(platform::FileDialog::FileMustExist);
    dialog->addFilter(QLatin1String(kDatabaseFilter));
    dialog->setDialogTitle(QStringLiteral("Open Data File"));
    dialog->show(owner);

    const QString path = chosenPath(*dialog);
    if (path.isEmpty())
        return QString();
    try {
        checkIsOurDatabase(path);
    } catch (const platform::AppError& error) {
        platform::MsgBox(QStringLiteral("The file ") + path +
                             QStringLiteral(" cannot be used as a Drivolex database.\r\n") +
                             error.text(),
                         platform::vbExclamation, QStringLiteral("Open Data File"));
        if (rejected)
            *rejected = true;
        return QString();
    }
    platform::MsgBox(QStringLiteral("Database ") + path + QStringLiteral(" is open"),
                     platform::vbOKOnly);
    return path;
}

} // namespace modGetFileName
