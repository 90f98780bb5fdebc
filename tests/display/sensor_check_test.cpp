// The sensor check's counting rule: one hit per read that begins with an ID.
#include "display/sensor_check.h"

#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <vector>

namespace kesto {
namespace {

std::vector<int> Poll(DecoderPort& port) {
    std::vector<int> hits;
    PollSensorCheck(port, [&](int id) { hits.push_back(id); });
    return hits;
}

TEST(SensorCheckId, ReadsTheNumberAtTheStartOfARead) {
    EXPECT_EQ(SensorCheckId("7"), 7);
    EXPECT_EQ(SensorCheckId("  7\r\n"), 7);
    EXPECT_EQ(SensorCheckId("14"), 14);
    EXPECT_EQ(SensorCheckId("1"), 1);
    EXPECT_EQ(SensorCheckId("3 5 9\r\n"), 3);
    // The line end of the previous detection, delivered late, is skipped.
    EXPECT_EQ(SensorCheckId("\n9\r"), 9);
    EXPECT_EQ(SensorCheckId("\r\n 12"), 12);
}

TEST(SensorCheckId, OutsideOneToFourteenCountsForNobody) {
    EXPECT_EQ(SensorCheckId("15"), 0);
    EXPECT_EQ(SensorCheckId("0"), 0);
    EXPECT_EQ(SensorCheckId("-3"), 0);
    EXPECT_EQ(SensorCheckId(""), 0);
    EXPECT_EQ(SensorCheckId("AB"), 0);
    EXPECT_EQ(SensorCheckId("1e999"), 0);
    // Decoder race records start with "@", not with a number.
    EXPECT_EQ(SensorCheckId("@0512345678\r\n"), 0);
}

TEST(SensorCheckId, RoundsHalvesToTheEvenNumber) {
    EXPECT_EQ(SensorCheckId("7.5"), 8);
    EXPECT_EQ(SensorCheckId("6.5"), 6);
    EXPECT_EQ(SensorCheckId("14.5"), 14);
    EXPECT_EQ(SensorCheckId("14.51"), 0);
    EXPECT_EQ(SensorCheckId("0.5"), 0);
    EXPECT_EQ(SensorCheckId("0.51"), 1);
}

TEST(PollSensorCheck, CountsOneHitPerReadHoweverMuchItHolds) {
    test::FakeDecoderPort port;
    port.Open(1);
    port.Feed("3\r\n5\r\n9\r\n");
    EXPECT_EQ(Poll(port), std::vector<int>{3});
    EXPECT_TRUE(port.input.empty());
}

TEST(PollSensorCheck, ReadsAgainWhileThePortReportsInput) {
    test::FakeDecoderPort port;
    port.Open(1);
    port.maxReadSize = 3; // the port hands the input over in pieces
    port.Feed("7\r\n15\r\n9\r\n");
    EXPECT_EQ(Poll(port), (std::vector<int>{7, 9}));
    EXPECT_TRUE(port.input.empty());
}

TEST(PollSensorCheck, IgnoresReadsThatCountForNobody) {
    test::FakeDecoderPort port;
    port.Open(1);
    port.Feed("@0512345678\n");
    EXPECT_TRUE(Poll(port).empty());
    EXPECT_TRUE(port.input.empty());
}

TEST(PollSensorCheck, LeavesAClosedPortAlone) {
    test::FakeDecoderPort port;
    port.Feed("7");
    EXPECT_TRUE(Poll(port).empty());
    EXPECT_EQ(port.input, "7");
}

// A port that always has more: a broken driver or a decoder gone wild.
class EndlessPort final : public DecoderPort {
public:
    bool Open(int) override { return true; }
    void Close() override {}
    bool IsOpen() const override { return true; }
    int BytesAvailable() override { return 1; }
    std::string Read(int) override { return deliver ? "7" : ""; }
    bool SetRts(bool) override { return true; }
    bool deliver = true;
};

TEST(PollSensorCheck, AFloodingPortCannotHoldTheWindow) {
    EndlessPort port;
    std::vector<int> hits = Poll(port);
    EXPECT_FALSE(hits.empty());
    EXPECT_LE(hits.size(), 64u);
}

TEST(PollSensorCheck, APortThatClaimsInputItCannotDeliverEndsThePoll) {
    EndlessPort port;
    port.deliver = false;
    EXPECT_TRUE(Poll(port).empty());
}

} // namespace
} // namespace kesto
