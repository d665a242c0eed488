// The Vehicle History window's controls and their places.
#include "FuelLogModel.h"
#include "HistoryCharts.h"
#include "ReadingStatus.h"
#include "ServiceHistoryModel.h"
#include "StatisticsPanel.h"
#include "frmHistory.h"
#include "platform/ErrorReporting.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace historywindows {

namespace {

QTableView* makeList(const char* name, const QString& accessibleName) {
    auto* view = new QTableView;
    view->setObjectName(QLatin1String(name));
    view->setAccessibleName(accessibleName);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->setWordWrap(false);
    view->setTabKeyNavigation(false);
    // Every row one line high: the view never measures a row, however many there are.
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setHighlightSections(false);
    return view;
}

QLabel* makeLabel(const char* name, const QString& caption, QWidget* buddy) {
    auto* label = new QLabel(caption);
    label->setObjectName(QLatin1String(name));
    label->setBuddy(buddy);
    // Room for the last letter's overhang, which the width from the font leaves out.
    label->setMinimumWidth(label->sizeHint().width() + 3);
    return label;
}

// Column widths from the widest text a column shows, never from its rows: measuring
// a lifetime of rows would hold the window up.
template <class Model, class Column>
void sizeColumns(QTableView& view, int count, Column (*columnAt)(const Model&, int),
                 const Model& model) {
    const QFontMetrics metrics = view.fontMetrics();
    for (int i = 0; i < count; ++i) {
        const Column column = columnAt(model, i);
        const int text = std::max(metrics.horizontalAdvance(Model::sampleText(column)),
                                  metrics.horizontalAdvance(Model::caption(column)) + 16);
        view.setColumnWidth(i, text + 14);
    }
}

FuelLogModel::Column fuelColumnAt(const FuelLogModel& model, int i) {
    return model.columnAt(i);
}
ServiceHistoryModel::Column serviceColumnAt(const ServiceHistoryModel&, int i) {
    return ServiceHistoryModel::Column(i);
}

} // namespace

