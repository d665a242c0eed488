#include "values/DateText.h"

#include <gtest/gtest.h>

using namespace values;

namespace {

QDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}

QDateTime parsed(const QString& text) {
    const DateResult result = parseDateText(text);
    EXPECT_TRUE(result.ok()) << text.toStdString();
    return result.value;
}

DateProblem problemOf(const QString& text) {
    return parseDateText(text).problem;
}

} // namespace

TEST(DateText, IsoDatesWithAndWithoutTime) {
    EXPECT_EQ(parsed("2024-03-15"), at(2024, 3, 15));
    EXPECT_EQ(parsed("2024-03-15T08:30"), at(2024, 3, 15, 8, 30));
    EXPECT_EQ(parsed("2024-03-15 08:30:15"), at(2024, 3, 15, 8, 30, 15));
    EXPECT_EQ(parsed(" 2024-02-29 23:59:59 "), at(2024, 2, 29, 23, 59, 59));
}

TEST(DateText, UsDatesAndTwelveHourTimes) {
    EXPECT_EQ(parsed("3/15/2024"), at(2024, 3, 15));
    EXPECT_EQ(parsed("03/05/2024 8:30"), at(2024, 3, 5, 8, 30));
    EXPECT_EQ(parsed("3/15/2024 8:30:15 PM"), at(2024, 3, 15, 20, 30, 15));
    EXPECT_EQ(parsed("3/15/2024 8:30pm"), at(2024, 3, 15, 20, 30));
    EXPECT_EQ(parsed("3/15/2024 12:05 AM"), at(2024, 3, 15, 0, 5));
    EXPECT_EQ(parsed("3/15/2024 12:05 PM"), at(2024, 3, 15, 12, 5));
    EXPECT_EQ(parsed("3/15/2024 17:45"), at(2024, 3, 15, 17, 45));
}

TEST(DateText, ShortYearsFallIn1930To2029) {
    EXPECT_EQ(parsed("3/15/24"), at(2024, 3, 15));
    EXPECT_EQ(parsed("3/15/29"), at(2029, 3, 15));
    EXPECT_EQ(parsed("3/15/30"), at(1930, 3, 15));
    EXPECT_EQ(parsed("1/1/0"), at(2000, 1, 1));
    EXPECT_EQ(parsed("1/1/100"), at(100, 1, 1)); // three or four digits as written
}

TEST(DateText, NoSuchDayOrTimeIsNotADate) {
    for (const char* text : {"2/30/2024",
                             "13/45/2024",
                             "2/29/2023",
                             "0/1/2024",
                             "2023-02-29",
                             "2024-13-01",
                             "3/15/2024 24:00",
                             "3/15/2024 8:60",
                             "3/15/2024 13:00 PM",
                             "3/15/2024 0:30 AM",
                             "abc",
                             "",
                             "8:30",
                             "3/15",
                             "15.3.2024",
                             "2024-03-15T",
                             "3/15/2024 8",
                             "3/15/12024",
                             "2024-03-15Z",
                             "٣/١٥/٢٠٢٤"})
        EXPECT_EQ(problemOf(text), DateProblem::NotADate) << text;
}

TEST(DateText, YearsOutsideOneHundredTo9999AreOutOfRange) {
    EXPECT_EQ(problemOf("1/1/0099"), DateProblem::OutOfRange);
    EXPECT_EQ(problemOf("0050-06-01"), DateProblem::OutOfRange);
    EXPECT_EQ(parsed("12/31/9999 11:59:59 PM"), at(9999, 12, 31, 23, 59, 59));
    EXPECT_EQ(checkedDateTime(QDate(10000, 1, 1), QTime()).problem, DateProblem::OutOfRange);
    EXPECT_EQ(checkedDateTime(QDate(2024, 1, 1), QTime(8, 30, 15, 999)).value,
              at(2024, 1, 1, 8, 30, 15));
}

TEST(DateText, TheStoredFormIsReadAsTheGeneralParserReadsIt) {
    for (const char* text : {"2024-03-15 08:30:15", "0100-01-01 00:00:00", "9999-12-31 23:59:59",
                             "2024-02-29 00:00:00", "1955-07-04 12:00:00"}) {
        const std::optional<QDateTime> stored = parseStoredDateText(QString::fromUtf8(text));
        ASSERT_TRUE(stored.has_value()) << text;
        EXPECT_EQ(*stored, parsed(text)) << text;
        EXPECT_EQ(stored->timeSpec(), Qt::UTC) << text;
        EXPECT_EQ(parseStoredDateText(QLatin1String(text)), stored) << "as SQLite's bytes";
    }
}

TEST(DateText, AnythingButAValidStoredFormIsLeftToTheGeneralParser) {
    // No such day or time, out of range, or another layout: none is read here, so
    // the general parser reads or refuses each as it always has.
    for (const char* text :
         {"2023-02-29 00:00:00", "2024-13-01 00:00:00", "2024-00-10 00:00:00",
          "2024-03-15 24:00:00", "2024-03-15 08:60:00", "2024-03-15 08:30:60",
          "0099-12-31 23:59:59", "0000-01-01 00:00:00", "2024-03-15T08:30:15", "2024-03-15 08:30",
          " 2024-03-15 08:30:15", "2024-03-1a 08:30:15", "+024-03-15 08:30:15",
          "2024/03/15 08:30:15", "2024-03-15 08-30-15", "٢٠٢٤-٠٣-١٥ ٠٨:٣٠:١٥", ""}) {
        EXPECT_FALSE(parseStoredDateText(QString::fromUtf8(text)).has_value()) << text;
        EXPECT_FALSE(parseStoredDateText(QLatin1String(text)).has_value()) << text;
    }
}

TEST(DateText, WrittenFormsReadBackToTheSameValue) {
    // Midnight, the hours either side of noon and midnight, and the ends of the range.
    for (const QDateTime& value :
         {at(2024, 3, 15, 0, 0, 0), at(2024, 3, 15, 0, 5, 9), at(2024, 3, 15, 12, 0, 0),
          at(2024, 3, 15, 23, 59, 59), at(100, 1, 1, 0, 0, 0), at(9999, 12, 31, 23, 59, 59)}) {
        const QString us = usDateText(value);
        EXPECT_EQ(parsed(us), value) << us.toStdString();
        EXPECT_EQ(parseStoredDateText(isoDateTimeText(value)), value) << us.toStdString();
    }
    EXPECT_EQ(usDateText(at(2024, 3, 15, 0, 0, 0)), "3/15/2024");
    EXPECT_EQ(usDateText(at(2024, 3, 15, 0, 5, 9)), "3/15/2024 12:05:09 AM");
    EXPECT_EQ(usDateText(at(2024, 3, 15, 12, 0, 0)), "3/15/2024 12:00:00 PM");
    EXPECT_EQ(isoDateTimeText(at(100, 1, 1, 8, 5, 0)), "0100-01-01 08:05:00");
}
