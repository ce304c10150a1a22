#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "base/Signal.h"

namespace tarvane {
namespace {

// Windows come and go in every order; whatever order they go in, the listeners
// still subscribed are exactly the ones called.
TEST(Signal, ListenersEndInAnyOrder) {
    struct Case {
        std::vector<int> dropOrder; // indexes of subscriptions reset, in this order
        std::string expected;       // who is still called afterwards
    };
    const Case cases[] = {
        {{}, "abc"},   {{0}, "bc"}, // the oldest goes after newer ones subscribed (a reopened window)
        {{2}, "ab"},                // the newest goes first
        {{1, 0}, "c"}, {{0, 1, 2}, ""},
    };
    for (const Case& c : cases) {
        Signal<int> changed;
        std::string called;
        std::vector<std::optional<Subscription>> subs;
        for (char name : std::string("abc"))
            subs.emplace_back(changed.Subscribe([&called, name](int) { called += name; }));
        for (int i : c.dropOrder)
            subs[static_cast<size_t>(i)].reset();
        changed(7);
        EXPECT_EQ(called, c.expected);
        EXPECT_EQ(changed.Listeners(), c.expected.size());
    }
}

TEST(Signal, AListenerRemovedDuringACallIsNotCalled) {
    Signal<> s;
    std::string called;
    std::optional<Subscription> second;
    Subscription first = s.Subscribe([&] {
        called += 'a';
        second.reset(); // the first listener closes the second window
    });
    second.emplace(s.Subscribe([&] { called += 'b'; }));
    s();
    EXPECT_EQ(called, "a");
}

TEST(Signal, MovedAndOutlivingSubscriptionsAreSafe) {
    Subscription kept;
    int calls = 0;
    {
        Signal<> s;
        Subscription sub = s.Subscribe([&] { ++calls; });
        kept = std::move(sub); // the moved-from handle must not unsubscribe
        s();
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(s.Listeners(), 1u);
    }
    kept.Reset(); // the signal is gone: nothing to do, nothing to crash
    EXPECT_EQ(calls, 1);
}

// A scratch copy of the program must not drive the windows of the original.
TEST(Signal, ACopyStartsWithoutListeners) {
    Signal<> original;
    int calls = 0;
    Subscription sub = original.Subscribe([&] { ++calls; });
    Signal<> copy = original;
    copy();
    EXPECT_EQ(calls, 0);
    copy = original; // assigning keeps the target's own listeners
    EXPECT_EQ(copy.Listeners(), 0u);
    original();
    EXPECT_EQ(calls, 1);
}

} // namespace
} // namespace tarvane
