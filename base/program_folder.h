#pragma once
// The program folder: the folder of the executable, where every data file of
// the timer lives, and the sound folder "LmSound" beneath it. Passed around as
// a value so tests can point the whole program at a temporary folder.

#include <filesystem>
#include <string>

namespace kesto {

// The sound folder's name; any letter case on disk ("LMSound") is the same folder.
inline constexpr const char* SoundFolderName = "LmSound";

class ProgramFolder final {
public:
    explicit ProgramFolder(std::filesystem::path folder);
    // The folder holding the running executable (falls back to the current folder).
    static ProgramFolder OfExecutable();

    const std::filesystem::path& Path() const { return m_folder; }
    // A data file of the program folder, found regardless of letter case.
    std::filesystem::path File(const std::string& name) const;
    std::filesystem::path SoundFolder() const;
    std::filesystem::path SoundFile(const std::string& name) const;

private:
    std::filesystem::path m_folder;
};

// The sound folder under `programFolder`, found regardless of letter case.
std::filesystem::path SoundFolderOf(const std::filesystem::path& programFolder);

} // namespace kesto
