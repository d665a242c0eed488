#include "StoreTestSupport.h"

#include "store/StoreErrors.h"

#include <sqlite3.h>

using namespace store;
using namespace store_test;

TEST(Constraints, KeysArePositiveUniqueAndNeverReused) {
    TinyDb tiny;
    const qint64 a = tiny.addOwner(QStringLiteral("Ann"));
    const qint64 b = tiny.addOwner(QStringLiteral("Bob"));
    EXPECT_GT(a, 0);
    EXPECT_GT(b, a);

    auto owners = tiny.db->OpenRecordset(QStringLiteral("Owner"));
    owners->MoveLast();
    owners->Delete();
    EXPECT_GT(tiny.addOwner(QStringLiteral("Cy")), b); // the deleted key stays used

    // Rebuilding a table for a new key or relation keeps the counter too.
    const qint64 leg = tiny.addLeg(tiny.addTrip(a, QStringLiteral("2024-01-02"), 10), "X");
    auto legs = tiny.db->OpenRecordset(QStringLiteral("Leg"));
    legs->Delete();
    IndexDef byPlace{QStringLiteral("ByPlace"), {QStringLiteral("Place")}, false, false};
    tiny.db->appendIndex(QStringLiteral("Leg"), byPlace);
    RelationDef relation =
        tiny.db->CreateRelation(QStringLiteral("OwnerLeg"), QStringLiteral("Owner"),
                                QStringLiteral("Leg"), dbRelationDontEnforce);
    relation.fields << FieldDef{QStringLiteral("OwnerID"), FieldType::Long, 0, 0,
                                QStringLiteral("LegID")};
    tiny.db->appendRelation(relation);
    EXPECT_GT(tiny.addLeg(tiny.addTrip(a, QStringLiteral("2024-01-03"), 5), "Y"), leg);
}

TEST(Constraints, SetsForOwnerKeyZeroAndMinusOneAreEmpty) {
    TinyDb tiny;
    const qint64 owner = tiny.addOwner(QStringLiteral("Ann"));
    tiny.addTrip(owner, QStringLiteral("2024-01-02"), 10);
    for (const char* text :
         {"Select * from Trip where OwnerID = 0", "Select * from trip Where ownerid = -1"}) {
        auto rs = tiny.db->OpenRecordset(QString::fromLatin1(text));
        EXPECT_TRUE(rs->isBOF() && rs->isEOF()) << text;
        EXPECT_EQ(rs->RecordCount(), 0);
        EXPECT_EQ(rs->AbsolutePosition(), -1);
    }
}

TEST(Constraints, SecondNoteForOneTripIsADuplicateKey) {
    TinyDb tiny;
    const qint64 trip = tiny.addTrip(tiny.addOwner(QStringLiteral("Ann")), "2024-01-02", 10);
    tiny.addNote(trip, QStringLiteral("first"));

    auto notes = tiny.db->OpenRecordset(QStringLiteral("Note"));
    notes->AddNew();
    notes->setValue(QStringLiteral("TripID"), trip);
    notes->setValue(QStringLiteral("NoteText"), QStringLiteral("second"));
    const platform::AppError error = storeError([&] { notes->Update(); });
    EXPECT_EQ(error.number(), errDuplicateKey);
    EXPECT_TRUE(error.text().contains(QLatin1String("Note"))) << error.text().toStdString();
    // The row stays pending so the user can correct it.
    EXPECT_EQ(notes->editMode(), EditMode::AddNew);
    EXPECT_EQ(notes->value(QStringLiteral("NoteText")).toString(), QStringLiteral("second"));
    EXPECT_EQ(tiny.count(QStringLiteral("Note")), 1);
    EXPECT_EQ(fileProblems(tiny.path), QString());
}

TEST(Constraints, AKeyThatIsNotNumberedByTheStoreNeedsAValue) {
    TinyDb tiny;
    auto notes = tiny.db->OpenRecordset(QStringLiteral("Note"));
    notes->AddNew();
    notes->setValue(QStringLiteral("NoteText"), QStringLiteral("no trip"));
    EXPECT_STORE_ERROR(notes->Update(), errNullInKey);
    EXPECT_EQ(tiny.count(QStringLiteral("Note")), 0);
}

TEST(Constraints, ARowNamingAMissingOwnerIsRefusedNamingTheOwnerTable) {
    TinyDb tiny;
    const qint64 owner = tiny.addOwner(QStringLiteral("Ann"));
    auto trips = tiny.db->OpenRecordset(QStringLiteral("Trip"));
    trips->AddNew();
    trips->setValue(QStringLiteral("OwnerID"), 999);
    const platform::AppError error = storeError([&] { trips->Update(); });
    EXPECT_EQ(error.number(), errRelatedRecordRequired);
    EXPECT_TRUE(error.text().contains(QLatin1String("'Owner'"))) << error.text().toStdString();

    // Corrected, the same pending row saves.
    trips->setValue(QStringLiteral("OwnerID"), owner);
    trips->Update();
    EXPECT_EQ(tiny.count(QStringLiteral("Trip")), 1);

    // Changing a row to name a missing owner is refused the same way.
    auto legs = tiny.db->OpenRecordset(QStringLiteral("Leg"));
    legs->AddNew();
    legs->setValue(QStringLiteral("TripID"), 12345);
    const platform::AppError legError = storeError([&] { legs->Update(); });
    EXPECT_EQ(legError.number(), errRelatedRecordRequired);
    EXPECT_TRUE(legError.text().contains(QLatin1String("'Trip'")));
    EXPECT_EQ(fileProblems(tiny.path), QString());
}

