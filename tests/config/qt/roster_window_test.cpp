#include "config/qt/roster_window.h"

#include "config/roster_file.h"
#include "support/temp_folder.h"
#include "support/test_doubles.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace kesto {
namespace {

namespace fs = std::filesystem;

class RosterWindowTest : public test::TempFolderTest {
protected:
    FrmKestoAddRacer& Open() {
        window = std::make_unique<FrmKestoAddRacer>(dialogs, folder, [this] { ++listFills; });
        window->show();
        return *window;
    }
    std::string Roster() const { return ReadBytes(folder / "kestoRacers.dat"); }
    static QStringList Shown(const FrmKestoAddRacer& w) {
        QStringList names;
        for (int row = 0; row < w.lstRacers()->count(); ++row)
            names << w.lstRacers()->item(row)->text();
        return names;
    }
    void Select(FrmKestoAddRacer& w, int row) {
        w.lstRacers()->setCurrentRow(row);
        ASSERT_TRUE(w.lstRacers()->item(row)->isSelected());
    }

    test::FakeDialogs dialogs;
    int listFills = 0;
    std::unique_ptr<FrmKestoAddRacer> window;
};

TEST_F(RosterWindowTest, TheRosterWithItsCountCaptionsAndTips) {
    ASSERT_TRUE(WriteRoster(folder, {"Ann", "Bob", "Cy"}));
    FrmKestoAddRacer& w = Open();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("  Lapmark - Racers"));
    EXPECT_EQ(Shown(w),
              (QStringList{QStringLiteral("Ann"), QStringLiteral("Bob"), QStringLiteral("Cy")}));
    EXPECT_EQ(w.lblQty()->text(), QStringLiteral("Total number of Racers: 3"));
    EXPECT_EQ(w.cmdLoadNames()->text(), QStringLiteral("&Load Names From file"));
    EXPECT_EQ(w.cmdLoadNames()->toolTip(),
              QStringLiteral("Select file to load names into list box "));
    EXPECT_EQ(w.cmdAdd()->text(), QStringLiteral("&Add"));
    EXPECT_EQ(w.cmdAdd()->toolTip(), QStringLiteral("Add new racer"));
    EXPECT_EQ(w.cmdModify()->text(), QStringLiteral("&Modify"));
    EXPECT_EQ(w.cmdModify()->toolTip(), QStringLiteral("Select racer from list to modify"));
    EXPECT_EQ(w.cmdDelete()->text(), QStringLiteral("&Delete"));
    EXPECT_EQ(w.cmdDelete()->toolTip(), QStringLiteral("Select racer from list to delete"));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(RosterWindowTest, AMissingRosterIsSaidOnceAndLeavesAnEmptyList) {
    FrmKestoAddRacer& w = Open();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.last().title, "");
    EXPECT_EQ(w.lstRacers()->count(), 0);
    EXPECT_EQ(w.lblQty()->text(), QStringLiteral("Total number of Racers: 0"));
}

TEST_F(RosterWindowTest, AddingAnnLeeStoresItAsANewLastLine) {
    ASSERT_TRUE(WriteRoster(folder, {"Bob"}));
    FrmKestoAddRacer& w = Open();
    QTest::mouseClick(w.cmdAdd(), Qt::LeftButton);
    FrmAddModifyRacer* name = w.NameWindow();
    ASSERT_TRUE(name->isVisible());
    EXPECT_EQ(name->windowTitle(), QStringLiteral("Add Racer"));
    EXPECT_EQ(name->lblAddModify()->text(), QStringLiteral("Enter new Racer's name"));
    EXPECT_EQ(name->txtADDModify()->text(), QString());
    EXPECT_EQ(name->cmdOK()->text(), QStringLiteral("&OK"));
    EXPECT_EQ(name->cmdCancel()->text(), QStringLiteral("&Cancel"));
    QTest::keyClicks(name->txtADDModify(), QStringLiteral("  ann lee "));
    QTest::mouseClick(name->cmdOK(), Qt::LeftButton);

    EXPECT_FALSE(name->isVisible());
    EXPECT_EQ(Roster(), "\"Bob\"\r\n\"Ann Lee\"\r\n");
    EXPECT_EQ(Shown(w), (QStringList{QStringLiteral("Bob"), QStringLiteral("Ann Lee")}));
    EXPECT_EQ(w.lblQty()->text(), QStringLiteral("Total number of Racers: 2"));
}

TEST_F(RosterWindowTest, ADuplicateIsSaidAndTheNameWindowStaysOpen) {
    ASSERT_TRUE(WriteRoster(folder, {"Ann"}));
    FrmKestoAddRacer& w = Open();
    w.cmdAdd_Click();
    w.NameWindow()->txtADDModify()->setText(QStringLiteral("ANN"));
    w.NameWindow()->cmdOK_Click();
    EXPECT_EQ(dialogs.last().text, "Ann already exists");
    EXPECT_TRUE(w.NameWindow()->isVisible());
    EXPECT_EQ(Roster(), "\"Ann\"\r\n");

    // Cancel empties the box and closes.
    w.NameWindow()->cmdCancel_Click();
    EXPECT_FALSE(w.NameWindow()->isVisible());
    EXPECT_EQ(w.NameWindow()->txtADDModify()->text(), QString());
}

