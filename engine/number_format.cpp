#include "engine/number_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace kesto {
namespace {

// A number rounded to a fixed count of decimals, as digits in a fixed buffer
// (the screen formats dozens of numbers on every 10 ms tick: no allocation).
struct DecimalText {
    bool negative = false;
    std::array<char, 340> digits; // a spare '0' for a carry, integer digits, decimals
    int integerBegin = 0;         // first integer digit to show (no leading zeros)
    int point = 0;                // where the decimals begin
    int end = 0;

    std::string_view Integer() const {
        return {digits.data() + integerBegin, static_cast<std::size_t>(point - integerBegin)};
    }
    std::string_view Fraction() const {
        return {digits.data() + point, static_cast<std::size_t>(end - point)};
    }
};

// Rounds |value| half away from zero on its 15-significant-digit decimal form.
// Working on the decimal digits (not the binary value) keeps 0.805 s of gap
// from showing as 0.80.
DecimalText RoundDecimal(double value, int decimals) {
    decimals = std::clamp(decimals, 0, 20);
    DecimalText result;
    result.negative = std::signbit(value);

    // "d.dddddddddddddde+XX", independent of the process locale.
    char buffer[64];
    auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                 std::chars_format::scientific, 14);
    std::string_view text(buffer, static_cast<std::size_t>(written.ptr - buffer));
    char significant[15];
    significant[0] = text[0];
    for (int k = 1; k < 15; ++k)
        significant[k] = text[static_cast<std::size_t>(k + 1)];
    int exponent = 0;
    std::size_t exponentAt = text.find('e');
    if (exponentAt != std::string_view::npos) {
        std::string_view exponentText = text.substr(exponentAt + 1);
        if (!exponentText.empty() && exponentText.front() == '+')
            exponentText.remove_prefix(1);
        std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    }

    // Lay the digits out by place: slot 0 is the spare, then integerLength
    // integer digits, the decimals and one more digit that decides the rounding.
    const int integerLength = std::max(exponent + 1, 1);
    const int last = integerLength + decimals; // index of the rounding digit
    auto& digits = result.digits;
    digits[0] = '0';
    for (int slot = 1; slot <= last + 1; ++slot) {
        int k = exponent - integerLength + slot; // index into significant
        digits[static_cast<std::size_t>(slot)] = (k >= 0 && k < 15) ? significant[k] : '0';
    }
    if (digits[static_cast<std::size_t>(last + 1)] >= '5') {
        for (int slot = last; slot >= 0; --slot) {
            char& digit = digits[static_cast<std::size_t>(slot)];
            if (digit == '9') {
                digit = '0';
            } else {
                ++digit;
                break;
            }
        }
    }

    result.point = integerLength + 1;
    result.end = last + 1;
    result.integerBegin = 0;
    while (result.integerBegin < result.point &&
           digits[static_cast<std::size_t>(result.integerBegin)] == '0')
        ++result.integerBegin;
    if (result.integerBegin == result.point &&
        result.Fraction().find_first_not_of('0') == std::string_view::npos)
        result.negative = false; // "-0.00" is never shown
    return result;
}

std::string Join(const DecimalText& number, std::string_view zeros, std::string_view integerPart,
                 char groupSeparator, const NumberLocale& locale) {
    std::string text;
    text.reserve(number.end + 8);
    if (number.negative)
        text += '-';
    text += zeros;
    for (std::size_t i = 0; i < integerPart.size(); ++i) {
        if (groupSeparator != 0 && i > 0 && (integerPart.size() - i) % 3 == 0)
            text += groupSeparator;
        text += integerPart[i];
    }
    if (number.end > number.point) {
        text += locale.decimalSeparator;
        text += number.Fraction();
    }
    return text;
}

} // namespace

std::string FormatFixed(double value, int decimals, const NumberLocale& locale,
                        int minIntegerDigits) {
    if (!std::isfinite(value))
        return {};
    DecimalText number = RoundDecimal(value, decimals);
    std::string_view integerPart = number.Integer();
    static constexpr char Zeros[] = "0000000000000000000000000000000000000000";
    std::size_t minDigits = static_cast<std::size_t>(std::clamp(minIntegerDigits, 0, 40));
    std::size_t padding = integerPart.size() < minDigits ? minDigits - integerPart.size() : 0;
    return Join(number, std::string_view(Zeros, padding), integerPart, 0, locale);
}

std::string FormatNumberGrouped(double value, int decimals, const NumberLocale& locale) {
    if (!std::isfinite(value))
        return {};
    DecimalText number = RoundDecimal(value, decimals);
    std::string_view integerPart = number.Integer();
    if (integerPart.empty())
        return Join(number, "0", {}, 0, locale);
    return Join(number, {}, integerPart, locale.groupSeparator, locale);
}

std::string FormatLapCount(double laps) {
    // "#" shows no digit at all for zero.
    return FormatFixed(laps, 0, NumberLocale{}, 0) + "Lap";
}

int RoundHalfEven(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    double floor = std::floor(value);
    double rest = value - floor;
    double rounded = floor;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(floor, 2.0) != 0.0))
        rounded = floor + 1.0;
    return static_cast<int>(rounded);
}

int32_t RoundToInt32(double value) {
    return static_cast<int32_t>(RoundHalfEven(value));
}

int32_t ClampToInt32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

} // namespace kesto
