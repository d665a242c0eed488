// The work order window's controls, their captions, bindings, layout and tab order.
#include "frmWorkOrder.h"

#include "BoundTextBox.h"
#include "DataControl.h"
#include "DataGrid.h"
#include "PartsTotal.h"
#include "ReadableLock.h"
#include "WindowDesign.h"
#include "store/Recordset.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace records {

using design::button;
using design::buttonColumn;
using design::named;

namespace {

DataControl* dataControl(QWidget* parent, const char* name, const char* recordSource) {
    auto* source = named<DataControl>(parent, name);
    source->setConnect(QStringLiteral("Access"));
    source->setRecordSource(QLatin1String(recordSource));
    return source;
}

// A part's total: quantity times cost, computed for the grid and never stored.
QVariant partTotal(const store::Recordset& row) {
    const std::optional<WideMoney> total =
        partLineTotal(row.value(QStringLiteral("PartQty")), row.value(QStringLiteral("PartCost")));
    return total ? lineTotalValue(*total) : QVariant();
}

} // namespace

frmWorkOrder::frmWorkOrder(shell::MDIForm1& frame) : RecordWindow(frame) {
    setObjectName(QStringLiteral("frmWorkOrder"));
    setWindowTitle(QStringLiteral("Work Order"));
    createControls();
    createDataControls();
    createDetailControls();
    layOutControls();
    connectHandlers();
    connectDetailHandlers();
    setControls({Label1[0], cboVehicleID, Frame1, Label1[1],  txtDate,   Label1[2],  txtMiles,
                 Label1[3], lblOrderNum,  cmdAdd, cmdEdit,    cmdUpdate, cmdCancel,  cmdDelete,
                 cmdClose,  SSTab1,       Data1,  datVehicle, datParts,  datService, datNotes});
    // Data1 first: the details follow its current order.
    for (DataControl* source : {Data1, datVehicle, datParts, datService, datNotes})
        addDataControl(source);
}

void frmWorkOrder::createControls() {
    cboVehicleID = named<QComboBox>(this, "cboVehicleID");
    keepLockedValuesReadable(cboVehicleID);
    cboVehicleID->setEditable(false);

    Frame1 = named<QGroupBox>(this, "Frame1");
    // Locked in browse state, its values still readable.
    keepLockedValuesReadable(Frame1);
    txtDate = named<BoundTextBox>(Frame1, "txtDate");
    txtMiles = named<BoundTextBox>(Frame1, "txtMiles");
    lblOrderNum = named<QLabel>(Frame1, "lblOrderNum");
    lblOrderNum->setFrameShape(QFrame::StyledPanel);
    lblOrderNum->setMinimumWidth(60);

    // Made before New Order and Edit Order so that those two lie on top of them.
    cmdUpdate = button(this, "cmdUpdate", "&Update");
    cmdCancel = button(this, "cmdCancel", "Ca&ncel");
    cmdAdd = button(this, "cmdAdd", "&New Order");
    cmdEdit = button(this, "cmdEdit", "&Edit Order");
    cmdDelete = button(this, "cmdDelete", "&Delete Order");
    cmdClose = button(this, "cmdClose", "&Close");

    SSTab1 = named<QTabWidget>(this, "SSTab1");
    for (const char* caption : {"&Services", "&WorkDone", "&Parts Used", "No&tes"}) {
        auto* page = new QWidget(SSTab1);
        page->setObjectName(QStringLiteral("SSTab1Page%1").arg(SSTab1->count()));
        SSTab1->addTab(page, QLatin1String(caption));
    }

    const struct {
        const char* caption;
        QWidget* parent;
        QWidget* buddy;
    } labels[] = {{"Vehicle", this, cboVehicleID},
                  {"Date", Frame1, txtDate},
                  {"Miles", Frame1, txtMiles},
                  {"Order #", Frame1, lblOrderNum}};
    for (const auto& label : labels) {
        auto* l = named<QLabel>(label.parent, "Label1");
        l->setProperty("Index", int(Label1.size()));
        l->setText(QLatin1String(label.caption));
        l->setBuddy(label.buddy);
        Label1.append(l);
    }
}

void frmWorkOrder::createDataControls() {
    Data1 = dataControl(this, "Data1", "WorkOrder");
    txtDate->bind(Data1, QStringLiteral("Date"));
    txtMiles->bind(Data1, QStringLiteral("Mileage"));

    // Out of the user's sight: they only feed the selector and the tabs.
    datVehicle = dataControl(this, "datVehicle", "VehicleInfo");
    datParts = dataControl(this, "datParts", "PartsUsed");
    datService = dataControl(this, "datService", "WorkDone");
    datNotes = dataControl(this, "datNotes", "WorkOrderMemo");
    for (DataControl* hidden : {datVehicle, datParts, datService, datNotes})
        hidden->hide();
}

