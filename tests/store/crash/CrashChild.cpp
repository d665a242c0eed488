// The writing process of the crash and read-only tests.
//
//   store_crash_child steps PATH SEED FD
//     changes rows of every table of the database at PATH without end, reporting
//     each change on descriptor FD (StepLine.h), until it is killed;
//   store_crash_child readonly PATH FD GO
//     starts adding a vehicle, makes the file (and, for "readonly-folder", its
//     folder) read-only, reports what Update and Delete said, waits for a byte on
//     GO, makes them writable again and saves the pending row;
//   store_crash_child import PATH FD
//     imports a large file's rows into the database at PATH with a small page cache
//     (so that pages reach the file before the commit), reporting WRITING on FD once
//     rows are being written and DONE after the commit.
#include "RandomSteps.h"
#include "ShimVfs.h"
#include "StepLine.h"
#include "backup/OnlineBackup.h"
#include "backup/Restore.h"
#include "importing/ImportPlan.h"
#include "platform/AppError.h"
#include "store/Connection.h"
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

int runImport(const QString& path, int fd) {
    shim::install();
    shim::setWriteDelay(kLongestWriteDelayUs);
    const store::ConnectionHandle connection = store::openConnection(path, false);
    store::execute(connection.get(), QStringLiteral("PRAGMA cache_size = 20"), {});
    exchange::ImportedFile file;
    for (const char* name : {"Imported", "Kept"}) {
        exchange::ImportedVehicle vehicle;
        vehicle.name = QLatin1String(name);
        file.vehicles.push_back(vehicle);
    }
    constexpr int kRows = 20000;
    const QDateTime first(QDate(2010, 1, 1), QTime(0, 0), Qt::UTC);
    for (int i = 0; i < kRows; ++i) {
        exchange::ImportedFuel row;
        row.line = i + 2;
        row.vehicle = i % 2 ? QStringLiteral("Imported") : QStringLiteral("Kept");
        row.date = first.addDays(i);
        row.gallons = 10 + i % 7;
        row.odometer = 200000 + 150.0 * i;
        row.missed = i % 50 == 0;
        row.note = i % 10 == 0 ? QStringLiteral("note %1").arg(i) : QString();
        file.fuel.push_back(row);
    }
    const importing::ImportPlan plan = importing::planImport(
        connection.get(), file, importing::defaultTargets(connection.get(), file));
    bool told = false;
    importing::writeImport(connection.get(), path, plan, [&](int, int) {
        if (!told)
            writeAll(fd, "WRITING\n");
        told = true;
        return true;
    });
    writeAll(fd, "DONE\n");
    return 0;
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
        if (mode == QLatin1String("import") && argc == 4) {
            fd = std::atoi(argv[3]);
            return runImport(QString::fromLocal8Bit(argv[2]), fd);
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
                 "FD | restores PATH FIRST SECOND FD | import PATH FD\n",
                 argv[0]);
    return 1;
}
