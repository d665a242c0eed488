#include "StoreTestSupport.h"

#include "store/StoreErrors.h"
#include "values/Currency.h"

#include <sqlite3.h>

using namespace store;
using namespace values;
using namespace store_test;

namespace {

class EventLog : public RecordsetObserver {
public:
    QStringList events;
    std::function<void()> onAboutToUpdate;
    void aboutToUpdate() override {
        events << QStringLiteral("aboutToUpdate");
        if (onAboutToUpdate)
            onAboutToUpdate();
    }
    void repositioned() override { events << QStringLiteral("repositioned"); }
    void addNewStarted() override { events << QStringLiteral("addNewStarted"); }
    void editCancelled() override { events << QStringLiteral("editCancelled"); }
    void updated() override { events << QStringLiteral("updated"); }
    void deleted() override { events << QStringLiteral("deleted"); }
};

// Five trips of one owner, added out of date order.
struct TripsFixture : ::testing::Test {
    TinyDb tiny;
    qint64 owner = tiny.addOwner(QStringLiteral("Ann"));
    QList<qint64> trips; // in date order
    void SetUp() override {
        const qint64 t3 = tiny.addTrip(owner, QStringLiteral("2024-03-01"), 30);
        const qint64 t1 = tiny.addTrip(owner, QStringLiteral("2024-01-01"), 10);
        const qint64 t5 = tiny.addTrip(owner, QStringLiteral("2024-05-01"), 50);
        const qint64 t2 =
            tiny.addTrip(owner, QStringLiteral("2024-01-01"), 20); // same day, more miles
        const qint64 t4 = tiny.addTrip(owner, QStringLiteral("2024-04-01"), 40);
        trips = {t1, t2, t3, t4, t5};
        tiny.addTrip(tiny.addOwner(QStringLiteral("Other")), QStringLiteral("2024-01-01"), 1);
    }
    std::unique_ptr<Recordset> open() {
        return tiny.db->OpenRecordset(
            QStringLiteral("Select * from trip where OWNERID = %1 Order by TripDate, Miles")
                .arg(owner));
    }
    qint64 key(const Recordset& rs) { return rs.value(QStringLiteral("TripID")).toLongLong(); }
};

} // namespace

TEST_F(TripsFixture, OpensOnTheFirstRowInTheOrderOfTheSelectText) {
    auto rs = open();
    EXPECT_EQ(rs->RecordCount(), 5);
    EXPECT_FALSE(rs->isBOF());
    EXPECT_FALSE(rs->isEOF());
    EXPECT_EQ(rs->AbsolutePosition(), 0);
    QList<qint64> seen;
    for (; !rs->isEOF(); rs->MoveNext())
        seen << key(*rs);
    EXPECT_EQ(seen, trips);
    EXPECT_EQ(rs->AbsolutePosition(), -1);
    EXPECT_EQ(rs->fieldNames(),
              QStringList({"TripDate", "Miles", "Cost", "Done", "TripId", "OwnerID"}));
    EXPECT_EQ(rs->fieldType(QStringLiteral("miles")), FieldType::Single);
    EXPECT_EQ(rs->tableName(), QStringLiteral("Trip"));
}

TEST_F(TripsFixture, FieldsAreReadByNameInAnyLetterCase) {
    auto rs = open();
    EXPECT_EQ(rs->value(QStringLiteral("miles")), rs->value(QStringLiteral("Miles")));
    EXPECT_EQ(rs->value(QStringLiteral("TRIPID")).toLongLong(), trips[0]);
    EXPECT_EQ(rs->value(QStringLiteral("tripDate")).toDateTime(),
              QDateTime(QDate(2024, 1, 1), QTime(0, 0)));
    EXPECT_STORE_ERROR(rs->value(QStringLiteral("Mile")), errItemNotFound);
}

