#include "StoreTestFiles.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/Schema.h"
#include "store/StoreErrors.h"
#include "store/modCreateDB.h"
#include "support/MsgBoxRecorder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace store;
using testing_support::MsgBoxRecorder;
using testing_support::sqlScalar;

namespace {

class CreateDatabase : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name = QStringLiteral("cars.mdb")) const {
        return dir.filePath(name);
    }
    // Only the target file itself may be in the folder after a creation.
    QStringList folderEntries() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

TEST_F(CreateDatabase, NewFileHoldsTheWholeLayoutAndTheSuccessBoxNamesIt) {
    MsgBoxRecorder boxes;
    ASSERT_TRUE(modCreateDB::CreateNewDatabase(path()));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().prompt,
              QStringLiteral(" Creation of database ") + path() + " has been successful.");
    EXPECT_EQ(boxes.last().style, 64);
    EXPECT_EQ(boxes.last().title, QStringLiteral("Success"));
    EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("cars.mdb")});

    auto db = Database::OpenDatabase(path());
    const QList<TableDef> tables = db->tableDefs();
    QStringList names;
    for (const TableDef& t : tables)
        names << t.name;
    names.sort(Qt::CaseInsensitive);
    EXPECT_EQ(names, (QStringList{"Fuel", "PartsUsed", "VehicleInfo", "WorkDone", "WorkOrder",
                                  "WorkOrderMemo"}));

    // Field order, types and sizes of one table read back exactly.
    const auto fuel = db->tableDef(QStringLiteral("fuel"));
    ASSERT_TRUE(fuel);
    QStringList fuelFields;
    for (const FieldDef& f : fuel->fields)
        fuelFields << f.name;
    EXPECT_EQ(fuelFields, (QStringList{"FuelDate", "FuelGals", "FuelMiles", "FuelFull", "FuelCost",
                                       "FuelCity", "FuelState", "FuelId", "VehicleID"}));
    EXPECT_EQ(fuel->field("FuelCity")->type, FieldType::Text);
    EXPECT_EQ(fuel->field("FuelCity")->size, 20);
    EXPECT_EQ(fuel->field("FuelCost")->type, FieldType::Currency);
    EXPECT_EQ(fuel->field("FUELID")->attributes & dbAutoIncrField, dbAutoIncrField);
    ASSERT_EQ(fuel->indexes.size(), 1);
    EXPECT_EQ(fuel->indexes[0].name, QStringLiteral("PrimaryKey"));
    EXPECT_TRUE(fuel->indexes[0].primary);
    EXPECT_TRUE(fuel->indexes[0].unique);

    const QList<RelationDef> relations = db->relations();
    ASSERT_EQ(relations.size(), 5);
    int unique = 0;
    for (const RelationDef& r : relations) {
        EXPECT_TRUE(r.attributes & dbRelationDeleteCascade) << r.name.toStdString();
        EXPECT_TRUE(r.attributes & dbRelationUpdateCascade) << r.name.toStdString();
        unique += (r.attributes & dbRelationUnique) ? 1 : 0;
    }
    EXPECT_EQ(unique, 1);
    EXPECT_NO_THROW(schema::verifyLayout(*db));
    EXPECT_TRUE(testing_support::fileIsConsistent(path()));
}

TEST_F(CreateDatabase, ExistingDatabaseIsReplacedByAnEmptyOne) {
    MsgBoxRecorder boxes;
    ASSERT_TRUE(modCreateDB::CreateNewDatabase(path()));
    {
        auto db = Database::OpenDatabase(path());
        auto vehicles = db->OpenRecordset(QStringLiteral("VehicleInfo"));
        vehicles->AddNew();
        vehicles->setValue(QStringLiteral("VehicleLookup"), QStringLiteral("Truck"));
        vehicles->Update();
    }
    modCreateDB::CurrentDatabase.reset();
    ASSERT_EQ(sqlScalar(path(), "select count(*) from VehicleInfo"), QStringLiteral("1"));
    ASSERT_TRUE(modCreateDB::CreateNewDatabase(path()));
    EXPECT_EQ(sqlScalar(path(), "select count(*) from VehicleInfo"), QStringLiteral("0"));
    EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("cars.mdb")});
}

