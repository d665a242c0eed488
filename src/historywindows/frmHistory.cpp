#include "frmHistory.h"

#include "FileVersion.h"
#include "FuelLogModel.h"
#include "HistoryCharts.h"
#include "ReadingStatus.h"
#include "ServiceHistoryModel.h"
#include "StatisticsPanel.h"
#include "history/MissedMarks.h"
#include "platform/AppError.h"
#include "platform/ErrorReporting.h"
#include "records/ChildActivation.h"
#include "records/RecordWindow.h"
#include "records/SharedDatabase.h"
#include "records/frmGas.h"
#include "records/frmWorkOrder.h"
#include "report/ReportContent.h"
#include "shell/AppState.h"
#include "shell/MDIForm1.h"
#include "store/Database.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableView>
#include <QtConcurrent/QtConcurrentRun>
#include <type_traits>
#include <utility>

namespace historywindows {

namespace {

// The smallest size that shows the controls.
constexpr int kMinimumWidth = 480;
constexpr int kMinimumHeight = 320;

// Runs job on a worker thread and hands its result to done on the window's thread;
// nothing is handed over once the window is gone.
template <class Job, class Done> void runInBackground(QObject* window, Job job, Done done) {
    using Result = std::invoke_result_t<Job>;
    auto* watcher = new QFutureWatcher<Result>(window);
    QObject::connect(watcher, &QFutureWatcherBase::finished, window,
                     [watcher, done = std::move(done)]() mutable {
                         watcher->deleteLater();
                         done(watcher->future().takeResult());
                     });
    watcher->setFuture(QtConcurrent::run(std::move(job)));
}

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

frmHistory::~frmHistory() {
    // Closing never waits for a read: each stops at its next step on its own.
    abandonReads();
}

frmHistory* frmHistory::open(shell::MDIForm1& frame) {
    auto* window = new frmHistory(frame);
    records::openChildWindow(
        frame, window, window->m_subWindow,
        [window] {
            // Nothing is shown from a file that fails the checks.
            window->m_database = records::takeUpProgramDatabase(shell::DatabasePath);
            window->placeInFrame();
        },
        [window] { window->Form_Activate(); });
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

bool frmHistory::isReading() const {
    return m_readingFills || m_readingOrders || m_computing > 0;
}

void frmHistory::Form_Activate() {
    // Vehicles, fuel and orders may have changed in the record windows meanwhile.
    FillVehicleCombo();
    const auto version = FileVersion(m_database->handle()).now();
    if (m_readVehicle != selectedVehicle() || version.first < 0 || version != m_readVersion)
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
    enableReportCommands(!vehicles.empty());
}

reportwindows::ReportRequest frmHistory::reportRequest() const {
    reportwindows::ReportRequest request;
    report::ReportOptions& options = request.options;
    options.vehicleId = selectedVehicle();
    options.period = period();
    options.periodText =
        report::periodTextOf(history::PeriodKind(cboPeriod->currentData().toInt()), options.period);
    options.withFuelLog = chkFuelLog->isChecked();
    options.printedOn = QDate::currentDate();
    request.documentName =
        reportwindows::documentNameOf(options.vehicleId ? cboVehicleID->currentText() : QString());
    request.folder = QFileInfo(m_database->path()).absolutePath();
    return request;
}

void frmHistory::cmdPrint_Click() {
    reportwindows::printReports(this, m_database->handle(), reportRequest());
}

void frmHistory::cmdPrintPreview_Click() {
    reportwindows::previewReports(this, m_database->handle(), reportRequest());
}

void frmHistory::cmdExportPdf_Click() {
    reportwindows::exportReportPdf(this, m_database->handle(), reportRequest());
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
    m_tabShown[ServiceHistoryTab] = false;
    showTab(ServiceHistoryTab);
}

void frmHistory::SSTab1_Click() {
    showTab(SSTab1->currentIndex());
}

void frmHistory::cmdClose_Click() {
    if (m_subWindow)
        m_subWindow->close();
}

void frmHistory::cmdCancel_Click() {
    abandonReads();
    clearLists();
    m_data.reset();
    m_readVersion = {-1, -1}; // the next activation reads again
    readingChanged();
    fraReading->showNotice(QStringLiteral("Reading cancelled."));
}

void frmHistory::abandonReads() {
    if (m_cancel)
        m_cancel->store(true);
    m_cancel.reset();
    ++m_generation;
    ++m_viewGeneration;
    m_readingFills = false;
    m_readingOrders = false;
}

void frmHistory::clearLists() {
    m_fuelLog->show(nullptr, {}, {});
    m_serviceHistory->show(nullptr, {}, {});
    m_tabShown.fill(false);
}

void frmHistory::readingChanged() {
    const bool reading = isReading();
    if (!reading)
        fraReading->end();
    if (!reading)
        for (int tab = 0; tab < SSTab1->count(); ++tab)
            SSTab1->widget(tab)->setEnabled(true);
}

void frmHistory::readHistory() {
    abandonReads();
    const int generation = m_generation;
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    // Taken before the read, which sees at least this much of the file.
    m_readVersion = FileVersion(m_database->handle()).now();
    m_readVehicle = selectedVehicle();
    m_readingFills = true;
    fraReading->begin(QStringLiteral("Reading the fuel log..."));
    runInBackground(
        this,
        [path = m_database->path(), vehicle = m_readVehicle, cancel = m_cancel] {
            return readFills(path, vehicle, cancel);
        },
        [this, generation](FillsRead read) {
            if (generation == m_generation)
                fillsArrived(std::move(read));
        });
}

void frmHistory::fillsArrived(FillsRead read) {
    m_readingFills = false;
    readingChanged();
    if (read.error) {
        m_readVersion = {-1, -1};
        platform::runReported([&read] { std::rethrow_exception(read.error); });
        return;
    }
    // The lists let go of the old rows before they go; a lifetime of rows is freed
    // off the window's thread.
    clearLists();
    auto previous = std::exchange(m_data, std::move(read.data));
    if (previous)
        (void)QtConcurrent::run([previous = std::move(previous)]() mutable { previous.reset(); });
    showHistory();
}

void frmHistory::readOrders() {
    if (m_readingOrders || !m_cancel)
        return;
    m_readingOrders = true;
    fraReading->begin(QStringLiteral("Reading the work orders..."));
    const int generation = m_generation;
    runInBackground(
        this,
        [path = m_database->path(), vehicle = m_data->vehicleId, cancel = m_cancel] {
            return historywindows::readOrders(path, vehicle, cancel);
        },
        [this, generation](OrdersRead read) {
            if (generation == m_generation)
                ordersArrived(std::move(read));
        });
}

void frmHistory::ordersArrived(OrdersRead read) {
    m_readingOrders = false;
    readingChanged();
    if (read.error) {
        platform::runReported([&read] { std::rethrow_exception(read.error); });
        return;
    }
    if (!read.done)
        return;
    m_serviceHistory->show(nullptr, {}, {}); // it lets go of the list before it changes
    m_data->orders = std::move(read.orders);
    m_data->ordersRead = true;
    m_tabShown[ServiceHistoryTab] = false;
    showTab(SSTab1->currentIndex());
}

void frmHistory::computeTab(int tab) {
    ++m_computing;
    fraReading->begin(QStringLiteral("Computing..."));
    const int view = m_viewGeneration;
    runInBackground(
        this,
        [data = std::shared_ptr<const HistoryData>(m_data), tab, range = period()] {
            return historywindows::computeTab(data, tab, range);
        },
        [this, view](const TabFigures& figures) {
            --m_computing;
            if (view == m_viewGeneration)
                figuresArrived(figures);
            readingChanged();
        });
}

void frmHistory::figuresArrived(const TabFigures& figures) {
    if (figures.tab == StatisticsTab) {
        if (figures.vehicle)
            fraStatistics->showVehicle(*figures.vehicle);
        else
            fraStatistics->showAllVehicles(figures.perVehicle, figures.total, m_vehicleNames);
    } else if (figures.charts) {
        fraCharts->show(*figures.charts);
    }
}

void frmHistory::showHistory() {
    ++m_viewGeneration; // figures computed for the period before are dropped
    m_tabShown.fill(false);
    if (!m_data && !m_readingFills) {
        readHistory(); // nothing read (a read cancelled): the new choice reads
        return;
    }
    showTab(SSTab1->currentIndex());
}

void frmHistory::showTab(int tab) {
    if (tab != SSTab1->currentIndex() || tab < 0 || tab >= m_tabShown.size() || m_tabShown[tab])
        return;
    if (m_readingFills || !m_data)
        return; // shown when the rows arrive
    if (tab != FuelLogTab && !m_data->ordersRead) {
        readOrders(); // shown when they arrive
        return;
    }
    m_tabShown[tab] = true;
    switch (Tab(tab)) {
    case FuelLogTab:
        m_fuelLog->show(m_data.get(), period(), m_vehicleNames);
        break;
    case ServiceHistoryTab:
        m_serviceHistory->show(m_data.get(), period(), txtSearch->text());
        break;
    case StatisticsTab:
    case ChartsTab:
        computeTab(tab);
        break;
    }
}

bool frmHistory::writeMissed(std::size_t fillIndex, bool missed) {
    if (m_readingFills || !m_data)
        return false; // the rows on show are about to go
    try {
        history::setMissed(m_database->handle(), m_data->fills[fillIndex].fuelId, missed);
    } catch (const platform::AppError& error) {
        records::RecordWindow::showErrorBox(error); // the tick stays as it was
        return false;
    }
    // A computation still reading the rows keeps them as they were; the lists move
    // to a copy that holds the mark.
    if (m_data.use_count() > 1) {
        m_data = std::make_shared<HistoryData>(*m_data);
        m_fuelLog->rebind(m_data.get());
        m_serviceHistory->show(nullptr, {}, {});
        m_tabShown[ServiceHistoryTab] = false;
    }
    m_data->fills[fillIndex].missed = missed;
    recomputeVehicleOf(*m_data, fillIndex);
    m_readVersion = FileVersion(m_database->handle()).now(); // the rows on show hold the mark
    // The other tabs show the new MPG when next chosen.
    ++m_viewGeneration;
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
