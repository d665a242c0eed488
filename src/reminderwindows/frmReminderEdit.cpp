#include "frmReminderEdit.h"

#include "ReminderTexts.h"
#include "platform/AppError.h"
#include "platform/ErrorReporting.h"
#include "platform/MsgBox.h"
#include "records/RecordWindow.h"
#include "reminders/ReminderStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace reminderwindows {

namespace {

QLabel* makeLabel(const char* name, const QString& caption, QWidget* buddy) {
    auto* label = new QLabel(caption);
    label->setObjectName(QLatin1String(name));
    label->setBuddy(buddy);
    QString accessible = caption;
    accessible.remove(QLatin1Char('&'));
    buddy->setAccessibleName(accessible);
    return label;
}

QLineEdit* makeNumberBox(const char* name, const std::optional<qint64>& value) {
    auto* box = new QLineEdit(value ? QString::number(*value) : QString());
    box->setObjectName(QLatin1String(name));
    box->setMaxLength(12);
    return box;
}

// A whole number as typed, with thousands separators allowed ("55,500"); empty text
// is none. False when the text is no whole number.
bool readNumber(const QLineEdit& box, std::optional<qint64>& value) {
    QString text = box.text().trimmed();
    text.remove(QLatin1Char(','));
    if (text.isEmpty()) {
        value.reset();
        return true;
    }
    bool ok = false;
    const qint64 number = text.toLongLong(&ok);
    if (!ok)
        return false;
    value = number;
    return true;
}

} // namespace

frmReminderEdit::frmReminderEdit(sqlite3* db, const std::vector<history::VehicleName>& vehicles,
                                 const reminders::Reminder& reminder, QWidget* parent)
    : QDialog(parent), m_db(db), m_reminder(reminder) {
    setObjectName(QStringLiteral("frmReminderEdit"));
    setWindowTitle(reminder.reminderId ? QStringLiteral("Edit Reminder")
                                       : QStringLiteral("Add Reminder"));
    setModal(true);

    cboVehicle = new QComboBox;
    cboVehicle->setObjectName(QStringLiteral("cboVehicle"));
    for (const history::VehicleName& vehicle : vehicles)
        cboVehicle->addItem(vehicle.lookUp, vehicle.vehicleId);
    cboVehicle->setCurrentIndex(std::max(cboVehicle->findData(reminder.vehicleId), 0));
    lblVehicle = makeLabel("lblVehicle", QStringLiteral("&Vehicle"), cboVehicle);

    // The Services tick boxes' names, which a saved work order marks done.
    txtName = new QComboBox;
    txtName->setObjectName(QStringLiteral("txtName"));
    txtName->setEditable(true);
    txtName->setInsertPolicy(QComboBox::NoInsert);
    txtName->setCompleter(nullptr); // a name that starts like a service's is kept as typed
    txtName->addItems({QStringLiteral("Grease"), QStringLiteral("Change Oil"),
                       QStringLiteral("Transmission"), QStringLiteral("Tune Up")});
    txtName->setCurrentText(reminder.name);
    txtName->lineEdit()->setMaxLength(100);
    lblName = makeLabel("lblName", QStringLiteral("&Name"), txtName);

    dtpDueDate = new QDateEdit(reminder.dueDate.value_or(QDate::currentDate().addMonths(6)));
    dtpDueDate->setObjectName(QStringLiteral("dtpDueDate"));
    dtpDueDate->setCalendarPopup(true);
    dtpDueDate->setDisplayFormat(QStringLiteral("M/d/yyyy"));
    dtpDueDate->setDateRange(QDate(1900, 1, 1), QDate(9999, 12, 31));
    chkDueDate = new QCheckBox(QStringLiteral("D&ue on a day"));
    chkDueDate->setObjectName(QStringLiteral("chkDueDate"));
    chkDueDate->setChecked(reminder.dueDate.has_value());
    dtpDueDate->setEnabled(chkDueDate->isChecked());
    connect(chkDueDate, &QCheckBox::toggled, dtpDueDate, &QWidget::setEnabled);
    lblDueDate = makeLabel("lblDueDate", QStringLiteral("Due &date"), dtpDueDate);

    txtDueMiles = makeNumberBox("txtDueMiles", reminder.dueMiles);
    lblDueMiles = makeLabel("lblDueMiles", QStringLiteral("Due &miles"), txtDueMiles);
    txtRepeatMiles = makeNumberBox("txtRepeatMiles", reminder.repeatMiles);
    lblRepeatMiles =
        makeLabel("lblRepeatMiles", QStringLiteral("&Repeat every (miles)"), txtRepeatMiles);
    txtRepeatMonths = makeNumberBox(
        "txtRepeatMonths",
        reminder.repeatMonths ? std::optional<qint64>(*reminder.repeatMonths) : std::nullopt);
    lblRepeatMonths =
        makeLabel("lblRepeatMonths", QStringLiteral("Repeat every (mon&ths)"), txtRepeatMonths);
    txtNote = new QPlainTextEdit(reminder.note);
    txtNote->setObjectName(QStringLiteral("txtNote"));
    txtNote->setTabChangesFocus(true);
    txtNote->setFixedHeight(txtNote->fontMetrics().lineSpacing() * 4 + 12);
    lblNote = makeLabel("lblNote", QStringLiteral("N&ote"), txtNote);

    cmdOK = new QPushButton(QStringLiteral("OK"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* dueDateRow = new QHBoxLayout;
    dueDateRow->addWidget(dtpDueDate);
    dueDateRow->addWidget(chkDueDate);
    dueDateRow->addStretch(1);
    auto* hint = new QLabel(QStringLiteral("Whichever comes first: the day or the miles. A "
                                           "repeat counts from when it is done."));
    hint->setObjectName(QStringLiteral("lblHint"));
    hint->setWordWrap(true);
    auto* grid = new QGridLayout;
    int row = 0;
    const auto addRow = [&](QLabel* label, QWidget* field) {
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row++, 1);
    };
    addRow(lblVehicle, cboVehicle);
    addRow(lblName, txtName);
    grid->addWidget(lblDueDate, row, 0);
    grid->addLayout(dueDateRow, row++, 1);
    addRow(lblDueMiles, txtDueMiles);
    addRow(lblRepeatMiles, txtRepeatMiles);
    addRow(lblRepeatMonths, txtRepeatMonths);
    addRow(lblNote, txtNote);
    grid->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(hint);
    layout->addLayout(buttons);
    QWidget* order[] = {cboVehicle,     txtName,         chkDueDate, dtpDueDate, txtDueMiles,
                        txtRepeatMiles, txtRepeatMonths, txtNote,    cmdOK,      cmdCancel};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    resize(std::max(sizeHint().width(), 420), sizeHint().height());

    connect(cmdOK, &QPushButton::clicked, this, platform::reported([this] { cmdOK_Click(); }));
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    txtName->setFocus();
}

void frmReminderEdit::refuse(const QString& problem, QWidget* field) {
    platform::MsgBox(problem, platform::vbExclamation, windowTitle());
    if (field) {
        field->setFocus();
        if (auto* box = qobject_cast<QLineEdit*>(field))
            box->selectAll();
        else if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->lineEdit())
            combo->lineEdit()->selectAll();
    }
}

