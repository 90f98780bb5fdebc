// The about window: title, version of this build, description, logo, OK.
#include "peripheral/qt/about_window.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

namespace kesto {
namespace {

namespace fs = std::filesystem;

TEST(AboutWindow, ShowsTitleVersionAndDescription) {
    QTemporaryDir folder;
    FrmKestoAbout window(fs::path(folder.path().toStdString()));
    EXPECT_EQ(window.windowTitle(), "About Kesto Timer");
    EXPECT_EQ(window.findChild<QLabel*>("lblVersion")->text(), "Version 2.0.0");
    EXPECT_EQ(window.findChild<QLabel*>("lblDescription")->text(),
              "Remote Control Car racing software.");
    // Without the picture the place stays empty.
    EXPECT_TRUE(window.findChild<QLabel*>("imgLogo")->pixmap().isNull());
}

TEST(AboutWindow, ShowsTheLogoOfTheProgramFolderWhateverItsLetterCase) {
    QTemporaryDir folder;
    QImage logo(390, 147, QImage::Format_RGB32);
    logo.fill(Qt::red);
    ASSERT_TRUE(logo.save(folder.filePath(QStringLiteral("kestologo.PNG")), "PNG"));
    FrmKestoAbout window(fs::path(folder.path().toStdString()));
    EXPECT_FALSE(window.findChild<QLabel*>("imgLogo")->pixmap().isNull());
}

TEST(AboutWindow, OkClosesIt) {
    QTemporaryDir folder;
    FrmKestoAbout window(fs::path(folder.path().toStdString()));
    window.show();
    QTest::mouseClick(window.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Accepted);
}

} // namespace
} // namespace kesto
