#include "config/settings_lists.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

using Entries = std::vector<std::string>;

TEST(SettingsLists, TrackLengthsRunByOneTo75ThenByFiveTo2200ThenOneMile) {
    const Entries lengths = TrackLengthEntries();
    ASSERT_EQ(lengths.size(), 492u);
    EXPECT_EQ(lengths[0], "10");
    EXPECT_EQ(lengths[65], "75"); // 10..75: 66 entries
    EXPECT_EQ(lengths[66], "80");
    EXPECT_EQ(lengths[490], "2200"); // 80..2200: 425 entries
    EXPECT_EQ(lengths[491], "5280");
}

TEST(SettingsLists, MinimumLapTimesRunByQuartersTo10ThenBySecondsTo60) {
    const Entries times = MinLapTimeEntries();
    ASSERT_EQ(times.size(), 87u);
    EXPECT_EQ((Entries{times[0], times[1], times[2], times[3], times[4]}),
              (Entries{"1", "1.25", "1.5", "1.75", "2"}));
    EXPECT_EQ(times[36], "10"); // 1..10 by 0.25: 37 entries
    EXPECT_EQ(times[37], "11");
    EXPECT_EQ(times[86], "60");
}

TEST(SettingsLists, DelaysPortsFirstLapAndScales) {
    const Entries delays = StartDelayEntries();
    ASSERT_EQ(delays.size(), 31u);
    EXPECT_EQ(delays.front(), "0");
    EXPECT_EQ(delays.back(), "30");
    const Entries ports = PortEntries();
    ASSERT_EQ(ports.size(), 16u);
    EXPECT_EQ(ports.front(), "1");
    EXPECT_EQ(ports.back(), "16");
    EXPECT_EQ(FirstLapEntries(), (Entries{"0", "1"}));
    EXPECT_EQ(ScaleEntries(), (Entries{"1:1", "1:2", "1:4", "1:8", "1:10", "1:12", "1:18", "1:24",
                                       "1:25", "1:32", "1:43", "1:64", "1:72"}));
}

TEST(ConvertScale, EveryScaleOfTheListGivesItsDivisorAnythingElseKeepsIt) {
    int16_t divisor = 0;
    for (const std::string& scale : ScaleEntries()) {
        ConvertScale(scale, divisor);
        EXPECT_EQ(std::to_string(divisor), scale.substr(2)) << scale;
    }
    divisor = 24;
    for (const char* text : {"", "1:3", "24", "1:24 ", "1:240"}) {
        ConvertScale(text, divisor);
        EXPECT_EQ(divisor, 24) << text;
    }
}

TEST(SpeedMultiplier, OneMileAtOneTo24ReadsAOneSecondLapAs86400Mph) {
    EXPECT_FLOAT_EQ(ComputeSpeedMultiplier(5280, 24), 86400.0f);
    EXPECT_FLOAT_EQ(ComputeSpeedMultiplier(10, 1), 6.818182f);
    EXPECT_EQ(ComputeSpeedMultiplier(10, 1), static_cast<float>(10.0 / 5280.0 * 3600.0));
    EXPECT_EQ(ComputeSpeedMultiplier(2200, 0), 0.0f); // first run: no scale converted yet
}

} // namespace
} // namespace kesto
