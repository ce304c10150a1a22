#include <gtest/gtest.h>

#include <numeric>

#include "link/LinkEngine.h"
#include "link/LinkWire.h"

namespace tarvane {
namespace {

TEST(LinkWire, PacketsAreByteExact) {
    EXPECT_EQ(HandshakePacket::encode(), (Bytes{0x50, 0x52, 0x4F, 0x47, 0x52, 0x41, 0x4D}));
    EXPECT_EQ(IdentRequest::encode(), (Bytes{0x02}));
    EXPECT_EQ(EndPacket::encode(), (Bytes{0x45, 0x4E, 0x44}));
    EXPECT_EQ(ReadRequest{0x3E10}.encode(), (Bytes{0x52, 0x3E, 0x10, 0x10}));
    EXPECT_EQ(ReadRequest{0x1CF0}.encode(), (Bytes{0x52, 0x1C, 0xF0, 0x10}));
}

TEST(LinkWire, DataBlockCarriesAddressHighFirstAndChecksumOverAddressLengthAndData) {
    DataBlock b;
    b.address = 0x1234;
    std::iota(b.data.begin(), b.data.end(), uint8_t{0}); // 0..15, sum 120
    Bytes out = b.encode();
    ASSERT_EQ(out.size(), 22u);
    EXPECT_EQ(out[0], 0x57);
    EXPECT_EQ(out[1], 0x12);
    EXPECT_EQ(out[2], 0x34);
    EXPECT_EQ(out[3], 0x10);
    EXPECT_EQ(out[4], 0x00);
    EXPECT_EQ(out[19], 0x0F);
    EXPECT_EQ(out[20], 0xCE); // 0x12 + 0x34 + 0x10 + 120 = 206
    EXPECT_EQ(out[21], 0x06);
    // The sum keeps only its low byte.
    DataBlock full;
    full.address = 0xFFFF;
    full.data.fill(0xFF);
    EXPECT_EQ(full.encode()[20], static_cast<uint8_t>(0xFF + 0xFF + 0x10 + 16 * 0xFF));
}

// Whole frames worked out by hand: the checksum is the low byte of address high +
// address low + length + every data byte; "W" and the trailing 0x06 are left out.
// Each frame must come out of encode() exactly and be taken by parse().
TEST(LinkWire, DataBlockFramesOfKnownChecksum) {
    auto frame = [](uint8_t hi, uint8_t lo, std::array<uint8_t, 16> data, uint8_t sum) {
        // Filled in place: growing it from a short list trips a false bounds
        // warning of GCC 12 in optimised builds.
        Bytes f(22);
        f[0] = 0x57;
        f[1] = hi;
        f[2] = lo;
        f[3] = 0x10;
        std::copy(data.begin(), data.end(), f.begin() + 4);
        f[20] = sum;
        f[21] = 0x06;
        return f;
    };
    std::array<uint8_t, 16> zero{}, ones{}, count{}, ends{};
    ones.fill(0xFF);
    std::iota(count.begin(), count.end(), uint8_t{1}); // 1..16, sum 136
    ends.front() = 0x80;
    ends.back() = 0x7F;
    const Bytes frames[] = {
        frame(0x00, 0x00, zero, 0x10),  // 0x10
        frame(0x1C, 0xF0, ones, 0x0C),  // 0x1C + 0xF0 + 0x10 + 16 x 0xFF = 0x110C
        frame(0x3E, 0x10, count, 0xE6), // 0x3E + 0x10 + 0x10 + 136 = 0xE6
        frame(0x0A, 0x50, ends, 0x69),  // 0x0A + 0x50 + 0x10 + 0x80 + 0x7F = 0x169
    };
    for (const Bytes& f : frames) {
        DataBlock b;
        b.address = static_cast<uint16_t>(f[1] << 8 | f[2]);
        std::copy(f.begin() + 4, f.begin() + 20, b.data.begin());
        EXPECT_EQ(b.encode(), f) << std::hex << b.address;
        EXPECT_EQ(BlockChecksum(b.address, b.data), f[20]) << std::hex << b.address;
        const auto parsed = DataBlock::parse(f);
        ASSERT_TRUE(parsed) << std::hex << b.address;
        EXPECT_EQ(parsed->address, b.address);
        EXPECT_EQ(parsed->data, b.data);
    }
}

TEST(LinkWire, DataBlockParseRefusesEveryDamage) {
    DataBlock b;
    b.address = 0x0450;
    b.data.fill(0x5A);
    const Bytes good = b.encode();
    auto parsed = DataBlock::parse(good);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->address, 0x0450);
    EXPECT_EQ(parsed->data, b.data);

    struct Case {
        const char* name;
        std::function<void(Bytes&)> damage;
    };
    const Case cases[] = {
        {"checksum", [](Bytes& x) { x[20] ^= 0x01; }},
        {"trailer", [](Bytes& x) { x[21] = 0x0A; }},
        {"lead byte", [](Bytes& x) { x[0] = 'R'; }},
        {"length byte", [](Bytes& x) { x[3] = 0x0F; }},
        {"one byte short", [](Bytes& x) { x.pop_back(); }},
        {"one byte long", [](Bytes& x) { x.push_back(0x06); }},
        {"data byte", [](Bytes& x) { x[9] ^= 0x80; }},
    };
    for (const Case& c : cases) {
        Bytes x = good;
        c.damage(x);
        EXPECT_FALSE(DataBlock::parse(x)) << c.name;
    }
}

TEST(LinkWire, IdentReplyTextsEndAtTheirFirstNul) {
    const Bytes reply{'I', 'T', 'a', 'r', 0, 'x', 'y', 'z', 2, 'V', '1', 0, '9', 0x03, 0xEE, 0x06};
    auto id = IdentReply::parse(reply);
    ASSERT_TRUE(id);
    EXPECT_EQ(id->modelCode, "Tar");
    EXPECT_EQ(id->modelType, 2);
    EXPECT_EQ(id->firmwareVersion, "V1");
    EXPECT_EQ(id->flags, 0x03);
    Bytes wrong = reply;
    wrong[15] = 0x00;
    EXPECT_FALSE(IdentReply::parse(wrong));
    wrong = reply;
    wrong[0] = 'i';
    EXPECT_FALSE(IdentReply::parse(wrong));
    EXPECT_FALSE(IdentReply::parse(std::span<const uint8_t>(reply).first(15)));
}

TEST(LinkWire, RadioPasswordIsBytesTwelveToFifteenUpToNulOrErased) {
    struct Case {
        std::array<uint8_t, 4> bytes;
        const char* password;
    };
    const Case cases[] = {
        {{'A', 'B', 0x00, 0x00}, "AB"}, {{0xFF, 0xFF, 0xFF, 0xFF}, ""}, {{0x00, 'A', 'B', 'C'}, ""},
        {{'1', '2', '3', '4'}, "1234"}, {{'x', 0xFF, 'y', 'z'}, "x"},   {{'a', 'b', ' ', ' '}, "ab"},
    };
    for (const Case& c : cases) {
        std::array<uint8_t, kBlockSize> data{};
        data.fill('Q'); // bytes 0..11 must not count
        std::copy(c.bytes.begin(), c.bytes.end(), data.begin() + 12);
        EXPECT_EQ(RadioPasswordOf(data), c.password);
    }
}

} // namespace
} // namespace tarvane
