#pragma once

#include <QString>
#include <QVariant>
#include <functional>

namespace store {
class Recordset;
}

namespace records {

// An unbound column's value for one row. The record set stands on that row (or
// holds the row being typed), so the owner reads its fields with value().
using UnboundValue = std::function<QVariant(const store::Recordset& row)>;

// One column of a data-bound grid.
struct GridColumn {
    QString caption;
    QString dataField;    // empty: the column is bound to no field
    QString numberFormat; // a display pattern of values::Format; empty: the field's own text
    UnboundValue unboundValue;

    bool isBound() const { return !dataField.isEmpty(); }
};

} // namespace records
