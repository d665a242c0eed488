#pragma once

// The record windows as a user works them: opened from the Window menu, moved through
// with the navigation bar, the work order's tabs chosen on the tab bar and its grids
// filled cell by cell from the keyboard.
#include "UserSession.h"

#include <QCheckBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

namespace e2e {

class RecordWindowsByHand : public UserSession {
protected:
    // Brings an open record window to the front through its entry in the Window menu.
    void bringForward(const QString& caption) {
        const QList<QMdiSubWindow*> open = program->mdiArea()->subWindowList();
        for (int i = 0; i < open.size(); ++i)
            if (open[i]->windowTitle() == caption) {
                choose("mnuWindow", QStringLiteral("%1 %2").arg(i + 1).arg(caption));
                ASSERT_EQ(frontWindow(), windowTitled(caption));
                return;
            }
        FAIL() << caption.toStdString() << " is not open";
    }

    // Add, the boxes, Update in the vehicle window.
    static void addVehicle(QWidget* vehicles, const QString& lookup, const QString& make,
                           const QString& model, const QString& year) {
        press(vehicles, "cmdAdd");
        typeInto(vehicles, QStringLiteral("Look Up"), lookup);
        typeInto(vehicles, QStringLiteral("Make"), make);
        typeInto(vehicles, QStringLiteral("Model"), model);
        typeInto(vehicles, QStringLiteral("Year"), year);
        press(vehicles, "cmdUpdate");
    }

    // Picks from a list that was picked from a moment ago: the user pauses first, so
    // the letters start a new search instead of running on from the last ones.
    static void pickAgain(QComboBox* list, const QString& entry) {
        QTest::qWait(QApplication::keyboardInputInterval() + 50);
        pick(list, entry);
    }

    // The one navigation bar the user sees in the window (the others are hidden).
    static QWidget* navigationBar(QWidget* window) {
        QWidget* shownBar = nullptr;
        for (QToolButton* first : window->findChildren<QToolButton*>(QStringLiteral("btnFirst")))
            if (first->isVisible()) {
                EXPECT_EQ(shownBar, nullptr) << "more than one navigation bar in sight";
                shownBar = first->parentWidget();
            }
        EXPECT_NE(shownBar, nullptr) << "no navigation bar in sight";
        return shownBar;
    }
    // Clicks btnFirst, btnPrevious, btnNext or btnLast.
    static void navigate(QWidget* window, const char* button) {
        QWidget* bar = navigationBar(window);
        ASSERT_NE(bar, nullptr);
        auto* target = bar->findChild<QToolButton*>(QLatin1String(button));
        ASSERT_NE(target, nullptr) << button;
        ASSERT_TRUE(target->isEnabled()) << button << " is not usable";
        QTest::mouseClick(target, Qt::LeftButton);
        QApplication::processEvents();
    }
    // The position text of the navigation bar ("Record 2 of 5").
    static QString position(QWidget* window) {
        QWidget* bar = navigationBar(window);
        if (!bar)
            return {};
        auto* caption = bar->findChild<QLabel*>(QStringLiteral("caption"));
        return caption ? caption->text() : QString();
    }

    // The window's buttons a user can press: shown, enabled and not covered, by name.
    static QStringList usableButtons(QWidget* window) {
        QStringList usable;
        for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
            if (!button->objectName().startsWith(QLatin1String("cmd")) || !button->isVisible() ||
                !button->isEnabled())
                continue;
            if (window->childAt(button->mapTo(window, button->rect().center())) == button)
                usable << button->objectName();
        }
        usable.sort();
        return usable;
    }

    // Ticks or clears a check box with a click.
    static void click(QWidget* window, const char* checkBoxName) {
        auto* box = window->findChild<QCheckBox*>(QLatin1String(checkBoxName));
        ASSERT_NE(box, nullptr) << checkBoxName;
        ASSERT_TRUE(box->isVisible() && box->isEnabled()) << checkBoxName << " is not usable";
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->height() / 2, box->height() / 2));
        QApplication::processEvents();
    }
    static bool ticked(QWidget* window, const char* checkBoxName) {
        auto* box = window->findChild<QCheckBox*>(QLatin1String(checkBoxName));
        return box && box->isChecked();
    }

    // Chooses a tab of the window's tab container by clicking its caption.
    static void chooseTab(QWidget* window, const QString& caption) {
        auto* tabs = window->findChild<QTabWidget*>();
        ASSERT_NE(tabs, nullptr);
        ASSERT_TRUE(tabs->isEnabled()) << "the tabs cannot be used";
        QTabBar* bar = tabs->tabBar();
        for (int index = 0; index < bar->count(); ++index)
            if (bar->tabText(index) == caption) {
                QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
                QApplication::processEvents();
                ASSERT_EQ(tabs->currentIndex(), index);
                return;
            }
        FAIL() << "no tab " << caption.toStdString();
    }

    static QTableView* grid(QWidget* window, const char* name) {
        auto* found = window->findChild<QTableView*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    // Puts the grid's cursor on a cell by clicking it.
    static void clickCell(QTableView* table, int row, int column) {
        ASSERT_NE(table, nullptr);
        ASSERT_LT(row, table->model()->rowCount()) << "no such row in sight";
        const QRect cell = table->visualRect(table->model()->index(row, column));
        ASSERT_TRUE(cell.isValid());
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        QApplication::processEvents();
    }
    // What a grid cell shows.
    static QString cell(QTableView* table, int row, int column) {
        return table->model()->index(row, column).data().toString();
    }
    // Keys one at a time to whatever has the focus, as typed.
    static void typeKeys(const QString& text) {
        for (const QChar c : text) {
            QWidget* focus = QApplication::focusWidget();
            ASSERT_NE(focus, nullptr) << "nothing has the focus";
            QTest::keyClick(focus, c.toLatin1());
        }
    }
    static void pressKey(Qt::Key key) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr) << "nothing has the focus";
        QTest::keyClick(focus, key);
        QApplication::processEvents();
    }

    // File > Exit is refused with the main window's box while a record is edited; a
    // fatal failure when the program closed after all.
    void expectExitRefused() {
        const int before = boxes.count();
        choose("mnuFile", QStringLiteral("Exit"));
        ASSERT_EQ(boxes.count(), before + 1) << "no box explains the refusal";
        EXPECT_EQ(boxes.last().prompt,
                  QStringLiteral("Can not Close program when adding or editing a record."));
        EXPECT_EQ(boxes.last().style, 0) << "OK only, no icon";
        EXPECT_EQ(boxes.last().title, QStringLiteral("Can Not Shutdown"));
        ASSERT_TRUE(program->isVisible()) << "the program closed anyway";
    }
    // File > Exit closes the program without a word.
    void expectExitCloses() {
        const int before = boxes.count();
        choose("mnuFile", QStringLiteral("Exit"));
        EXPECT_EQ(boxes.count(), before);
        EXPECT_FALSE(program->isVisible()) << "Exit did not close the program";
    }

    // One text, the rows of a query joined by ";".
    QString rows(const QString& sql) const { return query(sql).join(QLatin1Char(';')); }
};

} // namespace e2e
