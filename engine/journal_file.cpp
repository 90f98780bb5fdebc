#include "engine/journal_file.h"

#include "base/file_names.h"
#include "engine/journal_replay.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace kesto {
namespace {

// Disk space held ahead of the journal's end, taken a chunk at a time; the
// last NoteRoom bytes of it are kept for the note that the journal fell behind.
constexpr uint64_t ReserveChunk = 256 * 1024;
constexpr uint64_t NoteRoom = 512;
constexpr size_t MaxReasonChars = 100; // escaped, a reason fits the note's room
// A catch-up writes this much at a time, so a disk with some room takes some.
constexpr size_t WriteChunk = 1024 * 1024;

std::shared_ptr<JournalFd> OpenFolder(const std::filesystem::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return fd >= 0 ? std::make_shared<JournalFd>(fd) : nullptr;
}

std::string ErrorText(int code) {
    return std::generic_category().message(code);
}

} // namespace

JournalFile::JournalFile(std::filesystem::path programFolder) : m_folder(std::move(programFolder)) {
    const std::filesystem::path lock = m_folder / JournalLockName;
    // Not through a link, and never a FIFO's wait.
    const int fd =
        ::open(lock.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0 && errno != ELOOP && errno != EISDIR && errno != ENXIO)
        return; // a folder we cannot write holds no journal of ours either
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_nlink != 1) {
        if (fd >= 0)
            ::close(fd);
        m_folderInUse = true;
        m_folderError = NotAJournalText(lock);
        m_error = m_folderError;
        return;
    }
    m_folderLock = std::make_shared<JournalFd>(fd);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        m_folderInUse = true;
        m_folderError =
            std::string(JournalFileName) + ": another Kesto Timer is using this program folder";
        m_error = m_folderError;
    }
}

JournalFile::~JournalFile() = default;

std::string JournalFile::Named(const std::string& text) const {
    // The file's name only: what the race screen's banner has room for.
    const std::filesystem::path name = m_path.empty() ? JournalFileName : m_path.filename();
    return name.string() + ": " + text;
}

std::filesystem::path JournalFile::Path() const {
    return ResolveInFolder(m_folder, JournalFileName);
}

std::string JournalFile::LastError() const {
    if (!m_error.empty())
        return m_error;
    const std::string syncError = m_syncer.Error();
    if (!syncError.empty())
        return Named(syncError + " (sync)");
    return {};
}

void JournalFile::OnErrorChanged(std::function<void(const std::string& error)> listener) {
    m_listener = std::move(listener);
    m_told = LastError();
    if (m_listener)
        m_listener(m_told);
}

void JournalFile::Notify() {
    if (!m_listener)
        return;
    std::string now = LastError();
    if (now == m_told)
        return;
    m_told = std::move(now);
    m_listener(m_told);
}

void JournalFile::WaitUntilSynced() {
    m_syncer.WaitSynced();
}

void JournalFile::Retry() {
    if (m_recording && !m_pending.empty())
        Flush();
    Notify();
}

void JournalFile::Drop() {
    m_file.reset();
    m_syncer.Watch(nullptr);
    m_recording = false;
    m_created = false;
    m_pending.clear();
    if (m_pending.capacity() > WriteChunk)
        m_pending.shrink_to_fit();
    m_lostEvents = 0;
    m_behindNoted = false;
    m_size = 0;
    m_reservedEnd = 0;
    m_reserveWorks = true;
}

// --- events ------------------------------------------------------------------------

void JournalFile::Record(const JournalEvent& event) {
    switch (event.kind) {
    case JournalEventKind::RaceStarted:
        Begin(event);
        break;
    case JournalEventKind::RaceAborted:
    case JournalEventKind::RaceReset:
        Finish(event);
        break;
    case JournalEventKind::ScreenUpdated:
        if (m_eventSinceScreen)
            Append(event);
        else if (!m_pending.empty())
            Retry(); // once a tick while the disk does not take the journal
        break;
    default:
        Append(event);
        break;
    }
    Notify();
}

void JournalFile::Append(const JournalEvent& event) {
    if (!m_recording)
        return;
    if (event.raceClock != 0)
        m_lastClock = event.raceClock;
    m_eventSinceScreen = event.kind != JournalEventKind::ScreenUpdated;
    Queue(event);
    if (!m_holding)
        Flush();
}

void JournalFile::TickEnded() {
    m_holding = false;
    if (m_recording && !m_pending.empty()) {
        Flush();
        Notify();
    }
}

