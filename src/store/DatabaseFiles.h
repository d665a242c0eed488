#pragma once

#include <QString>
#include <optional>
#include <sys/types.h>

namespace store {

// Checks made on the file itself before SQLite sees it, so that every failure
// names the file and says what is wrong with it. A file about to be opened only
// for reading needs no write access, nor does its folder.
void checkNewDatabasePath(const QString& path);
void checkExistingDatabasePath(const QString& path, bool forWriting = true);

// Whether the file may be written: the system allows it and the file has a write
// permission bit set. The administrator may write any file; a file the user made
// read-only stays read-only for the program also then.
bool isWritableFile(const QString& path);

// A file as the system knows it, whatever name leads to it: two names of one file
// give the same identity, a file renamed over another gives a new one.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};
std::optional<FileIdentity> fileIdentity(const QString& path);

} // namespace store
