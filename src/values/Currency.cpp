#include "Currency.h"

namespace values {

QString Currency::toString() const {
    const bool negative = scaled < 0;
    // Unsigned magnitude, so that the most negative amount has one too.
    const quint64 magnitude = negative ? quint64(0) - quint64(scaled) : quint64(scaled);
    QString text = QString::number(magnitude / quint64(kScale));
    QString fraction = QString::number(magnitude % quint64(kScale)).rightJustified(4, u'0');
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    if (!fraction.isEmpty())
        text += u'.' + fraction;
    return negative ? u'-' + text : text;
}

} // namespace values