void frmHistory::createControls() {
    setObjectName(QStringLiteral("frmHistory"));
    setWindowTitle(QStringLiteral("Vehicle History"));

    cboVehicleID = new QComboBox;
    cboVehicleID->setObjectName(QStringLiteral("cboVehicleID"));
    cboVehicleID->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    cboVehicleID->setMinimumContentsLength(16);
    lblVehicle = makeLabel("lblVehicle", QStringLiteral("&Vehicle"), cboVehicleID);

    cboPeriod = new QComboBox;
    cboPeriod->setObjectName(QStringLiteral("cboPeriod"));
    for (history::PeriodKind kind :
         {history::PeriodKind::AllTime, history::PeriodKind::Last12Months,
          history::PeriodKind::ThisYear, history::PeriodKind::LastYear, history::PeriodKind::Range})
        cboPeriod->addItem(history::periodCaption(kind), int(kind));
    lblPeriod = makeLabel("lblPeriod", QStringLiteral("&Period"), cboPeriod);

    const QDate today = QDate::currentDate();
    dtpFrom = new QDateEdit(today.addYears(-1).addDays(1));
    dtpFrom->setObjectName(QStringLiteral("dtpFrom"));
    dtpTo = new QDateEdit(today);
    dtpTo->setObjectName(QStringLiteral("dtpTo"));
    for (QDateEdit* box : {dtpFrom, dtpTo}) {
        box->setCalendarPopup(true);
        box->setDisplayFormat(QStringLiteral("M/d/yyyy"));
        box->setEnabled(false); // only for a From/To period
    }
    lblFrom = makeLabel("lblFrom", QStringLiteral("&From"), dtpFrom);
    lblTo = makeLabel("lblTo", QStringLiteral("&To"), dtpTo);

    cmdClose = new QPushButton(QStringLiteral("&Close"));
    cmdClose->setObjectName(QStringLiteral("cmdClose"));

    // The tabs' access keys are letters no other control or menu of the frame uses.
    SSTab1 = new QTabWidget;
    SSTab1->setObjectName(QStringLiteral("SSTab1"));

    dbgFuelLog = makeList("dbgFuelLog", QStringLiteral("Fuel Log"));
    dbgFuelLog->setModel(m_fuelLog);
    dbgFuelLog->horizontalHeader()->setSortIndicator(m_fuelLog->viewColumnOf(FuelLogModel::Date),
                                                     Qt::AscendingOrder);
    dbgFuelLog->setSortingEnabled(true);
    SSTab1->addTab(dbgFuelLog, QStringLiteral("Fuel &Log"));

    auto* service = new QWidget;
    service->setObjectName(QStringLiteral("fraServiceHistory"));
    txtSearch = new QLineEdit;
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->setClearButtonEnabled(true);
    txtSearch->setPlaceholderText(QStringLiteral("services, parts or notes"));
    lblSearch = makeLabel("lblSearch", QStringLiteral("&Search"), txtSearch);
    dbgServiceHistory = makeList("dbgServiceHistory", QStringLiteral("Service History"));
    dbgServiceHistory->setModel(m_serviceHistory);
    // The texts share what room the window has; the figures keep their widths.
    dbgServiceHistory->horizontalHeader()->setSectionResizeMode(ServiceHistoryModel::Services,
                                                                QHeaderView::Stretch);
    dbgServiceHistory->horizontalHeader()->setSectionResizeMode(ServiceHistoryModel::Notes,
                                                                QHeaderView::Stretch);
    auto* serviceLayout = new QGridLayout(service);
    serviceLayout->addWidget(lblSearch, 0, 0);
    serviceLayout->addWidget(txtSearch, 0, 1);
    serviceLayout->addWidget(dbgServiceHistory, 1, 0, 1, 2);
    SSTab1->addTab(service, QStringLiteral("Service H&istory"));

    fraStatistics = new StatisticsPanel;
    fraStatistics->setObjectName(QStringLiteral("fraStatistics"));
    SSTab1->addTab(fraStatistics, QStringLiteral("St&atistics"));

    fraCharts = new HistoryCharts;
    fraCharts->setObjectName(QStringLiteral("fraCharts"));
    SSTab1->addTab(fraCharts, QStringLiteral("Cha&rts"));

    fraReading = new ReadingStatus;

    // The report's access keys are letters no other control or menu of the frame uses;
    // "Print Preview..." has none left in its caption.
    chkFuelLog = new QCheckBox(QStringLiteral("Include the f&uel log"));
    chkFuelLog->setObjectName(QStringLiteral("chkFuelLog"));
    chkFuelLog->setToolTip(QStringLiteral("The report lists every fill-up of the period"));
    cmdPrint = new QPushButton(QStringLiteral("Pri&nt..."));
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdPrintPreview = new QPushButton(QStringLiteral("Print Preview..."));
    cmdPrintPreview->setObjectName(QStringLiteral("cmdPrintPreview"));
    cmdExportPdf = new QPushButton(QStringLiteral("Export P&DF..."));
    cmdExportPdf->setObjectName(QStringLiteral("cmdExportPdf"));
    enableReportCommands(false); // until the file's vehicles are read

    sizeColumns(*dbgServiceHistory, ServiceHistoryModel::ColumnCount, serviceColumnAt,
                *m_serviceHistory);
}

void frmHistory::enableReportCommands(bool enabled) {
    for (QWidget* command :
         std::initializer_list<QWidget*>{chkFuelLog, cmdPrint, cmdPrintPreview, cmdExportPdf})
        command->setEnabled(enabled);
}

