#include "frmHistory.h"

#include "FileVersion.h"
#include "FuelLogModel.h"
#include "HistoryCharts.h"
#include "ServiceHistoryModel.h"
#include "StatisticsPanel.h"
#include "history/MissedMarks.h"
#include "platform/AppError.h"
#include "platform/ErrorReporting.h"
#include "records/RecordWindow.h"
#include "records/SharedDatabase.h"
#include "records/frmGas.h"
#include "records/frmWorkOrder.h"
#include "shell/AppState.h"
#include "shell/MDIForm1.h"
#include "store/Database.h"

#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <utility>

namespace historywindows {

namespace {

// The smallest size that shows the controls.
constexpr int kMinimumWidth = 480;
constexpr int kMinimumHeight = 320;

} // namespace

frmHistory::frmHistory(shell::MDIForm1& frame)
    : m_frame(frame), m_fuelLog(new FuelLogModel(this)),
      m_serviceHistory(new ServiceHistoryModel(this)) {
    createControls();
    layOutControls();
    connectHandlers();
    m_tabShown = QList<bool>(SSTab1->count(), false);
    m_fuelLog->setMissedWriter(
        [this](std::size_t fill, bool missed) { return writeMissed(fill, missed); });
}

frmHistory* frmHistory::open(shell::MDIForm1& frame) {
    auto* window = new frmHistory(frame);
    window->m_subWindow = frame.addChildWindow(window);
    try {
        // Nothing is shown from a file that fails the checks.
        window->m_database = records::takeUpProgramDatabase(shell::DatabasePath);
        window->placeInFrame();
    } catch (...) {
        delete window->m_subWindow.data(); // the sub-window owns the window
        throw;
    }
    connect(frame.mdiArea(), &QMdiArea::subWindowActivated, window,
            [window](QMdiSubWindow* active) {
                // A null window: the frame lost the focus; the children kept their places.
                if (!active)
                    return;
                const bool nowActive = active == window->m_subWindow;
                if (nowActive && !window->m_active)
                    platform::runReported([window] { window->Form_Activate(); });
                window->m_active = nowActive;
            });
    return window;
}

void frmHistory::placeInFrame() {
    // Resizable and with every caption button (the record windows' size lock and
    // trimmed menu are not applied here); the lists want every pixel, so the window
    // opens filling the frame's free area.
    m_subWindow->setMinimumSize(kMinimumWidth, kMinimumHeight);
    m_subWindow->resize(
        m_frame.mdiArea()->viewport()->size().expandedTo(m_subWindow->minimumSize()));
    m_subWindow->move(0, 0);
}

history::DateRange frmHistory::period() const {
    const auto kind = history::PeriodKind(cboPeriod->currentData().toInt());
    return history::periodRange(kind, QDate::currentDate(), dtpFrom->date(), dtpTo->date());
}

std::optional<qint64> frmHistory::selectedVehicle() const {
    const QVariant id = cboVehicleID->currentData();
    if (!id.isValid() || id.isNull())
        return std::nullopt;
    return id.toLongLong();
}

void frmHistory::Form_Activate() {
    // Vehicles, fuel and orders may have changed in the record windows meanwhile.
    FillVehicleCombo();
    const bool sameVehicle = m_data.vehicleId == selectedVehicle();
    const auto version = FileVersion(m_database->handle()).now();
    if (!sameVehicle || version.first < 0 || version != m_readVersion)
        readHistory();
}

void frmHistory::FillVehicleCombo() {
    // Read first: a file that cannot be read leaves the list as it was.
    const std::vector<history::VehicleName> vehicles =
        history::HistoryReader(m_database->handle()).vehicles();
    const std::optional<qint64> chosen = selectedVehicle();
    const QSignalBlocker quiet(cboVehicleID); // refilling is no choice of the user's
    cboVehicleID->clear();
    cboVehicleID->addItem(QStringLiteral("All Vehicles"), QVariant());
    m_vehicleNames.clear();
    for (const history::VehicleName& vehicle : vehicles) {
        cboVehicleID->addItem(vehicle.lookUp, vehicle.vehicleId);
        m_vehicleNames.insert(vehicle.vehicleId, vehicle.lookUp);
    }
    // The choice stays; a vehicle deleted meanwhile leaves every vehicle on show.
    const int index = chosen ? cboVehicleID->findData(*chosen) : 0;
    cboVehicleID->setCurrentIndex(std::max(index, 0));
}

void frmHistory::cboVehicleID_Click() {
    if (cboVehicleID->currentIndex() < 0)
        return;
    readHistory();
}

void frmHistory::cboPeriod_Click() {
    const bool range = cboPeriod->currentData().toInt() == int(history::PeriodKind::Range);
    dtpFrom->setEnabled(range);
    dtpTo->setEnabled(range);
    showHistory();
}

void frmHistory::dtpRange_Change() {
    if (cboPeriod->currentData().toInt() == int(history::PeriodKind::Range))
        showHistory();
}

void frmHistory::txtSearch_Change() {
    readOrdersIfNeeded();
    m_serviceHistory->show(&m_data, period(), txtSearch->text());
}

void frmHistory::SSTab1_Click() {
    showTab(SSTab1->currentIndex());
}

void frmHistory::cmdClose_Click() {
    if (m_subWindow)
        m_subWindow->close();
}

void frmHistory::readHistory() {
    const history::HistoryReader reader(m_database->handle());
    const auto version = FileVersion(m_database->handle()).now();
    HistoryData data;
    data.vehicleId = selectedVehicle();
    data.fills = reader.fuelFills(data.vehicleId);
    data.economy = economyByVehicle(data.fills);
    // The lists point into the data: they let go of it before it changes.
    m_fuelLog->show(nullptr, {}, {});
    m_serviceHistory->show(nullptr, {}, {});
    // The rows read before go once the new ones are on screen.
    auto previous = std::make_shared<HistoryData>(std::exchange(m_data, std::move(data)));
    m_readVersion = version;
    QTimer::singleShot(0, this, [previous] {});
    showHistory();
}

void frmHistory::readOrdersIfNeeded() {
    if (m_data.ordersRead)
        return;
    m_serviceHistory->show(nullptr, {}, {}); // it lets go of the list before it changes
    m_data.orders = history::HistoryReader(m_database->handle()).workOrders(m_data.vehicleId);
    m_data.ordersRead = true;
}

void frmHistory::showHistory() {
    m_tabShown.fill(false);
    showTab(SSTab1->currentIndex());
}

void frmHistory::showTab(int tab) {
    if (tab < 0 || tab >= m_tabShown.size() || m_tabShown[tab])
        return;
    m_tabShown[tab] = true;
    const history::DateRange range = period();
    if (tab != FuelLogTab)
        readOrdersIfNeeded();
    switch (Tab(tab)) {
    case FuelLogTab:
        m_fuelLog->show(&m_data, range, m_vehicleNames);
        break;
    case ServiceHistoryTab:
        m_serviceHistory->show(&m_data, range, txtSearch->text());
        break;
    case StatisticsTab:
        if (m_data.vehicleId) {
            fraStatistics->showVehicle(history::statisticsOf(m_data.fills, m_data.orders, range));
        } else {
            const auto rows = history::statisticsPerVehicle(m_data.fills, m_data.orders, range);
            fraStatistics->showAllVehicles(rows, history::totalOf(rows), m_vehicleNames);
        }
        break;
    case ChartsTab:
        fraCharts->show(m_data.vehicleId ? history::chartDataOf(m_data.fills, m_data.orders, range)
                                         : chartDataOfAll(m_data, range));
        break;
    }
}

bool frmHistory::writeMissed(std::size_t fillIndex, bool missed) {
    history::FuelFill& fill = m_data.fills[fillIndex];
    try {
        history::setMissed(m_database->handle(), fill.fuelId, missed);
    } catch (const platform::AppError& error) {
        records::RecordWindow::showErrorBox(error); // the tick stays as it was
        return false;
    }
    fill.missed = missed;
    recomputeVehicleOf(m_data, fillIndex);
    m_readVersion = FileVersion(m_database->handle()).now(); // the rows on show hold the mark
    // The other tabs show the new MPG when next chosen.
    for (int tab = 0; tab < m_tabShown.size(); ++tab)
        if (tab != FuelLogTab && tab != ServiceHistoryTab)
            m_tabShown[tab] = false;
    return true;
}

void frmHistory::dbgFuelLog_DblClick(int row) {
    if (row < 0 || row >= m_fuelLog->rowCount())
        return;
    const history::FuelFill fill = m_fuelLog->fillAt(row);
    auto* gas = qobject_cast<records::frmGas*>(
        m_frame.showChildWindow(shell::ChildWindow::GasPurchases, true));
    if (gas)
        gas->showPurchase(int(fill.vehicleId), fill.fuelId);
}

void frmHistory::dbgServiceHistory_DblClick(int row) {
    if (row < 0 || row >= m_serviceHistory->rowCount())
        return;
    const history::WorkOrderSummary order = m_serviceHistory->orderAt(row);
    auto* orders = qobject_cast<records::frmWorkOrder*>(
        m_frame.showChildWindow(shell::ChildWindow::ServiceRecords, true));
    if (orders)
        orders->showOrder(int(order.vehicleId), order.workOrderId);
}

bool frmHistory::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == dbgFuelLog) {
                platform::runReported(
                    [this] { dbgFuelLog_DblClick(dbgFuelLog->currentIndex().row()); });
                return true;
            }
            if (watched == dbgServiceHistory) {
                platform::runReported([this] {
                    dbgServiceHistory_DblClick(dbgServiceHistory->currentIndex().row());
                });
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace historywindows
