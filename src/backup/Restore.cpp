#include "Restore.h"

#include "BackupFolder.h"
#include "FileCheck.h"
#include "OnlineBackup.h"
#include "platform/AppError.h"
#include "store/Database.h"
#include "store/FileReplace.h"
#include "store/StoreErrors.h"

#include <QFile>

namespace backup {

QString restoreBackup(const QString& backupPath, const QString& databasePath,
                      const QDateTime& when) {
    if (store::Database::isFileOpen(databasePath))
        store::raise(store::errInvalidOperation,
                     QStringLiteral("The database file '%1' is still in use; close its windows "
                                    "before restoring a backup.")
                         .arg(databasePath));
    // Built beside the file, so that the last step is a rename within one folder; the
    // copy is checked page by page as it is written.
    const QString incoming = store::asideFileName(databasePath);
    const auto refuse = [&](int number, const QString& reason) {
        store::raise(number, QStringLiteral("The backup '%1' cannot be restored: %2")
                                 .arg(backupPath, QString(reason).replace(incoming, backupPath)));
    };
    try {
        try {
            writeBackup(backupPath, incoming, {},
                        QStringLiteral("The copy of the backup beside the database file '%1'")
                            .arg(databasePath));
        } catch (const platform::AppError& error) {
            refuse(error.number(), error.text());
        }
        const CheckResult copyCheck = checkFile(incoming, true);
        if (!copyCheck.sound)
            refuse(store::errCannotOpen, copyCheck.reason);
        const QString kept = takeBackup(databasePath, Reason::BeforeRestore, when);
        store::replaceDatabaseFile(incoming, databasePath);
        return kept;
    } catch (...) {
        QFile::remove(incoming);
        throw;
    }
}

} // namespace backup
