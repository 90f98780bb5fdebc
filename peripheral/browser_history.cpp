#include "peripheral/browser_history.h"

#include <algorithm>

namespace kesto {

void BrowserHistory::Visit(const std::string& address) {
    if (address.empty())
        return;
    m_entries.erase(std::remove(m_entries.begin(), m_entries.end(), address), m_entries.end());
    m_entries.insert(m_entries.begin(), address);
}

} // namespace kesto
