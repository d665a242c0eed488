#pragma once

#include "StepLine.h"

#include <QMap>
#include <QString>
#include <map>

// Every row of the program's six tables as the record store shows them, and the
// same changes applied to a copy the way the file's relations apply them.
namespace crash {

using Row = QMap<QString, QString>;       // lower-case field name -> shown value
using Rows = std::map<qint64, Row>;       // by key
using Snapshot = std::map<QString, Rows>; // by table, named as the layout names it

// Opens the file through the store and reads every row. Throws the store's error.
Snapshot readSnapshot(const QString& path);

// Applies an acknowledged step; a delete takes the rows that belong to the row
// with it, along the cascading relations. False, with the reason, when the step
// does not fit the snapshot (an edit of a row that is not there, a reused key).
bool applyStep(Snapshot& snapshot, const Step& step, QString* why);

// The key of the only row of the table that `after` has and `before` lacks; 0
// when there is not exactly one.
qint64 addedKey(const Snapshot& before, const Snapshot& after, const QString& table);

// The first difference, for a failure message; empty when they are equal.
QString difference(const Snapshot& expected, const Snapshot& actual);

int rowCount(const Snapshot& snapshot);

} // namespace crash