TEST_F(TripsFixture, MovesSetBofAndEofAtTheEndsAndRefuseToGoFurther) {
    auto rs = open();
    rs->MovePrevious();
    EXPECT_TRUE(rs->isBOF());
    EXPECT_FALSE(rs->isEOF());
    EXPECT_EQ(rs->AbsolutePosition(), -1);
    EXPECT_STORE_ERROR(rs->value(QStringLiteral("Miles")), errNoCurrentRecord);
    EXPECT_STORE_ERROR(rs->MovePrevious(), errNoCurrentRecord);
    rs->MoveNext();
    EXPECT_EQ(key(*rs), trips[0]);

    rs->MoveLast();
    EXPECT_EQ(rs->AbsolutePosition(), 4);
    rs->MoveNext();
    EXPECT_TRUE(rs->isEOF());
    EXPECT_STORE_ERROR(rs->MoveNext(), errNoCurrentRecord);
    EXPECT_STORE_ERROR(rs->bookmark(), errNoCurrentRecord);
    rs->MovePrevious();
    EXPECT_EQ(key(*rs), trips[4]);
    EXPECT_STORE_ERROR(rs->value(QStringLiteral("NoSuchField")), errItemNotFound);
}

TEST(Recordset, AnEmptySetHasBofAndEofAndNoCurrentRow) {
    TinyDb tiny;
    auto rs = tiny.db->OpenRecordset(QStringLiteral("Owner"));
    EXPECT_TRUE(rs->isBOF());
    EXPECT_TRUE(rs->isEOF());
    EXPECT_NO_THROW(rs->MoveFirst());
    EXPECT_NO_THROW(rs->MoveLast());
    EXPECT_STORE_ERROR(rs->MoveNext(), errNoCurrentRecord);
    EXPECT_STORE_ERROR(rs->Edit(), errNoCurrentRecord);
    EXPECT_STORE_ERROR(rs->Delete(), errNoCurrentRecord);
    EXPECT_STORE_ERROR(rs->Update(), errUpdateWithoutAddNew);
    EXPECT_STORE_ERROR(rs->CancelUpdate(), errUpdateWithoutAddNew);

    // Adding to an empty set: the pending row reads blank; afterwards the row is there.
    rs->AddNew();
    EXPECT_TRUE(rs->isBOF() && rs->isEOF());
    EXPECT_TRUE(rs->value(QStringLiteral("OwnerName")).isNull());
    rs->setValue(QStringLiteral("OwnerName"), QStringLiteral("First"));
    rs->Update();
    EXPECT_EQ(rs->RecordCount(), 1);
    rs->setBookmark(rs->LastModified());
    EXPECT_EQ(rs->value(QStringLiteral("OwnerName")).toString(), QStringLiteral("First"));
    EXPECT_EQ(rs->AbsolutePosition(), 0);
}

TEST_F(TripsFixture, AddNewAndUpdateKeepThePreviousRowCurrentAndAppendTheNewOne) {
    auto rs = open();
    EventLog log;
    rs->setObserver(&log);
    rs->MoveNext(); // trips[1]
    log.events.clear();

    rs->AddNew();
    EXPECT_EQ(rs->editMode(), EditMode::AddNew);
    rs->setValue(QStringLiteral("OwnerID"), owner);
    rs->setValue(QStringLiteral("TripDate"), QStringLiteral("2023-12-31")); // sorts first
    rs->Update();
    EXPECT_EQ(log.events, QStringList({"addNewStarted", "aboutToUpdate", "updated"}));
    EXPECT_EQ(rs->editMode(), EditMode::None);
    EXPECT_EQ(key(*rs), trips[1]);
    EXPECT_EQ(rs->AbsolutePosition(), 1);
    EXPECT_EQ(rs->RecordCount(), 6);

    const Bookmark added = rs->LastModified();
    EXPECT_GT(added, trips[4]);
    rs->MoveLast(); // the new row waits at the end until the set is read again
    EXPECT_EQ(rs->bookmark(), added);
    rs->Requery();
    EXPECT_EQ(rs->bookmark(), added); // now in date order: first
    EXPECT_EQ(rs->RecordCount(), 6);
}

