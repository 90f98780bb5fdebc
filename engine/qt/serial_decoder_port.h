#pragma once
// The decoder port on a real serial device through QSerialPort: 9600 baud,
// 8N1, no flow control. Port numbers resolve to devices as port_resolution.h
// describes. The race timer reads it from its tick, so BytesAvailable() and
// Read() fetch from the device themselves when nothing is buffered; between
// ticks the event loop says when bytes arrive (SetInputArrived), and then a
// tick with nothing buffered leaves the device alone but for a look now and
// then. It holds no more than the decoder's own port would between reads
// (DecoderPortBufferSize). The device itself is locked while open (whatever
// path reached it), so a second timer cannot read the same decoder.

#include "base/decoder_port.h"

#include <QSerialPort>

#include <filesystem>
#include <string>
#include <vector>

namespace kesto {

class SerialDecoderPort final : public DecoderPort {
public:
    explicit SerialDecoderPort(std::filesystem::path programFolder,
                               std::filesystem::path devFolder = "/dev");
    ~SerialDecoderPort() override;

    bool Open(int portNumber) override;
    bool Reopen(int portNumber) override;
    bool InUseElsewhere() const override { return m_inUseElsewhere; }
    void Close() override;
    bool IsOpen() const override;
    int BytesAvailable() override;
    std::string Read(int maxBytes = 4096) override;
    bool SetRts(bool raised) override;
    void SetInputArrived(std::function<void()> arrived) override;

    // Waits up to `milliseconds` for input to arrive; true when some is waiting.
    // For windows that read the port outside the race timer.
    bool WaitForInput(int milliseconds);

    // Why the last operation failed (empty after a successful Open).
    const std::string& LastError() const { return m_lastError; }
    // The device failed a read or hung up since the port was opened: the far
    // end is gone (adapter unplugged, pseudo-terminal closed). The port stays
    // open until someone closes it.
    bool LinkLost() const override { return m_linkLost; }
    // The device file of the open port (or of the last attempt).
    const std::filesystem::path& Device() const { return m_device; }

private:
    bool OpenDevice(const std::filesystem::path& device);
    void PullFromDevice();
    bool HungUp() const;
    void NoteError(const std::string& what);

    std::filesystem::path m_programFolder;
    std::filesystem::path m_devFolder;
    std::filesystem::path m_device;
    std::filesystem::path m_reopenPath; // the last device opened, by its stable path
    std::string m_lastError;
    bool m_linkLost = false;
    bool m_inUseElsewhere = false;
    int m_lockFd = -1; // holds the device's lock while the port is open
    QSerialPort m_port;
    std::function<void()> m_inputArrived;
    // Ticks that found the buffer empty and left the device to the event loop.
    static constexpr int LooksBetweenOwnLooks = 32;
    int m_looksLeftToTheEventLoop = 0;
    std::vector<char> m_readChunk;
};

} // namespace kesto
