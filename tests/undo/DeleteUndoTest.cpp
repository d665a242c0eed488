// Deletes brought back: the file after an undo holds exactly what it held before
// the delete, storage classes included; refusals change nothing.
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/StoreTestFiles.h"
#include "store/modCreateDB.h"
#include "support/MsgBoxRecorder.h"
#include "undo/DeleteHistory.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>

using testing_support::sqlExecute;
using undo::DeleteHistory;
using Outcome = undo::DeleteHistory::Outcome;

namespace {

const char* const kTables[] = {"Fuel",     "PartsUsed", "VehicleInfo",
                               "WorkDone", "WorkOrder", "WorkOrderMemo"};

// Every row of every table with each value's storage class, and the key counters.
QString dump(const QString& path) {
    QString all;
    for (const char* table : kTables) {
        const QString columns = testing_support::sqlScalar(
            path, QStringLiteral("SELECT group_concat('typeof(\"' || name || '\") || quote(\"' || "
                                 "name || '\")', ' || ''|'' || ') FROM pragma_table_info('%1')")
                      .arg(QLatin1String(table)));
        all += QLatin1String(table) + QLatin1Char('\n') +
               testing_support::sqlScalar(
                   path, QStringLiteral("SELECT group_concat(r, char(10)) FROM (SELECT rowid || "
                                        "':' || %1 AS r FROM \"%2\" ORDER BY rowid)")
                             .arg(columns, QLatin1String(table))) +
               QLatin1Char('\n');
    }
    return all + testing_support::sqlScalar(
                     path, QStringLiteral("SELECT group_concat(name || seq) FROM sqlite_sequence"));
}

int count(const QString& path, const char* table) {
    return testing_support::sqlScalar(
               path, QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table)))
        .toInt();
}

QString orderNumber(const QVariant& id) {
    return QString::number(id.toLongLong()).rightJustified(4, QLatin1Char('0'));
}

class DeleteUndo : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteHistory::instance().reset();
        DeleteHistory::instance().watchStore(orderNumber);
        path = makeFile(QStringLiteral("cars.mdb"));
        db = store::Database::OpenDatabase(path);
    }
    void TearDown() override { DeleteHistory::instance().reset(); }

    QString makeFile(const QString& name) {
        const QString file = dir.filePath(name);
        testing_support::MsgBoxRecorder quiet;
        EXPECT_TRUE(modCreateDB::CreateNewDatabase(file));
        modCreateDB::CurrentDatabase.reset();
        // Values of every storage class, some as other tools leave them: text in a
        // number column, a real where the program writes integers, a blob, nulls.
        EXPECT_EQ(sqlExecute(file, QStringLiteral(R"(
            INSERT INTO VehicleInfo VALUES ('Civic', 1, 'Honda', NULL, 2009, x'00ff10');
            INSERT INTO VehicleInfo VALUES ('Truck', 2, 'Ford', 'F150', '1999a', 'S2');
            INSERT INTO Fuel VALUES ('2024-05-10 00:00:00', 9.5, 1200.25, -1, 451234, 'Salem',
                                     'OR', 5, 1);
            INSERT INTO Fuel VALUES ('2024-06-01 00:00:00', 8, 1500, 0, NULL, NULL, NULL, 6, 1);
            INSERT INTO Fuel VALUES ('2024-06-02 00:00:00', 7, 900, 0, 10000, 'Bend', 'OR', 7, 2);
            INSERT INTO WorkOrder VALUES (1, 42, 1300, '2024-05-12 00:00:00');
            INSERT INTO WorkOrder VALUES (2, 43, 10.5, '2024-05-13 00:00:00');
            INSERT INTO WorkDone VALUES (42, 1, 'Oil Change');
            INSERT INTO WorkDone VALUES (42, 2, 'Rotate Tires');
            INSERT INTO WorkDone VALUES (43, 3, 'Brakes');
            INSERT INTO PartsUsed VALUES (1, 'F-1', 'Filter', 59900, 42, 2);
            INSERT INTO PartsUsed VALUES (2, 'P-9', NULL, 1.5, 42, NULL);
            INSERT INTO WorkOrderMemo (rowid, WorkOrderMemo, WorkOrderID)
                VALUES (7, 'Customer waits', 42);
            INSERT INTO WorkOrderMemo (rowid, WorkOrderMemo, WorkOrderID) VALUES (9, 'x', 43);
        )")),
                  QString());
        return file;
    }

    // Deletes the first row of the source through a record set, as the windows do.
    void deleteFirst(const QString& source, store::Database* in = nullptr) {
        auto rs = (in ? in : db.get())->OpenRecordset(source);
        ASSERT_FALSE(rs->isEOF()) << source.toStdString();
        rs->Delete();
    }

    DeleteHistory& history() { return DeleteHistory::instance(); }

    QTemporaryDir dir;
    QString path;
    std::shared_ptr<store::Database> db;
};

