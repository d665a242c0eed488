// What the store accepts comes back from the file exactly: text that looks like a
// number stays text. Files of version 1.0.0, whose Date and Memo columns let SQLite
// turn such text into numbers, are mended when opened for writing.
#include "StoreTestFiles.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/Schema.h"
#include "store/StoreErrors.h"
#include "store/modCreateDB.h"
#include "support/MsgBoxRecorder.h"
#include "values/Currency.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace store;
using namespace values;
using testing_support::fileBytes;
using testing_support::sqlExecute;
using testing_support::sqlScalar;

namespace {

// Every row of a query, its columns joined by '|'; a column shown as quote() gives
// it, so that 123 and '123' differ.
QStringList rows(const QString& path, const QString& sql) {
    QStringList result;
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr);
    while (stmt && sqlite3_step(stmt) == SQLITE_ROW) {
        QStringList columns;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            const unsigned char* text = sqlite3_column_text(stmt, i);
            columns << (text ? QString::fromUtf8(reinterpret_cast<const char*>(text))
                             : QStringLiteral("NULL"));
        }
        result << columns.join(QLatin1Char('|'));
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return result;
}

QString declaredType(const QString& path, const char* table, const char* column) {
    return sqlScalar(path, QStringLiteral("SELECT type FROM pragma_table_info('%1') WHERE name = "
                                          "'%2'")
                               .arg(QLatin1String(table), QLatin1String(column)));
}

// ---- every field type through the file

struct RoundTrip {
    const char* field;
    QVariant typed;
    QVariant readBack;  // what the store gives back, read from the file by a new connection
    const char* stored; // SQLite's typeof() of the stored value; nullptr: not checked
};

class FieldRoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        auto db = Database::CreateDatabase(path, QLatin1String(dbLangGeneral));
        TableDef table = db->CreateTableDef(QStringLiteral("Kinds"));
        FieldDef key = table.CreateField(QStringLiteral("ID"), FieldType::Long);
        key.attributes = dbAutoIncrField;
        table.fields << key << table.CreateField(QStringLiteral("T"), FieldType::Text, 30)
                     << table.CreateField(QStringLiteral("M"), FieldType::Memo)
                     << table.CreateField(QStringLiteral("C"), FieldType::Currency)
                     << table.CreateField(QStringLiteral("S"), FieldType::Single)
                     << table.CreateField(QStringLiteral("D"), FieldType::Date)
                     << table.CreateField(QStringLiteral("I"), FieldType::Integer)
                     << table.CreateField(QStringLiteral("L"), FieldType::Long)
                     << table.CreateField(QStringLiteral("B"), FieldType::Boolean);
        db->appendTableDef(table);
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("kinds.mdb"));
};

TEST_F(FieldRoundTrip, EveryFieldTypeReadsBackFromTheFileWhatItAccepted) {
    const QString twentyDigits = QStringLiteral("12345678901234567890");
    const QList<RoundTrip> cases = {
        {"M", "00123", "00123", "text"},
        {"M", "1.50", "1.50", "text"},
        {"M", twentyDigits, twentyDigits, "text"},
        {"M", "1e5", "1e5", "text"},
        {"M", " 12 ", " 12 ", "text"},
        {"M", "0x10", "0x10", "text"},
        {"M", "-0", "-0", "text"},
        {"M", "", QVariant(), "null"},
        {"M", QVariant(), QVariant(), "null"},
        {"T", "00123", "00123", "text"},
        {"T", "1.50", "1.50", "text"},
        {"T", twentyDigits, twentyDigits, "text"},
        {"T", " 12 ", " 12 ", "text"},
        {"T", "", QVariant(), "null"},
        {"D", "2024-03-15", QDateTime(QDate(2024, 3, 15), QTime(0, 0)), "text"},
        {"D", "3/15/2024 8:30 PM", QDateTime(QDate(2024, 3, 15), QTime(20, 30)), "text"},
        {"C", "1.50", QVariant::fromValue(Currency{15000}), "integer"},
        {"C", "-922337203685477.5808", QVariant::fromValue(Currency{INT64_MIN}), "integer"},
        {"S", "1.50", 1.5f, nullptr},
        {"S", "3", 3.0f, nullptr},
        {"S", "1e30", 1e30f, nullptr},
        {"I", "00123", 123, "integer"},
        {"I", "-32768", -32768, "integer"},
        {"L", "2147483647", 2147483647, "integer"},
        {"B", "True", true, "integer"},
        {"B", "", false, "integer"},
    };
    auto db = Database::OpenDatabase(path);
    auto rs = db->OpenRecordset(QStringLiteral("Kinds"));
    QList<qint64> keys;
    for (const RoundTrip& c : cases) {
        rs->AddNew();
        rs->setValue(QLatin1String(c.field), c.typed);
        rs->Update();
        keys << rs->LastModified();
    }
    db.reset();

    auto again = Database::OpenDatabase(path);
    auto read = again->OpenRecordset(QStringLiteral("Kinds"));
    for (qsizetype i = 0; i < cases.size(); ++i) {
        const RoundTrip& c = cases[i];
        const std::string what = std::string(c.field) + " " + c.typed.toString().toStdString();
        read->setBookmark(keys[i]);
        const QVariant back = read->value(QLatin1String(c.field));
        EXPECT_EQ(back.metaType(), c.readBack.metaType()) << what;
        if (c.readBack.metaType() == QMetaType::fromType<Currency>()) {
            EXPECT_EQ(back.value<Currency>(), c.readBack.value<Currency>()) << what;
        } else {
            EXPECT_EQ(back, c.readBack) << what;
        }
        if (!c.stored)
            continue;
        const QString column = QLatin1String(c.field);
        const QString where = QStringLiteral(" FROM Kinds WHERE ID = %1").arg(keys[i]);
        EXPECT_EQ(sqlScalar(path, QStringLiteral("SELECT typeof(%1)").arg(column) + where),
                  QLatin1String(c.stored))
            << what;
        if (c.readBack.typeId() == QMetaType::QString) {
            EXPECT_EQ(sqlScalar(path, QStringLiteral("SELECT %1").arg(column) + where),
                      c.readBack.toString())
                << what << ": the file holds the text byte for byte";
        }
    }
}

