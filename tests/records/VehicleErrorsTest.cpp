// What the vehicle window does with values the file cannot hold, with files made by
// other programs and with failures of the store in every handler.
#include "VehicleWindowFixture.h"

#include "store/Schema.h"
#include "store/StoreErrors.h"

using namespace records_test;
using namespace store;

namespace {

class VehicleErrorsTest : public VehicleWindowTest {
protected:
    // A file made by another program: the program's tables and fields (VehicleInfo
    // with or without its serial number), keyed, with one relation, from VehicleInfo
    // to Fuel, that may or may not cascade.
    void useForeignFile(bool withSerial, int fuelRelation) {
        path = dir.filePath(QStringLiteral("other.mdb"));
        auto db = Database::CreateDatabase(path, QLatin1String(dbLangGeneral));
        for (const schema::TableLayout& layout : schema::tables()) {
            TableDef table = db->CreateTableDef(QLatin1String(layout.name));
            for (const schema::FieldLayout& wanted : layout.fields) {
                if (!withSerial && qstrcmp(wanted.name, "VehicleSerialNum") == 0)
                    continue;
                FieldDef field =
                    table.CreateField(QLatin1String(wanted.name), wanted.type, wanted.size);
                if (wanted.autoIncrement)
                    field.attributes = dbAutoIncrField;
                table.fields << field;
            }
            db->appendTableDef(table);
            IndexDef primary = table.CreateIndex(QStringLiteral("PrimaryKey"));
            primary.fields << QLatin1String(layout.keyField);
            primary.primary = primary.unique = true;
            db->appendIndex(table.name, primary);
        }
        RelationDef relation =
            db->CreateRelation(QStringLiteral("VehicleInfoFuel"), QStringLiteral("VehicleInfo"),
                               QStringLiteral("Fuel"), fuelRelation);
        relation.fields << relation.CreateField(QStringLiteral("VehicleID"));
        relation.field(QStringLiteral("VehicleID"))->foreignName = QStringLiteral("VehicleID");
        db->appendRelation(relation);
    }

    // Starts a new row with a good look-up text and puts one value into one box.
    void addWith(QLineEdit* box, const QString& text) {
        click(window->cmdAdd);
        typeFromFocus({"Good"});
        retype(box, text);
        click(window->cmdUpdate);
    }
};

} // namespace

