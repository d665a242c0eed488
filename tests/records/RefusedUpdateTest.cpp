// A new row whose save is refused, in each record window and for each reason the file
// gives: the error box, then the window still adding, with what was typed on show, only
// Update and Cancel usable, no navigation and the close lock held; once the reason is
// gone, the same Update stores the row once.
#include "RecordWindowTestSupport.h"

#include "records/frmGas.h"
#include "records/frmWorkOrder.h"
#include "store/StoreErrors.h"
#include "store/crash/ShimVfs.h"
#include "support/UnwritableFile.h"

#include <QComboBox>
#include <QGroupBox>
#include <QTabWidget>
#include <cerrno>
#include <memory>
#include <optional>

using namespace records_test;
using namespace store;

namespace {

enum class Window { Vehicles, Fuel, WorkOrders };
enum class Reason { BadValue, Locked, ReadOnly, DiskFull };

// One window's part: how to open it and start a row, the box the test types into, and
// a good and a bad value for it.
struct WindowUnderTest {
    records::RecordWindow* window = nullptr;
    QPushButton* cmdUpdate = nullptr;
    QGroupBox* Frame1 = nullptr;
    records::DataControl* Data1 = nullptr;
    QTabWidget* tabs = nullptr; // the work order's details
    QLineEdit* box = nullptr;
    QString good;
    QString bad;
    const char* badField = "";
    const char* table = "";
};

class RefusedUpdateTest : public RecordWindowTest,
                          public ::testing::WithParamInterface<std::tuple<Window, Reason>> {
protected:
    void SetUp() override {
        RecordWindowTest::SetUp();
        // The connections the windows open go through the layer that can fill the disk.
        if (reason() == Reason::DiskFull)
            crash::shim::install();
        addVehicles({"Alpha"});
    }
    void TearDown() override {
        RecordWindowTest::TearDown(); // the windows and their connections go first
        crash::shim::uninstall();
    }

    Reason reason() const { return std::get<1>(GetParam()); }

    // Opens the window (picking Alpha where rows belong to a vehicle) and starts a row.
    WindowUnderTest openAndAdd() {
        showFrame();
        WindowUnderTest w;
        switch (std::get<0>(GetParam())) {
        case Window::Vehicles: {
            item("mnuVehicleInformation")->trigger();
            auto* v = qobject_cast<records::frmVehicleInfo*>(
                form->openChildWindow(shell::ChildWindow::VehicleInformation));
            click(v->cmdAdd);
            retype(v->txtLookUp, QStringLiteral("Bravo"));
            w = {.window = v,
                 .cmdUpdate = v->cmdUpdate,
                 .Frame1 = v->Frame1,
                 .Data1 = v->Data1,
                 .box = v->txtYear,
                 .good = QStringLiteral("2012"),
                 .bad = QStringLiteral("abc"),
                 .badField = "VehicleYear",
                 .table = "VehicleInfo"};
            break;
        }
        case Window::Fuel: {
            item("mnuGasPurchases")->trigger();
            auto* g = qobject_cast<records::frmGas*>(
                form->openChildWindow(shell::ChildWindow::GasPurchases));
            g->cboVehicleID->setCurrentIndex(0);
            click(g->cmdAdd);
            retype(g->txtDate, QStringLiteral("1/5/2024"));
            w = {.window = g,
                 .cmdUpdate = g->cmdUpdate,
                 .Frame1 = g->Frame1,
                 .Data1 = g->Data1,
                 .box = g->txtGals,
                 .good = QStringLiteral("10"),
                 .bad = QStringLiteral("ten"),
                 .badField = "FuelGals",
                 .table = "Fuel"};
            break;
        }
        case Window::WorkOrders: {
            item("mnuServiceRecords")->trigger();
            auto* o = qobject_cast<records::frmWorkOrder*>(
                form->openChildWindow(shell::ChildWindow::ServiceRecords));
            o->cboVehicleID->setCurrentIndex(0);
            emit o->cboVehicleID->activated(0);
            click(o->cmdAdd);
            retype(o->txtDate, QStringLiteral("2024-02-02"));
            w = {.window = o,
                 .cmdUpdate = o->cmdUpdate,
                 .Frame1 = o->Frame1,
                 .Data1 = o->Data1,
                 .tabs = o->SSTab1,
                 .box = o->txtMiles,
                 .good = QStringLiteral("21000"),
                 .bad = QStringLiteral("abc"),
                 .badField = "Mileage",
                 .table = "WorkOrder"};
            break;
        }
        }
        EXPECT_NE(w.window, nullptr);
        return w;
    }

    void expectStillAdding(const WindowUnderTest& w, const QString& typed) {
        EXPECT_EQ(usableButtons(*w.window), (QStringList{"cmdCancel", "cmdUpdate"}));
        EXPECT_EQ(w.box->text(), typed);
        EXPECT_TRUE(w.Frame1->isEnabled()) << "the boxes take corrections";
        EXPECT_FALSE(w.Data1->isEnabled()) << "the rows can be moved through";
        EXPECT_EQ(w.Data1->EditMode(), EditMode::AddNew);
        if (w.tabs) {
            EXPECT_FALSE(w.tabs->isEnabled()) << "details for an order that is not saved";
        }
        expectCloseRefused();
    }
};

TEST_P(RefusedUpdateTest, RowWaitsAsTypedAndSavesOnceTheReasonIsGone) {
    WindowUnderTest w = openAndAdd();
    ASSERT_NE(w.window, nullptr);
    const int before = count(w.table);
    const QString typed = reason() == Reason::BadValue ? w.bad : w.good;
    retype(w.box, typed);

    std::optional<testing_support::ReadOnlyFile> readOnly;
    std::optional<testing_support::LockedFile> locked;
    int number = 0;
    QString mentions = path;
    switch (reason()) {
    case Reason::BadValue:
        number = errTypeMismatch;
        mentions = QLatin1String(w.badField);
        break;
    case Reason::Locked:
        locked.emplace(path);
        ASSERT_TRUE(locked->held());
        number = errLocked;
        break;
    case Reason::ReadOnly:
        readOnly.emplace(path);
        if (!readOnly->arranged())
            GTEST_SKIP() << "a read-only file cannot be arranged here";
        number = errReadOnly;
        break;
    case Reason::DiskFull:
        crash::shim::failWritesAfter(0, SQLITE_FULL, ENOSPC);
        number = errDiskFull;
        break;
    }
    click(w.cmdUpdate);
    ASSERT_EQ(boxes.count(), 1);
    expectErrorBox(number, mentions);
    expectStillAdding(w, typed);

    // The reason goes; the same Update goes through.
    switch (reason()) {
    case Reason::BadValue:
        retype(w.box, w.good);
        break;
    case Reason::Locked:
        locked->release();
        break;
    case Reason::ReadOnly:
        ASSERT_TRUE(readOnly->makeWritable());
        break;
    case Reason::DiskFull:
        crash::shim::stopFailing();
        break;
    }
    EXPECT_EQ(count(w.table), before) << "the refused row reached the file";
    boxes.clear();
    click(w.cmdUpdate);
    EXPECT_EQ(boxes.count(), 0) << (boxes.count() ? boxes.last().prompt.toStdString() : "");
    EXPECT_EQ(usableButtons(*w.window),
              (QStringList{"cmdAdd", "cmdClose", "cmdDelete", "cmdEdit"}));
    EXPECT_EQ(w.box->text(), w.good) << "the saved row is the current one";
    expectCloseAllowed();
    EXPECT_EQ(count(w.table), before + 1);
    expectFileConsistent();
}

std::string nameOf(const ::testing::TestParamInfo<std::tuple<Window, Reason>>& info) {
    const char* const windows[] = {"Vehicles", "Fuel", "WorkOrders"};
    const char* const reasons[] = {"BadValue", "Locked", "ReadOnly", "DiskFull"};
    return std::string(windows[int(std::get<0>(info.param))]) +
           reasons[int(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(EveryWindowEveryReason, RefusedUpdateTest,
                         ::testing::Combine(::testing::Values(Window::Vehicles, Window::Fuel,
                                                              Window::WorkOrders),
                                            ::testing::Values(Reason::BadValue, Reason::Locked,
                                                              Reason::ReadOnly, Reason::DiskFull)),
                         nameOf);

} // namespace