// ---- files of version 1.0.0

// A file as version 1.0.0 made it, with rows put in by plain SQL: two vehicles (a
// third was added and deleted, so keys go on from 4), their fuel and two work orders
// with notes, one of them "00123", which that file holds as the number 123.
class Version1File : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::MsgBoxRecorder quiet;
        ASSERT_TRUE(modCreateDB::CreateNewDatabase(path));
        modCreateDB::CurrentDatabase.reset();
        testing_support::declareTextColumnsAsVersion1(path);
        ASSERT_EQ(declaredType(path, "WorkOrderMemo", "WorkOrderMemo"), QStringLiteral("MEMO"));
        ASSERT_EQ(
            sqlExecute(path,
                       QStringLiteral(
                           "PRAGMA foreign_keys = ON;"
                           "INSERT INTO VehicleInfo (VehicleLookup, VehicleYear) VALUES "
                           "('Alpha', 2001), ('Civic', 2010), ('Gone', 1999);"
                           "DELETE FROM VehicleInfo WHERE VehicleLookup = 'Gone';"
                           "INSERT INTO Fuel (VehicleID, FuelDate, FuelFull, FuelCost) VALUES "
                           "(1, '2024-01-01 00:00:00', -1, 200000),"
                           "(2, '2024-02-01 00:00:00', 0, 100000);"
                           "INSERT INTO WorkOrder (VehicleID, Mileage, Date) VALUES "
                           "(1, 1000, '2024-01-10 00:00:00'), (2, 2000, '2024-02-10 00:00:00');"
                           "INSERT INTO WorkDone (WorkOrderID, WorkDescription) VALUES (2, 'Oil');"
                           "INSERT INTO WorkOrderMemo (WorkOrderID, WorkOrderMemo) VALUES "
                           "(1, '00123'), (2, 'Check the brakes');")),
            QString());
        ASSERT_EQ(sqlScalar(path, "SELECT typeof(WorkOrderMemo) FROM WorkOrderMemo WHERE "
                                  "WorkOrderID = 1"),
                  QStringLiteral("integer"))
            << "the file shows the fault of version 1.0.0";
    }

    // What must survive the mend: rows with their row numbers, keys given out,
    // indexes and relations.
    QStringList contents() const {
        QStringList all;
        for (const char* table :
             {"VehicleInfo", "Fuel", "WorkOrder", "WorkDone", "PartsUsed", "WorkOrderMemo"}) {
            for (const QString& row :
                 rows(path, QStringLiteral("SELECT rowid, * FROM %1 ORDER BY rowid")
                                .arg(QLatin1String(table))))
                all << QLatin1String(table) + QLatin1Char(':') + row;
            for (const QString& key :
                 rows(path, QStringLiteral("SELECT \"table\", \"from\", \"to\", on_update, "
                                           "on_delete FROM pragma_foreign_key_list('%1')")
                                .arg(QLatin1String(table))))
                all << QLatin1String(table) + QLatin1String(" relation:") + key;
        }
        all << rows(path, QStringLiteral("SELECT 'index:' || name || ' on ' || tbl_name FROM "
                                         "sqlite_master WHERE type = 'index' ORDER BY name"));
        all << rows(path, QStringLiteral("SELECT 'counter:' || name || '=' || seq FROM "
                                         "sqlite_sequence ORDER BY name"));
        return all;
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("old.mdb"));
};

