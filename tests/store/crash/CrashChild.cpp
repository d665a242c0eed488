// The writing process of the crash and read-only tests.
//
//   store_crash_child steps PATH SEED FD
//     changes rows of every table of the database at PATH without end, reporting
//     each change on descriptor FD (StepLine.h), until it is killed;
//   store_crash_child readonly PATH FD GO
//     starts adding a vehicle, makes the file (and, for "readonly-folder", its
//     folder) read-only, reports what Update and Delete said, waits for a byte on
//     GO, makes them writable again and saves the pending row.
#include "RandomSteps.h"
#include "ShimVfs.h"
#include "StepLine.h"
#include "backup/OnlineBackup.h"
#include "backup/Restore.h"
#include "platform/AppError.h"
#include "store/Database.h"
#include "store/Recordset.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace crash;

namespace {

// Writes and syncs held back up to this long, so that kills often land between
// the writes of one commit rather than between commits.
constexpr int kLongestWriteDelayUs = 1000;

int runSteps(const QString& path, quint64 seed, int fd) {
    shim::install();
    shim::setWriteDelay(kLongestWriteDelayUs);
    RandomSteps steps(store::Database::OpenDatabase(path), seed, fd);
    for (;;)
        steps.runOne();
}

// "CODE number mode" for the failed call: the error number and the record set's
// edit mode afterwards (2 while the new row is still pending).
QByteArray outcome(const char* call, const std::function<void()>& action,
                   const store::Recordset& rs) {
    int number = 0;
    try {
        action();
    } catch (const platform::AppError& error) {
        number = error.number();
    }
    return QByteArray(call) + ' ' + QByteArray::number(number) + ' ' +
           QByteArray::number(int(rs.editMode())) + '\n';
}

int runReadOnly(const QString& path, int fd, int go, bool folderToo) {
    const QByteArray file = QFile::encodeName(path);
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    auto db = store::Database::OpenDatabase(path);
    auto vehicles = db->OpenRecordset(QStringLiteral("VehicleInfo"));
    auto doomed = db->OpenRecordset(QStringLiteral("VehicleInfo"));
    vehicles->AddNew();
    vehicles->setValue(QStringLiteral("VehicleLookup"), QStringLiteral("Pending"));

    ::chmod(file.constData(), 0444);
    if (folderToo)
        ::chmod(folder.constData(), 0555);
    writeAll(fd, outcome(
                     "UPDATE", [&] { vehicles->Update(); }, *vehicles));
    writeAll(fd, outcome(
                     "DELETE", [&] { doomed->Delete(); }, *doomed));

    char byte = 0;
    if (::read(go, &byte, 1) != 1)
        return 4;
    ::chmod(folder.constData(), 0755);
    ::chmod(file.constData(), 0644);
    writeAll(fd, outcome(
                     "SAVE", [&] { vehicles->Update(); }, *vehicles));
    return 0;
}

int runBackups(const QString& path, const QString& destination, int fd) {
    shim::install();
    shim::setWriteDelay(kLongestWriteDelayUs);
    for (;;) {
        backup::writeBackup(path, destination);
        writeAll(fd, "DONE\n");
    }
}

int runRestores(const QString& path, const QString& first, const QString& second, int fd) {
    shim::install();
    shim::setWriteDelay(kLongestWriteDelayUs);
    for (bool firstNext = true;; firstNext = !firstNext) {
        backup::restoreBackup(firstNext ? first : second, path);
        writeAll(fd, firstNext ? "FIRST\n" : "SECOND\n");
    }
}

} // namespace

int main(int argc, char** argv) {
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    int fd = -1;
    try {
        if (mode == QLatin1String("steps") && argc == 5) {
            fd = std::atoi(argv[4]);
            return runSteps(QString::fromLocal8Bit(argv[2]), std::strtoull(argv[3], nullptr, 10),
                            fd);
        }
        if (mode.startsWith(QLatin1String("readonly")) && argc == 5) {
            fd = std::atoi(argv[3]);
            return runReadOnly(QString::fromLocal8Bit(argv[2]), fd, std::atoi(argv[4]),
                               mode == QLatin1String("readonly-folder"));
        }
        if (mode == QLatin1String("backups") && argc == 5) {
            fd = std::atoi(argv[4]);
            return runBackups(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), fd);
        }
        if (mode == QLatin1String("restores") && argc == 6) {
            fd = std::atoi(argv[5]);
            return runRestores(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                               QString::fromLocal8Bit(argv[4]), fd);
        }
    } catch (const platform::AppError& error) {
        if (fd >= 0)
            writeAll(fd, formatFailure(
                             QStringLiteral("error %1: %2").arg(error.number()).arg(error.text())));
        return 2;
    }
    std::fprintf(stderr,
                 "usage: %s steps PATH SEED FD | readonly[-folder] PATH FD GO | backups PATH DEST "
                 "FD | restores PATH FIRST SECOND FD\n",
                 argv[0]);
    return 1;
}
