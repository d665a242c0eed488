#pragma once

#include "BackgroundReads.h"
#include "HistoryData.h"
#include "history/Period.h"
#include "reportwindows/ReportCommands.h"

#include <QHash>
#include <QList>
#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>
#include <memory>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;

namespace shell {
class MDIForm1;
}
namespace store {
class Database;
}

namespace historywindows {

class FuelLogModel;
class HistoryCharts;
class ReadingStatus;
class ServiceHistoryModel;
class StatisticsPanel;

// The Vehicle History: one vehicle's (or every vehicle's) fuel log, service
// history, statistics and charts for a period, read from the file with one select
// per list. Unlike the record windows it can be resized, maximised and closed
// from its caption; it edits nothing but the missed marks of the fuel log.
// The rows are read and the figures computed off the window's thread, so the
// window never freezes on a lifetime of records: each read has a generation, and
// only the latest choice's result is ever shown.
class frmHistory : public QWidget {
    Q_OBJECT
public:
    ~frmHistory() override;

    // Makes the window in its own sub-window of the frame and loads it: the file in
    // use is checked as the record windows check it. Throws, leaving nothing behind,
    // when loading fails.
    static frmHistory* open(shell::MDIForm1& frame);

    enum Tab { FuelLogTab, ServiceHistoryTab, StatisticsTab, ChartsTab };

    QLabel* lblVehicle;
    QComboBox* cboVehicleID; // "All Vehicles", then each vehicle (item data VehicleID)
    QLabel* lblPeriod;
    QComboBox* cboPeriod; // item data: history::PeriodKind
    QLabel* lblFrom;
    QDateEdit* dtpFrom;
    QLabel* lblTo;
    QDateEdit* dtpTo;
    QPushButton* cmdClose;
    QTabWidget* SSTab1;
    QTableView* dbgFuelLog;
    QLabel* lblSearch;
    QLineEdit* txtSearch;
    QTableView* dbgServiceHistory;
    StatisticsPanel* fraStatistics;
    HistoryCharts* fraCharts;
    ReadingStatus* fraReading;
    // The service record on paper, for the vehicle and period chosen; unusable while
    // the file holds no vehicle.
    QCheckBox* chkFuelLog; // the whole fuel log as a table of the report
    QPushButton* cmdPrint;
    QPushButton* cmdPrintPreview;
    QPushButton* cmdExportPdf;

    FuelLogModel& fuelLog() const { return *m_fuelLog; }
    ServiceHistoryModel& serviceHistory() const { return *m_serviceHistory; }
    QMdiSubWindow* subWindow() const { return m_subWindow; }
    history::DateRange period() const;
    // Rows are being read or figures computed; what is on show may not be complete.
    bool isReading() const;

    void Form_Activate();
    void cboVehicleID_Click();
    void cboPeriod_Click();
    void dtpRange_Change();
    void txtSearch_Change();
    void SSTab1_Click();
    void cmdClose_Click();
    void cmdPrint_Click();
    void cmdPrintPreview_Click();
    void cmdExportPdf_Click();
    // Abandons the reads under way; the tabs stay empty until the next choice.
    void cmdCancel_Click();
    // Opens the Gas Purchases window on the purchase of a Fuel Log row.
    void dbgFuelLog_DblClick(int row);
    // Opens the Service Records window on the order of a Service History row.
    void dbgServiceHistory_DblClick(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit frmHistory(shell::MDIForm1& frame);
    void createControls();
    void layOutControls();
    void connectHandlers();
    void placeInFrame();
    void enableReportCommands(bool enabled);

    void FillVehicleCombo();
    std::optional<qint64> selectedVehicle() const;
    // What the report commands print: the vehicle, the period and the fuel log choice.
    reportwindows::ReportRequest reportRequest() const;
    // Starts reading the chosen vehicle's rows; they are shown when they arrive.
    void readHistory();
    void fillsArrived(FillsRead read);
    // Shows the rows read on the current tab; the other tabs follow when chosen.
    void showHistory();
    void showTab(int tab);
    // The work orders of the vehicle, read on first need.
    void readOrders();
    void ordersArrived(OrdersRead read);
    void computeTab(int tab);
    void figuresArrived(const TabFigures& figures);
    // Stops every read under way; what they give back later is dropped.
    void abandonReads();
    void readingChanged();
    // The lists let go of the rows (before the rows change or go).
    void clearLists();
    bool writeMissed(std::size_t fillIndex, bool missed);

    shell::MDIForm1& m_frame;
    QPointer<QMdiSubWindow> m_subWindow;
    std::shared_ptr<store::Database> m_database; // the file the window was opened on
    FuelLogModel* m_fuelLog;
    ServiceHistoryModel* m_serviceHistory;
    // The rows on show; the lists point into them. Shared with the computations
    // that read them meanwhile (a mark set then changes a copy).
    std::shared_ptr<HistoryData> m_data;
    // The file as it was when the last read began; -1: never read (or abandoned).
    std::pair<qint64, qint64> m_readVersion{-1, -1};
    std::optional<qint64> m_readVehicle; // the vehicle of the last read begun
    int m_generation = 0;                // moves with every read begun; older results are dropped
    int m_viewGeneration = 0;            // moves when the period or the rows' figures change
    CancelFlag m_cancel;                 // the reads of this generation
    bool m_readingFills = false;
    bool m_readingOrders = false;
    int m_computing = 0; // tab figures under way, abandoned ones included
    QHash<qint64, QString> m_vehicleNames;
    QList<bool> m_tabShown; // per tab: it shows the rows and period of now
};

} // namespace historywindows