TEST_F(VehicleErrorsTest, ValueTheFieldCannotHoldIsReportedAndKeptForCorrection) {
    addVehicles({"Alpha"});
    open();
    const struct {
        QLineEdit* box;
        QString text;
        int number;
        const char* field;
    } cases[] = {
        {window->txtYear, QStringLiteral("abc"), errTypeMismatch, "VehicleYear"},
        {window->txtYear, QStringLiteral("40000"), errOverflow, "VehicleYear"},
        {window->txtLookUp, QStringLiteral("ABCDEFGHIJK"), errFieldTooSmall, "VehicleLookup"},
        {window->txtSerialNum, QString(26, QLatin1Char('S')), errFieldTooSmall, "VehicleSerialNum"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        boxes.clear();
        addWith(c.box, c.text);
        ASSERT_EQ(boxes.count(), 1);
        expectErrorBox(c.number, QLatin1String(c.field));
        expectEditing();                  // still adding ...
        EXPECT_EQ(c.box->text(), c.text); // ... with what was typed still there
        EXPECT_EQ(window->Data1->EditMode(), EditMode::AddNew) << "the new row is still pending";
        expectCloseRefused();
        EXPECT_EQ(count("VehicleInfo"), 1);
        expectFileConsistent();
        click(window->cmdCancel);
        expectBrowse();
        EXPECT_EQ(window->txtLookUp->text(), QStringLiteral("Alpha"));
    }
}

// A change the file refuses keeps the window editing; Cancel puts the row back as stored.
TEST_F(VehicleErrorsTest, RefusedChangeIsKeptUntilCancelled) {
    addVehicles({"Alpha", "Bravo"});
    open();
    click(window->cmdEdit);
    retype(window->txtMake, QStringLiteral("Saab"));
    retype(window->txtYear, QStringLiteral("40000"));
    click(window->cmdUpdate);
    ASSERT_EQ(boxes.count(), 1);
    expectErrorBox(errOverflow, QStringLiteral("VehicleYear"));
    expectEditing();
    EXPECT_EQ(window->Data1->EditMode(), EditMode::Edit);
    EXPECT_EQ(window->txtMake->text(), QStringLiteral("Saab"));
    expectCloseRefused();

    click(window->cmdCancel);
    expectBrowse();
    expectCloseAllowed();
    EXPECT_EQ(window->txtMake->text(), QString());
    EXPECT_EQ(window->txtYear->text(), QStringLiteral("2002"));
    EXPECT_EQ(scalar(path, "SELECT ifnull(VehicleMake, '-') || '/' || VehicleYear FROM "
                           "VehicleInfo WHERE VehicleLookup = 'Bravo'"),
              QStringLiteral("-/2002"));
}

TEST_F(VehicleErrorsTest, EmptyLookUpStoresTheRowWithNoValue) {
    open();
    click(window->cmdAdd);
    typeFromFocus({"", "Volvo", "", "", QString(25, QLatin1Char('9'))});
    click(window->cmdUpdate);
    EXPECT_EQ(boxes.count(), 0);
    expectBrowse();
    EXPECT_EQ(scalar(path, "SELECT (VehicleLookup IS NULL) || (VehicleYear IS NULL) || "
                           "length(VehicleSerialNum) FROM VehicleInfo"),
              QStringLiteral("1125"));
}

TEST_F(VehicleErrorsTest, FailedAddLeavesNothingButTheLabels) {
    useForeignFile(true, dbRelationDeleteCascade);
    open();
    // Another program takes a field away while the window is open; the window reads
    // the table again.
    execute(path, "ALTER TABLE VehicleInfo DROP COLUMN VehicleSerialNum");
    window->Data1->Refresh();
    expectEmpty(false);
    click(window->cmdAdd);
    ASSERT_EQ(boxes.count(), 1);
    expectErrorBox(errItemNotFound, QStringLiteral("VehicleSerialNum"));
    EXPECT_EQ(usable(), QStringList());
    for (QPushButton* b : {window->cmdAdd, window->cmdEdit, window->cmdDelete, window->cmdClose})
        EXPECT_TRUE(b->isVisible() && !b->isEnabled()) << b->objectName().toStdString();
    EXPECT_FALSE(window->Frame1->isEnabled());
    EXPECT_FALSE(window->Data1->isEnabled());
    for (QLabel* label : window->Label1)
        EXPECT_TRUE(label->isEnabledTo(window->Frame1)) << "labels keep their own state";
    expectCloseAllowed(); // the window goes with the main window
}

// Another program deleted the row on show: Edit says so and the window shows the rows
// that remain.
TEST_F(VehicleErrorsTest, EditOfARowDeletedElsewhereIsReportedAndTheRowsLeftAreShown) {
    addVehicles({"Alpha", "Bravo"});
    open();
    execute(path, "DELETE FROM VehicleInfo WHERE VehicleLookup = 'Bravo'"); // another program
    click(window->cmdEdit);
    ASSERT_EQ(boxes.count(), 1);
    expectErrorBox(errRowDeletedElsewhere, QStringLiteral("deleted elsewhere"));
    expectBrowse();
    expectCloseAllowed();
    EXPECT_EQ(caption(), QStringLiteral("Record 1 of 1"));
    EXPECT_EQ(window->txtLookUp->text(), QStringLiteral("Alpha"));
}

TEST_F(VehicleErrorsTest, RefusedDeleteIsReportedAndChangesNothing) {
    useForeignFile(true, 0);
    addVehicles({"Alpha", "Bravo"});
    execute(path, "INSERT INTO Fuel (VehicleID) VALUES (2)");
    open();
    click(window->cmdDelete);
    ASSERT_EQ(boxes.count(), 2);
    EXPECT_EQ(boxes.boxes()[0].title, QStringLiteral("Delete Record?"));
    expectErrorBox(errRelatedRecordsExist, QString());
    expectBrowse();
    EXPECT_EQ(caption(), QStringLiteral("Record 2 of 2"));
    EXPECT_EQ(window->txtLookUp->text(), QStringLiteral("Bravo"));
    EXPECT_EQ(count("VehicleInfo"), 2);
    expectFileConsistent();
}

// After a refused new row is cancelled, Edit works on the current vehicle as stored:
// what was typed for the new row must not be written over it.
TEST_F(VehicleErrorsTest, EditAfterACancelledFailedAddShowsAndKeepsTheCurrentRow) {
    addVehicles({"Alpha"});
    open();
    click(window->cmdAdd);
    typeFromFocus({"Ghost", "Tesla"});
    retype(window->txtYear, QStringLiteral("abc"));
    click(window->cmdUpdate);
    ASSERT_EQ(boxes.count(), 1);

    click(window->cmdCancel);
    click(window->cmdEdit);
    EXPECT_EQ(window->txtLookUp->text(), QStringLiteral("Alpha"));
    EXPECT_EQ(window->txtYear->text(), QStringLiteral("2001"));
    click(window->cmdUpdate);
    expectBrowse();
    EXPECT_EQ(boxes.count(), 1);
    EXPECT_EQ(scalar(path, "SELECT VehicleLookup || '/' || VehicleYear || '/' || "
                           "ifnull(VehicleMake, '-') FROM VehicleInfo"),
              QStringLiteral("Alpha/2001/-"));
    EXPECT_EQ(count("VehicleInfo"), 1);
}

// Another program deletes the row being edited: Update cannot save it and says so, and
// the window shows the rows that remain, so that the program can close.
TEST_F(VehicleErrorsTest, RowDeletedWhileEditedIsReportedAndTheRowsLeftAreShown) {
    addVehicles({"Alpha", "Bravo"});
    open();
    click(window->cmdEdit);
    retype(window->txtMake, QStringLiteral("Saab"));
    execute(path, "DELETE FROM VehicleInfo WHERE VehicleLookup = 'Bravo'");
    click(window->cmdUpdate);
    ASSERT_EQ(boxes.count(), 1);
    expectErrorBox(errRowDeletedElsewhere, QStringLiteral("deleted elsewhere"));
    expectBrowse();
    expectCloseAllowed();
    EXPECT_EQ(caption(), QStringLiteral("Record 1 of 1"));
    EXPECT_EQ(window->txtLookUp->text(), QStringLiteral("Alpha"));
    EXPECT_EQ(count("VehicleInfo"), 1);
    EXPECT_EQ(scalar(path, "SELECT ifnull(VehicleMake, '-') FROM VehicleInfo"),
              QStringLiteral("-"));
}
