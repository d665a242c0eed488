#include "values/Format.h"
#include "values/Currency.h"

#include <gtest/gtest.h>

using values::Format;

namespace {

QVariant money(qint64 scaled) {
    return QVariant::fromValue(values::Currency{scaled});
}

} // namespace

TEST(Format, OrderNumberHasAtLeastFourDigits) {
    EXPECT_EQ(Format(42, "0000"), "0042");
    EXPECT_EQ(Format(0, "0000"), "0000");
    EXPECT_EQ(Format(12345, "0000"), "12345");
    EXPECT_EQ(Format(qint64(2147483647), "0000"), "2147483647");
    EXPECT_EQ(Format(-7, "0000"), "-0007");
    EXPECT_EQ(Format("42", "0000"), "0042");
}

TEST(Format, MilesPerGallonTwoDecimalsNoLeadingZero) {
    EXPECT_EQ(Format(0.75f, "##.00"), ".75");
    EXPECT_EQ(Format(123.456f, "##.00"), "123.46");
    EXPECT_EQ(Format(20.0f, "##.00"), "20.00");
    EXPECT_EQ(Format(0.0, "##.00"), ".00");
    EXPECT_EQ(Format(0.004, "##.00"), ".00");
    EXPECT_EQ(Format(-0.004, "##.00"), ".00"); // rounds to zero: no sign
    EXPECT_EQ(Format(9.995, "##.00"), "10.00");
    EXPECT_EQ(Format(-2.5, "##.00"), "-2.50");
}

TEST(Format, CostPatternsShowWholeDollarsWithoutLeadingZeros) {
    for (const char* pattern : {"$##.00", "$###.00"}) {
        EXPECT_EQ(Format(0.5, pattern), "$.50") << pattern;
        EXPECT_EQ(Format(12.5, pattern), "$12.50") << pattern;
        EXPECT_EQ(Format(1234.5, pattern), "$1234.50") << pattern;
        EXPECT_EQ(Format(money(125000), pattern), "$12.50") << pattern;
        EXPECT_EQ(Format(-5, pattern), "-$5.00") << pattern;
        EXPECT_EQ(Format(1000000, pattern), "$1000000.00") << pattern;
    }
}

TEST(Format, CurrencyDisplayGroupsThousandsAndParenthesisesNegatives) {
    EXPECT_EQ(Format(1234.5, "Currency"), "$1,234.50");
    EXPECT_EQ(Format(-1234.5, "Currency"), "($1,234.50)");
    EXPECT_EQ(Format(0.5, "Currency"), "$0.50");
    EXPECT_EQ(Format(money(12345678901234), "Currency"), "$1,234,567,890.12");
    EXPECT_EQ(Format(999.999, "Currency"), "$1,000.00");
    EXPECT_EQ(Format(100, "Currency"), "$100.00");
}

TEST(Format, RoundsHalfAwayFromZeroOnTheExactDecimal) {
    EXPECT_EQ(Format(money(1250), "$##.00"), "$.13");   // 0.125
    EXPECT_EQ(Format(money(-1250), "$##.00"), "-$.13"); // away from zero, not up
    EXPECT_EQ(Format(money(26750), "$##.00"), "$2.68"); // 2.675
    EXPECT_EQ(Format(money(26749), "$##.00"), "$2.67");
    // Binary values round as they read, though 2.675 and 1.005 lie a hair below in binary.
    EXPECT_EQ(Format(2.675, "$##.00"), "$2.68");
    EXPECT_EQ(Format(1.005, "$##.00"), "$1.01");
    EXPECT_EQ(Format(2.675f, "$##.00"), "$2.68");
    EXPECT_EQ(Format(42.5, "0000"), "0043");
}

TEST(Format, NumericTextIsReadOtherTextStaysAsTyped) {
    EXPECT_EQ(Format("$1,234.50", "$###.00"), "$1234.50");
    EXPECT_EQ(Format(" 12.5 ", "$###.00"), "$12.50");
    EXPECT_EQ(Format("(5)", "$###.00"), "-$5.00");
    EXPECT_EQ(Format("1e3", "$###.00"), "$1000.00");
    EXPECT_EQ(Format("12.34567", "$###.00"), "$12.35"); // display only: rounding is fine here
    EXPECT_EQ(Format("abc", "$###.00"), "abc");
    EXPECT_EQ(Format("12,34", "$###.00"), "12,34");
    EXPECT_EQ(Format("", "$###.00"), "");
    EXPECT_EQ(Format(QVariant(), "$###.00"), "");
}

TEST(Format, PatternWithoutPlaceholdersShowsThePlainNumber) {
    EXPECT_EQ(Format(money(125000), ""), "12.5");
    EXPECT_EQ(Format(-0.25, "General Number"), "-0.25");
    EXPECT_EQ(Format(1e3, ""), "1000");
}
