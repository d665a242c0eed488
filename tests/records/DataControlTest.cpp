// The data source control and the controls bound to it, over a real database file.
#include "records/DataControl.h"
#include "records/BoundCheckBox.h"
#include "records/BoundTextBox.h"
#include "store/Database.h"
#include "store/StoreErrors.h"
#include "support/MsgBoxRecorder.h"
#include "values/Currency.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace records;
using namespace store;
using namespace values;

namespace {

QString scalar(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    QString result;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_text(stmt, 0))
        result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return result;
}

class DataControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto db = Database::CreateDatabase(path, QLatin1String(dbLangGeneral));
        TableDef t = db->CreateTableDef(QStringLiteral("Trip"));
        FieldDef key = t.CreateField(QStringLiteral("TripID"), FieldType::Long);
        key.attributes = dbAutoIncrField;
        t.fields << key << t.CreateField(QStringLiteral("Place"), FieldType::Text, 10)
                 << t.CreateField(QStringLiteral("When"), FieldType::Date)
                 << t.CreateField(QStringLiteral("Cost"), FieldType::Currency)
                 << t.CreateField(QStringLiteral("Full"), FieldType::Boolean);
        db->appendTableDef(t);
        auto rs = db->OpenRecordset(QStringLiteral("Trip"));
        for (const char* place : {"Ames", "Boise", "Cody"}) {
            rs->AddNew();
            rs->setValue(QStringLiteral("Place"), QLatin1String(place));
            rs->setValue(QStringLiteral("Cost"), QStringLiteral("12.5"));
            rs->setValue(QStringLiteral("When"), QStringLiteral("3/15/2024"));
            rs->Update();
        }
        data.setDatabaseName(path);
        data.setRecordSource(QStringLiteral("Trip"));
        place.bind(&data, QStringLiteral("Place"));
        when.bind(&data, QStringLiteral("When"));
        cost.bind(&data, QStringLiteral("Cost"));
        full.bind(&data, QStringLiteral("Full"));
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("trips.mdb"));
    DataControl data;
    BoundTextBox place, when, cost;
    BoundCheckBox full{QStringLiteral("Full")};
};

TEST_F(DataControlTest, RefreshShowsTheFirstRowAndSignalsReposition) {
    QSignalSpy reposition(&data, &DataControl::Reposition);
    data.Refresh();
    EXPECT_EQ(reposition.count(), 1);
    EXPECT_EQ(place.text(), QStringLiteral("Ames"));
    // Values show in a form the store reads back unchanged.
    EXPECT_EQ(cost.text(), QStringLiteral("12.5"));
    EXPECT_EQ(when.text(), QStringLiteral("3/15/2024"));
    EXPECT_FALSE(full.isChecked());
    EXPECT_FALSE(place.isChanged());
}

TEST_F(DataControlTest, RefreshAnnouncesTheNewRecordSetAfterItsReposition) {
    data.Refresh();
    const Recordset* before = data.Recordset();
    QStringList order;
    QObject::connect(&data, &DataControl::Reposition, [&] { order << QStringLiteral("move"); });
    QObject::connect(&data, &DataControl::recordsetReplaced, [&] {
        order << QStringLiteral("new");
        EXPECT_NE(data.Recordset(), before); // listeners find the new set in place
        EXPECT_EQ(data.Recordset()->AbsolutePosition(), 0);
    });
    data.Refresh();
    EXPECT_EQ(order, (QStringList{QStringLiteral("move"), QStringLiteral("new")}));
    data.Recordset()->MoveLast();
    EXPECT_EQ(order.size(), 3); // moves alone announce no new set
}

