// The fuel window's handlers: picking the vehicle, the editing cycle on its rows of
// table Fuel, the cost display and the miles per gallon.
#include "frmGas.h"

#include "BoundTextBox.h"
#include "DataControl.h"
#include "VehicleSelector.h"
#include "history/FuelEconomy.h"
#include "platform/AppError.h"
#include "shell/AppState.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "values/Format.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace records {

namespace {
// The window's outer size in twips.
constexpr double kWidth = 6705;
constexpr double kHeight = 3735;

const QString kNoVehicle = QStringLiteral("Select * from Fuel where VehicleID = 0");

QString vehicleSource(int vehicleId) {
    return QStringLiteral("Select * from Fuel where VehicleID = ") + QString::number(vehicleId) +
           QStringLiteral(" Order by FuelDate, FuelMiles");
}

// A tank left without a Full value shows unticked: it counts as a partial fill.
bool isFull(const store::Recordset& rs) {
    const QVariant full = rs.value(QStringLiteral("FuelFull"));
    return !full.isNull() && full.toBool();
}

// Runs one statement whose failure the caller chooses to pass over.
template <class Statement> void ignoringErrors(Statement statement) {
    try {
        statement();
    } catch (const platform::AppError&) {
    }
}

// Sets Activating for the span of an activation, also when a step fails.
class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag) : m_flag(flag) { m_flag = true; }
    ~ScopedFlag() { m_flag = false; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& m_flag;
};
} // namespace

store::Recordset& frmGas::records() const {
    return *Data1->Recordset();
}

bool frmGas::isEmpty() const {
    return records().isBOF() && records().isEOF();
}

void frmGas::Form_Load() {
    placeInFrame(kWidth, kHeight);
    FirstActivate = true;
    Frame1->setEnabled(false);
    Data1->setDatabaseName(shell::DatabasePath);
    datVehicle->setDatabaseName(shell::DatabasePath);
    // No vehicle has the key 0: the window opens with no rows.
    Data1->setRecordSource(kNoVehicle);
    Data1->Refresh();
}

void frmGas::Form_Activate() {
    ScopedFlag activating(Activating);
    if (FirstActivate) {
        // Only the selector, Add and Close until a vehicle is picked.
        DisableControls(true);
        EnableAddClose();
        FirstActivate = false;
    }
    // Vehicles may have come or gone in the vehicle window meanwhile. Reselecting the
    // remembered one raises a click that Activating turns away: the rows stay.
    const bool listComplete = FillVehicleCombo();
    SelectVehicle(*cboVehicleID, LastVehicleID);
    // The rows on show went with their vehicle: none of them may stay on show.
    if (listComplete && m_shownVehicleID != 0 && cboVehicleID->findData(m_shownVehicleID) < 0) {
        showNoVehicle();
        return;
    }
    // A missed mark may have been set or cleared in another window meanwhile.
    m_missedMarks.forget();
    if (!Editing && m_shownVehicleID != 0)
        ignoringErrors([this] {
            if (!isEmpty())
                GetMpg();
        });
}

void frmGas::showNoVehicle() {
    // A row being typed for the vehicle goes with it, like its stored rows.
    if (Data1->EditMode() != store::EditMode::None)
        ignoringErrors([this] { records().CancelUpdate(); });
    SetEditMode(false);
    cboVehicleID->setCurrentIndex(-1);
    Data1->setRecordSource(kNoVehicle);
    Data1->Refresh();
    m_shownVehicleID = 0;
    DisableControls(true);
    EnableAddClose();
}

void frmGas::Form_Deactivate() {
    // With no vehicle selected the remembered one stays.
    try {
        LastVehicleID = SelectedVehicleID(*cboVehicleID);
    } catch (const platform::AppError&) {
    }
}

void frmGas::Form_Unload() {
    LastVehicleID = -1;
}

bool frmGas::FillVehicleCombo() {
    return records::FillVehicleCombo(*cboVehicleID, *datVehicle);
}

