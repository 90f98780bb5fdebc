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

void JournalFile::Append(const JournalEvent& event) {
    if (!m_file)
        return;
    m_line.clear();
    AppendJournalLine(m_line, ++m_sequence, event);
    m_eventSinceScreen = event.kind != JournalEventKind::ScreenUpdated;
    Write(m_line);
}

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
        break;
    default:
        Append(event);
        break;
    }
}

// --- a new journal, a continued one, a finished one ---------------------------------

void JournalFile::Begin(const JournalEvent& start) {
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

void JournalFile::Finish(const JournalEvent& event) {
    if (m_folderInUse)
        return;
    Append(event);
    Drop();
    // A race aborted or reset is not offered again.
    const std::filesystem::path path = Path();
    if (::unlink(path.c_str()) == 0)
        m_syncer.SyncFolder(OpenFolder(m_folder)); // gone for good, even after a power cut
    else if (errno != ENOENT)
        m_lastError = "Race journal " + path.string() +
                      " (delete): " + std::generic_category().message(errno);
}

} // namespace kesto
