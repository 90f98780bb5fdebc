#include "config/folder_check.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace kesto {
namespace {

namespace fs = std::filesystem;

class FolderCheck : public test::TempFolderTest {};

TEST_F(FolderCheck, LinksAndOtherThanRegularFilesAreToldOnceAtStartUp) {
    EXPECT_TRUE(FilesLeftAsTheyAre(folder).empty());
    EXPECT_EQ(FilesLeftAsTheyAreText({}), "");
    WriteBytes(folder / "KestoSettings.dat", "regular");
    ASSERT_EQ(::mkfifo((folder / "Racers.dat").c_str(), 0600), 0);
    fs::create_symlink(folder / "elsewhere", folder / "kestoRaceLag.dat");
    fs::create_directories(folder / "LmSound" / "LMSounds.dat");
    const std::vector<fs::path> left = FilesLeftAsTheyAre(folder);
    EXPECT_EQ(left, (std::vector<fs::path>{folder / "Racers.dat", folder / "kestoRaceLag.dat",
                                           folder / "LmSound" / "LMSounds.dat"}));
    const std::string text = FilesLeftAsTheyAreText(left);
    EXPECT_EQ(text.substr(0, text.find('\n')),
              "These files of the program folder are links or not regular files (a folder, a "
              "FIFO, a device): the timer never writes them, and reads them only through a link "
              "to a regular file. They are left as they are.");
    EXPECT_NE(text.find("\n" + (folder / "Racers.dat").string()), std::string::npos);
}

} // namespace
} // namespace kesto
