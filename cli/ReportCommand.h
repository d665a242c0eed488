#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

// `report DB [--vehicle NAME] [--from DATE] [--to DATE] [--fuel-log] --pdf OUT`: the
// service record of one vehicle, or of each, as the Vehicle History window's Export
// PDF writes it. Needs a QGuiApplication (the offscreen platform serves).
int writeReport(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace cli
