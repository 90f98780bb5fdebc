// The fault-injection suite: every file of the program folder spoiled in each
// form a damaged disk, a careless hand or an attacker leaves (empty,
// truncated, garbage, huge, UTF-16, a FIFO, a folder, a link to a file
// elsewhere), the program folder read-only, a full disk during a save and
// during the race journal, and a kill during a save. The whole timer runs as a
// process of its own (kesto_fault_child) over the folder: it starts up, races
// the demo briefly, aborts and leaves through Exit. Each case asserts that the
// start-up finishes, that the memory stays under a bound, and that the file
// is left as it was or replaced whole, never cut or written through a link.
// Every run adds a row to the table printed at the end (and written to
// fault-table.md beside the test program).
#include "child_process.h"
#include "save_versions.h"

#include "config/data_files.h"
#include "config/first_run_seed.h"
#include "config/roster_file.h"
#include "config/settings_files.h"
#include "config/value_file.h"
#include "engine/journal_format.h"
#include "engine/journal_replay.h"
#include "support/small_disk.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace kesto::faults {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A start-up of the timer takes well under 100 MB; a roster read whole took GBs.
constexpr long MemoryBoundKilobytes = 300 * 1024;
constexpr auto RunLimit = 30s;
constexpr const char* Precious = "PRECIOUS DATA";

std::string ReadAll(const fs::path& path, size_t limit = SIZE_MAX) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes;
    for (std::istreambuf_iterator<char> it(in), end; it != end && bytes.size() < limit; ++it)
        bytes += *it;
    return bytes;
}

