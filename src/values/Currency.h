#pragma once

#include <QMetaType>
#include <QString>
#include <QtGlobal>

namespace values {

// A money value with exactly four decimals, kept as an integer count of 1/10000.
struct Currency {
    qint64 scaled = 0;

    static constexpr qint64 kScale = 10000;

    double toDouble() const { return double(scaled) / double(kScale); }
    // Shortest exact decimal form: 12.5, 1234.5678, -0.01, 7.
    QString toString() const;

    friend bool operator==(Currency a, Currency b) { return a.scaled == b.scaled; }
};

} // namespace values

Q_DECLARE_METATYPE(values::Currency)
