#include "VehicleSelector.h"

#include "DataControl.h"
#include "platform/AppError.h"
#include "store/Recordset.h"

#include <QComboBox>
#include <QVariant>

namespace records {

namespace {

// "Invalid property array index": the list has no selected item to read.
constexpr int kInvalidIndex = 381;

// Runs one step of the fill; a failure skips that step only.
template <class Step> bool tryStep(Step step) {
    try {
        step();
        return true;
    } catch (const platform::AppError&) {
        return false;
    }
}

} // namespace

bool FillVehicleCombo(QComboBox& combo, DataControl& vehicles) {
    combo.clear();
    store::Recordset* rows = nullptr;
    bool complete = tryStep([&] { rows = vehicles.Recordset(); });
    if (rows) {
        complete = tryStep([&] { rows->Requery(); }) && complete;
        complete = tryStep([&] { rows->MoveFirst(); }) && complete;
        while (!rows->isEOF()) {
            QString lookup;
            QVariant id;
            tryStep([&] { lookup = rows->value(QStringLiteral("VehicleLookup")).toString(); });
            // An item without its own vehicle's key would save rows to the wrong owner.
            const bool keyRead = tryStep([&] { id = rows->value(QStringLiteral("VehicleID")); });
            complete = keyRead && complete;
            if (keyRead && !id.isNull())
                combo.addItem(lookup, id.toInt());
            // A row the set cannot move past would hold the loop for ever.
            if (!tryStep([&] { rows->MoveNext(); })) {
                complete = false;
                break;
            }
        }
    }
    // Adding to an empty list selects its first item; a fresh list has no selection.
    combo.setCurrentIndex(-1);
    return complete;
}

bool SelectVehicle(QComboBox& combo, int vehicleId) {
    for (int i = 0; i < combo.count(); ++i) {
        if (combo.itemData(i).toInt() == vehicleId) {
            combo.setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

int SelectedVehicleID(const QComboBox& combo) {
    if (combo.currentIndex() < 0)
        throw platform::AppError(kInvalidIndex,
                                 QStringLiteral("No vehicle is selected: pick one in Vehicle."));
    return combo.currentData().toInt();
}

} // namespace records
