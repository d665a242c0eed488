// Measures File > Back Up and File > Restore From Backup on the benchmark file
// (1,000,000 fuel purchases) against raw SQLite doing the same work in the same run,
// and prints the figures as a table (and as JSON with --json PATH).
//
//   drivolex_backup_bench [--json PATH] [--dir FOLDER] [--rounds N]
//
// Ours writes a copy with the online backup API under a temporary name, checks it
// whole (integrity_check), syncs it and renames it. Raw does the backup and the
// integrity_check with the same API, without the sync and the rename. A restore is
// two such copies (the backup to beside the file, the file as it was into the
// backups folder), the relations' check and a rename; raw does the two copies and
// two checks. The targets (1.5) leave room for the syncs and renames, which are
// what make a copy safe to trust after a crash.

#include "BenchFile.h"
#include "Options.h"
#include "Report.h"
#include "Timing.h"
#include "backup/OnlineBackup.h"
#include "backup/Restore.h"

#include <QCoreApplication>
#include <QString>
#include <cstdio>
#include <filesystem>
#include <sqlite3.h>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;

// A small number of rounds: each one moves about 200 MB.
constexpr int kMostRounds = 5;
constexpr double kTarget = 1.5;

void check(int rc, sqlite3* db, const char* what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

// The raw online backup of source into destination, then its integrity_check.
void rawBackupChecked(const std::string& source, const std::string& destination) {
    fs::remove(destination);
    sqlite3* from = nullptr;
    sqlite3* to = nullptr;
    check(sqlite3_open_v2(source.c_str(), &from, SQLITE_OPEN_READONLY, nullptr), from, "open");
    check(sqlite3_open(destination.c_str(), &to), to, "open copy");
    sqlite3_backup* job = sqlite3_backup_init(to, "main", from, "main");
    if (!job)
        throw std::runtime_error("backup init failed");
    int rc;
    while ((rc = sqlite3_backup_step(job, 1024)) == SQLITE_OK) {
    }
    sqlite3_backup_finish(job);
    check(rc, to, "backup");
    sqlite3_stmt* stmt = nullptr;
    check(sqlite3_prepare_v2(to, "PRAGMA integrity_check(1)", -1, &stmt, nullptr), to, "check");
    check(sqlite3_step(stmt), to, "check");
    const std::string answer = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    sqlite3_finalize(stmt);
    sqlite3_close(to);
    sqlite3_close(from);
    if (answer != "ok")
        throw std::runtime_error("the raw copy failed its check: " + answer);
}

bench::Figure figure(const char* name, const bench::PairedSamples& samples) {
    return bench::Figure{name,
                         "s",
                         bench::median(samples.ours),
                         bench::median(samples.raw),
                         kTarget,
                         int(samples.ours.size())};
}

int run(const bench::Options& options) {
    fs::create_directories(options.folder);
    const std::string folder = fs::absolute(options.folder).string();
    const std::string file = folder + "/bench.mdb";
    if (!fs::exists(file)) {
        std::printf("making %s...\n", file.c_str());
        std::fflush(stdout);
        bench::createBenchFile(file, bench::FileShape{});
    }
    const std::string work = folder + "/backup-bench";
    fs::create_directories(work);
    const std::string ourCopy = work + "/ours.mdb";
    const std::string rawCopy = work + "/raw.mdb";
    const std::string inUse = work + "/in-use.mdb";
    const int rounds = std::min(options.rounds, kMostRounds);

    bench::PairedSamples backups;
    for (int i = 0; i < rounds; ++i)
        backups.round(
            i,
            [&] {
                return bench::timed([&] {
                    backup::writeBackup(QString::fromStdString(file),
                                        QString::fromStdString(ourCopy));
                });
            },
            [&] { return bench::timed([&] { rawBackupChecked(file, rawCopy); }); });

    // The file in use is a copy, so that the bench file stays as it is.
    fs::copy_file(file, inUse, fs::copy_options::overwrite_existing);
    bench::PairedSamples restores;
    for (int i = 0; i < rounds; ++i)
        restores.round(
            i,
            [&] {
                return bench::timed([&] {
                    backup::restoreBackup(QString::fromStdString(ourCopy),
                                          QString::fromStdString(inUse));
                });
            },
            [&] {
                return bench::timed([&] {
                    rawBackupChecked(ourCopy, rawCopy);
                    rawBackupChecked(inUse, work + "/raw-kept.mdb");
                });
            });

    const std::vector<bench::Figure> figures{figure("Back Up, 1,000,000 fuel rows", backups),
                                             figure("Restore, 1,000,000 fuel rows", restores)};
    bench::printTable(figures);
    if (!options.json.empty())
        bench::writeJson(figures, options.json);
    fs::remove_all(work);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const bench::Options options = bench::parseOptions(argc, argv);
        // The copies a restore keeps go to a data folder of the bench's own.
        const std::string data = fs::absolute(options.folder).string() + "/data-home";
        qputenv("XDG_DATA_HOME", data.c_str());
        QCoreApplication app(argc, argv);
        QCoreApplication::setOrganizationName(QStringLiteral("Drivolex"));
        QCoreApplication::setApplicationName(QStringLiteral("DrivolexBench"));
        const int result = run(options);
        fs::remove_all(data);
        return result;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "drivolex_backup_bench: %s\n", error.what());
        return 2;
    }
}
