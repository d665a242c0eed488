// The main window's menus and their handlers.
#include "MDIForm1.h"

#include "AppState.h"
#include "ButtonKeysFirst.h"
#include "EditMenu.h"
#include "modGetFileName.h"
#include "store/modCreateDB.h"

#include "about/frmAbout.h"
#include "platform/AppError.h"
#include "platform/AppInfo.h"
#include "platform/ErrorReporting.h"
#include "platform/Help.h"
#include "platform/MsgBox.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

namespace shell {

namespace {

using Handler = void (MDIForm1::*)();

struct MenuBuilder {
    MDIForm1* form;
    QMenu* menu;

    QAction* item(const char* name, const QString& caption, bool visible = true,
                  Handler handler = nullptr, const QKeySequence& shortcut = {}) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(shortcut);
        action->setVisible(visible);
        if (handler)
            QObject::connect(action, &QAction::triggered, form,
                             platform::reported([f = form, handler] { (f->*handler)(); }));
        return action;
    }

    QAction* bar(const char* name, bool visible = true) {
        QAction* separator = menu->addSeparator();
        separator->setObjectName(QLatin1String(name));
        separator->setVisible(visible);
        return separator;
    }
};

QMenu* topMenu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

} // namespace

void MDIForm1::createMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));

    MenuBuilder file{this, topMenu(bar, "mnuFile", QStringLiteral("&File"))};
    file.item("mnuFileNew", QStringLiteral("&New"), true, &MDIForm1::mnuFileNew_Click,
              QKeySequence(Qt::CTRL | Qt::Key_N));
    file.item("mnuFileOpen", QStringLiteral("&Open"), true, &MDIForm1::mnuFileOpen_Click,
              QKeySequence(Qt::CTRL | Qt::Key_O));
    m_mnuFileImport = file.item("mnuFileImport", QStringLiteral("&Import..."), true,
                                &MDIForm1::mnuFileImport_Click);
    m_mnuFileExport = file.item("mnuFileExport", QStringLiteral("&Export..."), true,
                                &MDIForm1::mnuFileExport_Click);
    file.item("mnuFileClose", QStringLiteral("&Close"), false, &MDIForm1::mnuFileClose_Click);
    m_mnuFileBackUp = file.item("mnuFileBackUp", QStringLiteral("&Back Up..."), true,
                                &MDIForm1::mnuFileBackUp_Click);
    m_mnuFileRestore = file.item("mnuFileRestore", QStringLiteral("&Restore From Backup..."), true,
                                 &MDIForm1::mnuFileRestore_Click);
    file.bar("mnuFileBar2", false);
    file.item("mnuFileProperties", QStringLiteral("Propert&ies"), false);
    file.bar("mnuFileBar3", false);
    file.item("mnuFilePrintSetup", QStringLiteral("Print Set&up..."), false,
              &MDIForm1::mnuFilePrintSetup_Click);
    file.item("mnuFilePrintPreview", QStringLiteral("Print Pre&view"), false);
    file.item("mnuFilePrint", QStringLiteral("&Print..."), false, &MDIForm1::mnuFilePrint_Click,
              QKeySequence(Qt::CTRL | Qt::Key_P));
    file.bar("mnuFileBar4", false);
    file.item("mnuFileSend", QStringLiteral("Sen&d..."), false);
    file.bar("mnuFileBar5");
    file.item("mnuFileExit", QStringLiteral("E&xit"), true, &MDIForm1::mnuFileExit_Click);

    new EditMenu(*this);
    new ButtonKeysFirst(*this);

    MenuBuilder window{this, topMenu(bar, "mnuWindow", QStringLiteral("&Window"))};
    m_mnuWindow = window.menu;
    window.item("mnuGasPurchases", QStringLiteral("Gas Purchases"), true,
                &MDIForm1::mnuGasPurchases_Click);
    window.item("mnuVehicleInformation", QStringLiteral("Vehicle Information"), true,
                &MDIForm1::mnuVehicleInformation_Click);
    window.item("mnuServiceRecords", QStringLiteral("Service Records"), true,
                &MDIForm1::mnuServiceRecords_Click);
    window.item("mnuVehicleHistory", QStringLiteral("Vehicle History"), true,
                &MDIForm1::mnuVehicleHistory_Click);
    window.item("mnuReminders", QStringLiteral("Reminders"), true, &MDIForm1::mnuReminders_Click);
    window.bar("mnuWindowBar2");
    window.item("mnuWindowCascade", QStringLiteral("&Cascade"), true,
                &MDIForm1::mnuWindowCascade_Click);
    window.item("mnuWindowArrangeIcons", QStringLiteral("&Arrange Icons"), true,
                &MDIForm1::mnuWindowArrangeIcons_Click);
    m_windowListStart = window.bar("mnuWindowBar1");
    connect(m_mnuWindow, &QMenu::aboutToShow, this, &MDIForm1::rebuildWindowList);
    setWindowMenuEnabled(false);
    showDatabaseInUse();

    MenuBuilder help{this, topMenu(bar, "mnuHelp", QStringLiteral("&Help"))};
    // F1 works in every window of the program, the help window included.
    help.item("mnuHelpContents", QStringLiteral("&Contents"), true,
              &MDIForm1::mnuHelpContents_Click, QKeySequence(Qt::Key_F1))
        ->setShortcutContext(Qt::ApplicationShortcut);
    help.item("mnuHelpSearch", QStringLiteral("&Search For Help On..."), true,
              &MDIForm1::mnuHelpSearch_Click);
    help.bar("mnuHelpBar1");
    help.item("mnuHelpAbout", QStringLiteral("&About MyApp..."), true,
              &MDIForm1::mnuHelpAbout_Click);

    // Defined for the vehicle selectors but never shown by the program.
    MenuBuilder combo{this, topMenu(bar, "mnuVehicleCombo", QStringLiteral("VehicleComboMenu"))};
    combo.menu->menuAction()->setVisible(false);
    combo.item("mnuAddNewVehicle", QStringLiteral("Add New Vehicle"));
}

