// The channel block and its flags, byte by byte.
#include <gtest/gtest.h>

#include "TestProgram.h"
#include "freq/ChannelCodec.h"
#include "freq/ChannelSlots.h"
#include "image/ImageOps.h"
#include "memory/RadioMemory.h"

namespace tarvane {
namespace {

ChannelRecord Channel(int slot, const char* freq) {
    ChannelRecord r;
    r.SlotNumber = static_cast<int16_t>(slot);
    r.Scan = 1;
    r.RxFreq.Assign(freq);
    return r;
}

TEST(ToneNames, CodeOrderWithTheNamesTheUserSees) {
    const auto& names = ToneNames();
    ASSERT_EQ(names.size(), 143u);
    EXPECT_EQ(names[0], "Off");
    EXPECT_EQ(names[1], "C_001(67.0Hz)");
    EXPECT_EQ(names[12], "C_012(100.0Hz)");
    EXPECT_EQ(names[38], "C_038(250.3Hz)");
    EXPECT_EQ(names[39], "D_001(023N)");
    EXPECT_EQ(names[142], "D_104(754N)");
    EXPECT_EQ(ToneName(143), "");
    EXPECT_EQ(ToneName(-1), "");
}

TEST(ChannelBlock, FrequencyTextGoesOutAsBcdLeastSignificantFirst) {
    RadioMemory m{};
    ChannelRecord r = Channel(3, "02696500");
    WriteChannel(m, r);
    EXPECT_EQ(m[32], 0x50);
    EXPECT_EQ(m[33], 0x96);
    EXPECT_EQ(m[34], 0x26);
    EXPECT_TRUE(TestBit(m, mem::kValidBitmap, 2));
    EXPECT_TRUE(TestBit(m, mem::kScanBitmap, 2));
}

TEST(ChannelBlock, BcdBytesComeBackAsFrequencyText) {
    RadioMemory m{};
    m[0] = 0x05;
    m[1] = 0x00;
    m[2] = 0x27;
    SetBit(m, mem::kValidBitmap, 0);
    RadioImage image;
    ASSERT_TRUE(ReadChannel(m, image, 0));
    EXPECT_EQ(image.Channels[0].RxFreq.Trimmed(), "02700050");
    EXPECT_EQ(image.Channels[0].Scan, 0);
    EXPECT_EQ(image.Channels[0].SlotNumber, 1);
}

TEST(ChannelBlock, ToneCodesSplitIntoKindAndIndexBytes) {
    RadioMemory m{};
    ChannelRecord r = Channel(1, "02696500");
    r.RDCT = 1;
    r.TDCT = 142;
    EncodeChannelBlock(m, 0, r);
    EXPECT_EQ(m[5], 0);
    EXPECT_EQ(m[6], 0);
    EXPECT_EQ(m[7], 0);
    EXPECT_EQ(m[8], 103);
    EXPECT_EQ(m[10] & 0xF0, 0x90);
    ChannelRecord back;
    DecodeChannelBlock(m, 0, back);
    EXPECT_EQ(back.RDCT, 1);
    EXPECT_EQ(back.TDCT, 142);
}

TEST(ChannelBlock, OffsetIsLittleEndian) {
    RadioMemory m{};
    ChannelRecord r = Channel(1, "02696500");
    r.OffSetFre = 1000;
    EncodeChannelBlock(m, 0, r);
    EXPECT_EQ(m[3], 0xE8);
    EXPECT_EQ(m[4], 0x03);
}

TEST(ChannelBlock, EachFlagHasItsOwnBit) {
    struct Case {
        int16_t ChannelRecord::*field;
        int16_t value;
        int byte;
        uint8_t bits;
    };
    const Case cases[] = {
        {&ChannelRecord::DUP, 2, 10, 0x02},      {&ChannelRecord::TSQ, 1, 10, 0x04},
        {&ChannelRecord::BUSY, 1, 11, 0x01},     {&ChannelRecord::HI_CUT, 1, 11, 0x02},
        {&ChannelRecord::NB, 1, 11, 0x04},       {&ChannelRecord::AM_FM, 1, 11, 0x10},
        {&ChannelRecord::Tx_Power, 2, 11, 0x40}, {&ChannelRecord::Public, 1, 11, 0x80},
        {&ChannelRecord::RBTone, 8, 12, 8},      {&ChannelRecord::DTMF_BOT, 16, 13, 16},
        {&ChannelRecord::DTMF_EOT, 5, 14, 5},    {&ChannelRecord::DTMF_Call, 9, 15, 9},
    };
    for (const Case& c : cases) {
        RadioMemory m{};
        ChannelRecord r;
        r.*c.field = c.value;
        EncodeChannelBlock(m, 16, r);
        for (int b = 0; b < 16; ++b)
            EXPECT_EQ(m[static_cast<size_t>(16 + b)], b == c.byte ? c.bits : 0)
                << "byte " << b << " value " << c.value;
        ChannelRecord back;
        DecodeChannelBlock(m, 16, back);
        EXPECT_EQ(back.*c.field, c.value);
    }
}

TEST(ChannelBlock, AddSub5KIsReadButNeverWrittenBack) {
    RadioMemory m{};
    m[11] = 0x08;
    ChannelRecord r;
    DecodeChannelBlock(m, 0, r);
    EXPECT_EQ(r.Add_Sub_5K, 1);
    RadioMemory out{};
    EncodeChannelBlock(out, 0, r);
    EXPECT_EQ(out[11] & 0x08, 0);
}

TEST(ChannelBlock, HostileValuesStayInsideTheirBitFields) {
    RadioMemory m{};
    ChannelRecord r;
    r.DUP = 7;      // 2 bits: must not reach TSQ
    r.Tx_Power = 7; // 2 bits: must not reach Public
    r.RDCT = 143;   // not a tone code: off
    r.TDCT = -5;
    r.RBTone = 300;
    r.TSQ = 2;
    r.Public = 2;
    EncodeChannelBlock(m, 0, r);
    EXPECT_EQ(m[10], 0x03);
    EXPECT_EQ(m[11], 0x60);
    EXPECT_EQ(m[5] | m[6] | m[7] | m[8], 0);
    EXPECT_EQ(m[12], 300 & 0xFF);
}

TEST(ChannelFlags, MemoryAndEmergencySlotsUseTheirOwnBitmaps) {
    RadioMemory m{};
    ChannelRecord mem3 = Channel(404, "02740500"), emg3 = Channel(412, "02700000");
    emg3.Scan = 0;
    WriteChannel(m, mem3);
    WriteChannel(m, emg3);
    EXPECT_EQ(m[mem::kMemValid], 0x04);
    EXPECT_EQ(m[mem::kMemScan], 0x04);
    EXPECT_EQ(m[mem::kEmgValid], 0x04);
    EXPECT_EQ(m[mem::kEmgScan], 0x00);
    EXPECT_EQ(m[mem::kMemBlocks + 32], 0x50);
    EXPECT_EQ(m[mem::kEmgBlocks + 32 + 2], 0x27);
}

TEST(ChannelFlags, DeletingMemoryChannel3ClearsItsBitOnTheNextWrite) {
    auto p = test::MakeTestProgram(0); // initial image: slots 1, 401, 402..412
    EncodeRadioMemory(*p);
    EXPECT_EQ(p->RadioMemoryBlock[mem::kMemValid], 0xFF);
    int index = FindChannelSlot(p->Image, 404);
    ASSERT_GE(index, 0);
    std::move(p->Image.Channels.begin() + index + 1, p->Image.Channels.end(),
              p->Image.Channels.begin() + index);
    --p->Image.Settings.ChannelCount;
    EncodeRadioMemory(*p);
    EXPECT_EQ(p->RadioMemoryBlock[mem::kMemValid], 0xFB);
    const RadioMemory first = p->RadioMemoryBlock;
    EncodeRadioMemory(*p);
    EXPECT_EQ(p->RadioMemoryBlock[mem::kMemValid], first[mem::kMemValid]);
    for (int b = 0; b < 16; ++b)
        EXPECT_EQ(first[static_cast<size_t>(mem::kMemBlocks + 32 + b)], 0);
}

TEST(ChannelFlags, BlankFrequencyFillsTheBlockButSetsNoValidBit) {
    RadioMemory m{};
    ChannelRecord r = Channel(7, "FFFFFFFF");
    r.OffSetFre = 100;
    WriteChannel(m, r);
    EXPECT_EQ(r.IsBlank, 1);
    EXPECT_FALSE(TestBit(m, mem::kValidBitmap, 6));
    EXPECT_FALSE(TestBit(m, mem::kScanBitmap, 6));
    EXPECT_EQ(m[6 * 16], 0xFF);
    EXPECT_EQ(m[6 * 16 + 3], 100);
}

TEST(ChannelFlags, SlotsOutsideTheListAreIgnored) {
    for (int slot : {0, -1, 413, 32767}) {
        RadioMemory m{};
        ChannelRecord r = Channel(slot, "02696500");
        WriteChannel(m, r);
        EXPECT_EQ(m, RadioMemory{}) << slot;
    }
}

TEST(Vfo, PresentAfterAReadEvenWhenEmptyAndNeverFlagged) {
    RadioMemory m{};
    RadioImage image;
    ReadAllChannels(m, image, false);
    ASSERT_EQ(image.Settings.ChannelCount, 1);
    EXPECT_EQ(image.Channels[0].SlotNumber, 401);
    EXPECT_EQ(image.Channels[0].Scan, 0);

    ChannelRecord vfo = Channel(401, "02850000");
    WriteAllChannels(m, image);
    WriteChannel(m, vfo);
    for (int a = mem::kValidBitmap; a < mem::kMemBlocks; ++a)
        EXPECT_EQ(m[static_cast<size_t>(a)], 0);
    EXPECT_EQ(m[mem::kVfoBlock + 2], 0x28);

    ReadAllChannels(m, image, true);
    EXPECT_EQ(image.Settings.ChannelCount, 0);
}

} // namespace
} // namespace tarvane
