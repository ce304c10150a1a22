#include "freq/ChannelCodec.h"

#include <algorithm>
#include <cassert>
#include <cstdio>

#include "freq/FreqCodec.h"
#include "state/Program.h"

namespace tarvane {
namespace {

constexpr int kCtcss[kCtcssCount] = {670,  719,  744,  770,  797,  825,  854,  885,  915,  948,
                                     974,  1000, 1035, 1072, 1109, 1148, 1188, 1230, 1273, 1318,
                                     1365, 1413, 1462, 1514, 1567, 1622, 1679, 1738, 1799, 1862,
                                     1928, 2035, 2107, 2181, 2257, 2336, 2418, 2503};
constexpr int kDcs[kDcsCount] = {
    23,  25,  26,  31,  32,  36,  43,  47,  51,  53,  54,  65,  71,  72,  73,  74,  114, 115, 116, 122, 125,
    131, 132, 134, 143, 145, 152, 155, 156, 162, 165, 172, 174, 205, 212, 223, 225, 226, 243, 244, 245, 246,
    251, 252, 255, 261, 263, 265, 266, 271, 274, 306, 311, 315, 325, 331, 332, 343, 346, 351, 356, 364, 365,
    371, 411, 412, 413, 423, 431, 432, 445, 446, 452, 454, 455, 462, 464, 465, 466, 503, 506, 516, 523, 526,
    532, 546, 565, 606, 612, 624, 627, 631, 632, 654, 662, 664, 703, 712, 723, 731, 732, 734, 743, 754};

// Kind (0 off, 1 CTCSS, 2 DCS) and the two index bytes of a tone code.
struct ToneBytes {
    uint8_t kind = 0, ctcss = 0, dcs = 0;
};

ToneBytes SplitTone(int code) {
    ToneBytes t;
    if (code >= 1 && code < kFirstDcsCode) {
        t.kind = 1;
        t.ctcss = static_cast<uint8_t>(code - 1);
    } else if (code >= kFirstDcsCode && code < kToneCodeCount) {
        t.kind = 2;
        t.dcs = static_cast<uint8_t>(code - kFirstDcsCode);
    }
    return t;
}

int16_t JoinTone(int kind, uint8_t ctcss, uint8_t dcs) {
    if (kind == 1) return static_cast<int16_t>(ctcss + 1);
    if (kind == 2) return static_cast<int16_t>(dcs + kFirstDcsCode);
    return 0;
}

uint8_t Bits(int value, int mask) {
    return static_cast<uint8_t>(value & mask);
}

// Where a slot lives: its block and, unless it is the VFO, its flag bitmaps.
struct SlotPlace {
    int block = -1;
    int valid = -1, scan = -1, bit = 0;
};

SlotPlace PlaceOfIndex(int a) {
    SlotPlace s;
    if (a >= 0 && a < 400) {
        s = {mem::kChannelBlocks + mem::kBlockSize * a, mem::kValidBitmap, mem::kScanBitmap, a};
    } else if (a == 400) {
        s.block = mem::kVfoBlock;
    } else if (a >= 401 && a <= 408) {
        s = {mem::kMemBlocks + mem::kBlockSize * (a - 401), mem::kMemValid, mem::kMemScan, a - 401};
    } else if (a >= 409 && a <= 411) {
        s = {mem::kEmgBlocks + mem::kBlockSize * (a - 409), mem::kEmgValid, mem::kEmgScan, a - 409};
    }
    return s;
}

} // namespace

int CtcssTenthsHz(int n) {
    return n >= 1 && n <= kCtcssCount ? kCtcss[n - 1] : 0;
}
int DcsOctal(int n) {
    return n >= 1 && n <= kDcsCount ? kDcs[n - 1] : 0;
}

std::string ToneName(int code) {
    if (code < 0 || code >= kToneCodeCount) return "";
    return ToneNames()[static_cast<size_t>(code)];
}

const std::vector<std::string>& ToneNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> v{"Off"};
        char buf[32];
        for (int n = 1; n <= kCtcssCount; ++n) {
            int t = kCtcss[n - 1];
            std::snprintf(buf, sizeof buf, "C_%03d(%d.%dHz)", n, t / 10, t % 10);
            v.emplace_back(buf);
        }
        for (int n = 1; n <= kDcsCount; ++n) {
            std::snprintf(buf, sizeof buf, "D_%03d(%03dN)", n, kDcs[n - 1]);
            v.emplace_back(buf);
        }
        return v;
    }();
    return names;
}

bool TestBit(const RadioMemory& m, int bitmap, int i) {
    return (m[static_cast<size_t>(bitmap + i / 8)] >> (i % 8)) & 1;
}

void SetBit(RadioMemory& m, int bitmap, int i) {
    m[static_cast<size_t>(bitmap + i / 8)] |= static_cast<uint8_t>(1u << (i % 8));
}

