// The vehicle window's controls, their captions, bindings, layout and tab order.
#include "frmVehicleInfo.h"

#include "BoundTextBox.h"
#include "DataControl.h"
#include "ReadableLock.h"
#include "WindowDesign.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace records {

using design::button;
using design::buttonColumn;
using design::named;

frmVehicleInfo::frmVehicleInfo(shell::MDIForm1& frame) : RecordWindow(frame) {
    setObjectName(QStringLiteral("frmVehicleInfo"));
    setWindowTitle(QStringLiteral("Vehicle Information"));
    createControls();
    layOutControls();
    connectHandlers();
    setControls({txtLookUp, txtMake, txtModel, txtYear, txtSerialNum, cmdAdd, cmdEdit, cmdUpdate,
                 cmdCancel, cmdDelete, cmdClose, Frame1, Data1, Label1[0], Label1[1], Label1[2],
                 Label1[3], Label1[4]});
    addDataControl(Data1);
}

void frmVehicleInfo::createControls() {
    Frame1 = named<QGroupBox>(this, "Frame1");
    // Locked in browse state, its values still readable.
    keepLockedValuesReadable(Frame1);
    txtLookUp = named<BoundTextBox>(Frame1, "txtLookUp");
    txtMake = named<BoundTextBox>(Frame1, "txtMake");
    txtModel = named<BoundTextBox>(Frame1, "txtModel");
    txtYear = named<BoundTextBox>(Frame1, "txtYear");
    txtSerialNum = named<BoundTextBox>(Frame1, "txtSerialNum");

    // Made before Add and Edit so that those two lie on top of them.
    cmdUpdate = button(this, "cmdUpdate", "&Update");
    cmdCancel = button(this, "cmdCancel", "Ca&ncel");
    cmdAdd = button(this, "cmdAdd", "&Add");
    cmdEdit = button(this, "cmdEdit", "&Edit");
    cmdDelete = button(this, "cmdDelete", "&Delete");
    cmdClose = button(this, "cmdClose", "&Close");

    Data1 = named<DataControl>(this, "Data1");
    Data1->setConnect(QStringLiteral("Access"));
    Data1->setRecordSource(QStringLiteral("VehicleInfo"));
    txtLookUp->bind(Data1, QStringLiteral("VehicleLookup"));
    txtMake->bind(Data1, QStringLiteral("VehicleMake"));
    txtModel->bind(Data1, QStringLiteral("VehicleModel"));
    txtYear->bind(Data1, QStringLiteral("VehicleYear"));
    txtSerialNum->bind(Data1, QStringLiteral("VehicleSerialNum"));

    const struct {
        const char* caption;
        QWidget* buddy;
    } labels[] = {{"Make", txtMake},
                  {"Model", txtModel},
                  {"Look Up", txtLookUp},
                  {"Serial #", txtSerialNum},
                  {"Year", txtYear}};
    for (const auto& label : labels) {
        auto* l = named<QLabel>(Frame1, "Label1");
        l->setProperty("Index", int(Label1.size()));
        l->setText(QLatin1String(label.caption));
        l->setBuddy(label.buddy);
        Label1.append(l);
    }
}

void frmVehicleInfo::layOutControls() {
    // The entry boxes, each with its label to its left, in the frame.
    auto* fields = new QGridLayout(Frame1);
    fields->setContentsMargins(6, 4, 6, 4);
    fields->setVerticalSpacing(3);
    const QList<QWidget*> rows = {txtLookUp, txtMake, txtModel, txtYear, txtSerialNum};
    for (int row = 0; row < rows.size(); ++row) {
        for (QLabel* label : Label1)
            if (label->buddy() == rows[row])
                fields->addWidget(label, row, 0);
        fields->addWidget(rows[row], row, 1);
    }

    // One column of buttons at the right: Update shares Add's cell, Cancel Edit's.
    auto* buttons = buttonColumn({cmdAdd, cmdUpdate, cmdEdit, cmdCancel, cmdDelete, cmdClose});
    buttons->setRowStretch(4, 1);

    auto* top = new QHBoxLayout;
    top->addWidget(Frame1, 1);
    top->addLayout(buttons);

    // The navigation bar runs along the bottom.
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(4, 4, 4, 4);
    window->setSpacing(4);
    window->addLayout(top, 1);
    window->addWidget(Data1);

    QWidget* const tabOrder[] = {txtLookUp, txtMake,   txtModel,  txtYear,   txtSerialNum, cmdAdd,
                                 cmdEdit,   cmdUpdate, cmdCancel, cmdDelete, cmdClose,     Frame1};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void frmVehicleInfo::connectHandlers() {
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
