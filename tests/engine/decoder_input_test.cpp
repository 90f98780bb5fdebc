#include "engine/decoder_input.h"

#include "support/test_doubles.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

class DecoderInput : public ::testing::Test {
protected:
    void SetUp() override {
        race.port.open = true;
        race.state.Settings.MinLapTime = 1.0f;
    }
    void Feed(const std::string& bytes) {
        race.port.Feed(bytes);
        ReadDecoderPort(race.context, buffer);
    }
    RaceState& state() { return race.state; }

    test::TestRace race;
    ReceiveBuffer buffer;
};

TEST_F(DecoderInput, DetectionLineCountsALapForItsCar) {
    Feed("@0512345678\n");
    EXPECT_EQ(state().LapCount[4], 1);
    EXPECT_EQ(state().LastPassTime[4], 45296780);
    EXPECT_EQ(state().RaceClock, 0); // only clock lines move the clock
}

TEST_F(DecoderInput, ClockLineSetsTheRaceClockAndCountsNothing) {
    race.sounds.CarSoundEnabled[EachLapSound] = 1;
    Feed("@00123456\n");
    EXPECT_EQ(state().RaceClock, 45296000);
    for (int16_t laps : state().LapCount)
        EXPECT_EQ(laps, 0);
    EXPECT_TRUE(race.player.played.empty());
}

TEST_F(DecoderInput, LinesWithoutAValidCarChangeNothing) {
    Feed("@1512345678\n@AB12345678\n@0012\rX\nX0512345678\n 0512345678\n\n");
    for (int16_t laps : state().LapCount)
        EXPECT_EQ(laps, 0);
    EXPECT_EQ(state().RaceClock, 12 * 3600000); // the malformed clock reads what it can
}

TEST_F(DecoderInput, LinesAreParsedInArrivalOrderAcrossSmallReads) {
    race.port.maxReadSize = 3;
    // Car 3: passes at 1.00 s and 1.50 s; with 1 s minimum the second is no lap.
    // Were the lines taken in another order the counts would differ.
    Feed("@00000001\r\n@0300000100\r\n@0300000150\r\n@0300000250\n@00000003\n");
    EXPECT_EQ(state().LapCount[2], 2);
    EXPECT_EQ(state().LastPassTime[2], 2500);
    EXPECT_EQ(state().RaceClock, 3000);
    EXPECT_EQ(buffer.PendingSize(), 0u);
}

TEST_F(DecoderInput, UnfinishedLineWaitsForTheNextTick) {
    Feed("@05123456");
    EXPECT_EQ(state().LapCount[4], 0);
    Feed("78\r\n");
    EXPECT_EQ(state().LapCount[4], 1);
    EXPECT_EQ(state().LastPassTime[4], 45296780);
}

TEST_F(DecoderInput, EndlessNoiseIsCappedAndTheNextLineStillCounts) {
    race.port.Feed(std::string(200000, 'z'));
    while (!race.port.input.empty()) { // one tick after another
        ReadDecoderPort(race.context, buffer);
        EXPECT_LE(buffer.PendingSize(), ReceiveBuffer::MaxLineLength);
    }
    Feed("\n@0700000500\n");
    EXPECT_EQ(state().LapCount[6], 1);
}

TEST_F(DecoderInput, AClosedPortIsNotRead) {
    race.port.open = false;
    race.port.Feed("@0512345678\n");
    ReadDecoderPort(race.context, buffer);
    EXPECT_EQ(state().LapCount[4], 0);
    EXPECT_FALSE(race.port.input.empty());
}

TEST_F(DecoderInput, OneTickReadsABoundedAmountAndLeavesTheRest) {
    std::string flood;
    while (flood.size() <= static_cast<std::size_t>(MaxBytesPerTick))
        flood += "@00000001\n";
    flood += "@00000009\n";
    Feed(flood);
    EXPECT_EQ(state().RaceClock, 1000);
    EXPECT_FALSE(race.port.input.empty());
    ReadDecoderPort(race.context, buffer);
    EXPECT_EQ(state().RaceClock, 9000);
}

// A port that reports characters it never delivers must not hang the tick.
class StuckPort final : public DecoderPort {
public:
    bool Open(int) override { return true; }
    void Close() override {}
    bool IsOpen() const override { return true; }
    int BytesAvailable() override { return 5; }
    std::string Read(int) override { return {}; }
    bool SetRts(bool) override { return false; }
};

TEST_F(DecoderInput, APortThatDeliversNothingEndsTheRead) {
    StuckPort stuck;
    RaceContext context{race.state,  race.sounds, race.player, race.dialogs,
                        race.random, race.clock,  stuck};
    ReadDecoderPort(context, buffer);
    SUCCEED();
}

TEST_F(DecoderInput, TypedRecordWithoutLineFeedIsParsed) {
    ParseDecoderRecord(race.context, "@0900000250");
    EXPECT_EQ(state().LapCount[8], 1);
    EXPECT_EQ(state().LastPassTime[8], 2500);
    ParseDecoderRecord(race.context, "@00000010");
    EXPECT_EQ(state().RaceClock, 10000);
}

} // namespace
} // namespace kesto
