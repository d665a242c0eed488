// The work order's details on the tabs: the services and parts grids and the notes
// box, driven with real key presses, and what reaches the file.
#include "WorkOrderDetailsFixture.h"

#include "store/StoreErrors.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMessageBox>
#include <QTimer>

using namespace records_test;

TEST_F(WorkOrderDetailsTest, DetailsFollowTheCurrentOrder) {
    addVehicles({"Civic"});
    const int civic = vehicleID("Civic");
    const int first = addOrder(civic, "2024-01-10", 20000);
    addOrder(civic, "2024-06-01", 30000); // no details
    addDetails(first, "first");
    open();
    pick(QStringLiteral("Civic"));
    EXPECT_EQ(cell(window->dbgService, 0, 0), QString()) << "the empty row for adding only";
    EXPECT_TRUE(window->txtNotes->toPlainText().isEmpty());

    navigate("btnFirst");
    EXPECT_EQ(cell(window->dbgService, 0, 0), QStringLiteral("first"));
    EXPECT_EQ(cell(window->dbgParts, 0, 0), QStringLiteral("2"));
    EXPECT_EQ(cell(window->dbgParts, 0, 1), QStringLiteral("first"));
    EXPECT_EQ(cell(window->dbgParts, 0, 3), QStringLiteral("$3.50"));
    EXPECT_EQ(cell(window->dbgParts, 0, 4), QStringLiteral("$7.00")) << "Qty times Cost";
    EXPECT_EQ(window->txtNotes->toPlainText(), QStringLiteral("first"));

    navigate("btnNext");
    EXPECT_EQ(cell(window->dbgParts, 0, 1), QString());
    EXPECT_TRUE(window->txtNotes->toPlainText().isEmpty());
}

TEST_F(WorkOrderDetailsTest, AllPartColumnsFitTheGridWithLongEntries) {
    const int order = openOnOneOrder();
    addRow("PartsUsed", nullptr,
           {{"WorkOrderId", order},
            {"PartQty", 12},
            {"PartNum", QStringLiteral("15400-PLM-A02X")},
            {"PartDescription", QStringLiteral("Motor oil 0W-20 (quart)")},
            {"PartCost", QStringLiteral("1234.56")}});
    navigate("btnLast"); // reads the order's parts again
    window->SSTab1->setCurrentIndex(2);
    QCoreApplication::processEvents();
    const QHeaderView* columns = window->dbgParts->horizontalHeader();
    ASSERT_EQ(columns->count(), 5);
    EXPECT_LE(columns->length(), window->dbgParts->viewport()->width())
        << "the Total column is pushed out of sight";
    const QFontMetrics metrics(window->dbgParts->font());
    for (int column : {0, 1, 3, 4})
        EXPECT_GE(columns->sectionSize(column),
                  metrics.horizontalAdvance(cell(window->dbgParts, 0, column)))
            << "column " << column << " cuts its text";
}

TEST_F(WorkOrderDetailsTest, DesignOfTheTabs) {
    openOnOneOrder();
    const QStringList checks = {"Grease", "Change Oil", "Transmission", "Tune Up"};
    const QList<QCheckBox*> boxes = {window->Check1, window->Check2, window->Check3,
                                     window->Check4};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(boxes[i]->text(), checks[i]);
        EXPECT_EQ(boxes[i]->parentWidget(), window->Frame2);
    }
    EXPECT_EQ(window->dbgService->Columns(0).Caption(), QStringLiteral("Service Performed"));
    EXPECT_EQ(window->dbgService->Columns(0).DataField(), QStringLiteral("WorkDescription"));
    EXPECT_FALSE(window->dbgService->WrapCellPointer());
    const QStringList captions = {"Qty", "Part #", "Description", "Cost", "Total"};
    const QStringList fields = {"PartQty", "PartNum", "PartDescription", "PartCost", ""};
    ASSERT_EQ(window->dbgParts->ColumnCount(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(window->dbgParts->Columns(i).Caption(), captions[i]);
        EXPECT_EQ(window->dbgParts->Columns(i).DataField(), fields[i]);
    }
    EXPECT_EQ(window->dbgParts->Columns(3).NumberFormat(), QStringLiteral("Currency"));
    EXPECT_EQ(window->dbgParts->Columns(4).NumberFormat(), QStringLiteral("Currency"));
    EXPECT_TRUE(window->dbgParts->WrapCellPointer());
    EXPECT_EQ(window->txtNotes->dataField(), QStringLiteral("WorkOrderMemo"));
}

