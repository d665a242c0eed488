// The data-bound grid over a parts list of a real database file, driven by key
// presses and mouse clicks. Every test runs under the item-model checker.
#include "records/DataGrid.h"
#include "records/DataControl.h"
#include "records/RecordsetTableModel.h"
#include "records/SharedDatabase.h"
#include "store/Database.h"
#include "store/StoreErrors.h"
#include "store/modCreateDB.h"
#include "support/MsgBoxRecorder.h"
#include "values/Currency.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace records;
using namespace store;
using namespace values;

namespace {

const QString kQty = QStringLiteral("PartQty");

QStringList g_modelFailures;
QtMessageHandler g_previousHandler = nullptr;

void collectModelFailures(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (context.category && QByteArray(context.category) == "qt.modeltest")
        g_modelFailures << text;
    else if (g_previousHandler)
        g_previousHandler(type, context, text);
}

class DataGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        {
            testing_support::MsgBoxRecorder creation;
            ASSERT_TRUE(modCreateDB::CreateNewDatabase(path));
        }
        db = sharedDatabase(path);
        const qint64 vehicle = addRow("VehicleInfo", {{"VehicleLookup", "Truck"}}, "VehicleID");
        order = addRow("WorkOrder", {{"VehicleID", vehicle}, {"Mileage", 1000}}, "WorkOrderID");
        otherOrder =
            addRow("WorkOrder", {{"VehicleID", vehicle}, {"Mileage", 2000}}, "WorkOrderID");
        owner = order;
        addPart(2, "P-1", "Filter", "1234.5");
        addPart(1, "P-2", "Plug", "3.25");

        data.setDatabaseName(path);
        data.setRecordSource(partsOf(order));
        data.Refresh();

        grid.addColumn(QStringLiteral("Qty"), kQty);
        grid.addColumn(QStringLiteral("Part #"), QStringLiteral("PartNum"));
        grid.addColumn(QStringLiteral("Description"), QStringLiteral("PartDescription"));
        grid.addColumn(QStringLiteral("Cost"), QStringLiteral("PartCost"),
                       QStringLiteral("Currency"));
        const int total =
            grid.addColumn(QStringLiteral("Total"), QString(), QStringLiteral("Currency"));
        grid.setUnboundValue(total, [](const Recordset& row) -> QVariant {
            const QVariant qty = row.value(kQty);
            const QVariant cost = row.value(QStringLiteral("PartCost"));
            if (qty.isNull() || cost.isNull())
                return QVariant();
            return QVariant::fromValue(Currency{qty.toInt() * cost.value<Currency>().scaled});
        });
        grid.setDataSource(&data);
        QObject::connect(&grid, &DataGrid::OnAddNew, [this] {
            data.Recordset()->setValue(QStringLiteral("WorkOrderId"), owner);
        });

        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(&before);
        layout->addWidget(&grid);
        layout->addWidget(&after);
        window.resize(520, 320);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

        g_modelFailures.clear();
        g_previousHandler = qInstallMessageHandler(collectModelFailures);
        tester = std::make_unique<QAbstractItemModelTester>(
            grid.model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    }

    void TearDown() override {
        tester.reset();
        qInstallMessageHandler(g_previousHandler);
        EXPECT_TRUE(g_modelFailures.isEmpty()) << g_modelFailures.join('\n').toStdString();
    }

    qint64 addRow(const char* table, std::initializer_list<std::pair<const char*, QVariant>> values,
                  const char* key) {
        auto rs = db->OpenRecordset(QLatin1String(table));
        rs->AddNew();
        for (const auto& [field, value] : values)
            rs->setValue(QLatin1String(field), value);
        rs->Update();
        rs->setBookmark(rs->LastModified());
        return rs->value(QLatin1String(key)).toLongLong();
    }

    void addPart(int qty, const char* number, const char* description, const char* cost) {
        addRow("PartsUsed",
               {{"WorkOrderId", order},
                {"PartQty", qty},
                {"PartNum", number},
                {"PartDescription", description},
                {"PartCost", cost}},
               "PartID");
    }

