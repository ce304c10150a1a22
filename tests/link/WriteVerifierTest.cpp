// The read-back rounds of a write: only differing blocks go again, at most
// kRewriteRounds times, then the count of those that never took.
#include <gtest/gtest.h>

#include <set>

#include "link/WriteVerifier.h"

namespace tarvane {
namespace {

using Next = WriteVerifier::Next;

TEST(WriteVerifier, RewritesOnlyWhatDifferedBoundedByTheRounds) {
    struct Case {
        const char* name;
        std::vector<std::set<int>> differ; // per read-back round: the blocks found different
        std::vector<Next> next;            // what each read-back led to
        int notTaken;
    };
    const Case cases[] = {
        {"all took", {{}}, {Next::End}, 0},
        {"one block twice", {{16}, {16}, {}}, {Next::Rewrite, Next::Rewrite, Next::End}, 0},
        {"two, then one never takes",
         {{0, 32}, {0}, {0}, {0}},
         {Next::Rewrite, Next::Rewrite, Next::Rewrite, Next::NotTaken},
         1},
    };
    for (const Case& c : cases) {
        WriteVerifier v;
        v.MarkSuspect();
        ASSERT_TRUE(v.Wanted(false));
        v.BeginCheck(0x2F); // blocks 0, 16, 32
        std::vector<Next> next;
        for (const std::set<int>& differ : c.differ) {
            ASSERT_EQ(v.Phase(), TransferPhase::Check) << c.name;
            for (int b; (b = v.Block()) >= 0;)
                v.Checked(differ.count(b) == 0);
            next.push_back(v.CheckDone());
            if (next.back() != Next::Rewrite) break;
            std::set<int> rewritten;
            for (int b; (b = v.Block()) >= 0; v.Rewritten())
                rewritten.insert(b);
            EXPECT_EQ(rewritten, differ) << c.name;
            v.RewriteDone();
        }
        EXPECT_EQ(next, c.next) << c.name;
        EXPECT_EQ(v.NotTaken(), c.notTaken) << c.name;
    }
}

} // namespace
} // namespace tarvane
