// Printouts on real QPrinters: a PDF read back with pdftotext, the system's
// default printer when there is one, and pictures of the two viewers.
#include "reports/print_layout.h"
#include "reports/qt/lap_times_window.h"
#include "reports/qt/qt_printer.h"
#include "reports/qt/race_charts_svg.h"
#include "reports/qt/result_reports.h"
#include "reports/qt/summary_window.h"
#include "reports/summary_report.h"
#include "support/recording_desktop_shell.h"
#include "support/report_races.h"
#include "support/test_doubles.h"

#include <QImage>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace kesto {
namespace {

namespace fs = std::filesystem;
using test::DriveLaps;
using test::Standings;

// A race of three cars, the third without a name.
void FillRace(RaceState& state) {
    state = test::NewRace(false);
    state.Names.IdName[6] = "Veronica";
    state.Names.NamedId[6] = 7;
    state.Names.IdName[1] = "Bob";
    state.Names.NamedId[1] = 2;
    DriveLaps(state, 7, {5.0, 4.9, 5.1, 5.0, 4.95});
    DriveLaps(state, 2, {6.5, 6.4, 8.6, 6.0});
    DriveLaps(state, 11, {7.0});
    Standings(state);
}

// One word of a PDF page as pdftotext -bbox finds it, in points.
struct PdfWord {
    int page = 0;
    double x = 0, y = 0, width = 0;
    QString text;
    double CharWidth() const { return width / text.size(); }
};

std::vector<PdfWord> PdfWords(const QString& path) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    std::vector<PdfWord> words;
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return words;
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression pattern(QString::fromLatin1(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re"));
    int page = 0;
    for (auto match = pattern.globalMatch(html); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        if (m.captured(0).startsWith(QStringLiteral("<page"))) {
            ++page;
            continue;
        }
        PdfWord word;
        word.page = page;
        word.x = m.captured(1).toDouble();
        word.y = m.captured(2).toDouble();
        word.width = m.captured(3).toDouble() - word.x;
        word.text = m.captured(4);
        words.push_back(word);
    }
    return words;
}

// The page as columns of characters: every word's tab column follows from
// one word whose column is known, whatever the font size of its own line.
class PdfColumns {
public:
    PdfColumns(std::vector<PdfWord> words, const QString& reference, int referenceColumn)
        : m_words(std::move(words)) {
        if (const PdfWord* ref = Find(reference))
            m_left = ref->x - (referenceColumn - 1) * ref->CharWidth();
    }
    const PdfWord* Find(const QString& text, int nth = 0) const {
        for (const PdfWord& word : m_words)
            if (word.text == text && nth-- == 0)
                return &word;
        return nullptr;
    }
    // 0 when the word is not on the page.
    int ColumnOf(const QString& text, int nth = 0) const {
        const PdfWord* word = Find(text, nth);
        return word ? 1 + static_cast<int>(std::lround((word->x - m_left) / word->CharWidth())) : 0;
    }
    // Columns of every word with this text, left to right.
    std::vector<int> ColumnsOf(const QString& text) const {
        std::vector<const PdfWord*> found;
        for (const PdfWord& word : m_words)
            if (word.text == text)
                found.push_back(&word);
        std::sort(found.begin(), found.end(),
                  [](const PdfWord* a, const PdfWord* b) { return a->x < b->x; });
        std::vector<int> columns;
        for (const PdfWord* word : found)
            columns.push_back(
                1 + static_cast<int>(std::lround((word->x - m_left) / word->CharWidth())));
        return columns;
    }
    bool SameLine(const QString& a, const QString& b) const {
        const PdfWord* first = Find(a);
        const PdfWord* second = Find(b);
        return first && second && std::abs(first->y - second->y) < 0.5;
    }
    const std::vector<PdfWord>& Words() const { return m_words; }

private:
    std::vector<PdfWord> m_words;
    double m_left = 0;
};

class PdfPrintoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        folder = fs::temp_directory_path() /
                 ("kesto-pdf-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        FillRace(race.state);
    }
    void TearDown() override {
        // Keep the pages for a look when asked to.
        if (!qEnvironmentVariableIsEmpty("KESTO_SCREENSHOT_DIR") && fs::exists(folder))
            for (const auto& entry : fs::directory_iterator(folder))
                fs::copy_file(entry.path(),
                              fs::path(qEnvironmentVariable("KESTO_SCREENSHOT_DIR").toStdString()) /
                                  entry.path().filename(),
                              fs::copy_options::overwrite_existing);
        fs::remove_all(folder);
    }
    QString Path(const std::string& name) const {
        return QString::fromStdString((folder / name).string());
    }

    fs::path folder;
    test::TestRace race;
};

TEST_F(PdfPrintoutTest, LapPrintoutColumnsLandElevenCharactersApart) {
    auto printer = QtPrinter::ForPdf(Path("laps.pdf"));
    ASSERT_TRUE(PrintLaps(race.context, *printer));
    EXPECT_EQ(printer->PageCount(), 1);

    const PdfColumns page(PdfWords(Path("laps.pdf")), QStringLiteral("First"), 12);
    ASSERT_FALSE(page.Words().empty());
    EXPECT_EQ(page.ColumnOf(QStringLiteral("Kesto")), 9); // 20 point title
    EXPECT_EQ(page.ColumnOf(QStringLiteral("Times,")), 9 + 4);
    EXPECT_TRUE(page.SameLine(QStringLiteral("Times,"), QStringLiteral("Race")));
    EXPECT_EQ(page.ColumnOf(QStringLiteral("Dec.")), 18); // 10 point date
    EXPECT_EQ(page.ColumnOf(QStringLiteral("2026,")), 18 + 8);
    EXPECT_EQ(page.ColumnOf(QStringLiteral("Second")), 23);
    EXPECT_EQ(page.ColumnOf(QStringLiteral("Third")), 34);
    EXPECT_EQ(page.Find(QStringLiteral("Fourth")), nullptr);
    std::vector<int> idColumns;
    for (int position = 1; position <= 14; ++position)
        idColumns.push_back(11 * position + 1);
    EXPECT_EQ(page.ColumnsOf(QStringLiteral("ID")), idColumns);
    EXPECT_EQ(page.ColumnOf(QStringLiteral("7")), 15); // "ID 7"
    EXPECT_EQ(page.ColumnOf(QStringLiteral("Veronica")), 12);
    EXPECT_EQ(page.ColumnOf(QStringLiteral("Bob")), 23);
    EXPECT_EQ(page.ColumnOf(QStringLiteral("1")), 8); // lap number at 7, after its sign space
    EXPECT_EQ(page.ColumnOf(QStringLiteral("5.000")), 12);
    EXPECT_EQ(page.ColumnOf(QStringLiteral("6.500")), 23);
    EXPECT_EQ(page.ColumnOf(QStringLiteral("7.000")), 34);
    EXPECT_TRUE(page.SameLine(QStringLiteral("1"), QStringLiteral("7.000")));
    EXPECT_TRUE(page.SameLine(QStringLiteral("5"), QStringLiteral("4.950")));
    // The page is wide enough: column 155 and its text are on it.
    for (const PdfWord& word : page.Words())
        EXPECT_LT(word.x + word.width, 842) << word.text.toStdString();
}

TEST_F(PdfPrintoutTest, SummaryPrintoutHeadersSitOverTheirValues) {
    ReportGrid grid = MakeSummaryGrid();
    ASSERT_FALSE(FillSummary(race.state, grid));
    ResultFileState files;
    auto printer = QtPrinter::ForPdf(Path("summary.pdf"));
    ASSERT_TRUE(
        PrintSummary(race.context, grid, RaceSummaryPrintHeader(race.state), files, *printer));

    const PdfColumns page(PdfWords(Path("summary.pdf")), QStringLiteral("Behind"), 61);
    EXPECT_EQ(page.ColumnOf(QStringLiteral("Kesto")), 10);
    EXPECT_EQ(page.ColumnOf(QStringLiteral("Summary,")), 10);
    EXPECT_EQ(page.ColumnOf(QStringLiteral("20")), 10 + 10); // two blanks after the comma
    EXPECT_EQ(page.ColumnOf(QStringLiteral("Dec-07,")), 17);
    EXPECT_EQ(page.ColumnOf(QStringLiteral("Pos")), 6);
    EXPECT_EQ(page.ColumnOf(QStringLiteral("Name")), 8);
    EXPECT_EQ(page.ColumnOf(QStringLiteral("Color")), 23);
    EXPECT_EQ(page.ColumnOf(QStringLiteral("First")), 53);
    EXPECT_EQ(page.ColumnOf(QStringLiteral("Crash")), 99);
    EXPECT_EQ(page.ColumnOf(QStringLiteral("%")), 107);
    EXPECT_EQ(page.ColumnOf(QStringLiteral("Veronica")), 10); // "1 Veronica" at 8
    EXPECT_EQ(page.ColumnOf(QStringLiteral("0:24.950")), 39);
    EXPECT_EQ(page.ColumnOf(QStringLiteral("4.90")), 77);
    EXPECT_TRUE(page.SameLine(QStringLiteral("Veronica"), QStringLiteral("0:24.950")));
}

TEST_F(PdfPrintoutTest, ALongPracticeContinuesOnMorePages) {
    race.state = test::NewRace(true);
    DriveLaps(race.state, 1, std::vector<double>(120, 5.0));
    Standings(race.state);
    auto printer = QtPrinter::ForPdf(Path("long.pdf"));
    ASSERT_TRUE(PrintLaps(race.context, *printer));
    EXPECT_GE(printer->PageCount(), 2);

    const std::vector<PdfWord> words = PdfWords(Path("long.pdf"));
    const auto lap120 =
        std::find_if(words.begin(), words.end(), [](const PdfWord& w) { return w.text == "120"; });
    ASSERT_NE(lap120, words.end());
    EXPECT_EQ(lap120->page, printer->PageCount());
    for (const PdfWord& word : words)
        EXPECT_LT(word.y, 595) << word.text.toStdString();
}

TEST_F(PdfPrintoutTest, TheChartsPageFollowsTheLapTimesOnALandscapePage) {
    auto printer = QtPrinter::ForPdf(Path("charts.pdf"));
    ChartLook paper;
    paper.onPaper = true;
    const QByteArray svg = RenderRaceChartsSvg(ChartsOfRace(race.state), {1600, 1200}, paper);
    ASSERT_TRUE(PrintLaps(race.context, *printer, svg.toStdString()));

    EXPECT_EQ(printer->PageCount(), 2);
    const std::vector<PdfWord> words = PdfWords(Path("charts.pdf"));
    EXPECT_TRUE(std::all_of(words.begin(), words.end(), [](auto& w) { return w.page == 1; }));
    // The chart's text is drawn as outlines: look at the page as a picture.
    QProcess render;
    render.start(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-f"), QStringLiteral("2"), QStringLiteral("-singlefile"),
                  QStringLiteral("-r"), QStringLiteral("20"), QStringLiteral("-png"),
                  Path("charts.pdf"), Path("page2")});
    ASSERT_TRUE(render.waitForFinished(30000) && render.exitCode() == 0);
    const QImage page(Path("page2.png"));
    EXPECT_GT(page.width(), page.height());
    EXPECT_GT(qGray(page.pixel(page.width() / 2, page.height() / 4)),
              200); // white behind the charts: no page of ink
}

