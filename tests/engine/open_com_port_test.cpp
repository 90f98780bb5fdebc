#include "engine/open_com_port.h"

#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kesto {
namespace {

using test::TestRace;

// Records every call the hooks receive, in order, with what the state held then.
struct HookLog {
    bool settingsShowing = false;
    std::vector<std::string> calls;
    std::function<void()> onShowSettings;

    OpenComPortHooks Hooks(RaceState& state) {
        OpenComPortHooks hooks;
        hooks.settingsWindowShowing = [this] { return settingsShowing; };
        hooks.showSettingsWindow = [this] {
            calls.push_back("showSettings");
            if (onShowSettings)
                onShowSettings();
        };
        hooks.closeSettingsWindow = [this] { calls.push_back("closeSettings"); };
        hooks.composeTitle = [this, &state] {
            calls.push_back(state.DemoMode ? "composeTitle(demo)" : "composeTitle");
        };
        return hooks;
    }
};

class OpenComPortTest : public ::testing::Test {
protected:
    bool Open(int port) { return OpenComPort(race.context, port, log.Hooks(race.state)); }

    TestRace race;
    HookLog log;
};

TEST_F(OpenComPortTest, OpensTheNumberedPortWithoutAQuestion) {
    EXPECT_TRUE(Open(3));
    EXPECT_TRUE(race.port.open);
    EXPECT_EQ(race.port.openedPort, 3);
    EXPECT_TRUE(race.dialogs.shown.empty());
    EXPECT_TRUE(log.calls.empty());

    // Changing the number reopens on the new port.
    EXPECT_TRUE(Open(16));
    EXPECT_EQ(race.port.openedPort, 16);
    EXPECT_TRUE(Open(1));
    EXPECT_EQ(race.port.openedPort, 1);
    EXPECT_TRUE(race.dialogs.shown.empty());
}

TEST_F(OpenComPortTest, AReopenDuringARaceRaisesRtsAgain) {
    // Settings OK during a race reopens the port, and opening drops RTS: a
    // decoder that runs its clock from RTS must see it raised again.
    race.state.RtsRaised = true;
    race.port.rts = true;
    EXPECT_TRUE(Open(3));
    EXPECT_TRUE(race.port.rts);
    race.state.RtsRaised = false; // between races RTS stays down
    EXPECT_TRUE(Open(3));
    EXPECT_FALSE(race.port.rts);
}

TEST_F(OpenComPortTest, NumberOutsideOneToSixteenIsRefusedAndThePortLeftAsItWas) {
    ASSERT_TRUE(Open(5));
    for (int bad : {0, 17, -3, 32767}) {
        SCOPED_TRACE(bad);
        race.dialogs.shown.clear();
        EXPECT_FALSE(Open(bad));
        ASSERT_EQ(race.dialogs.shown.size(), 1u);
        const Message& box = race.dialogs.last();
        EXPECT_EQ(box.text, "Invalid Port Number");
        EXPECT_EQ(box.buttons, MessageButtons::Ok);
        EXPECT_TRUE(race.port.open);
        EXPECT_EQ(race.port.openedPort, 5);
    }
    EXPECT_FALSE(race.state.DemoMode);
    EXPECT_TRUE(log.calls.empty());
}

TEST_F(OpenComPortTest, FailureAsksWithTheComPortBox) {
    race.port.failOpen = true;
    race.dialogs.answers = {MessageAnswer::Yes};
    EXPECT_FALSE(Open(2));
    ASSERT_EQ(race.dialogs.shown.size(), 1u);
    const Message& box = race.dialogs.last();
    EXPECT_EQ(box.title, "Com Port");
    EXPECT_EQ(box.text, "Com Port ERROR!\n"
                        "To Select a Different PORT click \"Yes\"\n"
                        "To use Demo mode, click \"No\"");
    EXPECT_EQ(box.icon, MessageIcon::Error);
    EXPECT_EQ(box.buttons, MessageButtons::YesNo);
    EXPECT_FALSE(race.port.open);
}

TEST_F(OpenComPortTest, ADeviceAnotherTimerHoldsIsSaidFirst) {
    race.port.failOpen = true;
    race.port.inUseElsewhere = true;
    race.dialogs.answers = {MessageAnswer::Ok, MessageAnswer::Yes};
    EXPECT_FALSE(Open(2));
    ASSERT_EQ(race.dialogs.shown.size(), 2u);
    EXPECT_EQ(race.dialogs.shown[0].title, "Com Port");
    EXPECT_EQ(race.dialogs.shown[0].text,
              "COM2 is in use by another program, perhaps another timer.\n"
              "Only one program can read the decoder: close the other one, or choose another "
              "port.");
    EXPECT_EQ(race.dialogs.shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(race.dialogs.shown[1].text.substr(0, 15), "Com Port ERROR!");
}

TEST_F(OpenComPortTest, NoTicksDemoModeThenRefreshesTheTitleAndUnloadsSettings) {
    race.port.failOpen = true;
    log.settingsShowing = true;
    race.dialogs.answers = {MessageAnswer::No};
    EXPECT_FALSE(Open(4));
    EXPECT_TRUE(race.state.DemoMode);
    EXPECT_FALSE(race.state.KeepSettingsOpen);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"composeTitle(demo)", "closeSettings"}));
}

TEST_F(OpenComPortTest, YesWithSettingsOpenKeepsThemOpenForAnotherChoice) {
    race.port.failOpen = true;
    log.settingsShowing = true;
    race.dialogs.answers = {MessageAnswer::Yes};
    EXPECT_FALSE(Open(4));
    EXPECT_TRUE(race.state.KeepSettingsOpen);
    EXPECT_FALSE(race.state.DemoMode);
    EXPECT_TRUE(log.calls.empty());
}

TEST_F(OpenComPortTest, YesAtStartUpShowsTheSettingsWhereAnotherPortCanOpen) {
    race.port.failOpen = true;
    race.dialogs.answers = {MessageAnswer::Yes};
    // The settings window's OK opens the newly chosen port from inside the modal window.
    log.onShowSettings = [this] {
        race.port.failOpen = false;
        EXPECT_TRUE(Open(7));
    };
    EXPECT_FALSE(Open(4));
    EXPECT_EQ(log.calls, std::vector<std::string>{"showSettings"});
    EXPECT_FALSE(race.state.KeepSettingsOpen);
    EXPECT_FALSE(race.state.DemoMode);
    EXPECT_TRUE(race.port.open);
    EXPECT_EQ(race.port.openedPort, 7);
}

TEST_F(OpenComPortTest, FailureWithAnOpenPortLeavesItClosed) {
    ASSERT_TRUE(Open(1));
    race.port.failOpen = true;
    race.dialogs.answers = {MessageAnswer::No};
    EXPECT_FALSE(Open(2));
    EXPECT_FALSE(race.port.open);
    EXPECT_TRUE(race.state.DemoMode);
}

TEST_F(OpenComPortTest, EmptyHooksAreSkipped) {
    race.port.failOpen = true;
    race.dialogs.answers = {MessageAnswer::Yes, MessageAnswer::No};
    OpenComPortHooks none;
    EXPECT_FALSE(OpenComPort(race.context, 3, none));
    EXPECT_FALSE(race.state.KeepSettingsOpen);
    EXPECT_FALSE(OpenComPort(race.context, 3, none));
    EXPECT_TRUE(race.state.DemoMode);
}

} // namespace
} // namespace kesto
