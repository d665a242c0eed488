// The program open twice on one file: while a row is being edited in one copy, the
// other copy (a connection of its own to the same file) changes it, deletes it or is in
// the middle of a write. In each record window the save then says so and loses nothing.
#include "RecordWindowTestSupport.h"

#include "records/frmGas.h"
#include "records/frmWorkOrder.h"
#include "store/StoreErrors.h"
#include "support/UnwritableFile.h"

#include <QComboBox>
#include <QGroupBox>
#include <optional>

using namespace records_test;
using namespace store;

namespace {

enum class Window { Vehicles, Fuel, WorkOrders };
enum class Meanwhile { Changed, Deleted, Locked };

// One window's part: the box the test types into, the column behind it, and the value
// the other copy stores there.
struct WindowUnderTest {
    records::RecordWindow* window = nullptr;
    QPushButton* cmdEdit = nullptr;
    QPushButton* cmdUpdate = nullptr;
    QPushButton* cmdCancel = nullptr;
    QGroupBox* Frame1 = nullptr;
    records::DataControl* Data1 = nullptr;
    QLineEdit* box = nullptr;
    const char* table = "";
    const char* column = "";
    const char* key = "";
    QString typed;
    QString theirs; // as the box shows the other copy's value
};

class EditedElsewhereTest : public RecordWindowTest,
                            public ::testing::WithParamInterface<std::tuple<Window, Meanwhile>> {
protected:
    void SetUp() override {
        RecordWindowTest::SetUp();
        addVehicles({"Alpha", "Bravo"});
        execute(path, "INSERT INTO Fuel (VehicleID, FuelDate, FuelGals) VALUES "
                      "(1, '2024-01-01 00:00:00', 10), (1, '2024-02-01 00:00:00', 11);"
                      "INSERT INTO WorkOrder (VehicleID, Mileage, Date) VALUES "
                      "(1, 1000, '2024-01-10 00:00:00'), (1, 2000, '2024-02-10 00:00:00');");
    }

    Meanwhile meanwhile() const { return std::get<1>(GetParam()); }

    // Opens the window on its second row (the last, shown first) and starts editing it.
    WindowUnderTest openAndEdit() {
        showFrame();
        WindowUnderTest w;
        switch (std::get<0>(GetParam())) {
        case Window::Vehicles: {
            item("mnuVehicleInformation")->trigger();
            auto* v = qobject_cast<records::frmVehicleInfo*>(
                form->openChildWindow(shell::ChildWindow::VehicleInformation));
            w = {v,
                 v->cmdEdit,
                 v->cmdUpdate,
                 v->cmdCancel,
                 v->Frame1,
                 v->Data1,
                 v->txtMake,
                 "VehicleInfo",
                 "VehicleMake",
                 "VehicleID",
                 QStringLiteral("Saab"),
                 QStringLiteral("Volvo")};
            break;
        }
        case Window::Fuel: {
            item("mnuGasPurchases")->trigger();
            auto* g = qobject_cast<records::frmGas*>(
                form->openChildWindow(shell::ChildWindow::GasPurchases));
            g->cboVehicleID->setCurrentIndex(0);
            w = {g,          g->cmdEdit, g->cmdUpdate,         g->cmdCancel,
                 g->Frame1,  g->Data1,   g->txtGals,           "Fuel",
                 "FuelGals", "FuelId",   QStringLiteral("12"), QStringLiteral("15")};
            break;
        }
        case Window::WorkOrders: {
            item("mnuServiceRecords")->trigger();
            auto* o = qobject_cast<records::frmWorkOrder*>(
                form->openChildWindow(shell::ChildWindow::ServiceRecords));
            o->cboVehicleID->setCurrentIndex(0);
            emit o->cboVehicleID->activated(0);
            w = {o,
                 o->cmdEdit,
                 o->cmdUpdate,
                 o->cmdCancel,
                 o->Frame1,
                 o->Data1,
                 o->txtMiles,
                 "WorkOrder",
                 "Mileage",
                 "WorkOrderID",
                 QStringLiteral("21000"),
                 QStringLiteral("15")};
            break;
        }
        }
        EXPECT_NE(w.window, nullptr);
        if (!w.window)
            return w;
        EXPECT_EQ(w.Data1->Caption(), QStringLiteral("Record 2 of 2"));
        click(w.cmdEdit);
        retype(w.box, w.typed);
        return w;
    }

    QString stored(const WindowUnderTest& w) const {
        return scalar(path, QByteArray("SELECT ifnull(") + w.column + ", '-') FROM " + w.table +
                                " WHERE " + w.key + " = 2");
    }

    void expectStillEditing(const WindowUnderTest& w) {
        EXPECT_EQ(usableButtons(*w.window), (QStringList{"cmdCancel", "cmdUpdate"}));
        EXPECT_EQ(w.box->text(), w.typed) << "what was typed stays";
        EXPECT_TRUE(w.Frame1->isEnabled());
        EXPECT_FALSE(w.Data1->isEnabled());
        EXPECT_EQ(w.Data1->EditMode(), EditMode::Edit);
        expectCloseRefused();
    }
};

TEST_P(EditedElsewhereTest, SaveSaysWhatTheOtherCopyDidAndLosesNothing) {
    WindowUnderTest w = openAndEdit();
    ASSERT_NE(w.window, nullptr);
    ASSERT_EQ(boxes.count(), 0);
    const QByteArray where = QByteArray(" WHERE ") + w.key + " = 2";
    std::optional<testing_support::LockedFile> locked;
    switch (meanwhile()) {
    case Meanwhile::Changed:
        execute(path, (QByteArray("UPDATE ") + w.table + " SET " + w.column + " = '" +
                       w.theirs.toUtf8() + "'" + where)
                          .constData());
        break;
    case Meanwhile::Deleted:
        execute(path, (QByteArray("DELETE FROM ") + w.table + where).constData());
        break;
    case Meanwhile::Locked:
        locked.emplace(path);
        ASSERT_TRUE(locked->held());
        break;
    }
    click(w.cmdUpdate);
    ASSERT_EQ(boxes.count(), 1);

    switch (meanwhile()) {
    case Meanwhile::Changed:
        expectErrorBox(errRowChangedElsewhere, QStringLiteral("changed elsewhere"));
        expectStillEditing(w);
        EXPECT_EQ(stored(w), w.theirs) << "the other copy's value was written over";
        // Cancel shows the row as the other copy left it.
        boxes.clear();
        click(w.cmdCancel);
        EXPECT_EQ(boxes.count(), 0);
        EXPECT_EQ(w.box->text(), w.theirs);
        expectCloseAllowed();
        break;
    case Meanwhile::Deleted:
        expectErrorBox(errRowDeletedElsewhere, QStringLiteral("deleted elsewhere"));
        // The rows that remain, browsing: no "no current row" box follows.
        EXPECT_EQ(usableButtons(*w.window),
                  (QStringList{"cmdAdd", "cmdClose", "cmdDelete", "cmdEdit"}));
        EXPECT_EQ(w.Data1->Caption(), QStringLiteral("Record 1 of 1"));
        EXPECT_EQ(w.Data1->EditMode(), EditMode::None);
        expectCloseAllowed();
        EXPECT_EQ(count(w.table), 1) << "the deleted row came back";
        break;
    case Meanwhile::Locked:
        expectErrorBox(errLocked, path);
        expectStillEditing(w);
        // Once the other copy lets go, the same Update saves.
        locked->release();
        boxes.clear();
        click(w.cmdUpdate);
        EXPECT_EQ(boxes.count(), 0) << (boxes.count() ? boxes.last().prompt.toStdString() : "");
        EXPECT_EQ(stored(w), w.typed);
        expectCloseAllowed();
        break;
    }
    expectFileConsistent();
}

std::string nameOf(const ::testing::TestParamInfo<std::tuple<Window, Meanwhile>>& info) {
    const char* const windows[] = {"Vehicles", "Fuel", "WorkOrders"};
    const char* const meanwhile[] = {"Changed", "Deleted", "Locked"};
    return std::string(windows[int(std::get<0>(info.param))]) +
           meanwhile[int(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(
    EveryWindow, EditedElsewhereTest,
    ::testing::Combine(::testing::Values(Window::Vehicles, Window::Fuel, Window::WorkOrders),
                       ::testing::Values(Meanwhile::Changed, Meanwhile::Deleted,
                                         Meanwhile::Locked)),
    nameOf);

} // namespace
