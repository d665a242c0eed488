#include "PartsTotal.h"

#include "RecordsetTableModel.h"
#include "values/Currency.h"
#include "values/Format.h"
#include "values/NumberText.h"

#include <limits>
#include <stdexcept>

namespace records {

QVariant lineTotalValue(WideMoney scaled) {
    if (scaled >= std::numeric_limits<qint64>::min() &&
        scaled <= std::numeric_limits<qint64>::max())
        return QVariant::fromValue(values::Currency{qint64(scaled)});
    return values::scaledDecimalText(scaled, 4);
}

WideMoney partsTotalCents(const RecordsetTableModel& parts, int quantityColumn, int costColumn) {
    WideMoney cents = 0;
    for (int row = 0; row < parts.rowCount(); ++row) {
        if (parts.isAddRow(row))
            continue;
        try {
            if (const auto line =
                    partLineTotal(parts.value(row, quantityColumn), parts.value(row, costColumn)))
                cents += values::roundedToCents(*line);
        } catch (const std::exception&) {
            // a row gone from the file: its cells show nothing either
        }
    }
    return cents;
}

QString partsTotalCaption(WideMoney cents) {
    return QStringLiteral("Total ") +
           values::Format(values::scaledDecimalText(cents, 2), QStringLiteral("Currency"));
}

} // namespace records