TEST_F(CreateDatabase, FailuresShowOneBoxReturnFalseAndLeaveNothingBehind) {
    const QString missingFolder = dir.filePath(QStringLiteral("no/such/folder/cars.mdb"));
    const QString unwritable = QStringLiteral("/proc/drivolex-cars.mdb");
    QDir(dir.path()).mkdir(QStringLiteral("taken.mdb"));
    const QString folderAsTarget = dir.filePath(QStringLiteral("taken.mdb"));

    for (const QString& target : {missingFolder, unwritable, folderAsTarget}) {
        MsgBoxRecorder boxes;
        EXPECT_FALSE(modCreateDB::CreateNewDatabase(target)) << target.toStdString();
        ASSERT_EQ(boxes.count(), 1);
        EXPECT_EQ(boxes.last().prompt,
                  QStringLiteral("There was an error Creating your database."));
        EXPECT_EQ(boxes.last().style, 48);
        EXPECT_FALSE(boxes.last().title.isEmpty());
        EXPECT_FALSE(QFileInfo(target).isFile());
    }
    EXPECT_TRUE(folderEntries().isEmpty());
}

// A long name the folder can hold makes its file; the hidden one it is built as
// does not make it too long. One the folder cannot hold is told by its own name.
TEST_F(CreateDatabase, LongNamesAreMadeOrRefusedByTheNameAsked) {
    const QString longest = path(QString(240, QLatin1Char('n')) + QStringLiteral(".mdb"));
    {
        MsgBoxRecorder boxes;
        EXPECT_TRUE(modCreateDB::CreateNewDatabase(longest));
        ASSERT_EQ(boxes.count(), 1);
        EXPECT_EQ(boxes.last().title, QStringLiteral("Success"));
        EXPECT_EQ(folderEntries(), QStringList{QFileInfo(longest).fileName()});
    }
    modCreateDB::CurrentDatabase.reset();
    ASSERT_TRUE(QFile::remove(longest));

    const QString tooLong = path(QString(300, QLatin1Char('n')) + QStringLiteral(".mdb"));
    MsgBoxRecorder boxes;
    EXPECT_FALSE(modCreateDB::CreateNewDatabase(tooLong));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().prompt, QStringLiteral("There was an error Creating your database."));
    EXPECT_TRUE(boxes.last().title.contains(tooLong)) << boxes.last().title.toStdString();
    EXPECT_TRUE(boxes.last().title.contains(QLatin1String("File name too long")))
        << boxes.last().title.toStdString();
    EXPECT_FALSE(boxes.last().title.contains(QLatin1String(".creating")));
    EXPECT_TRUE(folderEntries().isEmpty());
}

TEST_F(CreateDatabase, FailedCreationKeepsTheOldFileAndTheCurrentDatabase) {
    MsgBoxRecorder boxes;
    ASSERT_TRUE(modCreateDB::CreateNewDatabase(path()));
    const auto before = modCreateDB::CurrentDatabase;
    QFile old(path());
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    const QByteArray oldBytes = old.readAll();
    old.close();

    EXPECT_FALSE(modCreateDB::CreateNewDatabase(dir.filePath(QStringLiteral("x/y.mdb"))));
    EXPECT_EQ(modCreateDB::CurrentDatabase, before);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), oldBytes);
}

// The old file with two vehicles, closed: what a File New over it finds.
class CreateOverOldFile : public CreateDatabase {
protected:
    void SetUp() override {
        MsgBoxRecorder quiet;
        ASSERT_TRUE(modCreateDB::CreateNewDatabase(path()));
        modCreateDB::CurrentDatabase.reset();
        ASSERT_EQ(testing_support::sqlExecute(path(), "INSERT INTO VehicleInfo (VehicleLookup) "
                                                      "VALUES ('Old one'), ('Old two')"),
                  QString());
    }

