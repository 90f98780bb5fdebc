#include "base/windows1252.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

TEST(Windows1252, LettersOfTheClubsNamesMapToTheirSingleBytes) {
    EXPECT_EQ(Utf8ToWindows1252("José"), "Jos\xE9");
    EXPECT_EQ(Utf8ToWindows1252("€ ’ Š ÿ"), "\x80 \x92 \x8A \xFF");
    EXPECT_EQ(Windows1252ToUtf8("Jos\xE9"), "José");
    EXPECT_EQ(Windows1252ToUtf8("\x80\x92\x8A\x9F"), "€’ŠŸ");
}

TEST(Windows1252, EveryByteSurvivesAReadAndAWrite) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string text = Windows1252ToUtf8(all);
    EXPECT_EQ(Utf8ToWindows1252(text), all);
}

TEST(Windows1252, TheFiveUndefinedBytesKeepANameWhole) {
    const std::string onDisk = "A\x81"
                               "B\x8D"
                               "C\x8F"
                               "D\x90"
                               "E\x9D";
    const std::string text = Windows1252ToUtf8(onDisk);
    EXPECT_EQ(text, "A\u0081B\u008DC\u008FD\u0090E\u009D");
    EXPECT_EQ(Utf8ToWindows1252(text), onDisk);
}

TEST(Windows1252, CharactersItCannotHoldBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToWindows1252("Łukasz 日本 🏁"), "?ukasz ?? ?");
    EXPECT_EQ(Utf8ToWindows1252("\u0080"), "?"); // a C1 control that 1252 gave to the euro
}

TEST(Windows1252, BrokenUtf8InMemoryIsWrittenAsQuestionMarks) {
    EXPECT_EQ(Utf8ToWindows1252("a\xC3"), "a?");              // cut short at the end
    EXPECT_EQ(Utf8ToWindows1252("a\x80z"), "a?z");            // stray continuation byte
    EXPECT_EQ(Utf8ToWindows1252("\xC0\xA9"), "??");           // overlong form
    EXPECT_EQ(Utf8ToWindows1252("\xED\xA0\x80"), "???");      // a lone surrogate
    EXPECT_EQ(Utf8ToWindows1252("\xF4\x90\x80\x80"), "????"); // past U+10FFFF
    EXPECT_EQ(Utf8ToWindows1252(std::string("a\0b", 3)), std::string("a\0b", 3));
}

} // namespace
} // namespace kesto
