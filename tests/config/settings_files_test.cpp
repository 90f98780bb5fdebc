#include "config/settings_files.h"

#include "base/safe_write.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <vector>

namespace kesto {
namespace {

namespace fs = std::filesystem;

SettingsRecord SampleSettings() {
    SettingsRecord s;
    s.TrackLength = 100;
    s.TrackLengthIndex = 3;
    s.ScaleText = "1:24";
    s.ScaleDivisor = 24;
    s.ScaleIndex = 2;
    s.MinLapTime = 2.5f;
    s.MinLapTimeIndex = 5;
    s.StartDelay = 10;
    s.StartDelayIndex = 1;
    s.ComPort = 3;
    s.ComPortIndex = 2;
    s.FirstLapCount = -1;
    s.FirstLapIndex = 0;
    s.IdColor[0] = 0x0000FF;
    s.IdColor[1] = 0x00FF00;
    s.IdColor[13] = -1;
    s.TrackName = "Rüti";
    return s;
}

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values)
        bytes += static_cast<char>(v);
    return bytes;
}

void ExpectSameSettings(const SettingsRecord& a, const SettingsRecord& b) {
    EXPECT_EQ(EncodeSettingsRecord(a), EncodeSettingsRecord(b));
    EXPECT_EQ(a.ScaleText, b.ScaleText);
    EXPECT_EQ(a.TrackName, b.TrackName);
    EXPECT_EQ(a.MinLapTime, b.MinLapTime);
    EXPECT_EQ(a.IdColor, b.IdColor);
}

class SettingsFiles : public test::TempFolderTest {};

TEST_F(SettingsFiles, SettingsRecordHasItsExactPackedLittleEndianBytes) {
    std::string expected = Bytes({0x64, 0x00, 0x03, 0x00, 0x04, 0x00}) + "1:24" +
                           Bytes({0x18, 0x00, 0x02, 0x00,             // divisor 24, index 2
                                  0x00, 0x00, 0x20, 0x40,             // 2.5 as a single
                                  0x05, 0x00, 0x0A, 0x00, 0x01, 0x00, // min lap idx, delay, idx
                                  0x03, 0x00, 0x02, 0x00,             // port 3, index 2
                                  0xFF, 0xFF, 0x00, 0x00,             // first lap -1, index 0
                                  0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00});
    expected += std::string(11 * 4, '\0');
    expected += Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x04, 0x00, 'R', 0xFC, 't', 'i'});

    EXPECT_EQ(EncodeSettingsRecord(SampleSettings()), expected);
    ASSERT_TRUE(SaveSettingsFile(folder, SettingsFileName, SampleSettings()));
    EXPECT_EQ(ReadBytes(folder / "KestoSettings.dat"), expected);
    EXPECT_EQ(expected.size(), 86u + 4 + 4);
}

TEST_F(SettingsFiles, EmptyRecordIs86BytesAndA40CharacterTrackNameAdds40) {
    SettingsRecord record;
    EXPECT_EQ(EncodeSettingsRecord(record).size(), 86u);
    record.TrackName = std::string(40, 'T');
    EXPECT_EQ(EncodeSettingsRecord(record).size(), 126u);
    record.TrackName = std::string(39, 'T') + "é"; // one byte on disk, two in memory
    EXPECT_EQ(EncodeSettingsRecord(record).size(), 126u);
}

TEST_F(SettingsFiles, BothRecordsComeBackAsSaved) {
    ASSERT_TRUE(WriteSettings(folder, SampleSettings()));
    SettingsRecord loaded;
    LoadSettingsFile(folder, SettingsFileName, loaded);
    ExpectSameSettings(loaded, SampleSettings());

    IdNamesRecord names;
    names.IdName[0] = "Ann";
    names.IdName[4] = "Zoë, \"Speedy\"";
    names.IdName[13] = "Bob";
    names.NamedId[0] = 1;
    names.NamedId[13] = 14;
    ASSERT_TRUE(SaveIdNames(folder, IdNamesFileName, names));
    EXPECT_EQ(fs::file_size(folder / "Racers.dat"), 14u * 2 + 3 + 13 + 3 + 28);

    IdNamesRecord back;
    back.IdName[7] = "stale";
    LoadIdNames(folder, IdNamesFileName, back);
    EXPECT_EQ(back.IdName, names.IdName);
    EXPECT_EQ(back.NamedId, names.NamedId);
}