TEST_F(TripsFixture, EditChangesOnlyTheCurrentRowAndCancelLeavesItAsStored) {
    auto rs = open();
    EventLog log;
    rs->setObserver(&log);
    rs->MoveLast();
    rs->Edit();
    rs->setValue(QStringLiteral("Miles"), QStringLiteral("55.5"));
    EXPECT_FLOAT_EQ(rs->value(QStringLiteral("Miles")).toFloat(), 55.5f);
    rs->CancelUpdate();
    EXPECT_FLOAT_EQ(rs->value(QStringLiteral("Miles")).toFloat(), 50.f);

    rs->Edit();
    rs->setValue(QStringLiteral("Miles"), 60);
    rs->Update();
    EXPECT_EQ(rs->LastModified(), trips[4]);
    EXPECT_FLOAT_EQ(rs->value(QStringLiteral("Miles")).toFloat(), 60.f);
    auto other = open();
    other->MoveLast();
    EXPECT_FLOAT_EQ(other->value(QStringLiteral("Miles")).toFloat(), 60.f);
    other->MovePrevious();
    EXPECT_FLOAT_EQ(other->value(QStringLiteral("Miles")).toFloat(), 40.f);
    EXPECT_EQ(log.events.mid(1), QStringList({"editCancelled", "aboutToUpdate", "updated"}));
}

TEST_F(TripsFixture, ValuesAreWrittenOnlyIntoAPendingRowAndCheckedAtOnce) {
    auto rs = open();
    EXPECT_STORE_ERROR(rs->setValue(QStringLiteral("Miles"), 1), errUpdateWithoutAddNew);
    rs->Edit();
    rs->setValue(QStringLiteral("Miles"), 12);
    EXPECT_STORE_ERROR(rs->setValue(QStringLiteral("Miles"), QStringLiteral("far")),
                       errTypeMismatch);
    EXPECT_FLOAT_EQ(rs->value(QStringLiteral("Miles")).toFloat(), 12.f); // kept the last good value
    EXPECT_STORE_ERROR(rs->setValue(QStringLiteral("TripID"), 99), errInvalidOperation);
    EXPECT_STORE_ERROR(rs->setValue(QStringLiteral("Nothing"), 1), errItemNotFound);
}

TEST_F(TripsFixture, BoundControlsWriteTheirValuesWhenUpdateAsks) {
    auto rs = open();
    EventLog log;
    rs->setObserver(&log);
    log.onAboutToUpdate = [&] { rs->setValue(QStringLiteral("Miles"), 77); };
    rs->Edit();
    rs->Update();
    EXPECT_FLOAT_EQ(rs->value(QStringLiteral("Miles")).toFloat(), 77.f);
}

TEST_F(TripsFixture, DeleteLeavesNoCurrentRowAndTheMovesSkipIt) {
    auto rs = open();
    EventLog log;
    rs->setObserver(&log);
    rs->MoveNext();
    rs->MoveNext(); // trips[2]
    rs->Delete();
    EXPECT_EQ(log.events.last(), QStringLiteral("deleted"));
    EXPECT_EQ(rs->RecordCount(), 4);
    EXPECT_FALSE(rs->isBOF());
    EXPECT_FALSE(rs->isEOF());
    EXPECT_EQ(rs->AbsolutePosition(), -1);
    EXPECT_STORE_ERROR(rs->value(QStringLiteral("Miles")), errNoCurrentRecord);
    rs->MovePrevious(); // the record windows land on the row before
    EXPECT_EQ(key(*rs), trips[1]);
    rs->MoveNext();
    EXPECT_EQ(key(*rs), trips[3]);
    EXPECT_EQ(rs->AbsolutePosition(), 2);
    EXPECT_EQ(tiny.count(QStringLiteral("Trip")), 5);

    // Deleting the first row: moving back goes before the start, then on to the new first.
    rs->MoveFirst();
    rs->Delete();
    rs->MovePrevious();
    EXPECT_TRUE(rs->isBOF());
    EXPECT_FALSE(rs->isEOF());
    EXPECT_EQ(rs->AbsolutePosition(), -1);
    rs->MoveNext();
    EXPECT_EQ(key(*rs), trips[1]);

    // Deleting every row leaves an empty set.
    while (rs->RecordCount() > 0) {
        rs->MoveFirst();
        rs->Delete();
    }
    EXPECT_TRUE(rs->isBOF() && rs->isEOF());
    EXPECT_EQ(fileProblems(tiny.path), QString());
}

