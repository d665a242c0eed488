#include "frmReminders.h"

#include "ReminderTexts.h"
#include "ReminderWindows.h"
#include "frmReminderEdit.h"
#include "platform/AppError.h"
#include "platform/ErrorReporting.h"
#include "records/ChildActivation.h"
#include "records/RecordWindow.h"
#include "records/SharedDatabase.h"
#include "reminders/ReminderStore.h"
#include "shell/AppState.h"
#include "shell/MDIForm1.h"
#include "store/Database.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace reminderwindows {

namespace {

// The smallest size that shows the controls.
constexpr int kMinimumWidth = 560;
constexpr int kMinimumHeight = 300;

QLabel* makeLabel(const char* name, const QString& caption, QWidget* buddy) {
    auto* label = new QLabel(caption);
    label->setObjectName(QLatin1String(name));
    label->setBuddy(buddy);
    return label;
}

QPushButton* makeButton(const char* name, const QString& caption) {
    auto* button = new QPushButton(caption);
    button->setObjectName(QLatin1String(name));
    QString accessible = caption;
    accessible.remove(QLatin1Char('&'));
    button->setAccessibleName(accessible);
    return button;
}

QSpinBox* makeSpin(const char* name, int maximum, int step, const QString& accessibleName) {
    auto* spin = new QSpinBox;
    spin->setObjectName(QLatin1String(name));
    spin->setRange(1, maximum);
    spin->setSingleStep(step);
    spin->setAccessibleName(accessibleName);
    // The list follows once a number is typed in full, not at every digit.
    spin->setKeyboardTracking(false);
    return spin;
}

// Runs a command that writes the file: the store's errors are shown in the window's
// error box and the window stays as it was.
void storing(const std::function<void()>& command) {
    try {
        command();
    } catch (const platform::AppError& error) {
        records::RecordWindow::showErrorBox(error);
    }
}

} // namespace

frmReminders::frmReminders(shell::MDIForm1& frame) : m_frame(frame) {
    createControls();
    layOutControls();
    connectHandlers();
}

frmReminders* frmReminders::open(shell::MDIForm1& frame) {
    auto* window = new frmReminders(frame);
    records::openChildWindow(
        frame, window, window->m_subWindow,
        [window] {
            // Nothing is shown from a file that fails the checks.
            window->m_database = records::takeUpProgramDatabase(shell::DatabasePath);
            window->placeInFrame();
            window->Form_Activate();
        },
        [window] { window->Form_Activate(); });
    return window;
}

