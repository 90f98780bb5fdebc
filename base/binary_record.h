#pragma once
// Little-endian, packed fields of the binary record files ("KestoSettings.dat",
// "Racers.dat"): 16-bit and 32-bit integers, IEEE single, and text as a 16-bit
// unsigned length followed by that many bytes (already in the file's code
// page; see windows1252.h).
//
// The reader never trusts the file: a field that runs past the end reads as
// zero (text: as the bytes that are there, possibly none), and nothing is
// allocated beyond the bytes actually present.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kesto {

inline constexpr size_t MaxRecordTextBytes = 0xFFFF;

class BinaryRecordWriter final {
public:
    void PutInt16(int16_t value);
    void PutInt32(int32_t value);
    void PutSingle(float value);
    // Longer text is cut at 65535 bytes: the length field cannot say more.
    void PutText(std::string_view bytes);

    const std::string& Bytes() const { return m_bytes; }

private:
    void PutUnsigned(uint32_t value, int width);
    std::string m_bytes;
};

class BinaryRecordReader final {
public:
    explicit BinaryRecordReader(std::string_view bytes);

    int16_t GetInt16();
    int32_t GetInt32();
    float GetSingle();
    std::string GetText();

    // False once any field was cut short by the end of the bytes.
    bool Complete() const { return m_complete; }
    size_t Position() const { return m_pos; }

private:
    uint32_t GetUnsigned(int width);
    std::string_view m_bytes;
    size_t m_pos = 0;
    bool m_complete = true;
};

} // namespace kesto