void frmWorkOrder::createDetailControls() {
    QWidget* const pages[] = {SSTab1->widget(0), SSTab1->widget(1), SSTab1->widget(2),
                              SSTab1->widget(3)};

    // The common services: each box stands for a service row of the order.
    Frame2 = named<QGroupBox>(pages[0], "Frame2");
    auto* checks = new QVBoxLayout(Frame2);
    const std::pair<QCheckBox**, const char*> boxes[] = {{&Check1, "Grease"},
                                                         {&Check2, "Change Oil"},
                                                         {&Check3, "Transmission"},
                                                         {&Check4, "Tune Up"}};
    int number = 1;
    for (const auto& [box, caption] : boxes) {
        *box = new QCheckBox(QLatin1String(caption), Frame2);
        (*box)->setObjectName(QStringLiteral("Check%1").arg(number++));
        checks->addWidget(*box);
    }
    checks->addStretch(1);
    auto* servicesPage = new QVBoxLayout(pages[0]);
    servicesPage->addWidget(Frame2);

    dbgService = named<DataGrid>(pages[1], "dbgService");
    dbgService->setDataSource(datService);
    dbgService->addColumn(QStringLiteral("Service Performed"), QStringLiteral("WorkDescription"));
    dbgService->horizontalHeader()->setStretchLastSection(true);
    (new QVBoxLayout(pages[1]))->addWidget(dbgService);

    dbgParts = named<DataGrid>(pages[2], "dbgParts");
    dbgParts->setDataSource(datParts);
    dbgParts->addColumn(QStringLiteral("Qty"), QStringLiteral("PartQty"));
    dbgParts->addColumn(QStringLiteral("Part #"), QStringLiteral("PartNum"));
    dbgParts->addColumn(QStringLiteral("Description"), QStringLiteral("PartDescription"));
    dbgParts->addColumn(QStringLiteral("Cost"), QStringLiteral("PartCost"),
                        QStringLiteral("Currency"));
    const int total =
        dbgParts->addColumn(QStringLiteral("Total"), QString(), QStringLiteral("Currency"));
    dbgParts->setUnboundValue(total, partTotal);
    // The narrow columns take the width of their contents and the description the
    // rest, so that all five fit the window's width, Total included.
    QHeaderView* partColumns = dbgParts->horizontalHeader();
    for (int column = 0; column < partColumns->count(); ++column)
        partColumns->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    partColumns->setSectionResizeMode(2, QHeaderView::Stretch);
    dbgParts->setWrapCellPointer(true);
    lblPartsTotal = named<QLabel>(pages[2], "lblPartsTotal");
    lblPartsTotal->setAccessibleName(QStringLiteral("Parts total"));
    lblPartsTotal->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* partsPage = new QVBoxLayout(pages[2]);
    partsPage->addWidget(dbgParts, 1);
    partsPage->addWidget(lblPartsTotal);

    txtNotes = named<BoundMemoBox>(pages[3], "txtNotes");
    txtNotes->bind(datNotes, QStringLiteral("WorkOrderMemo"));
    (new QVBoxLayout(pages[3]))->addWidget(txtNotes);

    // In the Tab key order only while focused.
    dbgService->setTabStop(false);
    dbgParts->setTabStop(false);
    txtNotes->setFocusPolicy(Qt::ClickFocus);
}

