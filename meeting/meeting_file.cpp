#include "meeting/meeting_file.h"

#include "base/safe_write.h"
#include "meeting/meeting_file_check.h"
#include "meeting/meeting_json.h"

#include <system_error>

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

Refusal ReadMeetingFile(const std::filesystem::path& path, Meeting& meeting) {
    std::string bytes, error;
    if (!ReadFilePrefix(path, MaxMeetingFileBytes + 1, bytes, &error))
        return "The meeting file " + Quoted(path) + " could not be read: " + error + ".";
    Refusal damage = bytes.size() > MaxMeetingFileBytes ? Refusal("the file is far too large")
                                                        : MeetingFromJson(bytes, meeting);
    if (damage)
        return "The meeting file " + Quoted(path) + " is damaged and was not opened (" + *damage +
               "). The file is left as it is.";
    return std::nullopt;
}

Refusal WriteMeetingFile(const std::filesystem::path& path, const Meeting& meeting) {
    std::string error;
    if (!WriteFileAtomically(path, MeetingToJson(meeting), &error))
        return "The meeting could not be saved to " + Quoted(path) + ": " + error + ".";
    return std::nullopt;
}

OpenMeeting::OpenMeeting(std::filesystem::path path, Meeting meeting)
    : m_path(std::move(path)), m_meeting(std::move(meeting)) {}

std::optional<OpenMeeting> OpenMeeting::Open(const std::filesystem::path& path,
                                             std::string& problem) {
    Meeting meeting;
    if (Refusal fault = ReadMeetingFile(path, meeting)) {
        problem = *fault;
        return std::nullopt;
    }
    return OpenMeeting(path, std::move(meeting));
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
    if (Refusal fault = WriteMeetingFile(path, meeting)) {
        problem = *fault;
        return std::nullopt;
    }
    return OpenMeeting(path, std::move(meeting));
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
    Refusal fault = WriteMeetingFile(m_path, m_meeting);
    m_unsaved = fault.has_value();
    return fault;
}

} // namespace kesto
