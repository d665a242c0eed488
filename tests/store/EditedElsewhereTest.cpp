// Two copies of the program on one file: each has its own connection, and a save from
// one never silently undoes what the other stored meanwhile.
#include "StoreTestSupport.h"

#include "store/Statement.h"
#include "store/StoreErrors.h"

#include <QElapsedTimer>
#include <sqlite3.h>

using namespace store;
using namespace store_test;

namespace {

// The other copy of the program: a connection of its own to the same file.
struct OtherCopy {
    explicit OtherCopy(const QString& path) : db(Database::OpenDatabase(path)) {}
    std::shared_ptr<Database> db;

    std::unique_ptr<Recordset> open(qint64 trip) const {
        return db->OpenRecordset(QStringLiteral("Select * from Trip where TripID = %1").arg(trip));
    }
    // Edits one field of the trip through the other copy's own record set.
    void setTrip(qint64 trip, const QString& field, const QVariant& value) {
        auto rs = open(trip);
        rs->Edit();
        rs->setValue(field, value);
        rs->Update();
    }
    QVariant read(qint64 trip, const char* field) const {
        return open(trip)->value(QLatin1String(field));
    }
    void deleteTrip(qint64 trip) {
        auto rs = open(trip);
        rs->Delete();
    }
};

struct EditedElsewhereTest : ::testing::Test {
    TinyDb tiny;
    qint64 owner = tiny.addOwner(QStringLiteral("Ann"));
    qint64 trip = tiny.addTrip(owner, QStringLiteral("2024-03-01"), 30);
    OtherCopy other{tiny.path};

