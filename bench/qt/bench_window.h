#pragma once
// The real main window with what drives it, wired as the program wires it,
// on quiet stand-ins for the platform (no sound, a stopped clock, dialogs
// answered Yes or OK) and a decoder port the benchmark feeds by hand.

#include "app/main_window_parts.h"
#include "engine/quiet_platform.h"

#include <algorithm>
#include <string>

namespace kesto::bench {

// The decoder's bytes as the benchmark gives them, read as a serial port reads.
class FedPort final : public DecoderPort {
public:
    bool Open(int) override { return m_open = true; }
    void Close() override { m_open = false; }
    bool IsOpen() const override { return m_open; }
    int BytesAvailable() override { return static_cast<int>(m_input.size() - m_read); }
    std::string Read(int maxBytes) override {
        const size_t n = std::min(static_cast<size_t>(maxBytes), m_input.size() - m_read);
        std::string chunk = m_input.substr(m_read, n);
        m_read += n;
        if (m_read == m_input.size()) {
            m_input.clear();
            m_read = 0;
        }
        return chunk;
    }
    bool SetRts(bool) override { return false; }
    void Feed(const std::string& bytes) { m_input += bytes; }

private:
    bool m_open = true;
    std::string m_input;
    size_t m_read = 0;
};

// Every question answered Yes (an Abort goes through), every message OK.
class YesDialogs final : public Dialogs {
public:
    MessageAnswer Show(const Message& message) override {
        return message.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
    }
    std::optional<std::string> ChooseFile(const FileChoice&) override { return std::nullopt; }
    std::optional<int32_t> ChooseColor(int32_t) override { return std::nullopt; }
};

struct BenchWindow {
    RaceState state;
    SoundChoices sounds;
    SilentPlayer player;
    YesDialogs dialogs;
    SteadyRandom random;
    StoppedClock clock;
    FedPort port;
    RaceContext ctx{state, sounds, player, dialogs, random, clock, port};
    InstantStart launcher;
    MainWindowParts parts{ctx, "/nonexistent-kesto-bench", &launcher};
};

} // namespace kesto::bench
