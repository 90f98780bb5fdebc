// The help window over the shipped manual: contents, index and the search
// that finds a word and lists the sections holding it.
#include "peripheral/qt/help_window.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

#include <filesystem>

namespace kesto {
namespace {

namespace fs = std::filesystem;

QString SourceDir() {
    QString fromEnvironment = qEnvironmentVariable("KESTO_SOURCE_DIR");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QStringLiteral(KESTO_SOURCE_DIR);
}

// A program folder holding the manual under another letter case.
class HelpWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        QString source = SourceDir() + QStringLiteral("/assets/Kestotimer.HLP");
        ASSERT_TRUE(QFile::copy(source, folder.filePath(QStringLiteral("KESTOTIMER.hlp"))))
            << source.toStdString();
    }

    fs::path Folder() const { return fs::path(folder.path().toStdString()); }

    QTemporaryDir folder;
};

TEST_F(HelpWindowTest, SearchFindsAWordAndListsTheSectionsHoldingIt) {
    HelpWindow window(Folder());
    ASSERT_TRUE(window.HasManual());
    window.show();
    auto* tabs = window.findChild<QTabWidget*>("tabHelpTopics");
    tabs->setCurrentIndex(2);
    auto* box = window.findChild<QLineEdit*>("txtSearch");
    QTest::keyClicks(box, "dialout");
    QTest::mouseClick(window.findChild<QPushButton*>("cmdFind"), Qt::LeftButton);

    auto* results = window.findChild<QListWidget*>("lstTopicsFound");
    QStringList found;
    for (int row = 0; row < results->count(); ++row)
        found << results->item(row)->text();
    EXPECT_TRUE(found.contains("Permission to use the port (the dialout group)"))
        << found.join('|').toStdString();
    EXPECT_TRUE(found.contains("Port errors and demo mode"));
    EXPECT_FALSE(found.contains("Sounds"));
    EXPECT_FALSE(found.contains("Index"));
    // The word is marked on the page.
    EXPECT_FALSE(window.findChild<QTextBrowser*>("txtHelpPage")->extraSelections().isEmpty());
}

TEST_F(HelpWindowTest, AWordThatIsNowhereFindsNothing) {
    HelpWindow window(Folder());
    EXPECT_TRUE(window.Search(QStringLiteral("zeppelin")).isEmpty());
    EXPECT_EQ(window.findChild<QListWidget*>("lstTopicsFound")->count(), 0);
}

TEST_F(HelpWindowTest, ContentsFollowTheHeadings) {
    HelpWindow window(Folder());
    EXPECT_EQ(window.windowTitle(), "Kesto Timer Help");
    auto* contents = window.findChild<QTreeWidget*>("treeContents");
    ASSERT_EQ(contents->topLevelItemCount(), 1);
    QTreeWidgetItem* top = contents->topLevelItem(0);
    EXPECT_EQ(top->text(0), "Kesto Timer Help");
    QStringList chapters;
    for (int i = 0; i < top->childCount(); ++i)
        chapters << top->child(i)->text(0);
    EXPECT_TRUE(chapters.contains("Setting up the decoder and the port"));
    EXPECT_TRUE(chapters.contains("Troubleshooting"));
    EXPECT_FALSE(chapters.contains("Index")); // the index has its own tab
}

TEST_F(HelpWindowTest, TheIndexListsKeywordsInOrder) {
    HelpWindow window(Folder());
    auto* index = window.findChild<QListWidget*>("lstIndex");
    ASSERT_GT(index->count(), 40);
    for (int row = 1; row < index->count(); ++row)
        EXPECT_LE(
            index->item(row - 1)->text().compare(index->item(row)->text(), Qt::CaseInsensitive), 0);
    // Typing the first letters selects the first keyword that begins with them.
    QTest::keyClicks(window.findChild<QLineEdit*>("txtIndex"), "dial");
    ASSERT_NE(index->currentItem(), nullptr);
    EXPECT_EQ(index->currentItem()->text(), "dialout group");
}

TEST_F(HelpWindowTest, ShowTopicsReusesTheOpenWindow) {
    QPointer<HelpWindow> window;
    HelpWindow* first = HelpWindow::ShowTopics(window, Folder(), nullptr);
    HelpWindow* second = HelpWindow::ShowTopics(window, Folder(), nullptr);
    EXPECT_EQ(first, second);
    EXPECT_TRUE(first->isVisible());
    first->close(); // deletes itself
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}

TEST(HelpWindowMissing, SaysWhichFileIsMissing) {
    QTemporaryDir folder;
    HelpWindow window(fs::path(folder.path().toStdString()));
    EXPECT_FALSE(window.HasManual());
    EXPECT_TRUE(
        window.findChild<QTextBrowser*>("txtHelpPage")->toPlainText().contains("Kestotimer.HLP"));
    EXPECT_TRUE(window.Search(QStringLiteral("port")).isEmpty());
}

} // namespace
} // namespace kesto
