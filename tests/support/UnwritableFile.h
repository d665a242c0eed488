#pragma once

// A database file that another party stops the program from writing while it is
// open: made read-only, or held by another program. Each lasts as long as its object,
// or until it is let go.
#include <QFile>
#include <QString>
#include <fcntl.h>
#include <linux/fs.h>
#include <sqlite3.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testing_support {

// Sets or clears the immutable flag, which stops writes even by the administrator;
// false when the file system or our rights do not allow it.
inline bool setImmutable(const QString& path, bool on) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
}

// The file's write permission taken away. The administrator writes files whatever
// their permission bits say, so then the file is made immutable as well; arranged()
// is false when that cannot be done here.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const QString& path) : m_path(path) {
        m_arranged = ::chmod(QFile::encodeName(m_path).constData(), 0444) == 0;
        if (m_arranged && ::geteuid() == 0) {
            m_immutable = setImmutable(m_path, true);
            m_arranged = m_immutable;
        }
        if (!m_arranged)
            makeWritable();
    }
    ~ReadOnlyFile() { makeWritable(); }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool arranged() const { return m_arranged; }
    // True when the file can be written again.
    bool makeWritable() {
        bool done = true;
        if (m_immutable)
            done = setImmutable(m_path, false);
        m_immutable = m_immutable && !done;
        return ::chmod(QFile::encodeName(m_path).constData(), 0644) == 0 && done;
    }

private:
    QString m_path;
    bool m_arranged = false;
    bool m_immutable = false;
};

// Another program in an exclusive transaction on the file: until it lets go, every
// other connection that reads or writes the file waits for it and then gives up.
class LockedFile {
public:
    explicit LockedFile(const QString& path) {
        if (sqlite3_open(QFile::encodeName(path).constData(), &m_db) == SQLITE_OK &&
            sqlite3_exec(m_db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK)
            m_held = true;
        else
            release();
    }
    ~LockedFile() { release(); }
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;

    bool held() const { return m_held; }
    void release() {
        if (m_held)
            sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(m_db);
        m_db = nullptr;
        m_held = false;
    }

private:
    sqlite3* m_db = nullptr;
    bool m_held = false;
};

} // namespace testing_support
