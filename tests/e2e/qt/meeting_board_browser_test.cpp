// A race meeting on the live board in a real browser (headless chromium), the
// whole timer wired: no meeting, no standings page and the board as always;
// then a meeting with heats run shows its standings (the report's rows, names
// escaped) and the next heat on the board and on the standings page, at a
// phone's and a TV's width. Screenshots are left beside the test program
// (bin/live-board-standings-*.png) for the README, with the board's line.
#include "app/kesto_program.h"
#include "app/live_board_wiring.h"
#include "app/meeting_wiring.h"
#include "headless_chromium.h"
#include "scripted_race.h"
#include "support/test_doubles.h"
#include "web/live_board_settings.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <unistd.h>

namespace kesto::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int StepMs = 20000;
const std::vector<std::string> Racers = {"Sam", "Jo", "<b>Eve</b> & Co", "Tia", "Hal", "Rex",
                                         "Gus", "Fay"};

QJsonArray Json(const QJsonValue& text) {
    return QJsonDocument::fromJson(text.toString().toUtf8()).array();
}

void SaveShot(const QByteArray& png, const char* name) {
    EXPECT_TRUE(png.startsWith("\x89PNG")) << "no screenshot at the " << name << " width";
    QFile file(QCoreApplication::applicationDirPath() + QStringLiteral("/live-board-standings-") +
               QLatin1String(name) + QStringLiteral(".png"));
    if (file.open(QIODevice::WriteOnly))
        file.write(png);
}

