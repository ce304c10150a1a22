// The whole radio memory: what travels through a radio comes back, nothing else
// changes, encoding is repeatable, and hostile images or memory never break it.
#include <gtest/gtest.h>

#include <algorithm>

#include "RandomImages.h"
#include "TestProgram.h"
#include "features/dtmf/DtmfArea.h"
#include "freq/ChannelCodec.h"
#include "freq/ChannelSlots.h"
#include "image/ImageOps.h"
#include "memory/RadioMemory.h"

namespace tarvane {
namespace {

using test::Dice;

// The image a radio hands back for `sent`, decoded over `prior`: exactly the
// fields that travel through the radio memory come from `sent`.
RadioImage ExpectedAfterRadio(const RadioImage& sent, const RadioImage& prior, int band) {
    RadioImage e = prior;
    std::vector<ChannelRecord> list(sent.Channels.begin(), sent.Channels.begin() + sent.UsedCount());
    std::sort(list.begin(), list.end(), [](auto& a, auto& b) { return a.SlotNumber < b.SlotNumber; });
    int n = 0;
    for (ChannelRecord r : list) {
        if (band == 0 && r.SlotNumber >= 361 && r.SlotNumber <= 401) continue;
        r.IsBlank = 0;
        if (r.SlotNumber == 401) r.Scan = 0;
        r.Add_Sub_5K = 0; // never written
        r.Reserved = {};
        e.Channels[static_cast<size_t>(n++)] = r;
    }
    SettingsRecord& s = e.Settings;
    const SettingsRecord& was = prior.Settings;
    s.ChannelCount = static_cast<int16_t>(n);
    s.Version.ModelType = static_cast<int16_t>(band);

    // Each area travels whole except the fields restored from `prior` below.
    s.Features = sent.Settings.Features;
    s.Features.CurrentGroup = was.Features.CurrentGroup;
    s.Features.GroupEmgChannel1 = was.Features.GroupEmgChannel1;
    s.Features.GroupEmgChannel2 = was.Features.GroupEmgChannel2;
    s.Features.GroupEmgAmFm1 = was.Features.GroupEmgAmFm1;
    s.Features.GroupEmgAmFm2 = was.Features.GroupEmgAmFm2;
    s.Features.Reserved = was.Features.Reserved;

    s.CommonChannel = sent.Settings.CommonChannel;
    s.CommonChannel.SlotNumber = was.CommonChannel.SlotNumber;
    s.CommonChannel.IsBlank = was.CommonChannel.IsBlank;
    s.CommonChannel.Scan = was.CommonChannel.Scan;
    s.CommonChannel.RxFreq = was.CommonChannel.RxFreq;
    s.CommonChannel.Reserved = was.CommonChannel.Reserved;
    s.CommonChannel.Add_Sub_5K = 0; // never written

    s.KeyTable = sent.Settings.KeyTable;
    s.Dtmf = sent.Settings.Dtmf;
    s.Dtmf.Reserved = was.Dtmf.Reserved;
    for (size_t i = 0; i < s.Dtmf.Codes.size(); ++i)
        if (s.Dtmf.Codes[i].Length == 0)
            s.Dtmf.Codes[i].Code = was.Dtmf.Codes[i].Code; // an absent code keeps its text
    s.ToneTips = sent.Settings.ToneTips;
    return e;
}

void ExpectSameUsed(const RadioImage& got, const RadioImage& want) {
    ASSERT_EQ(got.Settings.ChannelCount, want.Settings.ChannelCount);
    for (int i = 0; i < want.UsedCount(); ++i)
        EXPECT_EQ(got.Channels[static_cast<size_t>(i)], want.Channels[static_cast<size_t>(i)])
            << "list index " << i << " slot " << want.Channels[static_cast<size_t>(i)].SlotNumber;
    EXPECT_EQ(got.Settings.Features, want.Settings.Features);
    EXPECT_EQ(got.Settings.CommonChannel, want.Settings.CommonChannel);
    EXPECT_EQ(got.Settings.KeyTable, want.Settings.KeyTable);
    EXPECT_EQ(got.Settings.Dtmf, want.Settings.Dtmf);
    EXPECT_EQ(got.Settings.ToneTips, want.Settings.ToneTips);
    EXPECT_EQ(got.Settings.Emergency, want.Settings.Emergency);
    EXPECT_EQ(got.Settings.Version, want.Settings.Version);
}

class RoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(RoundTrip, DecodingTheEncodedMemoryGivesBackWhatTravelsAndNothingElse) {
    const int band = GetParam();
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Dice dice(seed * 31 + static_cast<unsigned>(band));
        auto sender = test::MakeTestProgram(band);
        test::RandomValidImage(*sender, dice, band, seed == 1);
        EncodeRadioMemory(*sender);
        const RadioMemory first = sender->RadioMemoryBlock;
        sender->RadioMemoryBlock.fill(0xA5);
        EncodeRadioMemory(*sender);
        EXPECT_EQ(first, sender->RadioMemoryBlock) << "encoding twice differs";

