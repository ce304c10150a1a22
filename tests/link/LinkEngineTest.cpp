// The protocol engine against the in-process radio on a line with virtual time.
#include <gtest/gtest.h>

#include <random>

#include "TestProgram.h"
#include "image/ModelVersion.h"
#include "sim/VirtualLine.h"
#include "state/lang/LangText.h"

namespace tarvane {
namespace {

constexpr int kMemoryBlocks = 464;

// A radio whose memory and information area are filled with a seeded pattern.
RadioResponder PatternRadio(unsigned seed, RadioSetup setup = {}) {
    RadioResponder radio(setup);
    std::mt19937 rng(seed);
    for (auto& b : radio.memory)
        b = static_cast<uint8_t>(rng());
    for (size_t i = 32; i < radio.info.size(); ++i)
        radio.info[i] = static_cast<uint8_t>('A' + rng() % 26);
    radio.SetPassword("");
    return radio;
}

bool IsReadOf(const Bytes& packet, int address) {
    return packet == ReadRequest{static_cast<uint16_t>(address)}.encode();
}
bool IsWriteOf(const Bytes& packet, int address) {
    return packet.size() == 22 && packet[0] == 'W' && ((packet[1] << 8) | packet[2]) == address;
}
size_t Count(const std::vector<Bytes>& sent, const std::function<bool(const Bytes&)>& pred) {
    return static_cast<size_t>(std::count_if(sent.begin(), sent.end(), pred));
}
const Bytes kHandshake = HandshakePacket::encode();
const Bytes kEnd = EndPacket::encode();

struct BandCase {
    int type;
    bool echo;
};

void PrintTo(const BandCase& b, std::ostream* os) {
    *os << TypeName(b.type) << (b.echo ? " echo" : " no echo");
}

class FullTransfer : public ::testing::TestWithParam<BandCase> {};

TEST_P(FullTransfer, ReadFetchesEveryBlockInOrderAndStoresItAtItsAddress) {
    auto [type, echo] = GetParam();
    auto t = test::MakeTestProgram(type);
    t->Link.NoEchoMode = !echo; // start in the matching mode: no handshake time-out
    RadioSetup setup;
    setup.modelType = static_cast<uint8_t>(type);
    RadioResponder radio = PatternRadio(7u + static_cast<unsigned>(type), setup);
    VirtualLine line(*t, radio, echo);

    ASSERT_TRUE(line.Run(LinkOperation::ReadRadio));
    EXPECT_EQ(t->RadioMemoryBlock, radio.memory);
    EXPECT_EQ(line.timeouts, 0);
    ASSERT_EQ(line.sent.size(), 3u + kMemoryBlocks + 1u);
    EXPECT_EQ(line.sent[0], kHandshake);
    EXPECT_EQ(line.sent[1], IdentRequest::encode());
    EXPECT_TRUE(IsReadOf(line.sent[2], 0x3E10));
    for (int i = 0; i < kMemoryBlocks; ++i)
        EXPECT_TRUE(IsReadOf(line.sent[3 + static_cast<size_t>(i)], i * 16)) << i;
    EXPECT_EQ(line.sent.back(), kEnd);
    EXPECT_EQ(t->Link.Identity.RadioModelType, type);
    EXPECT_TRUE(t.script->Saw(LangText(*t, 9009_txt)));
    EXPECT_EQ(line.closes, 1);
}

TEST_P(FullTransfer, WriteSendsExactlyTheMemoryBlockAndTheRadioHoldsIt) {
    auto [type, echo] = GetParam();
    auto t = test::MakeTestProgram(type);
    t->Link.NoEchoMode = !echo;
    RadioSetup setup;
    setup.modelType = static_cast<uint8_t>(type);
    RadioResponder radio(setup);
    std::mt19937 rng(99u + static_cast<unsigned>(type));
    for (auto& b : t->RadioMemoryBlock)
        b = static_cast<uint8_t>(rng());
    VirtualLine line(*t, radio, echo);

    ASSERT_TRUE(line.Run(LinkOperation::WriteRadio));
    EXPECT_EQ(radio.memory, t->RadioMemoryBlock);
    EXPECT_EQ(radio.blocksWritten, kMemoryBlocks);
    EXPECT_TRUE(IsWriteOf(line.sent[3], 0x0000));
    EXPECT_TRUE(IsWriteOf(line.sent[3 + kMemoryBlocks - 1], 0x1CF0));
    EXPECT_EQ(line.sent.back(), kEnd);
    EXPECT_TRUE(t.script->Saw(LangText(*t, 9010_txt)));
}

INSTANTIATE_TEST_SUITE_P(Bands, FullTransfer,
                         ::testing::Values(BandCase{0, false}, BandCase{0, true}, BandCase{1, false},
                                           BandCase{1, true}, BandCase{2, false}, BandCase{2, true}),
                         [](const auto& info) {
                             return TypeName(info.param.type) + (info.param.echo ? "_echo" : "_noecho");
                         });

TEST(LinkEngine, EchoExpectationSwitchesOnHandshakeTimeoutAndIsKeptForTheNextTransfer) {
    struct Case {
        bool cableEchoes;
        bool startNoEcho;
        int expectedTimeouts;
    };
    const Case cases[] = {{false, false, 1}, {true, true, 1}, {true, false, 0}, {false, true, 0}};
    for (const Case& c : cases) {
        auto t = test::MakeTestProgram();
        t->Link.NoEchoMode = c.startNoEcho;
        RadioResponder radio = PatternRadio(1);
        VirtualLine line(*t, radio, c.cableEchoes);
        ASSERT_TRUE(line.Run(LinkOperation::ReadRadioInfo));
        EXPECT_EQ(line.timeouts, c.expectedTimeouts);
        EXPECT_EQ(t->Link.NoEchoMode, !c.cableEchoes);
        // The next transfer starts in the mode that worked.
        line.timeouts = 0;
        ASSERT_TRUE(line.Run(LinkOperation::ReadRadio));
        EXPECT_EQ(line.timeouts, 0);
        EXPECT_EQ(Count(line.sent, [](const Bytes& b) { return b == kHandshake; }), 1u);
    }
}

TEST(LinkEngine, EchoBytesAreSkippedNeverCompared) {
    auto t = test::MakeTestProgram();
    t->Link.NoEchoMode = false;
    RadioResponder radio = PatternRadio(2);
    VirtualLine line(*t, radio, false);
    // A cable that garbles the echo: any seven bytes before "YK" 06 will do.
    line.tamper = [&radio](const Bytes& packet, std::vector<SimReply>& out) {
        out = radio.Feed(packet);
        for (SimReply& r : out)
            r.bytes.insert(r.bytes.begin(), packet.size(), 0xA5);
        return true;
    };
    ASSERT_TRUE(line.Run(LinkOperation::ReadRadio));
    EXPECT_EQ(line.timeouts, 0);
    EXPECT_EQ(t->RadioMemoryBlock, radio.memory);
}

TEST(LinkEngine, HandshakeIsTriedFourTimesAlternatingTheEchoThenTheQuestionComes) {
    struct Case {
        int ignored;
        bool success;
    };
    // A no-echo cable: only the attempts made in no-echo mode (2nd, 4th) can succeed.
    const Case cases[] = {{0, true}, {1, true}, {2, true}, {3, true}, {4, false}};
    for (const Case& c : cases) {
        auto t = test::MakeTestProgram();
        t->Link.NoEchoMode = false;
        RadioSetup setup;
        setup.faults.ignoreHandshakes = c.ignored;
        RadioResponder radio = PatternRadio(3, setup);
        VirtualLine line(*t, radio, false);
        EXPECT_EQ(line.Run(LinkOperation::ReadRadioInfo), c.success) << c.ignored;
        const size_t handshakes = Count(line.sent, [](const Bytes& b) { return b == kHandshake; });
        if (c.success) {
            EXPECT_EQ(handshakes, c.ignored < 2 ? 2u : 4u) << c.ignored;
        } else {
            EXPECT_EQ(handshakes, 4u);
            ASSERT_EQ(t.script->shown.size(), 1u);
            EXPECT_EQ(t.script->shown[0].text, LangText(*t, 9008_txt));
            EXPECT_EQ(t.script->shown[0].buttons, MsgButtons::RetryCancel);
            EXPECT_EQ(line.sent.back(), kEnd); // Cancel ends the transfer with "END"
        }
    }
}

TEST(LinkEngine, ReadWriteGiveUpAsksOkCancelAndCancelFinishesWithEnd) {
    for (LinkOperation op : {LinkOperation::ReadRadio, LinkOperation::WriteRadio}) {
        auto t = test::MakeTestProgram();
        t->Link.NoEchoMode = true;
        RadioSetup setup;
        setup.faults.ignoreHandshakes = 100;
        RadioResponder radio = PatternRadio(4, setup);
        VirtualLine line(*t, radio, false);
        EXPECT_FALSE(line.Run(op));
        EXPECT_FALSE(line.Stalled());
        ASSERT_EQ(t.script->shown.size(), 1u);
        EXPECT_EQ(t.script->shown[0].buttons, MsgButtons::OkCancel);
        EXPECT_EQ(t.script->shown[0].icon, MsgIcon::Question);
        EXPECT_EQ(line.sent.back(), kEnd);
        EXPECT_EQ(line.closes, 1);
        EXPECT_EQ(line.Engine().Operation(), LinkOperation::Idle);
        EXPECT_EQ(radio.blocksWritten, 0);
    }
}

TEST(LinkEngine, PasswordBlockHasNoAllowanceInTheFirstRunAndTwoResendsAfterTheRestart) {
    auto t = test::MakeTestProgram();
    t->Link.NoEchoMode = true;
    ASSERT_EQ(t->Link.PasswordRetryCounter, 0);
    RadioResponder radio = PatternRadio(5);
    VirtualLine line(*t, radio, false);
    line.tamper = [&radio](const Bytes& packet, std::vector<SimReply>& out) {
        out = radio.Feed(packet);
        if (IsReadOf(packet, 0x3E10)) out.clear();
        return true;
    };
    t.script->answers = {MsgAnswer::Ok, MsgAnswer::Cancel};
    EXPECT_FALSE(line.Run(LinkOperation::ReadRadio));
    ASSERT_EQ(t.script->shown.size(), 2u);
    // First run: one request, then the question at once; after OK: one request and two re-sends.
    std::vector<Bytes> before(line.sent.begin(),
                              std::find(line.sent.begin() + 1, line.sent.end(), kHandshake));
    EXPECT_EQ(Count(before, [](const Bytes& b) { return IsReadOf(b, 0x3E10); }), 1u);
    EXPECT_EQ(Count(line.sent, [](const Bytes& b) { return IsReadOf(b, 0x3E10); }), 4u);
}

TEST(LinkEngine, EachBlockIsSentAtMostFourTimesAndItsAllowanceSurvivesTheRestart) {
    for (LinkOperation op : {LinkOperation::ReadRadio, LinkOperation::WriteRadio}) {
        auto t = test::MakeTestProgram();
        t->Link.NoEchoMode = true;
        RadioResponder radio = PatternRadio(6);
        VirtualLine line(*t, radio, false);
        const int silent = 0x0100;
        line.tamper = [&](const Bytes& packet, std::vector<SimReply>& out) {
            out = radio.Feed(packet);
            if (IsReadOf(packet, silent) || IsWriteOf(packet, silent)) out.clear();
            return true;
        };
        t.script->answers = {MsgAnswer::Ok, MsgAnswer::Cancel};
        EXPECT_FALSE(line.Run(op));
        auto isSilent = [&](const Bytes& b) { return IsReadOf(b, silent) || IsWriteOf(b, silent); };
        // Four sends, the question, OK; the block's counters were not reset, so one more send.
        EXPECT_EQ(Count(line.sent, isSilent), 5u);
        EXPECT_EQ(t.script->shown.size(), 2u);
        // Other blocks: one send each before the restart and one after.
        EXPECT_EQ(
            Count(line.sent, [](const Bytes& b) { return IsReadOf(b, 0x00F0) || IsWriteOf(b, 0x00F0); }), 2u);
    }
}

TEST(LinkEngine, GiveUpRestartBeginsAgainAtBlockZeroWithProgressZero) {
    auto t = test::MakeTestProgram();
    t->Link.NoEchoMode = true;
    RadioResponder radio = PatternRadio(8);
    VirtualLine line(*t, radio, false);
    int silences = 4; // block 0x0800 is silent until the question has come
    line.tamper = [&](const Bytes& packet, std::vector<SimReply>& out) {
        out = radio.Feed(packet);
        if (IsReadOf(packet, 0x0800) && silences-- > 0) out.clear();
        return true;
    };
    t.script->answers = {MsgAnswer::Ok};
    ASSERT_TRUE(line.Run(LinkOperation::ReadRadio));
    EXPECT_EQ(t->RadioMemoryBlock, radio.memory);
    const auto zero = std::find(line.progress.begin(), line.progress.end(), 0);
    ASSERT_NE(zero, line.progress.end());
    EXPECT_GT(*(zero - 1), 25); // 0x0800 is about 28 %
    EXPECT_EQ(line.progress.back(), 100);
    EXPECT_EQ(Count(line.sent, [](const Bytes& b) { return IsReadOf(b, 0x0000); }), 2u);
}

TEST(LinkEngine, NakResendsBelowTheRefusalLimitWithoutUsingTheAllowance) {
    auto t = test::MakeTestProgram();
    t->Link.NoEchoMode = true;
    RadioResponder radio = PatternRadio(9);
    std::mt19937 rng(10);
    for (auto& b : t->RadioMemoryBlock)
        b = static_cast<uint8_t>(rng());
    VirtualLine line(*t, radio, false);
    int naks = 10;
    line.tamper = [&](const Bytes& packet, std::vector<SimReply>& out) {
        if (IsWriteOf(packet, 0x0050) && naks-- > 0) {
            out = {SimReply{{kNak}}};
            return true;
        }
        out = radio.Feed(packet);
        return true;
    };
    ASSERT_TRUE(line.Run(LinkOperation::WriteRadio));
    EXPECT_EQ(Count(line.sent, [](const Bytes& b) { return IsWriteOf(b, 0x0050); }), 11u);
    EXPECT_EQ(line.Engine().BlockRetryCounter(0x0050), 3);
    EXPECT_EQ(line.timeouts, 0);
    EXPECT_EQ(radio.memory, t->RadioMemoryBlock);
}

TEST(LinkEngine, NakOnTheLastBlockAndAfterEndResendsThatPacket) {
    auto t = test::MakeTestProgram();
    t->Link.NoEchoMode = true;
    RadioSetup setup;
    setup.faults.nakAddress = 0x1CF0;
    setup.faults.nakEnds = 2;
    RadioResponder radio = PatternRadio(11, setup);
    VirtualLine line(*t, radio, false);
    ASSERT_TRUE(line.Run(LinkOperation::WriteRadio));
    EXPECT_EQ(Count(line.sent, [](const Bytes& b) { return IsWriteOf(b, 0x1CF0); }), 2u);
    EXPECT_EQ(Count(line.sent, [](const Bytes& b) { return b == kEnd; }), 3u);
    EXPECT_EQ(radio.memory, t->RadioMemoryBlock);
}

TEST(LinkEngine, NoReplyToEndIsStillASuccessForEveryOperation) {
    for (LinkOperation op :
         {LinkOperation::ReadRadio, LinkOperation::WriteRadio, LinkOperation::ReadRadioInfo}) {
        auto t = test::MakeTestProgram();
        t->Link.NoEchoMode = true;
        RadioSetup setup;
        setup.faults.silentEnd = true;
        RadioResponder radio = PatternRadio(12, setup);
        VirtualLine line(*t, radio, false);
        EXPECT_TRUE(line.Run(op));
        EXPECT_EQ(line.timeouts, 1);
        EXPECT_EQ(Count(line.sent, [](const Bytes& b) { return b == kEnd; }), 1u);
    }
}

TEST(LinkEngine, NakDuringAReadNeverWritesIntoTheRadio) {
    auto t = test::MakeTestProgram();
    t->Link.NoEchoMode = true;
    RadioResponder radio = PatternRadio(13);
    VirtualLine line(*t, radio, false);
    line.tamper = [&](const Bytes& packet, std::vector<SimReply>& out) {
        out = radio.Feed(packet);
        if (IsReadOf(packet, 0x0200)) out = {SimReply{{kNak}}};
        return true;
    };
    t.script->answers = {MsgAnswer::Cancel};
    EXPECT_FALSE(line.Run(LinkOperation::ReadRadio));
    EXPECT_EQ(Count(line.sent, [](const Bytes& b) { return b[0] == 'W'; }), 0u);
    EXPECT_EQ(radio.blocksWritten, 0);
}

TEST(LinkEngine, FaultyRepliesAreRecoveredWithinTheRetryRules) {
    struct Case {
        const char* name;
        RadioFaults faults;
        LinkOperation op;
    };
    auto f = [](auto set) {
        RadioFaults x;
        set(x);
        return x;
    };
    auto late = [](int every) { // past the wait, within the settling after it
        RadioFaults x;
        x.lateEvery = every;
        x.lateMs = 160;
        return x;
    };
    const Case cases[] = {
        {"silence", f([](RadioFaults& x) { x.silenceEvery = 9; }), LinkOperation::ReadRadio},
        {"silence write", f([](RadioFaults& x) { x.silenceEvery = 9; }), LinkOperation::WriteRadio},
        {"bad checksum", f([](RadioFaults& x) { x.badChecksumEvery = 5; }), LinkOperation::ReadRadio},
        {"wrong address", f([](RadioFaults& x) { x.wrongAddressEvery = 4; }), LinkOperation::ReadRadio},
        {"nak", f([](RadioFaults& x) { x.nakEvery = 3; }), LinkOperation::WriteRadio},
        {"late read", f([](RadioFaults& x) { x.lateEvery = 11; }), LinkOperation::ReadRadio},
        {"late write", f([](RadioFaults& x) { x.lateEvery = 11; }), LinkOperation::WriteRadio},
        // Every request counts: 1 "PROGRAM", 2 the identification, 3 the password block.
        {"all late", late(1), LinkOperation::WriteRadio},
        {"late ident", late(2), LinkOperation::ReadRadio},
        {"late password", late(3), LinkOperation::WriteRadio},
        {"split", f([](RadioFaults& x) { x.splitBytes = 1; }), LinkOperation::ReadRadio},
        {"split info", f([](RadioFaults& x) { x.splitBytes = 3; }), LinkOperation::ReadRadioInfo},
    };
    for (const Case& c : cases) {
        for (bool echo : {false, true}) {
            auto t = test::MakeTestProgram();
            t->Link.NoEchoMode = !echo;
            RadioSetup setup;
            setup.faults = c.faults;
            RadioResponder radio = PatternRadio(14, setup);
            std::mt19937 rng(15);
            for (auto& b : t->RadioMemoryBlock)
                b = static_cast<uint8_t>(rng());
            const auto written = t->RadioMemoryBlock;
            VirtualLine line(*t, radio, echo);
            EXPECT_TRUE(line.Run(c.op)) << c.name << " echo " << echo;
            EXPECT_TRUE(t.script->shown.size() <= 1u) << c.name; // the success message only
            if (c.op == LinkOperation::ReadRadio) {
                EXPECT_EQ(t->RadioMemoryBlock, radio.memory) << c.name;
            } else if (c.op == LinkOperation::WriteRadio) {
                EXPECT_EQ(radio.memory, written) << c.name;
            } else {
                EXPECT_EQ(t->RadioInfoBlock, radio.info) << c.name;
            }
        }
    }
}

TEST(LinkEngine, ReplyForTheWrongAddressIsIgnoredAndTheSameBlockRequestedAgain) {
    auto t = test::MakeTestProgram();
    t->Link.NoEchoMode = true;
    RadioResponder radio = PatternRadio(16);
    VirtualLine line(*t, radio, false);
    bool once = true;
    line.tamper = [&](const Bytes& packet, std::vector<SimReply>& out) {
        if (IsReadOf(packet, 0x0000) && once) {
            once = false;
            out = radio.Feed(ReadRequest{0x0010}.encode());
            return true;
        }
        out = radio.Feed(packet);
        return true;
    };
    ASSERT_TRUE(line.Run(LinkOperation::ReadRadio));
    EXPECT_EQ(line.timeouts, 1);
    EXPECT_TRUE(IsReadOf(line.sent[3], 0x0000));
    EXPECT_TRUE(IsReadOf(line.sent[4], 0x0000));
    EXPECT_TRUE(IsReadOf(line.sent[5], 0x0010));
    EXPECT_EQ(t->RadioMemoryBlock, radio.memory);
}

TEST(LinkEngine, TooManyBytesKeepTheFirstThresholdManyTooFewTimeOut) {
    auto t = test::MakeTestProgram();
    t->Link.NoEchoMode = true;
    RadioResponder radio = PatternRadio(17);
    VirtualLine line(*t, radio, false);
    int n = 0;
    line.tamper = [&](const Bytes& packet, std::vector<SimReply>& out) {
        out = radio.Feed(packet);
        if (packet[0] != 'R' || out.empty()) return true;
        ++n;
        if (n % 3 == 0) out[0].bytes.insert(out[0].bytes.end(), {0x06, 0x0A, 'W'}); // too many: fine
        if (n % 7 == 0) out[0].bytes.pop_back();                                    // too few: time-out
        return true;
    };
    ASSERT_TRUE(line.Run(LinkOperation::ReadRadio));
    EXPECT_EQ(t->RadioMemoryBlock, radio.memory);
    EXPECT_GT(line.timeouts, 0);
}

TEST(LinkEngine, ProgressRisesOnlyAndEndsAtHundred) {
    for (LinkOperation op : {LinkOperation::ReadRadio, LinkOperation::WriteRadio}) {
        auto t = test::MakeTestProgram();
        t->Link.NoEchoMode = true;
        RadioResponder radio = PatternRadio(18);
        VirtualLine line(*t, radio, false);
        ASSERT_TRUE(line.Run(op));
        ASSERT_FALSE(line.progress.empty());
        for (size_t i = 1; i < line.progress.size(); ++i)
            EXPECT_GT(line.progress[i], line.progress[i - 1]);
        // Block 0x0000 gives 0 % (not shown); 0x0030 is the first to round to 1 %.
        EXPECT_EQ(line.progress.front(), 1);
        EXPECT_EQ(line.progress.back(), 100);
        EXPECT_EQ(line.progress.size(), 100u);
    }
}

} // namespace
} // namespace tarvane
