#include "values/NumberText.h"

#include <gtest/gtest.h>
#include <limits>

using namespace values;

TEST(NumberText, ShortestFormsReadBackExactly) {
    EXPECT_EQ(shortestText(0.1), "0.1");
    EXPECT_EQ(shortestText(-2.5e-7), "-2.5e-07");
    EXPECT_EQ(shortestFixedText(12.3f), "12.3");
    EXPECT_EQ(shortestFixedText(1e-5f), "0.00001");
    EXPECT_EQ(shortestFixedText(std::numeric_limits<float>::max()).size(), 39);
}

TEST(NumberText, ScaledDecimalsKeepEveryDigitAndTheSign) {
    EXPECT_EQ(scaledDecimalText(-12345600, 4), "-1234.5600");
    EXPECT_EQ(scaledDecimalText(5, 2), "0.05");
    EXPECT_EQ(scaledDecimalText(-5, 4), "-0.0005");
    EXPECT_EQ(scaledDecimalText(0, 2), "0.00");
    EXPECT_EQ(scaledDecimalText(42, 0), "42");
    // The most negative 128-bit count has no positive counterpart.
    const WideInteger lowest = WideInteger(1) << 127;
    EXPECT_EQ(scaledDecimalText(lowest, 4), "-17014118346046923173168730371588410.5728");
}
