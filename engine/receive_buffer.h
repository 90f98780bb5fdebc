#pragma once
// Cuts the character stream of the decoder port into lines. Bytes are added
// as they are read, in whatever pieces the port delivers; every line feed
// completes a line, and lines come out in arrival order with their line feed.
// A line that never ends (a wrong baud rate, a noisy cable) cannot fill the
// memory: only its first MaxLineLength characters are kept, the rest is
// dropped until the next line feed. Only the first record of a line is ever
// read, so nothing of use is lost.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace kesto {

class ReceiveBuffer final {
public:
    static constexpr std::size_t MaxLineLength = 1024;

    // Called with each completed line (line feed included); the text is valid
    // only during the call.
    using LineHandler = std::function<void(std::string_view line)>;

    // Adds received bytes and hands every line they complete to onLine.
    void Append(std::string_view bytes, const LineHandler& onLine);

    // Characters of the unfinished line held now (at most MaxLineLength).
    std::size_t PendingSize() const;
    // Drops the unfinished line.
    void Clear();

private:
    std::string m_pending;
};

} // namespace kesto
