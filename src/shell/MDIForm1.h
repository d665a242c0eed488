#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QSessionManager;

namespace platform {
class RegistryStore;
}

namespace shell {

// The windows that the Window menu opens.
enum class ChildWindow {
    GasPurchases = 0,
    VehicleInformation = 1,
    ServiceRecords = 2,
    VehicleHistory = 3,
    Reminders = 4
};

// The program's one top-level window: the MDI frame that holds the record windows and
// owns the menus. It keeps the remembered database path and refuses to close while a
// record window is adding or editing a row.
class MDIForm1 : public QMainWindow {
    Q_OBJECT
public:
    // Makes the record window's content widget; the window puts it into a sub-window
    // with addChildWindow() (before its own set-up) or leaves that to the frame.
    using WindowFactory = std::function<QWidget*(MDIForm1& frame)>;

    // Reasons for closing, as the close check receives them.
    enum UnloadMode { vbFormControlMenu = 0, vbFormCode = 1, vbAppWindows = 2 };

    explicit MDIForm1(QWidget* parent = nullptr);
    ~MDIForm1() override;

    // Start-up: centres the window on its screen (again once the desktop has given it
    // its frame, so that the frame is what is centred), allows closing, takes up the
    // remembered database path.
    void MDIForm_Load();

    // Whether the program may close; the record windows clear it while a row is being
    // added or edited.
    void ShutdownEnabled(bool bolEnableShutdown);

    // The close check every way of closing goes through; sets Cancel to keep the
    // window open.
    void MDIForm_QueryUnload(bool& Cancel, int UnloadMode);

    // The desktop session is ending: returns false (after saying why) when the program
    // must stay open.
    bool sessionMayEnd();

    QMdiArea* mdiArea() const { return m_mdiArea; }

    // True while the frame closes its record windows on its way out; they refuse
    // every other close but their own Close button's.
    bool isUnloading() const { return m_unloading; }

    // Record windows: how each Window menu item makes its window; the sub-window of a
    // content widget (made on first call); the open window of an item, loaded when
    // needed, shown, and brought to the front if asked.
    void setWindowFactory(ChildWindow which, WindowFactory factory);
    QMdiSubWindow* addChildWindow(QWidget* form);
    QWidget* showChildWindow(ChildWindow which, bool bringToFront);
    QWidget* openChildWindow(ChildWindow which) const;

    // The remembered-path store, made on first use; tests give their own.
    platform::RegistryStore& registryStore();
    void useRegistryStore(std::unique_ptr<platform::RegistryStore> store);

    // Menu handlers.
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileImport_Click();
    void mnuFileExport_Click();
    void mnuFileClose_Click();
    void mnuFileBackUp_Click();
    void mnuFileRestore_Click();
    void mnuFilePrintSetup_Click();
    void mnuFilePrint_Click();
    void mnuFileExit_Click();
    void mnuGasPurchases_Click();
    void mnuVehicleInformation_Click();
    void mnuServiceRecords_Click();
    void mnuVehicleHistory_Click();
    void mnuReminders_Click();
    void mnuWindowCascade_Click();
    void mnuWindowArrangeIcons_Click();
    void mnuHelpContents_Click();
    void mnuHelpSearch_Click();
    void mnuHelpAbout_Click();

    // What File > Back Up and File > Restore From Backup do; the backup windows give
    // them. Until then the items do nothing.
    void setBackupCommands(std::function<void()> backUp, std::function<void()> restore);

    // What File > Import and File > Export do; the import windows give them.
    void setExchangeCommands(std::function<void()> importFile, std::function<void()> exportFile);

    // The status line: what to do first while no database is in use, else the file in
    // use, followed by the last notice (such as a backup that failed) until another
    // file is taken into use.
    QString statusText() const;
    void showNotice(const QString& notice);

    // The reminders due in the file in use, beside the status line: readDue gives the
    // text for a file's path (empty when nothing is due), open shows the reminders. The
    // reminder windows give them; until then nothing is shown.
    void setDueReminders(std::function<QString(const QString& path)> readDue,
                         std::function<void()> open);
    // Reads the due reminders of the file in use again (the reminders changed); done
    // also whenever a window comes to the front.
    void refreshDueReminders();
    // The label (a link) and all of its text, which it may show cut short.
    QLabel* dueRemindersLine() const { return m_lblRemindersDue; }
    QString dueRemindersText() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void DatabaseOpened();
    void showDatabaseInUse();
    void centreOnScreen();
    void setWindowMenuEnabled(bool enabled);
    void createMenus();
    void rebuildWindowList();
    void showHelp(unsigned command);
    void commitData(QSessionManager& manager);

    // First, so that it is set before the children made below send their events.
    bool m_centreWhenFramed = false; // until the frame's size is known
    QMdiArea* m_mdiArea;
    QLabel* m_statusLine;
    QLabel* m_lblRemindersDue;
    std::function<QString(const QString&)> m_readDue;
    std::function<void()> m_openReminders;
    QMenu* m_mnuWindow = nullptr;
    QAction* m_windowListStart = nullptr; // the separator the window list follows
    QList<QAction*> m_windowListItems;
    bool m_shutdownEnabled = false;
    bool m_unloading = false;
    int m_unloadMode = vbFormControlMenu;
    std::unique_ptr<platform::RegistryStore> m_registry;
    QAction* m_mnuFileBackUp = nullptr;
    QAction* m_mnuFileRestore = nullptr;
    QAction* m_mnuFileImport = nullptr;
    QAction* m_mnuFileExport = nullptr;
    std::function<void()> m_import;
    std::function<void()> m_export;
    std::function<void()> m_backUp;
    std::function<void()> m_restore;
    QString m_notice;
    std::array<WindowFactory, 5> m_factories;
    std::array<QPointer<QWidget>, 5> m_children;
};

} // namespace shell
