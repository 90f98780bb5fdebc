#include "engine/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kesto {
namespace {

const NumberLocale dot{'.', ','};
const NumberLocale comma{',', '.'};

TEST(NumberFormat, FixedDecimalsRoundHalfAwayFromZeroOnTheDecimalValue) {
    EXPECT_EQ(FormatFixed(7.344, 2, dot), "7.34");
    EXPECT_EQ(FormatFixed(0.8, 2, dot), "0.80");
    // Gaps are whole milliseconds: a 5 in the third decimal always rounds up,
    // whatever the binary value is (1.005 is stored as 1.00499999...).
    EXPECT_EQ(FormatFixed(0.805, 2, dot), "0.81");
    EXPECT_EQ(FormatFixed(1.005, 2, dot), "1.01");
    EXPECT_EQ(FormatFixed(59.995, 2, dot), "60.00");
    EXPECT_EQ(FormatFixed(9.999, 2, dot), "10.00");
    EXPECT_EQ(FormatFixed(2.5, 0, dot), "3"); // unlike the banker's rounding below
    EXPECT_EQ(FormatFixed(327.2727, 1, dot), "327.3");
}

TEST(NumberFormat, FixedKeepsOneIntegerDigitAndNeverAMinusZero) {
    EXPECT_EQ(FormatFixed(0, 2, dot), "0.00");
    EXPECT_EQ(FormatFixed(0.004, 2, dot), "0.00");
    EXPECT_EQ(FormatFixed(-0.004, 2, dot), "0.00");
    EXPECT_EQ(FormatFixed(-1.5, 2, dot), "-1.50");
    EXPECT_EQ(FormatFixed(0.05, 1, dot), "0.1");
}

TEST(NumberFormat, FixedWholeNumbersPadToTheMinimumDigits) {
    EXPECT_EQ(FormatFixed(75.4, 0, dot, 2), "75");
    EXPECT_EQ(FormatFixed(60, 0, dot, 2), "60");
    EXPECT_EQ(FormatFixed(5, 0, dot, 2), "05");
    EXPECT_EQ(FormatFixed(125.5, 0, dot, 2), "126");
}

TEST(NumberFormat, UsesTheUsersDecimalSeparator) {
    EXPECT_EQ(FormatFixed(7.34, 2, comma), "7,34");
    EXPECT_EQ(FormatNumberGrouped(1234.5, 2, comma), "1.234,50");
}

TEST(NumberFormat, ExtremeValuesNeverFail) {
    EXPECT_EQ(FormatFixed(1e20, 2, dot), "100000000000000000000.00");
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::quiet_NaN(), 2, dot), "");
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::infinity(), 1, dot), "");
    EXPECT_EQ(FormatFixed(1e-300, 2, dot), "0.00");
    EXPECT_FALSE(FormatFixed(1.7e308, 2, dot).empty());
}

TEST(NumberFormat, GroupedNumbersSeparateThousands) {
    EXPECT_EQ(FormatNumberGrouped(12.1f, 2, dot), "12.10"); // a lap table value
    EXPECT_EQ(FormatNumberGrouped(0, 2, dot), "0.00");
    EXPECT_EQ(FormatNumberGrouped(999.5, 2, dot), "999.50");
    EXPECT_EQ(FormatNumberGrouped(1234.5, 2, dot), "1,234.50");
    EXPECT_EQ(FormatNumberGrouped(999.995, 2, dot), "1,000.00");
    EXPECT_EQ(FormatNumberGrouped(1234567.891, 2, dot), "1,234,567.89");
    EXPECT_EQ(FormatNumberGrouped(-1234.5, 2, dot), "-1,234.50");
}

TEST(NumberFormat, LapDifferenceIsTheCountFollowedByLap) {
    EXPECT_EQ(FormatLapCount(1), "1Lap");
    EXPECT_EQ(FormatLapCount(3), "3Lap");
    EXPECT_EQ(FormatLapCount(12), "12Lap");
    EXPECT_EQ(FormatLapCount(0), "Lap"); // "#" shows no digit for zero
}

TEST(NumberFormat, RoundHalfEvenSendsHalvesToTheEvenInteger) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-3.5), -4);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(RoundHalfEven(2.5001), 3);
    EXPECT_EQ(RoundHalfEven(1e12), std::numeric_limits<int>::max());
    EXPECT_EQ(RoundHalfEven(-1e12), std::numeric_limits<int>::min());
    EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
}

TEST(NumberFormat, ClampsRaceClockArithmeticTo32Bits) {
    EXPECT_EQ(ClampToInt32(int64_t{1} << 40), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(ClampToInt32(-(int64_t{1} << 40)), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(ClampToInt32(-5), -5);
    EXPECT_EQ(RoundToInt32(1.5e10), std::numeric_limits<int32_t>::max());
}

} // namespace
} // namespace kesto
