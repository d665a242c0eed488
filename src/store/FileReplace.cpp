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
    for (;;) {
        const QString candidate =
            target.absolutePath() + QLatin1String("/.") + target.fileName() + QLatin1Char('.') +
            QUuid::createUuid().toString(QUuid::Id128).left(12) + QLatin1String(".creating");
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

void replaceFile(const QString& source, const QString& target) {
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(target);
    if (std::rename(from.constData(), to.constData()) != 0) {
        const int code = errno;
        raise(code == ENOSPC ? errDiskFull
                             : (code == EACCES || code == EROFS ? errReadOnly : errIo),
              QStringLiteral("The file '%1' could not be replaced: %2.")
                  .arg(target, QString::fromLocal8Bit(std::strerror(code))));
    }
    // The rename is only durable once the folder itself reaches the disk.
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void removeDatabaseFiles(const QString& path) {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
}

} // namespace store
