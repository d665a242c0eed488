#include "values/CurrencyText.h"
#include "values/DecimalText.h"

#include <gtest/gtest.h>
#include <limits>

using namespace values;

namespace {

qint64 scaledOf(const QString& text) {
    const CurrencyResult result = parseCurrencyText(text);
    EXPECT_TRUE(result.ok()) << text.toStdString();
    return result.value.scaled;
}

CurrencyProblem problemOf(const QString& text) {
    return parseCurrencyText(text).problem;
}

QString fixedText(const QString& number, int decimals) {
    const FixedDecimal fixed = toFixed(*parseDecimalText(number, NumberSyntax::Plain), decimals);
    return (fixed.negative ? QStringLiteral("-") : QString()) + fixed.whole + u'.' + fixed.fraction;
}

} // namespace

TEST(CurrencyText, ReadsTypedMoneyExactly) {
    EXPECT_EQ(scaledOf("$1,234.5678"), 12345678);
    EXPECT_EQ(scaledOf("  12.5 "), 125000);
    EXPECT_EQ(scaledOf(".01"), 100);
    EXPECT_EQ(scaledOf("7."), 70000);
    EXPECT_EQ(scaledOf("1,000,000"), 10000000000);
    EXPECT_EQ(scaledOf("-$5.00"), -50000);
    EXPECT_EQ(scaledOf("$-5"), -50000);
    EXPECT_EQ(scaledOf("($5.00)"), -50000);
    EXPECT_EQ(scaledOf("(5)"), -50000);
    EXPECT_EQ(scaledOf("+$5"), 50000);
    EXPECT_EQ(scaledOf("12.345600"), 123456); // zeros past the fourth decimal lose nothing
    EXPECT_EQ(scaledOf("1.5e2"), 1500000);
}

TEST(CurrencyText, RefusesWhatItCannotKeepExactly) {
    EXPECT_EQ(problemOf("12.34567"), CurrencyProblem::TooManyDecimals);
    EXPECT_EQ(problemOf("0.00001"), CurrencyProblem::TooManyDecimals);
    for (const char* text : {"abc", "", "$", ".", "-", "12,34", ",123", "1234,567", "1,2345",
                             "1.2.3", "$$5", "(-5)", "5-", "$ 5", "1e", "٣"})
        EXPECT_EQ(problemOf(text), CurrencyProblem::NotAnAmount) << text;
}

TEST(CurrencyText, EdgesOfTheScaledRange) {
    EXPECT_EQ(scaledOf("922337203685477.5807"), std::numeric_limits<qint64>::max());
    EXPECT_EQ(scaledOf("-922337203685477.5808"), std::numeric_limits<qint64>::min());
    EXPECT_EQ(problemOf("922337203685477.5808"), CurrencyProblem::OutOfRange);
    EXPECT_EQ(problemOf("-922337203685477.5809"), CurrencyProblem::OutOfRange);
    EXPECT_EQ(problemOf("1e30"), CurrencyProblem::OutOfRange);
    EXPECT_EQ(problemOf("1e999999999999"), CurrencyProblem::OutOfRange);
}

TEST(CurrencyText, DoublesRoundHalfAwayFromZeroAsTheyRead) {
    EXPECT_EQ(currencyFromDouble(2.675).value.scaled, 26750);
    EXPECT_EQ(currencyFromDouble(0.1 + 0.2).value.scaled, 3000);
    EXPECT_EQ(currencyFromDouble(1.00005).value.scaled, 10001);
    EXPECT_EQ(currencyFromDouble(-1.00005).value.scaled, -10001);
    EXPECT_EQ(currencyFromDouble(1e300).problem, CurrencyProblem::OutOfRange);
    EXPECT_EQ(currencyFromDouble(std::numeric_limits<double>::infinity()).problem,
              CurrencyProblem::OutOfRange);
    EXPECT_EQ(currencyFromDouble(std::numeric_limits<double>::quiet_NaN()).problem,
              CurrencyProblem::NotAnAmount);
    EXPECT_EQ(currencyFromInteger(922337203685477).value.scaled, 9223372036854770000);
    EXPECT_EQ(currencyFromInteger(922337203685478).problem, CurrencyProblem::OutOfRange);
}

TEST(CurrencyText, ShortestExactText) {
    EXPECT_EQ(Currency{125000}.toString(), "12.5");
    EXPECT_EQ(Currency{70000}.toString(), "7");
    EXPECT_EQ(Currency{-100}.toString(), "-0.01");
    EXPECT_EQ(Currency{12345678}.toString(), "1234.5678");
    EXPECT_EQ(Currency{0}.toString(), "0");
    EXPECT_EQ(Currency{std::numeric_limits<qint64>::min()}.toString(), "-922337203685477.5808");
    // Each text reads back as the same amount.
    for (qint64 scaled : {qint64(1), qint64(-99999), qint64(10000), qint64(123450)})
        EXPECT_EQ(scaledOf(Currency{scaled}.toString()), scaled);
}

TEST(DecimalText, RoundingCarriesAndKeepsTheSign) {
    EXPECT_EQ(fixedText("9.995", 2), "10.00");
    EXPECT_EQ(fixedText("-0.125", 2), "-.13");
    EXPECT_EQ(fixedText("0.124999", 2), ".12");
    EXPECT_EQ(fixedText("-0.004", 2), ".00"); // rounds to zero: no minus
    EXPECT_EQ(fixedText("0.5", 0), "1.");
    EXPECT_EQ(fixedText("1e3", 2), "1000.00");
    EXPECT_EQ(fixedText("0.0000001", 2), ".00");
    EXPECT_EQ(fixedText("99.6", 0), "100.");
}

TEST(DecimalText, ExactnessAndInt64Limits) {
    EXPECT_TRUE(toFixed(*parseDecimalText("2.50", NumberSyntax::Plain), 1).exact);
    EXPECT_FALSE(toFixed(*parseDecimalText("2.51", NumberSyntax::Plain), 1).exact);
    qint64 out = 0;
    EXPECT_TRUE(
        toInt64(toFixed(*parseDecimalText("9223372036854775807", NumberSyntax::Plain), 0), &out));
    EXPECT_EQ(out, std::numeric_limits<qint64>::max());
    EXPECT_FALSE(
        toInt64(toFixed(*parseDecimalText("9223372036854775808", NumberSyntax::Plain), 0), &out));
    EXPECT_FALSE(toInt64(
        toFixed(*parseDecimalText("00000000000000000000001e19", NumberSyntax::Plain), 0), &out));
    EXPECT_DOUBLE_EQ(toDouble(*parseDecimalText("-1,234.5e-1", NumberSyntax::Plain)), -123.45);
    EXPECT_TRUE(std::isinf(toDouble(*parseDecimalText("1e400", NumberSyntax::Plain))));
}
