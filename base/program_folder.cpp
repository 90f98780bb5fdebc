#include "base/program_folder.h"

#include "base/file_names.h"

#include <system_error>

namespace kesto {

ProgramFolder::ProgramFolder(std::filesystem::path folder) : m_folder(std::move(folder)) {}

ProgramFolder ProgramFolder::OfExecutable() {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || executable.empty())
        return ProgramFolder(std::filesystem::current_path(error));
    return ProgramFolder(executable.parent_path());
}

std::filesystem::path ProgramFolder::File(const std::string& name) const {
    return ResolveInFolder(m_folder, name);
}

std::filesystem::path ProgramFolder::SoundFolder() const {
    return SoundFolderOf(m_folder);
}

std::filesystem::path ProgramFolder::SoundFile(const std::string& name) const {
    return ResolvePath(SoundFolder(), name);
}

std::filesystem::path SoundFolderOf(const std::filesystem::path& programFolder) {
    return ResolveInFolder(programFolder, SoundFolderName);
}

} // namespace kesto