TEST_F(TripsFixture, BookmarksAreValidOnClonesWhichShareTheRows) {
    auto rs = open();
    rs->MoveLast();
    rs->MovePrevious();
    const Bookmark mark = rs->bookmark();
    auto clone = rs->Clone();
    clone->setBookmark(mark);
    EXPECT_EQ(key(*clone), trips[3]);
    clone->MovePrevious();
    EXPECT_EQ(key(*clone), trips[2]);
    EXPECT_EQ(key(*rs), trips[3]); // the original did not move

    // A row deleted through the clone is gone for the original too.
    clone->Delete();
    EXPECT_EQ(rs->RecordCount(), 4);
    EXPECT_STORE_ERROR(rs->setBookmark(trips[2]), errInvalidBookmark);
    rs->MovePrevious();
    EXPECT_EQ(key(*rs), trips[1]);
    EXPECT_STORE_ERROR(rs->setBookmark(123456), errInvalidBookmark);
}

TEST_F(TripsFixture, FindFirstTakesTheFieldInAnyCaseAndLeavesTheRowOnNoMatch) {
    auto rs = open();
    EventLog log;
    rs->setObserver(&log);
    rs->MoveLast();
    rs->FindFirst(QStringLiteral("TripID = %1").arg(trips[3]));
    EXPECT_EQ(log.events, QStringList({"repositioned", "repositioned"}));
    rs->FindFirst(QStringLiteral("TripID = 0"));
    EXPECT_EQ(log.events.size(), 2); // no match: no move
    for (const QString& field :
         {QStringLiteral("TripID"), QStringLiteral("TripId"), QStringLiteral("tripid")}) {
        rs->MoveFirst();
        rs->FindFirst(QStringLiteral("%1 = %2").arg(field).arg(trips[3]));
        EXPECT_FALSE(rs->NoMatch());
        EXPECT_EQ(key(*rs), trips[3]);
    }
}

TEST_F(TripsFixture, FindFirstMatchesFirstInSetOrderAndReportsNoMatch) {
    auto rs = open();
    rs->MoveLast();
    rs->FindFirst(QStringLiteral("OwnerID = %1 AND Miles = 20").arg(owner));
    EXPECT_EQ(key(*rs), trips[1]);
    rs->FindFirst(QStringLiteral("ownerid = %1").arg(owner)); // every row matches: the first
    EXPECT_EQ(key(*rs), trips[0]);

    rs->MoveLast();
    rs->FindFirst(QStringLiteral("TripID = 999999"));
    EXPECT_TRUE(rs->NoMatch());
    EXPECT_EQ(key(*rs), trips[4]);
    // A row of the table that is not in this set is no match either.
    rs->FindFirst(QStringLiteral("Miles = 1"));
    EXPECT_TRUE(rs->NoMatch());

    for (const char* bad : {"TripID", "TripID = ", "TripID > 3", "TripID = 'x'", "= 3",
                            "TripID = 3 OR TripID = 4", "TripID = 3; DROP TABLE Trip"})
        EXPECT_STORE_ERROR(rs->FindFirst(QString::fromLatin1(bad)), errSyntaxInExpression) << bad;
    EXPECT_STORE_ERROR(rs->FindFirst(QStringLiteral("Nothing = 3")), errItemNotFound);
    EXPECT_EQ(tiny.count(QStringLiteral("Trip")), 6);
}

