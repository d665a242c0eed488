// Measures the fuel window on the benchmark file against the store's own work in
// the same run, and prints the figures as a table (and as JSON with --json PATH).
//
//   drivolex_fuel_window_bench [--json PATH] [--dir FOLDER] [--rounds N]
//
// --dir: the folder holding bench.mdb (made there when missing) and the settings
// the main window writes while measured.

#include "BenchFile.h"
#include "Options.h"
#include "RawSqlite.h"
#include "Report.h"
#include "Timing.h"
#include "platform/MsgBox.h"
#include "platform/RegistryStore.h"
#include "records/DataControl.h"
#include "records/RecordWindows.h"
#include "records/frmGas.h"
#include "shell/MDIForm1.h"
#include "store/Database.h"
#include "store/Recordset.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QToolButton>
#include <cstdio>
#include <filesystem>
#include <sqlite3.h>
#include <stdexcept>

namespace {

constexpr double kMicro = 1e6;
constexpr double kMilli = 1e3;
constexpr size_t kBatch = 20; // navigation steps timed together in one sample

void require(bool condition, const char* what) {
    if (!condition)
        throw std::runtime_error(std::string("benchmark check failed: ") + what);
}

std::string fuelSelect(int vehicle) {
    return "Select * from Fuel where VehicleID = " + std::to_string(vehicle) +
           " Order by FuelDate, FuelMiles";
}

// The fuel rows of a vehicle in the order its fuel list shows them: key and full flag.
struct FuelRow {
    std::int64_t key;
    bool full;
};
std::vector<FuelRow> fuelRowsInOrder(const std::string& file, int vehicle) {
    bench::RawConnection raw(file);
    bench::RawStatement select(raw.get(), "SELECT FuelId, FuelFull FROM Fuel WHERE VehicleID = ? "
                                          "ORDER BY FuelDate, FuelMiles, FuelId");
    select.bind(1, std::int64_t(vehicle));
    std::vector<FuelRow> rows;
    while (select.step())
        rows.push_back(
            {sqlite3_column_int64(select.get(), 0), sqlite3_column_int(select.get(), 1) != 0});
    return rows;
}

volatile int g_sink = 0;

void readEveryField(const store::Recordset& set, const QStringList& fields) {
    int present = 0;
    for (const QString& field : fields)
        present += set.value(field).isNull() ? 0 : 1;
    g_sink = g_sink + present;
}

bench::Figure figure(const char* name, const char* unit, const bench::PairedSamples& samples,
                     double scale) {
    return bench::Figure{name,
                         unit,
                         bench::median(samples.ours) * scale,
                         bench::median(samples.raw) * scale,
                         0,
                         int(samples.ours.size())};
}

// The main window over the benchmark file with the fuel window open in it. Any
// message box means the window met an error; the figure is then worthless.
class FuelWindow {
public:
    explicit FuelWindow(const std::string& file) {
        platform::setMsgBoxResponder([this](const QString& prompt, int, const QString&) {
            m_box = prompt;
            return int(platform::vbOK);
        });
        platform::RegistryStore().writeText(
            platform::HKEY_LOCAL_MACHINE, QStringLiteral("Drivolex\\Database"),
            QStringLiteral("LastOpened"), QString::fromStdString(file));
        frame.MDIForm_Load();
        records::registerRecordWindows(frame);
        frame.resize(900, 700);
        frame.show();
        QApplication::processEvents();
        checkNoBox();
        window =
            qobject_cast<records::frmGas*>(frame.openChildWindow(shell::ChildWindow::GasPurchases));
        if (!window) {
            frame.findChild<QAction*>(QStringLiteral("mnuGasPurchases"))->trigger();
            window = qobject_cast<records::frmGas*>(
                frame.openChildWindow(shell::ChildWindow::GasPurchases));
        }
        require(window != nullptr, "the fuel window opened");
        QApplication::processEvents();
        checkNoBox();
    }

    // Picks the vehicle as a choice in the selector does.
    void pick(int vehicle) {
        const int index = window->cboVehicleID->findData(vehicle);
        require(index >= 0, "the vehicle is in the selector");
        window->cboVehicleID->setCurrentIndex(index);
    }
    void previous() {
        window->Data1->findChild<QToolButton*>(QStringLiteral("btnPrevious"))->click();
    }
    store::Recordset& records() { return *window->Data1->Recordset(); }
    void checkNoBox() {
        if (!m_box.isEmpty())
            throw std::runtime_error("a message box appeared: " + m_box.toStdString());
    }