        // The receiver starts on another band with other random values everywhere.
        const int otherBand = (band + 1) % 3;
        auto receiver = test::MakeTestProgram(otherBand);
        test::RandomValidImage(*receiver, dice, otherBand);
        const RadioImage prior = receiver->Image;
        const RadioImage baseline = receiver->Baseline;
        receiver->RadioMemoryBlock = first;
        receiver->Link.Identity.RadioModelType = static_cast<uint8_t>(band);
        ASSERT_TRUE(DecodeRadioMemory(*receiver));
        ExpectSameUsed(receiver->Image, ExpectedAfterRadio(sender->Image, prior, band));
        EXPECT_EQ(receiver->Model.ModelType, band);
        EXPECT_EQ(receiver->Baseline, baseline) << "a read replaces only the working image";

        EncodeRadioMemory(*receiver);
        EXPECT_EQ(receiver->RadioMemoryBlock, first) << "the decoded image encodes differently";
    }
}

INSTANTIATE_TEST_SUITE_P(AllBands, RoundTrip, ::testing::Values(0, 1, 2));

TEST(RadioMemoryDecode, UnknownRadioTypeLeavesTheImageAndModelAlone) {
    auto p = test::MakeTestProgram(1);
    Dice dice(7);
    test::RandomValidImage(*p, dice, 1);
    EncodeRadioMemory(*p);
    const RadioImage before = p->Image;
    p->Link.Identity.RadioModelType = 3;
    EXPECT_FALSE(DecodeRadioMemory(*p));
    EXPECT_TRUE(p.script->Saw("Country Mode Error!"));
    EXPECT_EQ(p->Image, before);
    EXPECT_EQ(p->Model.ModelType, 1);
}

TEST(RadioMemoryDecode, CbSkipsSlots361To401AndOtherBandsReadThem) {
    auto p = test::MakeTestProgram(1);
    p->Image.Settings.ChannelCount = 0;
    for (int slot : {360, 361, 400, 401, 402})
        ASSERT_TRUE(AppendChannel(p->Image, slot, "28.50000"));
    EncodeRadioMemory(*p);
    auto slotsAfterRead = [&](uint8_t type) {
        auto q = test::MakeTestProgram(type);
        q->RadioMemoryBlock = p->RadioMemoryBlock;
        q->Link.Identity.RadioModelType = type;
        EXPECT_TRUE(DecodeRadioMemory(*q));
        std::vector<int> slots;
        for (int i = 0; i < q->Image.UsedCount(); ++i)
            slots.push_back(q->Image.Channels[static_cast<size_t>(i)].SlotNumber);
        return slots;
    };
    EXPECT_EQ(slotsAfterRead(0), (std::vector<int>{360, 402}));
    EXPECT_EQ(slotsAfterRead(2), (std::vector<int>{360, 361, 400, 401, 402}));
}

// Bytes an encoder may write: the region table, less the bits that hold nothing.
bool Owned(int address) {
    for (const MemoryRegion& r : MemoryRegions())
        if (address >= r.Address && address < r.Address + r.Size) return true;
    return false;
}

void ExpectNoSpill(const RadioMemory& m) {
    for (int a = 0; a < kRadioMemorySize; ++a)
        if (!Owned(a)) {
            ASSERT_EQ(m[static_cast<size_t>(a)], 0) << "unowned byte 0x" << std::hex << a;
        }
    for (int a = mem::kBitmapUsed; a < mem::kBitmapCleared; ++a) {
        EXPECT_EQ(m[static_cast<size_t>(mem::kValidBitmap + a)], 0);
        EXPECT_EQ(m[static_cast<size_t>(mem::kScanBitmap + a)], 0);
    }
    EXPECT_EQ(m[mem::kEmgValid] & ~0x07, 0);
    EXPECT_EQ(m[mem::kEmgScan] & ~0x07, 0);
    EXPECT_EQ(m[mem::kGroupFlags + 1] & ~0x03, 0);
    EXPECT_EQ(m[mem::kEditFlags] & ~0x0B, 0);
    for (int block = 0; block < 412; ++block) {
        int at = block < 400    ? 16 * block
                 : block == 400 ? mem::kVfoBlock
                 : block < 409  ? mem::kMemBlocks + 16 * (block - 401)
                                : mem::kEmgBlocks + 16 * (block - 409);
        EXPECT_EQ(m[static_cast<size_t>(at + 9)], 0);
        EXPECT_EQ(m[static_cast<size_t>(at + 10)] & 0x08, 0);
        EXPECT_NE(m[static_cast<size_t>(at + 10)] & 0x30, 0x30) << "tone kind 3";
        EXPECT_EQ(m[static_cast<size_t>(at + 11)] & 0x08, 0);
    }
    for (int n = 0; n < 16; ++n) {
        const uint8_t* slot = m.data() + mem::kDtmfDigits + 16 * n;
        int k = 0;
        while (k < 16 && slot[k] < 16)
            ++k;
        for (; k < 16; ++k)
            EXPECT_EQ(slot[k], 255) << "code " << n + 1;
    }
}

TEST(RadioMemoryHostile, AnyImageEncodesWithinItsRegionsAndFields) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Dice dice(seed);
        auto p = test::MakeTestProgram(static_cast<int>(seed % 3));
        test::RandomHostileImage(*p, dice);
        EncodeRadioMemory(*p);
        ExpectNoSpill(p->RadioMemoryBlock);
        const RadioMemory first = p->RadioMemoryBlock;
        EncodeRadioMemory(*p);
        EXPECT_EQ(first, p->RadioMemoryBlock);
    }
}

