#include "engine/receive_buffer.h"

#include <algorithm>

namespace kesto {

void ReceiveBuffer::Append(std::string_view bytes, const LineHandler& onLine) {
    while (!bytes.empty()) {
        std::size_t lineFeed = bytes.find('\n');
        std::string_view piece = bytes.substr(0, lineFeed);
        std::size_t room = MaxLineLength - m_pending.size();
        m_pending.append(piece.substr(0, std::min(room, piece.size())));
        if (lineFeed == std::string_view::npos)
            return;
        bytes.remove_prefix(lineFeed + 1);

        m_pending += '\n';
        // Taken out before the call, so a handler never sees the buffer half full.
        std::string line;
        line.swap(m_pending);
        if (onLine)
            onLine(line);
        if (m_pending.empty()) {
            line.clear();
            m_pending.swap(line); // keeps the capacity for the next line
        }
    }
}

std::size_t ReceiveBuffer::PendingSize() const {
    return m_pending.size();
}

void ReceiveBuffer::Clear() {
    m_pending.clear();
}

} // namespace kesto
