#pragma once

#include "values/NumberText.h"
#include "values/PartLine.h"

#include <QString>
#include <QVariant>
#include <optional>

namespace records {

class RecordsetTableModel;

// Money as an exact count of a fixed unit, wide enough that no quantity (16-bit)
// times cost (the store's 64-bit currency) and no sum of such lines overflows.
using WideMoney = values::WideInteger;

// A part's line total, quantity times cost exactly: the rule lives with the values
// so that every list of parts totals them alike.
using values::partLineTotal;

// A line total as a grid cell value: a values::Currency when it fits one, otherwise
// its exact decimal text; both display through values::Format.
QVariant lineTotalValue(WideMoney scaled);

// The sum of the line totals shown in a parts grid: each line rounded to cents as
// its Total cell shows it (half away from zero), then added up exactly, so that the
// figure is the sum of what the user sees. The row being typed counts with what it
// holds so far; a row that cannot be read (deleted by another program) shows
// nothing in the grid and counts nothing here.
WideMoney partsTotalCents(const RecordsetTableModel& parts, int quantityColumn, int costColumn);

// "Total $136.43"; a negative total in the currency look, "Total ($4.00)".
QString partsTotalCaption(WideMoney cents);

} // namespace records
