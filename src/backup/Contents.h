#pragma once

#include <QString>

// What a backup holds, as the restore list shows it.
namespace backup {

struct Contents {
    bool readable = false; // false: the counts are unknown (a damaged or foreign file)
    qint64 vehicles = 0;
    qint64 fuelPurchases = 0;
    qint64 workOrders = 0;
};

// Counts the rows of the file, reading it only.
Contents contentsOf(const QString& path);

} // namespace backup
