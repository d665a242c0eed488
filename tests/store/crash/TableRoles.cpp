#include "TableRoles.h"

#include <stdexcept>

namespace crash {

const std::vector<TableRole>& tableRoles() {
    static const std::vector<TableRole> roles = {
        {"VehicleInfo", "VehicleID", "", "", "VehicleInfo", "VehicleID = %1", true},
        {"Fuel", "FuelID", "VehicleID", "VehicleInfo",
         "Select * from Fuel where VehicleID = %1 Order by FuelDate, FuelMiles", "FuelID = %1",
         true},
        {"WorkOrder", "WorkOrderID", "VehicleID", "VehicleInfo",
         "Select * from WorkOrder where VehicleID = %1 Order by Date, Mileage", "WorkorderID = %1",
         true},
        {"WorkDone", "WorkDoneID", "WorkOrderID", "WorkOrder",
         "Select * from workDone Where WorkOrderID = %1", "WorkDoneID = %1", true},
        {"PartsUsed", "PartID", "WorkOrderID", "WorkOrder",
         "Select * from PartsUsed where WorkOrderID = %1", "PartID = %1", true},
        {"WorkOrderMemo", "WorkOrderID", "WorkOrderID", "WorkOrder",
         "Select * from WorkOrderMemo where WorkorderID = %1", "WorkOrderID = %1", false},
    };
    return roles;
}

const TableRole& roleOf(const QString& table) {
    for (const TableRole& role : tableRoles())
        if (table.compare(QLatin1String(role.table), Qt::CaseInsensitive) == 0)
            return role;
    throw std::invalid_argument("no such table");
}

} // namespace crash
