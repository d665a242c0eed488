#pragma once

#include <QString>
#include <functional>

// Writing a copy of a database file while it is open.
namespace backup {

// Called after each step with the pages copied and the pages in all; returning
// false cancels the backup (nothing is left at the destination then).
using Progress = std::function<bool(int done, int total)>;

// Copies the file at source (open in this program or not) to destination with
// SQLite's online backup, from a connection of its own that only reads: what was
// last saved is copied, never a half-written change. The copy is written under a
// temporary name in the destination's folder, checked whole (integrity_check),
// synced, and only then renamed to destination, so that a name given to a backup
// always holds a whole one. An existing destination is replaced. Throws the
// store's error naming the copy and the reason; a cancel throws errInvalidOperation.
// `described` names the copy in those errors (default: "The backup 'DEST'").
void writeBackup(const QString& source, const QString& destination, const Progress& progress = {},
                 const QString& described = {});

} // namespace backup
