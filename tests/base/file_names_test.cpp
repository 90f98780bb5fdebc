#include "base/file_names.h"

#include <gtest/gtest.h>

#include <fstream>

namespace kesto {
namespace {

namespace fs = std::filesystem;

class FileNames : public ::testing::Test {
protected:
    void SetUp() override {
        folder =
            fs::temp_directory_path() /
            ("kesto-names-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    fs::path folder;
};

TEST_F(FileNames, EitherSpellingReachesTheSameFileAndFolder) {
    std::ofstream(folder / "KestoRaceLag.dat") << "x";
    EXPECT_EQ(ResolveInFolder(folder, "kestoRaceLag.dat"), folder / "KestoRaceLag.dat");
    fs::create_directories(folder / "LmSound");
    std::ofstream(folder / "LmSound" / "LMSounds.dat") << "x";
    EXPECT_EQ(ResolvePath(folder, "LMSound/lmsounds.DAT"), folder / "LmSound" / "LMSounds.dat");
}

TEST_F(FileNames, MissingNameKeepsTheSpellingGivenAndExactMatchWins) {
    EXPECT_EQ(ResolveInFolder(folder, "Racers.dat"), folder / "Racers.dat");
    std::ofstream(folder / "racers.dat") << "a";
    std::ofstream(folder / "Racers.dat") << "b";
    EXPECT_EQ(ResolveInFolder(folder, "Racers.dat"), folder / "Racers.dat");
    EXPECT_EQ(ResolveInFolder(folder / "nowhere", "x.dat"), folder / "nowhere" / "x.dat");
}

} // namespace
} // namespace kesto