TEST_F(Version1File, OpeningItRebuildsTheTextColumnsKeepingRowsKeysRelationsAndIndexes) {
    const QStringList before = contents();
    auto db = Database::OpenDatabase(path);

    EXPECT_EQ(declaredType(path, "Fuel", "FuelDate"), QStringLiteral("DATETIME TEXT"));
    EXPECT_EQ(declaredType(path, "WorkOrder", "Date"), QStringLiteral("DATETIME TEXT"));
    EXPECT_EQ(declaredType(path, "WorkOrderMemo", "WorkOrderMemo"), QStringLiteral("MEMO TEXT"));
    EXPECT_EQ(contents(), before);
    EXPECT_EQ(sqlScalar(path, "SELECT group_concat(typeof(WorkOrderMemo)) FROM WorkOrderMemo"),
              QStringLiteral("text,text"));
    EXPECT_TRUE(testing_support::fileIsConsistent(path));
    EXPECT_EQ(db->tableDef(QStringLiteral("WorkOrderMemo"))->field("WorkOrderMemo")->type,
              FieldType::Memo);
    EXPECT_EQ(db->tableDef(QStringLiteral("Fuel"))->field("FuelDate")->type, FieldType::Date);
    EXPECT_NO_THROW(schema::verifyLayout(*db));

    // Notes are kept as typed from now on; keys go on where they were; relations cascade.
    auto notes =
        db->OpenRecordset(QStringLiteral("Select * from WorkOrderMemo where WorkorderID = 2"));
    notes->Edit();
    notes->setValue(QStringLiteral("WorkOrderMemo"), QStringLiteral("00123"));
    notes->Update();
    EXPECT_EQ(
        sqlScalar(path, "SELECT quote(WorkOrderMemo) FROM WorkOrderMemo WHERE WorkOrderID = 2"),
        QStringLiteral("'00123'"));
    auto vehicles = db->OpenRecordset(QStringLiteral("VehicleInfo"));
    vehicles->AddNew();
    vehicles->setValue(QStringLiteral("VehicleLookup"), QStringLiteral("New"));
    vehicles->Update();
    EXPECT_EQ(vehicles->LastModified(), 4);
    vehicles->FindFirst(QStringLiteral("VehicleID = 2"));
    vehicles->Delete();
    EXPECT_EQ(sqlScalar(path, "SELECT count(*) FROM WorkOrder WHERE VehicleID = 2"), "0");
    EXPECT_EQ(sqlScalar(path, "SELECT count(*) FROM WorkOrderMemo"), "1");
    EXPECT_EQ(sqlScalar(path, "SELECT count(*) FROM WorkDone"), "0");
    EXPECT_TRUE(testing_support::fileIsConsistent(path));
}

TEST_F(Version1File, AMendThatCannotFinishChangesNothing) {
    // Another program reading the file keeps the mend from committing.
    sqlite3* reader = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &reader), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(reader, "BEGIN; SELECT count(*) FROM Fuel", nullptr, nullptr, nullptr),
              SQLITE_OK);
    const QByteArray bytes = fileBytes(path);
    try {
        Database::OpenDatabase(path);
        ADD_FAILURE() << "the file opened while its mend could not be written";
    } catch (const platform::AppError& error) {
        EXPECT_EQ(error.number(), errLocked) << error.text().toStdString();
        EXPECT_TRUE(error.text().contains(path)) << error.text().toStdString();
    }
    sqlite3_exec(reader, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(reader);
    EXPECT_EQ(fileBytes(path), bytes);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-journal")));

    Database::OpenDatabase(path); // free again: the mend goes through
    EXPECT_EQ(declaredType(path, "WorkOrderMemo", "WorkOrderMemo"), QStringLiteral("MEMO TEXT"));
}

TEST_F(Version1File, ReadOnlyItOpensForReadingAsItIs) {
    ASSERT_TRUE(
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const QByteArray bytes = fileBytes(path);

    // No write permission bit: refused for writing, also for the administrator.
    try {
        Database::OpenDatabase(path);
        ADD_FAILURE() << "a read-only file opened for writing";
    } catch (const platform::AppError& error) {
        EXPECT_EQ(error.number(), errReadOnly) << error.text().toStdString();
    }

    auto db = Database::OpenDatabase(path, Database::Access::ReadOnly);
    EXPECT_EQ(db->tableDef(QStringLiteral("WorkOrderMemo"))->field("WorkOrderMemo")->type,
              FieldType::Memo);
    EXPECT_NO_THROW(schema::verifyLayout(*db));
    auto notes =
        db->OpenRecordset(QStringLiteral("Select * from WorkOrderMemo Order by WorkOrderID"));
    EXPECT_EQ(notes->value(QStringLiteral("WorkOrderMemo")), QVariant(QStringLiteral("123")));
    notes->MoveNext();
    EXPECT_EQ(notes->value(QStringLiteral("WorkOrderMemo")),
              QVariant(QStringLiteral("Check the brakes")));
    notes->Edit();
    notes->setValue(QStringLiteral("WorkOrderMemo"), QStringLiteral("changed"));
    int refused = 0;
    try {
        notes->Update();
    } catch (const platform::AppError& error) {
        refused = error.number();
    }
    EXPECT_EQ(refused, errReadOnly);
    db.reset();
    EXPECT_EQ(fileBytes(path), bytes);
    EXPECT_EQ(declaredType(path, "WorkOrderMemo", "WorkOrderMemo"), QStringLiteral("MEMO"));
}

} // namespace