struct DeleteKind {
    const char* source;
    const char* caption;
    int rowsGone; // the row and what its relations take with it
};

class EachDelete : public DeleteUndo, public ::testing::WithParamInterface<DeleteKind> {};

TEST_P(EachDelete, ComesBackAsItWasWithItsName) {
    const QString before = dump(path);
    ASSERT_TRUE(before.contains(QLatin1String("1:text'Civic'|integer1|text'Honda'|nullNULL|"
                                              "integer2009|blobX'00FF10'")))
        << before.toStdString();
    const int rowsBefore = count(path, "VehicleInfo") + count(path, "Fuel") +
                           count(path, "WorkOrder") + count(path, "WorkDone") +
                           count(path, "PartsUsed") + count(path, "WorkOrderMemo");
    deleteFirst(QLatin1String(GetParam().source));
    const int rowsAfter = count(path, "VehicleInfo") + count(path, "Fuel") +
                          count(path, "WorkOrder") + count(path, "WorkDone") +
                          count(path, "PartsUsed") + count(path, "WorkOrderMemo");
    EXPECT_EQ(rowsBefore - rowsAfter, GetParam().rowsGone);
    EXPECT_EQ(history().nextCaption(path), QLatin1String(GetParam().caption));

    const DeleteHistory::Result result = history().undoLast(path);
    EXPECT_EQ(result.outcome, Outcome::Restored) << result.message.toStdString();
    EXPECT_EQ(dump(path), before);
    EXPECT_TRUE(testing_support::fileIsConsistent(path));
    EXPECT_EQ(history().depth(path), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, EachDelete,
    ::testing::Values(
        // Civic: 2 fuel rows, order 42 with 2 services, 2 parts and its note.
        DeleteKind{"Select * from VehicleInfo where VehicleID = 1", "Vehicle 'Civic'", 9},
        DeleteKind{"Select * from WorkOrder where WorkOrderID = 42", "Work Order 0042", 6},
        DeleteKind{"Select * from Fuel where FuelId = 5", "Fuel Purchase 5/10/2024", 1},
        DeleteKind{"Select * from WorkDone where WorkDoneID = 1", "Service 'Oil Change'", 1},
        DeleteKind{"Select * from PartsUsed where PartID = 1", "Part 'Filter'", 1},
        // A part without a description is named by its number.
        DeleteKind{"Select * from PartsUsed where PartID = 2", "Part 'P-9'", 1},
        DeleteKind{"Select * from WorkOrderMemo where WorkOrderID = 42", "Note of Work Order 0042",
                   1}));

TEST_F(DeleteUndo, SeveralDeletesComeBackLastFirst) {
    const QString start = dump(path);
    deleteFirst(QStringLiteral("Select * from Fuel where FuelId = 6"));
    const QString afterFirst = dump(path);
    deleteFirst(QStringLiteral("Select * from WorkDone where WorkDoneID = 2"));
    deleteFirst(QStringLiteral("Select * from VehicleInfo where VehicleID = 1"));
    ASSERT_EQ(history().depth(path), 3);

    EXPECT_EQ(history().undoLast(path).caption, QStringLiteral("Vehicle 'Civic'"));
    EXPECT_EQ(history().undoLast(path).caption, QStringLiteral("Service 'Rotate Tires'"));
    EXPECT_EQ(dump(path), afterFirst);
    EXPECT_EQ(history().undoLast(path).caption, QStringLiteral("Fuel Purchase 6/1/2024"));
    EXPECT_EQ(dump(path), start);
    EXPECT_EQ(history().undoLast(path).outcome, Outcome::NothingToUndo);
}

TEST_F(DeleteUndo, MarksOfTheProgramsOwnTablesComeBackWithTheirRows) {
    // A table of the program's own tied to a record table by a cascading relation,
    // as the fuel rows' missed marks are kept; its rows go and come back with them.
    ASSERT_EQ(sqlExecute(path, QStringLiteral(
                                   "CREATE TABLE drivolex_fuel_missed (FuelId INTEGER PRIMARY KEY "
                                   "REFERENCES Fuel (FuelId) ON DELETE CASCADE);"
                                   "INSERT INTO drivolex_fuel_missed VALUES (5), (6), (7);")),
              QString());
    const auto marks = [this] {
        return testing_support::sqlScalar(
            path, QStringLiteral("SELECT group_concat(FuelId) FROM drivolex_fuel_missed"));
    };
    deleteFirst(QStringLiteral("Select * from Fuel where FuelId = 6"));
    deleteFirst(QStringLiteral("Select * from VehicleInfo where VehicleID = 1"));
    ASSERT_EQ(marks(), QStringLiteral("7"));
    EXPECT_EQ(history().undoLast(path).outcome, Outcome::Restored);
    EXPECT_EQ(marks(), QStringLiteral("5,7"));
    EXPECT_EQ(history().undoLast(path).outcome, Outcome::Restored);
    EXPECT_EQ(marks(), QStringLiteral("5,6,7"));
    EXPECT_TRUE(testing_support::fileIsConsistent(path));
}

TEST_F(DeleteUndo, ADeleteThatTookNothingIsNotKept) {
    auto shown = db->OpenRecordset(QStringLiteral("Select * from Fuel where FuelId = 7"));
    ASSERT_EQ(sqlExecute(path, QStringLiteral("DELETE FROM Fuel WHERE FuelId = 7")), QString());
    shown->Delete(); // the row went elsewhere first
    EXPECT_EQ(history().depth(path), 0);
}

TEST_F(DeleteUndo, RefusalsChangeNothingAndLetOlderDeletesThrough) {
    deleteFirst(QStringLiteral("Select * from Fuel where FuelId = 7"));
    // Emptied note, then a new note typed for the same order: its own row number,
    // the order's key again.
    deleteFirst(QStringLiteral("Select * from WorkOrderMemo where WorkOrderID = 43"));
    ASSERT_EQ(sqlExecute(path, QStringLiteral("INSERT INTO WorkOrderMemo VALUES ('new', 43)")),
              QString());
    const QString withNewNote = dump(path);
    DeleteHistory::Result result = history().undoLast(path);
    EXPECT_EQ(result.outcome, Outcome::KeyTaken);
    EXPECT_TRUE(result.message.contains(QLatin1String("Note of Work Order 0043")));
    EXPECT_EQ(dump(path), withNewNote);

    // The same row number taken again by another tool.
    deleteFirst(QStringLiteral("Select * from WorkDone where WorkDoneID = 3"));
    ASSERT_EQ(sqlExecute(path, QStringLiteral("INSERT INTO WorkDone VALUES (43, 3, 'Other')")),
              QString());
    const QString withOther = dump(path);
    result = history().undoLast(path);
    EXPECT_EQ(result.outcome, Outcome::KeyTaken);
    EXPECT_TRUE(result.message.contains(QLatin1String("3 in table WorkDone")))
        << result.message.toStdString();
    EXPECT_EQ(dump(path), withOther);

    // A service whose order went meanwhile.
    deleteFirst(QStringLiteral("Select * from WorkDone where WorkDoneID = 1"));
    ASSERT_EQ(sqlExecute(path, QStringLiteral("DELETE FROM WorkOrder WHERE WorkOrderID = 42")),
              QString());
    const QString withoutOrder = dump(path);
    EXPECT_EQ(history().undoLast(path).outcome, Outcome::OwnerGone);
    EXPECT_EQ(dump(path), withoutOrder);

    // The older delete is still reachable.
    EXPECT_EQ(history().nextCaption(path), QStringLiteral("Fuel Purchase 6/2/2024"));
    EXPECT_EQ(history().undoLast(path).outcome, Outcome::Restored);
    EXPECT_EQ(count(path, "Fuel"), 3);
}

TEST_F(DeleteUndo, AReplacedFileIsLeftAsItIs) {
    deleteFirst(QStringLiteral("Select * from VehicleInfo where VehicleID = 2"));
    db.reset();
    // Another file moved to the name, as a restore or a copy would.
    const QString copy = dir.filePath(QStringLiteral("copy.mdb"));
    ASSERT_TRUE(QFile::copy(path, copy));
    ASSERT_EQ(::rename(QFile::encodeName(copy).constData(), QFile::encodeName(path).constData()),
              0);
    const QByteArray bytes = testing_support::fileBytes(path);

    const DeleteHistory::Result result = history().undoLast(path);
    EXPECT_EQ(result.outcome, Outcome::FileReplaced);
    EXPECT_TRUE(result.message.contains(path));
    EXPECT_EQ(testing_support::fileBytes(path), bytes);
    EXPECT_EQ(history().depth(path), 0);
}

TEST_F(DeleteUndo, EachFileHasItsOwnHistory) {
    const QString other = makeFile(QStringLiteral("other.mdb"));
    auto otherDb = store::Database::OpenDatabase(other);
    deleteFirst(QStringLiteral("Select * from Fuel where FuelId = 5"));
    deleteFirst(QStringLiteral("Select * from VehicleInfo where VehicleID = 2"), otherDb.get());

    EXPECT_EQ(history().nextCaption(path), QStringLiteral("Fuel Purchase 5/10/2024"));
    EXPECT_EQ(history().nextCaption(other), QStringLiteral("Vehicle 'Truck'"));
    EXPECT_EQ(history().undoLast(other).outcome, Outcome::Restored);
    EXPECT_EQ(history().nextCaption(other), QString());
    EXPECT_EQ(count(path, "Fuel"), 2); // the first file's delete stays undone
    EXPECT_EQ(history().depth(path), 1);
}

} // namespace
