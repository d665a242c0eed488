// The values inside the peers' fields and the unit factors, on the texts their files hold.
#include "exchange/FieldText.h"
#include "exchange/Units.h"

#include <gtest/gtest.h>

using namespace exchange;

TEST(FieldTextTest, NumbersWithThousandsSeparatorsOrDecimalCommas) {
    EXPECT_EQ(parseFieldNumber(u"106,421", DecimalMark::Point), 106421.0);
    EXPECT_EQ(parseFieldNumber(u"106,421", DecimalMark::Comma), 106.421);
    EXPECT_EQ(parseFieldNumber(u"45,30", DecimalMark::Point), 45.3);
    EXPECT_EQ(parseFieldNumber(u"1.234,56", DecimalMark::Point), 1234.56);
    EXPECT_EQ(parseFieldNumber(u"1,234,567.5", DecimalMark::Comma), 1234567.5);
    EXPECT_EQ(parseFieldNumber(u" -12.5 ", DecimalMark::Point), -12.5);
    EXPECT_EQ(parseFieldNumber(u"1 234,5", DecimalMark::Comma), 1234.5);
    for (const char16_t* bad :
         {u"abc", u"12,34,5", u"1.2.3,4,5", u"1,2345,678", u"", u"--1", u"12a", u"1e5"})
        EXPECT_FALSE(parseFieldNumber(bad, DecimalMark::Point))
            << QString::fromUtf16(bad).toStdString();
}

TEST(FieldTextTest, MoneyWithItsCurrencyAndNeverRounded) {
    EXPECT_EQ(parseFieldMoney(u"$79.78", DecimalMark::Point)->scaled, 797800);
    EXPECT_EQ(parseFieldMoney(u"1.234,56 €", DecimalMark::Comma)->scaled, 12345600);
    EXPECT_EQ(parseFieldMoney(u"EUR 12,50", DecimalMark::Comma)->scaled, 125000);
    EXPECT_EQ(parseFieldMoney(u"($5.00)", DecimalMark::Point)->scaled, -50000);
    EXPECT_EQ(parseFieldMoney(u"-$1,234.56", DecimalMark::Point)->scaled, -12345600);
    EXPECT_EQ(parseFieldMoney(u"3.45900", DecimalMark::Point)->scaled, 34590);
    EXPECT_FALSE(parseFieldMoney(u"3.45901", DecimalMark::Point));
    EXPECT_FALSE(parseFieldMoney(u"$", DecimalMark::Point));
    EXPECT_FALSE(parseFieldMoney(u"-(5)", DecimalMark::Point));
    EXPECT_FALSE(parseFieldMoney(u"999999999999999", DecimalMark::Point));
}

TEST(FieldTextTest, FlagsInThePeersLanguages) {
    for (const char16_t* yes : {u"1", u"True", u"YES", u"Si", u"Tak", u"Ja", u"full"})
        EXPECT_EQ(parseFieldFlag(yes), true);
    for (const char16_t* no : {u"0", u"False", u"No", u"Nie", u"nein"})
        EXPECT_EQ(parseFieldFlag(no), false);
    EXPECT_FALSE(parseFieldFlag(u"maybe"));
    EXPECT_FALSE(parseFieldFlag(u""));
}

TEST(FieldTextTest, DatesInEachFormatsOrder) {
    const auto date = [](const char16_t* text, DateOrder order) {
        return parseFieldDate(text, order).value;
    };
    const QDateTime june12(QDate(2021, 6, 12), QTime(0, 0), Qt::UTC);
    EXPECT_EQ(date(u"06/12/2021 0:00", DateOrder::MonthFirst), june12);
    EXPECT_EQ(date(u"12.06.2021", DateOrder::DayFirst), june12);
    EXPECT_EQ(date(u"12/6/21", DateOrder::DayFirst), june12);
    EXPECT_EQ(date(u"2021-06-12", DateOrder::DayFirst), june12); // year first whatever the order
    EXPECT_EQ(date(u"2021-06-12T20:30:05.250", DateOrder::MonthFirst),
              QDateTime(QDate(2021, 6, 12), QTime(20, 30, 5), Qt::UTC));
    EXPECT_EQ(date(u"6/12/2021 8:30 PM", DateOrder::MonthFirst),
              QDateTime(QDate(2021, 6, 12), QTime(20, 30), Qt::UTC));
    EXPECT_EQ(date(u"6/12/2021 12:05 am", DateOrder::MonthFirst),
              QDateTime(QDate(2021, 6, 12), QTime(0, 5), Qt::UTC));
    EXPECT_EQ(parseFieldDate(u"31/02/2021", DateOrder::DayFirst).problem,
              FieldDateProblem::NotADay);
    EXPECT_EQ(parseFieldDate(u"13/12/2021", DateOrder::MonthFirst).problem,
              FieldDateProblem::NotADay);
    EXPECT_EQ(parseFieldDate(u"0099-01-01", DateOrder::MonthFirst).problem,
              FieldDateProblem::OutOfRange);
    for (const char16_t* bad : {u"yesterday", u"2021/06", u"6-12/2021", u"6/12/2021 25:00",
                                u"6/12/2021 13:00 PM", u"6/12/2021x", u"12345/1/1"})
        EXPECT_EQ(parseFieldDate(bad, DateOrder::MonthFirst).problem, FieldDateProblem::NotADate)
            << QString::fromUtf16(bad).toStdString();
}

TEST(FieldTextTest, UnitsConvertWithTheExactFactors) {
    EXPECT_NEAR(toUsGallons(40, VolumeUnit::Litres), 10.566882, 5e-7);
    EXPECT_NEAR(toUsGallons(10, VolumeUnit::UkGallons), 12.009499, 5e-7);
    EXPECT_NEAR(toMiles(100, DistanceUnit::Kilometres), 62.137119, 5e-7);
    EXPECT_EQ(volumeUnitFromText(u"Gallons (UK)"), VolumeUnit::UkGallons);
    EXPECT_EQ(volumeUnitFromText(u"US gal"), VolumeUnit::UsGallons);
    EXPECT_EQ(volumeUnitFromText(u"L"), VolumeUnit::Litres);
    EXPECT_EQ(distanceUnitFromText(u"Kilometers"), DistanceUnit::Kilometres);
    EXPECT_FALSE(volumeUnitFromText(u"pints"));
    EXPECT_FALSE(distanceUnitFromText(u"furlongs"));
    const HeaderWithUnit odo = splitHeaderUnit(u" Odo (km) ");
    EXPECT_EQ(odo.name, "odo");
    EXPECT_EQ(odo.unit, "km");
}
