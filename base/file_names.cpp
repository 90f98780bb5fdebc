#include "base/file_names.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace kesto {

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::filesystem::path ResolveInFolder(const std::filesystem::path& folder,
                                      const std::string& name) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path exact = folder / name;
    if (fs::exists(fs::symlink_status(exact, error)))
        return exact;
    std::string best;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::string candidate = it->path().filename().string();
        if (EqualsIgnoringCase(candidate, name) && (best.empty() || candidate < best))
            best = candidate;
    }
    return best.empty() ? exact : folder / best;
}

std::filesystem::path ResolvePath(const std::filesystem::path& folder,
                                  const std::filesystem::path& relative) {
    std::filesystem::path current = folder;
    for (const auto& part : relative)
        current = ResolveInFolder(current, part.string());
    return current;
}

} // namespace kesto
