#include "config/value_file.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace kesto {
namespace {

std::vector<std::string> AllValues(std::string bytes) {
    ValueFileReader reader(std::move(bytes));
    std::vector<std::string> values;
    while (auto value = reader.Next())
        values.push_back(*value);
    return values;
}

using Values = std::vector<std::string>;

TEST(ValueFileWriter, WritesOneCommaSeparatedLinePerStatement) {
    ValueFileWriter writer;
    writer.Whole(5).Whole(3).Boolean(false).Boolean(true).Boolean(false).Whole(0).EndLine();
    writer.Text("Lag First").EndLine();
    writer.Single(6.8181818f).Single(86400).Single(0.5f).Single(-0.25f).Whole(-1).EndLine();
    EXPECT_EQ(writer.Bytes(), "5,3,#FALSE#,#TRUE#,#FALSE#,0\r\n"
                              "\"Lag First\"\r\n"
                              "6.818182,86400,0.5,-0.25,-1\r\n");
}

TEST(ValueFileWriter, SinglesKeepSevenSignificantDigitsWithAPointInAnyLocale) {
    EXPECT_EQ(FormatSingle(1636.36364f), "1636.364");
    EXPECT_EQ(FormatSingle(0.1f), "0.1");
    EXPECT_EQ(FormatSingle(2.0f), "2");
    EXPECT_EQ(FormatSingle(12345678.0f), "1.234568E+07");
    EXPECT_EQ(FormatSingle(-0.0f), "0");
    EXPECT_EQ(FormatSingle(std::numeric_limits<float>::quiet_NaN()), "0");
}

TEST(ValueFileWriter, TextIsQuotedInWindows1252WithQuotesDoubled) {
    ValueFileWriter writer;
    writer.Text("Zoë, \"Speedy\"").Text("").EndLine();
    EXPECT_EQ(writer.Bytes(), "\"Zo\xEB, \"\"Speedy\"\"\",\"\"\r\n");
    EXPECT_EQ(AllValues(writer.Bytes()), (Values{"Zoë, \"Speedy\"", ""}));
}

TEST(ValueFileWriter, AnOpenLineIsEndedInTheBytes) {
    ValueFileWriter writer;
    writer.Whole(7);
    EXPECT_EQ(writer.Bytes(), "7\r\n");
}

TEST(ValueFileReader, TakesQuotedAndUnquotedValuesSeparatedByCommasOrLineEnds) {
    EXPECT_EQ(AllValues("Tom,Jerry\r\n"), (Values{"Tom", "Jerry"}));
    EXPECT_EQ(AllValues("\"Ann\"\r\n\"Bob\"\r\n"), (Values{"Ann", "Bob"}));
    EXPECT_EQ(AllValues("\"Ann\"\n\"Bob\"\r\"Cy\""), (Values{"Ann", "Bob", "Cy"}));
    EXPECT_EQ(AllValues("  Tom ,\t\"Jerry Lee\" , Spike  \r\n"),
              (Values{"Tom", "Jerry Lee", "Spike"}));
    EXPECT_EQ(AllValues("\"Smith, John\",\"a\r\nb\""), (Values{"Smith, John", "a\r\nb"}));
}

TEST(ValueFileReader, BlankLinesHoldNoValueButAnEmptyFieldDoes) {
    EXPECT_EQ(AllValues("\r\n\r\n\"Ann\"\r\n   \r\n\r\n"), (Values{"Ann"}));
    EXPECT_EQ(AllValues("a,,b\r\n"), (Values{"a", "", "b"}));
    EXPECT_EQ(AllValues("a,\r\n"), (Values{"a", ""}));
    EXPECT_EQ(AllValues("a,"), (Values{"a", ""}));
    EXPECT_EQ(AllValues(""), Values{});
}

TEST(ValueFileReader, DamagedQuotingNeverLosesTheRestOfTheFile) {
    EXPECT_EQ(AllValues("\"unclosed, still\r\nhere"), (Values{"unclosed, still\r\nhere"}));
    EXPECT_EQ(AllValues("\"Ann\"junk,\"Bob\""), (Values{"Ann", "Bob"}));
    EXPECT_EQ(AllValues("\"Jos\xE9\""), (Values{"José"}));
}

TEST(ValueFileReader, TypedValuesAcceptBothNumberFormsAndBooleans) {
    ValueFileReader reader("5,3,#FALSE#,#TRUE#,#false#,0\r\n.5,-.25,0.5,1E+07,2.5,3.5\r\n");
    int16_t laps = 0, minutes = 0, demo = 9;
    bool timed = true, lap = false, practice = true;
    EXPECT_TRUE(reader.ReadInt16(laps));
    EXPECT_TRUE(reader.ReadInt16(minutes));
    EXPECT_TRUE(reader.ReadBoolean(timed));
    EXPECT_TRUE(reader.ReadBoolean(lap));
    EXPECT_TRUE(reader.ReadBoolean(practice));
    EXPECT_TRUE(reader.ReadInt16(demo));
    EXPECT_EQ(laps, 5);
    EXPECT_EQ(minutes, 3);
    EXPECT_FALSE(timed);
    EXPECT_TRUE(lap);
    EXPECT_FALSE(practice);
    EXPECT_EQ(demo, 0);

    float a = 0, b = 0, c = 0, d = 0;
    EXPECT_TRUE(reader.ReadSingle(a));
    EXPECT_TRUE(reader.ReadSingle(b));
    EXPECT_TRUE(reader.ReadSingle(c));
    EXPECT_TRUE(reader.ReadSingle(d));
    EXPECT_EQ(a, 0.5f);
    EXPECT_EQ(b, -0.25f);
    EXPECT_EQ(c, 0.5f);
    EXPECT_EQ(d, 1e7f);
    int16_t even = 0, up = 0;
    EXPECT_TRUE(reader.ReadInt16(even)); // halves round to even
    EXPECT_TRUE(reader.ReadInt16(up));
    EXPECT_EQ(even, 2);
    EXPECT_EQ(up, 4);
    EXPECT_TRUE(reader.Error().empty());
    EXPECT_TRUE(reader.AtEnd());
}

TEST(ValueFileReader, AFailedTypedReadKeepsTheValueAndNamesTheFault) {
    ValueFileReader reader("abc,40000,nan,inf,1e999,#TRUE#\r\n");
    int16_t whole = 7;
    float single = 1.5f;
    EXPECT_FALSE(reader.ReadInt16(whole));
    EXPECT_EQ(reader.Error(), "Type mismatch");
    EXPECT_FALSE(reader.ReadInt16(whole));
    EXPECT_FALSE(reader.ReadSingle(single));
    EXPECT_FALSE(reader.ReadSingle(single));
    EXPECT_FALSE(reader.ReadSingle(single));
    EXPECT_EQ(whole, 7);
    EXPECT_EQ(single, 1.5f);
    EXPECT_TRUE(reader.ReadInt16(whole)); // #TRUE# as a number is -1
    EXPECT_EQ(whole, -1);
    EXPECT_FALSE(reader.ReadInt16(whole));
    EXPECT_EQ(whole, -1);
    EXPECT_EQ(reader.Error(), "Type mismatch"); // the first fault is the one reported

    ValueFileReader shortFile("1\r\n");
    int32_t first = 0, second = 5;
    EXPECT_TRUE(shortFile.ReadInt32(first));
    EXPECT_FALSE(shortFile.ReadInt32(second));
    EXPECT_EQ(second, 5);
    EXPECT_EQ(shortFile.Error(), "Input past end of file");
}

TEST(ValueFileReader, BooleansReadFromWordsAndNumbers) {
    ValueFileReader reader("True,false,1,0,-1,maybe\r\n");
    bool value = false;
    ASSERT_TRUE(reader.ReadBoolean(value));
    EXPECT_TRUE(value);
    ASSERT_TRUE(reader.ReadBoolean(value));
    EXPECT_FALSE(value);
    ASSERT_TRUE(reader.ReadBoolean(value));
    EXPECT_TRUE(value);
    ASSERT_TRUE(reader.ReadBoolean(value));
    EXPECT_FALSE(value);
    ASSERT_TRUE(reader.ReadBoolean(value));
    EXPECT_TRUE(value);
    EXPECT_FALSE(reader.ReadBoolean(value));
    EXPECT_TRUE(value);
}

TEST(ValueFileRoundTrip, EveryWrittenValueReadsBackAsWritten) {
    ValueFileWriter writer;
    const std::vector<float> singles = {0.5f, 6.818182f, 86400.f, 1636.364f, -3.25f, 1e-5f, 1e9f};
    for (float s : singles)
        writer.Single(s);
    writer.EndLine();
    writer.Whole(-32768).Whole(32767).Text("a\"b").Text(",").Boolean(true).EndLine();
    ValueFileReader reader(writer.Bytes());
    for (float s : singles) {
        float back = 0;
        ASSERT_TRUE(reader.ReadSingle(back));
        EXPECT_FLOAT_EQ(back, s);
    }
    int16_t lo = 0, hi = 0;
    std::string quote, comma;
    bool flag = false;
    EXPECT_TRUE(reader.ReadInt16(lo));
    EXPECT_TRUE(reader.ReadInt16(hi));
    EXPECT_TRUE(reader.ReadText(quote));
    EXPECT_TRUE(reader.ReadText(comma));
    EXPECT_TRUE(reader.ReadBoolean(flag));
    EXPECT_EQ(lo, -32768);
    EXPECT_EQ(hi, 32767);
    EXPECT_EQ(quote, "a\"b");
    EXPECT_EQ(comma, ",");
    EXPECT_TRUE(flag);
    EXPECT_TRUE(reader.AtEnd());
}

class ValueFileOnDisk : public test::TempFolderTest {};

TEST_F(ValueFileOnDisk, AFileFarLargerThanAnyOfOursIsReadOnlyToItsFirstMegabyte) {
    std::string bytes;
    for (int i = 0; bytes.size() < 3'000'000; ++i)
        bytes += std::to_string(i) + "\r\n";
    WriteBytes(folder / "big.dat", bytes);
    auto reader = ValueFileReader::Open(folder / "big.dat", nullptr);
    ASSERT_TRUE(reader.has_value());
    EXPECT_TRUE(reader->Cut());
    std::string last;
    size_t values = 0;
    while (auto value = reader->Next())
        last = *value, ++values;
    EXPECT_EQ(last, std::to_string(values - 1)); // no half value at the cut
    EXPECT_LE(bytes.find("\r\n" + last + "\r\n"), ValueFileReader::MaxFileBytes);
    WriteBytes(folder / "small.dat", "1\r\n");
    EXPECT_FALSE(ValueFileReader::Open(folder / "small.dat", nullptr)->Cut());
}

} // namespace
} // namespace kesto
