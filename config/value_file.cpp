#include "config/value_file.h"

#include "base/safe_write.h"
#include "base/windows1252.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kesto {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

// --- writing ---------------------------------------------------------------

void ValueFileWriter::Separate() {
    if (m_lineOpen)
        m_bytes += ',';
    m_lineOpen = true;
}

ValueFileWriter& ValueFileWriter::Text(std::string_view utf8) {
    Separate();
    m_bytes += '"';
    for (char c : Utf8ToWindows1252(utf8)) {
        if (c == '"')
            m_bytes += '"'; // doubled, so a quote in a name cannot end the value
        m_bytes += c;
    }
    m_bytes += '"';
    return *this;
}

ValueFileWriter& ValueFileWriter::Whole(int64_t value) {
    Separate();
    m_bytes += std::to_string(value);
    return *this;
}

ValueFileWriter& ValueFileWriter::Single(float value) {
    Separate();
    m_bytes += FormatSingle(value);
    return *this;
}

ValueFileWriter& ValueFileWriter::Boolean(bool value) {
    Separate();
    m_bytes += value ? "#TRUE#" : "#FALSE#";
    return *this;
}

ValueFileWriter& ValueFileWriter::EndLine() {
    m_bytes += "\r\n";
    m_lineOpen = false;
    return *this;
}

std::string ValueFileWriter::Bytes() const {
    return m_lineOpen ? m_bytes + "\r\n" : m_bytes;
}

bool ValueFileWriter::SaveTo(const std::filesystem::path& path, std::string* error) const {
    return WriteFileAtomically(path, Bytes(), error);
}

std::string FormatSingle(float value) {
    if (!std::isfinite(value) || value == 0)
        return "0"; // also turns -0 into 0
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 7);
    std::string text(buffer, result.ptr);
    for (char& c : text)
        if (c == 'e')
            c = 'E';
    return text;
}

// --- reading ---------------------------------------------------------------

