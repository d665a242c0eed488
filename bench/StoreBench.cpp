// Measures the record store against raw SQLite doing the same work on the same
// file, and prints the figures as a table (and as JSON with --json PATH).
//
//   drivolex_store_bench [--json PATH] [--dir FOLDER] [--rounds N] [--reuse] [--only N]
//
// --dir: where the benchmark file and its scratch copies go (default: the
// current folder); --reuse: keep a benchmark file made by an earlier run;
// --only N: measure only the N-th figure (1-12; 12 gives the delete and the undo
// with undo kept), for profiling one of them.

#include "BenchFile.h"
#include "Figures.h"
#include "Options.h"
#include "Report.h"
#include "Timing.h"
#include "platform/AppError.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

namespace {

// The shared options and the two of this benchmark.
struct StoreOptions {
    bench::Options common;
    bool reuse = false;
    int only = 0;
};

StoreOptions parseStoreOptions(int argc, char** argv) {
    StoreOptions options;
    options.common = bench::parseOptions(
        argc, argv, [&](const std::string& name, const std::function<std::string()>& value) {
            if (name == "--only")
                options.only = std::atoi(value().c_str());
            else if (name == "--reuse")
                options.reuse = true;
            else
                return false;
            return true;
        });
    return options;
}

int run(const StoreOptions& options) {
    namespace fs = std::filesystem;
    fs::create_directories(options.common.folder);
    bench::BenchSetup setup;
    setup.folder = fs::absolute(options.common.folder).string();
    setup.file = setup.folder + "/bench.mdb";
    setup.rounds = options.common.rounds;

    if (!options.reuse || !fs::exists(setup.file)) {
        fs::remove(setup.file);
        std::printf("making %s (%d vehicles, %d fuel rows, %d work orders)...\n",
                    setup.file.c_str(), setup.shape.vehicles,
                    setup.shape.vehicles * setup.shape.fuelPerVehicle,
                    setup.shape.vehicles * setup.shape.ordersPerVehicle);
        std::fflush(stdout);
        const double seconds =
            bench::timed([&] { bench::createBenchFile(setup.file, setup.shape); });
        std::printf("made in %.1f s, %.0f MB\n\n", seconds,
                    double(fs::file_size(setup.file)) / (1024 * 1024));
    }

    using Measure = bench::Figure (*)(const bench::BenchSetup&);
    const Measure measures[] = {
        bench::openAndMoveLast,       bench::movePreviousAndRead,   bench::updateOneField,
        bench::findFirstByKey,        bench::findFirstAfterOpening, bench::deleteVehicleCascading,
        bench::memoryPerRow,          bench::createDatabase,        bench::updateSyncCostOnDisk,
        bench::updateSyncCostOnTmpfs, bench::takeFileIntoUse,
    };
    std::vector<bench::Figure> figures;
    int number = 0;
    for (Measure measure : measures)
        if (++number == options.only || options.only == 0)
            figures.push_back(measure(setup));
    if (++number == options.only || options.only == 0)
        for (const bench::Figure& figure : bench::deleteAndUndoVehicle(setup))
            figures.push_back(figure);
    bench::printTable(figures);
    if (!options.common.json.empty())
        bench::writeJson(figures, options.common.json);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(parseStoreOptions(argc, argv));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "drivolex_store_bench: %s\n", error.what());
        return 2;
    }
}
