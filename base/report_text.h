#pragma once
// Small text rules shared by the reports: cutting and padding by characters
// (names are UTF-8 in memory), the summary's total-time text, and the
// case-insensitive path tests that decide what kind of result file a path is.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kesto {

inline constexpr const char* CrLf = "\r\n";

// The first `count` characters (not bytes) of a UTF-8 text.
std::string LeftChars(std::string_view utf8, std::size_t count);

// Number of characters of a UTF-8 text.
std::size_t CharCount(std::string_view utf8);

// A fixed-width field: the text left-aligned and padded with blanks to `width`
// characters. A longer text is kept whole, so no digit or letter is lost; the
// fields after it move to the right.
std::string Field(std::string_view utf8, std::size_t width);
std::string Field(long long number, std::size_t width);

// Total race time of the summary: minutes (not padded), ":", seconds "00",
// ".", milliseconds "000": 65432 ms gives "1:05.432", 0 gives "0:00.000".
std::string TotalTimeText(int32_t milliseconds);

// ASCII case-insensitive search, for file name rules such as ".txt" and "lap".
bool ContainsIgnoreCase(std::string_view text, std::string_view needle);

} // namespace kesto
