// Measures the record store against raw SQLite doing the same work on the same
// file, and prints the figures as a table (and as JSON with --json PATH).
//
//   drivolex_store_bench [--json PATH] [--dir FOLDER] [--rounds N] [--reuse] [--only N]
//
// --dir: where the benchmark file and its scratch copies go (default: the
// current folder); --reuse: keep a benchmark file made by an earlier run;
// --only N: measure only the N-th figure (1-8), for profiling one of them.

#include "BenchFile.h"
#include "Figures.h"
#include "Report.h"
#include "Timing.h"
#include "platform/AppError.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace {

struct Options {
    std::string json;
    std::string folder = ".";
    int rounds = 15;
    bool reuse = false;
    int only = 0;
};

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                throw std::runtime_error(std::string(argv[i]) + " needs a value");
            return argv[++i];
        };
        if (std::strcmp(argv[i], "--json") == 0)
            options.json = value();
        else if (std::strcmp(argv[i], "--dir") == 0)
            options.folder = value();
        else if (std::strcmp(argv[i], "--rounds") == 0)
            options.rounds = std::max(3, std::atoi(value().c_str()));
        else if (std::strcmp(argv[i], "--only") == 0)
            options.only = std::atoi(value().c_str());
        else if (std::strcmp(argv[i], "--reuse") == 0)
            options.reuse = true;
        else
            throw std::runtime_error(std::string("unknown option ") + argv[i]);
    }
    return options;
}

int run(const Options& options) {
    namespace fs = std::filesystem;
    fs::create_directories(options.folder);
    bench::BenchSetup setup;
    setup.folder = fs::absolute(options.folder).string();
    setup.file = setup.folder + "/bench.mdb";
    setup.rounds = options.rounds;

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
        bench::openAndMoveLast, bench::movePreviousAndRead,   bench::updateOneField,
        bench::findFirstByKey,  bench::findFirstAfterOpening, bench::deleteVehicleCascading,
        bench::memoryPerRow,    bench::createDatabase,
    };
    std::vector<bench::Figure> figures;
    int number = 0;
    for (Measure measure : measures)
        if (++number == options.only || options.only == 0)
            figures.push_back(measure(setup));
    bench::printTable(figures);
    if (!options.json.empty())
        bench::writeJson(figures, options.json);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(parseOptions(argc, argv));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "drivolex_store_bench: %s\n", error.what());
        return 2;
    }
}
