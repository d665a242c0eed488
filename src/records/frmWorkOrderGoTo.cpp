// The work order window opened on one order from elsewhere (the vehicle history).
#include "VehicleSelector.h"
#include "frmWorkOrder.h"
#include "store/Recordset.h"

#include <QComboBox>

namespace records {

bool frmWorkOrder::showOrder(int vehicleId, qint64 workOrderId) {
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
    orders().FindFirst(QStringLiteral("WorkorderID = ") + QString::number(workOrderId));
    return !orders().NoMatch();
}

} // namespace records
