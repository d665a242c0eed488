#pragma once

#include "QueryText.h"

#include <QList>
#include <QString>

namespace store {

struct OrderItem {
    QString field;
    bool descending = false;
};

// What a record set reads: a table, optionally some rows of it, in an order.
struct RecordSource {
    QString table;
    QList<EqualityTerm> where;
    QList<OrderItem> order;
};

// Reads a table name ("VehicleInfo") or a select text of the form
//   SELECT * FROM table [WHERE field = number [AND ...]] [ORDER BY field [ASC|DESC], ...]
// with keywords in any letter case. Names are checked later against the file.
// Throws errSyntaxInQuery for any other text.
RecordSource parseRecordSource(const QString& text);

// Reads a find criterion "field = number [AND field = number ...]".
// Throws errSyntaxInExpression for any other text.
QList<EqualityTerm> parseCriteria(const QString& text);

} // namespace store
