#pragma once

#include "values/NumberText.h"

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

namespace history {

// One work order as the Service History lists it, read with one select.
struct WorkOrderSummary {
    qint64 workOrderId = 0;
    qint64 vehicleId = 0;
    QDateTime date;
    std::optional<qint64> miles; // Mileage
    QString services;            // WorkDescription of its services, ", " joined, in key order
    int partsCount = 0;          // rows of PartsUsed
    values::WideInteger partsTotalCents = 0; // sum of Qty x Cost, each line rounded to
                                             // cents as the work order window shows it
    QString noteFirstLine;
    QString searchText; // services, part numbers, descriptions and the whole note
};
using WorkOrderSummaries = std::vector<WorkOrderSummary>;

} // namespace history
