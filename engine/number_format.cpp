#include "engine/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace kesto {
namespace {

// A number rounded to a fixed count of decimals, as digit strings.
struct DecimalText {
    bool negative = false;
    std::string integerDigits; // no leading zeros; empty for 0
    std::string fraction;      // exactly the requested decimals
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
    std::string digits;
    digits += text[0];
    digits.append(text.substr(2, 14));
    std::size_t exponentAt = text.find('e');
    int exponent = 0;
    if (exponentAt != std::string_view::npos) {
        std::string_view exponentText = text.substr(exponentAt + 1);
        if (!exponentText.empty() && exponentText.front() == '+')
            exponentText.remove_prefix(1);
        std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    }
    int point = exponent + 1; // digits before the decimal point

    if (point <= 0) {
        digits.insert(0, static_cast<std::size_t>(1 - point), '0');
        point = 1;
    }
    std::size_t wanted = static_cast<std::size_t>(point + decimals + 1);
    if (digits.size() < wanted)
        digits.append(wanted - digits.size(), '0');

    bool roundUp = digits[static_cast<std::size_t>(point + decimals)] >= '5';
    digits.resize(static_cast<std::size_t>(point + decimals));
    if (roundUp) {
        int i = static_cast<int>(digits.size()) - 1;
        for (; i >= 0; --i) {
            if (digits[static_cast<std::size_t>(i)] == '9') {
                digits[static_cast<std::size_t>(i)] = '0';
            } else {
                ++digits[static_cast<std::size_t>(i)];
                break;
            }
        }
        if (i < 0) {
            digits.insert(digits.begin(), '1');
            ++point;
        }
    }

    std::string integerDigits = digits.substr(0, static_cast<std::size_t>(point));
    std::size_t firstNonZero = integerDigits.find_first_not_of('0');
    result.integerDigits =
        firstNonZero == std::string::npos ? std::string() : integerDigits.substr(firstNonZero);
    result.fraction = digits.substr(static_cast<std::size_t>(point));
    if (result.integerDigits.empty() && result.fraction.find_first_not_of('0') == std::string::npos)
        result.negative = false; // "-0.00" is never shown
    return result;
}

std::string Join(const DecimalText& number, const std::string& integerPart,
                 const NumberLocale& locale) {
    std::string text;
    if (number.negative)
        text += '-';
    text += integerPart;
    if (!number.fraction.empty()) {
        text += locale.decimalSeparator;
        text += number.fraction;
    }
    return text;
}

} // namespace

std::string FormatFixed(double value, int decimals, const NumberLocale& locale,
                        int minIntegerDigits) {
    if (!std::isfinite(value))
        return {};
    DecimalText number = RoundDecimal(value, decimals);
    std::string integerPart = number.integerDigits;
    std::size_t minDigits = static_cast<std::size_t>(std::clamp(minIntegerDigits, 0, 40));
    if (integerPart.size() < minDigits)
        integerPart.insert(0, minDigits - integerPart.size(), '0');
    return Join(number, integerPart, locale);
}

std::string FormatNumberGrouped(double value, int decimals, const NumberLocale& locale) {
    if (!std::isfinite(value))
        return {};
    DecimalText number = RoundDecimal(value, decimals);
    const std::string& digits =
        number.integerDigits.empty() ? std::string("0") : number.integerDigits;
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += locale.groupSeparator;
        grouped += digits[i];
    }
    return Join(number, grouped, locale);
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