void MDIForm1::setWindowMenuEnabled(bool enabled) {
    m_mnuWindow->menuAction()->setEnabled(enabled);
    m_mnuWindow->setEnabled(enabled);
}

// The open record windows follow the last separator, numbered, the active one checked.
void MDIForm1::rebuildWindowList() {
    qDeleteAll(m_windowListItems);
    m_windowListItems.clear();
    const QList<QMdiSubWindow*> windows = m_mdiArea->subWindowList();
    m_windowListStart->setVisible(!windows.isEmpty());
    int number = 1;
    for (QMdiSubWindow* sub : windows) {
        QString caption = sub->windowTitle();
        caption.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction* item = m_mnuWindow->addAction(
            number < 10 ? QStringLiteral("&%1 %2").arg(number).arg(caption) : caption);
        item->setObjectName(QStringLiteral("windowListItem%1").arg(number));
        item->setCheckable(true);
        item->setChecked(sub == m_mdiArea->activeSubWindow());
        connect(item, &QAction::triggered, this, [this, target = QPointer<QMdiSubWindow>(sub)] {
            if (target)
                m_mdiArea->setActiveSubWindow(target);
        });
        m_windowListItems.append(item);
        ++number;
    }
}

void MDIForm1::mnuFileNew_Click() {
    const QString path = modGetFileName::GetNewDatabaseName(this);
    if (path.isEmpty())
        return; // cancelled: nothing changes
    // Creation reports success and failure itself; a failure keeps the previous path.
    if (modCreateDB::CreateNewDatabase(path)) {
        DatabasePath = path;
        DatabaseOpened();
    }
}

