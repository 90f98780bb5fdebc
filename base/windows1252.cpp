#include "base/windows1252.h"

#include <array>
#include <cstdint>
#include <iconv.h>
#include <map>

namespace kesto {
namespace {

// The code page as a table, built once from glibc's own WINDOWS-1252 converter
// so the mapping is the system's, then used without further iconv calls.
struct CodePage {
    std::array<char32_t, 256> toUnicode{};
    std::map<char32_t, unsigned char> fromUnicode; // only 0x80..0x9F need it
};

char32_t DecodeOneByIconv(iconv_t converter, unsigned char byte) {
    char in[1] = {static_cast<char>(byte)};
    char out[8] = {};
    char* inPtr = in;
    char* outPtr = out;
    size_t inLeft = 1;
    size_t outLeft = sizeof out;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) ||
        outLeft != sizeof out - 4)
        return byte; // undefined in 1252: keep the byte as the C1 code point
    const auto* u = reinterpret_cast<const unsigned char*>(out);
    return static_cast<char32_t>(u[0]) | static_cast<char32_t>(u[1]) << 8 |
           static_cast<char32_t>(u[2]) << 16 | static_cast<char32_t>(u[3]) << 24;
}

CodePage BuildCodePage() {
    CodePage page;
    for (int b = 0; b < 256; ++b)
        page.toUnicode[b] = static_cast<char32_t>(b); // Latin-1 when iconv is missing
    iconv_t converter = iconv_open("UTF-32LE", "WINDOWS-1252");
    if (converter != reinterpret_cast<iconv_t>(-1)) {
        for (int b = 0x80; b < 0xA0; ++b)
            page.toUnicode[b] = DecodeOneByIconv(converter, static_cast<unsigned char>(b));
        iconv_close(converter);
    }
    for (int b = 0x80; b < 0xA0; ++b)
        page.fromUnicode[page.toUnicode[b]] = static_cast<unsigned char>(b);
    return page;
}

const CodePage& Page() {
    static const CodePage page = BuildCodePage();
    return page;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 sequence at `pos`; returns false (and consumes one byte)
// for anything malformed: stray continuation, overlong form, surrogate, too large.
bool NextCodePoint(std::string_view s, size_t& pos, char32_t& c) {
    const auto lead = static_cast<unsigned char>(s[pos]);
    int length = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        c = lead;
        ++pos;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, min = 0x10000;
    } else {
        ++pos;
        return false;
    }
    if (s.size() - pos < static_cast<size_t>(length)) {
        ++pos;
        return false;
    }
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(s[pos + i]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return false;
        }
        c = (c << 6) | (next & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++pos;
        return false;
    }
    pos += length;
    return true;
}

} // namespace

std::string Windows1252ToUtf8(std::string_view bytes) {
    const CodePage& page = Page();
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char byte : bytes)
        AppendUtf8(out, page.toUnicode[static_cast<unsigned char>(byte)]);
    return out;
}

bool IsValidUtf8(std::string_view bytes) {
    size_t pos = 0;
    char32_t c = 0;
    while (pos < bytes.size())
        if (!NextCodePoint(bytes, pos, c))
            return false;
    return true;
}

std::string Utf8ToWindows1252(std::string_view utf8) {
    const CodePage& page = Page();
    std::string out;
    out.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t c = 0;
        if (!NextCodePoint(utf8, pos, c)) {
            out += '?';
        } else if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c); // 1252 equals Latin-1 outside 80..9F
        } else if (auto found = page.fromUnicode.find(c); found != page.fromUnicode.end()) {
            out += static_cast<char>(found->second);
        } else {
            out += '?';
        }
    }
    return out;
}

} // namespace kesto