TEST(PrinterQueue, NoQueueIsAPrintProblem) {
    test::TestRace race;
    FillRace(race.state);
    auto printer = QtPrinter::ForPrinter(QString());
    EXPECT_FALSE(PrintLaps(race.context, *printer));
    ASSERT_EQ(race.dialogs.shown.size(), 1u);
    EXPECT_EQ(race.dialogs.last().text, "There was a problem printing to your printer.");
}

TEST(PrinterQueue, TheDefaultPrinterPrintsBothReports) {
    if (QPrinterInfo::defaultPrinterName().isEmpty())
        GTEST_SKIP() << "no default printer queue (CI starts a null CUPS queue)";
    test::TestRace race;
    FillRace(race.state);
    ReportGrid grid = MakeSummaryGrid();
    ASSERT_FALSE(FillSummary(race.state, grid));
    ResultFileState files;

    EXPECT_TRUE(PrintLaps(race.context, *QtPrinter::ForDefaultPrinter()));
    EXPECT_TRUE(PrintSummary(race.context, grid, RaceSummaryPrintHeader(race.state), files,
                             *QtPrinter::ForDefaultPrinter()));
    EXPECT_TRUE(race.dialogs.shown.empty());
}

TEST(ViewerPictures, BothViewersDrawTheirGrids) {
    test::TestRace race;
    FillRace(race.state);
    ResultPrinters printers;
    ResultReportsOptions options;
    options.lapWindowModal = false;
    test::RecordingDesktopShell shell;
    ResultReports reports(race.context, fs::temp_directory_path().string(), shell, printers,
                          options);
    reports.mnuSummary_Click();
    reports.mnuLapTimes_Click();

    const QImage summary = reports.SummaryWindow()->grab().toImage();
    const QImage laps = reports.LapTimesWindow()->grab().toImage();
    ASSERT_FALSE(summary.isNull());
    ASSERT_FALSE(laps.isNull());
    const QString dir = qEnvironmentVariable("KESTO_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        summary.save(dir + QStringLiteral("/summary_window.png"));
        laps.save(dir + QStringLiteral("/lap_times_window.png"));
    }
}

} // namespace
} // namespace kesto
