#pragma once

#include "StoredRows.h"

#include <QString>
#include <QVariant>
#include <functional>

namespace undo {

// The value as the store's conversions take it: null, qint64, double, QString or,
// for a blob, QByteArray.
QVariant storageValue(const StoredValue& value);

// How an order's number is shown in the windows ("0042").
using OrderNumberText = std::function<QString(const QVariant& orderId)>;

// What a delete took, as the Edit menu names it: "Vehicle 'Civic'", "Work Order
// 0042", "Fuel Purchase 5/10/2024", "Service 'Oil Change'", "Part 'Filter'", "Note
// of Work Order 0042"; a row of any other table is named by its table.
QString deleteCaption(const StoredRows& rows, const OrderNumberText& orderNumber);

} // namespace undo