void DecodeChannelBlock(const RadioMemory& m, int address, ChannelRecord& r) {
    assert(address >= 0 && address + mem::kBlockSize <= kRadioMemorySize);
    const uint8_t* b = m.data() + address;
    r.OffSetFre = static_cast<int16_t>(static_cast<uint16_t>(b[3] | (b[4] << 8)));
    r.DUP = b[10] & 0x03;
    r.TSQ = (b[10] >> 2) & 1;
    r.RDCT = JoinTone((b[10] >> 4) & 0x03, b[5], b[6]);
    r.TDCT = JoinTone((b[10] >> 6) & 0x03, b[7], b[8]);
    r.BUSY = b[11] & 1;
    r.HI_CUT = (b[11] >> 1) & 1;
    r.NB = (b[11] >> 2) & 1;
    r.Add_Sub_5K = (b[11] >> 3) & 1;
    r.AM_FM = (b[11] >> 4) & 1;
    r.Tx_Power = (b[11] >> 5) & 0x03;
    r.Public = (b[11] >> 7) & 1;
    r.RBTone = b[12];
    r.DTMF_BOT = b[13];
    r.DTMF_EOT = b[14];
    r.DTMF_Call = b[15];
}

void EncodeChannelBlock(RadioMemory& m, int address, const ChannelRecord& r) {
    assert(address >= 0 && address + mem::kBlockSize <= kRadioMemorySize);
    uint8_t* b = m.data() + address;
    ToneBytes rx = SplitTone(r.RDCT), tx = SplitTone(r.TDCT);
    auto offset = static_cast<uint16_t>(r.OffSetFre);
    b[3] = static_cast<uint8_t>(offset & 0xFF);
    b[4] = static_cast<uint8_t>(offset >> 8);
    b[5] = rx.ctcss;
    b[6] = rx.dcs;
    b[7] = tx.ctcss;
    b[8] = tx.dcs;
    b[10] = static_cast<uint8_t>(tx.kind << 6 | rx.kind << 4 | Bits(r.TSQ, 1) << 2 | Bits(r.DUP, 3));
    // Bit 3 (Add_Sub_5K) is read from the radio but never written back.
    b[11] = static_cast<uint8_t>(Bits(r.Public, 1) << 7 | Bits(r.Tx_Power, 3) << 5 | Bits(r.AM_FM, 1) << 4 |
                                 Bits(r.NB, 1) << 2 | Bits(r.HI_CUT, 1) << 1 | Bits(r.BUSY, 1));
    b[12] = Bits(r.RBTone, 0xFF);
    b[13] = Bits(r.DTMF_BOT, 0xFF);
    b[14] = Bits(r.DTMF_EOT, 0xFF);
    b[15] = Bits(r.DTMF_Call, 0xFF);
}

bool ReadChannel(const RadioMemory& m, RadioImage& image, int index) {
    SlotPlace place = PlaceOfIndex(index);
    if (place.block < 0) return false;
    bool vfo = place.valid < 0;
    if (!vfo && !TestBit(m, place.valid, place.bit)) return false;
    int n = image.UsedCount();
    if (n >= kMaxChannels) return false;
    ChannelRecord r;
    r.SlotNumber = static_cast<int16_t>(index + 1);
    r.IsBlank = 0;
    r.Scan = vfo ? 0 : TestBit(m, place.scan, place.bit);
    r.RxFreq.Assign(DecodeFreqBytes(m.data() + place.block));
    DecodeChannelBlock(m, place.block, r);
    image.Channels[static_cast<size_t>(n)] = r;
    image.Settings.ChannelCount = static_cast<int16_t>(n + 1);
    return true;
}

void ReadAllChannels(const RadioMemory& m, RadioImage& image, bool skipUnassigned) {
    image.Settings.ChannelCount = 0;
    for (int a = 0; a < kMaxChannels; ++a) {
        if (skipUnassigned && a >= 360 && a <= 400) continue;
        ReadChannel(m, image, a);
    }
}

void ReadAllChannels(Program& p) {
    ReadAllChannels(p.RadioMemoryBlock, p.Image, p.Link.Identity.RadioModelType == 0);
}

void WriteChannel(RadioMemory& m, ChannelRecord& r) {
    SlotPlace place = PlaceOfIndex(r.SlotNumber - 1);
    if (place.block < 0) return;
    std::string freq = r.RxFreq.Trimmed();
    r.IsBlank = IsNoFreq(freq) ? 1 : 0;
    if (place.valid >= 0 && r.IsBlank == 0) {
        SetBit(m, place.valid, place.bit);
        if (r.Scan == 1) SetBit(m, place.scan, place.bit);
    }
    auto bytes = EncodeFreqBytes(freq);
    std::copy(bytes.begin(), bytes.end(), m.begin() + place.block);
    EncodeChannelBlock(m, place.block, r);
}

void WriteAllChannels(RadioMemory& m, RadioImage& image) {
    std::fill_n(m.begin() + mem::kChannelBlocks, 400 * mem::kBlockSize, uint8_t{0});
    std::fill_n(m.begin() + mem::kValidBitmap, mem::kBitmapCleared, uint8_t{0});
    std::fill_n(m.begin() + mem::kScanBitmap, mem::kBitmapCleared, uint8_t{0});
    for (int i = 0; i < image.UsedCount(); ++i)
        WriteChannel(m, image.Channels[static_cast<size_t>(i)]);
}

void WriteAllChannels(Program& p) {
    WriteAllChannels(p.RadioMemoryBlock, p.Image);
}

} // namespace tarvane