void frmGas::cboVehicleID_Click() {
    if (Editing || Activating)
        return;
    const int vehicleID = SelectedVehicleID(*cboVehicleID);
    Data1->setRecordSource(vehicleSource(vehicleID));
    m_shownVehicleID = vehicleID;
    showListedPurchases();
}

void frmGas::showListedPurchases() {
    Data1->Refresh();
    if (isEmpty()) {
        DisableControls(true);
        EnableAddClose();
    } else {
        records().MoveLast(); // the latest purchase
        DisableControls(false);
        Frame1->setEnabled(false);
    }
}

void frmGas::showRemainingRows() {
    SetEditMode(false);
    showListedPurchases(); // reading the rows again drops the one pending
}

void frmGas::showRowsThatCameBack() {
    // The vehicle on show, else the one last picked: it may be the one that came back.
    int wanted = LastVehicleID;
    if (cboVehicleID->currentIndex() >= 0)
        wanted = SelectedVehicleID(*cboVehicleID);
    const std::optional<qint64> place = currentPlace(records());
    {
        ScopedFlag activating(Activating);
        FillVehicleCombo();
        if (!SelectVehicle(*cboVehicleID, wanted))
            return;
    }
    Data1->setRecordSource(vehicleSource(wanted));
    m_shownVehicleID = wanted;
    showListedPurchases();
    landAfterComeBack(records(), place);
}

void frmGas::EnableAddClose() {
    cmdAdd->setEnabled(true);
    cmdClose->setEnabled(true);
    cboVehicleID->setEnabled(true);
}

void frmGas::SetEditMode(bool editing) {
    // Hiding Add and Edit uncovers Update and Cancel beneath them. The selector stays
    // usable; cboVehicleID_Click ignores it while Editing.
    cmdAdd->setVisible(!editing);
    cmdEdit->setVisible(!editing);
    cmdDelete->setVisible(!editing);
    cmdClose->setVisible(!editing);
    Frame1->setEnabled(editing);
    Data1->setEnabled(!editing);
    ShutdownEnabled(!editing);
    Editing = editing;
}

void frmGas::cmdAdd_Click() {
    try {
        // With no rows only Add and Close were usable; a saved row needs them all.
        if (isEmpty())
            DisableControls(false);
        SetEditMode(true);
        records().AddNew();
        txtDate->setFocus();
    } catch (const platform::AppError& error) {
        showErrorBox(error);
        SetEditMode(false);
        DisableControls(true);
    }
}

void frmGas::cmdEdit_Click() {
    runKeepingState([this] {
        SetEditMode(true);
        records().Edit();
    });
    focusFirstUsable({txtDate, cmdAdd, cmdClose});
}

void frmGas::cmdUpdate_Click() {
    try {
        // The row belongs to the vehicle selected now, new or changed alike.
        const int vehicleID = SelectedVehicleID(*cboVehicleID);
        records().setValue(QStringLiteral("VehicleID"), vehicleID);
        records().Update();
        records().setBookmark(records().LastModified());
        const int key = records().value(QStringLiteral("FuelID")).toInt();
        // A purchase typed before any vehicle was picked: its vehicle's rows are listed.
        if (m_shownVehicleID == 0) {
            Data1->setRecordSource(vehicleSource(vehicleID));
            m_shownVehicleID = vehicleID;
        }
        // Read the rows again so the saved one takes its place in date order, then
        // stand on it. A row moved to another vehicle is not found: the first stays.
        Data1->Refresh();
        records().FindFirst(QStringLiteral("FuelID = ") + QString::number(key));
        SetEditMode(false);
        // The only purchase of the list went to another vehicle.
        if (isEmpty()) {
            DisableControls(true);
            EnableAddClose();
        }
    } catch (const platform::AppError& error) {
        showErrorBox(error);
        // A row the file refused is still pending: the window stays in Adding or
        // Editing with what was typed, for the user to put right or cancel. A row
        // that went elsewhere cannot be saved at all: the rows left are shown.
        if (isRowDeletedElsewhere(error))
            showRemainingRows();
        else if (Data1->EditMode() == store::EditMode::None)
            SetEditMode(false);
    }
    // The keys keep a home in the window: Add once the row is settled, else Close; a
    // row still pending keeps the focus where the user was.
    focusFirstUsable({cmdAdd, cmdClose});
}

