#include "FileReplace.h"

#include "StoreErrors.h"

#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace store {

QString asideFileName(const QString& path) {
    const QFileInfo target(path);
    // Part of the name is enough to tell whose it is; all of a long name would make
    // the aside name longer than the folder allows.
    constexpr qsizetype kNameShown = 40;
    for (;;) {
        const QString candidate = target.absolutePath() + QLatin1String("/.") +
                                  target.fileName().left(kNameShown) + QLatin1Char('.') +
                                  QUuid::createUuid().toString(QUuid::Id128).left(12) +
                                  QLatin1String(".creating");
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

namespace {

constexpr const char* kSideFileSuffixes[] = {"-journal", "-wal", "-shm"};

// Renames within one folder, then makes the rename durable: it only is once the
// folder itself reaches the disk. `failure` names what could not be done.
void renameDurably(const QString& source, const QString& target, const QString& failure) {
    if (std::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) !=
        0) {
        const int code = errno;
        raise(code == ENOSPC ? errDiskFull
                             : (code == EACCES || code == EROFS ? errReadOnly : errIo),
              QStringLiteral("%1: %2.").arg(failure, QString::fromLocal8Bit(std::strerror(code))));
    }
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// A side file moved out of the way: where it was and where it is now.
struct MovedFile {
    QString from;
    QString to;
};

void moveBack(const QList<MovedFile>& moved) {
    for (const MovedFile& file : moved)
        std::rename(QFile::encodeName(file.to).constData(),
                    QFile::encodeName(file.from).constData());
}

} // namespace

void replaceFile(const QString& source, const QString& target) {
    renameDurably(source, target,
                  QStringLiteral("The file '%1' could not be replaced").arg(target));
}

void replaceDatabaseFile(const QString& source, const QString& target) {
    QList<MovedFile> moved;
    try {
        for (const char* suffix : kSideFileSuffixes) {
            const QString side = target + QLatin1String(suffix);
            if (!QFileInfo::exists(side) && !QFileInfo(side).isSymLink())
                continue;
            const QString aside = asideFileName(side);
            renameDurably(side, aside,
                          QStringLiteral("The file '%1' beside the database file could not be "
                                         "moved away")
                              .arg(side));
            moved << MovedFile{side, aside};
        }
        replaceFile(source, target);
    } catch (...) {
        moveBack(moved);
        throw;
    }
    for (const MovedFile& file : moved)
        QFile::remove(file.to);
}

void removeDatabaseFiles(const QString& path) {
    QFile::remove(path);
    for (const char* suffix : kSideFileSuffixes)
        QFile::remove(path + QLatin1String(suffix));
}

} // namespace store
