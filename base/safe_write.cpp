#include "base/safe_write.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace kesto {
namespace {

SafeWriteFaultHook g_faultHook = nullptr;

bool Faulted(std::string_view step) {
    if (g_faultHook != nullptr && g_faultHook(step)) {
        errno = EIO;
        return true;
    }
    return false;
}

bool Fail(std::string* error, int code) {
    if (error != nullptr)
        *error = std::generic_category().message(code);
    return false;
}

bool FailWith(std::string* error, std::string text) {
    if (error != nullptr)
        *error = std::move(text);
    return false;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        if (Faulted("write"))
            return false;
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// A new name beside the target; O_EXCL keeps two writers from sharing it.
int OpenTemporary(const std::filesystem::path& path, std::filesystem::path& temporary) {
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = path;
        temporary += ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
        if (Faulted("open"))
            return -1;
        // 0666 and the user's umask: the mode a plain new file would get.
        const int fd =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

void SyncFolder(const std::filesystem::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd); // best effort: the rename itself already happened
        ::close(fd);
    }
}

} // namespace

void SetSafeWriteFaultHookForTesting(SafeWriteFaultHook hook) {
    g_faultHook = hook;
}

std::string LeftAsItIsText(const std::filesystem::path& path, std::string_view what) {
    return path.string() + " is not " + std::string(what) + ": left as it is";
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string* error) {
    // The name itself, not what a link points at: a link is never replaced.
    struct stat existing {};
    const bool replacing = ::lstat(path.c_str(), &existing) == 0;
    if (replacing && S_ISDIR(existing.st_mode))
        return Fail(error, EISDIR);
    if (replacing && !S_ISREG(existing.st_mode))
        return FailWith(error, LeftAsItIsText(path, "a regular file"));

    std::filesystem::path temporary;
    const int fd = OpenTemporary(path, temporary);
    if (fd < 0)
        return Fail(error, errno);

    bool ok = true;
    if (replacing)
        ::fchmod(fd, existing.st_mode & 07777); // keep the old file's permissions
    ok = WriteAll(fd, bytes) && !Faulted("sync") && ::fsync(fd) == 0;
    int code = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        code = errno;
    }
    if (ok && (Faulted("rename") || ::rename(temporary.c_str(), path.c_str()) != 0)) {
        ok = false;
        code = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return Fail(error, code);
    }
    SyncFolder(path.parent_path());
    return true;
}

bool ReadFilePrefix(const std::filesystem::path& path, size_t limit, std::string& bytes,
                    std::string* error) {
    bytes.clear();
    // Non-blocking: opening a FIFO for reading would otherwise wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Fail(error, errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int code = errno;
        ::close(fd);
        return Fail(error, code);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return S_ISDIR(info.st_mode) ? Fail(error, EISDIR) : FailWith(error, "Not a regular file");
    }
    char buffer[16384];
    while (bytes.size() < limit) {
        const size_t want = std::min(sizeof buffer, limit - bytes.size());
        const ssize_t got = ::read(fd, buffer, want);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int code = errno;
            ::close(fd);
            bytes.clear();
            return Fail(error, code);
        }
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(got));
    }
    ::close(fd);
    return true;
}

} // namespace kesto
