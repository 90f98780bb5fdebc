// Feeds arbitrary bytes to the readers of the settings and data files: the two
// binary records, the value-file reader with every typed read, and the
// Windows-1252 conversions. None may crash, hang or read out of bounds, and a
// record that was read must write and read back to the same record.

#include "base/binary_record.h"
#include "base/windows1252.h"
#include "config/settings_files.h"
#include "config/value_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void FuzzRecords(std::string_view bytes) {
    kesto::SettingsRecord settings;
    kesto::DecodeSettingsRecord(bytes, settings);
    const std::string encoded = kesto::EncodeSettingsRecord(settings);
    kesto::SettingsRecord again;
    Check(kesto::DecodeSettingsRecord(encoded, again));
    Check(kesto::EncodeSettingsRecord(again) == encoded);

    kesto::IdNamesRecord names;
    kesto::DecodeIdNamesRecord(bytes, names);
    const std::string encodedNames = kesto::EncodeIdNamesRecord(names);
    kesto::IdNamesRecord namesAgain;
    Check(kesto::DecodeIdNamesRecord(encodedNames, namesAgain));
    Check(namesAgain.IdName == names.IdName && namesAgain.NamedId == names.NamedId);
}

void FuzzValues(std::string_view bytes) {
    // The first byte picks the order of typed reads, the rest is the file.
    const unsigned char plan = bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]);
    kesto::ValueFileReader reader(std::string(bytes.substr(bytes.empty() ? 0 : 1)));
    int16_t whole16 = 0;
    int32_t whole32 = 0;
    float single = 0;
    bool flag = false;
    std::string text;
    for (int step = 0; step < 100000 && !reader.AtEnd(); ++step) {
        switch ((plan >> (2 * (step % 4))) & 3) {
        case 0:
            reader.ReadInt16(whole16);
            break;
        case 1:
            reader.ReadSingle(single);
            break;
        case 2:
            reader.ReadBoolean(flag);
            break;
        default:
            if (step % 2 == 0)
                reader.ReadText(text);
            else
                reader.ReadInt32(whole32);
        }
    }

    // Any text written as a value reads back unchanged (after the code page).
    const std::string utf8 = kesto::Windows1252ToUtf8(bytes);
    kesto::ValueFileWriter writer;
    writer.Text(utf8).Text("x").EndLine();
    kesto::ValueFileReader back(writer.Bytes());
    Check(back.Next() == utf8);
    Check(back.Next() == std::string("x"));
    Check(back.AtEnd());
}

void FuzzEncoding(std::string_view bytes) {
    const std::string onDisk(bytes);
    Check(kesto::Utf8ToWindows1252(kesto::Windows1252ToUtf8(onDisk)) == onDisk);
    kesto::Utf8ToWindows1252(onDisk); // arbitrary bytes as if they were UTF-8
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    FuzzRecords(bytes);
    FuzzValues(bytes);
    FuzzEncoding(bytes);
    return 0;
}
