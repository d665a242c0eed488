#pragma once

class QComboBox;

namespace records {

class DataControl;

// The vehicle selector of the windows that show one vehicle's rows (fuel purchases,
// work orders): a combo box whose items show each vehicle's look-up text and carry
// its VehicleID as item data (Qt::UserRole).

// Rebuilds the list from a data source control on table VehicleInfo: the record set
// is read again, so vehicles added or deleted elsewhere show up. A failing step is
// skipped and the rest goes on (a file that cannot be read leaves the list short,
// never an error box). A vehicle without a look-up text is listed with an empty text.
// The list is left with no item selected. True when every vehicle was read, so that
// one missing from the list is known to be gone.
bool FillVehicleCombo(QComboBox& combo, DataControl& vehicles);

// Selects the first item that carries this VehicleID; false (selection unchanged)
// when none does.
bool SelectVehicle(QComboBox& combo, int vehicleId);

// The VehicleID of the selected item; throws platform::AppError (invalid index,
// naming the selector by its label) when no item is selected.
int SelectedVehicleID(const QComboBox& combo);

} // namespace records
