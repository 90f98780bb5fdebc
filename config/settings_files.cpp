#include "config/settings_files.h"

#include "base/binary_record.h"
#include "base/file_names.h"
#include "base/safe_write.h"
#include "base/windows1252.h"

#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace kesto {
namespace {

namespace fs = std::filesystem;

// The largest record each file can hold; a longer file is read only this far.
constexpr size_t MaxSettingsRecordBytes = 86 + 2 * MaxRecordTextBytes;
constexpr size_t MaxIdNamesRecordBytes = MaxCarIds * (2 + MaxRecordTextBytes) + MaxCarIds * 2;

// Text is cut to what the length field can say before it is encoded, so the
// cut never depends on how many bytes a character takes in memory.
void PutText(BinaryRecordWriter& writer, const std::string& utf8) {
    writer.PutText(Utf8ToWindows1252(utf8));
}

std::string GetText(BinaryRecordReader& reader) {
    return Windows1252ToUtf8(reader.GetText());
}

} // namespace

int16_t FileStatus(const fs::path& folder, const std::string& name) {
    std::error_code error;
    const fs::path path = ResolveInFolder(folder, name);
    if (!fs::is_regular_file(path, error) || error)
        return -1;
    const auto size = fs::file_size(path, error);
    if (error)
        return -1;
    return size == 0 ? 0 : 1;
}

std::string EncodeSettingsRecord(const SettingsRecord& record) {
    BinaryRecordWriter writer;
    writer.PutInt16(record.TrackLength);
    writer.PutInt16(record.TrackLengthIndex);
    PutText(writer, record.ScaleText);
    writer.PutInt16(record.ScaleDivisor);
    writer.PutInt16(record.ScaleIndex);
    writer.PutSingle(record.MinLapTime);
    writer.PutInt16(record.MinLapTimeIndex);
    writer.PutInt16(record.StartDelay);
    writer.PutInt16(record.StartDelayIndex);
    writer.PutInt16(record.ComPort);
    writer.PutInt16(record.ComPortIndex);
    writer.PutInt16(record.FirstLapCount);
    writer.PutInt16(record.FirstLapIndex);
    for (int32_t color : record.IdColor)
        writer.PutInt32(color);
    PutText(writer, record.TrackName);
    return writer.Bytes();
}

bool DecodeSettingsRecord(std::string_view bytes, SettingsRecord& record) {
    BinaryRecordReader reader(bytes);
    record.TrackLength = reader.GetInt16();
    record.TrackLengthIndex = reader.GetInt16();
    record.ScaleText = GetText(reader);
    record.ScaleDivisor = reader.GetInt16();
    record.ScaleIndex = reader.GetInt16();
    record.MinLapTime = reader.GetSingle();
    record.MinLapTimeIndex = reader.GetInt16();
    record.StartDelay = reader.GetInt16();
    record.StartDelayIndex = reader.GetInt16();
    record.ComPort = reader.GetInt16();
    record.ComPortIndex = reader.GetInt16();
    record.FirstLapCount = reader.GetInt16();
    record.FirstLapIndex = reader.GetInt16();
    for (int32_t& color : record.IdColor)
        color = reader.GetInt32();
    record.TrackName = GetText(reader);
    return reader.Complete();
}

std::string EncodeIdNamesRecord(const IdNamesRecord& record) {
    BinaryRecordWriter writer;
    for (const std::string& name : record.IdName)
        PutText(writer, name);
    for (int16_t id : record.NamedId)
        writer.PutInt16(id);
    return writer.Bytes();
}

bool DecodeIdNamesRecord(std::string_view bytes, IdNamesRecord& record) {
    BinaryRecordReader reader(bytes);
    for (std::string& name : record.IdName)
        name = GetText(reader);
    for (int16_t& id : record.NamedId)
        id = reader.GetInt16();
    return reader.Complete();
}

bool SaveSettingsFile(const fs::path& folder, const std::string& name, const SettingsRecord& record,
                      std::string* error) {
    return WriteFileAtomically(ResolveInFolder(folder, name), EncodeSettingsRecord(record), error);
}

void LoadSettingsFile(const fs::path& folder, const std::string& name, SettingsRecord& record) {
    if (FileStatus(folder, name) != 1)
        SaveSettingsFile(folder, name, record); // a failure shows in the read below
    std::string bytes;
    if (!ReadFilePrefix(ResolveInFolder(folder, name), MaxSettingsRecordBytes, bytes, nullptr))
        return;
    DecodeSettingsRecord(bytes, record);
}

bool WriteSettings(const fs::path& folder, const SettingsRecord& record, std::string* error) {
    return SaveSettingsFile(folder, SettingsFileName, record, error);
}

bool SaveIdNames(const fs::path& folder, const std::string& name, const IdNamesRecord& record,
                 std::string* error) {
    return WriteFileAtomically(ResolveInFolder(folder, name), EncodeIdNamesRecord(record), error);
}

void LoadIdNames(const fs::path& folder, const std::string& name, IdNamesRecord& record) {
    for (std::string& idName : record.IdName)
        idName.clear();
    const fs::path path = ResolveInFolder(folder, name);
    // Leaves an empty file behind on a first run; an existing file is not touched.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0)
        ::close(fd);
    std::string bytes;
    if (!ReadFilePrefix(path, MaxIdNamesRecordBytes, bytes, nullptr))
        return;
    DecodeIdNamesRecord(bytes, record);
}

} // namespace kesto