TEST_F(TripsFixture, RequeryReadsRowsAddedElsewhereAndLeavesClonesAlone) {
    auto rs = open();
    auto clone = rs->Clone();
    tiny.addTrip(owner, QStringLiteral("2024-06-01"), 60);
    EXPECT_EQ(rs->RecordCount(), 5);
    rs->MoveLast();
    rs->Requery();
    EXPECT_EQ(rs->RecordCount(), 6);
    EXPECT_EQ(rs->AbsolutePosition(), 0);
    EXPECT_EQ(key(*rs), trips[0]);
    EXPECT_EQ(clone->RecordCount(), 5);
}

TEST_F(TripsFixture, ARowDeletedThroughAnotherSetReadsAsNoCurrentRowAndIsNotEdited) {
    auto rs = open();
    auto other = open();
    rs->MoveLast();
    other->MoveLast();
    other->Delete();
    rs->MovePrevious();
    rs->MoveNext(); // back on the row the other set deleted
    EXPECT_STORE_ERROR(rs->value(QStringLiteral("Miles")), errNoCurrentRecord);
    EXPECT_STORE_ERROR(rs->Edit(), errRowDeletedElsewhere);
}

TEST_F(TripsFixture, MovingAwayDropsAPendingRow) {
    auto rs = open();
    rs->AddNew();
    rs->setValue(QStringLiteral("OwnerID"), owner);
    rs->MoveLast();
    EXPECT_EQ(rs->editMode(), EditMode::None);
    EXPECT_EQ(rs->RecordCount(), 5);
    EXPECT_EQ(tiny.count(QStringLiteral("Trip")), 6);
}

TEST(Recordset, ValuesRoundTripThroughTheFile) {
    TinyDb tiny;
    const qint64 owner = tiny.addOwner(QStringLiteral("Ann"));
    auto rs = tiny.db->OpenRecordset(QStringLiteral("Trip"));
    rs->AddNew();
    rs->setValue(QStringLiteral("OwnerID"), owner);
    rs->setValue(QStringLiteral("TripDate"), QStringLiteral("2024-03-15T08:30:00"));
    rs->setValue(QStringLiteral("Cost"), QStringLiteral("12.3456"));
    rs->setValue(QStringLiteral("Done"), true);
    rs->setValue(QStringLiteral("Miles"), QString()); // empty text stores no value
    rs->Update();
    rs->setBookmark(rs->LastModified());
    EXPECT_EQ(rs->value(QStringLiteral("TripDate")).toDateTime(),
              QDateTime(QDate(2024, 3, 15), QTime(8, 30)));
    EXPECT_EQ(rs->value(QStringLiteral("Cost")).value<Currency>().scaled, 123456);
    EXPECT_EQ(rs->value(QStringLiteral("Done")).toBool(), true);
    EXPECT_TRUE(rs->value(QStringLiteral("Miles")).isNull());

    // Stored as the file's other readers expect: true as -1, money as a scaled integer.
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(tiny.db->handle(), "SELECT Done, Cost, typeof(Cost) FROM Trip", -1, &stmt,
                       nullptr);
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(stmt, 0), -1);
    EXPECT_EQ(sqlite3_column_int64(stmt, 1), 123456);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2)), "integer");
    sqlite3_finalize(stmt);
}

