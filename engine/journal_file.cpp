#include "engine/journal_file.h"

#include "base/file_names.h"
#include "base/safe_write.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace kesto {
namespace {

// A journal of a very long race is a few megabytes; more is no journal of ours.
constexpr size_t MaxJournalBytes = size_t{1} << 30;

std::shared_ptr<JournalFd> OpenFolder(const std::filesystem::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return fd >= 0 ? std::make_shared<JournalFd>(fd) : nullptr;
}

} // namespace

JournalFile::JournalFile(std::filesystem::path programFolder) : m_folder(std::move(programFolder)) {
    const std::filesystem::path lock = m_folder / JournalLockName;
    const int fd = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return; // a folder we cannot write holds no journal of ours either
    m_folderLock = std::make_shared<JournalFd>(fd);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        m_folderInUse = true;
        m_lastError = "Race journal " + Path().string() +
                      ": another Kesto Timer is using this program folder";
    }
}

JournalFile::~JournalFile() = default;

std::filesystem::path JournalFile::Path() const {
    return ResolveInFolder(m_folder, JournalFileName);
}

const std::string& JournalFile::LastError() const {
    std::string syncError = m_syncer.TakeError();
    if (!syncError.empty())
        m_lastError = "Race journal " + Path().string() + ": " + syncError;
    return m_lastError;
}

void JournalFile::WaitUntilSynced() {
    m_syncer.WaitSynced();
}

void JournalFile::Fail(const std::string& step, int code) {
    m_lastError = "Race journal " + Path().string() + " (" + step +
                  "): " + std::generic_category().message(code);
    Drop();
}

void JournalFile::Drop() {
    m_file.reset();
    m_syncer.Watch(nullptr);
}

