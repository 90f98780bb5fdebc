#pragma once
// Reads the result files' text: whole lines, or items of comma-delimited
// text. An item starts after any leading blanks; it ends at a comma or at the
// end of the line. An item that starts with a double quote runs to the closing
// quote on its line, commas included, with a doubled quote standing for one
// quote; whatever follows the closing quote up to the next comma or line end
// is dropped. The grid files quote every cell that holds a comma or a quote.

#include <optional>
#include <string>
#include <string_view>

namespace kesto {

class DelimitedReader final {
public:
    explicit DelimitedReader(std::string_view text) : m_text(text) {}

    bool AtEnd() const { return m_pos >= m_text.size(); }
    // The rest of the current line; nothing at the end of the text.
    std::optional<std::string> ReadLine();
    // The next item; nothing at the end of the text.
    std::optional<std::string> ReadItem();

private:
    bool AtLineEnd() const;
    void SkipLineEnd();

    std::string_view m_text;
    std::size_t m_pos = 0;
};

} // namespace kesto
