#include "base/safe_write.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace kesto {
namespace {

namespace fs = std::filesystem;

class SafeWrite : public test::TempFolderTest {
protected:
    void TearDown() override {
        SetSafeWriteFaultHookForTesting(nullptr);
        TempFolderTest::TearDown();
    }
};

std::string g_failingStep;
bool FailAtStep(std::string_view step) {
    return step == g_failingStep;
}

TEST_F(SafeWrite, ReplacesTheWholeFile) {
    WriteBytes(folder / "a.dat", "a much longer old content");
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(folder / "a.dat", "new", &error));
    EXPECT_EQ(ReadBytes(folder / "a.dat"), "new");
    EXPECT_EQ(Entries(), std::vector<std::string>{"a.dat"});
}

TEST_F(SafeWrite, AFailureAtAnyStepLeavesTheOldFileWholeAndNoLitter) {
    for (const char* step : {"open", "write", "sync", "rename"}) {
        SCOPED_TRACE(step);
        WriteBytes(folder / "a.dat", "old and whole");
        g_failingStep = step;
        SetSafeWriteFaultHookForTesting(&FailAtStep);
        std::string error;
        EXPECT_FALSE(WriteFileAtomically(folder / "a.dat", "new", &error));
        EXPECT_EQ(error, "Input/output error");
        EXPECT_EQ(ReadBytes(folder / "a.dat"), "old and whole");
        EXPECT_EQ(Entries(), std::vector<std::string>{"a.dat"});
    }
}

TEST_F(SafeWrite, ReportsAMissingFolderOrAFolderInTheWay) {
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(folder / "gone" / "a.dat", "x", &error));
    EXPECT_EQ(error, "No such file or directory");
    fs::create_directories(folder / "a.dat");
    EXPECT_FALSE(WriteFileAtomically(folder / "a.dat", "x", &error));
    EXPECT_EQ(error, "Is a directory");
}

TEST_F(SafeWrite, KeepsTheOldFilesPermissions) {
    WriteBytes(folder / "a.dat", "old");
    fs::permissions(folder / "a.dat",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(WriteFileAtomically(folder / "a.dat", "new", nullptr));
    EXPECT_EQ(fs::status(folder / "a.dat").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(SafeWrite, ReadsAtMostTheLimit) {
    WriteBytes(folder / "big.dat", std::string(100000, 'x'));
    std::string bytes;
    ASSERT_TRUE(ReadFilePrefix(folder / "big.dat", 70000, bytes, nullptr));
    EXPECT_EQ(bytes.size(), 70000u);
    ASSERT_TRUE(ReadFilePrefix(folder / "big.dat", 1000000, bytes, nullptr));
    EXPECT_EQ(bytes.size(), 100000u);
    std::string error;
    EXPECT_FALSE(ReadFilePrefix(folder / "none.dat", 10, bytes, &error));
    EXPECT_EQ(error, "No such file or directory");
}

TEST_F(SafeWrite, ALinkOrAFifoInTheFilesPlaceIsLeftAsItIs) {
    WriteBytes(folder / "precious.txt", "PRECIOUS DATA");
    fs::create_symlink(folder / "precious.txt", folder / "link.dat");
    ASSERT_EQ(::mkfifo((folder / "fifo.dat").c_str(), 0600), 0);
    for (const char* name : {"link.dat", "fifo.dat"}) {
        std::string error;
        EXPECT_FALSE(WriteFileAtomically(folder / name, "new", &error));
        EXPECT_EQ(error, (folder / name).string() + " is not a regular file: left as it is");
    }
    EXPECT_TRUE(fs::is_symlink(folder / "link.dat"));
    EXPECT_EQ(ReadBytes(folder / "precious.txt"), "PRECIOUS DATA");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"fifo.dat", "link.dat", "precious.txt"}));
}

TEST_F(SafeWrite, OnlyRegularFilesAreReadAndAFifoNeverWaits) {
    ASSERT_EQ(::mkfifo((folder / "fifo.dat").c_str(), 0600), 0);
    std::string bytes;
    std::string error;
    EXPECT_FALSE(ReadFilePrefix(folder / "fifo.dat", 10, bytes, &error)); // returns at once
    EXPECT_EQ(error, "Not a regular file");
    EXPECT_FALSE(ReadFilePrefix("/dev/zero", 10, bytes, &error));
    EXPECT_EQ(error, "Not a regular file");
    WriteBytes(folder / "a.dat", "abc");
    fs::create_symlink(folder / "a.dat", folder / "to-a.dat");
    ASSERT_TRUE(ReadFilePrefix(folder / "to-a.dat", 10, bytes, &error)); // a link to a file reads
    EXPECT_EQ(bytes, "abc");
}

} // namespace
} // namespace kesto