void frmReminders::createControls() {
    setObjectName(QStringLiteral("frmReminders"));
    setWindowTitle(QStringLiteral("Reminders"));

    cboVehicleID = new QComboBox;
    cboVehicleID->setObjectName(QStringLiteral("cboVehicleID"));
    cboVehicleID->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    cboVehicleID->setMinimumContentsLength(16);
    lblVehicle = makeLabel("lblVehicle", QStringLiteral("&Vehicle"), cboVehicleID);

    const reminders::DueThresholds thresholds = readThresholds(m_frame.registryStore());
    txtSoonDays = makeSpin("txtSoonDays", 3650, 1, QStringLiteral("Due soon within days"));
    txtSoonDays->setValue(thresholds.days);
    txtSoonMiles = makeSpin("txtSoonMiles", 1000000, 100, QStringLiteral("Due soon within miles"));
    txtSoonMiles->setValue(int(std::min<qint64>(thresholds.miles, 1000000)));
    lblSoonDays = makeLabel("lblSoonDays", QStringLiteral("Due &soon within"), txtSoonDays);
    lblSoonMiles = makeLabel("lblSoonMiles", QStringLiteral("days o&r"), txtSoonMiles);
    lblSoonUnit = new QLabel(QStringLiteral("miles"));
    lblSoonUnit->setObjectName(QStringLiteral("lblSoonUnit"));

    dbgReminders = new QTableWidget(0, ColumnCount);
    dbgReminders->setObjectName(QStringLiteral("dbgReminders"));
    dbgReminders->setAccessibleName(QStringLiteral("Reminders"));
    dbgReminders->setHorizontalHeaderLabels(
        {QStringLiteral("Vehicle"), QStringLiteral("Reminder"), QStringLiteral("Due Date"),
         QStringLiteral("Due Miles"), QStringLiteral("Repeat"), QStringLiteral("State"),
         QStringLiteral("Estimated Date")});
    dbgReminders->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbgReminders->setSelectionMode(QAbstractItemView::SingleSelection);
    dbgReminders->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbgReminders->setAlternatingRowColors(true);
    dbgReminders->setWordWrap(false);
    dbgReminders->setTabKeyNavigation(false);
    dbgReminders->verticalHeader()->hide();
    dbgReminders->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    dbgReminders->verticalHeader()->setDefaultSectionSize(dbgReminders->fontMetrics().height() + 6);
    dbgReminders->horizontalHeader()->setHighlightSections(false);
    dbgReminders->horizontalHeader()->setSectionResizeMode(ReminderColumn, QHeaderView::Stretch);
    const QFontMetrics metrics = dbgReminders->fontMetrics();
    const auto widen = [&](int column, const QString& sample) {
        dbgReminders->setColumnWidth(column, metrics.horizontalAdvance(sample) + 24);
    };
    widen(VehicleColumn, QStringLiteral("Pickup Truck"));
    widen(DueDateColumn, QStringLiteral("Estimated"));
    widen(DueMilesColumn, QStringLiteral("Due Miles00"));
    widen(RepeatColumn, QStringLiteral("every 5,000 miles or 6 months"));
    widen(StateColumn, QStringLiteral("Due Soon0"));
    widen(EstimatedColumn, QStringLiteral("Estimated Date"));

    // Access keys no other control of the window or menu of the frame uses; Edit
    // shares the frame's Edit menu's key, which the window's button takes first, as
    // the record windows' Edit buttons do.
    cmdAdd = makeButton("cmdAdd", QStringLiteral("&Add"));
    cmdEdit = makeButton("cmdEdit", QStringLiteral("&Edit"));
    cmdDelete = makeButton("cmdDelete", QStringLiteral("&Delete"));
    cmdDone = makeButton("cmdDone", QStringLiteral("D&one"));
    cmdDone->setToolTip(
        QStringLiteral("Records the reminder done today at the vehicle's latest odometer reading"));
    cmdClose = makeButton("cmdClose", QStringLiteral("&Close"));
}