void MDIForm1::mnuFileOpen_Click() {
    bool rejected = false;
    const QString path = modGetFileName::GetOpenDatabaseName(this, &rejected);
    // A file that is no database of ours was reported by name; everything stays as it was.
    if (rejected)
        return;
    DatabasePath = path;
    if (!DatabasePath.isEmpty()) {
        DatabaseOpened();
        return;
    }
    setWindowMenuEnabled(false);
    showDatabaseInUse();
    platform::MsgBox(
        QStringLiteral("A valid database needs to be selected to work with this program."),
        platform::vbInformation, QStringLiteral("Need Valid Database"));
}

void MDIForm1::mnuFileClose_Click() {
    platform::MsgBox(QStringLiteral("Close Code goes here!"), platform::vbOKOnly,
                     platform::appTitle());
}

void MDIForm1::mnuFileImport_Click() {
    if (m_import)
        m_import();
}

void MDIForm1::mnuFileExport_Click() {
    if (m_export)
        m_export();
}

void MDIForm1::mnuFileBackUp_Click() {
    if (m_backUp)
        m_backUp();
}

void MDIForm1::mnuFileRestore_Click() {
    if (m_restore)
        m_restore();
}

void MDIForm1::mnuFilePrintSetup_Click() {
    platform::MsgBox(QStringLiteral("Print Setup Code goes here!"), platform::vbOKOnly,
                     platform::appTitle());
}

void MDIForm1::mnuFilePrint_Click() {
    platform::MsgBox(QStringLiteral("Print Code goes here!"), platform::vbOKOnly,
                     platform::appTitle());
}

void MDIForm1::mnuFileExit_Click() {
    m_unloadMode = vbFormCode;
    close();
}

void MDIForm1::mnuGasPurchases_Click() {
    // An open fuel window stays where it is.
    showChildWindow(ChildWindow::GasPurchases, false);
}

void MDIForm1::mnuVehicleInformation_Click() {
    showChildWindow(ChildWindow::VehicleInformation, true);
}

void MDIForm1::mnuServiceRecords_Click() {
    showChildWindow(ChildWindow::ServiceRecords, true);
}

void MDIForm1::mnuVehicleHistory_Click() {
    showChildWindow(ChildWindow::VehicleHistory, true);
}

void MDIForm1::mnuReminders_Click() {
    showChildWindow(ChildWindow::Reminders, true);
}

void MDIForm1::mnuWindowCascade_Click() {
    m_mdiArea->cascadeSubWindows();
}

// Lines the minimised record windows up along the bottom of the frame.
void MDIForm1::mnuWindowArrangeIcons_Click() {
    QList<QMdiSubWindow*> icons;
    for (QMdiSubWindow* sub : m_mdiArea->subWindowList())
        if (sub->isMinimized() && sub->isVisible())
            icons.append(sub);
    const QRect client = m_mdiArea->viewport()->rect();
    int x = 0;
    int bottom = client.height();
    int rowHeight = 0;
    for (QMdiSubWindow* sub : icons) {
        const QSize size = sub->size();
        if (x > 0 && x + size.width() > client.width()) {
            bottom -= rowHeight;
            x = 0;
            rowHeight = 0;
        }
        sub->move(x, bottom - size.height());
        x += size.width();
        rowHeight = std::max(rowHeight, size.height());
    }
}

void MDIForm1::showHelp(unsigned command) {
    try {
        platform::WinHelp(this, platform::appHelpFile(), command, QString());
    } catch (const platform::AppError& error) {
        platform::MsgBox(error.text(), platform::vbOKOnly, platform::appTitle());
    } catch (const std::exception& error) {
        platform::MsgBox(QString::fromLocal8Bit(error.what()), platform::vbOKOnly,
                         platform::appTitle());
    }
}

void MDIForm1::mnuHelpContents_Click() {
    showHelp(platform::HELP_CONTENTS);
}

void MDIForm1::mnuHelpSearch_Click() {
    showHelp(platform::HELP_PARTIALKEY);
}

void MDIForm1::mnuHelpAbout_Click() {
    about::frmAbout dialog(this);
    dialog.exec();
}

} // namespace shell