void WriteAll(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// --- the table ---------------------------------------------------------------------------

std::vector<std::string>& TableRows() {
    static std::vector<std::string> rows;
    return rows;
}

class TableWriter final : public ::testing::Environment {
public:
    void TearDown() override {
        if (TableRows().empty())
            return;
        std::string table = "| file | form | outcome | told at start-up / exit | time s | "
                            "peak MB |\n|---|---|---|---|---|---|\n";
        for (const std::string& row : TableRows())
            table += row + "\n";
        std::cout << table;
        std::ofstream(fs::path(KESTO_FAULT_TABLE_DIR) / "fault-table.md", std::ios::app) << table;
    }
};
const auto* const g_table = ::testing::AddGlobalTestEnvironment(new TableWriter);

std::string Told(const ChildRun& run) {
    std::string told;
    for (std::string line : run.Starting("said: ")) {
        if (line.rfind("said: Com Port", 0) == 0 || line.rfind("said: Abort", 0) == 0 ||
            line.rfind("said: Files not saved", 0) == 0)
            continue; // the demo and its abort, every time
        line = line.substr(6, 90);
        for (char& ch : line)
            if (ch == '|')
                ch = '/';
        told += (told.empty() ? "" : "; ") + line;
    }
    return told.empty() ? "-" : told;
}

void AddRow(const std::string& file, const std::string& form, const std::string& outcome,
            const ChildRun& run) {
    char figures[64];
    std::snprintf(figures, sizeof figures, "%.1f | %ld", run.seconds, run.peakKilobytes / 1024);
    TableRows().push_back("| " + file + " | " + form + " | " + outcome + " | " + Told(run) + " | " +
                          figures + " |");
}

// --- the program folder --------------------------------------------------------------------

// A journal whose race was reset, as a program ended before deleting it leaves it.
std::string FinishedJournal() {
    std::string bytes = JournalHeaderLine();
    AppendJournalLine(bytes, 1, JournalEvent::RaceStarted(RaceState()));
    AppendJournalLine(bytes, 2, JournalEvent::RaceReset());
    return bytes;
}

// A club's folder after its first run: every data file, the sounds and
// pictures, the journal files, and a COM1 link to nowhere (no decoder).
void MakeClubFolder(const fs::path& folder) {
    fs::create_directories(folder);
    const fs::path assets = KESTO_ASSETS_DIR;
    fs::copy(assets / "LmSound", folder / "LmSound", fs::copy_options::recursive);
    for (const auto& entry : fs::directory_iterator(assets))
        if (entry.is_regular_file())
            fs::copy_file(entry.path(), folder / entry.path().filename());
    SeedFirstRun(folder);
    WriteLagColumnMode(folder, "Lag Behind");
    WriteAll(folder / "KestoRace.jnl", FinishedJournal());
    WriteAll(folder / "KestoRace.jnl.old", FinishedJournal());
    WriteAll(folder / "KestoRace.lock", "");
    fs::create_symlink(folder / "no-decoder", folder / "COM1");
}

std::vector<std::string> ChildArguments(const fs::path& folder, int raceMs) {
    return {"--program-folder", folder.string(), "--race", std::to_string(raceMs)};
}

// --- the forms -------------------------------------------------------------------------------

struct Form {
    const char* name;
    std::function<void(const fs::path& file, const std::string& good, const fs::path& root)> make;
};

std::string Widened(const std::string& bytes) {
    std::string utf16 = "\xFF\xFE";
    for (char ch : bytes) {
        utf16 += ch;
        utf16 += '\0';
    }
    return utf16;
}

const std::vector<Form>& Forms() {
    static const std::vector<Form> forms = {
        {"empty", [](const fs::path& f, const std::string&, const fs::path&) { WriteAll(f, ""); }},
        {"truncated", [](const fs::path& f, const std::string& good,
                         const fs::path&) { WriteAll(f, good.substr(0, good.size() / 2)); }},
        {"garbage",
         [](const fs::path& f, const std::string&, const fs::path&) {
             std::mt19937 random(static_cast<uint32_t>(std::hash<std::string>{}(f.string())));
             std::string bytes(4096, '\0');
             for (char& ch : bytes)
                 ch = static_cast<char>(random());
             WriteAll(f, bytes);
         }},
        {"huge (100 MB)",
         [](const fs::path& f, const std::string& good, const fs::path&) {
             // The real content over and over for 2 MB, then a hole to 100 MB.
             std::ofstream out(f, std::ios::binary);
             while (!good.empty() && out.tellp() < 2'000'000)
                 out << good;
             out.close();
             fs::resize_file(f, 100'000'000);
         }},
        {"UTF-16", [](const fs::path& f, const std::string& good,
                      const fs::path&) { WriteAll(f, Widened(good)); }},
        {"FIFO", [](const fs::path& f, const std::string&,
                    const fs::path&) { ASSERT_EQ(::mkfifo(f.c_str(), 0600), 0); }},
        {"folder",
         [](const fs::path& f, const std::string&, const fs::path&) { fs::create_directory(f); }},
        {"link elsewhere",
         [](const fs::path& f, const std::string&, const fs::path& root) {
             fs::create_symlink(root / "precious.txt", f);
         }},
    };
    return forms;
}

// --- what a file may become -----------------------------------------------------------------

// A file written whole by the timer, in its format.
using WholeCheck = std::function<bool(const std::string& bytes)>;

bool NeverWritten(const std::string&) {
    return false;
}

struct ProgramFile {
    std::string name; // relative to the program folder
    WholeCheck whole;
};

const std::vector<ProgramFile>& ProgramFiles() {
    static const std::vector<ProgramFile> files = {
        {"KestoSettings.dat",
         [](const std::string& b) {
             SettingsRecord record;
             return DecodeSettingsRecord(b, record);
         }},
        {"Racers.dat",
         [](const std::string& b) {
             IdNamesRecord record;
             return DecodeIdNamesRecord(b, record);
         }},
        {"KestoSpeedMultiplier.dat", NeverWritten},
        {"KestoRaceFormatSettings.dat", NeverWritten},
        {"KestoRaceLag.dat",
         [](const std::string& b) {
             ValueFileReader reader(b);
             std::string mode;
             return reader.ReadText(mode) && reader.AtEnd() &&
                    (mode == "Lag First" || mode == "Lag Behind" || mode == "Median");
         }},
        {"kestoRacers.dat", NeverWritten},
        {"LmSound/LMSounds.dat", NeverWritten},
        {"LmSound/everylap.wav", NeverWritten},
        {"KestoRace.jnl", NeverWritten}, // the race's own is deleted at the abort
        {"KestoRace.jnl.old",
         [](const std::string& b) {
             const JournalContents read = ReadJournal(b);
             return read.headerValid && !read.damage.Any() && !read.tailDropped;
         }},
        {"KestoRace.lock", NeverWritten},
        {"KestoLogo.png", NeverWritten},
        {"GreenFlagblack.bmp", NeverWritten},
    };
    return files;
}

// What is at a path, to compare before and after.
struct Found {
    fs::file_type type = fs::file_type::not_found;
    std::string bytes; // a regular file's, up to its first 4 MB
    uintmax_t size = 0;
    fs::path target; // a link's

    static Found At(const fs::path& path) {
        Found found;
        std::error_code error;
        found.type = fs::symlink_status(path, error).type();
        if (found.type == fs::file_type::regular) {
            found.size = fs::file_size(path, error);
            found.bytes = ReadAll(path, 4'000'000);
        } else if (found.type == fs::file_type::symlink) {
            found.target = fs::read_symlink(path, error);
        }
        return found;
    }
    bool operator==(const Found& other) const {
        return type == other.type && bytes == other.bytes && size == other.size &&
               target == other.target;
    }
};

// The journal of the child's own race, whole.
bool IsWholeJournal(const Found& found) {
    const JournalContents read = ReadJournal(found.bytes);
    return found.type == fs::file_type::regular && read.headerValid && !read.damage.Any() &&
           !read.tailDropped;
}

class FaultInjection : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("kesto-faults-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root);
        WriteAll(root / "precious.txt", Precious);
        MakeClubFolder(root / "club");
    }
    void TearDown() override {
        disk.reset();
        fs::remove_all(root);
    }

    // The start-up finished, the program left through Exit, within the bound.
    void ExpectSoundRun(const ChildRun& run) {
        EXPECT_TRUE(run.exited) << "the timer did not come up and leave within " << RunLimit.count()
                                << " s";
        EXPECT_TRUE(run.Said("started"));
        EXPECT_TRUE(run.Said("exited"));
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_LT(run.peakKilobytes, MemoryBoundKilobytes);
    }

    // Every form of one file of the program folder.
    void SpoilEveryForm(const ProgramFile& file) {
        const std::string good = ReadAll(root / "club" / file.name);
        for (const Form& form : Forms()) {
            SCOPED_TRACE(file.name + " as " + form.name);
            const fs::path folder = root / form.name;
            fs::remove_all(folder);
            fs::copy(root / "club", folder,
                     fs::copy_options::recursive | fs::copy_options::copy_symlinks);
            const fs::path path = folder / file.name;
            fs::remove(path);
            form.make(path, good, root);
            const Found before = Found::At(path);

            const ChildRun run = RunChild(KESTO_FAULT_CHILD, ChildArguments(folder, 400), RunLimit);
            ExpectSoundRun(run);
            EXPECT_EQ(ReadAll(root / "precious.txt"), Precious);
            const Found after = Found::At(path);
            std::string outcome;
            if (after == before) {
                outcome = "left as it was";
            } else if (after.type == fs::file_type::regular && file.whole(after.bytes)) {
                outcome = "replaced by a whole new file";
            } else if (file.name == "KestoRace.jnl" && IsWholeJournal(after) &&
                       Found::At(folder / "KestoRace.jnl.old") == before) {
                outcome = "kept as KestoRace.jnl.old, the race's own journal in its place";
            } else if (file.name == "KestoRace.jnl" && IsWholeJournal(after) &&
                       before.type == fs::file_type::regular &&
                       (before.size == 0 || JournalRaceIsDone(ReadJournal(before.bytes)))) {
                outcome = "nothing to keep (empty, or its race done): the race's own journal "
                          "in its place";
            } else {
                outcome = "SPOILED";
                ADD_FAILURE() << "the file was changed, not whole";
            }
            AddRow(file.name, form.name, outcome, run);
        }
    }

    fs::path root;
    std::unique_ptr<test::SmallDisk> disk;
};

