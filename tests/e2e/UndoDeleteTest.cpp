// A delete taken back through Edit > Undo Delete: the rows come back in the file as
// they were and in every window on it; Ctrl+Z and Alt+E keep their places in the
// boxes and buttons of the record windows.
#include "RecordWindowsByHand.h"
#include "reminders/ReminderStore.h"

#include <QFile>
#include <QHeaderView>
#include <cstdio>

using namespace e2e;

namespace {

class UndoDelete : public RecordWindowsByHand {
protected:
    // Two vehicles, the Civic with two fuel purchases and a work order with a
    // service and a note, written to the file before any window opens.
    void SetUp() override {
        RecordWindowsByHand::SetUp();
        ASSERT_NO_FATAL_FAILURE(startWithNewDatabase());
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(databasePath.toUtf8().constData(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, R"(
            INSERT INTO VehicleInfo VALUES ('Civic', 1, 'Honda', 'Civic', 2015, 'VIN1');
            INSERT INTO VehicleInfo VALUES ('Ranger', 2, 'Ford', 'Ranger', 2009, NULL);
            INSERT INTO Fuel VALUES ('2024-01-05 00:00:00', 12, 10000, -1, 400000, 'Dayton',
                                     'OH', 1, 1);
            INSERT INTO Fuel VALUES ('2024-01-19 00:00:00', 11.5, 10345, -1, 385000, 'Dayton',
                                     'OH', 2, 1);
            INSERT INTO WorkOrder VALUES (1, 42, 10400, '2024-01-22 00:00:00');
            INSERT INTO WorkDone VALUES (42, 1, 'Change Oil');
            INSERT INTO WorkOrderMemo VALUES ('Wipers squeak', 42);
        )",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }

    // Every table's rows with their storage classes.
    QString dump() const {
        QStringList all;
        for (const char* table :
             {"VehicleInfo", "Fuel", "WorkOrder", "WorkDone", "PartsUsed", "WorkOrderMemo"}) {
            QStringList columns;
            for (const QString& column :
                 query(QStringLiteral("SELECT name FROM pragma_table_info('%1')")
                           .arg(QLatin1String(table))))
                columns << QStringLiteral("typeof(\"%1\") || quote(\"%1\")").arg(column);
            all << query(
                QStringLiteral("SELECT rowid || ':' || %1 FROM %2 ORDER BY rowid")
                    .arg(columns.join(QStringLiteral(" || '|' || ")), QLatin1String(table)));
        }
        return all.join(QLatin1Char('\n'));
    }

    QAction* undoItem() const {
        return program->findChild<QAction*>(QStringLiteral("mnuEditUndoDelete"));
    }

    static void keys(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, key, modifiers);
        QApplication::processEvents();
    }

    QComboBox* vehicleList(QWidget* window) {
        return qobject_cast<QComboBox*>(labelled(window, QStringLiteral("Vehicle")));
    }
};

TEST_F(UndoDelete, AVehicleComesBackWithEverythingItHadInEveryWindow) {
    QWidget* gas = openWindow(QStringLiteral("Gas Purchases"), QStringLiteral("Gas Purchases"));
    ASSERT_NE(gas, nullptr);
    pick(vehicleList(gas), QStringLiteral("Civic"));
    EXPECT_EQ(position(gas), QStringLiteral("Record 2 of 2"));
    QWidget* vehicles =
        openWindow(QStringLiteral("Vehicle Information"), QStringLiteral("Vehicle Information"));
    ASSERT_NE(vehicles, nullptr);
    navigate(vehicles, "btnFirst");
    ASSERT_EQ(shown(labelled(vehicles, QStringLiteral("Look Up"))), QStringLiteral("Civic"));
    EXPECT_FALSE(undoItem()->isEnabled());
    EXPECT_EQ(undoItem()->text(), QStringLiteral("&Undo Delete"));
    const QString before = dump();

    press(vehicles, "cmdDelete");
    ASSERT_EQ(boxes.count(), 1); // the question, answered Yes
    boxes.clear();
    EXPECT_EQ(value(QStringLiteral("SELECT count(*) FROM Fuel")), QStringLiteral("0"));
    EXPECT_TRUE(undoItem()->isEnabled());
    // The Gas Purchases window lets the vehicle go when it comes to the front.
    ASSERT_NO_FATAL_FAILURE(bringForward(QStringLiteral("Gas Purchases")));
    EXPECT_EQ(shown(vehicleList(gas)), QString());
    ASSERT_NO_FATAL_FAILURE(bringForward(QStringLiteral("Vehicle Information")));

    ASSERT_NO_FATAL_FAILURE(choose("mnuEdit", QStringLiteral("Undo Delete of Vehicle 'Civic'")));
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(dump(), before);
    expectFileSound();
    // The window that deleted shows the vehicle at once.
    EXPECT_EQ(shown(labelled(vehicles, QStringLiteral("Look Up"))), QStringLiteral("Civic"));
    EXPECT_EQ(position(vehicles), QStringLiteral("Record 1 of 2"));
    EXPECT_FALSE(undoItem()->isEnabled());
    EXPECT_EQ(undoItem()->text(), QStringLiteral("&Undo Delete"));
    // The other window when it comes to the front: the vehicle and its rows.
    ASSERT_NO_FATAL_FAILURE(bringForward(QStringLiteral("Gas Purchases")));
    EXPECT_EQ(shown(vehicleList(gas)), QStringLiteral("Civic"));
    EXPECT_EQ(position(gas), QStringLiteral("Record 2 of 2"));
    EXPECT_EQ(shown(labelled(gas, QStringLiteral("Date"))), QStringLiteral("1/19/2024"));
}

TEST_F(UndoDelete, AVehiclesRemindersGoWithItAndComeBackWithTheUndo) {
    // Two reminders of the Civic (one done by its work order), one of the Ranger.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(databasePath.toUtf8().constData(), &db), SQLITE_OK);
    const auto add = [db](qint64 vehicle, const char* name, qint64 dueMiles) {
        reminders::Reminder reminder;
        reminder.vehicleId = vehicle;
        reminder.name = QLatin1String(name);
        reminder.dueMiles = dueMiles;
        reminder.repeatMiles = 5000;
        reminder.note = QStringLiteral("5W-30");
        return reminders::addReminder(db, reminder);
    };
    ASSERT_NO_THROW(add(1, "Change Oil", 10300));
    ASSERT_NO_THROW(add(1, "Tune Up", 30000));
    ASSERT_NO_THROW(add(2, "Change Oil", 90000));
    ASSERT_EQ(reminders::recordServicesDone(db, 42).size(), 1u);
    sqlite3_close(db);
    const auto reminders = [this] {
        return query(QStringLiteral(
                         "SELECT ReminderID || '|' || VehicleID || '|' || Name || '|' || "
                         "quote(DueMiles) || '|' || quote(DoneWorkOrderID) || '|' || Note FROM "
                         "drivolex_reminder ORDER BY ReminderID"))
            .join(QLatin1Char('\n'));
    };
    const QString before = reminders();
    ASSERT_TRUE(before.contains(QLatin1String("1|1|Change Oil|15400|42|5W-30")))
        << before.toStdString();

    QWidget* vehicles =
        openWindow(QStringLiteral("Vehicle Information"), QStringLiteral("Vehicle Information"));
    ASSERT_NE(vehicles, nullptr);
    navigate(vehicles, "btnFirst");
    ASSERT_EQ(shown(labelled(vehicles, QStringLiteral("Look Up"))), QStringLiteral("Civic"));
    press(vehicles, "cmdDelete");
    ASSERT_EQ(boxes.count(), 1); // the question, answered Yes
    boxes.clear();
    EXPECT_EQ(reminders(), QStringLiteral("3|2|Change Oil|90000|NULL|5W-30"))
        << "the Ranger's stays";

    ASSERT_NO_FATAL_FAILURE(choose("mnuEdit", QStringLiteral("Undo Delete of Vehicle 'Civic'")));
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(reminders(), before) << "each with its own key and every field";
    expectFileSound();
}

TEST_F(UndoDelete, CtrlZInATextBoxStaysTheBoxsOwnAndAnUnsavedRowIsKept) {
    QWidget* gas = openWindow(QStringLiteral("Gas Purchases"), QStringLiteral("Gas Purchases"));
    ASSERT_NE(gas, nullptr);
    pick(vehicleList(gas), QStringLiteral("Civic"));
    press(gas, "cmdDelete");
    EXPECT_EQ(position(gas), QStringLiteral("Record 1 of 1"));
    EXPECT_EQ(undoItem()->text(), QStringLiteral("&Undo Delete of Fuel Purchase 1/19/2024"));

    // A vehicle being added in another window, the keyboard in its Look Up box.
    QWidget* vehicles =
        openWindow(QStringLiteral("Vehicle Information"), QStringLiteral("Vehicle Information"));
    ASSERT_NE(vehicles, nullptr);
    press(vehicles, "cmdAdd");
    typeInto(vehicles, QStringLiteral("Look Up"), QStringLiteral("Jeep"));
    ASSERT_NO_FATAL_FAILURE(keys(Qt::Key_Z, Qt::ControlModifier));
    EXPECT_EQ(value(QStringLiteral("SELECT count(*) FROM Fuel")), QStringLiteral("1"))
        << "Ctrl+Z in a box is the box's";
    typeInto(vehicles, QStringLiteral("Look Up"), QStringLiteral("Jeep"));

    // The menu brings the purchase back; the vehicle typed stays, unsaved, until Update.
    ASSERT_NO_FATAL_FAILURE(
        choose("mnuEdit", QStringLiteral("Undo Delete of Fuel Purchase 1/19/2024")));
    EXPECT_EQ(value(QStringLiteral("SELECT count(*) FROM Fuel")), QStringLiteral("2"));
    EXPECT_EQ(shown(labelled(vehicles, QStringLiteral("Look Up"))), QStringLiteral("Jeep"));
    press(vehicles, "cmdUpdate");
    QApplication::processEvents();
    EXPECT_EQ(value(QStringLiteral("SELECT group_concat(VehicleLookup) FROM VehicleInfo")),
              QStringLiteral("Civic,Ranger,Jeep"));
    EXPECT_EQ(shown(labelled(vehicles, QStringLiteral("Look Up"))), QStringLiteral("Jeep"));
    EXPECT_EQ(position(vehicles), QStringLiteral("Record 3 of 3"));
    ASSERT_EQ(boxes.count(), 1) << "only the delete's question";

    ASSERT_NO_FATAL_FAILURE(bringForward(QStringLiteral("Gas Purchases")));
    EXPECT_EQ(position(gas), QStringLiteral("Record 2 of 2"));
    EXPECT_EQ(shown(labelled(gas, QStringLiteral("Date"))), QStringLiteral("1/19/2024"));

    // Off the boxes, Ctrl+Z is Undo Delete: a service deleted in the Work Order window.
    QWidget* orders = openWindow(QStringLiteral("Service Records"), QStringLiteral("Work Order"));
    ASSERT_NE(orders, nullptr);
    pick(vehicleList(orders), QStringLiteral("Civic"));
    press(orders, "cmdDelete");
    EXPECT_EQ(value(QStringLiteral("SELECT count(*) FROM WorkOrderMemo")), QStringLiteral("0"));
    EXPECT_EQ(undoItem()->text(), QStringLiteral("&Undo Delete of Work Order 0042"));
    auto* close = orders->findChild<QAbstractButton*>(QStringLiteral("cmdClose"));
    close->setFocus();
    ASSERT_NO_FATAL_FAILURE(keys(Qt::Key_Z, Qt::ControlModifier));
    EXPECT_EQ(value(QStringLiteral("SELECT WorkOrderMemo FROM WorkOrderMemo")),
              QStringLiteral("Wipers squeak"));
    EXPECT_EQ(shown(labelled(orders, QStringLiteral("Order #"))), QStringLiteral("0042"));
}

TEST_F(UndoDelete, AVehicleBackWhileOneIsAddedWaitsAndTheSavedOneStaysOnShow) {
    QWidget* vehicles =
        openWindow(QStringLiteral("Vehicle Information"), QStringLiteral("Vehicle Information"));
    ASSERT_NE(vehicles, nullptr);
    press(vehicles, "cmdDelete"); // the Ranger
    press(vehicles, "cmdAdd");
    typeInto(vehicles, QStringLiteral("Look Up"), QStringLiteral("Jeep"));
    ASSERT_NO_FATAL_FAILURE(choose("mnuEdit", QStringLiteral("Undo Delete of Vehicle 'Ranger'")));
    EXPECT_EQ(value(QStringLiteral("SELECT count(*) FROM VehicleInfo")), QStringLiteral("2"));
    EXPECT_EQ(shown(labelled(vehicles, QStringLiteral("Look Up"))), QStringLiteral("Jeep"));
    press(vehicles, "cmdUpdate");
    QApplication::processEvents();
    EXPECT_EQ(position(vehicles), QStringLiteral("Record 3 of 3"));
    EXPECT_EQ(shown(labelled(vehicles, QStringLiteral("Look Up"))), QStringLiteral("Jeep"));
    navigate(vehicles, "btnPrevious");
    EXPECT_EQ(shown(labelled(vehicles, QStringLiteral("Look Up"))), QStringLiteral("Ranger"));
}

TEST_F(UndoDelete, AServiceLineAndAnEmptiedNoteComeBackIntoTheOrderOnShow) {
    QWidget* orders = openWindow(QStringLiteral("Service Records"), QStringLiteral("Work Order"));
    ASSERT_NE(orders, nullptr);
    pick(vehicleList(orders), QStringLiteral("Civic"));
    const QString before = dump();

    // The service line picked by its row selector, then the Delete key.
    chooseTab(orders, QStringLiteral("&WorkDone"));
    QTableView* services = grid(orders, "dbgService");
    const QHeaderView* selectors = services->verticalHeader();
    QTest::mouseClick(selectors->viewport(), Qt::LeftButton, {},
                      QPoint(4, selectors->sectionViewportPosition(0) + 4));
    ASSERT_NO_FATAL_FAILURE(keys(Qt::Key_Delete, {}));
    ASSERT_EQ(value(QStringLiteral("SELECT count(*) FROM WorkDone")), QStringLiteral("0"));
    // The note emptied and left.
    chooseTab(orders, QStringLiteral("No&tes"));
    auto* notes = orders->findChild<QPlainTextEdit*>(QStringLiteral("txtNotes"));
    notes->setFocus();
    notes->selectAll();
    ASSERT_NO_FATAL_FAILURE(keys(Qt::Key_Delete, {}));
    chooseTab(orders, QStringLiteral("&Services"));
    ASSERT_EQ(value(QStringLiteral("SELECT count(*) FROM WorkOrderMemo")), QStringLiteral("0"));
    EXPECT_FALSE(ticked(orders, "Check2"));

    ASSERT_NO_FATAL_FAILURE(
        choose("mnuEdit", QStringLiteral("Undo Delete of Note of Work Order 0042")));
    EXPECT_EQ(shown(notes), QStringLiteral("Wipers squeak"));
    ASSERT_NO_FATAL_FAILURE(
        choose("mnuEdit", QStringLiteral("Undo Delete of Service 'Change Oil'")));
    EXPECT_EQ(dump(), before);
    EXPECT_TRUE(ticked(orders, "Check2")) << "the service's box shows it again";
    EXPECT_EQ(cell(services, 0, 0), QStringLiteral("Change Oil"));
    EXPECT_EQ(shown(labelled(orders, QStringLiteral("Order #"))), QStringLiteral("0042"));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(UndoDelete, AltEPressesTheEditButtonOfTheWindowInFrontElseOpensTheMenu) {
    QWidget* vehicles =
        openWindow(QStringLiteral("Vehicle Information"), QStringLiteral("Vehicle Information"));
    ASSERT_NE(vehicles, nullptr);
    vehicles->findChild<QAbstractButton*>(QStringLiteral("cmdAdd"))->setFocus();
    ASSERT_NO_FATAL_FAILURE(keys(Qt::Key_E, Qt::AltModifier));
    auto* update = vehicles->findChild<QAbstractButton*>(QStringLiteral("cmdUpdate"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return !vehicles->findChild<QAbstractButton*>(QStringLiteral("cmdEdit"))->isVisible();
        },
        2000))
        << "Alt+E did not press Edit";
    QMenu* edit = program->findChild<QMenu*>(QStringLiteral("mnuEdit"));
    EXPECT_FALSE(edit->isVisible());
    ASSERT_TRUE(update->isVisible());
    press(vehicles, "cmdCancel");

    // While the window edits, its Edit button is hidden: Alt+E is the menu's.
    press(vehicles, "cmdEdit");
    ASSERT_NO_FATAL_FAILURE(keys(Qt::Key_E, Qt::AltModifier));
    EXPECT_TRUE(QTest::qWaitFor([&] { return edit->isVisible(); }, 2000));
    edit->hide();
    QApplication::setActiveWindow(program.get());
    press(vehicles, "cmdCancel");
}

TEST_F(UndoDelete, ADeleteFromAReplacedFileIsRefusedWithABoxAndChangesNothing) {
    QWidget* vehicles =
        openWindow(QStringLiteral("Vehicle Information"), QStringLiteral("Vehicle Information"));
    ASSERT_NE(vehicles, nullptr);
    press(vehicles, "cmdDelete"); // the Ranger
    boxes.clear();
    // A copy of the file put in its place, as a restore from elsewhere does.
    const QString copy = folder.filePath(QStringLiteral("copy.mdb"));
    ASSERT_TRUE(QFile::copy(databasePath, copy));
    ASSERT_EQ(std::rename(QFile::encodeName(copy).constData(),
                          QFile::encodeName(databasePath).constData()),
              0);
    const QString before = dump();

    ASSERT_NO_FATAL_FAILURE(choose("mnuEdit", QStringLiteral("Undo Delete of Vehicle 'Ranger'")));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().title, QStringLiteral("Undo Delete"));
    EXPECT_TRUE(
        boxes.last().prompt.startsWith(QStringLiteral("Vehicle 'Ranger' cannot be brought back")))
        << boxes.last().prompt.toStdString();
    EXPECT_TRUE(boxes.last().prompt.contains(databasePath));
    EXPECT_EQ(dump(), before);
    EXPECT_FALSE(undoItem()->isEnabled());
}

} // namespace