TEST_F(WorkOrderDetailsTest, EachTabPutsTheFocusOnItsControl) {
    openOnOneOrder();
    chooseTab(1);
    EXPECT_TRUE(window->dbgService->hasFocus());
    EXPECT_TRUE(window->dbgService->TabStop()) << "in the Tab order while focused";
    chooseTab(2);
    EXPECT_TRUE(window->dbgParts->hasFocus());
    EXPECT_FALSE(window->dbgService->TabStop());
    chooseTab(3);
    EXPECT_TRUE(window->txtNotes->hasFocus());
    chooseTab(0);
    EXPECT_TRUE(window->Check1->hasFocus());
    EXPECT_EQ(count("WorkOrderMemo"), 0) << "a bare visit to the notes stores nothing";

    // A tick is a service row of the order.
    QTest::keyClick(window->Check1, Qt::Key_Space);
    EXPECT_TRUE(window->Check1->isChecked());
    EXPECT_EQ(fileValue("SELECT WorkDescription FROM WorkDone"), QStringLiteral("Grease"));
    navigate("btnFirst");
    EXPECT_TRUE(window->Check1->isChecked());
}

TEST_F(WorkOrderDetailsTest, ServiceTypedIntoTheEmptyRowIsStoredWithTheOrder) {
    addVehicles({"Civic"});
    const int civic = vehicleID("Civic");
    const int first = addOrder(civic, "2024-01-10", 20000);
    addOrder(civic, "2024-06-01", 30000);
    open();
    pick(QStringLiteral("Civic"));
    navigate("btnFirst");
    chooseTab(1);
    clickCell(window->dbgService, 0, 0);
    type(window->dbgService, QStringLiteral("Rotate tyres"));
    chooseTab(0); // leaving the grid writes the row
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(fileValue("SELECT WorkOrderID || '/' || WorkDescription FROM WorkDone"),
              QStringLiteral("%1/Rotate tyres").arg(first));

    navigate("btnLast");
    EXPECT_EQ(cell(window->dbgService, 0, 0), QString());
    navigate("btnFirst");
    EXPECT_EQ(cell(window->dbgService, 0, 0), QStringLiteral("Rotate tyres"));
}