void frmHistory::layOutControls() {
    auto* top = new QHBoxLayout;
    top->addWidget(lblVehicle);
    top->addWidget(cboVehicleID);
    top->addSpacing(12);
    top->addWidget(lblPeriod);
    top->addWidget(cboPeriod);
    top->addSpacing(12);
    top->addWidget(lblFrom);
    top->addSpacing(4);
    top->addWidget(dtpFrom);
    top->addSpacing(8);
    top->addWidget(lblTo);
    top->addSpacing(4);
    top->addWidget(dtpTo);
    top->addStretch(1);
    top->addWidget(cmdClose);
    auto* reportRow = new QHBoxLayout;
    // The report's option beside its commands, apart from the lists' own controls.
    reportRow->addStretch(1);
    reportRow->addWidget(chkFuelLog);
    reportRow->addSpacing(12);
    reportRow->addWidget(cmdPrint);
    reportRow->addWidget(cmdPrintPreview);
    reportRow->addWidget(cmdExportPdf);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(SSTab1, 1);
    layout->addLayout(reportRow);
    layout->addWidget(fraReading);
    setTabOrder(cboVehicleID, cboPeriod);
    setTabOrder(cboPeriod, dtpFrom);
    setTabOrder(dtpFrom, dtpTo);
    setTabOrder(dtpTo, SSTab1);
    setTabOrder(SSTab1, chkFuelLog);
    setTabOrder(chkFuelLog, cmdPrint);
    setTabOrder(cmdPrint, cmdPrintPreview);
    setTabOrder(cmdPrintPreview, cmdExportPdf);
    setTabOrder(cmdExportPdf, cmdClose);
    setTabOrder(cmdClose, fraReading->cmdCancel);
}

void frmHistory::connectHandlers() {
    const auto handle = [this](auto member) {
        return platform::reported([this, member] { (this->*member)(); });
    };
    connect(cboVehicleID, &QComboBox::currentIndexChanged, this,
            handle(&frmHistory::cboVehicleID_Click));
    connect(cboPeriod, &QComboBox::currentIndexChanged, this, handle(&frmHistory::cboPeriod_Click));
    connect(dtpFrom, &QDateEdit::dateChanged, this, handle(&frmHistory::dtpRange_Change));
    connect(dtpTo, &QDateEdit::dateChanged, this, handle(&frmHistory::dtpRange_Change));
    connect(txtSearch, &QLineEdit::textChanged, this, handle(&frmHistory::txtSearch_Change));
    connect(SSTab1, &QTabWidget::currentChanged, this, handle(&frmHistory::SSTab1_Click));
    connect(cmdClose, &QPushButton::clicked, this, handle(&frmHistory::cmdClose_Click));
    connect(cmdPrint, &QPushButton::clicked, this, handle(&frmHistory::cmdPrint_Click));
    connect(cmdPrintPreview, &QPushButton::clicked, this,
            handle(&frmHistory::cmdPrintPreview_Click));
    connect(cmdExportPdf, &QPushButton::clicked, this, handle(&frmHistory::cmdExportPdf_Click));
    connect(fraReading, &ReadingStatus::cancelRequested, this,
            handle(&frmHistory::cmdCancel_Click));
    // A read that goes on past the delay: the rows of the choice before go, and
    // what the other tabs show is greyed until the new figures come.
    connect(fraReading, &ReadingStatus::shown, this, [this] {
        if (m_readingFills)
            clearLists();
        for (int tab = 0; tab < SSTab1->count(); ++tab)
            if (tab != FuelLogTab && tab != ServiceHistoryTab)
                SSTab1->widget(tab)->setEnabled(false);
    });
    connect(dbgFuelLog, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        platform::runReported([this, index] { dbgFuelLog_DblClick(index.row()); });
    });
    connect(dbgServiceHistory, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        platform::runReported([this, index] { dbgServiceHistory_DblClick(index.row()); });
    });
    // Enter opens the row as a double click does.
    dbgFuelLog->installEventFilter(this);
    dbgServiceHistory->installEventFilter(this);
    // The Vehicle column comes and goes with "All Vehicles".
    connect(m_fuelLog, &QAbstractItemModel::modelReset, this, [this] {
        sizeColumns(*dbgFuelLog, m_fuelLog->columnCount(), fuelColumnAt, *m_fuelLog);
        // The model kept its order; the header follows it when the columns moved (a
        // changed indicator sorts again, which the rows do not need).
        QHeaderView& header = *dbgFuelLog->horizontalHeader();
        const int section =
            m_fuelLog->viewColumnOf(FuelLogModel::Column(m_fuelLog->sortedColumn()));
        if (m_fuelLog->sortedColumn() >= 0 &&
            (header.sortIndicatorSection() != section ||
             header.sortIndicatorOrder() != m_fuelLog->sortOrder()))
            header.setSortIndicator(section, m_fuelLog->sortOrder());
    });
}

} // namespace historywindows