TEST_F(DataControlTest, NavigationButtonsStopAtTheEndsWithoutError) {
    testing_support::MsgBoxRecorder boxes;
    data.Refresh();
    auto* previous = data.findChild<QToolButton*>(QStringLiteral("btnPrevious"));
    auto* next = data.findChild<QToolButton*>(QStringLiteral("btnNext"));
    auto* last = data.findChild<QToolButton*>(QStringLiteral("btnLast"));
    QTest::mouseClick(previous, Qt::LeftButton);
    EXPECT_EQ(place.text(), QStringLiteral("Ames"));
    QTest::mouseClick(last, Qt::LeftButton);
    EXPECT_EQ(place.text(), QStringLiteral("Cody"));
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(place.text(), QStringLiteral("Cody"));
    EXPECT_FALSE(data.Recordset()->isEOF());
    QTest::mouseClick(previous, Qt::LeftButton);
    EXPECT_EQ(place.text(), QStringLiteral("Boise"));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(DataControlTest, AddNewShowsBlankFieldsAndCancelShowsTheRowAgain) {
    data.Refresh();
    QSignalSpy reposition(&data, &DataControl::Reposition);
    data.Recordset()->AddNew();
    EXPECT_TRUE(place.text().isEmpty());
    EXPECT_TRUE(cost.text().isEmpty());
    EXPECT_EQ(data.EditMode(), EditMode::AddNew);
    QTest::keyClicks(&place, "Dover");
    data.Recordset()->CancelUpdate();
    EXPECT_EQ(place.text(), QStringLiteral("Ames"));
    EXPECT_EQ(reposition.count(), 0);
}

TEST_F(DataControlTest, UpdateWritesOnlyWhatWasChanged) {
    data.Refresh();
    data.Recordset()->Edit();
    QTest::keyClicks(&cost, "0"); // 12.5 becomes 12.50: the same amount
    full.setChecked(true);
    data.Recordset()->Update();
    EXPECT_EQ(scalar(path, "select Full from Trip where Place = 'Ames'"), QStringLiteral("-1"));
    EXPECT_EQ(data.Recordset()->value(QStringLiteral("Cost")).value<Currency>().scaled, 125000);
    EXPECT_FALSE(full.isChanged());

    // Another program renames the place; the unchanged box must not write it back.
    sqlite3* other = nullptr;
    sqlite3_open(path.toUtf8().constData(), &other);
    sqlite3_exec(other, "update Trip set Place = 'Zion' where Place = 'Ames'", nullptr, nullptr,
                 nullptr);
    sqlite3_close(other);
    data.Recordset()->Edit();
    full.setChecked(false);
    data.Recordset()->Update();
    EXPECT_EQ(scalar(path, "select Full from Trip where Place = 'Zion'"), QStringLiteral("0"));
}

TEST_F(DataControlTest, ValueThatDoesNotFitFailsTheUpdateAndKeepsTheTypedText) {
    data.Refresh();
    data.Recordset()->Edit();
    place.setText(QStringLiteral("Albuquerque")); // 11 characters, the field holds 10
    try {
        data.Recordset()->Update();
        FAIL() << "an over-long text was stored";
    } catch (const platform::AppError& e) {
        EXPECT_EQ(e.number(), errFieldTooSmall);
        EXPECT_TRUE(e.text().contains(QStringLiteral("Place")));
    }
    EXPECT_EQ(place.text(), QStringLiteral("Albuquerque"));
    EXPECT_EQ(data.EditMode(), EditMode::Edit);
    EXPECT_EQ(scalar(path, "select count(*) from Trip where Place = 'Ames'"), QStringLiteral("1"));
}

TEST_F(DataControlTest, SourcesThatCannotOpenRaiseTheStoreError) {
    data.setRecordSource(QStringLiteral("NoSuchTable"));
    EXPECT_THROW(data.Refresh(), platform::AppError);
    DataControl missing;
    missing.setDatabaseName(dir.filePath(QStringLiteral("gone.mdb")));
    missing.setRecordSource(QStringLiteral("Trip"));
    EXPECT_THROW(missing.Refresh(), platform::AppError);
    EXPECT_THROW(missing.Recordset(), platform::AppError);
}

TEST_F(DataControlTest, EmptySetShowsBlankFieldsAndStillSignalsReposition) {
    data.setRecordSource(QStringLiteral("Select * from Trip where TripID = -1"));
    QSignalSpy reposition(&data, &DataControl::Reposition);
    data.Refresh();
    EXPECT_EQ(reposition.count(), 1);
    EXPECT_TRUE(data.Recordset()->isBOF() && data.Recordset()->isEOF());
    EXPECT_TRUE(place.text().isEmpty());
}

TEST_F(DataControlTest, DeletingTheLastRowLeavesNothingDeletedOnShow) {
    data.setRecordSource(QStringLiteral("Select * from Trip where TripID = 1"));
    data.Refresh();
    QSignalSpy reposition(&data, &DataControl::Reposition);
    data.Recordset()->Delete();
    EXPECT_EQ(reposition.count(), 1);
    EXPECT_TRUE(place.text().isEmpty());
    EXPECT_TRUE(cost.text().isEmpty());
}

TEST_F(DataControlTest, DeleteWithRowsLeftWaitsForTheMove) {
    data.Refresh();
    QSignalSpy reposition(&data, &DataControl::Reposition);
    data.Recordset()->Delete();
    EXPECT_EQ(reposition.count(), 0);
    data.Recordset()->MoveNext();
    EXPECT_EQ(reposition.count(), 1);
    EXPECT_EQ(place.text(), QStringLiteral("Boise"));
}

} // namespace
