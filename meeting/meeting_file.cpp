#include "meeting/meeting_file.h"

#include "base/safe_write.h"
#include "meeting/meeting_file_check.h"
#include "meeting/meeting_json.h"

#include <system_error>
#include <utility>

namespace kesto {
namespace {

// Far beyond any club night; a bigger file is not a meeting.
constexpr size_t MaxMeetingFileBytes = 64 * 1024 * 1024;

std::string Quoted(const std::filesystem::path& path) {
    return "\"" + path.string() + "\"";
}

} // namespace

std::string MeetingFileName(const Meeting& meeting) {
    std::string name = meeting.name + " " + meeting.date;
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 32 ||
            std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos)
            c = '-';
    return name + MeetingFileExtension;
}

Refusal ReadMeetingFile(const std::filesystem::path& path, Meeting& meeting, std::string* read) {
    std::string bytes, error;
    if (!ReadFilePrefix(path, MaxMeetingFileBytes + 1, bytes, &error))
        return "The meeting file " + Quoted(path) + " could not be read: " + error + ".";
    Refusal damage = bytes.size() > MaxMeetingFileBytes ? Refusal("the file is far too large")
                                                        : MeetingFromJson(bytes, meeting);
    if (damage)
        return "The meeting file " + Quoted(path) + " is damaged and was not opened (" + *damage +
               "). The file is left as it is.";
    if (read)
        *read = std::move(bytes);
    return std::nullopt;
}

std::filesystem::path SavedBesidePath(const std::filesystem::path& path) {
    std::string base = path.filename().string();
    const std::string_view extension(MeetingFileExtension);
    if (base.size() > extension.size() && base.ends_with(extension))
        base.resize(base.size() - extension.size());
    else
        base = path.stem().string();
    for (int n = 1;; ++n) {
        const std::filesystem::path beside =
            path.parent_path() /
            (base + ".kesto-saved" + (n > 1 ? "-" + std::to_string(n) : "") + MeetingFileExtension);
        std::error_code ignored;
        if (!std::filesystem::exists(std::filesystem::symlink_status(beside, ignored)))
            return beside;
    }
}

Refusal WriteMeetingFile(const std::filesystem::path& path, const Meeting& meeting) {
    std::string error;
    if (!WriteFileAtomically(path, MeetingToJson(meeting), &error))
        return "The meeting could not be saved to " + Quoted(path) + ": " + error + ".";
    return std::nullopt;
}

OpenMeeting::OpenMeeting(std::filesystem::path path, Meeting meeting, std::string onDisk)
    : m_path(std::move(path)), m_meeting(std::move(meeting)), m_onDisk(std::move(onDisk)) {}

std::optional<OpenMeeting> OpenMeeting::Open(const std::filesystem::path& path,
                                             std::string& problem) {
    Meeting meeting;
    std::string bytes;
    if (Refusal fault = ReadMeetingFile(path, meeting, &bytes)) {
        problem = *fault;
        return std::nullopt;
    }
    return OpenMeeting(path, std::move(meeting), std::move(bytes));
}

std::optional<OpenMeeting> OpenMeeting::Create(const std::filesystem::path& path, Meeting meeting,
                                               std::string& problem) {
    std::error_code ignored;
    if (std::filesystem::exists(path, ignored) || ignored) {
        problem =
            "There is already a file " + Quoted(path) + "; a new meeting needs a name of its own.";
        return std::nullopt;
    }
    if (Refusal fault = CheckMeetingFile(meeting)) {
        problem = *fault;
        return std::nullopt;
    }
    std::string bytes = MeetingToJson(meeting);
    if (Refusal fault = WriteMeetingFile(path, meeting)) {
        problem = *fault;
        return std::nullopt;
    }
    return OpenMeeting(path, std::move(meeting), std::move(bytes));
}

Refusal OpenMeeting::Change(const std::function<Refusal(Meeting&)>& change) {
    Meeting changed = m_meeting;
    if (Refusal refused = change(changed))
        return refused;
    // Never write what the file could not be read back as.
    if (Refusal fault = CheckMeetingFile(changed))
        return "The change was not made: it would leave the meeting unsound (" + *fault + ").";
    if (changed == m_meeting && !m_unsaved)
        return std::nullopt;
    m_meeting = std::move(changed);
    return SaveAgain();
}

Refusal OpenMeeting::SaveAgain() {
    if (!FileStillAsLeft()) {
        const std::filesystem::path beside = SavedBesidePath(m_path);
        m_notice = "The meeting file " + Quoted(m_path) +
                   " was changed by another program while the meeting was open, so the timer "
                   "left it as it is. The meeting is saved to " +
                   Quoted(beside) + " from now on.";
        m_path = beside;
        m_onDisk.clear(); // a file of that name is not there yet
    }
    std::string bytes = MeetingToJson(m_meeting), error;
    m_unsaved = !WriteFileAtomically(m_path, bytes, &error);
    if (m_unsaved)
        return "The meeting could not be saved to " + Quoted(m_path) + ": " + error + ".";
    m_onDisk = std::move(bytes);
    return std::nullopt;
}

// The file holds what the timer last read or wrote; a file gone is rewritten
// (nothing is lost by that), anything else there is another program's.
bool OpenMeeting::FileStillAsLeft() const {
    std::error_code missing;
    if (!std::filesystem::exists(std::filesystem::symlink_status(m_path, missing)))
        return !missing;
    std::string bytes;
    return ReadFilePrefix(m_path, m_onDisk.size() + 1, bytes, nullptr) && bytes == m_onDisk;
}

std::optional<std::string> OpenMeeting::TakeNotice() {
    return std::exchange(m_notice, std::nullopt);
}

} // namespace kesto
