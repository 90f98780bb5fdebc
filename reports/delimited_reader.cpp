#include "reports/delimited_reader.h"

namespace kesto {

bool DelimitedReader::AtLineEnd() const {
    return AtEnd() || m_text[m_pos] == '\r' || m_text[m_pos] == '\n';
}

void DelimitedReader::SkipLineEnd() {
    if (!AtEnd() && m_text[m_pos] == '\r')
        ++m_pos;
    if (!AtEnd() && m_text[m_pos] == '\n')
        ++m_pos;
}

std::optional<std::string> DelimitedReader::ReadLine() {
    if (AtEnd())
        return std::nullopt;
    std::size_t start = m_pos;
    while (!AtLineEnd())
        ++m_pos;
    std::string line(m_text.substr(start, m_pos - start));
    SkipLineEnd();
    return line;
}

std::optional<std::string> DelimitedReader::ReadItem() {
    if (AtEnd())
        return std::nullopt;
    while (!AtLineEnd() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t'))
        ++m_pos;

    std::string item;
    if (!AtLineEnd() && m_text[m_pos] == '"') {
        ++m_pos;
        while (!AtLineEnd()) {
            const char c = m_text[m_pos++];
            if (c != '"') {
                item += c;
            } else if (!AtLineEnd() && m_text[m_pos] == '"') {
                item += '"'; // a doubled quote is one quote
                ++m_pos;
            } else {
                break; // the closing quote
            }
        }
        while (!AtLineEnd() && m_text[m_pos] != ',')
            ++m_pos; // the closing quote and anything after it
    } else {
        std::size_t start = m_pos;
        while (!AtLineEnd() && m_text[m_pos] != ',')
            ++m_pos;
        item = m_text.substr(start, m_pos - start);
    }
    // A comma separates two items, so "a," at a line end is "a" and an empty item.
    if (!AtEnd() && m_text[m_pos] == ',')
        ++m_pos;
    else
        SkipLineEnd();
    return item;
}

} // namespace kesto
