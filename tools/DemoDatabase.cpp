#include "DemoDatabase.h"

#include "platform/AppError.h"
#include "platform/MsgBox.h"
#include "reminders/ReminderStore.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/modCreateDB.h"

#include <QDate>
#include <QVariant>
#include <stdexcept>
#include <vector>

namespace demo {

namespace {

struct Vehicle {
    const char* lookup;
    const char* make;
    const char* model;
    int year;
    const char* serial;
};

// The first vehicle carries the fuel purchases and work orders.
const Vehicle kVehicles[] = {
    {"Civic", "Honda", "Civic LX", 2016, "2HGFC2F59GH512345"},
    {"Pickup", "Ford", "F-150 XLT", 2012, "1FTFW1ET5CFA67890"},
    {"Wagon", "Subaru", "Outback", 2019, "4S4BSAFC3K3301122"},
};

struct Purchase {
    const char* date;
    double gallons;
    double miles;
    bool full;
    const char* cost;
    const char* city;
    const char* state;
};

// Odometer readings rise with the date; the partial fills between full tanks count
// toward the next full tank's miles per gallon.
const Purchase kPurchases[] = {
    {"2024-01-06", 10.412, 48211, true, "$33.21", "Springfield", "OH"},
    {"2024-01-19", 9.874, 48560, true, "$31.20", "Springfield", "OH"},
    {"2024-02-02", 4.250, 48702, false, "$13.81", "Dayton", "OH"},
    {"2024-02-09", 6.118, 48905, true, "$19.76", "Springfield", "OH"},
    {"2024-02-24", 10.035, 49251, true, "$33.02", "Columbus", "OH"},
    {"2024-03-08", 9.660, 49590, true, "$32.36", "Springfield", "OH"},
    {"2024-03-22", 5.002, 49764, false, "$17.26", "Richmond", "IN"},
    {"2024-03-23", 3.921, 49891, false, "$13.33", "Indianapolis", "IN"},
    {"2024-03-29", 2.407, 49978, true, "$8.47", "Springfield", "OH"},
    {"2024-04-12", 10.228, 50335, true, "$35.59", "Springfield", "OH"},
    {"2024-04-26", 9.951, 50681, true, "$34.63", "Xenia", "OH"},
    {"2024-05-03", 4.812, 50862, false, "$16.84", "Dayton", "OH"},
    {"2024-05-10", 5.306, 51034, true, "$18.57", "Springfield", "OH"},
};

struct Part {
    int quantity;
    const char* number;
    const char* description;
    const char* cost;
};

struct Order {
    const char* date;
    int mileage;
    std::vector<const char*> services;
    std::vector<Part> parts;
    const char* notes;
};

const Order kOrders[] = {
    {"2024-01-20",
     48575,
     {"Change Oil", "Rotate tires", "Check tire pressure"},
     {{5, "15400-PLM-A02", "Motor oil 0W-20 (qt)", "$6.49"},
      {1, "15400-PLM-A01", "Oil filter", "$9.75"},
      {1, "94109-14000", "Drain plug washer", "$1.25"}},
     "Oil was dark but at the full mark. Tires rotated front to back; next rotation due "
     "at 56,000 miles."},
    {"2024-03-30",
     49990,
     {"Replace engine air filter", "Replace wiper blades"},
     {{1, "17220-5AA-A00", "Engine air filter", "$18.90"},
      {2, "76622-TBA-A01", "Wiper blade 26 in", "$14.25"}},
     "Air filter full of road dust after the winter. Wipers streaked in the rain."},
    {"2024-05-11",
     51040,
     {"Change Oil", "Grease", "Replace cabin air filter"},
     {{5, "15400-PLM-A02", "Motor oil 0W-20 (qt)", "$6.49"},
      {1, "15400-PLM-A01", "Oil filter", "$9.75"},
      {1, "80292-TBA-A11", "Cabin air filter", "$22.40"}},
     "Front pads at 6 mm, rear at 5 mm: no work needed yet. Slight squeak from the "
     "rear left at low speed; check again at the next visit."},
};

// A new, empty database, its success or failure box answered here rather than shown.
void createEmpty(const QString& path) {
    QString failure;
    const platform::MsgBoxResponder previous = platform::setMsgBoxResponder(
        [&failure](const QString& prompt, int style, const QString& title) {
            if (style & platform::vbExclamation)
                failure = title + QStringLiteral(": ") + prompt;
            return int(platform::vbOK);
        });
    const bool created = modCreateDB::CreateNewDatabase(path);
    platform::setMsgBoxResponder(previous);
    modCreateDB::CurrentDatabase.reset();
    if (!created)
        throw std::runtime_error("cannot create " + path.toStdString() + ": " +
                                 failure.toStdString());
}

// Adds one row with the given values and returns the value of its key field.
QVariant addRow(store::Recordset& table, const QList<std::pair<const char*, QVariant>>& values,
                const char* keyField = nullptr) {
    table.AddNew();
    for (const auto& [field, value] : values)
        table.setValue(QLatin1String(field), value);
    table.Update();
    if (!keyField)
        return {};
    table.setBookmark(table.LastModified());
    return table.value(QLatin1String(keyField));
}

// Service reminders around today, so that the pictures show every state: the Civic's
// oil just past its miles and its tune-up within the month, the Pickup's grease weeks
// late, the Wagon's transmission service far off.
void writeReminders(store::Database& db, const std::vector<qint64>& vehicles) {
    const QDate today = QDate::currentDate();
    struct Due {
        std::size_t vehicle;
        const char* name;
        std::optional<QDate> date;
        std::optional<qint64> miles;
        std::optional<qint64> repeatMiles;
        std::optional<int> repeatMonths;
        const char* note;
    };
    const Due reminders[] = {
        {0, "Change Oil", std::nullopt, 51000, 5000, 6, "0W-20, 4.4 quarts"},
        {0, "Tune Up", today.addDays(12), std::nullopt, std::nullopt, std::nullopt, ""},
        {0, "Rotate tires", std::nullopt, 56000, 7500, std::nullopt, ""},
        {1, "Grease", today.addDays(-20), std::nullopt, std::nullopt, 3, ""},
        {2, "Transmission", today.addDays(200), 60000, 30000, 24, "CVT fluid"},
    };
    for (const Due& due : reminders) {
        reminders::Reminder r;
        r.vehicleId = vehicles.at(due.vehicle);
        r.name = QString::fromUtf8(due.name);
        r.dueDate = due.date;
        r.dueMiles = due.miles;
        r.repeatMiles = due.repeatMiles;
        r.repeatMonths = due.repeatMonths;
        r.note = QString::fromUtf8(due.note);
        reminders::addReminder(db.handle(), r);
    }
}

void writeRecords(store::Database& db) {
    auto vehicles = db.OpenRecordset(QStringLiteral("VehicleInfo"));
    QVariant firstVehicle;
    std::vector<qint64> vehicleKeys;
    for (const Vehicle& v : kVehicles) {
        const QVariant key = addRow(*vehicles,
                                    {{"VehicleLookup", QString::fromUtf8(v.lookup)},
                                     {"VehicleMake", QString::fromUtf8(v.make)},
                                     {"VehicleModel", QString::fromUtf8(v.model)},
                                     {"VehicleYear", v.year},
                                     {"VehicleSerialNum", QString::fromUtf8(v.serial)}},
                                    "VehicleID");
        if (firstVehicle.isNull())
            firstVehicle = key;
        vehicleKeys.push_back(key.toLongLong());
    }

    auto fuel = db.OpenRecordset(QStringLiteral("Fuel"));
    for (const Purchase& p : kPurchases)
        addRow(*fuel, {{"FuelDate", QString::fromUtf8(p.date)},
                       {"FuelGals", float(p.gallons)},
                       {"FuelMiles", float(p.miles)},
                       {"FuelFull", p.full},
                       {"FuelCost", QString::fromUtf8(p.cost)},
                       {"FuelCity", QString::fromUtf8(p.city)},
                       {"FuelState", QString::fromUtf8(p.state)},
                       {"VehicleID", firstVehicle}});

    auto orders = db.OpenRecordset(QStringLiteral("WorkOrder"));
    auto services = db.OpenRecordset(QStringLiteral("WorkDone"));
    auto parts = db.OpenRecordset(QStringLiteral("PartsUsed"));
    auto notes = db.OpenRecordset(QStringLiteral("WorkOrderMemo"));
    for (const Order& o : kOrders) {
        const QVariant order = addRow(*orders,
                                      {{"VehicleID", firstVehicle},
                                       {"Mileage", o.mileage},
                                       {"Date", QString::fromUtf8(o.date)}},
                                      "WorkOrderID");
        for (const char* service : o.services)
            addRow(*services,
                   {{"WorkOrderID", order}, {"WorkDescription", QString::fromUtf8(service)}});
        for (const Part& part : o.parts)
            addRow(*parts, {{"PartQty", part.quantity},
                            {"PartNum", QString::fromUtf8(part.number)},
                            {"PartDescription", QString::fromUtf8(part.description)},
                            {"PartCost", QString::fromUtf8(part.cost)},
                            {"WorkOrderId", order}});
        addRow(*notes, {{"WorkOrderMemo", QString::fromUtf8(o.notes)}, {"WorkOrderID", order}});
    }
    writeReminders(db, vehicleKeys);
}

int rowsOf(store::Database& db, const char* table) {
    auto rows = db.OpenRecordset(QLatin1String(table));
    return rows->RecordCount();
}

} // namespace

void writeDemoDatabase(const QString& path) {
    createEmpty(path);
    try {
        auto db = store::Database::OpenDatabase(path);
        writeRecords(*db);
    } catch (const platform::AppError& error) {
        throw std::runtime_error("cannot fill " + path.toStdString() + ": " +
                                 error.text().toStdString());
    }
}

DemoCounts demoCounts() {
    DemoCounts counts{
        int(std::size(kVehicles)), int(std::size(kPurchases)), int(std::size(kOrders)), 0, 0,
        int(std::size(kOrders))};
    for (const Order& o : kOrders) {
        counts.services += int(o.services.size());
        counts.parts += int(o.parts.size());
    }
    return counts;
}

DemoCounts countRows(const QString& path) {
    try {
        auto db = store::Database::OpenDatabase(path);
        return {rowsOf(*db, "VehicleInfo"), rowsOf(*db, "Fuel"),      rowsOf(*db, "WorkOrder"),
                rowsOf(*db, "WorkDone"),    rowsOf(*db, "PartsUsed"), rowsOf(*db, "WorkOrderMemo")};
    } catch (const platform::AppError& error) {
        throw std::runtime_error("cannot read " + path.toStdString() + ": " +
                                 error.text().toStdString());
    }
}

} // namespace demo
