#pragma once

// What the whole-program tests of bad input and bad files share: a new database made
// from the File menu with a few rows put in with plain SQL, a dump of every table to
// prove that nothing was written, the record windows' error box, and the keys and
// clicks a user has beyond the buttons (access keys, tabs, grid cells).
#include "RecordWindowsByHand.h"

#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <algorithm>

namespace e2e {

// Runs SQL that returns no rows on the file, from outside the program.
inline void executeOnFile(const QString& path, const QString& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message);
    const QString text = QString::fromUtf8(message ? message : "");
    sqlite3_free(message);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << text.toStdString() << " in " << sql.toStdString();
}

class TroubleSession : public RecordWindowsByHand {
protected:
    // Vehicle Alpha (key 1) with one fuel purchase, and vehicle Civic (key 2) with one
    // work order (key 1) that has a service, a part and a note.
    void putInSomeRows() {
        executeOnFile(
            databasePath,
            QStringLiteral(
                "INSERT INTO VehicleInfo (VehicleID, VehicleLookup, VehicleMake, VehicleYear) "
                "VALUES (1, 'Alpha', 'Volvo', 2001), (2, 'Civic', 'Honda', 2010);"
                "INSERT INTO Fuel (VehicleID, FuelDate, FuelFull, FuelGals, FuelCost, FuelMiles) "
                "VALUES (1, '2024-01-01 00:00:00', -1, 10, 200000, 100);"
                "INSERT INTO WorkOrder (WorkOrderID, VehicleID, Mileage, Date) "
                "VALUES (1, 2, 20000, '2024-01-10 00:00:00');"
                "INSERT INTO WorkDone (WorkOrderID, WorkDescription) VALUES (1, 'Oil');"
                "INSERT INTO PartsUsed (WorkOrderId, PartQty, PartNum, PartCost) "
                "VALUES (1, 2, 'F-1', 35000);"
                "INSERT INTO WorkOrderMemo (WorkOrderID, WorkOrderMemo) VALUES (1, 'noted');"));
    }

    // Every row of the six tables, in key order, prefixed by its table's name.
    QStringList allRows() const {
        QStringList rows;
        for (const char* table :
             {"VehicleInfo", "Fuel", "WorkOrder", "WorkDone", "PartsUsed", "WorkOrderMemo"})
            for (const QString& row :
                 query(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(QLatin1String(table))))
                rows << QLatin1String(table) + QLatin1Char('|') + row;
        return rows;
    }

    // The last box is a record window's error box: its number first, then the given
    // words; exclamation icon, title "Error".
    void expectErrorBox(int number, const QString& mentions) const {
        ASSERT_GE(boxes.count(), 1);
        const QString prompt = boxes.last().prompt;
        EXPECT_TRUE(prompt.startsWith(QStringLiteral("Error #%1\r\n").arg(number)))
            << prompt.toStdString();
        EXPECT_TRUE(prompt.contains(mentions)) << prompt.toStdString();
        EXPECT_EQ(boxes.last().style, 48);
        EXPECT_EQ(boxes.last().title, QStringLiteral("Error"));
    }

    // After a refused Update the row waits in its window to be put right or cancelled:
    // the box shows what was typed, only Update and Cancel can be pressed, the rows
    // cannot be moved through, and the program will not close.
    void expectStillBeingTyped(QWidget* window, const QString& label, const QString& typed) {
        EXPECT_EQ(shown(labelled(window, label)), typed) << "what was typed is on show";
        EXPECT_EQ(usableButtons(window), (QStringList{"cmdCancel", "cmdUpdate"}));
        QWidget* bar = navigationBar(window);
        EXPECT_TRUE(bar && !bar->isEnabled()) << "the rows can be moved through";
        if (auto* tabs = window->findChild<QTabWidget*>()) {
            EXPECT_FALSE(tabs->isEnabled()) << "details can be typed for no saved order";
        }
        ASSERT_NO_FATAL_FAILURE(expectExitRefused());
    }

    // Alt and a letter, as a user reaches a button by its access key while the focus
    // is in the window (after a menu has closed, the main window is active again).
    void accessKey(QWidget* window, Qt::Key letter) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_TRUE(focus && window->isAncestorOf(focus))
            << "the focus is not in " << window->windowTitle().toStdString();
        QTest::keyClick(focus, letter, Qt::AltModifier);
        // The button shows itself pressed for a moment, then clicks.
        const QList<QAbstractButton*> buttons = window->findChildren<QAbstractButton*>();
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return std::none_of(buttons.begin(), buttons.end(),
                                    [](QAbstractButton* b) { return b->isDown(); });
            },
            2000));
        QApplication::processEvents();
    }

    // Clicks the tab with this caption (without its access-key marker).
    static void clickTab(QWidget* window, const QString& caption) {
        auto* tabs = window->findChild<QTabWidget*>(QStringLiteral("SSTab1"));
        ASSERT_NE(tabs, nullptr);
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->tabText(i).remove(QLatin1Char('&')) == caption) {
                QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {},
                                  tabs->tabBar()->tabRect(i).center());
                QApplication::processEvents();
                return;
            }
        FAIL() << "no tab " << caption.toStdString();
    }

    // Clicks a cell of a grid, then types into whatever has the focus, one key at a
    // time (the first key opens the cell's editor), and ends with the given key.
    void typeIntoCell(QTableView* grid, int row, int column, const QString& text,
                      Qt::Key end = Qt::Key_Return) {
        ASSERT_NE(grid, nullptr);
        const QRect cell = grid->visualRect(grid->model()->index(row, column));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        for (const QChar c : text) {
            ASSERT_NE(QApplication::focusWidget(), nullptr);
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
        }
        QTest::keyClick(QApplication::focusWidget(), end);
        QApplication::processEvents();
    }
};

} // namespace e2e