void JournalFile::Queue(const JournalEvent& event) {
    if (m_lostEvents > 0 && m_pending.size() + NoteRoom <= MaxPendingBytes) {
        // Room again: how many events were dropped goes before the next one.
        m_line.clear();
        AppendJournalLine(
            m_line, m_sequence + 1,
            JournalEvent::JournalBehind(m_lastClock, m_lostEvents, "events dropped, memory full"));
        m_pending += m_line;
        m_lostEvents = 0;
    }
    m_line.clear();
    AppendJournalLine(m_line, m_sequence + 1, event);
    if (m_pending.size() + m_line.size() > MaxPendingBytes) {
        ++m_lostEvents; // its number goes to the next event kept
        return;
    }
    ++m_sequence;
    m_pending += m_line;
}

// --- the disk ----------------------------------------------------------------------

bool JournalFile::Flush() {
    if (m_pending.empty())
        return true;
    if (!m_file && !OpenForRace())
        return false;
    const bool wasBehind = !m_error.empty();
    size_t done = 0;
    while (done < m_pending.size()) {
        const size_t chunk = std::min(m_pending.size() - done, WriteChunk);
        if (!Reserve(chunk, std::string_view(m_pending).substr(done)))
            break;
        int code = JournalFault("write");
        ssize_t written = -1;
        if (code == 0) {
            written = ::write(m_file->Get(), m_pending.data() + done, chunk);
            code = written < 0 ? errno : 0;
        }
        if (code == EINTR)
            continue;
        if (written <= 0) {
            // Disk full, read-only, device gone: kept in memory, the race goes on.
            FallBehind("write", code != 0 ? code : EIO, std::string_view(m_pending).substr(done));
            break;
        }
        done += static_cast<size_t>(written);
        m_size += static_cast<uint64_t>(written);
        m_atLineStart = m_pending[done - 1] == '\n';
    }
    m_pending.erase(0, done);
    if (m_noteTorn) {
        m_pending.insert(0, 1, '\n');
        m_noteTorn = false;
    }
    if (done > 0)
        m_syncer.Appended();
    if (!m_pending.empty())
        return false;
    if (m_pending.capacity() > WriteChunk)
        m_pending.shrink_to_fit();
    if (wasBehind) {
        m_error.clear(); // caught up: every event is on the disk again
        m_behindNoted = false;
    }
    return true;
}

bool JournalFile::OpenForRace() {
    int code = JournalFault("open");
    int fd = -1;
    if (code == 0) {
        // A new name only: whatever took the journal's place meanwhile is not ours.
        fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_NOFOLLOW | O_CLOEXEC,
                    0666);
        code = fd < 0 ? errno : 0;
    }
    if (fd < 0 && (code == EEXIST || code == ELOOP)) {
        Drop();
        m_error = NotAJournalText(m_path);
        return false;
    }
    if (fd < 0) {
        FallBehind("open", code, m_pending);
        return false;
    }
    m_file = std::make_shared<JournalFd>(fd);
    m_created = true;
    m_size = 0;
    m_reservedEnd = 0;
    m_reserveWorks = true;
    m_atLineStart = true;
    m_syncer.Watch(m_file);
    m_syncer.SyncFolder(OpenFolder(m_folder)); // a new journal's name is on disk too
    return true;
}

bool JournalFile::Reserve(size_t bytes, std::string_view rest) {
    if (!m_reserveWorks)
        return true;
    const uint64_t need = m_size + bytes + NoteRoom;
    if (need <= m_reservedEnd)
        return true;
    int code = JournalFault("reserve");
    // A chunk ahead, or on a nearly full disk at least what this write needs.
    for (const uint64_t until : {need + ReserveChunk, need}) {
        if (code != 0)
            break;
        if (::fallocate(m_file->Get(), FALLOC_FL_KEEP_SIZE, static_cast<off_t>(m_size),
                        static_cast<off_t>(until - m_size)) == 0) {
            m_reservedEnd = until;
            return true;
        }
        code = errno == ENOSPC && until != need ? 0 : errno;
    }
    if (code == EOPNOTSUPP || code == ENOSYS || code == EINVAL) {
        m_reserveWorks = false; // this file system holds no space ahead: just write
        return true;
    }
    FallBehind("write", code, rest);
    return false;
}

void JournalFile::FallBehind(const std::string& step, int code, std::string_view rest) {
    const std::string reason = ErrorText(code);
    m_error =
        Named(reason + " (" + step + ") - the race is kept in memory until the disk takes it");
    // Once per fall, on disk right away (in the room held for it), and only
    // between whole lines: a journal read after a crash tells it is not the
    // whole race.
    if (m_behindNoted || !m_file || m_size == 0 || !m_atLineStart)
        return; // no journal yet, or the disk took half a line: the rest must come first
    // The note carries the number of the first event not on the disk.
    uint64_t next = 0;
    const auto parsed = std::from_chars(rest.data(), rest.data() + rest.size(), next);
    if (parsed.ec != std::errc())
        return;
    m_line.clear();
    AppendJournalLine(
        m_line, next,
        JournalEvent::JournalBehind(m_lastClock, 0, reason.substr(0, MaxReasonChars)));
    if (JournalFault("write") != 0)
        return;
    const ssize_t written = ::write(m_file->Get(), m_line.data(), m_line.size());
    if (written <= 0)
        return;
    m_size += static_cast<uint64_t>(written);
    m_syncer.Appended();
    m_behindNoted = written == static_cast<ssize_t>(m_line.size());
    // Torn: ended by the catch-up's first byte, then read past like a power cut's line.
    m_noteTorn = !m_behindNoted;
}

