#include "base/binary_record.h"

#include <algorithm>
#include <bit>

namespace kesto {

void BinaryRecordWriter::PutUnsigned(uint32_t value, int width) {
    for (int i = 0; i < width; ++i)
        m_bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void BinaryRecordWriter::PutInt16(int16_t value) {
    PutUnsigned(static_cast<uint16_t>(value), 2);
}

void BinaryRecordWriter::PutInt32(int32_t value) {
    PutUnsigned(static_cast<uint32_t>(value), 4);
}

void BinaryRecordWriter::PutSingle(float value) {
    PutUnsigned(std::bit_cast<uint32_t>(value), 4);
}

void BinaryRecordWriter::PutText(std::string_view bytes) {
    bytes = bytes.substr(0, MaxRecordTextBytes);
    PutUnsigned(static_cast<uint32_t>(bytes.size()), 2);
    m_bytes.append(bytes);
}

BinaryRecordReader::BinaryRecordReader(std::string_view bytes) : m_bytes(bytes) {}

uint32_t BinaryRecordReader::GetUnsigned(int width) {
    if (m_bytes.size() - m_pos < static_cast<size_t>(width)) {
        // A torn field is not half a number: it reads as zero.
        m_pos = m_bytes.size();
        m_complete = false;
        return 0;
    }
    uint32_t value = 0;
    for (int i = 0; i < width; ++i)
        value |= static_cast<uint32_t>(static_cast<unsigned char>(m_bytes[m_pos + i])) << (8 * i);
    m_pos += width;
    return value;
}

int16_t BinaryRecordReader::GetInt16() {
    return static_cast<int16_t>(static_cast<uint16_t>(GetUnsigned(2)));
}

int32_t BinaryRecordReader::GetInt32() {
    return static_cast<int32_t>(GetUnsigned(4));
}

float BinaryRecordReader::GetSingle() {
    return std::bit_cast<float>(GetUnsigned(4));
}

std::string BinaryRecordReader::GetText() {
    const size_t length = GetUnsigned(2);
    const size_t available = std::min(length, m_bytes.size() - m_pos);
    if (available < length)
        m_complete = false;
    std::string text(m_bytes.substr(m_pos, available));
    m_pos += available;
    return text;
}

} // namespace kesto
