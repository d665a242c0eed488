// The fuel window's controls, their captions, bindings, layout and tab order.
#include "frmGas.h"

#include "BoundCheckBox.h"
#include "BoundTextBox.h"
#include "DataControl.h"
#include "ReadableLock.h"
#include "WindowDesign.h"

#include <QComboBox>
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

frmGas::frmGas(shell::MDIForm1& frame) : RecordWindow(frame) {
    setObjectName(QStringLiteral("frmGas"));
    setWindowTitle(QStringLiteral("Gas Purchases"));
    createControls();
    layOutControls();
    connectHandlers();
    setControls({cboVehicleID, txtDate,   Check1,    txtGals,    txtCost,   txtMiles,  txtCity,
                 txtState,     lblMPG,    cmdAdd,    cmdEdit,    cmdUpdate, cmdCancel, cmdDelete,
                 cmdClose,     Frame1,    Data1,     datVehicle, Label1[0], Label1[1], Label1[2],
                 Label1[3],    Label1[4], Label1[5], Label1[6],  Label1[7]});
    addDataControl(Data1);
    addDataControl(datVehicle);
}

void frmGas::createControls() {
    cboVehicleID = named<QComboBox>(this, "cboVehicleID");
    keepLockedValuesReadable(cboVehicleID);
    Frame1 = named<QGroupBox>(this, "Frame1");
    // Locked in browse state, its values still readable.
    keepLockedValuesReadable(Frame1);
    txtDate = named<BoundTextBox>(Frame1, "txtDate");
    Check1 = new BoundCheckBox(QStringLiteral("Full"), Frame1);
    Check1->setObjectName(QStringLiteral("Check1"));
    txtGals = named<BoundTextBox>(Frame1, "txtGals");
    txtCost = named<BoundTextBox>(Frame1, "txtCost");
    txtMiles = named<BoundTextBox>(Frame1, "txtMiles");
    txtCity = named<BoundTextBox>(Frame1, "txtCity");
    txtState = named<BoundTextBox>(Frame1, "txtState");
    lblMPG = named<QLabel>(Frame1, "lblMPG");
    lblMPG->setFrameShape(QFrame::StyledPanel);

    // Made before Add and Edit so that those two lie on top of them.
    cmdUpdate = button(this, "cmdUpdate", "&Update");
    cmdCancel = button(this, "cmdCancel", "Ca&ncel");
    cmdAdd = button(this, "cmdAdd", "&Add");
    cmdEdit = button(this, "cmdEdit", "&Edit");
    cmdDelete = button(this, "cmdDelete", "&Delete");
    cmdClose = button(this, "cmdClose", "&Close");

    // The rows' record source is set when the window loads and when a vehicle is picked.
    Data1 = named<DataControl>(this, "Data1");
    Data1->setConnect(QStringLiteral("Access"));
    txtDate->bind(Data1, QStringLiteral("FuelDate"));
    Check1->bind(Data1, QStringLiteral("FuelFull"));
    txtGals->bind(Data1, QStringLiteral("FuelGals"));
    txtCost->bind(Data1, QStringLiteral("FuelCost"));
    txtMiles->bind(Data1, QStringLiteral("FuelMiles"));
    txtCity->bind(Data1, QStringLiteral("FuelCity"));
    txtState->bind(Data1, QStringLiteral("FuelState"));

    // Only a source for the selector: kept out of the layout and out of sight.
    datVehicle = named<DataControl>(this, "datVehicle");
    datVehicle->setConnect(QStringLiteral("Access"));
    datVehicle->setRecordSource(QStringLiteral("VehicleInfo"));
    datVehicle->hide();

    const struct {
        const char* caption;
        QWidget* buddy;
    } labels[] = {{"Vehicle", cboVehicleID}, {"Date", txtDate}, {"Gals", txtGals},
                  {"Miles", txtMiles},       {"Cost", txtCost}, {"City", txtCity},
                  {"State", txtState},       {"MPG", lblMPG}};
    for (const auto& label : labels) {
        auto* l = named<QLabel>(label.buddy == cboVehicleID ? static_cast<QWidget*>(this) : Frame1,
                                "Label1");
        l->setProperty("Index", int(Label1.size()));
        l->setText(QLatin1String(label.caption));
        l->setBuddy(label.buddy);
        Label1.append(l);
    }
}

