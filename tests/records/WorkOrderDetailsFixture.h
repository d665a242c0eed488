#pragma once

#include "WorkOrderWindowFixture.h"

#include "records/DataGrid.h"

namespace records_test {

class WorkOrderDetailsTest : public WorkOrderWindowTest {
protected:
    // A vehicle with one order, shown in Browse state; returns the order's key.
    int openOnOneOrder() {
        addVehicles({"Civic"});
        const int order = addOrder(vehicleID("Civic"), "2024-01-10", 20000);
        open();
        pick(QStringLiteral("Civic"));
        return order;
    }
    // Chooses a tab as the user does with its mnemonic.
    void chooseTab(int index) {
        window->SSTab1->tabBar()->setFocus();
        window->SSTab1->setCurrentIndex(index);
        if (window->SSTab1->currentIndex() == index)
            emit window->SSTab1->tabBarClicked(index);
    }
    // Puts the grid's cursor on a cell by clicking it.
    static void clickCell(records::DataGrid* grid, int row, int column) {
        const QRect cell = grid->visualRect(grid->model()->index(row, column));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
    // One key at a time to whatever has the focus: the first opens the cell's editor.
    static void type(records::DataGrid*, const QString& text) {
        for (const QChar c : text)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
    static void press(Qt::Key key) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, key);
    }
    QString cell(records::DataGrid* grid, int row, int column) const {
        return grid->model()->index(row, column).data().toString();
    }
    QString fileValue(const char* sql) const { return scalar(path, sql); }
    QString fileValue(const QByteArray& sql) const { return scalar(path, sql.constData()); }
};

} // namespace records_test
