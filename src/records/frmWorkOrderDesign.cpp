// The work order window's controls, their captions, bindings, layout and tab order.
#include "frmWorkOrder.h"

#include "BoundTextBox.h"
#include "DataControl.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace records {

namespace {

template <class Widget> Widget* named(QWidget* parent, const char* name) {
    auto* widget = new Widget(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption) {
    auto* b = named<QPushButton>(parent, name);
    b->setText(QLatin1String(caption));
    b->setAutoDefault(false);
    return b;
}

DataControl* dataControl(QWidget* parent, const char* name, const char* recordSource) {
    auto* source = named<DataControl>(parent, name);
    source->setConnect(QStringLiteral("Access"));
    source->setRecordSource(QLatin1String(recordSource));
    return source;
}

} // namespace

frmWorkOrder::frmWorkOrder(shell::MDIForm1& frame) : RecordWindow(frame) {
    setObjectName(QStringLiteral("frmWorkOrder"));
    setWindowTitle(QStringLiteral("Work Order"));
    createControls();
    createDataControls();
    layOutControls();
    connectHandlers();
    setControls({Label1[0], cboVehicleID, Frame1, Label1[1],  txtDate,   Label1[2],  txtMiles,
                 Label1[3], lblOrderNum,  cmdAdd, cmdEdit,    cmdUpdate, cmdCancel,  cmdDelete,
                 cmdClose,  SSTab1,       Data1,  datVehicle, datParts,  datService, datNotes});
    // Data1 first: the details follow its current order.
    for (DataControl* source : {Data1, datVehicle, datParts, datService, datNotes})
        addDataControl(source);
}

void frmWorkOrder::createControls() {
    cboVehicleID = named<QComboBox>(this, "cboVehicleID");
    cboVehicleID->setEditable(false);

    Frame1 = named<QGroupBox>(this, "Frame1");
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
    auto* buttons = new QGridLayout;
    buttons->setVerticalSpacing(3);
    buttons->addWidget(cmdUpdate, 0, 0);
    buttons->addWidget(cmdAdd, 0, 0);
    buttons->addWidget(cmdCancel, 1, 0);
    buttons->addWidget(cmdEdit, 1, 0);
    buttons->addWidget(cmdDelete, 2, 0);
    buttons->addWidget(cmdClose, 3, 0);

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

} // namespace records
