#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

namespace store {
class Recordset;
}

namespace records {

class RecordsetTableModel;

// The services of a work order as its WorkDone rows, for the tick boxes that stand
// for them: a box is ticked while the order has a row with the box's service.

// A caption without its keyboard accelerator: "&Grease" is the service "Grease".
QString serviceOfCaption(const QString& caption);

// A typed description names a service regardless of letter case and of spaces
// around it: "change oil " is the service "Change Oil".
bool isSameService(const QString& description, const QString& service);

// The descriptions of the stored rows a services grid shows; a row that cannot be
// read (deleted by another program) is left out, as the grid shows it empty.
QStringList storedServices(const RecordsetTableModel& services, int descriptionColumn);

// Stores one row for the service with the order's key. Throws the store's error,
// with nothing stored and nothing left pending.
void addServiceRow(store::Recordset& services, const QVariant& orderKey, const QString& service);

// Deletes every row of the set that names the service; each delete is stored at
// once. Throws the store's error at the first refused delete, with the rows before
// it gone and the rest kept.
void removeServiceRows(store::Recordset& services, const QString& service);

} // namespace records