bool frmReminderEdit::readEntries(reminders::Reminder& entered) {
    entered.vehicleId = cboVehicle->currentData().toLongLong();
    entered.name = txtName->currentText().trimmed();
    entered.dueDate =
        chkDueDate->isChecked() ? std::optional<QDate>(dtpDueDate->date()) : std::nullopt;
    const struct {
        QLineEdit* box;
        const char* caption;
    } numbers[] = {{txtDueMiles, "Due miles"},
                   {txtRepeatMiles, "Repeat every (miles)"},
                   {txtRepeatMonths, "Repeat every (months)"}};
    std::optional<qint64> values[3];
    for (int i = 0; i < 3; ++i)
        if (!readNumber(*numbers[i].box, values[i])) {
            refuse(QStringLiteral("%1 must be a whole number, such as %2; \"%3\" is not one.")
                       .arg(QLatin1String(numbers[i].caption),
                            i == 2 ? QStringLiteral("6") : QStringLiteral("5000"),
                            numbers[i].box->text().trimmed()),
                   numbers[i].box);
            return false;
        }
    entered.dueMiles = values[0];
    entered.repeatMiles = values[1];
    if (values[2] && (*values[2] > 1200 || *values[2] < -1200)) {
        refuse(QStringLiteral("Repeat every (months) must be a whole number from 1 to 1200."),
               txtRepeatMonths);
        return false;
    }
    entered.repeatMonths = values[2] ? std::optional<int>(int(*values[2])) : std::nullopt;
    entered.note = txtNote->toPlainText();
    return true;
}

QWidget* frmReminderEdit::fieldOf(const QString& problem) const {
    const QString text = problem.toLower();
    if (text.contains(QLatin1String("vehicle")))
        return cboVehicle;
    if (text.contains(QLatin1String("needs a due odometer")))
        return txtDueMiles;
    if (text.contains(QLatin1String("repeat")))
        return text.contains(QLatin1String("month")) ? txtRepeatMonths : txtRepeatMiles;
    if (text.contains(QLatin1String("name")))
        return txtName;
    if (text.contains(QLatin1String("note")))
        return txtNote;
    if (text.contains(QLatin1String("date")) && chkDueDate->isChecked())
        return dtpDueDate;
    if (text.contains(QLatin1String("date")) && !text.contains(QLatin1String("odometer")) &&
        !text.contains(QLatin1String("miles")))
        return chkDueDate;
    return txtDueMiles;
}

void frmReminderEdit::cmdOK_Click() {
    reminders::Reminder entered = m_reminder;
    if (!readEntries(entered))
        return;
    if (const QString problem = reminders::reminderProblem(entered); !problem.isEmpty()) {
        refuse(problem, fieldOf(problem));
        return;
    }
    // A closed reminder given a new day, miles or repeat is open again.
    if (entered.closed && (entered.dueDate != m_reminder.dueDate ||
                           entered.dueMiles != m_reminder.dueMiles || entered.repeats()))
        entered.closed = false;
    try {
        if (entered.reminderId == 0)
            entered.reminderId = reminders::addReminder(m_db, entered);
        else
            reminders::updateReminder(m_db, entered);
    } catch (const platform::AppError& error) {
        records::RecordWindow::showErrorBox(error); // the entries stay for another try
        return;
    }
    m_reminder = entered;
    accept();
}

} // namespace reminderwindows
