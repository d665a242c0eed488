#pragma once

#include <QString>

namespace shell {
class MDIForm1;
}

namespace backupwindows {

// Gives the frame its Back Up and Restore From Backup commands and starts the
// automatic backups, whose failures the frame's status line tells. They end with
// the frame.
void registerBackupCommands(shell::MDIForm1& frame);

// An import into the file is about to begin: a copy of the file is taken first
// (a failure is told in the status line and stops nothing).
void beforeImport(const QString& databasePath);

} // namespace backupwindows
