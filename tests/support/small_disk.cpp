#include "support/small_disk.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace kesto::test {
namespace {

constexpr const char* FillerName = ".filler";

} // namespace

SmallDisk::SmallDisk(std::filesystem::path folder, size_t bytes) : m_folder(std::move(folder)) {
    std::error_code error;
    std::filesystem::create_directories(m_folder, error);
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
    if (::mount("kesto-test", m_folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) !=
        0) {
        m_whyNot = "no small disk to fill (mounting a tmpfs: " + std::string(std::strerror(errno)) +
                   "); run as root to include this case";
        return;
    }
    m_mounted = true;
}

SmallDisk::~SmallDisk() {
    if (m_mounted)
        ::umount2(m_folder.c_str(), MNT_DETACH);
}

void SmallDisk::Fill() {
    const std::filesystem::path filler = m_folder / FillerName;
    const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    char block[4096] = {};
    for (size_t size = sizeof block; size > 0; size /= 2)
        while (::write(fd, block, size) == static_cast<ssize_t>(size)) {
        }
    ::close(fd);
}

void SmallDisk::Free() {
    std::error_code error;
    std::filesystem::remove(m_folder / FillerName, error);
}

bool SmallDisk::SetReadOnly(bool readOnly) {
    const unsigned long flags = MS_REMOUNT | MS_NOSUID | MS_NODEV | (readOnly ? MS_RDONLY : 0);
    return m_mounted && ::mount("kesto-test", m_folder.c_str(), "tmpfs", flags, nullptr) == 0;
}

} // namespace kesto::test
