#include "engine/receive_buffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kesto {
namespace {

struct Collected {
    ReceiveBuffer buffer;
    std::vector<std::string> lines;

    void Append(std::string_view bytes) {
        buffer.Append(bytes, [this](std::string_view line) { lines.emplace_back(line); });
    }
};

TEST(ReceiveBuffer, JoinsALineSplitAcrossReads) {
    Collected in;
    in.Append("@05123");
    EXPECT_TRUE(in.lines.empty());
    EXPECT_EQ(in.buffer.PendingSize(), 6u);
    in.Append("45678");
    in.Append("\n");
    EXPECT_EQ(in.lines, std::vector<std::string>{"@0512345678\n"});
    EXPECT_EQ(in.buffer.PendingSize(), 0u);
}

TEST(ReceiveBuffer, SplitsEveryLineFeedInArrivalOrder) {
    Collected in;
    in.Append("@00000001\r\n@0100000150\n@02");
    in.Append("00000160\r\n\n");
    EXPECT_EQ(in.lines, (std::vector<std::string>{"@00000001\r\n", "@0100000150\n",
                                                  "@0200000160\r\n", "\n"}));
}

TEST(ReceiveBuffer, KeepsOnlyTheStartOfALineThatNeverEnds) {
    Collected in;
    std::string noise(5000, 'x');
    in.Append(noise);
    EXPECT_EQ(in.buffer.PendingSize(), ReceiveBuffer::MaxLineLength);
    for (int i = 0; i < 100; ++i)
        in.Append(noise);
    EXPECT_EQ(in.buffer.PendingSize(), ReceiveBuffer::MaxLineLength);
    EXPECT_TRUE(in.lines.empty());

    // The next line feed ends the long line; the line after it is whole again.
    in.Append("xx\n@0512345678\n");
    ASSERT_EQ(in.lines.size(), 2u);
    EXPECT_EQ(in.lines[0], std::string(ReceiveBuffer::MaxLineLength, 'x') + "\n");
    EXPECT_EQ(in.lines[1], "@0512345678\n");
    EXPECT_EQ(in.buffer.PendingSize(), 0u);
}

TEST(ReceiveBuffer, ALongLineKeepsTheRecordAtItsStart) {
    Collected in;
    in.Append("@0512345678");
    in.Append(std::string(3000, '#'));
    in.Append("\n");
    ASSERT_EQ(in.lines.size(), 1u);
    EXPECT_EQ(in.lines[0].substr(0, 11), "@0512345678");
    EXPECT_EQ(in.lines[0].size(), ReceiveBuffer::MaxLineLength + 1);
}

TEST(ReceiveBuffer, ClearDropsTheUnfinishedLine) {
    Collected in;
    in.Append("@05123");
    in.buffer.Clear();
    in.Append("@0600000100\n");
    EXPECT_EQ(in.lines, std::vector<std::string>{"@0600000100\n"});
}

} // namespace
} // namespace kesto
