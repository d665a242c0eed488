#include "exporting/ExportFile.h"

#include "store/FileReplace.h"
#include "store/StoreErrors.h"

#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace exporting {

namespace {

int errorNumberOf(int code) {
    if (code == ENOSPC || code == EDQUOT)
        return store::errDiskFull;
    if (code == EACCES || code == EPERM || code == EROFS)
        return store::errReadOnly;
    return store::errIo;
}

} // namespace

ExportFile::ExportFile(const QString& target) : m_target(target) {
    if (target.trimmed().isEmpty())
        store::raise(store::errFileNotFound, QStringLiteral("No name was given for the export."));
    const QFileInfo info(target);
    if (info.isDir())
        fail(store::errInvalidOperation, QStringLiteral("it is a folder"));
    if (!QFileInfo(info.absolutePath()).isDir())
        fail(store::errFileNotFound, QStringLiteral("its folder does not exist"));
    m_temporary = store::asideFileName(target);
    m_file.setFileName(m_temporary);
    errno = 0;
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        const int code = errno;
        fail(errorNumberOf(code),
             code ? QString::fromLocal8Bit(std::strerror(code)) : m_file.errorString());
    }
    m_buffer.reserve(kBlock + (kBlock >> 2));
}

ExportFile::~ExportFile() {
    if (m_committed)
        return;
    m_file.close();
    QFile::remove(m_temporary);
}

void ExportFile::flush() {
    if (m_buffer.isEmpty())
        return;
    errno = 0;
    if (m_file.write(m_buffer) != m_buffer.size()) {
        const int code = errno;
        fail(errorNumberOf(code),
             code ? QString::fromLocal8Bit(std::strerror(code)) : m_file.errorString());
    }
    m_buffer.clear();
}

void ExportFile::finish() {
    flush();
    errno = 0;
    if (!m_file.flush() || ::fsync(m_file.handle()) != 0) {
        const int code = errno;
        fail(errorNumberOf(code), QString::fromLocal8Bit(std::strerror(code)));
    }
    m_file.close();
}

void ExportFile::commit() {
    store::replaceFile(m_temporary, m_target);
    m_committed = true;
}

void ExportFile::fail(int number, const QString& reason) const {
    store::raise(
        number,
        QStringLiteral("The export file '%1' could not be written: %2.").arg(m_target, reason));
}

} // namespace exporting
