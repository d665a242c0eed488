// The menu bar as the user meets it: items, captions, shortcuts, what is hidden, and
// the placeholder items.
#include "ShellTestSupport.h"

#include <QMenu>
#include <QMenuBar>
#include <QTest>

using namespace shell_test;

namespace {

struct MenuRow {
    const char* name;
    const char* caption; // "-" for a separator
    const char* shortcut;
    bool visible;
};

// Each menu's entries in order.
const QList<QPair<const char*, QList<MenuRow>>> kMenus = {
    {"mnuFile",
     {{"mnuFileNew", "&New", "Ctrl+N", true},
      {"mnuFileOpen", "&Open", "Ctrl+O", true},
      {"mnuFileImport", "&Import...", "", true},
      {"mnuFileExport", "&Export...", "", true},
      {"mnuFileClose", "&Close", "", false},
      {"mnuFileBackUp", "&Back Up...", "", true},
      {"mnuFileRestore", "&Restore From Backup...", "", true},
      {"mnuFileBar2", "-", "", false},
      {"mnuFileProperties", "Propert&ies", "", false},
      {"mnuFileBar3", "-", "", false},
      {"mnuFilePrintSetup", "Print Set&up...", "", false},
      {"mnuFilePrintPreview", "Print Pre&view", "", false},
      {"mnuFilePrint", "&Print...", "Ctrl+P", false},
      {"mnuFileBar4", "-", "", false},
      {"mnuFileSend", "Sen&d...", "", false},
      {"mnuFileBar5", "-", "", true},
      {"mnuFileExit", "E&xit", "", true}}},
    {"mnuEdit", {{"mnuEditUndoDelete", "&Undo Delete", "Ctrl+Z", true}}},
    {"mnuWindow",
     {{"mnuGasPurchases", "Gas Purchases", "", true},
      {"mnuVehicleInformation", "Vehicle Information", "", true},
      {"mnuServiceRecords", "Service Records", "", true},
      {"mnuVehicleHistory", "Vehicle History", "", true},
      {"mnuReminders", "Reminders", "", true},
      {"mnuWindowBar2", "-", "", true},
      {"mnuWindowCascade", "&Cascade", "", true},
      {"mnuWindowArrangeIcons", "&Arrange Icons", "", true},
      {"mnuWindowBar1", "-", "", true}}},
    {"mnuHelp",
     {{"mnuHelpContents", "&Contents", "F1", true},
      {"mnuHelpSearch", "&Search For Help On...", "", true},
      {"mnuHelpBar1", "-", "", true},
      {"mnuHelpAbout", "&About MyApp...", "", true}}},
    {"mnuVehicleCombo", {{"mnuAddNewVehicle", "Add New Vehicle", "", true}}},
};

} // namespace

TEST_F(ShellTest, MenuBarHoldsEveryItemInOrderWithItsCaptionShortcutAndVisibility) {
    makeForm();
    const QList<QAction*> bar = form->menuBar()->actions();
    ASSERT_EQ(bar.size(), kMenus.size());
    const QStringList captions = {"&File", "&Edit", "&Window", "&Help", "VehicleComboMenu"};
    for (int m = 0; m < kMenus.size(); ++m) {
        SCOPED_TRACE(kMenus[m].first);
        EXPECT_EQ(bar[m]->objectName(), QLatin1String(kMenus[m].first));
        EXPECT_EQ(bar[m]->text(), captions[m]);
        const QList<QAction*> entries = bar[m]->menu()->actions();
        const QList<MenuRow>& rows = kMenus[m].second;
        ASSERT_EQ(entries.size(), rows.size());
        for (int i = 0; i < rows.size(); ++i) {
            SCOPED_TRACE(rows[i].name);
            EXPECT_EQ(entries[i]->objectName(), QLatin1String(rows[i].name));
            if (QLatin1String(rows[i].caption) == QLatin1String("-"))
                EXPECT_TRUE(entries[i]->isSeparator());
            else
                EXPECT_EQ(entries[i]->text(), QString::fromUtf8(rows[i].caption));
            EXPECT_EQ(entries[i]->shortcut().toString(), QLatin1String(rows[i].shortcut));
            EXPECT_EQ(entries[i]->isVisible(), rows[i].visible);
        }
    }
    // The vehicle selector menu is defined but never on the bar.
    EXPECT_FALSE(bar[4]->isVisible());
    EXPECT_TRUE(bar[0]->isVisible() && bar[1]->isVisible() && bar[2]->isVisible() &&
                bar[3]->isVisible());
    // Nothing deleted yet: Undo Delete waits, greyed out.
    EXPECT_FALSE(form->findChild<QAction*>(QStringLiteral("mnuEditUndoDelete"))->isEnabled());
}

TEST_F(ShellTest, PlaceholderItemsShowTheirBoxAndChangeNothing) {
    rememberPath(QStringLiteral("/data/cars.mdb"));
    makeForm();
    const QString caption = form->windowTitle();
    item("mnuFileClose")->trigger();
    item("mnuFilePrintSetup")->trigger();
    item("mnuFilePrint")->trigger();
    item("mnuFileProperties")->trigger();
    item("mnuFilePrintPreview")->trigger();
    item("mnuFileSend")->trigger();
    item("mnuAddNewVehicle")->trigger();
    ASSERT_EQ(boxes.count(), 3);
    EXPECT_EQ(boxes.boxes()[0].prompt, QStringLiteral("Close Code goes here!"));
    EXPECT_EQ(boxes.boxes()[1].prompt, QStringLiteral("Print Setup Code goes here!"));
    EXPECT_EQ(boxes.boxes()[2].prompt, QStringLiteral("Print Code goes here!"));
    for (const auto& box : boxes.boxes()) {
        EXPECT_EQ(box.style, 0);
        EXPECT_EQ(box.title, QStringLiteral("Drivolex"));
    }
    EXPECT_EQ(form->windowTitle(), caption);
    EXPECT_EQ(shell::DatabasePath, QStringLiteral("/data/cars.mdb"));
    EXPECT_EQ(writes.size(), 1);
}

TEST_F(ShellTest, HiddenItemsCannotBeReachedByTheirShortcut) {
    makeForm();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->activateWindow();
    QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(boxes.boxes().isEmpty()) << "Ctrl+P belongs to a hidden item";
    // The same keys reach the item once it is shown.
    item("mnuFilePrint")->setVisible(true);
    QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().prompt, QStringLiteral("Print Code goes here!"));
}
