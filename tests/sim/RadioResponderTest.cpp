// The simulated radio: what it answers, what it stores, and its faults.
#include <gtest/gtest.h>

#include "TestProgram.h"
#include "sim/RadioResponder.h"
#include "sim/VirtualLine.h"

namespace tarvane {
namespace {

Bytes Join(const std::vector<SimReply>& replies) {
    Bytes out;
    for (const SimReply& r : replies) out.insert(out.end(), r.bytes.begin(), r.bytes.end());
    return out;
}

// A radio already in programming mode with a known memory and information area.
RadioResponder Programmed(RadioSetup setup = {}) {
    RadioResponder radio(setup);
    for (size_t i = 0; i < radio.memory.size(); ++i) radio.memory[i] = static_cast<uint8_t>(i & 0xFF);
    for (size_t i = 0; i < radio.info.size(); ++i) radio.info[i] = static_cast<uint8_t>(0x80 + (i & 0x7F));
    EXPECT_EQ(Join(radio.Feed(HandshakePacket::encode())), HandshakeAck::encode());
    return radio;
}

Bytes WriteBlock(uint16_t address, uint8_t fill) {
    DataBlock b;
    b.address = address;
    b.data.fill(fill);
    return b.encode();
}

TEST(RadioResponder, AnswersNothingBeforeTheHandshakeAndNothingAfterEnd) {
    RadioResponder radio;
    EXPECT_TRUE(radio.Feed(IdentRequest::encode()).empty());
    EXPECT_TRUE(radio.Feed(ReadRequest{0}.encode()).empty());
    EXPECT_EQ(Join(radio.Feed(HandshakePacket::encode())), HandshakeAck::encode());
    EXPECT_EQ(Join(radio.Feed(EndPacket::encode())), Bytes{kAck});
    EXPECT_TRUE(radio.Feed(ReadRequest{0}.encode()).empty());
}

TEST(RadioResponder, RequestsInAnyPiecesGiveTheSameReplies) {
    RadioResponder whole = Programmed();
    RadioResponder bytewise = Programmed();
    Bytes stream = IdentRequest::encode();
    for (Bytes part : {ReadRequest{0x0120}.encode(), WriteBlock(0x0040, 0x33), ReadRequest{0x0040}.encode(),
                       EndPacket::encode()})
        stream.insert(stream.end(), part.begin(), part.end());
    const Bytes expected = Join(whole.Feed(stream));
    Bytes got;
    for (uint8_t b : stream) {
        Bytes piece = Join(bytewise.Feed(std::span<const uint8_t>(&b, 1)));
        got.insert(got.end(), piece.begin(), piece.end());
    }
    EXPECT_EQ(got, expected);
    EXPECT_EQ(expected.size(), 16u + 22u + 1u + 22u + 1u);
}

TEST(RadioResponder, IdentificationCarriesModelTypeVersionAndFlag) {
    RadioSetup s;
    s.modelCode = "Tarvane";
    s.modelType = 2;
    s.firmwareVersion = "V1";
    s.ctcssDcs = false;
    RadioResponder radio = Programmed(s);
    const Bytes id = Join(radio.Feed(IdentRequest::encode()));
    EXPECT_EQ(id, (Bytes{'I', 'T', 'a', 'r', 'v', 'a', 'n', 'e', 2, 'V', '1', 0, 0, 0x00, 0x00, 0x06}));
}

TEST(RadioResponder, ReadsMemoryAndInformationAreaAtTheirAddresses) {
    RadioResponder radio = Programmed();
    radio.SetPassword("AB");
    auto block = DataBlock::parse(Join(radio.Feed(ReadRequest{0x1CF0}.encode())));
    ASSERT_TRUE(block);
    EXPECT_EQ(block->address, 0x1CF0);
    EXPECT_EQ(block->data[0], 0xF0);
    block = DataBlock::parse(Join(radio.Feed(ReadRequest{0x3E10}.encode())));
    ASSERT_TRUE(block);
    EXPECT_EQ(block->data[0], 0x90);
    EXPECT_EQ(block->data[12], 'A');
    EXPECT_EQ(block->data[13], 'B');
    EXPECT_EQ(block->data[14], 0x00);
    EXPECT_EQ(block->data[15], 0x00);
    radio.SetPassword("");
    block = DataBlock::parse(Join(radio.Feed(ReadRequest{0x3E10}.encode())));
    ASSERT_TRUE(block);
    EXPECT_EQ(block->data[12], 0xFF);
    EXPECT_EQ(block->data[15], 0xFF);
}

TEST(RadioResponder, StoresGoodBlocksRefusesDamagedOnesAndKeepsTheInformationAreaReadOnly) {
    RadioResponder radio = Programmed();
    const auto info = radio.info;
    EXPECT_EQ(Join(radio.Feed(WriteBlock(0x0100, 0x5A))), Bytes{kAck});
    EXPECT_EQ(radio.memory[0x0100], 0x5A);
    EXPECT_EQ(radio.memory[0x010F], 0x5A);
    EXPECT_EQ(radio.memory[0x0110], 0x10); // the next block untouched
    Bytes bad = WriteBlock(0x0200, 0x11);
    bad[20] ^= 1;
    EXPECT_EQ(Join(radio.Feed(bad)).front(), kNak);
    EXPECT_EQ(radio.memory[0x0200], 0x00);
    EXPECT_EQ(Join(radio.Feed(WriteBlock(0x3E00, 0x22))), Bytes{kAck});
    EXPECT_EQ(radio.info, info);
}

TEST(RadioResponderFaults, EachFaultHitsTheBlockRequestsItCounts) {
    struct Case {
        const char* name;
        RadioFaults faults;
        std::function<void(RadioResponder&)> check;
    };
    auto f = [](auto set) {
        RadioFaults x;
        set(x);
        return x;
    };
    const Case cases[] = {
        {"silence every 2nd",
         f([](RadioFaults& x) { x.silenceEvery = 2; }),
         [](RadioResponder& r) {
             EXPECT_FALSE(r.Feed(ReadRequest{0}.encode()).empty());
             EXPECT_TRUE(r.Feed(ReadRequest{0x10}.encode()).empty());
             EXPECT_FALSE(r.Feed(WriteBlock(0x20, 1)).empty());
             EXPECT_TRUE(r.Feed(WriteBlock(0x30, 1)).empty());
             EXPECT_NE(r.memory[0x30], 1); // a silenced block is not stored
         }},
        {"password block after identification and its re-sends are not counted",
         f([](RadioFaults& x) { x.silenceEvery = 1; }),
         [](RadioResponder& r) {
             r.Feed(IdentRequest::encode());
             EXPECT_FALSE(r.Feed(ReadRequest{0x3E10}.encode()).empty());
             EXPECT_FALSE(r.Feed(ReadRequest{0x3E10}.encode()).empty());
             EXPECT_TRUE(r.Feed(ReadRequest{0x0000}.encode()).empty());
             EXPECT_TRUE(r.Feed(ReadRequest{0x3E10}.encode()).empty()); // after a memory block: a block
         }},
        {"silenced password requests",
         f([](RadioFaults& x) { x.silencePassword = 2; }),
         [](RadioResponder& r) {
             r.Feed(IdentRequest::encode());
             EXPECT_TRUE(r.Feed(ReadRequest{0x3E10}.encode()).empty());
             EXPECT_TRUE(r.Feed(ReadRequest{0x3E10}.encode()).empty());
             EXPECT_FALSE(r.Feed(ReadRequest{0x3E10}.encode()).empty());
             EXPECT_FALSE(r.Feed(ReadRequest{0x0000}.encode()).empty());
         }},
        {"bad checksum",
         f([](RadioFaults& x) { x.badChecksumEvery = 1; }),
         [](RadioResponder& r) {
             const Bytes reply = Join(r.Feed(ReadRequest{0x40}.encode()));
             EXPECT_EQ(reply.size(), 22u);
             EXPECT_FALSE(DataBlock::parse(reply));
         }},
        {"wrong address",
         f([](RadioFaults& x) { x.wrongAddressEvery = 1; }),
         [](RadioResponder& r) {
             auto b = DataBlock::parse(Join(r.Feed(ReadRequest{0x40}.encode())));
             ASSERT_TRUE(b);
             EXPECT_EQ(b->address, 0x50);
             EXPECT_EQ(b->data[0], 0x50);
         }},
        {"nak every 2nd write",
         f([](RadioFaults& x) { x.nakEvery = 2; }),
         [](RadioResponder& r) {
             EXPECT_EQ(Join(r.Feed(WriteBlock(0x60, 9))), Bytes{kAck});
             EXPECT_EQ(Join(r.Feed(WriteBlock(0x70, 9))), Bytes{kNak});
             EXPECT_NE(r.memory[0x70], 9);
         }},
        {"nak once for an address",
         f([](RadioFaults& x) { x.nakAddress = 0x1CF0; }),
         [](RadioResponder& r) {
             EXPECT_EQ(Join(r.Feed(WriteBlock(0x1CF0, 9))), Bytes{kNak});
             EXPECT_EQ(Join(r.Feed(WriteBlock(0x1CF0, 9))), Bytes{kAck});
         }},
        {"nak ends",
         f([](RadioFaults& x) { x.nakEnds = 1; }),
         [](RadioResponder& r) {
             EXPECT_EQ(Join(r.Feed(EndPacket::encode())), Bytes{kNak});
             EXPECT_EQ(Join(r.Feed(EndPacket::encode())), Bytes{kAck});
         }},
        {"silent end",
         f([](RadioFaults& x) { x.silentEnd = true; }),
         [](RadioResponder& r) { EXPECT_TRUE(r.Feed(EndPacket::encode()).empty()); }},
        {"late and split",
         f([](RadioFaults& x) {
             x.lateEvery = 1;
             x.lateMs = 250;
             x.splitBytes = 4;
         }),
         [](RadioResponder& r) {
             auto replies = r.Feed(ReadRequest{0}.encode());
             ASSERT_EQ(replies.size(), 1u);
             EXPECT_EQ(replies[0].delayMs, 250);
             EXPECT_EQ(replies[0].pieceBytes, 4);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RadioSetup s;
        s.faults = c.faults;
        RadioResponder radio = Programmed(s);
        c.check(radio);
    }
}

TEST(RadioResponderFaults, IgnoredHandshakesGetNoAnswer) {
    RadioSetup s;
    s.faults.ignoreHandshakes = 2;
    RadioResponder radio(s);
    EXPECT_TRUE(radio.Feed(HandshakePacket::encode()).empty());
    EXPECT_TRUE(radio.Feed(HandshakePacket::encode()).empty());
    EXPECT_EQ(Join(radio.Feed(HandshakePacket::encode())), HandshakeAck::encode());
}

TEST(PacedLine, EchoedTransfersFitTheWaitAndTakeTheirWireTime) {
    // 7+3, 1+16, 4+22, then 464 blocks, then 3+1 bytes, at 960 bytes a second.
    const double readMs = (10 + 17 + 26 + 464 * 26 + 4) / 0.96;
    const double writeMs = (10 + 17 + 26 + 464 * 23 + 4) / 0.96;
    for (bool echo : {false, true}) {
        for (auto [op, wireMs] : {std::pair{LinkOperation::ReadRadio, readMs}, {LinkOperation::WriteRadio, writeMs}}) {
            auto t = test::MakeTestProgram();
            t->Link.NoEchoMode = !echo;
            RadioResponder radio;
            radio.SetPassword("");
            VirtualLine line(*t, radio, echo, true);
            ASSERT_TRUE(line.Run(op));
            EXPECT_EQ(line.timeouts, 0) << "echo " << echo;
            EXPECT_NEAR(line.NowMs(), wireMs, 1.0) << "echo " << echo;
        }
    }
}

} // namespace
} // namespace tarvane