    // One failure box titled with the reason, false, and the old file byte for byte.
    void expectRefused(const QString& reason) {
        const QByteArray bytes = testing_support::fileBytes(path());
        MsgBoxRecorder boxes;
        EXPECT_FALSE(modCreateDB::CreateNewDatabase(path()));
        ASSERT_EQ(boxes.count(), 1);
        EXPECT_EQ(boxes.last().prompt,
                  QStringLiteral("There was an error Creating your database."));
        EXPECT_EQ(boxes.last().style, 48);
        EXPECT_EQ(boxes.last().title, reason);
        EXPECT_EQ(testing_support::fileBytes(path()), bytes);
        EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("cars.mdb")});
    }
};

TEST_F(CreateOverOldFile, AJournalOrWalLeftByACrashIsNotPlayedIntoTheNewFile) {
    const QString bulk = QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
        "INSERT INTO VehicleInfo (VehicleLookup, VehicleSerialNum) SELECT 'V' || i, "
        "printf('%025d', i) FROM n");
    for (const QString& sideFile : {QStringLiteral("-journal"), QStringLiteral("-wal")}) {
        if (sideFile == QLatin1String("-journal"))
            testing_support::leaveHotJournal(path(), bulk);
        else
            testing_support::leaveWalWithChanges(path(), bulk);
        ASSERT_TRUE(QFile::exists(path() + sideFile));

        MsgBoxRecorder boxes;
        ASSERT_TRUE(modCreateDB::CreateNewDatabase(path())) << sideFile.toStdString();
        EXPECT_EQ(boxes.last().title, QStringLiteral("Success"));
        modCreateDB::CurrentDatabase.reset();
        EXPECT_EQ(sqlScalar(path(), "SELECT count(*) FROM VehicleInfo"), QStringLiteral("0"))
            << sideFile.toStdString();
        EXPECT_TRUE(testing_support::fileIsConsistent(path())) << sideFile.toStdString();
        EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("cars.mdb")})
            << "the old file's side files went with it";
    }
}

TEST_F(CreateOverOldFile, AReadOnlyFileIsNotReplaced) {
    ASSERT_TRUE(QFile::setPermissions(path(), QFile::ReadOwner | QFile::ReadGroup));
    expectRefused(QStringLiteral("The file '%1' is read-only and cannot be replaced.").arg(path()));
}

TEST_F(CreateOverOldFile, AFileOpenInTheProgramIsNotReplacedUnlessItIsTheLastCreated) {
    {
        // Another name for the same file, as a window may have it open.
        const QString otherName = dir.filePath(QStringLiteral("./cars.mdb"));
        auto inUse = Database::OpenDatabase(otherName);
        expectRefused(
            QStringLiteral("The file '%1' is in use by an open window and cannot be replaced.")
                .arg(path()));
    }
    MsgBoxRecorder boxes;
    ASSERT_TRUE(modCreateDB::CreateNewDatabase(path()));
    // The database the last creation left open is the creation's own to replace.
    ASSERT_TRUE(modCreateDB::CreateNewDatabase(path()));
    EXPECT_EQ(modCreateDB::CurrentDatabase->path(), path());
    EXPECT_EQ(sqlScalar(path(), "SELECT count(*) FROM VehicleInfo"), QStringLiteral("0"));
    modCreateDB::CurrentDatabase.reset();
}

TEST_F(CreateDatabase, LayoutCheckNamesTheMissingTable) {
    auto db =
        Database::CreateDatabase(path(QStringLiteral("other.db")), QLatin1String(dbLangGeneral));
    TableDef t = db->CreateTableDef(QStringLiteral("Fuel"));
    t.fields.append(t.CreateField(QStringLiteral("Something"), FieldType::Long));
    db->appendTableDef(t);
    try {
        schema::verifyLayout(*db);
        FAIL() << "a foreign layout passed the check";
    } catch (const platform::AppError& e) {
        EXPECT_EQ(e.number(), errNotADatabase);
        EXPECT_TRUE(e.text().contains(QStringLiteral("other.db")));
        EXPECT_TRUE(e.text().contains(QStringLiteral("FuelDate")));
    }
}

} // namespace
