#pragma once
// SDL's disk audio driver for tests: the mixed output goes to a file of raw
// interleaved signed 16-bit stereo frames, whose channels a test then reads.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace kesto::test {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv final {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

// While it lives, a sound device opened in the process mixes into `file`,
// one millisecond per mixed block instead of real time.
struct DiskAudio {
    explicit DiskAudio(const std::filesystem::path& file)
        : driver("SDL_AUDIODRIVER", "disk"), output("SDL_DISKAUDIOFILE", file.string()),
          delay("SDL_DISKAUDIODELAY", "1") {}
    ScopedEnv driver, output, delay;
};

struct SoundingFrames {
    int left = 0; // frames whose left sample is not 0
    int right = 0;
    bool whole = false; // the file holds whole frames
};

inline SoundingFrames CountSoundingFrames(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    SoundingFrames frames;
    frames.whole = bytes.size() % 4 == 0;
    auto sample = [&bytes](size_t at) {
        return static_cast<int16_t>(static_cast<uint8_t>(bytes[at]) |
                                    (static_cast<uint8_t>(bytes[at + 1]) << 8));
    };
    for (size_t i = 0; i + 3 < bytes.size(); i += 4) {
        frames.left += sample(i) != 0;
        frames.right += sample(i + 2) != 0;
    }
    return frames;
}

} // namespace kesto::test
