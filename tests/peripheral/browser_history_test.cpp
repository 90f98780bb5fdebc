// The browser window's address list: each address once, most recent first.
#include "peripheral/browser_history.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

using Entries = std::vector<std::string>;

TEST(BrowserHistory, VisitingAnAddressAgainMovesItToTheFront) {
    BrowserHistory history;
    history.Visit("A");
    history.Visit("B");
    history.Visit("A");
    EXPECT_EQ(history.Entries(), (Entries{"A", "B"}));
}

TEST(BrowserHistory, KeepsEveryAddressOnceMostRecentFirst) {
    BrowserHistory history;
    for (const char* address : {"A", "B", "C", "B", "B", "D"})
        history.Visit(address);
    EXPECT_EQ(history.Entries(), (Entries{"D", "B", "C", "A"}));
}

TEST(BrowserHistory, AnEmptyAddressIsNotKept) {
    BrowserHistory history;
    history.Visit("");
    EXPECT_TRUE(history.Entries().empty());
}

} // namespace
} // namespace kesto
