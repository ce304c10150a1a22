// Trustworthy transfers: a write is only reported done when the radio holds
// what was sent, a late reply is never taken for another block, a refusing
// radio does not keep the transfer going forever.
#include <gtest/gtest.h>

#include <random>

#include "TestProgram.h"
#include "sim/VirtualLine.h"
#include "state/lang/LangText.h"

namespace tarvane {
namespace {

constexpr size_t kMemoryBlocks = 464;

RadioResponder BlankRadio(RadioFaults faults = {}) {
    RadioSetup setup;
    setup.faults = faults;
    RadioResponder radio(setup); // erased memory: 0xFF everywhere
    radio.SetPassword("");
    return radio;
}

void FillPattern(std::array<uint8_t, kRadioMemorySize>& memory, unsigned seed) {
    std::mt19937 rng(seed);
    for (auto& b : memory)
        b = static_cast<uint8_t>(rng());
}

int AddressOf(const Bytes& packet) {
    return (packet[1] << 8) | packet[2];
}
bool IsWrite(const Bytes& b) {
    return b.size() == 22 && b[0] == 'W';
}
bool IsRead(const Bytes& b) {
    return b.size() == 4 && b[0] == 'R' && AddressOf(b) != kPasswordBlockAddress;
}
size_t Count(const std::vector<Bytes>& sent, const std::function<bool(const Bytes&)>& pred) {
    return static_cast<size_t>(std::count_if(sent.begin(), sent.end(), pred));
}
bool Has(const std::vector<TransferPhase>& phases, TransferPhase phase) {
    return std::find(phases.begin(), phases.end(), phase) != phases.end();
}

RadioFaults Faults(int lateEvery, int lateMs, int nakEvery, int silenceEvery, int wrongAddressEvery = 0) {
    RadioFaults f;
    f.lateEvery = lateEvery;
    f.lateMs = lateMs;
    f.nakEvery = nakEvery;
    f.silenceEvery = silenceEvery;
    f.wrongAddressEvery = wrongAddressEvery;
    return f;
}

struct LineCase {
    const char* name;
    RadioFaults faults;
};

// The combinations that used to leave hundreds of bytes unwritten while
// reporting success, and their read-side cousins.
const LineCase kBadLines[] = {
    {"late 3/200 nak 4", Faults(3, 200, 4, 0)},
    {"late 5/170 nak 7", Faults(5, 170, 7, 0)},
    {"late 3/200 silence 4", Faults(3, 200, 0, 4)},
    {"late 2/320 nak 5", Faults(2, 320, 5, 0)},
    {"late 4/600 silence 9", Faults(4, 600, 0, 9)}, // later than the settling
    {"late 3/200 wrong address 5", Faults(3, 200, 0, 0, 5)},
};

TEST(VerifiedWrite, BadLinesEndWithTheRadioHoldingExactlyWhatWasSent) {
    for (const LineCase& c : kBadLines) {
        for (bool echo : {false, true}) {
            auto t = test::MakeTestProgram();
            t->Link.NoEchoMode = !echo;
            RadioResponder radio = BlankRadio(c.faults);
            FillPattern(t->RadioMemoryBlock, 21);
            const auto sent = t->RadioMemoryBlock;
            VirtualLine line(*t, radio, echo);
            t.script->answers = {MsgAnswer::Ok, MsgAnswer::Ok, MsgAnswer::Ok};
            const bool ok = line.Run(LinkOperation::WriteRadio);
            // Success is only ever reported with the radio holding every byte.
            if (ok) {
                EXPECT_EQ(radio.memory, sent) << c.name << " echo " << echo;
                EXPECT_TRUE(t.script->Saw(LangText(*t, 9010_txt))) << c.name;
            }
            EXPECT_TRUE(ok) << c.name << " echo " << echo;
            EXPECT_TRUE(line.Engine().Suspect()) << c.name;
            EXPECT_TRUE(Has(line.phases, TransferPhase::Check)) << c.name;
            // The check is part of the session: "END" comes after it, once.
            ASSERT_FALSE(line.sent.empty());
            EXPECT_EQ(line.sent.back(), EndPacket::encode()) << c.name;
        }
    }
}

TEST(VerifiedWrite, BadLinesNeverStoreALateReplyAsAnotherBlocksData) {
    for (const LineCase& c : kBadLines) {
        for (bool echo : {false, true}) {
            auto t = test::MakeTestProgram();
            t->Link.NoEchoMode = !echo;
            RadioResponder radio = BlankRadio(c.faults);
            FillPattern(radio.memory, 22);
            VirtualLine line(*t, radio, echo);
            t.script->answers = {MsgAnswer::Ok, MsgAnswer::Ok, MsgAnswer::Ok};
            EXPECT_TRUE(line.Run(LinkOperation::ReadRadio)) << c.name << " echo " << echo;
            EXPECT_EQ(t->RadioMemoryBlock, radio.memory) << c.name << " echo " << echo;
            EXPECT_TRUE(line.phases.empty()) << c.name; // a read has no check of its own
        }
    }
}

TEST(VerifiedWrite, CleanLineIsNotReadBackUnlessAskedAndThenOnceInOrder) {
    for (bool always : {false, true}) {
        auto t = test::MakeTestProgram();
        t->Link.NoEchoMode = true;
        t->Link.VerifyWrite = always;
        RadioResponder radio = BlankRadio();
        FillPattern(t->RadioMemoryBlock, 23);
        VirtualLine line(*t, radio, false);
        ASSERT_TRUE(line.Run(LinkOperation::WriteRadio));
        EXPECT_EQ(radio.memory, t->RadioMemoryBlock);
        EXPECT_FALSE(line.Engine().Suspect());
        EXPECT_EQ(Count(line.sent, IsWrite), kMemoryBlocks);
        EXPECT_EQ(Count(line.sent, IsRead), always ? kMemoryBlocks : 0u);
        EXPECT_EQ(line.phases,
                  always ? std::vector<TransferPhase>{TransferPhase::Check} : std::vector<TransferPhase>{});
        if (always) {
            // Every block is read back after the last write, in address order.
            std::vector<int> reads;
            for (const Bytes& b : line.sent)
                if (IsRead(b)) reads.push_back(AddressOf(b));
            for (size_t i = 0; i < reads.size(); ++i)
                EXPECT_EQ(reads[i], static_cast<int>(i) * 16);
            const auto firstRead = std::find_if(line.sent.begin(), line.sent.end(), IsRead);
            EXPECT_EQ(std::find_if(firstRead, line.sent.end(), IsWrite), line.sent.end());
            EXPECT_EQ(line.progress.back(), 100);
        }
    }
}

// Each pass has its own three re-sends per block: a block that needs all three
// in the write and all three again in the read-back still gets through, with no
// give-up question (counters left over from the write would give up in the check).
TEST(VerifiedWrite, EachPassRetriesABlockAfreshWithItsOwnRetries) {
    RadioFaults faults;
    faults.silenceAddress = 0x0120;
    faults.silenceTimes = 3;
    auto t = test::MakeTestProgram();
    t->Link.NoEchoMode = true;
    t->Link.VerifyWrite = true;
    RadioResponder radio = BlankRadio(faults);
    FillPattern(t->RadioMemoryBlock, 29);
    VirtualLine line(*t, radio, false);
    ASSERT_TRUE(line.Run(LinkOperation::WriteRadio));
    EXPECT_EQ(radio.memory, t->RadioMemoryBlock);
    EXPECT_FALSE(t.script->Saw(LangText(*t, 9008_txt)));
    auto of = [&](bool (*kind)(const Bytes&)) {
        return Count(line.sent, [kind](const Bytes& b) { return kind(b) && AddressOf(b) == 0x0120; });
    };
    EXPECT_EQ(of(IsWrite), 4u);
    EXPECT_EQ(of(IsRead), 4u);
}

// A radio that acknowledges some blocks without storing them (a stale
// acknowledgement, a flaky memory): the check finds them and they are written again.
struct DropCase {
    const char* name;
    int address;
    int drops; // how many writes of the address are acknowledged but lost
    bool success;
    size_t writesOfIt; // writes of that block in the whole transfer
};

TEST(VerifiedWrite, BlocksThatDidNotTakeAreWrittenAgainBoundedThenTheWriteFailsWithTheirCount) {
    const DropCase cases[] = {
        {"lost once", 0x0120, 1, true, 2},
        {"lost three times", 0x1CF0, 3, true, 4},
        {"never takes", 0x0000, 1000, false, 1 + kRewriteRounds},
    };
    for (const DropCase& c : cases) {
        auto t = test::MakeTestProgram();
        t->Link.NoEchoMode = true;
        t->Link.VerifyWrite = true;
        RadioResponder radio = BlankRadio();
        FillPattern(t->RadioMemoryBlock, 24);
        VirtualLine line(*t, radio, false);
        int drops = c.drops;
        line.tamper = [&](const Bytes& packet, std::vector<SimReply>& out) {
            if (IsWrite(packet) && AddressOf(packet) == c.address && drops > 0) {
                --drops;
                out = {SimReply{{kAck}}};
                return true;
            }
            out = radio.Feed(packet);
            return true;
        };
        EXPECT_EQ(line.Run(LinkOperation::WriteRadio), c.success) << c.name;
        EXPECT_EQ(Count(line.sent, [&](const Bytes& b) { return IsWrite(b) && AddressOf(b) == c.address; }),
                  c.writesOfIt)
            << c.name;
        EXPECT_EQ(line.sent.back(), EndPacket::encode()) << c.name;
        if (c.success) {
            EXPECT_EQ(radio.memory, t->RadioMemoryBlock) << c.name;
            EXPECT_EQ(line.Engine().BlocksNotTaken(), 0);
            EXPECT_TRUE(Has(line.phases, TransferPhase::Rewrite)) << c.name;
        } else {
            EXPECT_EQ(line.Engine().BlocksNotTaken(), 1);
            EXPECT_FALSE(t.script->Saw(LangText(*t, 9010_txt))) << c.name;
            ASSERT_FALSE(t.script->shown.empty());
            const std::string& last = t.script->shown.back().text;
            EXPECT_EQ(last.rfind("1 ", 0), 0u) << last; // "1 blocks did not take ..."
            EXPECT_NE(last.find(std::to_string(kRewriteRounds)), std::string::npos) << last;
            EXPECT_EQ(t.script->shown.back().icon, MsgIcon::Critical);
        }
        EXPECT_TRUE(line.Engine().WroteBlocks());
    }
}

TEST(RefusalLimit, ABlockRefusedOverAndOverGetsTheGiveUpQuestionAndCancelEndsWithEnd) {
    struct Case {
        std::deque<MsgAnswer> answers;
        size_t questions;
    };
    const Case cases[] = {{{MsgAnswer::Cancel}, 1}, {{MsgAnswer::Ok, MsgAnswer::Cancel}, 2}};
    for (const Case& c : cases) {
        auto t = test::MakeTestProgram();
        t->Link.NoEchoMode = true;
        RadioFaults f;
        f.nakEvery = 1;
        RadioResponder radio = BlankRadio(f);
        VirtualLine line(*t, radio, false);
        t.script->answers = c.answers;
        EXPECT_FALSE(line.Run(LinkOperation::WriteRadio));
        EXPECT_FALSE(line.Stalled());
        EXPECT_EQ(t.script->Count(LangText(*t, 9008_txt)), c.questions);
        // Block 0 goes out kRefusalLimit times per attempt, then "END".
        EXPECT_EQ(Count(line.sent, [](const Bytes& b) { return IsWrite(b) && AddressOf(b) == 0; }),
                  static_cast<size_t>(kRefusalLimit) * c.questions);
        EXPECT_EQ(Count(line.sent, IsWrite), static_cast<size_t>(kRefusalLimit) * c.questions);
        EXPECT_EQ(line.sent.back(), EndPacket::encode());
        EXPECT_EQ(line.timeouts, 0);
    }
}

TEST(RefusalLimit, RefusalsAreCountedInARowPerPacketNotPerTransfer) {
    auto t = test::MakeTestProgram();
    t->Link.NoEchoMode = true;
    RadioResponder radio = BlankRadio();
    FillPattern(t->RadioMemoryBlock, 25);
    VirtualLine line(*t, radio, false);
    // Every block is refused one time fewer than the limit: far more refusals
    // than the limit in all, yet never a run long enough to give up.
    std::map<int, int> refused;
    line.tamper = [&](const Bytes& packet, std::vector<SimReply>& out) {
        if (IsWrite(packet) && refused[AddressOf(packet)]++ < kRefusalLimit - 1) {
            out = {SimReply{{kNak}}};
            return true;
        }
        out = radio.Feed(packet);
        return true;
    };
    ASSERT_TRUE(line.Run(LinkOperation::WriteRadio));
    EXPECT_EQ(radio.memory, t->RadioMemoryBlock);
    EXPECT_TRUE(t.script->Count(LangText(*t, 9008_txt)) == 0u);
}

TEST(Abort, CancelMidTransferSendsEndClosesThePortAndLeavesTheEngineIdle) {
    for (LinkOperation op : {LinkOperation::ReadRadio, LinkOperation::WriteRadio}) {
        auto t = test::MakeTestProgram();
        t->Link.NoEchoMode = true;
        RadioResponder radio = BlankRadio();
        VirtualLine line(*t, radio, false);
        line.betweenEvents = [&] {
            const size_t blocks = Count(line.sent, [](const Bytes& b) { return IsWrite(b) || IsRead(b); });
            if (blocks == 40) {
                EXPECT_TRUE(line.Engine().Abort());
            }
        };
        EXPECT_FALSE(line.Run(op));
        EXPECT_FALSE(line.Engine().Running());
        EXPECT_EQ(line.sent.back(), EndPacket::encode());
        EXPECT_GE(line.closes, 1);
        EXPECT_EQ(line.Engine().WroteBlocks(), op == LinkOperation::WriteRadio);
        EXPECT_FALSE(t.script->Saw(LangText(*t, op == LinkOperation::ReadRadio ? 9009_txt : 9010_txt)));
    }
}

} // namespace
} // namespace tarvane
