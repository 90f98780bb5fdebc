#pragma once
// Text on disk is Windows-1252 (the ANSI code page of the club's old Windows
// files); text in memory is UTF-8. Every data file and result file converts
// through these two functions.
//
// Both directions are total: no input makes them fail or lose a character
// silently in a way that drops a name.
//  - The five bytes 1252 leaves undefined (81, 8D, 8F, 90, 9D) read as the
//    code points U+0081, U+008D, U+008F, U+0090, U+009D and write back as the
//    same bytes, so such a name survives a read and a write unchanged.
//  - A character 1252 cannot hold is written as "?".
//  - Bytes in memory that are not valid UTF-8 are written as "?", one per byte.

#include <string>
#include <string_view>

namespace kesto {

std::string Windows1252ToUtf8(std::string_view bytes);
std::string Utf8ToWindows1252(std::string_view utf8);

// True when every byte belongs to a well-formed UTF-8 sequence (plain ASCII
// is). Text from elsewhere (a spreadsheet's export) may be either encoding;
// Windows-1252 text with any letter beyond ASCII is almost never valid UTF-8.
bool IsValidUtf8(std::string_view bytes);

} // namespace kesto