bool JournalFile::Write(std::string_view bytes) {
    if (!m_file)
        return false;
    while (!bytes.empty()) {
        int code = JournalFault("write");
        ssize_t written = -1;
        if (code == 0) {
            written = ::write(m_file->Get(), bytes.data(), bytes.size());
            code = written < 0 ? errno : 0;
        }
        if (code == EINTR)
            continue;
        if (written <= 0) {
            // Disk full, read-only, device gone: the race goes on unrecorded.
            Fail("write", code != 0 ? code : EIO);
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    m_syncer.Appended();
    return true;
}

JournalEvent& JournalFile::Event(JournalEventKind kind, int32_t raceClock) {
    m_event.kind = kind;
    m_event.raceClock = raceClock;
    m_event.id = 0;
    m_event.value = 0;
    m_event.value2 = 0;
    m_event.tickMs = 0;
    m_event.text.clear();
    return m_event;
}

void JournalFile::Append() {
    if (!m_file)
        return;
    m_line.clear();
    AppendJournalLine(m_line, ++m_sequence, m_event);
    m_eventSinceScreen = m_event.kind != JournalEventKind::ScreenUpdated;
    Write(m_line);
}

// --- a new journal, a continued one, a finished one ---------------------------------

void JournalFile::RaceStarted(const RaceState& state) {
    if (m_folderInUse)
        return; // the other timer's live journal stays as it is
    Drop();
    m_lastError.clear();
    const std::filesystem::path path = Path();
    int code = JournalFault("open");
    int fd = -1;
    if (code == 0) {
        // Replaces the journal of a race that was finished (or declined).
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0666);
        code = fd < 0 ? errno : 0;
    }
    if (fd < 0) {
        Fail("open", code);
        return;
    }
    m_file = std::make_shared<JournalFd>(fd);
    m_syncer.Watch(m_file);
    m_syncer.SyncFolder(OpenFolder(m_folder)); // a new journal's name is on disk too
    m_sequence = 0;
    JournalEvent start;
    start.kind = JournalEventKind::RaceStarted;
    start.start = std::make_shared<JournalRaceStart>(RaceStartOf(state));
    // The header and the start in one write: a journal is never only a header.
    m_line = JournalHeaderLine();
    AppendJournalLine(m_line, ++m_sequence, start);
    m_eventSinceScreen = true;
    Write(m_line);
}

bool JournalFile::ContinueExisting() {
    if (m_folderInUse)
        return false;
    Drop();
    const std::filesystem::path path = Path();
    std::string bytes;
    std::string error;
    if (!ReadFilePrefix(path, MaxJournalBytes, bytes, &error)) {
        m_lastError = "Race journal " + path.string() + ": " + error;
        return false;
    }
    const JournalContents contents = ReadJournal(bytes);
    if (!contents.headerValid || contents.events.empty()) {
        m_lastError = "Race journal " + path.string() + ": not a race journal";
        return false;
    }
    int code = JournalFault("open");
    int fd = -1;
    if (code == 0) {
        fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
        code = fd < 0 ? errno : 0;
    }
    if (fd < 0) {
        Fail("open", code);
        return false;
    }
    m_file = std::make_shared<JournalFd>(fd);
    // New lines must not be glued onto half a line.
    if (contents.tailDropped && ::ftruncate(fd, static_cast<off_t>(contents.validBytes)) != 0) {
        Fail("truncate", errno);
        return false;
    }
    m_syncer.Watch(m_file);
    m_syncer.Appended();
    m_lastError.clear();
    m_sequence = contents.events.size();
    m_eventSinceScreen = true;
    return true;
}

void JournalFile::Finish(JournalEventKind kind) {
    if (m_folderInUse)
        return;
    Event(kind);
    Append();
    Drop();
    // A race aborted or reset is not offered again.
    const std::filesystem::path path = Path();
    if (::unlink(path.c_str()) == 0)
        m_syncer.SyncFolder(OpenFolder(m_folder)); // gone for good, even after a power cut
    else if (errno != ENOENT)
        m_lastError = "Race journal " + path.string() +
                      " (delete): " + std::generic_category().message(errno);
}

void JournalFile::RaceAborted() {
    Finish(JournalEventKind::RaceAborted);
}

void JournalFile::RaceReset() {
    Finish(JournalEventKind::RaceReset);
}

// --- events ------------------------------------------------------------------------

void JournalFile::TimingStarted() {
    Event(JournalEventKind::TimingStarted);
    Append();
}

void JournalFile::DecoderLine(int32_t raceClock, std::string_view line, int32_t tickMs) {
    JournalEvent& event = Event(JournalEventKind::DecoderLine, raceClock);
    event.text.assign(line);
    event.tickMs = tickMs;
    Append();
}

void JournalFile::TypedRecord(int32_t raceClock, std::string_view line, int32_t tickMs) {
    JournalEvent& event = Event(JournalEventKind::TypedRecord, raceClock);
    event.text.assign(line);
    event.tickMs = tickMs;
    Append();
}

void JournalFile::DemoPass(int32_t raceClock, int id, int32_t nextPass) {
    JournalEvent& event = Event(JournalEventKind::DemoPass, raceClock);
    event.id = id;
    event.value = nextPass;
    Append();
}

void JournalFile::ScreenUpdated(int32_t raceClock) {
    if (!m_eventSinceScreen)
        return;
    Event(JournalEventKind::ScreenUpdated, raceClock);
    Append();
}

void JournalFile::WhiteFlagShown(const RaceState& state) {
    Event(JournalEventKind::WhiteFlagShown, state.RaceClock);
    Append();
}

void JournalFile::CheckeredFlagDropped(const RaceState& state) {
    JournalEvent& event = Event(JournalEventKind::CheckeredFlagDropped, state.RaceClock);
    event.value = state.RaceCloseTime;
    event.finishLap = state.FinishLap;
    Append();
}

void JournalFile::RaceClosed(const RaceState& state) {
    Event(JournalEventKind::RaceClosed, state.RaceClock).text = state.RaceDateStamp;
    Append();
}

void JournalFile::BestLapCleared(int id) {
    Event(JournalEventKind::BestLapCleared).id = id;
    Append();
}

void JournalFile::NameChosen(int id, std::string_view name) {
    JournalEvent& event = Event(JournalEventKind::NameChosen);
    event.id = id;
    event.text.assign(name);
    Append();
}

void JournalFile::UnsavedMarks(bool lapsUnsaved, bool summaryUnsaved) {
    JournalEvent& event = Event(JournalEventKind::UnsavedMarks);
    event.value = lapsUnsaved ? 1 : 0;
    event.value2 = summaryUnsaved ? 1 : 0;
    Append();
}

void JournalFile::SettingsChanged(const RaceState& state) {
    JournalEvent event;
    event.kind = JournalEventKind::SettingsChanged;
    auto settings = std::make_shared<JournalRaceStart>();
    settings->Settings = state.Settings;
    settings->SpeedMultiplier = state.SpeedMultiplier;
    settings->BestColumnMode = state.BestColumnMode;
    settings->LagColumnMode = state.LagColumnMode;
    event.start = std::move(settings);
    std::swap(event, m_event);
    Append();
    std::swap(event, m_event);
}

} // namespace kesto
