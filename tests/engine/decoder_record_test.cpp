#include "engine/decoder_record.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

TEST(LeadingNumber, ReadsTheNumberATextBeginsWith) {
    EXPECT_EQ(LeadingNumber("12"), 12);
    EXPECT_EQ(LeadingNumber(" 7"), 7);
    EXPECT_EQ(LeadingNumber("  "), 0);
    EXPECT_EQ(LeadingNumber("5x"), 5);
    EXPECT_EQ(LeadingNumber("AB"), 0);
    EXPECT_EQ(LeadingNumber(""), 0);
    EXPECT_EQ(LeadingNumber("-3"), -3);
    EXPECT_EQ(LeadingNumber("+4"), 4);
    EXPECT_EQ(LeadingNumber("1.5"), 1.5);
    EXPECT_EQ(LeadingNumber(".5"), 0.5);
    EXPECT_EQ(LeadingNumber("1 2"), 1);
    EXPECT_EQ(LeadingNumber("1E"), 1);
    EXPECT_EQ(LeadingNumber("1e2x"), 100);
    EXPECT_EQ(LeadingNumber("-"), 0);
    EXPECT_EQ(LeadingNumber("."), 0);
    EXPECT_EQ(LeadingNumber("1e999"), 0); // no infinity reaches the race clock
}

TEST(DecoderRecord, DetectionGivesIdAndTimeInMilliseconds) {
    DecoderRecord record = ReadDecoderRecord("@0512345678\n");
    EXPECT_TRUE(record.isRecord);
    EXPECT_FALSE(record.isClock);
    EXPECT_EQ(record.id, 5);
    EXPECT_EQ(record.timeMs, 45296780); // ((12*3600 + 34*60 + 56) * 1000) + 78*10

    EXPECT_EQ(ReadDecoderRecord("@0512345678\r\n").timeMs, 45296780);
    EXPECT_EQ(ReadDecoderRecord("@0512345678").timeMs, 45296780); // typed by hand
    EXPECT_EQ(ReadDecoderRecord("@1400000001\n").timeMs, 10);
}

TEST(DecoderRecord, ClockRecordIgnoresTheHundredths) {
    DecoderRecord clock = ReadDecoderRecord("@00123456\n");
    EXPECT_TRUE(clock.isRecord);
    EXPECT_TRUE(clock.isClock);
    EXPECT_EQ(clock.timeMs, 45296000);
    EXPECT_EQ(ReadDecoderRecord("@0012345699\r\n").timeMs, 45296000);
    EXPECT_TRUE(ReadDecoderRecord("@00").isClock);
    EXPECT_EQ(ReadDecoderRecord("@00").timeMs, 0);
    EXPECT_FALSE(ReadDecoderRecord("@0").isClock); // ID 0 detection, ignored later
}

TEST(DecoderRecord, MalformedFieldsReadAsWhatTheyBeginWith) {
    EXPECT_EQ(ReadDecoderRecord("@1512345678\n").id, 15);
    EXPECT_EQ(ReadDecoderRecord("@AB12345678\n").id, 0);
    EXPECT_EQ(ReadDecoderRecord("@ 5\n").id, 5);
    EXPECT_EQ(ReadDecoderRecord("@5x\n").id, 5);
    // Hours unreadable: 34 min 56.78 s.
    EXPECT_EQ(ReadDecoderRecord("@05AB345678\n").timeMs, (34 * 60 + 56) * 1000 + 780);
    // Blank fields read as 0, fields with a leading blank as their digit.
    EXPECT_EQ(ReadDecoderRecord("@05  345678\n").timeMs, (34 * 60 + 56) * 1000 + 780);
    EXPECT_EQ(ReadDecoderRecord("@ 5 1 2 3 4\n").timeMs, (3600 + 2 * 60 + 3) * 1000 + 40);
    EXPECT_EQ(ReadDecoderRecord("@05-1000000\n").timeMs, -3600000);
}

TEST(DecoderRecord, ShortLinesGiveZeroForTheMissingFields) {
    DecoderRecord bare = ReadDecoderRecord("@\n");
    EXPECT_TRUE(bare.isRecord);
    EXPECT_EQ(bare.id, 0);
    EXPECT_EQ(bare.timeMs, 0);
    EXPECT_EQ(ReadDecoderRecord("@05").timeMs, 0);
    EXPECT_EQ(ReadDecoderRecord("@05\r\n").timeMs, 0);
    EXPECT_EQ(ReadDecoderRecord("@051\n").timeMs, 3600000); // half a field is read
    EXPECT_EQ(ReadDecoderRecord("@0512\n").timeMs, 12 * 3600000);
    EXPECT_EQ(ReadDecoderRecord("@05123456\n").timeMs, 45296000);
}

TEST(DecoderRecord, LinesNotBeginningWithAtAreNoRecords) {
    EXPECT_FALSE(ReadDecoderRecord("X0512345678\n").isRecord);
    EXPECT_FALSE(ReadDecoderRecord(" @0512345678\n").isRecord);
    EXPECT_FALSE(ReadDecoderRecord("\n").isRecord);
    EXPECT_FALSE(ReadDecoderRecord("").isRecord);
    EXPECT_FALSE(ReadDecoderRecord("\r\n").isRecord);
}

} // namespace
} // namespace kesto