void frmReminders::layOutControls() {
    auto* top = new QHBoxLayout;
    top->addWidget(lblVehicle);
    top->addWidget(cboVehicleID);
    top->addStretch(1);
    top->addWidget(lblSoonDays);
    top->addWidget(txtSoonDays);
    top->addWidget(lblSoonMiles);
    top->addWidget(txtSoonMiles);
    top->addWidget(lblSoonUnit);
    auto* bottom = new QHBoxLayout;
    for (QPushButton* button : {cmdAdd, cmdEdit, cmdDelete, cmdDone})
        bottom->addWidget(button);
    bottom->addStretch(1);
    bottom->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(dbgReminders, 1);
    layout->addLayout(bottom);
    QWidget* order[] = {cboVehicleID, txtSoonDays, txtSoonMiles, dbgReminders, cmdAdd,
                        cmdEdit,      cmdDelete,   cmdDone,      cmdClose};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void frmReminders::connectHandlers() {
    const auto handle = [this](auto member) {
        return platform::reported([this, member] { (this->*member)(); });
    };
    connect(cboVehicleID, &QComboBox::currentIndexChanged, this,
            handle(&frmReminders::cboVehicleID_Click));
    connect(txtSoonDays, &QSpinBox::valueChanged, this, handle(&frmReminders::txtSoon_Change));
    connect(txtSoonMiles, &QSpinBox::valueChanged, this, handle(&frmReminders::txtSoon_Change));
    connect(cmdAdd, &QPushButton::clicked, this, handle(&frmReminders::cmdAdd_Click));
    connect(cmdEdit, &QPushButton::clicked, this, handle(&frmReminders::cmdEdit_Click));
    connect(cmdDelete, &QPushButton::clicked, this, handle(&frmReminders::cmdDelete_Click));
    connect(cmdDone, &QPushButton::clicked, this, handle(&frmReminders::cmdDone_Click));
    connect(cmdClose, &QPushButton::clicked, this, handle(&frmReminders::cmdClose_Click));
    connect(dbgReminders, &QTableWidget::itemSelectionChanged, this, [this] { enableCommands(); });
    connect(dbgReminders, &QTableWidget::cellDoubleClicked, this,
            handle(&frmReminders::cmdEdit_Click));
    // Enter edits the row as a double click does; Delete deletes it.
    dbgReminders->installEventFilter(this);
}

void frmReminders::placeInFrame() {
    // Resizable and with every caption button; it opens filling the frame's free area.
    m_subWindow->setMinimumSize(kMinimumWidth, kMinimumHeight);
    m_subWindow->resize(
        m_frame.mdiArea()->viewport()->size().expandedTo(m_subWindow->minimumSize()));
    m_subWindow->move(0, 0);
}

void frmReminders::Form_Activate() {
    // Vehicles, fuel and work orders may have changed in the record windows meanwhile.
    FillVehicleCombo();
    showReminders();
}

void frmReminders::FillVehicleCombo() {
    // Read first: a file that cannot be read leaves the list as it was.
    std::vector<history::VehicleName> vehicles =
        history::HistoryReader(m_database->handle()).vehicles();
    const std::optional<qint64> chosen = selectedVehicle();
    const QSignalBlocker quiet(cboVehicleID); // refilling is no choice of the user's
    cboVehicleID->clear();
    cboVehicleID->addItem(QStringLiteral("All Vehicles"), QVariant());
    for (const history::VehicleName& vehicle : vehicles)
        cboVehicleID->addItem(vehicle.lookUp, vehicle.vehicleId);
    // The choice stays; a vehicle deleted meanwhile leaves every vehicle on show.
    const int index = chosen ? cboVehicleID->findData(*chosen) : 0;
    cboVehicleID->setCurrentIndex(std::max(index, 0));
    m_vehicles = std::move(vehicles);
}

std::optional<qint64> frmReminders::selectedVehicle() const {
    const QVariant id = cboVehicleID->currentData();
    if (!id.isValid() || id.isNull())
        return std::nullopt;
    return id.toLongLong();
}

const reminders::ReminderLine* frmReminders::currentLine() const {
    const QList<QTableWidgetItem*> chosen = dbgReminders->selectedItems();
    if (chosen.isEmpty())
        return nullptr;
    const int row = chosen.first()->row();
    return row >= 0 && std::size_t(row) < m_lines.size() ? &m_lines[std::size_t(row)] : nullptr;
}

void frmReminders::selectReminder(qint64 reminderId) {
    for (std::size_t row = 0; row < m_lines.size(); ++row)
        if (m_lines[row].reminder.reminderId == reminderId) {
            dbgReminders->setCurrentCell(int(row), ReminderColumn);
            dbgReminders->selectRow(int(row));
            return;
        }
}

void frmReminders::showReminders() {
    const reminders::ReminderLine* current = currentLine();
    const std::optional<qint64> keep =
        current ? std::optional<qint64>(current->reminder.reminderId) : std::nullopt;
    const reminders::DueThresholds thresholds{txtSoonDays->value(), txtSoonMiles->value()};
    // Read first: a file that cannot be read leaves the list as it was.
    std::vector<reminders::ReminderLine> lines =
        reminders::hasReminderTable(m_database->handle())
            ? reminders::reminderLines(m_database->handle(), selectedVehicle(),
                                       QDate::currentDate(), thresholds)
            : std::vector<reminders::ReminderLine>{};
    m_lines = std::move(lines);
    const QSignalBlocker quiet(dbgReminders);
    dbgReminders->clearContents();
    dbgReminders->setRowCount(int(m_lines.size()));
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const reminders::ReminderLine& line = m_lines[i];
        const reminders::Reminder& r = line.reminder;
        const QString cells[ColumnCount] = {line.vehicle,
                                            r.name,
                                            dateText(r.dueDate),
                                            milesText(r.dueMiles),
                                            repeatText(r),
                                            reminders::stateText(line.status.state),
                                            dateText(line.status.estimatedDate)};
        for (int column = 0; column < ColumnCount; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column == DueMilesColumn)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (column == StateColumn && !line.status.dueText.isEmpty())
                item->setToolTip(line.status.dueText);
            if (column == ReminderColumn && !r.note.isEmpty())
                item->setToolTip(r.note);
            dbgReminders->setItem(int(i), column, item);
        }
    }
    if (keep)
        selectReminder(*keep);
    if (!currentLine() && !m_lines.empty())
        dbgReminders->selectRow(0);
    enableCommands();
}