    std::unique_ptr<Recordset> openTrip() const {
        return tiny.db->OpenRecordset(
            QStringLiteral("Select * from Trip where TripID = %1").arg(trip));
    }
    QString stored(const char* column) const {
        Statement probe(tiny.db->handle(), QStringLiteral("SELECT %1 FROM Trip WHERE TripID = %2")
                                               .arg(QLatin1String(column))
                                               .arg(trip));
        return probe.step() == SQLITE_ROW ? probe.column(0).toString() : QStringLiteral("<gone>");
    }
};

// What the other copy does between this copy's Edit and Update, and whether this
// copy's change of Miles may still be saved.
struct Meanwhile {
    const char* name;
    const char* field;
    QVariant value;
    bool refused;
    friend void PrintTo(const Meanwhile& m, std::ostream* os) { *os << m.name; }
};

class ChangedMeanwhileTest : public EditedElsewhereTest,
                             public ::testing::WithParamInterface<Meanwhile> {};

TEST_P(ChangedMeanwhileTest, UpdateIsRefusedWhenTheStoredRowDiffersFromTheEditedOne) {
    const Meanwhile& meanwhile = GetParam();
    auto rs = openTrip();
    rs->Edit();
    rs->setValue(QStringLiteral("Miles"), 99);
    other.setTrip(trip, QLatin1String(meanwhile.field), meanwhile.value);
    const QString theirs = stored(meanwhile.field);

    if (!meanwhile.refused) {
        rs->Update();
        EXPECT_EQ(stored("Miles"), QStringLiteral("99"));
        return;
    }
    const platform::AppError error = storeError([&] { rs->Update(); });
    EXPECT_EQ(error.number(), errRowChangedElsewhere);
    EXPECT_TRUE(error.text().contains(QLatin1String("changed elsewhere")))
        << error.text().toStdString();
    EXPECT_EQ(stored(meanwhile.field), theirs) << "the other copy's value was written over";
    EXPECT_EQ(rs->editMode(), EditMode::Edit) << "the typed row is kept";
    EXPECT_EQ(rs->value(QStringLiteral("Miles")).toFloat(), 99.0f);
    // A second try is refused the same way: the row must be read again first.
    EXPECT_STORE_ERROR(rs->Update(), errRowChangedElsewhere);

    rs->CancelUpdate(); // shows the row as the other copy left it
    EXPECT_EQ(rs->value(QLatin1String(meanwhile.field)), other.read(trip, meanwhile.field));
    rs->Edit();
    rs->setValue(QStringLiteral("Miles"), 99);
    rs->Update();
    EXPECT_EQ(stored("Miles"), QStringLiteral("99"));
    if (QLatin1String(meanwhile.field) != QLatin1String("Miles")) {
        EXPECT_EQ(stored(meanwhile.field), theirs) << "the newer value survives the next save";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryKindOfChange, ChangedMeanwhileTest,
                         ::testing::Values(Meanwhile{"SameField", "Miles", 31, true},
                                           Meanwhile{"OtherField", "Cost", QStringLiteral("12.5"),
                                                     true},
                                           Meanwhile{"YesNoField", "Done", true, true},
                                           Meanwhile{"ValueToNull", "TripDate", QVariant(), true},
                                           Meanwhile{"ChangedToTheSameValue", "Miles", 30, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditedElsewhereTest, RowDeletedByTheOtherCopyIsSaidToBeDeletedAtUpdateAndAtEdit) {
    tiny.addLeg(trip, QStringLiteral("Here"));
    auto rs = openTrip();
    rs->Edit();
    rs->setValue(QStringLiteral("Miles"), 99);
    other.deleteTrip(trip); // its legs go with it
    const platform::AppError error = storeError([&] { rs->Update(); });
    EXPECT_EQ(error.number(), errRowDeletedElsewhere);
    EXPECT_TRUE(error.text().contains(QLatin1String("deleted elsewhere")))
        << error.text().toStdString();
    EXPECT_EQ(stored("Miles"), QStringLiteral("<gone>")) << "the row came back";
    EXPECT_EQ(tiny.count(QStringLiteral("Trip")), 0);

    const qint64 second = tiny.addTrip(owner, QStringLiteral("2024-04-01"), 40);
    auto both = tiny.db->OpenRecordset(
        QStringLiteral("Select * from Trip where OwnerID = %1 order by TripDate").arg(owner));
    other.deleteTrip(second);
    both->MoveLast();
    EXPECT_STORE_ERROR(both->Edit(), errRowDeletedElsewhere);
    // With nothing typed there is nothing to write, but still no row to save.
    EXPECT_EQ(both->editMode(), EditMode::None);
    EXPECT_EQ(tiny.count(QStringLiteral("Trip")), 0);
}

TEST_F(EditedElsewhereTest, UnchangedSaveOfARowDeletedElsewhereIsRefusedToo) {
    auto rs = openTrip();
    rs->Edit();
    other.deleteTrip(trip);
    EXPECT_STORE_ERROR(rs->Update(), errRowDeletedElsewhere);
    EXPECT_EQ(tiny.count(QStringLiteral("Trip")), 0);
}

TEST_F(EditedElsewhereTest, UnchangedSaveOfARowChangedElsewhereKeepsAndShowsTheNewerRow) {
    auto rs = openTrip();
    rs->Edit();
    other.setTrip(trip, QStringLiteral("Miles"), 31);
    rs->Update(); // nothing typed: nothing is written over
    EXPECT_EQ(stored("Miles"), QStringLiteral("31"));
    EXPECT_EQ(rs->value(QStringLiteral("Miles")).toFloat(), 31.0f);
}

TEST_F(EditedElsewhereTest, NewRowsAreSavedWhateverTheOtherCopyDidMeanwhile) {
    auto rs = openTrip();
    rs->AddNew();
    rs->setValue(QStringLiteral("OwnerID"), owner);
    rs->setValue(QStringLiteral("Miles"), 5);
    other.setTrip(trip, QStringLiteral("Miles"), 31);
    other.deleteTrip(trip);
    rs->Update();
    EXPECT_EQ(tiny.count(QStringLiteral("Trip")), 1);
}

// The other copy in the middle of its own write: the save waits the connection's busy
// time, then is refused with the lock named, and the typed row stays for another try.
TEST_F(EditedElsewhereTest, SaveDuringTheOtherCopysWriteIsRefusedAndKeepsTheTypedRow) {
    auto rs = openTrip();
    rs->Edit();
    rs->setValue(QStringLiteral("Miles"), 99);
    ASSERT_EQ(sqlite3_exec(other.db->handle(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr),
              SQLITE_OK);
    QElapsedTimer waited;
    waited.start();
    const platform::AppError error = storeError([&] { rs->Update(); });
    const qint64 ms = waited.elapsed();
    EXPECT_EQ(error.number(), errLocked);
    EXPECT_TRUE(error.text().contains(QLatin1String("in use by another program")))
        << error.text().toStdString();
    EXPECT_LT(ms, 5000) << "the window froze for " << ms << " ms";
    EXPECT_EQ(rs->editMode(), EditMode::Edit);
    EXPECT_EQ(rs->value(QStringLiteral("Miles")).toFloat(), 99.0f);

    ASSERT_EQ(sqlite3_exec(other.db->handle(), "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    rs->Update();
    EXPECT_EQ(stored("Miles"), QStringLiteral("99"));
}

} // namespace
