#pragma once
// Number texts as the race screen, the gaps and the reports show them: fixed
// decimals ("0.00", "0.0", "00"), grouped numbers with two decimals, lap
// differences ("#Lap"), and the two rounding rules the timer relies on.
// Decimal texts round half away from zero on the number's 15-digit decimal
// form, so 1.005 shows as 1.01 and 0.805 as 0.81.

#include "engine/race_state.h"

#include <cstdint>
#include <string>

namespace kesto {

// value with exactly `decimals` decimals and at least `minIntegerDigits`
// integer digits: FormatFixed(7.344, 2) is "7.34", FormatFixed(75.4, 0, .., 2)
// is "75", FormatFixed(5, 0, .., 2) is "05". A value that rounds to zero never
// shows a minus sign. Infinite and NaN values give an empty text.
std::string FormatFixed(double value, int decimals, const NumberLocale& locale,
                        int minIntegerDigits = 1);

// Like FormatFixed with one integer digit, the integer part grouped in threes
// with the locale's group separator: 1234.5 gives "1,234.50".
std::string FormatNumberGrouped(double value, int decimals, const NumberLocale& locale);

// The "#Lap" pattern: the whole number (no digit for 0) followed by "Lap":
// 1 gives "1Lap", 3 gives "3Lap".
std::string FormatLapCount(double laps);

// Nearest integer, halves to the even integer (2.5 -> 2, 3.5 -> 4), clamped to
// the int range; NaN gives 0.
int RoundHalfEven(double value);

// The same rule into a 32-bit race-clock value, clamped to its range.
int32_t RoundToInt32(double value);

// Clamps a 64-bit intermediate (a sum or difference of race-clock values) to 32 bits.
int32_t ClampToInt32(int64_t value);

} // namespace kesto