TEST_F(WorkOrderDetailsTest, EnterWalksThePartCellsThenTheNextRow) {
    const int order = openOnOneOrder();
    chooseTab(2);
    records::DataGrid* grid = window->dbgParts;
    clickCell(grid, 0, 0);
    const QStringList values = {"2", "AB-1", "Filter", "4.25"};
    for (int column = 0; column < 4; ++column) {
        ASSERT_EQ(grid->Col(), column);
        type(grid, values[column]);
        press(Qt::Key_Return);
    }
    EXPECT_EQ(grid->Col(), 0);
    EXPECT_EQ(grid->Row(), 1) << "Qty of the next row";
    EXPECT_EQ(fileValue("SELECT WorkOrderId || '/' || PartQty || '/' || PartNum || '/' || "
                        "PartDescription || '/' || (PartCost / 10000.0) FROM PartsUsed"),
              QStringLiteral("%1/2/AB-1/Filter/4.25").arg(order))
        << fileValue("SELECT WorkOrderId || '/' || PartQty || '/' || PartNum || '/' || "
                     "PartDescription || '/' || (PartCost / 10000.0) FROM PartsUsed")
               .toStdString();
    EXPECT_EQ(cell(grid, 0, 4), QStringLiteral("$8.50"));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(WorkOrderDetailsTest, EnterOnTheLastVisibleRowStopsSilently) {
    const int order = openOnOneOrder();
    for (int i = 0; i < 40; ++i)
        addRow("PartsUsed", nullptr, {{"WorkOrderId", order}, {"PartQty", i + 1}});
    navigate("btnFirst"); // read the parts again
    chooseTab(2);
    records::DataGrid* grid = window->dbgParts;
    const int last = grid->VisibleRows() - 1;
    ASSERT_GT(last, 0);
    ASSERT_LT(last, 40);
    clickCell(grid, last, 3);
    ASSERT_EQ(grid->Row(), last);
    press(Qt::Key_Return);
    EXPECT_EQ(grid->Col(), 0);
    EXPECT_EQ(grid->Row(), last) << "stays in Qty of the same row";
    EXPECT_EQ(boxes.count(), 0);
}

// While a part's Qty is empty no cell of it is taken: the box says why, the cell keeps
// what it showed, and nothing the user did not type reaches the file.
TEST_F(WorkOrderDetailsTest, PartCellsWithoutAQtyAreRefusedAndNothingIsMadeUp) {
    const int order = openOnOneOrder();
    addRow("PartsUsed", nullptr,
           {{"WorkOrderId", order}, {"PartQty", 2}, {"PartNum", QStringLiteral("F-1")}});
    addRow("PartsUsed", nullptr, {{"WorkOrderId", order}, {"PartNum", QStringLiteral("G-2")}});
    navigate("btnFirst"); // reads the parts again
    const char* const partsInFile = "SELECT group_concat(ifnull(PartQty, '-') || '/' || "
                                    "ifnull(PartNum, '-'), ' ') FROM (SELECT * FROM PartsUsed "
                                    "ORDER BY PartID)";
    const QString stored = QStringLiteral("2/F-1 -/G-2");
    ASSERT_EQ(fileValue(partsInFile), stored);
    const struct {
        const char* what;
        int row; // 2: the empty row for adding
        int column;
        QString typed;
        QString shownAfter;
        const char* says;
    } cases[] = {
        {"Part # typed before the Qty", 2, 1, QStringLiteral("AB-1"), QString(), "Qty first"},
        {"stored Qty cleared", 0, 0, QString(), QStringLiteral("2"), "cannot be left empty"},
        {"part stored without a Qty", 1, 2, QStringLiteral("Filter"), QString(), "Qty first"},
    };
    chooseTab(2);
    records::DataGrid* grid = window->dbgParts;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.clear();
        clickCell(grid, c.row, c.column);
        if (c.typed.isEmpty()) {
            press(Qt::Key_F2);
            press(Qt::Key_Backspace);
        } else {
            type(grid, c.typed);
        }
        press(Qt::Key_Return);
        ASSERT_EQ(boxes.count(), 1);
        EXPECT_TRUE(boxes.last().prompt.contains(QLatin1String(c.says)))
            << boxes.last().prompt.toStdString();
        EXPECT_TRUE(boxes.last().prompt.contains(QStringLiteral("PartQty")));
        EXPECT_EQ(boxes.last().style, 48);
        EXPECT_EQ(boxes.last().title, QStringLiteral("Error"));
        EXPECT_EQ(cell(grid, c.row, c.column), c.shownAfter);
        chooseTab(0); // leaving the grid
        EXPECT_EQ(fileValue(partsInFile), stored);
        EXPECT_EQ(boxes.count(), 1);
        chooseTab(2);
    }

    // With a Qty the same edit is taken.
    clickCell(grid, 2, 0);
    type(grid, QStringLiteral("1"));
    press(Qt::Key_Return);
    type(grid, QStringLiteral("AB-1"));
    press(Qt::Key_Return);
    chooseTab(0);
    EXPECT_EQ(fileValue(partsInFile), stored + QStringLiteral(" 1/AB-1"));
    EXPECT_EQ(boxes.count(), 1);
}