void frmReminders::enableCommands() {
    const reminders::ReminderLine* line = currentLine();
    cmdAdd->setEnabled(!m_vehicles.empty());
    cmdEdit->setEnabled(line != nullptr);
    cmdDelete->setEnabled(line != nullptr);
    cmdDone->setEnabled(line && !line->reminder.closed);
}

void frmReminders::remindersChanged(std::optional<qint64> current) {
    showReminders();
    if (current)
        selectReminder(*current);
    m_frame.refreshDueReminders();
}

void frmReminders::cboVehicleID_Click() {
    if (cboVehicleID->currentIndex() >= 0)
        showReminders();
}

void frmReminders::txtSoon_Change() {
    writeThresholds(m_frame.registryStore(), {txtSoonDays->value(), txtSoonMiles->value()});
    remindersChanged(std::nullopt);
}

void frmReminders::cmdAdd_Click() {
    if (m_vehicles.empty())
        return;
    reminders::Reminder fresh;
    fresh.vehicleId = selectedVehicle().value_or(m_vehicles.front().vehicleId);
    frmReminderEdit dialog(m_database->handle(), m_vehicles, fresh, this);
    if (dialog.exec() == QDialog::Accepted)
        remindersChanged(dialog.reminder().reminderId);
}

void frmReminders::cmdEdit_Click() {
    const reminders::ReminderLine* line = currentLine();
    if (!line)
        return;
    frmReminderEdit dialog(m_database->handle(), m_vehicles, line->reminder, this);
    if (dialog.exec() == QDialog::Accepted)
        remindersChanged(dialog.reminder().reminderId);
}

void frmReminders::cmdDelete_Click() {
    const reminders::ReminderLine* line = currentLine();
    if (!line)
        return;
    const qint64 id = line->reminder.reminderId;
    const QString prompt =
        QStringLiteral("Delete the reminder \"%1\" of %2?").arg(line->reminder.name, line->vehicle);
    if (!records::RecordWindow::confirmDelete(prompt))
        return;
    const int row = dbgReminders->currentRow();
    storing([&] {
        reminders::deleteReminder(m_database->handle(), id);
        remindersChanged(std::nullopt);
        // The row after the deleted one, or the new last one.
        if (!m_lines.empty())
            dbgReminders->selectRow(std::min(row, int(m_lines.size()) - 1));
    });
}

void frmReminders::cmdDone_Click() {
    const reminders::ReminderLine* line = currentLine();
    if (!line || line->reminder.closed)
        return;
    const qint64 id = line->reminder.reminderId;
    const qint64 vehicle = line->reminder.vehicleId;
    storing([&] {
        const reminders::Driving driving = reminders::readDriving(m_database->handle(), vehicle);
        reminders::markDone(m_database->handle(), id, QDate::currentDate(), driving.latestMiles);
        remindersChanged(id);
    });
}

void frmReminders::cmdClose_Click() {
    if (m_subWindow)
        m_subWindow->close();
}

bool frmReminders::eventFilter(QObject* watched, QEvent* event) {
    if (watched == dbgReminders && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & ~Qt::KeypadModifier)
            return QWidget::eventFilter(watched, event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            platform::runReported([this] { cmdEdit_Click(); });
            return true;
        case Qt::Key_Delete:
            platform::runReported([this] { cmdDelete_Click(); });
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace reminderwindows