TEST(MeetingOnTheLiveBoard, StandingsAndTheNextHeatInTheBrowser) {
    if (HeadlessChromium::Program().isEmpty())
        GTEST_SKIP() << "chromium is not installed: the live board's browser tests are skipped";
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const fs::path folder = fs::path(temp.path().toStdString()) / "KestoTimer";
    fs::create_directories(folder / "Club Night");
    ASSERT_NO_FATAL_FAILURE(WriteClubFolder(folder, 5));
    const int port = 20000 + static_cast<int>((::getpid() + 7) % 20000);
    ASSERT_TRUE(WriteLiveBoardSettings(folder, {true, port}, nullptr));
    test::FakeDialogs dialogs; // no decoder on COM1: the port's question answered
    KestoProgram program(folder, &dialogs);
    program.Start();
    ASSERT_TRUE(program.LiveBoard().Board().IsOn());
    const QString base =
        QStringLiteral("http://127.0.0.1:%1").arg(program.LiveBoard().Board().Port());

    HeadlessChromium browser;
    std::string why;
    ASSERT_TRUE(browser.Launch(&why)) << why;
    const QString phone = browser.Open(base + QStringLiteral("/"), 390, 844, true, &why);
    ASSERT_FALSE(phone.isEmpty()) << why;
    // No meeting: the address is unknown and the board shows no meeting line.
    ASSERT_TRUE(browser.WaitFor(
        phone, QStringLiteral("document.querySelectorAll('#rows tbody tr').length > 0"), StepMs));
    EXPECT_EQ(
        browser.Evaluate(phone, QStringLiteral("fetch('/standings').then(r => r.status)")).toInt(),
        404);
    EXPECT_TRUE(browser.Evaluate(phone, QStringLiteral("document.getElementById('meeting').hidden"))
                    .toBool());

    // Eight racers in heats of four over three rounds; heats 1 to 3 run.
    MeetingDesk& desk = program.Meetings().Desk();
    Meeting setup = NewMeeting("Club Night", "2026-12-08");
    setup.heatSize = 4;
    ASSERT_EQ(desk.Create(folder / "Club Night" / MeetingFileName(setup), setup), std::nullopt);
    for (size_t i = 0; i < Racers.size(); ++i)
        ASSERT_EQ(desk.Change(
                      [&](Meeting& m) { return AddEntry(m, Racers[i], static_cast<int>(i) + 1); }),
                  std::nullopt);
    ASSERT_EQ(desk.Change(PlanQualifying), std::nullopt);
    for (int heat = 1; heat <= 3; ++heat)
        ASSERT_EQ(desk.Change([heat](Meeting& m) {
            HeatResult result;
            for (const HeatSlot& slot : FindHeat(m, heat)->grid)
                result.push_back({slot.entry, 20 + (slot.entry + heat) % 3,
                                  300000 + 731 * slot.entry * heat, false});
            return RecordHeatResult(m, heat, result);
        }),
                  std::nullopt);

    // The board's line links to the standings and calls up heat 4.
    const QString line = QStringLiteral("document.getElementById('meeting').innerText");
    ASSERT_TRUE(
        browser.WaitFor(phone, line + QStringLiteral(".includes('Next heat: Heat 4')"), StepMs))
        << browser.Evaluate(phone, line).toString().toStdString();
    std::map<int, std::string> onIds; // the racers of heat 4 by ID
    for (const HeatSlot& slot : FindHeat(desk.meeting(), 4)->grid)
        onIds[slot.carId] = EntryName(desk.meeting(), slot.entry);
    std::string called = "Next heat: Heat 4 \u2013 ";
    for (const auto& [id, name] : onIds)
        called += (id == onIds.begin()->first ? "" : ", ") + std::to_string(id) + " " + name;
    EXPECT_EQ(
        browser.Evaluate(phone, QStringLiteral("document.getElementById('nextHeat').textContent"))
            .toString()
            .toStdString(),
        called);
    const QString phoneStandings =
        browser.Open(base + QStringLiteral("/standings"), 390, 844, true, &why);
    ASSERT_FALSE(phoneStandings.isEmpty()) << why;
    const QString tv = browser.Open(base + QStringLiteral("/standings"), 1920, 1080, false, &why);
    ASSERT_FALSE(tv.isEmpty()) << why;

    // The standings report's rows, cell for cell, on both.
    std::vector<std::vector<std::string>> expected;
    for (const auto& table : StandingsTables(desk.meeting()))
        for (const auto& row : table.rows)
            expected.push_back(row);
    const QString rows = QStringLiteral(
        "JSON.stringify(Array.from(document.querySelectorAll('table.standings tbody tr'), "
        "tr => Array.from(tr.cells, cell => cell.textContent)))");
    for (const QString& page : {phoneStandings, tv}) {
        ASSERT_TRUE(
            browser.WaitFor(page, QStringLiteral("!!document.getElementById('title')"), StepMs));
        const QJsonArray shown = Json(browser.Evaluate(page, rows));
        ASSERT_EQ(shown.size(), static_cast<qsizetype>(expected.size()));
        for (size_t r = 0; r < expected.size(); ++r)
            for (size_t c = 0; c < expected[r].size(); ++c)
                EXPECT_EQ(shown[r].toArray()[c].toString().toStdString(), expected[r][c])
                    << "row " << r << " column " << c;
        EXPECT_EQ(
            browser.Evaluate(page, QStringLiteral("document.querySelectorAll('b').length")).toInt(),
            0); // "<b>Eve</b>" is a name, not markup
        EXPECT_EQ(browser
                      .Evaluate(page, QStringLiteral(
                                          "document.getElementById('nextHeatName').textContent"))
                      .toString(),
                  QStringLiteral("Heat 4"));
    }
    EXPECT_EQ(browser
                  .Evaluate(phoneStandings,
                            QStringLiteral("document.querySelectorAll('.callup li').length"))
                  .toInt(),
              4);
    SaveShot(browser.Screenshot(phoneStandings), "phone");
    SaveShot(browser.Screenshot(tv), "tv");
    SaveShot(browser.Screenshot(phone), "board");

    // Heat 4 loaded onto the race screen: the call-up moves on to heat 5.
    ASSERT_EQ(program.Meetings().LoadHeat(4), std::nullopt);
    EXPECT_TRUE(browser.WaitFor(
        tv,
        QStringLiteral("fetch('/standings').then(r => r.text()).then(t => t.includes("
                       "'<span id=\"nextHeatName\">Heat 5</span>'))"),
        StepMs));
}

} // namespace
} // namespace kesto::e2e
