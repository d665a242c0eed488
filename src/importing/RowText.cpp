#include "RowText.h"

#include <cmath>
#include <cstdio>

namespace importing {

namespace {

QString dayText(const QDateTime& date) {
    const QDate day = date.date();
    return QString::number(day.month()) + u'/' + QString::number(day.day()) + u'/' +
           QString::number(day.year());
}

// Groups the digits of a whole number in threes.
QString grouped(qint64 whole) {
    QString digits = QString::number(whole < 0 ? -whole : whole);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u',');
    return whole < 0 ? u'-' + digits : digits;
}

} // namespace

QString milesText(double miles) {
    const double tenths = std::round(miles * 10);
    const qint64 whole = qint64(tenths / 10);
    const int fraction = int(std::fabs(std::fmod(tenths, 10.0)));
    QString text = grouped(whole);
    if (fraction != 0)
        text += u'.' + QString::number(fraction);
    return text;
}

QString moneyText(values::Currency amount) {
    const bool negative = amount.scaled < 0;
    // Magnitude in cents, half away from zero; unsigned so that the lowest amount fits.
    const quint64 magnitude =
        negative ? quint64(0) - quint64(amount.scaled) : quint64(amount.scaled);
    const quint64 cents = (magnitude + 50) / 100;
    char fraction[4];
    std::snprintf(fraction, sizeof fraction, ".%02u", unsigned(cents % 100));
    return (negative ? QStringLiteral("-$") : QStringLiteral("$")) + grouped(qint64(cents / 100)) +
           QLatin1String(fraction);
}

QString fuelText(const FittedFuel& row) {
    QStringList parts;
    QString amount;
    if (row.gallons) {
        char gallons[48];
        std::snprintf(gallons, sizeof gallons, "%.3f gal", double(*row.gallons));
        amount = QLatin1String(gallons);
    }
    if (row.odometer)
        amount += (amount.isEmpty() ? QStringLiteral("at ") : QStringLiteral(" at ")) +
                  milesText(*row.odometer) + QStringLiteral(" mi");
    if (!amount.isEmpty())
        parts << amount;
    if (row.cost)
        parts << moneyText(*row.cost);
    if (!row.full)
        parts << QStringLiteral("partial");
    if (row.missed)
        parts << QStringLiteral("after a missed fill-up");
    const QString head = QStringLiteral("fuel purchase ") + dayText(row.date);
    return parts.isEmpty() ? head : head + QStringLiteral(": ") + parts.join(QStringLiteral(", "));
}

QString workOrderText(const FittedWorkOrder& row) {
    QString head = QStringLiteral("work order ") + dayText(row.date);
    if (row.mileage)
        head += QStringLiteral(" at ") + milesText(double(*row.mileage)) + QStringLiteral(" mi");
    QStringList parts;
    if (!row.services.isEmpty())
        parts << row.services.join(QStringLiteral(", "));
    if (!row.parts.empty())
        parts << (row.parts.size() == 1 ? QStringLiteral("1 part")
                                        : QStringLiteral("%1 parts").arg(row.parts.size()));
    if (row.note && !row.note->isEmpty())
        parts << QStringLiteral("note");
    return parts.isEmpty() ? head : head + QStringLiteral(": ") + parts.join(QStringLiteral("; "));
}

} // namespace importing
