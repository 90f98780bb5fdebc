#pragma once
// One file per meeting, and the meeting that is open on it: every change is
// written to the file at once, whole, through a temporary file and a rename,
// so a crash leaves either the old meeting or the new one. A damaged file is
// reported with what is wrong in it and is never written over, nor is a file
// that another program changed while the meeting was open: the meeting then
// goes on in a file beside it.

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

// Reads a meeting file; on failure the message to show, and `meeting` as it
// was. `bytes`, when given, gets the file as read.
Refusal ReadMeetingFile(const std::filesystem::path& path, Meeting& meeting,
                        std::string* bytes = nullptr);

// Where a meeting goes on when its file was changed behind the timer's back:
// "Club Night.meeting.json" -> "Club Night.kesto-saved.meeting.json" (then
// "... kesto-saved-2 ..." and so on), a name no file has yet.
std::filesystem::path SavedBesidePath(const std::filesystem::path& path);

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
    // Before each write the file must still hold what was last read from it or
    // written to it; when it does not, it is left as it is and the meeting is
    // written to SavedBesidePath, its path from then on (see TakeNotice).
    Refusal Change(const std::function<Refusal(Meeting&)>& change);
    Refusal SaveAgain();
    bool Unsaved() const { return m_unsaved; }
    // Once after the meeting moved to a file beside its own: what to tell.
    std::optional<std::string> TakeNotice();

private:
    OpenMeeting(std::filesystem::path path, Meeting meeting, std::string onDisk);
    bool FileStillAsLeft() const;

    std::filesystem::path m_path;
    Meeting m_meeting;
    std::string m_onDisk; // the file's bytes as last read or written
    bool m_unsaved = false;
    std::optional<std::string> m_notice;
};

} // namespace kesto
