// The work order's service boxes, services typed line after line, and the parts
// total under the parts grid, driven with real clicks and keys over a real file.
#include "WorkOrderDetailsFixture.h"

#include "records/RecordsetTableModel.h"
#include "store/StoreErrors.h"
#include "support/UnwritableFile.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <iostream>
#include <optional>

using namespace records_test;

namespace {

class WorkOrderServicesTest : public WorkOrderDetailsTest {
protected:
    // The services stored for an order, oldest first, read with a connection of
    // its own.
    QString servicesInFile(int order) const {
        return fileValue("SELECT group_concat(WorkDescription, '|') FROM (SELECT * FROM "
                         "WorkDone WHERE WorkOrderID = " +
                         QByteArray::number(order) + " ORDER BY WorkDoneID)");
    }
    // What the services grid lists, its empty row for adding left out.
    std::string servicesShown() const {
        QStringList shown;
        const int stored = window->dbgService->recordsetModel()->storedRowCount();
        for (int row = 0; row < stored; ++row)
            shown << cell(window->dbgService, row, 0);
        return shown.join(u'|').toStdString();
    }
    // The boxes ticked, by caption.
    std::string ticked() const {
        QStringList names;
        for (QCheckBox* box : {window->Check1, window->Check2, window->Check3, window->Check4})
            if (box->isChecked())
                names << box->text();
        return names.join(u'|').toStdString();
    }
    // Ticks or unticks a box from the keyboard, as a user on the Services tab does.
    void toggle(QCheckBox* box) {
        chooseTab(0);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Space);
    }
    void selectServiceRow(int row) {
        const QHeaderView* selectors = window->dbgService->verticalHeader();
        const int y = selectors->sectionViewportPosition(row) + 4;
        QTest::mouseClick(selectors->viewport(), Qt::LeftButton, {}, QPoint(4, y));
    }
    // The line under the parts grid, found by its name as a screen reader finds it.
    QLabel* partsTotalLabel() const {
        return window->findChild<QLabel*>(QStringLiteral("lblPartsTotal"));
    }
    QString partsTotal() const {
        return partsTotalLabel() ? partsTotalLabel()->text() : QStringLiteral("(no total)");
    }
};

TEST_F(WorkOrderServicesTest, BoxesStandForTheServiceRowsOfTheOrderShown) {
    addVehicles({"Civic"});
    const int civic = vehicleID("Civic");
    const int first = addOrder(civic, "2024-01-10", 20000);
    const int second = addOrder(civic, "2024-06-01", 30000);
    open();
    pick(QStringLiteral("Civic"));
    navigate("btnFirst");

    toggle(window->Check2);
    EXPECT_EQ(servicesInFile(first), QStringLiteral("Change Oil")) << "no & of the caption";
    EXPECT_EQ(servicesShown(), "Change Oil");
    navigate("btnNext");
    EXPECT_EQ(window->lblOrderNum->text(), QString::number(second).rightJustified(4, u'0'));
    EXPECT_EQ(ticked(), "") << "the other order had no oil change";
    EXPECT_EQ(servicesInFile(second), QString());
    navigate("btnFirst");
    EXPECT_EQ(ticked(), "Change Oil");

    toggle(window->Check2);
    EXPECT_EQ(servicesInFile(first), QString());
    EXPECT_EQ(servicesShown(), "");

    // Rows typed in the grid tick their box whatever their letter case; the same
    // service typed twice goes wholly with the untick.
    chooseTab(1);
    clickCell(window->dbgService, 0, 0);
    for (const char* line : {"GREASE", "change oil ", "Rotate tyres", "Change Oil"}) {
        type(window->dbgService, QLatin1String(line));
        press(Qt::Key_Return);
    }
    EXPECT_EQ(ticked(), "Grease|Change Oil");
    toggle(window->Check2);
    EXPECT_EQ(servicesInFile(first), QStringLiteral("GREASE|Rotate tyres"));
    EXPECT_EQ(ticked(), "Grease");

    // A row deleted in the grid unticks its box.
    chooseTab(1);
    selectServiceRow(0);
    press(Qt::Key_Delete);
    EXPECT_EQ(servicesInFile(first), QStringLiteral("Rotate tyres"));
    EXPECT_EQ(ticked(), "");

    toggle(window->Check4);
    toggle(window->Check1);
    EXPECT_EQ(boxes.count(), 0) << (boxes.count() ? boxes.last().prompt.toStdString() : "");
    click(window->cmdClose);
    open();
    pick(QStringLiteral("Civic"));
    navigate("btnFirst");
    EXPECT_EQ(ticked(), "Grease|Tune Up")
        << "as the reopened file holds " << servicesInFile(first).toStdString();
    EXPECT_EQ(servicesShown(), "Rotate tyres|Tune Up|Grease");
    expectFileConsistent();
}

