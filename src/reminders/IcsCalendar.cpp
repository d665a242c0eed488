#include "IcsCalendar.h"

#include <QCryptographicHash>

namespace reminders {

namespace {

// TEXT values escape backslash, semicolon, comma and line breaks.
QString escaped(QString text) {
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char(';'), QLatin1String("\\;"))
        .replace(QLatin1Char(','), QLatin1String("\\,"))
        .replace(QLatin1String("\r\n"), QLatin1String("\\n"))
        .replace(QLatin1Char('\n'), QLatin1String("\\n"))
        .replace(QLatin1Char('\r'), QLatin1String("\\n"));
    return text;
}

// A content line folded at 75 octets (never inside a UTF-8 sequence), ended by CRLF.
void appendLine(QByteArray& out, const QString& line) {
    const QByteArray bytes = line.toUtf8();
    int width = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const bool continuation = (uchar(bytes[i]) & 0xC0) == 0x80;
        if (width >= 75 && !continuation) {
            out += "\r\n ";
            width = 1;
        }
        out += bytes[i];
        ++width;
    }
    out += "\r\n";
}

QString dayValue(const QDate& day) {
    return day.toString(QStringLiteral("yyyyMMdd"));
}

} // namespace

QByteArray icsCalendar(const std::vector<ReminderLine>& lines, const QDateTime& stamp) {
    QByteArray out;
    appendLine(out, QStringLiteral("BEGIN:VCALENDAR"));
    appendLine(out, QStringLiteral("VERSION:2.0"));
    appendLine(out, QStringLiteral("PRODID:-//Drivolex//Service reminders//EN"));
    appendLine(out, QStringLiteral("CALSCALE:GREGORIAN"));
    appendLine(out, QStringLiteral("X-WR-CALNAME:Service reminders"));
    const QString stamped = stamp.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    for (const ReminderLine& line : lines) {
        if (line.status.state == DueState::Done)
            continue;
        const Reminder& reminder = line.reminder;
        std::optional<QDate> day = reminder.dueDate ? reminder.dueDate : line.status.estimatedDate;
        // Due by miles with no day to expect it on: it is due now, on the day written.
        if (!day &&
            (line.status.state == DueState::Overdue || line.status.state == DueState::DueSoon))
            day = stamp.date();
        if (!day)
            continue;
        // The same reminder keeps its UID from write to write, whatever it is due.
        const QByteArray key = QByteArray::number(reminder.vehicleId) + '/' +
                               QByteArray::number(reminder.reminderId) + '/' +
                               reminder.name.toUtf8();
        const QString uid =
            QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex()) +
            QStringLiteral("@drivolex");
        QString description = line.status.dueText;
        if (!reminder.dueDate && line.status.estimatedDate)
            description += QStringLiteral(" (the day estimated from the miles driven)");
        if (!reminder.note.isEmpty())
            description += QStringLiteral("\n") + reminder.note;
        appendLine(out, QStringLiteral("BEGIN:VEVENT"));
        appendLine(out, QStringLiteral("UID:") + uid);
        appendLine(out, QStringLiteral("DTSTAMP:") + stamped);
        appendLine(out, QStringLiteral("DTSTART;VALUE=DATE:") + dayValue(*day));
        appendLine(out, QStringLiteral("DTEND;VALUE=DATE:") + dayValue(day->addDays(1)));
        appendLine(out, QStringLiteral("SUMMARY:") +
                            escaped(line.vehicle + QStringLiteral(": ") + reminder.name));
        appendLine(out, QStringLiteral("DESCRIPTION:") + escaped(description));
        appendLine(out, QStringLiteral("CATEGORIES:") + escaped(stateText(line.status.state)));
        appendLine(out, QStringLiteral("TRANSP:TRANSPARENT"));
        appendLine(out, QStringLiteral("END:VEVENT"));
    }
    appendLine(out, QStringLiteral("END:VCALENDAR"));
    return out;
}

} // namespace reminders
