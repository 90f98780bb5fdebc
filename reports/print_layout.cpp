#include "reports/print_layout.h"

#include "base/report_text.h"
#include "engine/number_format.h"
#include "engine/positions.h"
#include "reports/report_messages.h"
#include "reports/summary_report.h"

#include <cstdio>
#include <filesystem>
#include <utility>
#include <vector>

namespace kesto {
namespace {

const char* const MonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

const char* MonthName(int month) {
    return MonthNames[(month + 11) % 12];
}

const char* const Ordinals[MaxCarIds] = {"First",    "Second",  "Third",      "Fourth",    "Fifth",
                                         "Sixth",    "Seventh", "Eighth",     "Ninth",     "Tenth",
                                         "Eleventh", "Twelfth", "Thirteenth", "Fourteenth"};

// Runs printer steps until the first failure; later steps are skipped.
class PrintSession final {
public:
    explicit PrintSession(Printer& printer) : m_printer(printer) {}

    void Landscape() {
        Step([&] { return m_printer.SetLandscape(); });
    }
    void FontSize(int points) {
        Step([&] { return m_printer.SetFontSize(points); });
    }
    void At(int column, const std::string& text, bool continueLine = true) {
        Step([&] { return m_printer.PrintAt(column, text, continueLine); });
    }
    void EndLine() {
        Step([&] { return m_printer.EndLine(); });
    }
    // A line of items at their columns; the line ends after the last.
    void Line(const std::vector<std::pair<int, std::string>>& items) {
        for (std::size_t i = 0; i < items.size(); ++i)
            At(items[i].first, items[i].second, i + 1 < items.size());
    }
    void PicturePage(const std::string& svg) {
        if (!svg.empty())
            Step([&] { return m_printer.PrintPicturePage(svg); });
    }
    bool End() {
        Step([&] { return m_printer.EndDocument(); });
        return m_ok;
    }
    bool Ok() const { return m_ok; }

private:
    template <class F> void Step(F step) {
        if (m_ok)
            m_ok = step();
    }
    Printer& m_printer;
    bool m_ok = true;
};

bool Report(RaceContext& ctx, bool printed) {
    if (!printed)
        ctx.dialogs.Show(ErrorDescriptionMessage(PrintProblemText));
    return printed;
}

void TitleLines(PrintSession& print, int column, const std::string& trackName,
                const std::string& title) {
    print.Landscape();
    print.FontSize(20);
    print.EndLine();
    print.EndLine();
    print.At(column, trackName, false);
    print.At(column, title, false);
}

} // namespace

std::string FormatSummaryPrintDate(const DateTime& t) {
    char text[48];
    std::snprintf(text, sizeof text, "%s-%02d, %d:%02d", MonthName(t.month), t.day, t.hour,
                  t.minute);
    return text;
}

std::string FormatLapPrintDate(const DateTime& t) {
    char text[48];
    std::snprintf(text, sizeof text, "%s. %02d %04d, %d:%02d", MonthName(t.month), t.day, t.year,
                  t.hour, t.minute);
    return text;
}

SummaryPrintHeader RaceSummaryPrintHeader(const RaceState& state) {
    return {state.Settings.TrackName, state.RaceFormatText, state.PracticeMode};
}

SummaryPrintHeader FileSummaryPrintHeader(const std::string& path, const ResultFileState& files) {
    const std::string& format = files.SummaryFileHeader; // "Practice" or "Demo - Practice"
    const std::string practice = "Practice";
    SummaryPrintHeader header;
    header.trackName = std::filesystem::path(path).filename().string();
    header.raceFormatText = format;
    header.practice =
        format.size() >= practice.size() &&
        format.compare(format.size() - practice.size(), practice.size(), practice) == 0;
    return header;
}

bool PrintSummary(RaceContext& ctx, const ReportGrid& summaryGrid, const SummaryPrintHeader& header,
                  ResultFileState& files, Printer& printer, const std::string& chartsPage) {
    for (int row = 0; row < summaryGrid.Rows() && row < SummaryFileCellRows; ++row)
        for (int col = 0; col < SummaryFileCellCols; ++col)
            files.SummaryFileCells[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] =
                summaryGrid.Text(row, col);
    auto cell = [&](int row, int col) -> const std::string& {
        return files.SummaryFileCells[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
    };
    const std::string date = FormatSummaryPrintDate(ctx.clock.Now());

    PrintSession print(printer);
    TitleLines(print, 10, header.trackName, "Summary,  " + header.raceFormatText);
    print.FontSize(12);
    print.At(17, date, false);
    print.EndLine();

    if (header.practice) {
        print.Line(
            {{23, "ID"}, {31, "Total"}, {39, "Total"}, {53, "Best"}, {61, "Best"}, {69, "Avg"}});
        print.Line({{6, "Name"},
                    {23, "Color"},
                    {31, "Laps"},
                    {39, "Time"},
                    {53, "MPH"},
                    {61, "Lap"},
                    {69, "Time"},
                    {77, "Med"},
                    {84, "Crash"},
                    {92, "%"}});
        for (int row = 2; row < SummaryRows; ++row)
            print.Line({{8, cell(row, 1)},
                        {23, cell(row, 2)},
                        {31, cell(row, 3)},
                        {39, cell(row, 4)},
                        {53, cell(row, 7)},
                        {61, cell(row, 8)},
                        {69, cell(row, 9)},
                        {77, cell(row, 10)},
                        {84, cell(row, 11)},
                        {92, cell(row, 12)}});
    } else {
        print.Line({{6, "Pos"},
                    {23, "ID"},
                    {31, "Total"},
                    {39, "Total"},
                    {53, "Lag"},
                    {61, "Lag"},
                    {69, "Best"},
                    {77, "Best"},
                    {84, "Avg"}});
        print.Line({{8, "Name"},
                    {23, "Color"},
                    {31, "Laps"},
                    {39, "Time"},
                    {53, "First"},
                    {61, "Behind"},
                    {69, "MPH"},
                    {77, "Lap"},
                    {84, "Time"},
                    {92, "Med"},
                    {99, "Crash"},
                    {107, "%"}});
        for (int row = 2; row < SummaryRows; ++row)
            print.Line({{8, std::to_string(row - 1) + " " + cell(row, 1)},
                        {23, cell(row, 2)},
                        {31, cell(row, 3)},
                        {39, cell(row, 4)},
                        {53, cell(row, 5)},
                        {61, cell(row, 6)},
                        {69, cell(row, 7)},
                        {77, cell(row, 8)},
                        {84, cell(row, 9)},
                        {92, cell(row, 10)},
                        {99, cell(row, 11)},
                        {107, cell(row, 12)}});
    }
    print.PicturePage(chartsPage);
    return Report(ctx, print.End());
}

bool PrintLaps(RaceContext& ctx, Printer& printer, const std::string& chartsPage) {
    RaceState& state = ctx.state;
    const std::string date = FormatLapPrintDate(ctx.clock.Now());
    auto column = [](int position) { return 11 * position + 1; };
    auto carAt = [&](int position) { return static_cast<int>(state.RaceOrder[position - 1]); };
    auto lapTime = [&](int position, int lap) {
        const int id = carAt(position);
        return IsValidId(id) ? state.LapTimes[id - 1][lap] : 0.0f;
    };

    PrintSession print(printer);
    TitleLines(print, 9, state.Settings.TrackName, "Lap Times, " + state.RaceFormatText);
    print.FontSize(10);
    print.At(18, date, false);
    print.EndLine();

    if (!state.PracticeMode) {
        state.IdsWithLaps = CountIdsWithLaps(state);
        for (int position = 1; position <= state.IdsWithLaps; ++position)
            print.At(column(position), Ordinals[position - 1]);
    }
    for (int position = 1; position <= MaxCarIds; ++position) {
        const int id = carAt(position);
        const int named = IsValidId(id) ? state.Names.NamedId[id - 1] : 0;
        print.At(column(position), "ID " + std::to_string(named));
    }
    for (int position = 1; position <= MaxCarIds; ++position) {
        const int id = carAt(position);
        const std::string name = IsValidId(id) ? state.IdName(id) : std::string();
        print.At(column(position), LeftChars(name, 9));
    }

    int lap = 1;
    while (print.Ok()) {
        print.At(7, " " + std::to_string(lap) + " ");
        for (int position = 1; position <= MaxCarIds; ++position) {
            const float time = lapTime(position, lap);
            if (time != 0)
                print.At(column(position), FormatFixed(time, 3, state.Locale));
        }
        ++lap;
        if (lap > MaxLapNumber)
            break;
        bool more = false;
        for (int position = 1; position <= MaxCarIds && !more; ++position)
            more = lapTime(position, lap) != 0;
        if (!more)
            break;
    }
    print.PicturePage(chartsPage);
    return Report(ctx, print.End());
}

} // namespace kesto