void frmWorkOrder::layOutControls() {
    auto* vehicle = new QHBoxLayout;
    vehicle->addWidget(Label1[0]);
    vehicle->addWidget(cboVehicleID, 1);

    // Date and miles on the left of the frame, the order number on its right.
    auto* fields = new QGridLayout(Frame1);
    fields->setContentsMargins(6, 4, 6, 4);
    fields->setVerticalSpacing(3);
    fields->addWidget(Label1[1], 0, 0);
    fields->addWidget(txtDate, 0, 1);
    fields->addWidget(Label1[2], 1, 0);
    fields->addWidget(txtMiles, 1, 1);
    fields->addWidget(Label1[3], 0, 2, Qt::AlignRight);
    fields->addWidget(lblOrderNum, 0, 3);
    fields->setColumnStretch(1, 1);

    auto* left = new QVBoxLayout;
    left->addLayout(vehicle);
    left->addWidget(Frame1, 1);

    // One column of buttons at the right: Update shares New Order's cell, Cancel
    // Edit Order's.
    auto* buttons = buttonColumn({cmdAdd, cmdUpdate, cmdEdit, cmdCancel, cmdDelete, cmdClose});

    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(buttons);

    // The tabs fill the lower half; the navigation bar runs along the bottom.
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(4, 4, 4, 4);
    window->setSpacing(4);
    window->addLayout(top);
    window->addWidget(SSTab1, 1);
    window->addWidget(Data1);

    QWidget* const tabOrder[] = {cboVehicleID, txtDate,   txtMiles,  cmdAdd,   cmdEdit,
                                 cmdUpdate,    cmdCancel, cmdDelete, cmdClose, SSTab1};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void frmWorkOrder::connectHandlers() {
    connect(cboVehicleID, &QComboBox::activated, this,
            platform::reported([this] { cboVehicleID_Click(); }));
    onClicked(cmdAdd, [this] { cmdAdd_Click(); });
    onClicked(cmdEdit, [this] { cmdEdit_Click(); });
    onClicked(cmdUpdate, [this] { cmdUpdate_Click(); });
    onClicked(cmdCancel, [this] { cmdCancel_Click(); });
    onClicked(cmdDelete, [this] { cmdDelete_Click(); });
    onClicked(cmdClose, [this] { cmdClose_Click(); });
    connect(Data1, &DataControl::Reposition, this,
            platform::reported([this] { Data1_Reposition(); }));
}

void frmWorkOrder::connectDetailHandlers() {
    connect(SSTab1, &QTabWidget::currentChanged, this,
            [this](int) { platform::runReported([this] { SSTab1_Click(0); }); });
    // A click on the tab already chosen moves the focus to its control as well.
    connect(SSTab1, &QTabWidget::tabBarClicked, this, [this](int index) {
        if (index == SSTab1->currentIndex())
            platform::runReported([this] { SSTab1_Click(0); });
    });
    connect(dbgService, &DataGrid::GotFocus, this,
            platform::reported([this] { dbgService_GotFocus(); }));
    connect(dbgService, &DataGrid::LostFocus, this,
            platform::reported([this] { dbgService_LostFocus(); }));
    connect(dbgParts, &DataGrid::GotFocus, this,
            platform::reported([this] { dbgParts_GotFocus(); }));
    connect(dbgParts, &DataGrid::LostFocus, this,
            platform::reported([this] { dbgParts_LostFocus(); }));
    connect(dbgService, &DataGrid::OnAddNew, this,
            platform::reported([this] { dbgService_OnAddNew(); }));
    connect(dbgParts, &DataGrid::OnAddNew, this,
            platform::reported([this] { dbgParts_OnAddNew(); }));
    connect(dbgParts, &DataGrid::BeforeColUpdate, this,
            [this](int column, QVariant& oldValue, bool& cancel) {
                platform::runReported([&] { dbgParts_BeforeColUpdate(column, oldValue, cancel); });
            });
    connect(dbgParts, &DataGrid::KeyPress, this,
            [this](int& keyAscii) { platform::runReported([&] { dbgParts_KeyPress(keyAscii); }); });
    connect(dbgService, &DataGrid::KeyPress, this, [this](int& keyAscii) {
        platform::runReported([&] { dbgService_KeyPress(keyAscii); });
    });
    connect(dbgService, &DataGrid::AfterUpdate, this,
            platform::reported([this] { dbgService_AfterUpdate(); }));
    for (QCheckBox* box : serviceChecks())
        connect(box, &QCheckBox::clicked, this,
                platform::reported([this, box] { Check_Click(box); }));
    // Whatever changes the rows a grid shows (another order, a cell, a row added or
    // deleted) changes what the boxes and the total show.
    const auto follow = [this](QAbstractItemModel* rows, void (frmWorkOrder::*show)()) {
        const auto update = [this, show] { (this->*show)(); };
        connect(rows, &QAbstractItemModel::modelReset, this, update);
        connect(rows, &QAbstractItemModel::rowsInserted, this, update);
        connect(rows, &QAbstractItemModel::rowsRemoved, this, update);
        connect(rows, &QAbstractItemModel::dataChanged, this, update);
    };
    follow(dbgService->model(), &frmWorkOrder::ShowServiceChecks);
    follow(dbgParts->model(), &frmWorkOrder::ShowPartsTotal);
    ShowServiceChecks();
    ShowPartsTotal();
    connect(txtNotes, &BoundMemoBox::gotFocus, this,
            platform::reported([this] { txtNotes_GotFocus(); }));
    connect(txtNotes, &BoundMemoBox::lostFocus, this,
            platform::reported([this] { txtNotes_LostFocus(); }));
}

} // namespace records