    static QString partsOf(qint64 key) {
        return QStringLiteral("Select * from PartsUsed where WorkOrderID = %1").arg(key);
    }

    QString scalar(const QString& sql) const {
        sqlite3* raw = nullptr;
        sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* stmt = nullptr;
        QString result;
        if (sqlite3_prepare_v2(raw, sql.toUtf8().constData(), -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_text(stmt, 0))
            result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        sqlite3_finalize(stmt);
        sqlite3_close(raw);
        return result;
    }
    QString partCount() const { return scalar(QStringLiteral("select count(*) from PartsUsed")); }

    QString text(int row, int column) const {
        return grid.model()->index(row, column).data().toString();
    }
    int rows() const { return grid.model()->rowCount(); }
    int currentRow() const { return grid.currentIndex().row(); }

    void click(int row, int column) {
        const QRect cell = grid.visualRect(grid.model()->index(row, column));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    }
    void clickSelector(int row) {
        const int y = grid.verticalHeader()->sectionViewportPosition(row) + 4;
        QTest::mouseClick(grid.verticalHeader()->viewport(), Qt::LeftButton, {}, QPoint(4, y));
    }
    // Keys go where a user's keys go: to the widget that has the focus.
    static void type(const QString& text) {
        for (QChar c : text)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
    static void press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("cars.mdb"));
    std::shared_ptr<Database> db;
    qint64 order = 0, otherOrder = 0, owner = 0;
    QWidget window;
    QLineEdit before, after;
    DataControl data;
    DataGrid grid;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(DataGridTest, ShowsTheRowsWithCaptionsFormatsAndTheEmptyRowLast) {
    ASSERT_EQ(rows(), 3);
    EXPECT_EQ(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Part #"));
    EXPECT_EQ(text(0, 1), QStringLiteral("P-1"));
    EXPECT_EQ(text(0, 3), QStringLiteral("$1,234.50"));
    EXPECT_EQ(text(0, 4), QStringLiteral("$2,469.00")); // 2 x 1,234.50, computed per row
    EXPECT_EQ(text(1, 4), QStringLiteral("$3.25"));
    for (int column = 0; column < 5; ++column)
        EXPECT_TRUE(text(2, column).isEmpty());
    EXPECT_EQ(grid.model()->headerData(2, Qt::Vertical).toString(), QStringLiteral("*"));
    EXPECT_FALSE(grid.model()->flags(grid.model()->index(0, 4)) & Qt::ItemIsEditable);

    // The unformatted value comes by bookmark, exactly as stored.
    EXPECT_EQ(currentRow(), 0);
    const Bookmark first = grid.Bookmark();
    EXPECT_EQ(first, data.Recordset()->bookmark());
    EXPECT_EQ(grid.Columns(3).CellValue(first).value<Currency>().scaled, 12345000);
    EXPECT_EQ(grid.Columns(0).CellValue(first).toInt(), 2);
    EXPECT_EQ(grid.Columns(4).CellValue(first).value<Currency>().scaled, 24690000);
    EXPECT_EQ(grid.Columns(1).Caption(), QStringLiteral("Part #"));

    // Reading other rows leaves the data source where it stands.
    EXPECT_EQ(text(1, 2), QStringLiteral("Plug"));
    EXPECT_EQ(data.Recordset()->AbsolutePosition(), 0);

    try {
        grid.Columns(1).CellValue(987654);
        ADD_FAILURE() << "a bookmark of no row gave a value";
    } catch (const platform::AppError& error) {
        EXPECT_EQ(error.number(), errInvalidBookmark);
    }
    EXPECT_THROW(grid.Columns(5), platform::AppError);

    grid.setAllowAddNew(false);
    EXPECT_EQ(rows(), 2);
    grid.setAllowUpdate(false);
    EXPECT_FALSE(grid.model()->flags(grid.model()->index(0, 1)) & Qt::ItemIsEditable);
    grid.setAllowAddNew(true);
    EXPECT_EQ(rows(), 3);
    EXPECT_TRUE(grid.model()->flags(grid.model()->index(2, 1)) & Qt::ItemIsEditable);
}

TEST_F(DataGridTest, ReadsLargeSetsInAnyOrderAndFollowsTheSourceBothWays) {
    for (int i = 0; i < 40; ++i)
        addPart(i, QByteArray("N-" + QByteArray::number(i)).constData(), "Bulk", "1");
    data.Refresh();
    ASSERT_EQ(rows(), 43);
    // Reads jump about as a scroll bar would.
    EXPECT_EQ(text(41, 1), QStringLiteral("N-39"));
    EXPECT_EQ(text(0, 1), QStringLiteral("P-1"));
    EXPECT_EQ(text(22, 1), QStringLiteral("N-20"));
    EXPECT_EQ(text(21, 1), QStringLiteral("N-19"));
    EXPECT_EQ(text(40, 1), QStringLiteral("N-38"));

    click(1, 2);
    EXPECT_EQ(data.Recordset()->AbsolutePosition(), 1);
    data.Recordset()->MoveLast();
    EXPECT_EQ(currentRow(), 41);
    EXPECT_EQ(grid.Bookmark(), data.Recordset()->bookmark());
}

TEST_F(DataGridTest, TypingInTheEmptyRowAddsARowWrittenWhenTheRowIsLeft) {
    QSignalSpy addNew(&grid, &DataGrid::OnAddNew);
    click(2, 0);
    type(QStringLiteral("3"));
    EXPECT_EQ(addNew.count(), 1);
    EXPECT_EQ(data.EditMode(), EditMode::AddNew);
    EXPECT_EQ(rows(), 4); // a new empty row follows the one being typed
    EXPECT_EQ(grid.Bookmark(), DataGrid::NewRowBookmark);
    press(Qt::Key_Return);
    for (const char* value : {"P-9", "Gasket", "4.5"}) {
        press(Qt::Key_Right);
        type(QLatin1String(value));
        press(Qt::Key_Return);
    }
    EXPECT_EQ(addNew.count(), 1);
    EXPECT_EQ(text(2, 4), QStringLiteral("$13.50"));
    EXPECT_EQ(partCount(), QStringLiteral("2")); // nothing stored while the row is open

    press(Qt::Key_Up);
    EXPECT_EQ(partCount(), QStringLiteral("3"));
    EXPECT_EQ(scalar(QStringLiteral("select PartQty || '|' || PartDescription || '|' || PartCost "
                                    "|| '|' || WorkOrderId from PartsUsed where PartNum = 'P-9'")),
              QStringLiteral("3|Gasket|45000|%1").arg(order));
    EXPECT_EQ(rows(), 4);
    EXPECT_TRUE(grid.model()->headerData(2, Qt::Vertical).toString().isEmpty());

    data.Refresh(); // read again: the row is one of the set
    ASSERT_EQ(rows(), 4);
    EXPECT_EQ(text(2, 1), QStringLiteral("P-9"));
    EXPECT_EQ(text(2, 3), QStringLiteral("$4.50"));
}

TEST_F(DataGridTest, EscapeOrLeavingAnUntouchedNewRowStoresNothing) {
    click(2, 1);
    type(QStringLiteral("X-1"));
    press(Qt::Key_Return);
    press(Qt::Key_Escape);
    EXPECT_EQ(rows(), 3);
    EXPECT_EQ(data.EditMode(), EditMode::None);

    // Opening the empty row's editor and leaving without typing starts nothing.
    QSignalSpy addNew(&grid, &DataGrid::OnAddNew);
    click(2, 1);
    press(Qt::Key_F2);
    press(Qt::Key_Escape);
    press(Qt::Key_Up);
    EXPECT_EQ(addNew.count(), 0);
    EXPECT_EQ(rows(), 3);
    EXPECT_EQ(partCount(), QStringLiteral("2"));
}

TEST_F(DataGridTest, BeforeColUpdateSeesTheTypedCellAndCanRefuseWithAnotherOldValue) {
    // A row's edits are refused while its Qty cell is empty; the cell then shows 0.
    QList<int> columns;
    QObject::connect(&grid, &DataGrid::BeforeColUpdate,
                     [&](int column, QVariant& oldValue, bool& cancel) {
                         columns << column;
                         const QVariant qty = grid.Columns(0).CellValue(grid.Bookmark());
                         if (qty.isNull() || qty.toString().isEmpty()) {
                             oldValue = 0;
                             cancel = true;
                         }
                     });
    click(2, 1);
    type(QStringLiteral("P-7"));
    press(Qt::Key_Return);
    EXPECT_EQ(text(2, 1), QStringLiteral("0"));
    press(Qt::Key_Left);
    type(QStringLiteral("5")); // the Qty being typed counts as the row's Qty
    press(Qt::Key_Return);
    EXPECT_EQ(text(2, 0), QStringLiteral("5"));
    EXPECT_EQ(columns, (QList<int>{1, 0}));
    press(Qt::Key_Up);
    EXPECT_EQ(scalar(QStringLiteral("select PartQty || '|' || PartNum from PartsUsed where "
                                    "PartID = (select max(PartID) from PartsUsed)")),
              QStringLiteral("5|0"));

    // An unchanged value raises no event.
    click(0, 2);
    press(Qt::Key_F2);
    press(Qt::Key_Return);
    EXPECT_EQ(columns.size(), 2);
}

TEST_F(DataGridTest, RefusedValueShowsTheOldValueAndWritesNothing) {
    QObject::connect(&grid, &DataGrid::BeforeColUpdate,
                     [](int, QVariant&, bool& cancel) { cancel = true; });
    click(1, 2);
    type(QStringLiteral("Spark"));
    press(Qt::Key_Return);
    EXPECT_EQ(text(1, 2), QStringLiteral("Plug"));
    press(Qt::Key_Up);
    EXPECT_EQ(data.EditMode(), EditMode::None);
    EXPECT_EQ(scalar(QStringLiteral("select PartDescription from PartsUsed where PartNum = 'P-2'")),
              QStringLiteral("Plug"));
}

TEST_F(DataGridTest, ValueThatDoesNotFitShowsTheErrorBoxAndKeepsTheRow) {
    testing_support::MsgBoxRecorder boxes;
    click(2, 0);
    type(QStringLiteral("4"));
    press(Qt::Key_Return);
    press(Qt::Key_Right);
    type(QStringLiteral("ABCDEFGHIJKLMNOP")); // 16 characters; the field holds 15
    press(Qt::Key_Up);                        // tries to leave the row
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(
        boxes.last().prompt.startsWith(QStringLiteral("Error #%1\r\n").arg(int(errFieldTooSmall))));
    EXPECT_TRUE(boxes.last().prompt.contains(QStringLiteral("PartNum")));
    EXPECT_EQ(boxes.last().style, 48);
    EXPECT_EQ(boxes.last().title, QStringLiteral("Error"));
    EXPECT_EQ(currentRow(), 2);
    EXPECT_EQ(text(2, 0), QStringLiteral("4")); // the typed row is still there
    EXPECT_EQ(partCount(), QStringLiteral("2"));

    for (const char* qty : {"two", "70000"}) {
        press(Qt::Key_Left);
        type(QLatin1String(qty));
        press(Qt::Key_Return);
    }
    ASSERT_EQ(boxes.count(), 3);
    EXPECT_TRUE(
        boxes.boxes()[1].prompt.startsWith(QStringLiteral("Error #%1\r\n").arg(errTypeMismatch)));
    EXPECT_TRUE(
        boxes.boxes()[2].prompt.startsWith(QStringLiteral("Error #%1\r\n").arg(errOverflow)));
    EXPECT_EQ(text(2, 0), QStringLiteral("4"));

    // Corrected, the row goes in whole.
    press(Qt::Key_Right);
    type(QStringLiteral("ABCDEFGHIJKLMNO"));
    press(Qt::Key_Down);
    EXPECT_EQ(partCount(), QStringLiteral("3"));
    EXPECT_EQ(boxes.count(), 3);
}

TEST_F(DataGridTest, StoreRefusingTheRowShowsTheErrorBoxAndLosesNothing) {
    testing_support::MsgBoxRecorder boxes;
    owner = 999999; // an order that does not exist
    click(2, 0);
    type(QStringLiteral("1"));
    press(Qt::Key_Return);
    press(Qt::Key_Up);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.last().prompt.startsWith(
        QStringLiteral("Error #%1\r\n").arg(int(errRelatedRecordRequired))));
    EXPECT_EQ(boxes.last().style, 48);
    EXPECT_EQ(currentRow(), 2);
    EXPECT_EQ(text(2, 0), QStringLiteral("1"));
    EXPECT_EQ(data.EditMode(), EditMode::AddNew);
    EXPECT_EQ(partCount(), QStringLiteral("2"));
    EXPECT_EQ(text(0, 1), QStringLiteral("P-1"));

    // Leaving the grid tries again; once the key is right the row is stored.
    grid.SetFocus();
    after.setFocus(Qt::TabFocusReason);
    EXPECT_EQ(boxes.count(), 2);
    data.Recordset()->setValue(QStringLiteral("WorkOrderId"), order);
    EXPECT_TRUE(grid.commitPendingRow());
    EXPECT_EQ(partCount(), QStringLiteral("3"));
    EXPECT_EQ(rows(), 4);
}

TEST_F(DataGridTest, DeleteKeyRemovesTheRowPickedByItsRecordSelector) {
    testing_support::MsgBoxRecorder boxes;
    grid.SetFocus();
    click(0, 1);
    press(Qt::Key_Delete); // a cell, not a row: nothing goes
    EXPECT_EQ(partCount(), QStringLiteral("2"));

    clickSelector(0);
    press(Qt::Key_Delete);
    EXPECT_EQ(partCount(), QStringLiteral("1"));
    EXPECT_EQ(scalar(QStringLiteral("select PartNum from PartsUsed")), QStringLiteral("P-2"));
    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(text(0, 1), QStringLiteral("P-2"));
    EXPECT_EQ(boxes.count(), 0);

    grid.setAllowDelete(false);
    clickSelector(0);
    press(Qt::Key_Delete);
    EXPECT_EQ(partCount(), QStringLiteral("1"));
}

TEST_F(DataGridTest, KeyPressSeesEnterFirstAndCanMoveTheCell) {
    QList<int> keys;
    QObject::connect(&grid, &DataGrid::KeyPress, [&](int& keyAscii) {
        keys << keyAscii;
        if (keyAscii == 'x')
            keyAscii = 0; // swallowed
        if (keyAscii != 13)
            return;
        if (grid.Col() < 3) {
            grid.setCol(grid.Col() + 1);
        } else {
            grid.setCol(0);
            try {
                grid.setRow(grid.Row() + 1);
            } catch (const platform::AppError& error) {
                EXPECT_EQ(error.number(), errGridNoSuchRow);
            }
        }
    });
    click(0, 0);
    type(QStringLiteral("7"));
    press(Qt::Key_Return); // Qty typed: the value goes in and the cell moves on
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(text(0, 0), QStringLiteral("7"));
    press(Qt::Key_Return);
    press(Qt::Key_Return);
    press(Qt::Key_Return); // from Cost to Qty of the next row, storing the row left
    EXPECT_EQ(grid.Col(), 0);
    EXPECT_EQ(currentRow(), 1);
    EXPECT_EQ(scalar(QStringLiteral("select PartQty from PartsUsed where PartNum = 'P-1'")),
              QStringLiteral("7"));
    EXPECT_EQ(keys, (QList<int>{'7', 13, 13, 13, 13})); // each key seen once

    type(QStringLiteral("x"));
    EXPECT_EQ(QApplication::focusWidget(), &grid); // no editor opened
    EXPECT_EQ(data.EditMode(), EditMode::None);

    // A handler may also put another character in place of the typed one.
    QObject::connect(&grid, &DataGrid::KeyPress, [](int& keyAscii) {
        if (keyAscii >= 'a' && keyAscii <= 'z')
            keyAscii -= 'a' - 'A';
    });
    grid.setCol(1);
    type(QStringLiteral("p-q"));
    press(Qt::Key_Escape);
    EXPECT_EQ(text(1, 1), QStringLiteral("P-2"));
    grid.setCol(1);
    type(QStringLiteral("ab"));
    EXPECT_EQ(qobject_cast<QLineEdit*>(QApplication::focusWidget())->text(), QStringLiteral("AB"));
}

TEST_F(DataGridTest, RowCountsFromTheFirstVisibleRowAndStopsAtTheLast) {
    for (int i = 0; i < 40; ++i)
        addPart(1, "BULK", "Bulk", "1");
    data.Refresh();
    grid.setFocus();
    const int visible = grid.VisibleRows();
    ASSERT_GT(visible, 2);
    ASSERT_LT(visible, rows());

    grid.setRow(visible - 1);
    EXPECT_EQ(currentRow(), visible - 1);
    EXPECT_EQ(grid.Row(), visible - 1);
    try {
        grid.setRow(visible);
        ADD_FAILURE() << "a row below the visible ones was accepted";
    } catch (const platform::AppError& error) {
        EXPECT_EQ(error.number(), errGridNoSuchRow);
    }
    EXPECT_EQ(currentRow(), visible - 1);
    EXPECT_THROW(grid.setRow(-1), platform::AppError);

    grid.scrollTo(grid.model()->index(20, 0), QAbstractItemView::PositionAtTop);
    grid.setRow(1);
    EXPECT_EQ(currentRow(), 21);
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_THROW(grid.setCol(5), platform::AppError);
}

TEST_F(DataGridTest, ArrowsWrapAtTheRowEndsOnlyWhenAsked) {
    grid.setFocus();
    grid.setCurrentIndex(grid.model()->index(0, 4));
    press(Qt::Key_Right);
    EXPECT_EQ(currentRow(), 0);
    EXPECT_EQ(grid.Col(), 4);

    grid.setWrapCellPointer(true);
    press(Qt::Key_Right);
    EXPECT_EQ(currentRow(), 1);
    EXPECT_EQ(grid.Col(), 0);
    press(Qt::Key_Left);
    EXPECT_EQ(currentRow(), 0);
    EXPECT_EQ(grid.Col(), 4);
    press(Qt::Key_Down);
    EXPECT_EQ(currentRow(), 1);
}

TEST_F(DataGridTest, TabLeavesTheGridAndStoresTheRowBeingTyped) {
    QSignalSpy gotFocus(&grid, &DataGrid::GotFocus);
    QSignalSpy lostFocus(&grid, &DataGrid::LostFocus);
    before.setFocus();
    press(Qt::Key_Tab);
    EXPECT_TRUE(grid.hasFocus());
    click(2, 2);
    type(QStringLiteral("Belt"));
    press(Qt::Key_Tab);
    EXPECT_TRUE(after.hasFocus());
    EXPECT_EQ(gotFocus.count(), 1); // the cell editor is part of the grid
    EXPECT_EQ(lostFocus.count(), 1);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from PartsUsed where PartDescription = "
                                    "'Belt' and WorkOrderId = %1")
                         .arg(order)),
              QStringLiteral("1"));

    grid.SetFocus();
    press(Qt::Key_Tab); // from a cell too, Tab goes to the next control
    EXPECT_TRUE(after.hasFocus());
    EXPECT_EQ(lostFocus.count(), 2);

    // Out of the Tab order, the grid is passed over but still reached by code.
    grid.setTabStop(false);
    EXPECT_FALSE(grid.TabStop());
    before.setFocus();
    press(Qt::Key_Tab);
    EXPECT_TRUE(after.hasFocus());
    grid.SetFocus();
    EXPECT_TRUE(grid.hasFocus());
}

TEST_F(DataGridTest, RefreshOnAnotherSourceShowsItsRowsAndDropsAnOpenRow) {
    click(2, 0);
    type(QStringLiteral("9"));
    press(Qt::Key_Return);
    data.setRecordSource(partsOf(otherOrder));
    data.Refresh();
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(grid.model()->headerData(0, Qt::Vertical).toString(), QStringLiteral("*"));
    data.setRecordSource(partsOf(order));
    data.Refresh();
    EXPECT_EQ(rows(), 3);
    EXPECT_EQ(currentRow(), 0);
    EXPECT_EQ(partCount(), QStringLiteral("2"));
}

} // namespace
