#pragma once

#include "history/HistoryReader.h"
#include "reminders/Reminder.h"

#include <QDialog>
#include <vector>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

struct sqlite3;

namespace reminderwindows {

// Adds a reminder (one whose key is 0) or edits one. OK checks the entries, each
// fault in a box naming its field with the focus back there, and stores the reminder;
// nothing is stored until every entry is sound. Cancel stores nothing.
class frmReminderEdit : public QDialog {
    Q_OBJECT
public:
    frmReminderEdit(sqlite3* db, const std::vector<history::VehicleName>& vehicles,
                    const reminders::Reminder& reminder, QWidget* parent = nullptr);

    // The reminder as stored (its key given) once OK succeeded.
    const reminders::Reminder& reminder() const { return m_reminder; }

    QLabel* lblVehicle;
    QComboBox* cboVehicle; // item data VehicleID
    QLabel* lblName;
    QComboBox* txtName; // typed, or one of the Services tick boxes' names
    QLabel* lblDueDate;
    QCheckBox* chkDueDate; // whether it is due on a day
    QDateEdit* dtpDueDate;
    QLabel* lblDueMiles;
    QLineEdit* txtDueMiles;
    QLabel* lblRepeatMiles;
    QLineEdit* txtRepeatMiles;
    QLabel* lblRepeatMonths;
    QLineEdit* txtRepeatMonths;
    QLabel* lblNote;
    QPlainTextEdit* txtNote;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    void cmdOK_Click();

private:
    // The entries as a reminder; false (after the box) when a number does not read.
    bool readEntries(reminders::Reminder& entered);
    void refuse(const QString& problem, QWidget* field);
    QWidget* fieldOf(const QString& problem) const;

    sqlite3* m_db;
    reminders::Reminder m_reminder;
};

} // namespace reminderwindows
