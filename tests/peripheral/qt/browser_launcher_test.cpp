// "Lapmark Web site...": the launcher finds the browser's helper and plugin
// beside the program, says so clearly when they are missing, and starts at the
// manual. The helper and the plugin are used from the build's program folder
// when they were built.
#include "peripheral/qt/browser_launcher.h"
#include "peripheral/qt/browser_plugin_interface.h"

#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPluginLoader>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <filesystem>
#include <memory>

#include <unistd.h>

namespace kesto {
namespace {

namespace fs = std::filesystem;

fs::path Folder(const QTemporaryDir& dir) {
    return fs::path(dir.path().toStdString());
}

TEST(BrowserLauncher, AMissingPluginIsReportedInsteadOfABrowser) {
    QTemporaryDir folder;
    test::FakeDialogs dialogs;
    BrowserLauncher launcher(Folder(folder), dialogs);
    launcher.ShowModal(nullptr);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.last().title, "Lapmark Web site");
    EXPECT_EQ(dialogs.last().icon, MessageIcon::Error);
    EXPECT_NE(dialogs.last().text.find("kesto_browser.so is missing"), std::string::npos)
        << dialogs.last().text;
    EXPECT_FALSE(launcher.IsOpen());
}

fs::path BuiltProgramFolder() {
    return fs::path(QCoreApplication::applicationDirPath().toStdString());
}

TEST(BrowserLauncher, AFileThatIsNoPluginIsReportedToo) {
    if (!fs::exists(BuiltProgramFolder() / BrowserHelperFileName))
        GTEST_SKIP() << "the browser helper was not built";
    QTemporaryDir folder;
    QFile fake(folder.filePath(QString::fromLatin1(BrowserPluginFileName)));
    ASSERT_TRUE(fake.open(QIODevice::WriteOnly));
    fake.write("not a library");
    fake.close();
    fs::create_symlink(BuiltProgramFolder() / BrowserHelperFileName,
                       Folder(folder) / BrowserHelperFileName);
    test::FakeDialogs dialogs;
    BrowserLauncher launcher(Folder(folder), dialogs);
    launcher.ShowModal(nullptr); // the helper says why and ends
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.last().text.find("kesto_browser.so"), std::string::npos)
        << dialogs.last().text;
}

TEST(BrowserLauncher, StartsAtTheManualOfTheProgramFolder) {
    QTemporaryDir folder;
    test::FakeDialogs dialogs;
    BrowserLauncher launcher(Folder(folder), dialogs);
    EXPECT_TRUE(launcher.StartingAddress().isEmpty()); // no manual: a blank window

    QFile manual(folder.filePath(QStringLiteral("KESTOTIMER.hlp")));
    ASSERT_TRUE(manual.open(QIODevice::WriteOnly));
    manual.close();
    EXPECT_EQ(launcher.StartingAddress(),
              QUrl::fromLocalFile(folder.filePath(QStringLiteral("KESTOTIMER.hlp"))).toString());
    EXPECT_TRUE(launcher.StartingAddress().startsWith("file:///"));
}

// --- the helper process, as built beside the test program -------------------

TEST(BrowserLauncher, TheHelperShowsTheManualWhileTheTimerTakesNoInput) {
    if (!fs::exists(BuiltProgramFolder() / BrowserHelperFileName))
        GTEST_SKIP() << "the browser helper was not built";
    test::FakeDialogs dialogs;
    BrowserLauncher launcher(BuiltProgramFolder(), dialogs);
    const QString manual = launcher.StartingAddress();
    ASSERT_FALSE(manual.isEmpty()) << "the manual is not in the program folder";
    QLineEdit timerWindow;
    timerWindow.show();

    ASSERT_TRUE(launcher.Open());
    QByteArray shown;
    QDeadlineTimer deadline(30000);
    while (!shown.contains('\n') && launcher.IsOpen() && !deadline.hasExpired()) {
        QTest::qWait(20);
        shown += launcher.Helper().readAllStandardOutput();
    }
    EXPECT_EQ(QString::fromUtf8(shown), "shown " + manual + "\tKesto Timer Help\n");
    QTest::keyClicks(&timerWindow, "x");
    EXPECT_TRUE(timerWindow.text().isEmpty()); // blocked, as behind a modal window

    launcher.Close();
    EXPECT_FALSE(launcher.IsOpen());
    QTest::keyClicks(&timerWindow, "x");
    EXPECT_EQ(timerWindow.text(), "x");
    EXPECT_TRUE(dialogs.shown.empty());
}

// --- the plugin's window, loaded into the test program ------------------------

class BrowserPluginTest : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path file = BuiltProgramFolder() / BrowserPluginFileName;
        if (!fs::exists(file))
            GTEST_SKIP() << "the browser plugin was not built";
        if (geteuid() == 0) // as the helper does: Chromium's sandbox refuses root
            qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        loader.setFileName(QString::fromStdString(file.string()));
        plugin = qobject_cast<BrowserPlugin*>(loader.instance());
        ASSERT_NE(plugin, nullptr) << loader.errorString().toStdString();
    }

    test::FakeDialogs dialogs;
    BrowserLauncher launcher{BuiltProgramFolder(), dialogs};
    QPluginLoader loader;
    BrowserPlugin* plugin = nullptr;
};

QStringList Addresses(QDialog& window) {
    auto* box = window.findChild<QComboBox*>("cboAddress");
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

// Waits, with a bounded deadline, for the page loads to settle.
bool WaitForTitle(QDialog& window, const QString& title) {
    QDeadlineTimer deadline(30000);
    while (window.windowTitle() != title && !deadline.hasExpired())
        QTest::qWait(20);
    return window.windowTitle() == title;
}

TEST_F(BrowserPluginTest, AnEmptyStartingAddressOpensBlankAndGoesNowhere) {
    std::unique_ptr<QDialog> window(plugin->CreateBrowserWindow(QString(), nullptr));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->objectName(), "frmKestoBrowser");
    window->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Addresses(*window).isEmpty());
    EXPECT_FALSE(window->findChild<QTimer*>("timTimer")->isActive());
    QObject* view = window->findChild<QObject*>("brwWebBrowser");
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->property("url").toUrl().isEmpty());
    EXPECT_NE(window->windowTitle(), "Working...");
}

TEST_F(BrowserPluginTest, ShowsTheManualAndKeepsEachAddressOnceMostRecentFirst) {
    QTemporaryDir pages;
    QFile other(pages.filePath(QStringLiteral("other.html")));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("<html><head><title>Other page</title></head><body>B</body></html>");
    other.close();
    QString manual = launcher.StartingAddress();
    ASSERT_FALSE(manual.isEmpty()) << "the manual is not in the program folder";
    QString otherAddress = QUrl::fromLocalFile(other.fileName()).toString();

    std::unique_ptr<QDialog> window(plugin->CreateBrowserWindow(manual, nullptr));
    window->show();
    ASSERT_TRUE(WaitForTitle(*window, "Kesto Timer Help")) << window->windowTitle().toStdString();
    EXPECT_EQ(Addresses(*window), QStringList{manual});

    auto* box = window->findChild<QComboBox*>("cboAddress");
    box->lineEdit()->setText(otherAddress);
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    ASSERT_TRUE(WaitForTitle(*window, "Other page"));
    EXPECT_EQ(Addresses(*window), (QStringList{otherAddress, manual}));

    box->lineEdit()->setText(manual);
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    ASSERT_TRUE(WaitForTitle(*window, "Kesto Timer Help"));
    EXPECT_EQ(Addresses(*window), (QStringList{manual, otherAddress}));
    window->close();
}

} // namespace
} // namespace kesto
