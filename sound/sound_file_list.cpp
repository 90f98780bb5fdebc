#include "sound/sound_file_list.h"

#include <algorithm>
#include <system_error>

namespace kesto {

namespace {
char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), Lower);
    return text;
}

bool IsWordBreak(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\0';
}
} // namespace

std::vector<std::string> ListWaveFiles(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code statusError;
        if (!it->is_regular_file(statusError))
            continue;
        std::string name = it->path().filename().string();
        if (name.size() > 4 && Lowered(name.substr(name.size() - 4)) == ".wav")
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = Lowered(a), lb = Lowered(b);
        return la != lb ? la < lb : a < b;
    });
    return names;
}

std::string ProperCase(const std::string& text) {
    std::string result = text;
    bool wordStart = true;
    for (char& c : result) {
        c = wordStart ? Upper(c) : Lower(c);
        wordStart = IsWordBreak(c);
    }
    return result;
}

} // namespace kesto
