#pragma once
// The serial link to the timing decoder (9600 baud, 8N1), as the engine sees it.

#include <functional>
#include <string>

namespace kesto {

// What the decoder's own serial port holds: more waiting between races is
// dropped, as the decoder's port would.
inline constexpr int DecoderPortBufferSize = 1024;

class DecoderPort {
public:
    virtual ~DecoderPort() = default;
    // Opens port number 1..16 (closing a port already open). False on failure.
    virtual bool Open(int portNumber) = 0;
    // Opens again the device this port last opened, found by its stable
    // identity (after an adapter was unplugged and plugged in); port number
    // `portNumber` when it never opened one. Never another device.
    virtual bool Reopen(int portNumber) { return Open(portNumber); }
    // The last Open or Reopen failed because another program (another timer)
    // holds the device.
    virtual bool InUseElsewhere() const { return false; }
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    virtual int BytesAvailable() = 0;
    // Reads what is waiting (at most maxBytes).
    virtual std::string Read(int maxBytes = 4096) = 0;
    // Raises or drops RTS; false when the device has no modem lines, which is
    // not an error for a race.
    virtual bool SetRts(bool raised) = 0;
    // The device has gone since the port was opened (a failed read, a hang-up:
    // an adapter unplugged). The port stays open until someone closes it.
    virtual bool LinkLost() const { return false; }
    // Called when bytes arrive while nobody is reading, so the race timer can
    // read them at once instead of at its next tick. Ports without an event
    // loop of their own never call it.
    virtual void SetInputArrived(std::function<void()> /*arrived*/) {}

    // Reads and drops everything waiting.
    void DiscardInput() {
        while (IsOpen() && BytesAvailable() > 0)
            if (Read().empty())
                break;
    }
};

} // namespace kesto