class EveryFileInEveryForm : public FaultInjection, public ::testing::WithParamInterface<size_t> {};

TEST_P(EveryFileInEveryForm, StartsUpRacesAndLeavesTheFileWholeOrAsItWas) {
    SpoilEveryForm(ProgramFiles().at(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(ProgramFolder, EveryFileInEveryForm,
                         ::testing::Range<size_t>(0, ProgramFiles().size()),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                             std::string name = ProgramFiles().at(info.param).name;
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return name;
                         });

// --- the folder and the disk ------------------------------------------------------------------

// Every file of the folder as it is now.
std::map<std::string, Found> Snapshot(const fs::path& folder) {
    std::map<std::string, Found> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        files[fs::relative(entry.path(), folder).string()] = Found::At(entry.path());
    return files;
}

TEST_F(FaultInjection, AReadOnlyProgramFolder) {
    disk = std::make_unique<test::SmallDisk>(root / "disk", 8 << 20);
    if (!disk->Mounted())
        GTEST_SKIP() << disk->WhyNot();
    fs::copy(root / "club", disk->Folder(),
             fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    ASSERT_TRUE(disk->SetReadOnly(true));
    const auto before = Snapshot(disk->Folder());
    const ChildRun run = RunChild(KESTO_FAULT_CHILD, ChildArguments(disk->Folder(), 800), RunLimit);
    ExpectSoundRun(run);
    EXPECT_EQ(Snapshot(disk->Folder()), before);
    ASSERT_FALSE(run.Starting("journal alarm: ").empty());
    EXPECT_NE(run.Starting("journal alarm: ")[0].find("Read-only file system"), std::string::npos);
    AddRow("(every file)", "folder read-only", "left as it was; the race ran, journal banner up",
           run);
}

TEST_F(FaultInjection, AFullDiskDuringASave) {
    disk = std::make_unique<test::SmallDisk>(root / "disk", 8 << 20);
    if (!disk->Mounted())
        GTEST_SKIP() << disk->WhyNot();
    fs::copy(root / "club", disk->Folder(),
             fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    WriteLagColumnMode(disk->Folder(), "Median"); // Exit saves another mode
    disk->Fill();
    const auto before = Snapshot(disk->Folder());
    const ChildRun run = RunChild(KESTO_FAULT_CHILD, ChildArguments(disk->Folder(), 0), RunLimit);
    ExpectSoundRun(run);
    disk->Free();
    auto after = Snapshot(disk->Folder());
    after.erase(".filler");
    auto expected = before;
    expected.erase(".filler");
    EXPECT_EQ(after, expected) << "the saves of Exit failed whole";
    EXPECT_NE(Told(run).find("No space left on device"), std::string::npos) << Told(run);
    AddRow("Racers.dat, KestoRaceLag.dat", "disk full at Exit", "old files whole", run);
}

TEST_F(FaultInjection, AFullDiskDuringTheRaceJournal) {
    disk = std::make_unique<test::SmallDisk>(root / "disk", 8 << 20);
    if (!disk->Mounted())
        GTEST_SKIP() << disk->WhyNot();
    fs::copy(root / "club", disk->Folder(),
             fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    // Nearly full before the race: the journal holds little space ahead, so
    // the disk filling up during the race reaches it.
    disk->Fill();
    fs::resize_file(disk->Folder() / ".filler", fs::file_size(disk->Folder() / ".filler") - 32768);
    std::vector<std::string> arguments = ChildArguments(disk->Folder(), 20000);
    // The disk takes whole pages: the journal's first holds the start and the
    // first laps, so the disk stays full until the demo's laps need a second.
    for (const char* more : {"--fill-disk-at", "300", "--free-disk-at", "17000"})
        arguments.emplace_back(more);
    const ChildRun run = RunChild(KESTO_FAULT_CHILD, arguments, RunLimit);
    ExpectSoundRun(run);
    EXPECT_TRUE(run.Said("raced"));
    const std::vector<std::string> alarms = run.Starting("journal alarm");
    std::string said;
    for (const std::string& line : run.lines)
        said += line + "\n";
    ASSERT_EQ(alarms.size(), 2u) << said;
    EXPECT_NE(alarms[0].find("No space left on device"), std::string::npos) << alarms[0];
    EXPECT_EQ(alarms[1], "journal alarm gone");
    AddRow("KestoRace.jnl", "disk full mid-race, freed 17 s later",
           "banner up, kept in memory, caught up, banner gone", run);
}

TEST_F(FaultInjection, AKillDuringASaveLeavesEveryFileWhole) {
    const fs::path folder = root / "club";
    const SaveVersion versions[2] = {SavedVersion(0), SavedVersion(1)};
    auto roster = [](const std::vector<std::string>& names) {
        ValueFileWriter writer;
        for (const std::string& name : names)
            writer.Text(name).EndLine();
        return writer.Bytes();
    };
    const std::map<std::string, std::vector<std::string>> whole = {
        {"KestoSettings.dat",
         {EncodeSettingsRecord(versions[0].settings), EncodeSettingsRecord(versions[1].settings),
          ReadAll(folder / "KestoSettings.dat")}},
        {"Racers.dat",
         {EncodeIdNamesRecord(versions[0].names), EncodeIdNamesRecord(versions[1].names),
          ReadAll(folder / "Racers.dat")}},
        {"kestoRacers.dat",
         {roster(versions[0].roster), roster(versions[1].roster),
          ReadAll(folder / "kestoRacers.dat")}},
        {"KestoRaceLag.dat",
         {"\"Lag First\"\r\n", "\"Lag Behind\"\r\n", ReadAll(folder / "KestoRaceLag.dat")}},
    };
    ChildRun last;
    int litter = 0;
    for (int kill = 0; kill < 20; ++kill) {
        SCOPED_TRACE("kill " + std::to_string(kill));
        last = RunChild(KESTO_FAULT_CHILD, {"--save-loop", folder.string()}, RunLimit, "saving",
                        std::chrono::microseconds(1500 * kill + 300));
        ASSERT_TRUE(last.killed);
        for (const auto& [name, versionsOfIt] : whole) {
            const std::string bytes = ReadAll(folder / name);
            EXPECT_NE(std::find(versionsOfIt.begin(), versionsOfIt.end(), bytes),
                      versionsOfIt.end())
                << name << " is neither version, whole";
        }
        for (const auto& entry : fs::directory_iterator(folder))
            litter += entry.path().filename().string().find(".tmp") != std::string::npos ? 1 : 0;
    }
    AddRow("KestoSettings.dat, Racers.dat, kestoRacers.dat, KestoRaceLag.dat",
           "SIGKILL during saves (20 kills)",
           "every file whole, old or new; temporaries left by the kills: " + std::to_string(litter),
           last);
}

} // namespace
} // namespace kesto::faults
