// Measures File > Import's preview of a 100,000-row Fuelly file into a new database: the
// time until every row is listed on screen (reading, planning against the file, the
// table shown) and the longest the window kept the user waiting meanwhile (it reads
// and plans off its thread). Prints a table (and JSON with --json PATH).
//
//   drivolex_import_window_bench [--json PATH] [--dir FOLDER] [--rounds N] [--rows N]

#include "FuellyFile.h"
#include "Options.h"
#include "Report.h"
#include "Timing.h"
#include "UiBlockMeter.h"
#include "importwindows/PreviewModel.h"
#include "importwindows/frmImport.h"
#include "platform/MsgBox.h"
#include "store/modCreateDB.h"

#include <QApplication>
#include <QTableView>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace {

constexpr double kMilli = 1e3;

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int rows = 100'000;
    try {
        const bench::Options options =
            bench::parseOptions(argc, argv, [&rows](const std::string& name, const auto& value) {
                if (name != "--rows")
                    return false;
                rows = std::stoi(value());
                return true;
            });
        platform::setMsgBoxResponder([](const QString& prompt, int, const QString&) -> int {
            throw std::runtime_error("a message box appeared: " + prompt.toStdString());
        });
        const std::filesystem::path folder = std::filesystem::path(options.folder);
        const std::string file = (folder / "import-bench-fuelly.csv").string();
        const QString database = QString::fromStdString((folder / "import-bench.mdb").string());
        bench::writeFuellyFile(file, rows);
        std::filesystem::remove(database.toStdString());
        modCreateDB::BuildNewDatabase(database);
        modCreateDB::CurrentDatabase.reset();

        std::vector<double> shown;
        double longestBlock = 0;
        const int rounds = std::max(3, options.rounds / 3);
        for (int round = 0; round < rounds; ++round) {
            bench::UiBlockMeter meter;
            meter.start();
            importwindows::frmImport* window = nullptr;
            shown.push_back(bench::timed([&] {
                window = new importwindows::frmImport(QString::fromStdString(file), database);
                window->show();
                bench::runEventsUntil([window] { return !window->isReading(); });
                window->dbgPreview->viewport()->repaint();
            }));
            longestBlock = std::max(longestBlock, meter.stop());
            if (window->previewModel()->rowCount() != rows)
                throw std::runtime_error("benchmark check failed: every row is in the preview");
            delete window;
        }
        const std::vector<bench::Figure> figures = {
            {"Import preview of a " + std::to_string(rows) + "-row Fuelly file on screen", "ms",
             bench::median(shown) * kMilli, -1, 1000, rounds},
            {"Import preview: longest UI block", "ms", longestBlock, -1, 100, rounds},
        };
        bench::printTable(figures);
        if (!options.json.empty())
            bench::writeJson(figures, options.json);
        std::filesystem::remove(file);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "drivolex_import_window_bench: %s\n", error.what());
        return 1;
    }
}