void frmGas::layOutControls() {
    // The selector at the top, with its label to its left.
    auto* selector = new QHBoxLayout;
    selector->addWidget(Label1[0]);
    selector->addWidget(cboVehicleID, 1);

    // Two columns of fields in the frame: Date, Gals, Miles, City on the left; Full,
    // Cost, MPG, State on the right.
    auto* fields = new QGridLayout(Frame1);
    fields->setContentsMargins(6, 4, 6, 4);
    fields->setVerticalSpacing(3);
    auto labelOf = [this](QWidget* buddy) {
        for (QLabel* label : Label1)
            if (label->buddy() == buddy)
                return label;
        return static_cast<QLabel*>(nullptr);
    };
    const QList<QWidget*> left = {txtDate, txtGals, txtMiles, txtCity};
    const QList<QWidget*> right = {Check1, txtCost, lblMPG, txtState};
    for (int row = 0; row < left.size(); ++row) {
        fields->addWidget(labelOf(left[row]), row, 0);
        fields->addWidget(left[row], row, 1);
        if (QLabel* label = labelOf(right[row]))
            fields->addWidget(label, row, 2);
        fields->addWidget(right[row], row, 3);
    }
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);

    // One column of buttons at the right: Update shares Add's cell, Cancel Edit's.
    auto* buttons = buttonColumn({cmdAdd, cmdUpdate, cmdEdit, cmdCancel, cmdDelete, cmdClose});
    buttons->setRowStretch(4, 1);

    auto* middle = new QHBoxLayout;
    middle->addWidget(Frame1, 1);
    middle->addLayout(buttons);

    // The navigation bar runs along the bottom.
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(4, 4, 4, 4);
    window->setSpacing(4);
    window->addLayout(selector);
    window->addLayout(middle, 1);
    window->addWidget(Data1);

    QWidget* const tabOrder[] = {txtDate,   txtGals,  txtCost, txtMiles,    txtCity,
                                 txtState,  cmdAdd,   cmdEdit, cmdUpdate,   cmdCancel,
                                 cmdDelete, cmdClose, Frame1,  cboVehicleID};
    // Full sits between Date and Gals.
    setTabOrder(txtDate, Check1);
    setTabOrder(Check1, txtGals);
    for (std::size_t i = 2; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void frmGas::connectHandlers() {
    // Every change of the selected vehicle, by the user or by code; clearing the
    // list (no item) is none.
    connect(cboVehicleID, &QComboBox::currentIndexChanged, this, platform::reported([this] {
                if (cboVehicleID->currentIndex() >= 0)
                    cboVehicleID_Click();
            }));
    onClicked(cmdAdd, [this] { cmdAdd_Click(); });
    onClicked(cmdEdit, [this] { cmdEdit_Click(); });
    onClicked(cmdUpdate, [this] { cmdUpdate_Click(); });
    onClicked(cmdCancel, [this] { cmdCancel_Click(); });
    onClicked(cmdDelete, [this] { cmdDelete_Click(); });
    onClicked(cmdClose, [this] { cmdClose_Click(); });
    connect(Data1, &DataControl::Reposition, this,
            platform::reported([this] { Data1_Reposition(); }));
    // A stored row shown again after Edit or Cancel keeps its cost display.
    connect(Data1, &DataControl::storedRowShownAgain, this,
            platform::reported([this] { ShowCost(); }));
    connect(txtCost, &BoundTextBox::lostFocus, this,
            platform::reported([this] { txtCost_LostFocus(); }));
}

} // namespace records
