#include "RowText.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace importing {

namespace {

// Plain ASCII text built in place: a preview makes one per row of the file, so the
// numbers and dates are written without a QString each.
class Ascii {
public:
    Ascii& add(const char* text) {
        const size_t length = std::strlen(text);
        if (m_size + length < sizeof m_text) {
            std::memcpy(m_text + m_size, text, length);
            m_size += length;
        }
        m_text[m_size] = '\0';
        return *this;
    }
    Ascii& addf(const char* format, auto... values) {
        const int written =
            std::snprintf(m_text + m_size, sizeof m_text - m_size, format, values...);
        if (written > 0)
            m_size = std::min(sizeof m_text - 1, m_size + size_t(written));
        return *this;
    }
    // Digits in groups of three: 1234567 -> "1,234,567".
    Ascii& addGrouped(quint64 whole) {
        char reversed[32];
        int count = 0;
        do {
            if (count % 4 == 3)
                reversed[count++] = ',';
            reversed[count++] = char('0' + whole % 10);
            whole /= 10;
        } while (whole > 0);
        while (count > 0 && m_size + 1 < sizeof m_text)
            m_text[m_size++] = reversed[--count];
        m_text[m_size] = '\0';
        return *this;
    }
    Ascii& addDay(const QDateTime& date) {
        int year = 0, month = 0, day = 0;
        date.date().getDate(&year, &month, &day);
        return addf("%d/%d/%d", month, day, year);
    }
    Ascii& addMiles(double miles) {
        const double tenths = std::round(std::fabs(miles) * 10);
        if (miles < 0 && tenths > 0)
            add("-");
        addGrouped(quint64(tenths / 10));
        const int fraction = int(std::fmod(tenths, 10.0));
        return fraction != 0 ? addf(".%d", fraction) : *this;
    }
    Ascii& addMoney(values::Currency amount) {
        const bool negative = amount.scaled < 0;
        // Magnitude in cents, half away from zero; unsigned so that the lowest amount fits.
        const quint64 magnitude =
            negative ? quint64(0) - quint64(amount.scaled) : quint64(amount.scaled);
        const quint64 cents = (magnitude + 50) / 100;
        add(negative ? "-$" : "$").addGrouped(cents / 100);
        return addf(".%02u", unsigned(cents % 100));
    }
    size_t size() const { return m_size; }
    QString text() const { return QString::fromLatin1(m_text, qsizetype(m_size)); }

private:
    char m_text[192] = {};
    size_t m_size = 0;
};

} // namespace

QString milesText(double miles) {
    return Ascii().addMiles(miles).text();
}

QString moneyText(values::Currency amount) {
    return Ascii().addMoney(amount).text();
}

QString fuelText(const FittedFuel& row) {
    Ascii text;
    text.add("fuel purchase ").addDay(row.date);
    const size_t head = text.size();
    const auto separate = [&](const char* between) {
        text.add(text.size() == head ? ": " : between);
    };
    if (row.gallons) {
        separate(", ");
        text.addf("%.3f gal", double(*row.gallons));
    }
    if (row.odometer) {
        separate(" ");
        text.add("at ").addMiles(*row.odometer).add(" mi");
    }
    if (row.cost) {
        separate(", ");
        text.addMoney(*row.cost);
    }
    if (!row.full) {
        separate(", ");
        text.add("partial");
    }
    if (row.missed) {
        separate(", ");
        text.add("after a missed fill-up");
    }
    return text.text();
}

QString workOrderText(const FittedWorkOrder& row) {
    Ascii head;
    head.add("work order ").addDay(row.date);
    if (row.mileage)
        head.add(" at ").addMiles(double(*row.mileage)).add(" mi");
    QString text = head.text();
    QStringList parts;
    if (!row.services.isEmpty())
        parts << row.services.join(QStringLiteral(", "));
    if (!row.parts.empty())
        parts << (row.parts.size() == 1 ? QStringLiteral("1 part")
                                        : QStringLiteral("%1 parts").arg(row.parts.size()));
    if (row.note && !row.note->isEmpty())
        parts << QStringLiteral("note");
    return parts.isEmpty() ? text : text + QStringLiteral(": ") + parts.join(QStringLiteral("; "));
}

} // namespace importing