TEST_F(RosterWindowTest, ModifyTakesTheSelectedNameAndRewritesTheFile) {
    ASSERT_TRUE(WriteRoster(folder, {"Ann", "Bob", "Cy"}));
    FrmKestoAddRacer& w = Open();
    Select(w, 1);
    w.cmdModify_Click();
    FrmAddModifyRacer* name = w.NameWindow();
    EXPECT_EQ(name->windowTitle(), QStringLiteral("Modify Racer"));
    EXPECT_EQ(name->lblAddModify()->text(), QStringLiteral("Modify Racer's name"));
    EXPECT_EQ(name->txtADDModify()->text(), QStringLiteral("Bob"));
    EXPECT_EQ(name->RosterEditIndex(), 1u);
    // While a name is typed the roster keeps its order.
    EXPECT_FALSE(w.cmdDelete()->isEnabled());
    EXPECT_FALSE(w.cmdLoadNames()->isEnabled());
    name->txtADDModify()->setText(QStringLiteral("robert smith"));
    name->cmdOK_Click();
    EXPECT_EQ(Roster(), "\"Ann\"\r\n\"Robert Smith\"\r\n\"Cy\"\r\n");
    EXPECT_EQ(Shown(w).at(1), QStringLiteral("Robert Smith"));
    EXPECT_TRUE(w.cmdDelete()->isEnabled());
    EXPECT_TRUE(w.cmdLoadNames()->isEnabled());
}

TEST_F(RosterWindowTest, ModifyOrDeleteWithoutASelectionSaysSo) {
    ASSERT_TRUE(WriteRoster(folder, {}));
    FrmKestoAddRacer& w = Open();
    w.cmdModify_Click();
    EXPECT_EQ(dialogs.last().text, "Select name from list to modify");
    EXPECT_EQ(dialogs.last().title, "Modify");
    EXPECT_EQ(dialogs.last().icon, MessageIcon::Information);
    EXPECT_FALSE(w.NameWindow()->isVisible());
    w.cmdDelete_Click();
    EXPECT_EQ(dialogs.last().text, "Select name from list to delete");
    EXPECT_EQ(dialogs.last().title, "Delete");
    EXPECT_EQ(dialogs.last().icon, MessageIcon::Information);
}

TEST_F(RosterWindowTest, DeletingTheLastEntryLeavesAnEmptyFileAndACountOfZero) {
    ASSERT_TRUE(WriteRoster(folder, {"Ann"}));
    FrmKestoAddRacer& w = Open();
    Select(w, 0);
    QTest::mouseClick(w.cmdDelete(), Qt::LeftButton);
    EXPECT_TRUE(fs::exists(folder / "kestoRacers.dat"));
    EXPECT_EQ(Roster(), "");
    EXPECT_EQ(w.lstRacers()->count(), 0);
    EXPECT_EQ(w.lblQty()->text(), QStringLiteral("Total number of Racers: 0"));
}

TEST_F(RosterWindowTest, ImportingTomCommaJerryGivesTwoEntries) {
    ASSERT_TRUE(WriteRoster(folder, {"Ann"}));
    WriteBytes(folder / "names.txt", "Tom,Jerry\r\n");
    FrmKestoAddRacer& w = Open();
    dialogs.files = {(folder / "names.txt").string()};
    w.cmdLoadNames_Click();
    ASSERT_EQ(dialogs.fileChoices.size(), 1u);
    EXPECT_EQ(dialogs.fileChoices[0].title, "Select File to Load Names");
    EXPECT_EQ(dialogs.fileChoices[0].filter, "Dat Files(*.dat)|*.dat|Text Files(*.txt)|*.txt");
    EXPECT_FALSE(dialogs.fileChoices[0].save);
    EXPECT_EQ(Shown(w), (QStringList{QStringLiteral("Tom"), QStringLiteral("Jerry")}));
    EXPECT_EQ(w.lblQty()->text(), QStringLiteral("Total number of Racers: 2"));
    EXPECT_EQ(Roster(), "\"Tom\"\r\n\"Jerry\"\r\n");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(RosterWindowTest, ImportOfAMissingFileOrACancelledChoiceChangesNothing) {
    ASSERT_TRUE(WriteRoster(folder, {"Ann"}));
    FrmKestoAddRacer& w = Open();
    dialogs.files = {(folder / "none.txt").string(), std::string("   "), std::nullopt};
    w.cmdLoadNames_Click();
    EXPECT_EQ(dialogs.last().text, "File does not exist");
    EXPECT_EQ(dialogs.last().icon, MessageIcon::Information);
    w.cmdLoadNames_Click();
    w.cmdLoadNames_Click();
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(Shown(w), QStringList{QStringLiteral("Ann")});
    EXPECT_EQ(Roster(), "\"Ann\"\r\n");
}

TEST_F(RosterWindowTest, OkRefillsTheNameListsUnlessANameIsBeingTyped) {
    ASSERT_TRUE(WriteRoster(folder, {"Ann"}));
    FrmKestoAddRacer& w = Open();
    w.cmdAdd_Click();
    w.cmdOK_Click();
    EXPECT_EQ(dialogs.last().text, "Please close form Add Racer first");
    EXPECT_EQ(dialogs.last().title, "");
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(listFills, 0);
    // The title bar's close box is refused the same way.
    EXPECT_FALSE(w.close());
    EXPECT_EQ(dialogs.last().text, "Please close form Add Racer first");

    w.NameWindow()->cmdCancel_Click();
    w.cmdOK_Click();
    EXPECT_EQ(listFills, 1);
    EXPECT_FALSE(w.isVisible());
}

} // namespace
} // namespace kesto