TEST(Constraints, DeletingAnOwnerRemovesItsTripsAndTheirLegsAndNotes) {
    TinyDb tiny;
    const qint64 keep = tiny.addOwner(QStringLiteral("Keep"));
    const qint64 keptTrip = tiny.addTrip(keep, QStringLiteral("2024-02-01"), 1);
    tiny.addLeg(keptTrip, QStringLiteral("K"));
    tiny.addNote(keptTrip, QStringLiteral("kept"));

    const qint64 gone = tiny.addOwner(QStringLiteral("Gone"));
    for (int i = 0; i < 2; ++i) {
        const qint64 trip = tiny.addTrip(gone, QStringLiteral("2024-03-01"), i);
        tiny.addLeg(trip, QStringLiteral("A"));
        tiny.addLeg(trip, QStringLiteral("B"));
        tiny.addNote(trip, QStringLiteral("note"));
    }
    auto owners = tiny.db->OpenRecordset(QStringLiteral("Owner"));
    owners->FindFirst(QStringLiteral("OwnerID = %1").arg(gone));
    ASSERT_FALSE(owners->NoMatch());
    owners->Delete();

    EXPECT_EQ(tiny.count(QStringLiteral("Owner")), 1);
    EXPECT_EQ(tiny.count(QStringLiteral("Trip")), 1);
    EXPECT_EQ(tiny.count(QStringLiteral("Leg")), 1);
    EXPECT_EQ(tiny.count(QStringLiteral("Note")), 1);
    EXPECT_EQ(fileProblems(tiny.path), QString());
}

TEST(Constraints, ARelationWithoutCascadeRefusesToDeleteAnOwnerWithRows) {
    QTemporaryDir dir;
    auto db = Database::CreateDatabase(dir.filePath(QStringLiteral("plain.mdb")),
                                       QString::fromLatin1(dbLangGeneral));
    buildTinySchema(*db);
    TableDef tag = db->CreateTableDef(QStringLiteral("Tag"));
    tag.fields << tag.CreateField(QStringLiteral("OwnerID"), FieldType::Long);
    db->appendTableDef(tag);
    RelationDef relation = db->CreateRelation(QStringLiteral("OwnerTag"), QStringLiteral("Owner"),
                                              QStringLiteral("Tag"), 0);
    relation.fields << FieldDef{QStringLiteral("OwnerID"), FieldType::Long, 0, 0,
                                QStringLiteral("OwnerID")};
    db->appendRelation(relation);

    auto owners = db->OpenRecordset(QStringLiteral("Owner"));
    owners->AddNew();
    owners->Update();
    auto tags = db->OpenRecordset(QStringLiteral("Tag"));
    tags->AddNew();
    tags->setValue(QStringLiteral("OwnerID"), owners->LastModified());
    tags->Update();

    owners->MoveFirst();
    EXPECT_STORE_ERROR(owners->Delete(), errRelatedRecordsExist);
    EXPECT_EQ(owners->RecordCount(), 1);
    EXPECT_NO_THROW(owners->value(QStringLiteral("OwnerName"))); // still current
}

TEST(Constraints, AddingARelationOverRowsThatBreakItIsRefusedAndLeavesTheTable) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("orphans.mdb"));
    auto db = Database::CreateDatabase(path, QString::fromLatin1(dbLangGeneral));
    TableDef parent = db->CreateTableDef(QStringLiteral("Parent"));
    FieldDef key = parent.CreateField(QStringLiteral("ID"), FieldType::Long);
    key.attributes = dbAutoIncrField;
    parent.fields << key;
    db->appendTableDef(parent);
    TableDef child = db->CreateTableDef(QStringLiteral("Child"));
    child.fields << child.CreateField(QStringLiteral("ParentID"), FieldType::Long)
                 << child.CreateField(QStringLiteral("Name"), FieldType::Text, 10);
    db->appendTableDef(child);
    auto rows = db->OpenRecordset(QStringLiteral("Child"));
    rows->AddNew();
    rows->setValue(QStringLiteral("ParentID"), 7);
    rows->setValue(QStringLiteral("Name"), QStringLiteral("orphan"));
    rows->Update();

    RelationDef relation = db->CreateRelation(
        QStringLiteral("ParentChild"), QStringLiteral("Parent"), QStringLiteral("Child"), 4352);
    relation.fields << FieldDef{QStringLiteral("ID"), FieldType::Long, 0, 0,
                                QStringLiteral("ParentID")};
    EXPECT_STORE_ERROR(db->appendRelation(relation), errRelatedRecordRequired);
    EXPECT_TRUE(db->relations().isEmpty());
    rows->Requery();
    EXPECT_EQ(rows->value(QStringLiteral("name")).toString(), QStringLiteral("orphan"));
    // Foreign keys are back on after the failed rebuild.
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db->handle(), "PRAGMA foreign_keys", -1, &stmt, nullptr);
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(stmt, 0), 1);
    sqlite3_finalize(stmt);
    EXPECT_EQ(fileProblems(path), QString());
}

TEST(Constraints, TextComparesWithoutRegardToCase) {
    TinyDb tiny;
    tiny.addOwner(QStringLiteral("beta"));
    tiny.addOwner(QStringLiteral("Alpha"));
    tiny.addOwner(QStringLiteral("ALPHA2"));
    auto owners = tiny.db->OpenRecordset(QStringLiteral("Select * From Owner Order By OwnerName"));
    QStringList names;
    for (owners->MoveFirst(); !owners->isEOF(); owners->MoveNext())
        names << owners->value(QStringLiteral("OwnerName")).toString();
    EXPECT_EQ(names, QStringList({"Alpha", "ALPHA2", "beta"}));
}
