#pragma once

#include "importing/ImportPlan.h"
#include "store/Connection.h"
#include "store/StoreTestFiles.h"
#include "store/modCreateDB.h"
#include "support/MsgBoxRecorder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// Failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace import_test {

// A new program file with the SQL given run on it, a connection of the record store
// to it, and rows of a file as a reader gives them.
class ImportFile : public ::testing::Test {
protected:
    void makeFile(const QString& sql = {}) {
        path = dir.filePath(QStringLiteral("cars.mdb"));
        testing_support::MsgBoxRecorder quiet;
        ASSERT_TRUE(modCreateDB::CreateNewDatabase(path));
        modCreateDB::CurrentDatabase.reset();
        if (!sql.isEmpty()) {
            ASSERT_EQ(testing_support::sqlExecute(path, sql), QString());
        }
        connection = store::openConnection(path, false);
    }
    QString scalar(const QString& sql) const { return testing_support::sqlScalar(path, sql); }
    sqlite3* db() const { return connection.get(); }

    static QDateTime day(int year, int month, int dayOfMonth) {
        return QDateTime(QDate(year, month, dayOfMonth), QTime(0, 0), Qt::UTC);
    }
    static exchange::ImportedFuel fuel(int line, const QString& vehicle, const QDateTime& date,
                                       double gallons, double odometer, qint64 dollars = 0) {
        exchange::ImportedFuel row;
        row.line = line;
        row.vehicle = vehicle;
        row.date = date;
        row.gallons = gallons;
        row.odometer = odometer;
        if (dollars)
            row.cost = values::Currency{dollars * values::Currency::kScale};
        return row;
    }
    static exchange::ImportedFile fileOf(std::initializer_list<QString> vehicles) {
        exchange::ImportedFile file;
        file.formatId = QStringLiteral("fuelly");
        int line = 0;
        for (const QString& name : vehicles)
            file.vehicles.push_back(vehicleNamed(++line, name));
        return file;
    }
    static exchange::ImportedVehicle vehicleNamed(int line, const QString& name) {
        exchange::ImportedVehicle vehicle;
        vehicle.line = line;
        vehicle.name = name;
        return vehicle;
    }
    importing::ImportPlan plan(const exchange::ImportedFile& file) const {
        return importing::planImport(db(), file, importing::defaultTargets(db(), file));
    }

    QTemporaryDir dir;
    QString path;
    store::ConnectionHandle connection;
};

} // namespace import_test