    shell::MDIForm1 frame;
    records::frmGas* window = nullptr;

private:
    QString m_box;
};

bench::Figure pickVehicle(FuelWindow& ui, const std::string& file, int rounds, int vehicles,
                          int rowsPerVehicle) {
    auto database = store::Database::OpenDatabase(QString::fromStdString(file));
    bench::PairedSamples samples;
    for (int round = 0; round < rounds; ++round) {
        // Consecutive picks are of different vehicles, so each one changes the selection.
        const int vehicle = 1 + round % vehicles;
        const std::int64_t lastKey = fuelRowsInOrder(file, vehicle).back().key;
        int storeCount = 0;
        samples.round(
            round,
            [&] {
                const double seconds = bench::timed([&] { ui.pick(vehicle); });
                ui.checkNoBox();
                require(ui.records().bookmark() == lastKey, "the window stands on the last row");
                return seconds;
            },
            [&] {
                return bench::timed([&] {
                    auto set = database->OpenRecordset(QString::fromStdString(fuelSelect(vehicle)));
                    set->MoveLast();
                    storeCount = set->AbsolutePosition() + 1;
                });
            });
        require(storeCount == rowsPerVehicle, "the store read every fuel row of the vehicle");
    }
    return figure("pick vehicle to last row + MPG / store open+MoveLast", "ms", samples, kMilli);
}

// Where a walk of kBatch steps starts, counted back from the last row.
size_t walkStart(const std::vector<FuelRow>& rows, int sample) {
    return rows.size() - 1 - kBatch * size_t(sample % 25);
}

bench::Figure previousStep(FuelWindow& ui, const std::string& file, int rounds) {
    const int vehicle = 3;
    const std::vector<FuelRow> rows = fuelRowsInOrder(file, vehicle);
    ui.pick(vehicle);
    auto database = store::Database::OpenDatabase(QString::fromStdString(file));
    auto set = database->OpenRecordset(QString::fromStdString(fuelSelect(vehicle)));
    const QStringList fields = set->fieldNames();
    const auto window = [&](int sample) {
        ui.records().setBookmark(rows[walkStart(rows, sample)].key);
        const double seconds = bench::timed([&] {
                                   for (size_t i = 0; i < kBatch; ++i)
                                       ui.previous();
                               }) /
                               kBatch;
        ui.checkNoBox();
        require(ui.records().bookmark() == rows[walkStart(rows, sample) - kBatch].key,
                "the window walked back row by row");
        return seconds;
    };
    const auto store = [&](int sample) {
        set->setBookmark(rows[walkStart(rows, sample)].key);
        return bench::timed([&] {
                   for (size_t i = 0; i < kBatch; ++i) {
                       set->MovePrevious();
                       readEveryField(*set, fields);
                   }
               }) /
               kBatch;
    };
    for (int sample = 0; sample < 25; ++sample) { // warm-up
        window(sample);
        store(sample);
    }
    bench::PairedSamples samples;
    for (int sample = 0; sample < rounds * 10; ++sample)
        samples.round(
            sample, [&] { return window(sample); }, [&] { return store(sample); });
    return figure("previous button + GetMpg / store MovePrevious+read", "us", samples, kMicro);
}

// GetMpg on a full tank near the end of the list against one near its start: if
// it read more than the rows back to the previous full tank, the first would grow
// with the 50,000 rows before it.
bench::Figure mpgByDistance(FuelWindow& ui, const std::string& file, int rounds) {
    const int vehicle = 5;
    const std::vector<FuelRow> rows = fuelRowsInOrder(file, vehicle);
    ui.pick(vehicle);
    // A full tank with another full tank directly before it, so both read two rows.
    const auto fullAfterFull = [&](size_t from, int step) {
        for (size_t i = from;; i += step)
            if (rows[i].full && rows[i - 1].full)
                return i;
    };
    const size_t late = fullAfterFull(rows.size() - 1, -1);
    const size_t early = fullAfterFull(1, 1);
    const auto mpgAt = [&](size_t index) {
        ui.records().setBookmark(rows[index].key);
        const double seconds = bench::timed([&] {
                                   for (size_t i = 0; i < kBatch; ++i)
                                       ui.window->GetMpg();
                               }) /
                               kBatch;
        ui.checkNoBox();
        require(!ui.window->lblMPG->text().isEmpty(), "a full tank after a full tank shows MPG");
        return seconds;
    };
    bench::PairedSamples samples;
    for (int sample = 0; sample < rounds * 10; ++sample)
        samples.round(
            sample, [&] { return mpgAt(late); }, [&] { return mpgAt(early); });
    return figure("GetMpg at row 50,000 / GetMpg at row 2", "us", samples, kMicro);
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
    FuelWindow ui(file);
    std::vector<bench::Figure> figures;
    figures.push_back(pickVehicle(ui, file, options.rounds, shape.vehicles, shape.fuelPerVehicle));
    figures.push_back(previousStep(ui, file, options.rounds));
    figures.push_back(mpgByDistance(ui, file, options.rounds));
    bench::printTable(figures);
    if (!options.json.empty())
        bench::writeJson(figures, options.json);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const bench::Options options = bench::parseOptions(argc, argv);
        // No screen needed, and the remembered path goes to settings of its own.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        const std::string config = std::filesystem::absolute(options.folder).string() + "/config";
        qputenv("XDG_CONFIG_HOME", config.c_str());
        QApplication app(argc, argv);
        return run(options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "drivolex_fuel_window_bench: %s\n", error.what());
        return 2;
    }
}