TEST_F(SettingsFiles, AFileLongerThanOneRecordYieldsTheRecordWrittenLast) {
    SettingsRecord longer = SampleSettings();
    longer.TrackName = std::string(40, 'L');
    const std::string shortRecord = EncodeSettingsRecord(SampleSettings());
    const std::string longRecord = EncodeSettingsRecord(longer);
    // As left by an in-place write over a longer old record.
    WriteBytes(folder / "KestoSettings.dat", shortRecord + longRecord.substr(shortRecord.size()));

    SettingsRecord loaded;
    LoadSettingsFile(folder, SettingsFileName, loaded);
    ExpectSameSettings(loaded, SampleSettings());

    // Our own saves never leave the tail behind.
    ASSERT_TRUE(SaveSettingsFile(folder, SettingsFileName, longer));
    ASSERT_TRUE(SaveSettingsFile(folder, SettingsFileName, SampleSettings()));
    EXPECT_EQ(ReadBytes(folder / "KestoSettings.dat"), shortRecord);
}

TEST_F(SettingsFiles, ADamagedShortRecordReadsAsFarAsItGoes) {
    const std::string full = EncodeSettingsRecord(SampleSettings());
    SettingsRecord loaded = SampleSettings();
    loaded.TrackName = "old";
    // Cut inside the second colour: what is there is taken, the rest is zero or empty.
    EXPECT_FALSE(DecodeSettingsRecord(std::string_view(full).substr(0, 38), loaded));
    EXPECT_EQ(loaded.TrackLength, 100);
    EXPECT_EQ(loaded.ScaleText, "1:24");
    EXPECT_EQ(loaded.FirstLapCount, -1);
    EXPECT_EQ(loaded.IdColor[0], 0xFF);
    EXPECT_EQ(loaded.IdColor[1], 0);
    EXPECT_EQ(loaded.IdColor[13], 0);
    EXPECT_EQ(loaded.TrackName, "");

    // Cut inside a two-byte field: the torn field is zero, not half a number.
    EXPECT_FALSE(DecodeSettingsRecord(Bytes({0x64, 0x00, 0x03}), loaded));
    EXPECT_EQ(loaded.TrackLength, 100);
    EXPECT_EQ(loaded.TrackLengthIndex, 0);
    EXPECT_EQ(loaded.ScaleText, "");

    EXPECT_TRUE(DecodeSettingsRecord(full, loaded));
}

TEST_F(SettingsFiles, ATextLengthPastTheEndReadsOnlyTheBytesThere) {
    // Track length 1, index 0, then a scale text claiming 65535 bytes but holding 3.
    WriteBytes(folder / "KestoSettings.dat", Bytes({1, 0, 0, 0, 0xFF, 0xFF, '1', ':', '8'}));
    SettingsRecord loaded;
    LoadSettingsFile(folder, SettingsFileName, loaded);
    EXPECT_EQ(loaded.TrackLength, 1);
    EXPECT_EQ(loaded.ScaleText, "1:8");
    EXPECT_EQ(loaded.MinLapTime, 0);
    EXPECT_EQ(loaded.TrackName, "");

    IdNamesRecord names;
    WriteBytes(folder / "Racers.dat", Bytes({3, 0, 'A', 'n', 'n', 0xFF, 0xFF, 'B'}));
    LoadIdNames(folder, IdNamesFileName, names);
    EXPECT_EQ(names.IdName[0], "Ann");
    EXPECT_EQ(names.IdName[1], "B");
    EXPECT_EQ(names.IdName[2], "");
    EXPECT_EQ(names.NamedId[13], 0);
}

TEST_F(SettingsFiles, FirstStartCreatesBothFilesFromTheEmptyRecords) {
    SettingsRecord settings; // all zero and empty, as at start-up
    LoadSettingsFile(folder, SettingsFileName, settings);
    EXPECT_EQ(ReadBytes(folder / "KestoSettings.dat"),
              std::string(4, '\0') + std::string(2, '\0') + std::string(22 + 56 + 2, '\0'));
    ExpectSameSettings(settings, SettingsRecord{});

    IdNamesRecord names;
    LoadIdNames(folder, IdNamesFileName, names);
    EXPECT_EQ(FileStatus(folder, "Racers.dat"), 0); // an empty file is left behind
    EXPECT_EQ(names.IdName, IdNamesRecord{}.IdName);
    EXPECT_EQ(names.NamedId, IdNamesRecord{}.NamedId);
}

TEST_F(SettingsFiles, AnEmptySettingsFileIsWrittenFromMemoryBeforeItIsRead) {
    WriteBytes(folder / "KestoSettings.dat", "");
    SettingsRecord settings = SampleSettings();
    LoadSettingsFile(folder, SettingsFileName, settings);
    EXPECT_EQ(ReadBytes(folder / "KestoSettings.dat"), EncodeSettingsRecord(SampleSettings()));
    ExpectSameSettings(settings, SampleSettings());
}

TEST_F(SettingsFiles, AnExistingSettingsFileIsReadNotOverwritten) {
    ASSERT_TRUE(WriteSettings(folder, SampleSettings()));
    SettingsRecord inMemory; // zeros must not replace the file
    LoadSettingsFile(folder, SettingsFileName, inMemory);
    ExpectSameSettings(inMemory, SampleSettings());
    EXPECT_EQ(ReadBytes(folder / "KestoSettings.dat"), EncodeSettingsRecord(SampleSettings()));
}