std::optional<double> ParseValueNumber(std::string_view text) {
    text = Trim(text);
    if (text.empty())
        return 0.0; // an empty field reads as zero
    if (EqualsIgnoringAsciiCase(text, "#TRUE#"))
        return -1.0;
    if (EqualsIgnoringAsciiCase(text, "#FALSE#"))
        return 0.0;
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Only digits, a point and an exponent: no "inf", "nan" or second sign.
    if (text.empty() || !((text.front() >= '0' && text.front() <= '9') || text.front() == '.'))
        return std::nullopt;
    double value = 0;
    const auto result =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

ValueFileReader::ValueFileReader(std::string bytes, ValueFileText text)
    : m_bytes(std::move(bytes)) {
    if (text == ValueFileText::Utf8WhenValid && IsValidUtf8(m_bytes)) {
        m_utf8 = true;
        if (m_bytes.starts_with("\xEF\xBB\xBF"))
            m_bytes.erase(0, 3); // the byte order mark is no part of the first value
    }
}

std::optional<ValueFileReader> ValueFileReader::Open(const std::filesystem::path& path,
                                                     std::string* error, ValueFileText text,
                                                     size_t limit) {
    std::string bytes;
    if (!ReadFilePrefix(path, limit + 1, bytes, error))
        return std::nullopt;
    const bool cut = bytes.size() > limit;
    if (cut) {
        // No half value at the cut.
        const size_t lineEnd = bytes.find_last_of("\r\n", limit - 1);
        bytes.resize(lineEnd == std::string::npos ? 0 : lineEnd + 1);
    }
    ValueFileReader reader(std::move(bytes), text);
    reader.m_cut = cut;
    return reader;
}

void ValueFileReader::SkipBlankLines() {
    size_t pos = m_pos;
    while (pos < m_bytes.size()) {
        if (IsBlank(m_bytes[pos])) {
            ++pos;
        } else if (IsLineEnd(m_bytes[pos])) {
            m_pos = ++pos; // the whole line was blank
        } else {
            break;
        }
    }
    if (pos >= m_bytes.size())
        m_pos = pos;
}

bool ValueFileReader::AtEnd() {
    if (m_afterComma)
        return false;
    SkipBlankLines();
    return m_pos >= m_bytes.size();
}

std::optional<ValueFileReader::RawValue> ValueFileReader::NextRaw() {
    if (AtEnd())
        return std::nullopt;
    m_afterComma = false;
    const size_t size = m_bytes.size();
    while (m_pos < size && IsBlank(m_bytes[m_pos]))
        ++m_pos;

    RawValue value;
    if (m_pos < size && m_bytes[m_pos] == '"') {
        value.quoted = true;
        ++m_pos;
        while (m_pos < size) {
            const size_t quote = m_bytes.find('"', m_pos);
            if (quote == std::string::npos) {
                value.bytes.append(m_bytes, m_pos); // unclosed: the rest is the value
                m_pos = size;
                break;
            }
            value.bytes.append(m_bytes, m_pos, quote - m_pos);
            m_pos = quote + 1;
            if (m_pos < size && m_bytes[m_pos] == '"') {
                value.bytes += '"';
                ++m_pos;
            } else {
                break;
            }
        }
        while (m_pos < size && m_bytes[m_pos] != ',' && !IsLineEnd(m_bytes[m_pos]))
            ++m_pos; // stray characters after the closing quote
    } else {
        const size_t start = m_pos;
        while (m_pos < size && m_bytes[m_pos] != ',' && !IsLineEnd(m_bytes[m_pos]))
            ++m_pos;
        value.bytes = std::string(Trim(std::string_view(m_bytes).substr(start, m_pos - start)));
    }

    if (m_pos < size) {
        if (m_bytes[m_pos] == ',') {
            ++m_pos;
            m_afterComma = true;
        } else if (m_bytes[m_pos] == '\r') {
            ++m_pos;
            if (m_pos < size && m_bytes[m_pos] == '\n')
                ++m_pos;
        } else {
            ++m_pos; // '\n'
        }
    }
    return value;
}

std::optional<std::string> ValueFileReader::Next() {
    auto raw = NextRaw();
    if (!raw)
        return std::nullopt;
    return m_utf8 ? raw->bytes : Windows1252ToUtf8(raw->bytes);
}

bool ValueFileReader::Fail(const char* description) {
    if (m_error.empty())
        m_error = description;
    return false;
}

bool ValueFileReader::ReadNumber(double& number) {
    auto raw = NextRaw();
    if (!raw)
        return Fail("Input past end of file");
    const auto parsed = ParseValueNumber(raw->bytes);
    if (!parsed)
        return Fail("Type mismatch");
    number = *parsed;
    return true;
}

bool ValueFileReader::ReadText(std::string& value) {
    auto text = Next();
    if (!text)
        return Fail("Input past end of file");
    value = std::move(*text);
    return true;
}

namespace {

// Whole numbers round half to even, as the conversion to an integer always has.
template <class Int> bool ToWhole(double number, Int& value) {
    const double rounded = std::nearbyint(number);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max()))
        return false;
    value = static_cast<Int>(rounded);
    return true;
}

} // namespace

bool ValueFileReader::ReadInt16(int16_t& value) {
    double number = 0;
    return ReadNumber(number) && (ToWhole(number, value) || Fail("Overflow"));
}

bool ValueFileReader::ReadInt32(int32_t& value) {
    double number = 0;
    return ReadNumber(number) && (ToWhole(number, value) || Fail("Overflow"));
}

bool ValueFileReader::ReadSingle(float& value) {
    double number = 0;
    if (!ReadNumber(number))
        return false;
    if (std::fabs(number) > std::numeric_limits<float>::max())
        return Fail("Overflow");
    value = static_cast<float>(number);
    return true;
}

bool ValueFileReader::ReadBoolean(bool& value) {
    auto raw = NextRaw();
    if (!raw)
        return Fail("Input past end of file");
    const std::string_view text = Trim(raw->bytes);
    if (EqualsIgnoringAsciiCase(text, "True")) {
        value = true;
        return true;
    }
    if (EqualsIgnoringAsciiCase(text, "False")) {
        value = false;
        return true;
    }
    const auto number = ParseValueNumber(text);
    if (!number)
        return Fail("Type mismatch");
    value = *number != 0;
    return true;
}

} // namespace kesto
