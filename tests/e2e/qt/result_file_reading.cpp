#include "result_file_reading.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

namespace kesto::e2e {

namespace {

constexpr int LapGridColumns = 15;
constexpr int SummaryRows = 16;
constexpr int SummaryColumns = 13;

// Lines ended by CR LF, as every result file is written.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

void TakeHeader(const std::vector<std::string>& lines, std::string* header) {
    if (header)
        *header = lines.empty() ? std::string() : lines.front();
}

} // namespace

std::string SecondsText(int32_t ms) {
    const int32_t hundredths = (ms + 5) / 10;
    char text[32];
    std::snprintf(text, sizeof text, "%d.%02d", hundredths / 100, hundredths % 100);
    return text;
}

std::string TotalTimeText(int32_t ms) {
    const int32_t seconds = ms / 1000;
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d.%03d", seconds / 60, seconds % 60, ms % 1000);
    return text;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<CarLine> FromLapGridFile(const std::string& text, std::string* header) {
    const std::vector<std::string> lines = Lines(text);
    TakeHeader(lines, header);
    // Cell (r, c) is line 1 + r * 15 + c.
    auto cell = [&](size_t r, size_t c) -> std::string {
        const size_t line = 1 + r * LapGridColumns + c;
        return line < lines.size() ? lines[line] : std::string();
    };
    const size_t rows = lines.empty() ? 0 : (lines.size() - 1) / LapGridColumns;
    std::vector<CarLine> cars;
    for (int p = 1; p < LapGridColumns && !cell(1, p).empty(); ++p) {
        CarLine car;
        car.position = p;
        car.name = cell(1, p);
        for (size_t r = 2; r < rows && !cell(r, p).empty(); ++r)
            car.lapTimes.push_back(cell(r, p));
        cars.push_back(car);
    }
    return cars;
}

std::vector<CarLine> FromSummaryGridFile(const std::string& text, std::string* header) {
    const std::vector<std::string> lines = Lines(text);
    TakeHeader(lines, header);
    auto cell = [&](int r, int c) -> std::string {
        const size_t line = 1 + static_cast<size_t>(r * SummaryColumns + c);
        return line < lines.size() ? lines[line] : std::string();
    };
    std::vector<CarLine> cars;
    for (int r = 2; r < SummaryRows; ++r) {
        if (cell(r, 3).empty() || cell(r, 3) == "0")
            continue; // a car without laps: only its name and colour
        CarLine car;
        car.position = std::stoi(cell(r, 0));
        car.name = cell(r, 1);
        car.laps = std::stoi(cell(r, 3));
        car.total = cell(r, 4);
        car.best = cell(r, 8);
        cars.push_back(car);
    }
    return cars;
}

std::vector<CarLine> FromLapTextFile(const std::string& text, std::string* header) {
    const std::vector<std::string> lines = Lines(text);
    TakeHeader(lines, header);
    if (lines.size() < 3)
        return {};
    // Line 3: "No" and the names by position; then one line per lap.
    const std::vector<std::string> names = Words(lines[2]);
    std::vector<CarLine> cars;
    for (size_t p = 1; p < names.size(); ++p) {
        CarLine car;
        car.position = static_cast<int>(p);
        car.name = names[p];
        for (size_t l = 3; l < lines.size(); ++l) {
            const std::vector<std::string> values = Words(lines[l]);
            if (p < values.size() && values[p] != "0.00")
                car.lapTimes.push_back(values[p]);
        }
        if (!car.lapTimes.empty())
            cars.push_back(car);
    }
    return cars;
}

std::vector<CarLine> FromSummaryTextFile(const std::string& text, std::string* header) {
    const std::vector<std::string> lines = Lines(text);
    TakeHeader(lines, header);
    std::vector<CarLine> cars;
    // Two header lines, then "position name laps total lagFirst lagBehind mph
    // best ..." for every car with enough laps.
    for (size_t l = 2; l < lines.size(); ++l) {
        const std::vector<std::string> words = Words(lines[l]);
        if (words.size() < 8 || lines[l].find("Insufficent") != std::string::npos)
            continue;
        CarLine car;
        car.position = std::stoi(words[0]);
        car.name = words[1];
        car.laps = std::stoi(words[2]);
        car.total = words[3];
        car.best = words[7];
        cars.push_back(car);
    }
    return cars;
}

std::vector<CarLine> FromRaceState(const RaceState& state) {
    std::vector<CarLine> cars;
    for (int p = 1; p <= MaxCarIds; ++p) {
        const int id = state.RaceOrder[p - 1];
        if (!IsValidId(id) || state.LapCount[id - 1] <= 0)
            continue;
        CarLine car;
        car.position = p;
        car.name = state.IdName(id);
        car.laps = state.LapCount[id - 1];
        for (int n = 1; n <= state.LapCount[id - 1]; ++n) {
            char lap[32];
            std::snprintf(lap, sizeof lap, "%.2f", static_cast<double>(state.LapTimes[id - 1][n]));
            car.lapTimes.push_back(lap);
        }
        car.total = TotalTimeText(state.LastPassTime[id - 1]);
        cars.push_back(car);
    }
    return cars;
}

} // namespace kesto::e2e
