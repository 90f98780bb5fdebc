#pragma once
// Whole-file writes that never leave a half-written file behind: the bytes go
// to a temporary file in the same folder, are flushed to the disk, and only
// then replace the old file by a rename. If anything fails the old file is
// untouched and the temporary file is removed.
//
// Only regular files are written and read. A link, a FIFO or a device found
// in a file's place is never written through or replaced ("... is not a
// regular file: left as it is"), and reading one is an error, never a wait.

#include <filesystem>
#include <string>
#include <string_view>

namespace kesto {

// On failure returns false and, when `error` is given, sets it to the
// system's description of the error (such as "Permission denied").
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string* error);

// Reads a whole file, or at most `limit` bytes of it. False when it cannot be
// opened or read, or is not a regular file (links to one are followed).
bool ReadFilePrefix(const std::filesystem::path& path, size_t limit, std::string& bytes,
                    std::string* error);

// "<path> is not <what>: left as it is", the report of a file the timer will
// not touch because something else is in its place.
std::string LeftAsItIsText(const std::filesystem::path& path, std::string_view what);

// Tests only: the hook is asked before each step ("open", "write", "sync",
// "rename") and a true answer makes that step fail as an I/O error would.
using SafeWriteFaultHook = bool (*)(std::string_view step);
void SetSafeWriteFaultHookForTesting(SafeWriteFaultHook hook);

} // namespace kesto