// A tick or untick the file refuses shows the grid's error box and leaves the box,
// the grid and the file as they were.
TEST_F(WorkOrderServicesTest, RefusedTickLeavesTheBoxAsItWas) {
    enum class Reason { ReadOnly, Locked };
    const struct {
        const char* what;
        Reason reason;
        bool tickedBefore;
        int number;
    } cases[] = {
        {"tick, read-only file", Reason::ReadOnly, false, store::errReadOnly},
        {"untick, read-only file", Reason::ReadOnly, true, store::errReadOnly},
        {"tick, file locked", Reason::Locked, false, store::errLocked},
        {"untick, file locked", Reason::Locked, true, store::errLocked},
    };
    const int order = openOnOneOrder();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (window->Check3->isChecked() != c.tickedBefore)
            toggle(window->Check3);
        const QString stored = servicesInFile(order);
        ASSERT_EQ(stored, c.tickedBefore ? QStringLiteral("Transmission") : QString());
        boxes.clear();
        std::optional<testing_support::ReadOnlyFile> readOnly;
        std::optional<testing_support::LockedFile> locked;
        if (c.reason == Reason::ReadOnly) {
            readOnly.emplace(path);
            if (!readOnly->arranged())
                GTEST_SKIP() << "a read-only file cannot be arranged here";
        } else {
            locked.emplace(path);
            ASSERT_TRUE(locked->held());
        }
        toggle(window->Check3);
        ASSERT_EQ(boxes.count(), 1);
        expectErrorBox(c.number, path);
        EXPECT_EQ(window->Check3->isChecked(), c.tickedBefore);
        EXPECT_EQ(servicesShown(), c.tickedBefore ? "Transmission" : "");
        readOnly.reset();
        locked.reset();
        EXPECT_EQ(servicesInFile(order), stored);
        EXPECT_EQ(window->datService->EditMode(), store::EditMode::None) << "nothing left pending";
    }
    // Once the file takes writes again, the same click goes through.
    boxes.clear();
    toggle(window->Check3);
    EXPECT_EQ(boxes.count(), 0) << (boxes.count() ? boxes.last().prompt.toStdString() : "");
    EXPECT_EQ(servicesInFile(order), QString());
    expectFileConsistent();
}

TEST_F(WorkOrderServicesTest, EnterStoresEachServiceAndMovesToTheNextLine) {
    const int order = openOnOneOrder();
    chooseTab(1);
    records::DataGrid* grid = window->dbgService;
    clickCell(grid, 0, 0);
    const QStringList typed = {"Oil and filter", "Rotate tyres", "Tune up"};
    for (int line = 0; line < typed.size(); ++line) {
        type(grid, typed[line]);
        press(Qt::Key_Return);
        EXPECT_EQ(grid->currentIndex().row(), line + 1) << "on the empty row after the last";
        EXPECT_TRUE(grid->recordsetModel()->isAddRow(grid->currentIndex().row()));
    }
    EXPECT_EQ(servicesInFile(order), typed.join(u'|'));
    EXPECT_EQ(servicesShown(), typed.join(u'|').toStdString());
    EXPECT_EQ(ticked(), "Tune Up");

    // On a stored line Enter goes down a line too, scrolling when it must.
    for (int i = 0; i < 40; ++i)
        addRow("WorkDone", nullptr, {{"WorkOrderID", order}, {"WorkDescription", i}});
    navigate("btnFirst"); // reads the services again
    chooseTab(1);
    clickCell(grid, 0, 0);
    for (int i = 0; i < 42; ++i)
        press(Qt::Key_Return);
    EXPECT_EQ(grid->currentIndex().row(), 42);
    EXPECT_EQ(grid->rowAt(grid->visualRect(grid->currentIndex()).center().y()), 42)
        << "the line is in sight";
    EXPECT_EQ(boxes.count(), 0) << (boxes.count() ? boxes.last().prompt.toStdString() : "");
}

