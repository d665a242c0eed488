// Measures a vehicle's service record written as PDF: one vehicle with 1,000 work
// orders (3 services, 3 parts and a note each) and 5,000 fill-ups, the whole fuel log
// included, read from the file, laid out and written (target: within 3 s). The same
// for 100 orders and 500 fill-ups gives the growth, as the ratio of the two times
// (target: at most 12, where 10 is linear). Prints the figures as a table (and as
// JSON with --json PATH).
//
//   drivolex_report_bench [--json PATH] [--dir FOLDER] [--rounds N]
#include "BenchFile.h"
#include "Options.h"
#include "Report.h"
#include "Timing.h"
#include "report/ReportContent.h"
#include "report/ReportPages.h"
#include "store/Connection.h"

#include <QGuiApplication>
#include <QPageSize>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;

constexpr int kMostRounds = 5;
constexpr double kTargetSeconds = 3.0;
constexpr double kTargetGrowth = 12.0;

struct Measured {
    std::vector<double> seconds;
    int pages = 0;
};

Measured measure(const std::string& folder, int orders, int rounds) {
    const std::string file = folder + "/report-" + std::to_string(orders) + ".mdb";
    if (!fs::exists(file)) {
        bench::FileShape shape;
        shape.vehicles = 1;
        shape.ordersPerVehicle = orders;
        shape.fuelPerVehicle = orders * 5;
        shape.servicesPerOrder = 3;
        shape.partsPerOrder = 3;
        bench::createBenchFile(file, shape);
    }
    const QString pdf = QString::fromStdString(folder + "/report.pdf");
    Measured measured;
    for (int i = 0; i < rounds; ++i)
        measured.seconds.push_back(bench::timed([&] {
            const store::ConnectionHandle db =
                store::openReadOnlyConnection(QString::fromStdString(file));
            report::ReportOptions options;
            options.vehicleId = 1;
            options.withFuelLog = true;
            options.periodText = QStringLiteral("All Time");
            options.printedOn = QDate(2026, 12, 9);
            const std::vector<report::ReportContent> reports =
                report::readReports(db.get(), options);
            if (reports.size() != 1 || int(reports.front().visits.size()) != orders)
                throw std::runtime_error("the report did not hold every work order");
            int pages = 0;
            if (!report::writeReportPdf(pdf, reports, QPageSize(QPageSize::Letter),
                                        [&pages](int, int count) {
                                            pages = count;
                                            return true;
                                        }))
                throw std::runtime_error("the report was not written");
            measured.pages = pages;
        }));
    fs::remove(pdf.toStdString());
    return measured;
}

int run(const bench::Options& options) {
    fs::create_directories(options.folder);
    const std::string folder = fs::absolute(options.folder).string();
    const int rounds = std::min(options.rounds, kMostRounds);
    const Measured small = measure(folder, 100, rounds);
    const Measured large = measure(folder, 1000, rounds);
    std::printf("pages: %d for 100 orders, %d for 1,000 orders\n", small.pages, large.pages);
    const double smallTime = bench::median(small.seconds);
    const double largeTime = bench::median(large.seconds);
    const std::vector<bench::Figure> figures{
        bench::Figure{"Report PDF, 1,000 orders and 5,000 fill-ups with the fuel log", "s",
                      largeTime, -1, kTargetSeconds, int(large.seconds.size())},
        bench::Figure{"Report PDF, 100 orders and 500 fill-ups with the fuel log", "s", smallTime,
                      -1, 0, int(small.seconds.size())},
        bench::Figure{"Growth: 1,000 orders against 100 orders", "s", largeTime, smallTime,
                      kTargetGrowth, int(large.seconds.size())},
        bench::Figure{"Pages of the 1,000-order report", "pages", double(large.pages), -1, 0, 1}};
    bench::printTable(figures);
    if (!options.json.empty())
        bench::writeJson(figures, options.json);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        // Pages are laid out with the fonts of a display-less platform, as the command
        // line writes them.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return run(bench::parseOptions(argc, argv));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "drivolex_report_bench: %s\n", error.what());
        return 2;
    }
}
