#pragma once

#include "HistoryData.h"
#include "history/Period.h"

#include <QHash>
#include <QList>
#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>
#include <memory>

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
class ServiceHistoryModel;
class StatisticsPanel;

// The Vehicle History: one vehicle's (or every vehicle's) fuel log, service
// history, statistics and charts for a period, read from the file with one select
// per list. Unlike the record windows it can be resized, maximised and closed
// from its caption; it edits nothing but the missed marks of the fuel log.
class frmHistory : public QWidget {
    Q_OBJECT
public:
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

    FuelLogModel& fuelLog() const { return *m_fuelLog; }
    ServiceHistoryModel& serviceHistory() const { return *m_serviceHistory; }
    QMdiSubWindow* subWindow() const { return m_subWindow; }
    history::DateRange period() const;

    void Form_Activate();
    void cboVehicleID_Click();
    void cboPeriod_Click();
    void dtpRange_Change();
    void txtSearch_Change();
    void SSTab1_Click();
    void cmdClose_Click();
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

    void FillVehicleCombo();
    std::optional<qint64> selectedVehicle() const;
    // Reads the chosen vehicle's rows from the file, then shows them.
    void readHistory();
    // Shows the rows read on the current tab; the other tabs follow when chosen.
    void showHistory();
    void showTab(int tab);
    // The work orders of the vehicle, read on first need.
    void readOrdersIfNeeded();
    bool writeMissed(std::size_t fillIndex, bool missed);

    shell::MDIForm1& m_frame;
    QPointer<QMdiSubWindow> m_subWindow;
    std::shared_ptr<store::Database> m_database; // the file the window was opened on
    FuelLogModel* m_fuelLog;
    ServiceHistoryModel* m_serviceHistory;
    HistoryData m_data;
    // The file as it was when m_data was read; -1: never read.
    std::pair<qint64, qint64> m_readVersion{-1, -1};
    QHash<qint64, QString> m_vehicleNames;
    QList<bool> m_tabShown; // per tab: it shows the rows and period of now
    bool m_active = false;
};

} // namespace historywindows
