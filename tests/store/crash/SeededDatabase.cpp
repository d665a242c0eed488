#include "SeededDatabase.h"

#include "platform/AppError.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/StoreTestFiles.h"
#include "store/modCreateDB.h"
#include "support/MsgBoxRecorder.h"

#include <QFile>
#include <gtest/gtest.h>

namespace crash {

namespace {

void addRow(store::Database& db, const QString& table,
            const QList<QPair<QString, QString>>& values) {
    auto rs = db.OpenRecordset(table);
    rs->AddNew();
    for (const auto& [field, text] : values)
        rs->setValue(field, text);
    rs->Update();
}

} // namespace

bool createSeededDatabase(const QString& path) {
    {
        testing_support::MsgBoxRecorder boxes;
        if (!modCreateDB::CreateNewDatabase(path)) {
            ADD_FAILURE() << boxes.last().title.toStdString();
            return false;
        }
        modCreateDB::CurrentDatabase.reset();
    }
    try {
        auto db = store::Database::OpenDatabase(path);
        addRow(*db, QStringLiteral("VehicleInfo"),
               {{"VehicleLookup", "Kept"}, {"VehicleMake", "Dodge"}, {"VehicleYear", "1998"}});
        for (const char* date : {"3/1/2024", "3/9/2024"})
            addRow(*db, QStringLiteral("Fuel"),
                   {{"VehicleID", "1"},
                    {"FuelDate", date},
                    {"FuelGals", "11.2"},
                    {"FuelCost", "$30.15"},
                    {"FuelCity", "Springfield"}});
        addRow(*db, QStringLiteral("WorkOrder"), {{"VehicleID", "1"}, {"Mileage", "120500"}});
        addRow(*db, QStringLiteral("WorkDone"),
               {{"WorkOrderID", "1"}, {"WorkDescription", "Oil change"}});
        addRow(*db, QStringLiteral("PartsUsed"),
               {{"WorkOrderID", "1"}, {"PartNum", "F-100"}, {"PartQty", "1"}});
        addRow(*db, QStringLiteral("WorkOrderMemo"),
               {{"WorkOrderID", "1"}, {"WorkOrderMemo", QString(3000, u'n')}});
    } catch (const platform::AppError& error) {
        ADD_FAILURE() << error.text().toStdString();
        return false;
    }
    return true;
}

std::string fileCheck(const QString& path) {
    const QString integrity =
        testing_support::sqlScalar(path, QStringLiteral("PRAGMA integrity_check"));
    const QString foreign =
        testing_support::sqlScalar(path, QStringLiteral("PRAGMA foreign_key_check"));
    return (foreign.isEmpty() ? integrity : integrity + " / foreign keys: " + foreign)
        .toStdString();
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace crash
