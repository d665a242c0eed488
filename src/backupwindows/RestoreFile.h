#pragma once

namespace shell {
class MDIForm1;
}

namespace backupwindows {

// File > Restore From Backup: lists the backups of the file in use, asks once, closes
// the record windows (each asking first if it holds an unsaved row), keeps the file
// as it is now as one more backup and puts the chosen backup in its place; the
// windows that were open open again on it. Any failure leaves the file as it was and
// is told in a box.
void restoreFileInUse(shell::MDIForm1& frame);

} // namespace backupwindows
