#include "ServiceRows.h"

#include "RecordsetTableModel.h"
#include "platform/AppError.h"
#include "store/Recordset.h"

#include <QList>
#include <memory>

namespace records {

namespace {

const QString kDescription = QStringLiteral("WorkDescription");

} // namespace

QString serviceOfCaption(const QString& caption) {
    QString service;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i; // "&&" shows one "&"; "&G" shows "G"
        service += caption[i];
    }
    return service;
}

bool isSameService(const QString& description, const QString& service) {
    return description.trimmed().compare(service.trimmed(), Qt::CaseInsensitive) == 0;
}

QStringList storedServices(const RecordsetTableModel& services, int descriptionColumn) {
    QStringList descriptions;
    for (int row = 0; row < services.storedRowCount(); ++row) {
        try {
            descriptions << services.value(row, descriptionColumn).toString();
        } catch (const std::exception&) {
            // a row gone from the file
        }
    }
    return descriptions;
}

void addServiceRow(store::Recordset& services, const QVariant& orderKey, const QString& service) {
    services.AddNew();
    try {
        services.setValue(QStringLiteral("WorkOrderID"), orderKey);
        services.setValue(kDescription, service);
        services.Update();
    } catch (const platform::AppError&) {
        services.CancelUpdate(); // no half row waits for a later Update
        throw;
    }
}

void removeServiceRows(store::Recordset& services, const QString& service) {
    // The rows are found through a clone: deleting through the set tells its grid,
    // which may move the set while the rows are still being walked.
    QList<store::Bookmark> matching;
    const std::unique_ptr<store::Recordset> reader = services.Clone();
    if (!reader->isEOF())
        reader->MoveFirst();
    for (; !reader->isEOF(); reader->MoveNext()) {
        if (isSameService(reader->value(kDescription).toString(), service))
            matching << reader->bookmark();
    }
    for (const store::Bookmark mark : matching) {
        services.setBookmark(mark);
        services.Delete();
    }
}

} // namespace records
