#pragma once
// One file per meeting, and the meeting that is open on it: every change is
// written to the file at once, whole, through a temporary file and a rename,
// so a crash leaves either the old meeting or the new one. A damaged file is
// reported with what is wrong in it and is never written over.

#include "meeting/meeting.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace kesto {

inline constexpr const char* MeetingFileExtension = ".meeting.json";

// "Club Night 2026-12-08.meeting.json": the meeting's name and date, with the
// characters a file name cannot hold replaced by "-".
std::string MeetingFileName(const Meeting& meeting);

// Reads a meeting file; on failure the message to show, and `meeting` as it was.
Refusal ReadMeetingFile(const std::filesystem::path& path, Meeting& meeting);

// Writes a meeting file whole; on failure the message to show.
Refusal WriteMeetingFile(const std::filesystem::path& path, const Meeting& meeting);

class OpenMeeting final {
public:
    // Opens the meeting of an existing file. A damaged or unreadable file
    // gives the message to show in `problem`, and no meeting.
    static std::optional<OpenMeeting> Open(const std::filesystem::path& path, std::string& problem);
    // Starts a new meeting file. Refused when the path is taken: an older
    // meeting, damaged or not, is never replaced.
    static std::optional<OpenMeeting> Create(const std::filesystem::path& path, Meeting meeting,
                                             std::string& problem);

    const Meeting& meeting() const { return m_meeting; }
    const std::filesystem::path& path() const { return m_path; }

    // Runs a change of the meeting and writes the file when it was made. A
    // refused change, or one that would leave the meeting unsound (a file that
    // could not be read back), leaves meeting and file as they were. When the write
    // fails, the change stays made here and its message is returned; the next
    // change (or SaveAgain) writes the whole meeting again.
    Refusal Change(const std::function<Refusal(Meeting&)>& change);
    Refusal SaveAgain();
    bool Unsaved() const { return m_unsaved; }

private:
    OpenMeeting(std::filesystem::path path, Meeting meeting);

    std::filesystem::path m_path;
    Meeting m_meeting;
    bool m_unsaved = false;
};

} // namespace kesto