// Each order holds the parts of one case; walking the orders shows each total.
TEST_F(WorkOrderServicesTest, PartsTotalIsTheExactSumOfTheLinesShown) {
    struct Part {
        int qty;
        const char* cost;
    };
    const struct {
        const char* what;
        QList<Part> parts;
        const char* total;
    } cases[] = {
        {"no parts", {}, "Total $0.00"},
        {"3 x 0.10", {{3, "0.10"}}, "Total $0.30"},
        {"0.10 + 0.20", {{1, "0.10"}, {1, "0.20"}}, "Total $0.30"},
        {"cents a double cuts short", {{1, "0.29"}, {1, "0.57"}, {1, "1.15"}}, "Total $2.01"},
        {"half cents round up per line", {{1, "1.005"}, {1, "0.0050"}}, "Total $1.02"},
        {"a part returned", {{2, "19.99"}, {-1, "19.99"}, {1, "0.01"}}, "Total $20.00"},
        {"credit", {{1, "-5"}}, "Total ($5.00)"},
        {"no qty", {{0, "7.00"}}, "Total $0.00"},
        {"largest line", {{32767, "922337203685477.5807"}}, "Total $30,222,223,153,162,043,886.80"},
        {"beyond 64 bits",
         {{32767, "922337203685477.5807"}, {32767, "922337203685477.5807"}},
         "Total $60,444,446,306,324,087,773.60"},
    };
    addVehicles({"Civic"});
    const int civic = vehicleID("Civic");
    int day = 0;
    for (const auto& c : cases) {
        ++day;
        const QByteArray date =
            QStringLiteral("2024-01-%1").arg(day, 2, 10, QLatin1Char('0')).toLatin1();
        const int order = addOrder(civic, date.constData(), 20000 + day);
        for (const Part& part : c.parts)
            addRow("PartsUsed", nullptr,
                   {{"WorkOrderId", order},
                    {"PartQty", part.qty == 0 ? QVariant() : QVariant(part.qty)},
                    {"PartCost", QLatin1String(part.cost)}});
    }
    open();
    pick(QStringLiteral("Civic"));
    navigate("btnFirst");
    chooseTab(2);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(partsTotal(), QLatin1String(c.total));
        navigate("btnNext");
    }
    EXPECT_EQ(cell(window->dbgParts, 1, 4), QStringLiteral("$30,222,223,153,162,043,886.80"))
        << "the line's own Total";
    ASSERT_NE(partsTotalLabel(), nullptr);
    EXPECT_EQ(partsTotalLabel()->accessibleName(), QStringLiteral("Parts total"));
    EXPECT_EQ(partsTotalLabel()->parentWidget(), window->dbgParts->parentWidget())
        << "on the parts tab";
    EXPECT_GT(partsTotalLabel()->geometry().top(), window->dbgParts->geometry().bottom())
        << "under the grid";
}

TEST_F(WorkOrderServicesTest, PartsTotalFollowsCellsRowsAndOrders) {
    addVehicles({"Civic"});
    const int civic = vehicleID("Civic");
    const int first = addOrder(civic, "2024-01-10", 20000);
    addOrder(civic, "2024-06-01", 30000);
    // A large order, written straight into the file.
    execute(path, QByteArray("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                             "WHERE i < 2000) INSERT INTO PartsUsed (WorkOrderID, PartQty, "
                             "PartCost) SELECT " +
                             QByteArray::number(first) + ", 1, 1000 FROM n")
                      .constData());
    open();
    pick(QStringLiteral("Civic"));
    EXPECT_EQ(partsTotal(), QStringLiteral("Total $0.00"));
    QElapsedTimer timer;
    timer.start();
    navigate("btnFirst");
    const qint64 moveMs = timer.elapsed();
    EXPECT_EQ(partsTotal(), QStringLiteral("Total $200.00")) << "2000 x 0.10";
    std::cout << "[ figures  ] moving to an order of 2000 parts: " << moveMs << " ms\n";

    navigate("btnNext");
    chooseTab(2);
    records::DataGrid* grid = window->dbgParts;
    clickCell(grid, 0, 0);
    type(grid, QStringLiteral("3"));
    press(Qt::Key_Return);
    press(Qt::Key_Return);
    press(Qt::Key_Return);
    type(grid, QStringLiteral("0.10"));
    press(Qt::Key_Return);
    EXPECT_EQ(partsTotal(), QStringLiteral("Total $0.30"));
    clickCell(grid, 1, 0);
    type(grid, QStringLiteral("2"));
    press(Qt::Key_Return);
    press(Qt::Key_Return);
    press(Qt::Key_Return);
    type(grid, QStringLiteral("136.28"));
    press(Qt::Key_Tab); // the row is stored as the grid is left
    EXPECT_EQ(partsTotal(), QStringLiteral("Total $272.86"));

    chooseTab(2);
    clickCell(grid, 0, 0);
    press(Qt::Key_F2);
    press(Qt::Key_Backspace);
    type(grid, QStringLiteral("1"));
    press(Qt::Key_Return);
    EXPECT_EQ(partsTotal(), QStringLiteral("Total $272.66")) << "a cell changed";

    const int y = grid->verticalHeader()->sectionViewportPosition(1) + 4;
    QTest::mouseClick(grid->verticalHeader()->viewport(), Qt::LeftButton, {}, QPoint(4, y));
    press(Qt::Key_Delete);
    EXPECT_EQ(partsTotal(), QStringLiteral("Total $0.10")) << "a row deleted";
    navigate("btnFirst");
    EXPECT_EQ(partsTotal(), QStringLiteral("Total $200.00"));

    // A cell of the large order changed: the whole sum again, while the user waits.
    chooseTab(2);
    clickCell(grid, 0, 0);
    press(Qt::Key_F2);
    press(Qt::Key_Backspace);
    type(grid, QStringLiteral("3"));
    timer.restart();
    press(Qt::Key_Return);
    const qint64 cellMs = timer.elapsed();
    EXPECT_EQ(partsTotal(), QStringLiteral("Total $200.20"));
    std::cout << "[ figures  ] a Qty changed in an order of 2000 parts: " << cellMs << " ms\n";
    EXPECT_EQ(boxes.count(), 0) << (boxes.count() ? boxes.last().prompt.toStdString() : "");
}

} // namespace