TEST(RadioMemoryHostile, AnyMemoryDecodesAndEncodesAgainWithinItsRegions) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Dice dice(seed + 1000);
        auto p = test::MakeTestProgram(0);
        for (auto& b : p->RadioMemoryBlock)
            b = static_cast<uint8_t>(dice.In(0, 255));
        if (seed % 4 == 0) p->RadioMemoryBlock.fill(0xFF);
        p->Link.Identity.RadioModelType = static_cast<uint8_t>(seed % 3);
        ASSERT_TRUE(DecodeRadioMemory(*p));
        EXPECT_LE(p->Image.Settings.ChannelCount, kMaxChannels);
        for (const DtmfCodeEntry& e : p->Image.Settings.Dtmf.Codes)
            EXPECT_LE(e.Length, 16);
        EncodeRadioMemory(*p);
        ExpectNoSpill(p->RadioMemoryBlock);
    }
}

TEST(RadioMemoryHostile, DuplicateSlotsSetTheirFlagBitOnce) {
    auto p = test::MakeTestProgram(2);
    p->Image.Settings.ChannelCount = 0;
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(AppendChannel(p->Image, 402, "28.10000"));
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(AppendChannel(p->Image, 412, "28.20000"));
    EncodeRadioMemory(*p);
    EXPECT_EQ(p->RadioMemoryBlock[mem::kMemValid], 0x01);
    EXPECT_EQ(p->RadioMemoryBlock[mem::kMemScan], 0x01);
    EXPECT_EQ(p->RadioMemoryBlock[mem::kEmgValid], 0x04);
}

TEST(RadioMemoryHostile, AFullListTakesNoMoreChannels) {
    auto p = test::MakeTestProgram(1);
    p->Image.Settings.ChannelCount = kMaxChannels;
    EXPECT_FALSE(AppendChannel(p->Image, 5, "28.00000"));
    RadioMemory m{};
    SetBit(m, mem::kValidBitmap, 0);
    EXPECT_FALSE(ReadChannel(m, p->Image, 0));
    EXPECT_EQ(p->Image.Settings.ChannelCount, kMaxChannels);
}

TEST(MemoryRegionTable, RegionsAscendWithoutOverlapInsideTheMemory) {
    int end = 0;
    for (const MemoryRegion& r : MemoryRegions()) {
        EXPECT_GE(r.Address, end) << r.What;
        EXPECT_GT(r.Size, 0) << r.What;
        end = r.Address + r.Size;
    }
    EXPECT_LE(end, kRadioMemorySize);
}

} // namespace
} // namespace tarvane