void frmGas::cmdCancel_Click() {
    runKeepingState([this] {
        // Tested while the new row is still pending: an Add on an empty list.
        if (isEmpty()) {
            DisableControls(true);
            EnableAddClose();
        }
        SetEditMode(false);
        records().CancelUpdate();
    });
    focusFirstUsable({cmdAdd, cmdClose});
}

void frmGas::cmdDelete_Click() {
    runKeepingState([this] {
        if (!confirmDelete(QStringLiteral("Are you sure you want to delete the current record?")))
            return;
        store::Recordset& rs = records();
        deleteCurrentRow(rs);
        if (rs.RecordCount() == 0) {
            DisableControls(true);
            cmdAdd->setEnabled(true);
            cmdClose->setEnabled(true);
            cboVehicleID->setEnabled(true);
        }
    });
    focusFirstUsable({cmdAdd, cmdClose});
}

void frmGas::cmdClose_Click() {
    Unload();
}

void frmGas::Data1_Reposition() {
    const store::Recordset& rs = records();
    showPosition(*Data1, rs);
    ShowCost();
    GetMpg();
}

void frmGas::ShowCost() {
    if (txtCost->text().isEmpty())
        return;
    txtCost->setText(
        values::Format(records().value(QStringLiteral("FuelCost")), QStringLiteral("$##.00")));
    // Only a display: an Edit that leaves the cost alone must not write the rounded
    // amount back over the stored one.
    txtCost->clearChanged();
}

void frmGas::txtCost_LostFocus() {
    // Text that is no number stays as typed; Update then names the field.
    const QString formatted = values::Format(txtCost->text(), QStringLiteral("$###.00"));
    if (formatted != txtCost->text())
        txtCost->setText(formatted);
}

history::FuelFill frmGas::fillAt(const store::Recordset& rs) {
    const auto single = [&rs](const char* field) -> std::optional<float> {
        const QVariant value = rs.value(QLatin1String(field));
        return value.isNull() ? std::nullopt : std::optional<float>(value.toFloat());
    };
    history::FuelFill fill;
    fill.full = isFull(rs);
    fill.odometer = single("FuelMiles");
    fill.gallons = single("FuelGals");
    const QVariant key = rs.value(QStringLiteral("FuelID"));
    if (key.isNull())
        return fill;
    try {
        fill.missed = m_missedMarks.isMissed(Data1->Database()->handle(), key.toLongLong());
    } catch (const platform::AppError&) {
        fill.missed = true; // a mark that cannot be read: no figure rather than a wrong one
    }
    return fill;
}

void frmGas::GetMpg() {
    lblMPG->setText(QString());
    if (txtGals->text().isEmpty() || txtMiles->text().isEmpty())
        return;
    // The current row is read where the window stands; only the walk back needs a
    // clone, so a row that closes no tank costs no clone and no extra read.
    const store::Recordset& current = records();
    history::TankWalk walk(fillAt(current));
    if (!walk.needsEarlier())
        return;
    // A clone standing on the current row walks back without moving the window.
    const std::unique_ptr<store::Recordset> rs = current.Clone();
    rs->setBookmark(current.bookmark());
    while (walk.needsEarlier()) {
        rs->MovePrevious();
        if (rs->isBOF())
            return; // no earlier full tank
        walk.takeEarlier(fillAt(*rs));
    }
    if (const std::optional<history::TankEconomy> tank = walk.result())
        lblMPG->setText(values::Format(QVariant(*tank->mpg), QStringLiteral("##.00")));
}

} // namespace records
