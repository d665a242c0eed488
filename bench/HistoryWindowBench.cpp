// Measures the Vehicle History window on the benchmark file: the Fuel Log of a
// 50,000-row vehicle on screen against the raw select of those rows, scrolling to
// its end against showing its start, the charts of 50,000 tanks, and the longest
// time any one step of the window holds up the user interface (the window reads
// off its thread: each step is timed until all it shows is there, and the longest
// the event loop was kept waiting meanwhile is its block). "All Vehicles" on the
// whole file likewise: opening on it, and every tab shown. Prints a table (and
// JSON with --json PATH).
//
//   drivolex_history_window_bench [--json PATH] [--dir FOLDER] [--rounds N]

#include "BenchFile.h"
#include "Options.h"
#include "RawSqlite.h"
#include "Report.h"
#include "Timing.h"
#include "UiBlockMeter.h"
#include "history/ChartData.h"
#include "history/HistoryReader.h"
#include "historywindows/FuelLogModel.h"
#include "historywindows/HistoryCharts.h"
#include "historywindows/HistoryWindows.h"
#include "historywindows/frmHistory.h"
#include "platform/MsgBox.h"
#include "platform/RegistryStore.h"
#include "records/RecordWindows.h"
#include "shell/MDIForm1.h"
#include "store/Database.h"
#include "store/Schema.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabWidget>
#include <QTableView>
#include <cstdio>
#include <filesystem>
#include <sqlite3.h>
#include <stdexcept>

namespace {

constexpr double kMilli = 1e3;

void require(bool condition, const char* what) {
    if (!condition)
        throw std::runtime_error(std::string("benchmark check failed: ") + what);
}

volatile std::int64_t g_sink = 0;

// The raw select the Fuel Log stands for: every column it shows, read as values.
int rawFuelLog(sqlite3* db, int vehicle) {
    bench::RawStatement select(db, "SELECT FuelId, VehicleID, FuelDate, FuelMiles, FuelGals, "
                                   "FuelFull, FuelCost, FuelCity, FuelState FROM Fuel "
                                   "WHERE VehicleID = ? ORDER BY FuelDate, FuelMiles");
    select.bind(1, std::int64_t(vehicle));
    int rows = 0;
    std::int64_t sum = 0;
    while (select.step()) {
        sqlite3_stmt* s = select.get();
        sum += sqlite3_column_int64(s, 0) + sqlite3_column_int64(s, 1) +
               sqlite3_column_bytes(s, 2) + std::int64_t(sqlite3_column_double(s, 3)) +
               std::int64_t(sqlite3_column_double(s, 4)) + sqlite3_column_int(s, 5) +
               std::int64_t(sqlite3_column_double(s, 6)) + sqlite3_column_bytes(s, 7) +
               sqlite3_column_bytes(s, 8);
        ++rows;
    }
    g_sink = g_sink + sum;
    return rows;
}

bench::Figure figure(const char* name, const char* unit, const bench::PairedSamples& samples,
                     double target) {
    return bench::Figure{name,
                         unit,
                         bench::median(samples.ours) * kMilli,
                         bench::median(samples.raw) * kMilli,
                         target,
                         int(samples.ours.size())};
}

// The main window on the benchmark file with the Vehicle History open and maximised.
class HistoryUi {
public:
    explicit HistoryUi(const std::string& file) {
        platform::setMsgBoxResponder([this](const QString& prompt, int, const QString&) {
            m_box = prompt;
            return int(platform::vbOK);
        });
        platform::RegistryStore().writeText(
            platform::HKEY_LOCAL_MACHINE, QStringLiteral("Drivolex\\Database"),
            QStringLiteral("LastOpened"), QString::fromStdString(file));
        frame.MDIForm_Load();
        records::registerRecordWindows(frame);
        historywindows::registerHistoryWindow(frame);
        frame.resize(1200, 800);
        frame.show();
        QApplication::processEvents();
        // It opens on "All Vehicles": the whole file.
        bench::UiBlockMeter meter;
        meter.start();
        openSeconds = bench::timed([&] {
            frame.findChild<QAction*>(QStringLiteral("mnuVehicleHistory"))->trigger();
            window = qobject_cast<historywindows::frmHistory*>(
                frame.openChildWindow(shell::ChildWindow::VehicleHistory));
            require(window != nullptr, "the history window opened");
            window->subWindow()->showMaximized();
            waitShown();
            paintFuelLog();
        });
        openBlockMs = meter.stop();
        checkNoBox();
    }