// --- a new journal, a continued one, a finished one ---------------------------------

void JournalFile::Begin(const JournalEvent& start) {
    if (m_folderInUse) {
        m_error = m_folderError; // the other timer's live journal stays as it is
        return;
    }
    Drop();
    m_error.clear();
    m_sequence = 0;
    m_lastClock = 0;
    m_eventSinceScreen = true;
    m_path = Path();
    FoundJournal found = InspectJournalPlace(m_path, true);
    switch (found.place) {
    case JournalPlace::Foreign:
        m_error = found.error;
        return;
    case JournalPlace::Journal: {
        const bool done = JournalRaceIsDone(ReadJournal(found.bytes));
        found.bytes = std::string();
        if (!done) {
            // A journal that may still be needed is kept before a new one starts.
            m_error = KeepJournalAside(m_folder, m_path);
            if (!m_error.empty())
                return;
            break;
        }
        [[fallthrough]];
    }
    case JournalPlace::Empty:
        if (::unlink(m_path.c_str()) != 0 && errno != ENOENT) {
            m_error = Named(ErrorText(errno) + " (replace)");
            return;
        }
        break;
    case JournalPlace::Missing:
        break;
    }
    m_recording = true;
    // The header and the start in one write: a journal is never only a header.
    m_pending = JournalHeaderLine();
    m_line.clear();
    AppendJournalLine(m_line, ++m_sequence, start);
    m_pending += m_line;
    Flush();
}

bool JournalFile::ContinueExisting() {
    if (m_folderInUse)
        return false;
    Drop();
    m_path = Path();
    FoundJournal found = InspectJournalPlace(m_path, true);
    if (found.place != JournalPlace::Journal) {
        m_error = found.place == JournalPlace::Foreign
                      ? found.error
                      : Named(found.place == JournalPlace::Missing ? ErrorText(ENOENT)
                                                                   : "not a race journal");
        return false;
    }
    const JournalContents contents = ReadJournal(found.bytes);
    if (contents.events.empty()) {
        m_error = Named("not a race journal");
        return false;
    }
    return AppendAfter(
        JournalEnd{found.bytes.size(), contents.lastSequence, found.bytes.back() == '\n'});
}

bool JournalFile::ContinueExisting(const JournalEnd& read) {
    if (m_folderInUse)
        return false;
    struct stat info {};
    const std::filesystem::path path = Path();
    // Changed since it was read (or not the file read): read it again.
    if (read.lastSequence == 0 || ::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_nlink != 1 || static_cast<uint64_t>(info.st_size) != read.bytes)
        return ContinueExisting();
    Drop();
    m_path = path;
    return AppendAfter(read);
}

bool JournalFile::AppendAfter(const JournalEnd& end) {
    int code = JournalFault("open");
    int fd = -1;
    if (code == 0) {
        fd = ::open(m_path.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
        code = fd < 0 ? errno : 0;
    }
    struct stat info {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        m_error = NotAJournalText(m_path);
        return false;
    }
    if (fd < 0) {
        m_error = Named(ErrorText(code) + " (open)");
        return false;
    }
    m_file = std::make_shared<JournalFd>(fd);
    m_created = true;
    m_recording = true;
    m_size = static_cast<uint64_t>(info.st_size);
    m_reservedEnd = m_size;
    m_syncer.Watch(m_file);
    m_syncer.Appended();
    m_error.clear();
    m_sequence = end.lastSequence;
    m_eventSinceScreen = true;
    // A torn last line is ended, so it is read past: new lines must not be
    // glued onto it, and nothing of the journal is ever cut.
    m_atLineStart = end.endsWithLine;
    if (!m_atLineStart)
        m_pending.assign(1, '\n');
    Flush();
    Notify();
    return true;
}

void JournalFile::Finish(const JournalEvent& event) {
    if (m_folderInUse || !m_recording)
        return;
    Append(event);
    const bool created = m_created;
    Drop();
    // A race aborted or reset is not offered again.
    if (!created)
        return;
    if (::unlink(m_path.c_str()) == 0)
        m_syncer.SyncFolder(OpenFolder(m_folder)); // gone for good, even after a power cut
    else if (errno != ENOENT)
        m_error = Named(ErrorText(errno) + " (delete)");
}

} // namespace kesto