TEST(Recordset, SetsReadAndWriteTheirTableAfterItIsRebuiltForANewRelation) {
    // Prepared statements are kept with the database between sets: they must follow
    // the table when a new relation rebuilds it, and be held to the new relation.
    TinyDb tiny;
    const qint64 trip =
        tiny.addTrip(tiny.addOwner(QStringLiteral("Ann")), QStringLiteral("2024-01-02"), 10);
    TableDef stop = tiny.db->CreateTableDef(QStringLiteral("Stop"));
    FieldDef key = stop.CreateField(QStringLiteral("StopID"), FieldType::Long);
    key.attributes = dbAutoIncrField;
    stop.fields << key << stop.CreateField(QStringLiteral("TripID"), FieldType::Long)
                << stop.CreateField(QStringLiteral("Name"), FieldType::Text, 10);
    tiny.db->appendTableDef(stop);

    const auto addStop = [&](Recordset& set, qint64 tripKey, const QString& name) {
        set.AddNew();
        set.setValue(QStringLiteral("TripID"), tripKey);
        set.setValue(QStringLiteral("Name"), name);
        set.Update();
        set.setBookmark(set.LastModified());
        return set.value(QStringLiteral("Name")).toString();
    };
    auto stops = tiny.db->OpenRecordset(QStringLiteral("Stop"));
    EXPECT_EQ(addStop(*stops, trip, QStringLiteral("Depot")), QStringLiteral("Depot"));

    RelationDef relation = tiny.db->CreateRelation(
        QStringLiteral("TripStop"), QStringLiteral("Trip"), QStringLiteral("Stop"),
        dbRelationUpdateCascade | dbRelationDeleteCascade);
    relation.fields << relation.CreateField(QStringLiteral("TripID"));
    tiny.db->appendRelation(relation);

    EXPECT_EQ(addStop(*stops, trip, QStringLiteral("Market")), QStringLiteral("Market"));
    stops->MoveFirst();
    EXPECT_EQ(stops->value(QStringLiteral("Name")).toString(), QStringLiteral("Depot"));
    auto again = tiny.db->OpenRecordset(QStringLiteral("Stop"));
    EXPECT_EQ(again->RecordCount(), 2);
    EXPECT_STORE_ERROR(addStop(*again, trip + 100, QStringLiteral("Nowhere")),
                       errRelatedRecordRequired);
    EXPECT_EQ(tiny.count(QStringLiteral("Stop")), 2);
    EXPECT_EQ(fileProblems(tiny.path), QString());
}

// A Yes/No field holds Yes or No: a new row starts as No and is stored so, a value
// taken away is No, and an empty value another tool left in the file reads as No.
TEST_F(TripsFixture, AYesNoFieldIsNeverEmpty) {
    const auto storedDone = [&](qint64 trip) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(tiny.db->handle(), "SELECT quote(Done) FROM Trip WHERE TripId = ?", -1,
                           &stmt, nullptr);
        sqlite3_bind_int64(stmt, 1, trip);
        const QString text =
            sqlite3_step(stmt) == SQLITE_ROW
                ? QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)))
                : QStringLiteral("no row");
        sqlite3_finalize(stmt);
        return text;
    };
    auto rs = open();
    rs->AddNew();
    EXPECT_EQ(rs->value(QStringLiteral("Done")), QVariant(false));
    rs->setValue(QStringLiteral("OwnerID"), owner);
    rs->Update();
    EXPECT_EQ(storedDone(rs->LastModified()), QStringLiteral("0"));

    rs->setBookmark(rs->LastModified());
    rs->Edit();
    rs->setValue(QStringLiteral("Done"), true);
    rs->Update();
    EXPECT_EQ(storedDone(rs->LastModified()), QStringLiteral("-1"));
    rs->Edit();
    rs->setValue(QStringLiteral("Done"), QString());
    rs->Update();
    EXPECT_EQ(storedDone(rs->LastModified()), QStringLiteral("0"));

    ASSERT_EQ(
        sqlite3_exec(tiny.db->handle(), "UPDATE Trip SET Done = NULL", nullptr, nullptr, nullptr),
        SQLITE_OK);
    rs->Requery();
    EXPECT_EQ(rs->value(QStringLiteral("Done")), QVariant(false));
}
