#pragma once

#include "history/HistoryReader.h"
#include "reminders/DueList.h"

#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace shell {
class MDIForm1;
}
namespace store {
class Database;
}

namespace reminderwindows {

// The Reminders: one vehicle's (or every vehicle's) service reminders with their
// state today, and what is expected when. Like the Vehicle History it can be resized,
// maximised and closed from its caption. Reminders are added and edited in their own
// dialog; Done records one done today at the vehicle's latest odometer reading.
class frmReminders : public QWidget {
    Q_OBJECT
public:
    // Makes the window in its own sub-window of the frame and loads it: the file in
    // use is checked as the record windows check it. Throws, leaving nothing behind,
    // when loading fails.
    static frmReminders* open(shell::MDIForm1& frame);

    enum Column {
        VehicleColumn,
        ReminderColumn,
        DueDateColumn,
        DueMilesColumn,
        RepeatColumn,
        StateColumn,
        EstimatedColumn,
        ColumnCount
    };

    QLabel* lblVehicle;
    QComboBox* cboVehicleID; // "All Vehicles", then each vehicle (item data VehicleID)
    QLabel* lblSoonDays;
    QSpinBox* txtSoonDays;
    QLabel* lblSoonMiles;
    QSpinBox* txtSoonMiles;
    QLabel* lblSoonUnit;
    QTableWidget* dbgReminders; // one row per reminder, item data of its first cell the key
    QPushButton* cmdAdd;
    QPushButton* cmdEdit;
    QPushButton* cmdDelete;
    QPushButton* cmdDone;
    QPushButton* cmdClose;

    QMdiSubWindow* subWindow() const { return m_subWindow; }
    // The reminders on show, in the list's order.
    const std::vector<reminders::ReminderLine>& lines() const { return m_lines; }
    // Moves the list to the reminder's row, if it is on show.
    void selectReminder(qint64 reminderId);

    void Form_Activate();
    void cboVehicleID_Click();
    void txtSoon_Change();
    void cmdAdd_Click();
    void cmdEdit_Click();
    void cmdDelete_Click();
    void cmdDone_Click();
    void cmdClose_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit frmReminders(shell::MDIForm1& frame);
    void createControls();
    void layOutControls();
    void connectHandlers();
    void placeInFrame();

    void FillVehicleCombo();
    std::optional<qint64> selectedVehicle() const;
    const reminders::ReminderLine* currentLine() const;
    // Reads the reminders again and shows them, the current one kept.
    void showReminders();
    void enableCommands();
    // The reminders changed: the list and the main window's status line say so.
    void remindersChanged(std::optional<qint64> current);

    shell::MDIForm1& m_frame;
    QPointer<QMdiSubWindow> m_subWindow;
    std::shared_ptr<store::Database> m_database; // the file the window was opened on
    std::vector<history::VehicleName> m_vehicles;
    std::vector<reminders::ReminderLine> m_lines;
};

} // namespace reminderwindows
