#pragma once
// The address list of the browser window (frmKestoBrowser): every address it
// has shown, each once, the most recent first. Kept free of the web engine so
// the rule is tested without one.

#include <string>
#include <vector>

namespace kesto {

class BrowserHistory final {
public:
    // A page finished loading at `address`: an earlier entry for it is
    // removed and the address becomes the first entry. Empty addresses are
    // not kept.
    void Visit(const std::string& address);

    const std::vector<std::string>& Entries() const { return m_entries; }

private:
    std::vector<std::string> m_entries;
};

} // namespace kesto
