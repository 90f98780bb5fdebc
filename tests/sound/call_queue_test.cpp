// The queue of spoken calls: too late is dropped, the newest lap count wins,
// and only a few calls wait. Time is a hand-driven clock.
#include "sound/call_queue.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

class HandClock final : public CallClock {
public:
    int64_t NowMs() override { return now; }
    int64_t now = 100000;
};

Call Said(CallKind kind, int id = 0) {
    Call call;
    call.kind = kind;
    call.text = "call";
    call.id = id;
    return call;
}

class CallQueueTest : public ::testing::Test {
protected:
    std::vector<int> TakeAllIds() {
        std::vector<int> ids;
        while (auto call = queue.TakeNext())
            ids.push_back(call->id);
        return ids;
    }
    HandClock clock;
    CallQueue queue{clock};
};

TEST_F(CallQueueTest, ACallMoreThanTwoSecondsPastItsMomentIsDropped) {
    queue.Add(Said(CallKind::BestLap, 1));
    clock.now += 1000;
    queue.Add(Said(CallKind::Podium, 2));
    clock.now += 1000; // the first is exactly 2 s old: still said
    auto first = queue.TakeNext();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->id, 1);
    EXPECT_EQ(first->dueMs, 100000);
    clock.now += 1; // 2.001 s after the first, 1.001 s after the second
    EXPECT_FALSE(queue.IsLate(queue.TakeNext().value()));
    EXPECT_TRUE(queue.IsLate(*first));

    queue.Add(Said(CallKind::Racers, 3));
    clock.now += 2001;
    EXPECT_FALSE(queue.TakeNext());
    EXPECT_EQ(queue.Dropped(), 1);
}

TEST_F(CallQueueTest, TheNewestLapCountWins) {
    queue.Add(Said(CallKind::LapCount, 1));
    queue.Add(Said(CallKind::BestLap, 2));
    queue.Add(Said(CallKind::LeaderLapCount, 3));
    queue.Add(Said(CallKind::LapCount, 4));
    EXPECT_EQ(queue.Waiting(), 2u);
    EXPECT_EQ(TakeAllIds(), (std::vector<int>{2, 4}));
    EXPECT_EQ(queue.Dropped(), 2);
}

TEST_F(CallQueueTest, AFullQueueMakesRoomWithALapCountFirstThenTheOldest) {
    queue.Add(Said(CallKind::BestLap, 1));
    queue.Add(Said(CallKind::LapCount, 2));
    queue.Add(Said(CallKind::BestLap, 3));
    queue.Add(Said(CallKind::Podium, 4)); // the lap count gives way
    EXPECT_EQ(queue.Waiting(), CallQueue::MaxWaiting);
    queue.Add(Said(CallKind::TimeLeft, 5)); // then the oldest
    EXPECT_EQ(TakeAllIds(), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(queue.Dropped(), 2);
}

} // namespace
} // namespace kesto
