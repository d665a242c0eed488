// The fuel window opened on one purchase from elsewhere (the vehicle history).
#include "VehicleSelector.h"
#include "frmGas.h"
#include "store/Recordset.h"

#include <QComboBox>

namespace records {

bool frmGas::showPurchase(int vehicleId, qint64 fuelId) {
    if (Editing || holdsRowNotSaved())
        return false;
    // The list may be older than the vehicle: it is read again as activation does.
    if (cboVehicleID->findData(vehicleId) < 0)
        FillVehicleCombo();
    if (!SelectVehicle(*cboVehicleID, vehicleId))
        return false;
    cboVehicleID_Click();
    if (isEmpty())
        return false;
    records().FindFirst(QStringLiteral("FuelID = ") + QString::number(fuelId));
    return !records().NoMatch();
}

} // namespace records
