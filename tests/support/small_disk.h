#pragma once
// A small disk of the test's own: a tmpfs of a few hundred kilobytes mounted
// on a folder, to be filled up or made read-only for real. Mounting needs the
// right to (root in CI); where the test may not mount one, Mounted() is false
// and WhyNot() says why, for the test to skip with that message.

#include <cstddef>
#include <filesystem>
#include <string>

namespace kesto::test {

class SmallDisk final {
public:
    // Mounts a tmpfs of `bytes` on `folder` (made if missing).
    SmallDisk(std::filesystem::path folder, size_t bytes);
    ~SmallDisk(); // unmounts, whatever is left on it
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return m_mounted; }
    const std::string& WhyNot() const { return m_whyNot; }
    const std::filesystem::path& Folder() const { return m_folder; }

    // Fills every byte left with a file of its own; Free removes it.
    void Fill();
    void Free();
    // Read-only (or writable again) for everyone, root included.
    bool SetReadOnly(bool readOnly);

private:
    std::filesystem::path m_folder;
    bool m_mounted = false;
    std::string m_whyNot;
};

} // namespace kesto::test