TEST_F(WorkOrderDetailsTest, NotesAreStoredEditedEmptiedAndNotMadeByABareVisit) {
    const int order = openOnOneOrder();
    chooseTab(3);
    chooseTab(0);
    EXPECT_EQ(count("WorkOrderMemo"), 0);

    chooseTab(3);
    QTest::keyClicks(window->txtNotes, QStringLiteral("Check brakes"));
    chooseTab(0);
    EXPECT_EQ(fileValue("SELECT WorkOrderID || '/' || WorkOrderMemo FROM WorkOrderMemo"),
              QStringLiteral("%1/Check brakes").arg(order));

    chooseTab(3);
    QTest::keyClick(window->txtNotes, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(window->txtNotes, QStringLiteral(" soon"));
    chooseTab(0);
    EXPECT_EQ(fileValue("SELECT WorkOrderMemo FROM WorkOrderMemo"),
              QStringLiteral("Check brakes soon"));
    EXPECT_EQ(count("WorkOrderMemo"), 1);

    chooseTab(3);
    window->txtNotes->selectAll();
    QTest::keyClick(window->txtNotes, Qt::Key_Delete);
    chooseTab(0);
    EXPECT_EQ(count("WorkOrderMemo"), 0) << "an emptied note is removed";
    EXPECT_EQ(boxes.count(), 0);
    expectFileConsistent();
}

TEST_F(WorkOrderDetailsTest, BadInputInTheGridsNamesTheFieldAndKeepsTheRow) {
    openOnOneOrder();
    const struct {
        records::DataGrid* grid;
        int column;
        QString text;
        int number;
        const char* field;
    } cases[] = {
        {window->dbgParts, 0, QStringLiteral("two"), store::errTypeMismatch, "PartQty"},
        {window->dbgParts, 0, QStringLiteral("70000"), store::errOverflow, "PartQty"},
        {window->dbgParts, 3, QStringLiteral("abc"), store::errTypeMismatch, "PartCost"},
        {window->dbgParts, 1, QString(16, QLatin1Char('P')), store::errFieldTooSmall, "PartNum"},
        {window->dbgParts, 2, QString(25, QLatin1Char('D')), store::errFieldTooSmall,
         "PartDescription"},
        {window->dbgService, 0, QString(51, QLatin1Char('S')), store::errFieldTooSmall,
         "WorkDescription"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        boxes.clear();
        chooseTab(c.grid == window->dbgParts ? 2 : 1);
        if (c.column > 0) { // a Qty first, so that the cell is taken at all
            clickCell(c.grid, 0, 0);
            type(c.grid, QStringLiteral("1"));
            press(Qt::Key_Return);
        }
        clickCell(c.grid, 0, c.column);
        type(c.grid, c.text);
        press(Qt::Key_Return);
        ASSERT_GE(boxes.count(), 1);
        const QString prompt = boxes.boxes().first().prompt;
        EXPECT_TRUE(prompt.startsWith(QStringLiteral("Error #%1\r\n").arg(c.number)))
            << prompt.toStdString();
        EXPECT_TRUE(prompt.contains(QLatin1String(c.field))) << prompt.toStdString();
        EXPECT_EQ(count("PartsUsed") + count("WorkDone"), 0) << "no half row in the file";
        // Escape drops the row so the next case starts afresh.
        press(Qt::Key_Escape);
        press(Qt::Key_Escape);
        chooseTab(0);
        EXPECT_EQ(count("PartsUsed") + count("WorkDone"), 0);
    }
    expectFileConsistent();
}

TEST_F(WorkOrderDetailsTest, DeletedOrderTakesWhatWasTypedForIt) {
    openOnOneOrder();
    chooseTab(1);
    clickCell(window->dbgService, 0, 0);
    type(window->dbgService, QStringLiteral("Oil"));
    chooseTab(3);
    QTest::keyClicks(window->txtNotes, QStringLiteral("note"));
    chooseTab(0);
    ASSERT_EQ(count("WorkDone") + count("WorkOrderMemo"), 2);
    click(window->cmdDelete);
    EXPECT_EQ(count("WorkDone") + count("WorkOrderMemo") + count("WorkOrder"), 0);
    EXPECT_FALSE(window->SSTab1->isEnabled());
}

TEST_F(WorkOrderDetailsTest, MovingToAnotherOrderKeepsWhatWasBeingTyped) {
    addVehicles({"Civic"});
    const int civic = vehicleID("Civic");
    const int first = addOrder(civic, "2024-01-10", 20000);
    const int second = addOrder(civic, "2024-06-01", 30000);
    open();
    pick(QStringLiteral("Civic"));
    chooseTab(3);
    QTest::keyClicks(window->txtNotes, QStringLiteral("for the second"));
    navigate("btnFirst"); // the navigation bar does not take the focus
    EXPECT_EQ(fileValue("SELECT WorkOrderID || '/' || WorkOrderMemo FROM WorkOrderMemo"),
              QStringLiteral("%1/for the second").arg(second));
    ASSERT_TRUE(window->txtNotes->hasFocus());
    QTest::keyClicks(window->txtNotes, QStringLiteral("for the first"));
    chooseTab(1);
    EXPECT_EQ(fileValue("SELECT WorkOrderMemo FROM WorkOrderMemo WHERE WorkOrderID = " +
                        QByteArray::number(first)),
              QStringLiteral("for the first"));

    clickCell(window->dbgService, 0, 0);
    type(window->dbgService, QStringLiteral("Oil"));
    navigate("btnLast");
    EXPECT_EQ(fileValue("SELECT WorkOrderID || '/' || WorkDescription FROM WorkDone"),
              QStringLiteral("%1/Oil").arg(first));
    EXPECT_EQ(boxes.count(), 0);
}

// A real error box of the parts grid, with the vehicle window open behind: the box
// belongs to the work order window, and once it is answered that window is in front
// with the focus in its grid on the same row, so the next keys go where the user was.
TEST_F(WorkOrderDetailsTest, PartsGridErrorBoxGivesTheFocusBackToTheGridRow) {
    addVehicles({"Civic"});
    const int order = addOrder(vehicleID("Civic"), "2024-01-10", 20000);
    addRow("PartsUsed", nullptr, {{"WorkOrderId", order}, {"PartQty", 2}});
    showFrame();
    item("mnuVehicleInformation")->trigger();
    QWidget* vehicles = form->openChildWindow(shell::ChildWindow::VehicleInformation);
    ASSERT_NE(vehicles, nullptr);
    open();
    pick(QStringLiteral("Civic"));
    chooseTab(2);
    records::DataGrid* grid = window->dbgParts;
    const struct {
        const char* what;
        int row;
        int column;
        QString typed;
    } cases[] = {
        {"bad quantity", 0, 0, QStringLiteral("x")},
        {"description too long", 0, 2, QString(300, QLatin1Char('d'))},
        {"Part # before the Qty", 1, 1, QStringLiteral("AB-1")},
    };
    const platform::MsgBoxResponder previous = platform::setMsgBoxResponder({});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        clickCell(grid, c.row, c.column);
        type(grid, c.typed);
        QPointer<QWidget> owner;
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            shown = true;
            owner = box->parentWidget();
            box->button(QMessageBox::Ok)->click();
        });
        press(Qt::Key_Return);
        QTest::qWait(50);
        EXPECT_TRUE(shown) << "the error box came";
        EXPECT_EQ(owner.data(), window.data()) << "owned by the window that raised it";
        EXPECT_EQ(form->mdiArea()->activeSubWindow(), window->subWindow());
        QWidget* focus = QApplication::focusWidget();
        EXPECT_TRUE(focus == grid || grid->isAncestorOf(focus))
            << (focus ? focus->objectName().toStdString() : "no focus");
        EXPECT_EQ(grid->Row(), c.row);
        press(Qt::Key_Escape); // drops what the cell's editor still holds
    }
    platform::setMsgBoxResponder(previous);
}