TEST_F(SettingsFiles, FileStatusTellsMissingEmptyAndHoldingData) {
    EXPECT_EQ(FileStatus(folder, "KestoSettings.dat"), -1);
    WriteBytes(folder / "kestosettings.DAT", "");
    EXPECT_EQ(FileStatus(folder, "KestoSettings.dat"), 0);
    WriteBytes(folder / "kestosettings.DAT", "x");
    EXPECT_EQ(FileStatus(folder, "KestoSettings.dat"), 1);
    fs::create_directories(folder / "AFolder");
    EXPECT_EQ(FileStatus(folder, "AFolder"), -1);
    EXPECT_EQ(FileStatus(folder / "nowhere", "KestoSettings.dat"), -1);
    EXPECT_EQ(FileStatus(folder, ""), -1);
}

TEST_F(SettingsFiles, FilesAreFoundWhateverTheirLetterCase) {
    WriteBytes(folder / "KESTOSETTINGS.DAT", EncodeSettingsRecord(SampleSettings()));
    SettingsRecord loaded;
    LoadSettingsFile(folder, SettingsFileName, loaded);
    ExpectSameSettings(loaded, SampleSettings());

    IdNamesRecord names;
    names.IdName[2] = "Cy";
    ASSERT_TRUE(SaveIdNames(folder, IdNamesFileName, names));
    WriteBytes(folder / "racers.dat", ""); // now two spellings exist: the exact one wins
    IdNamesRecord back;
    LoadIdNames(folder, IdNamesFileName, back);
    EXPECT_EQ(back.IdName[2], "Cy");
    // The file already there is rewritten under its own spelling.
    ASSERT_TRUE(SaveSettingsFile(folder, SettingsFileName, SettingsRecord{}));
    EXPECT_EQ(Entries(),
              (std::vector<std::string>{"KESTOSETTINGS.DAT", "Racers.dat", "racers.dat"}));
}

bool FailEveryWrite(std::string_view step) {
    return step == "write";
}

TEST_F(SettingsFiles, AFailedSaveIsReportedAndLeavesTheOldRecordWhole) {
    IdNamesRecord names;
    names.IdName[0] = "Ann";
    ASSERT_TRUE(SaveIdNames(folder, IdNamesFileName, names));
    const std::string before = ReadBytes(folder / "Racers.dat");

    names.IdName[0] = "Someone Else";
    SetSafeWriteFaultHookForTesting(&FailEveryWrite);
    std::string error;
    const bool saved = SaveIdNames(folder, IdNamesFileName, names, &error);
    SetSafeWriteFaultHookForTesting(nullptr);

    EXPECT_FALSE(saved);
    EXPECT_EQ(error, "Input/output error");
    EXPECT_EQ(ReadBytes(folder / "Racers.dat"), before);
    EXPECT_EQ(Entries(), std::vector<std::string>{"Racers.dat"});

    std::string missingFolder;
    EXPECT_FALSE(WriteSettings(folder / "gone", SettingsRecord{}, &missingFolder));
    EXPECT_EQ(missingFolder, "No such file or directory");
}

TEST_F(SettingsFiles, ALoadThatCannotReadLeavesTheRecordAsItWas) {
    fs::create_directories(folder / "Racers.dat"); // a folder where the file should be
    IdNamesRecord names;
    names.NamedId[3] = 4;
    LoadIdNames(folder, IdNamesFileName, names);
    EXPECT_EQ(names.NamedId[3], 4);

    SettingsRecord settings = SampleSettings();
    LoadSettingsFile(folder / "gone", SettingsFileName, settings);
    ExpectSameSettings(settings, SampleSettings());
}

TEST_F(SettingsFiles, AFifoInARecordFilesPlaceIsReadAsMissingAtOnceAndLeftAsItIs) {
    ASSERT_EQ(::mkfifo((folder / "Racers.dat").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((folder / "KestoSettings.dat").c_str(), 0600), 0);
    IdNamesRecord names;
    names.IdName[0] = "Ann";
    LoadIdNames(folder, IdNamesFileName, names); // returns: no writer is waited for
    EXPECT_EQ(names.IdName[0], "");
    SettingsRecord settings = SampleSettings();
    LoadSettingsFile(folder, SettingsFileName, settings);
    ExpectSameSettings(settings, SampleSettings());
    std::string error;
    EXPECT_FALSE(SaveIdNames(folder, IdNamesFileName, names, &error));
    EXPECT_EQ(error, (folder / "Racers.dat").string() + " is not a regular file: left as it is");
    EXPECT_TRUE(fs::is_fifo(folder / "Racers.dat"));
    EXPECT_TRUE(fs::is_fifo(folder / "KestoSettings.dat"));
}

} // namespace
} // namespace kesto