    // Until every read and computation the window began is done and on show.
    void waitShown() {
        bench::runEventsUntil([this] { return !window->isReading(); });
    }

    void pick(int vehicle) {
        const int index = window->cboVehicleID->findData(vehicle);
        require(index >= 0, "the vehicle is in the selector");
        window->cboVehicleID->setCurrentIndex(index);
    }
    void paintFuelLog() { window->dbgFuelLog->viewport()->repaint(); }
    void checkNoBox() {
        if (!m_box.isEmpty())
            throw std::runtime_error("a message box appeared: " + m_box.toStdString());
    }

    shell::MDIForm1 frame;
    historywindows::frmHistory* window = nullptr;
    double openSeconds = 0; // opened on every vehicle, the Fuel Log on show
    double openBlockMs = 0; // the longest block meanwhile

private:
    QString m_box;
};

bench::Figure fuelLogOnScreen(HistoryUi& ui, const std::string& file, int rounds, int vehicles,
                              int rowsPerVehicle) {
    ui.window->SSTab1->setCurrentIndex(historywindows::frmHistory::FuelLogTab);
    bench::RawConnection raw(file);
    bench::PairedSamples samples;
    for (int round = 0; round < rounds; ++round) {
        const int vehicle = 1 + round % vehicles; // each pick changes the vehicle
        int rawRows = 0;
        samples.round(
            round,
            [&] {
                const double seconds = bench::timed([&] {
                    ui.pick(vehicle);
                    ui.waitShown();
                    ui.paintFuelLog();
                });
                ui.checkNoBox();
                require(ui.window->fuelLog().rowCount() == rowsPerVehicle, "every row listed");
                return seconds;
            },
            [&] { return bench::timed([&] { rawRows = rawFuelLog(raw.get(), vehicle); }); });
        require(rawRows == rowsPerVehicle, "the raw select read every row");
    }
    return figure("Fuel Log of 50,000 rows on screen / raw select of the rows", "ms", samples, 1.5);
}

// What the Fuel Log's time is made of: the history's one select of the rows,
// converted to values, against the raw select. Reported, no target of its own.
bench::Figure readerAlone(const std::string& file, int rounds, int vehicles) {
    auto database = store::Database::OpenDatabase(QString::fromStdString(file));
    const history::HistoryReader reader(database->handle());
    bench::RawConnection raw(file);
    bench::PairedSamples samples;
    for (int round = 0; round < rounds; ++round) {
        const int vehicle = 1 + round % vehicles;
        samples.round(
            round,
            [&] {
                return bench::timed(
                    [&] { g_sink = g_sink + std::int64_t(reader.fuelFills(vehicle).size()); });
            },
            [&] { return bench::timed([&] { rawFuelLog(raw.get(), vehicle); }); });
    }
    return figure("of which HistoryReader::fuelFills / raw select of the rows", "ms", samples, 0);
}

bench::Figure scrollToEnd(HistoryUi& ui, int rounds) {
    QTableView& view = *ui.window->dbgFuelLog;
    bench::PairedSamples samples;
    for (int round = 0; round < rounds * 4; ++round)
        samples.round(
            round,
            [&] {
                view.scrollToTop();
                ui.paintFuelLog();
                return bench::timed([&] {
                    view.scrollToBottom();
                    ui.paintFuelLog();
                });
            },
            [&] {
                view.scrollToBottom();
                ui.paintFuelLog();
                return bench::timed([&] {
                    view.scrollToTop();
                    ui.paintFuelLog();
                });
            });
    return figure("Fuel Log: scroll to the end / show the start", "ms", samples, 1.5);
}

bench::Figure chartsOfTanks(HistoryUi& ui, const std::string& file, int rounds, int vehicle) {
    auto database = store::Database::OpenDatabase(QString::fromStdString(file));
    const history::HistoryReader reader(database->handle());
    const history::FuelFills fills = reader.fuelFills(vehicle);
    const history::WorkOrderSummaries orders = reader.workOrders(vehicle);
    history::ChartData data;
    const double compute = bench::timed([&] { data = history::chartDataOf(fills, orders, {}); });
    std::printf("  the chart series computed in %.1f ms; the fills read in %.1f ms, the orders "
                "in %.1f ms\n",
                compute * kMilli, bench::timed([&] {
                                      g_sink =
                                          g_sink + std::int64_t(reader.fuelFills(vehicle).size());
                                  }) * kMilli,
                bench::timed([&] {
                    g_sink = g_sink + std::int64_t(reader.workOrders(vehicle).size());
                }) * kMilli);
    require(data.mpgPerTank.size() > 10'000, "tens of thousands of tanks");
    ui.window->SSTab1->setCurrentIndex(historywindows::frmHistory::ChartsTab);
    ui.waitShown();
    std::vector<double> samples;
    for (int round = 0; round < rounds; ++round)
        samples.push_back(bench::timed([&] {
            ui.window->fraCharts->show(data);
            ui.window->fraCharts->repaint();
        }));
    std::printf("charts: %zu tanks, %zu prices, %zu months\n", data.mpgPerTank.size(),
                data.pricePerGallon.size(), data.costPerMonth.size());
    return bench::Figure{"Charts of one vehicle's tanks: set and draw",
                         "ms",
                         bench::median(samples) * kMilli,
                         -1,
                         250,
                         int(samples.size())};
}

// Each step a user takes on the 50,000-row vehicle, timed with the painting it
// causes; the figure is the slowest step's median.
bench::Figure longestStep(HistoryUi& ui, const std::string& file, int rounds, int vehicle,
                          int otherVehicle) {
    bench::RawConnection elsewhere(file); // another copy of the program, writing
    historywindows::frmHistory& w = *ui.window;
    const auto paint = [&] { w.repaint(); };
    // Each step with what puts the window in the state before it (not timed).
    struct Step {
        const char* name;
        std::function<void()> prepare;
        std::function<void()> run;
    };
    const auto onTab = [&w](int index) {
        return [&w, index] { w.SSTab1->setCurrentIndex(index); };
    };
    // Leaves the tab and reads the vehicle again, so that choosing the tab shows it anew.
    const auto awayFromTab = [&] {
        w.SSTab1->setCurrentIndex(historywindows::frmHistory::FuelLogTab);
        ui.pick(otherVehicle);
        ui.pick(vehicle);
    };
    const auto onCharts = [&w](int period) {
        return [&w, period] {
            w.SSTab1->setCurrentIndex(historywindows::frmHistory::ChartsTab);
            w.cboPeriod->setCurrentIndex(period);
        };
    };
    const auto sortBy = [&w](historywindows::FuelLogModel::Column column, Qt::SortOrder order) {
        return [&w, column, order] {
            w.dbgFuelLog->sortByColumn(w.fuelLog().viewColumnOf(column), order);
        };
    };
    const std::vector<Step> steps = {
        {"pick the vehicle (Fuel Log)",
         [&] {
             w.SSTab1->setCurrentIndex(historywindows::frmHistory::FuelLogTab);
             ui.pick(otherVehicle);
         },
         [&] { ui.pick(vehicle); }},
        {"sort the Fuel Log by MPG", sortBy(historywindows::FuelLogModel::Date, Qt::AscendingOrder),
         sortBy(historywindows::FuelLogModel::Mpg, Qt::DescendingOrder)},
        {"sort the Fuel Log by date",
         sortBy(historywindows::FuelLogModel::Mpg, Qt::DescendingOrder),
         sortBy(historywindows::FuelLogModel::Date, Qt::AscendingOrder)},
        {"Service History tab", awayFromTab, onTab(historywindows::frmHistory::ServiceHistoryTab)},
        {"Statistics tab", awayFromTab, onTab(historywindows::frmHistory::StatisticsTab)},
        {"Charts tab", awayFromTab, onTab(historywindows::frmHistory::ChartsTab)},
        {"period Last Year on Charts", onCharts(0), onCharts(3)},
        {"period All Time on Charts", onCharts(3), onCharts(0)},
        {"activation, the file unchanged",
         [&] { w.SSTab1->setCurrentIndex(historywindows::frmHistory::FuelLogTab); },
         [&] { w.Form_Activate(); }},
        {"activation after a change elsewhere",
         [&] {
             w.SSTab1->setCurrentIndex(historywindows::frmHistory::FuelLogTab);
             // Two commits that leave the row as it was: the file has changed all the same.
             for (int twice = 0; twice < 2; ++twice)
                 elsewhere.exec("UPDATE Fuel SET FuelFull = CASE WHEN FuelFull = 0 THEN -1 "
                                "ELSE 0 END WHERE FuelId = 1");
         },
         [&] { w.Form_Activate(); }},
    };
    double longest = 0;
    std::string longestName;
    bench::UiBlockMeter meter;
    for (const Step& step : steps) {
        std::vector<double> samples;
        std::vector<double> blocks;
        for (int round = 0; round < std::max(3, rounds / 3); ++round) {
            step.prepare();
            ui.waitShown();
            paint();
            QApplication::processEvents();
            meter.start();
            samples.push_back(bench::timed([&] {
                step.run();
                ui.waitShown();
                paint();
            }));
            blocks.push_back(meter.stop());
            ui.checkNoBox();
        }
        const double ms = bench::median(blocks);
        std::printf("  step %-40s %8.1f ms until shown, %8.1f ms longest block\n", step.name,
                    bench::median(samples) * kMilli, ms);
        if (ms > longest) {
            longest = ms;
            longestName = step.name;
        }
    }
    std::printf("longest step: %s\n", longestName.c_str());
    static std::string name;
    name = "longest UI step (" + longestName + ")";
    return bench::Figure{name, "ms", longest, -1, 100, std::max(3, rounds / 3)};
}

// Every vehicle on the whole file: from one vehicle to "All Vehicles" until its
// Fuel Log is on show (reported, no target: a million rows), then each other tab
// until it is shown; the longest block over all of it, and over opening on it.
std::vector<bench::Figure> allVehicles(HistoryUi& ui, int otherVehicle) {
    historywindows::frmHistory& w = *ui.window;
    w.SSTab1->setCurrentIndex(historywindows::frmHistory::FuelLogTab);
    ui.pick(otherVehicle);
    ui.waitShown();
    bench::UiBlockMeter meter;
    meter.start();
    double fuelLog = 0;
    const double seconds = bench::timed([&] {
        fuelLog = bench::timed([&] {
            w.cboVehicleID->setCurrentIndex(0);
            ui.waitShown();
            ui.paintFuelLog();
        });
        for (int tab :
             {historywindows::frmHistory::ServiceHistoryTab,
              historywindows::frmHistory::StatisticsTab, historywindows::frmHistory::ChartsTab}) {
            w.SSTab1->setCurrentIndex(tab);
            ui.waitShown();
            w.repaint();
        }
    });
    const double block = meter.stop();
    ui.checkNoBox();
    std::printf("  All Vehicles: choosing it, Fuel Log %.1f ms, every tab %.1f ms\n",
                fuelLog * kMilli, seconds * kMilli);
    return {
        bench::Figure{"All Vehicles: Fuel Log of the whole file on screen", "ms", fuelLog * kMilli,
                      -1, 0, 1},
        bench::Figure{"All Vehicles: every tab of the whole file shown", "ms", seconds * kMilli, -1,
                      0, 1},
        bench::Figure{"All Vehicles: longest UI block (Fuel Log, every tab)", "ms", block, -1, 100,
                      1},
        bench::Figure{"opened on All Vehicles: Fuel Log of the whole file on screen", "ms",
                      ui.openSeconds * kMilli, -1, 0, 1},
        bench::Figure{"opened on All Vehicles: longest UI block", "ms", ui.openBlockMs, -1, 100, 1},
    };
}

int run(const bench::Options& options) {
    namespace fs = std::filesystem;
    fs::create_directories(options.folder);
    const std::string folder = fs::absolute(options.folder).string();
    const std::string file = folder + "/bench.mdb";
    const bench::FileShape shape;
    if (!fs::exists(file)) {
        std::printf("making %s...\n", file.c_str());
        std::fflush(stdout);
        bench::createBenchFile(file, shape);
    }
    // What opening costs before the window is in it: the check of the file the first
    // window to take it up makes (every record window alike).
    std::printf("  the file's check on first take-up: %.1f ms\n",
                bench::timed([&] {
                    store::schema::openProgramDatabase(QString::fromStdString(file));
                }) * kMilli);
    HistoryUi ui(file);
    std::vector<bench::Figure> figures;
    figures.push_back(
        fuelLogOnScreen(ui, file, options.rounds, shape.vehicles, shape.fuelPerVehicle));
    figures.push_back(readerAlone(file, options.rounds, shape.vehicles));
    figures.push_back(scrollToEnd(ui, options.rounds));
    figures.push_back(chartsOfTanks(ui, file, options.rounds, 1));
    figures.push_back(longestStep(ui, file, options.rounds, 1, 2));
    for (const bench::Figure& figure : allVehicles(ui, 2))
        figures.push_back(figure);
    bench::printTable(figures);
    if (!options.json.empty())
        bench::writeJson(figures, options.json);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const bench::Options options = bench::parseOptions(argc, argv);
        qputenv("QT_QPA_PLATFORM", "offscreen");
        const std::string config = std::filesystem::absolute(options.folder).string() + "/config";
        qputenv("XDG_CONFIG_HOME", config.c_str());
        QApplication app(argc, argv);
        return run(options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "drivolex_history_window_bench: %s\n", error.what());
        return 2;
    }
}
