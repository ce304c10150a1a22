#pragma once
// Random images for tests: valid ones (every value in the range the editors
// keep), hostile ones (any 16-bit value, any text byte), and file images (hostile
// in every field a file may carry, yet a file the program opens).
#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "state/Program.h"

namespace tarvane::test {

class Dice {
  public:
    explicit Dice(unsigned seed) : rng_(seed) {}
    int In(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    int16_t Any16() { return static_cast<int16_t>(In(-32768, 32767)); }
    bool Coin() { return In(0, 1) == 1; }
    std::mt19937& Rng() { return rng_; }

  private:
    std::mt19937 rng_;
};

// A frequency text the radio can hold exactly: below 100 MHz, last digit 0.
inline std::string RandomFreqText(Dice& d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%03d%04d0", d.In(25, 30), d.In(0, 9999));
    return buf;
}

inline void RandomValidChannel(Dice& d, ChannelRecord& r) {
    r.IsBlank = static_cast<int16_t>(d.In(0, 1));
    r.Scan = static_cast<int16_t>(d.In(0, 1));
    r.RxFreq.Assign(RandomFreqText(d));
    r.OffSetFre = static_cast<int16_t>(5 * d.In(1, 200));
    r.RDCT = static_cast<int16_t>(d.In(0, 142));
    r.TDCT = static_cast<int16_t>(d.In(0, 142));
    r.DUP = static_cast<int16_t>(d.In(0, 2));
    for (int16_t* f : {&r.HI_CUT, &r.BUSY, &r.NB, &r.Add_Sub_5K, &r.AM_FM, &r.Public, &r.TSQ})
        *f = static_cast<int16_t>(d.In(0, 1));
    r.Tx_Power = static_cast<int16_t>(d.In(0, 2));
    r.RBTone = static_cast<int16_t>(d.In(0, 8));
    for (int16_t* f : {&r.DTMF_BOT, &r.DTMF_EOT, &r.DTMF_Call})
        *f = static_cast<int16_t>(d.In(0, 16));
    for (auto& x : r.Reserved)
        x = d.Any16();
}

inline std::string RandomDtmfText(Dice& d, int length) {
    static const char kDigits[] = "0123456789ABCD*#";
    std::string s;
    for (int i = 0; i < length; ++i)
        s += kDigits[d.In(0, 15)];
    return s;
}

// Fills the whole image with valid values for the band. Channels: a random set of
// the slots a radio of the band reads back (all of them when `full`), in random
// list order; HF and HAM always have their VFO.
inline void RandomValidImage(Program& p, Dice& d, int band, bool full = false) {
    RadioImage& im = p.Image;
    std::vector<int> wanted;
    for (int s = 1; s <= kMaxChannels; ++s) {
        bool readable = band != 0 || s <= 360 || s >= 402;
        bool vfo = s == 401 && band != 0;
        if (readable && (full || vfo || d.In(0, 5) == 0)) wanted.push_back(s);
    }
    std::shuffle(wanted.begin(), wanted.end(), d.Rng());
    im.Channels = {};
    im.Settings.ChannelCount = static_cast<int16_t>(wanted.size());
    for (size_t i = 0; i < wanted.size(); ++i) {
        im.Channels[i].SlotNumber = static_cast<int16_t>(wanted[i]);
        RandomValidChannel(d, im.Channels[i]);
    }
    SettingsRecord& s = im.Settings;
    FeatureBlock& f = s.Features;
    f.CurrentGroup = static_cast<int16_t>(d.In(0, 12));
    f.MemChannelUse = static_cast<int16_t>(d.In(0, 1));
    f.ActiveGroup = static_cast<int16_t>(d.In(0, 12));
    f.MemChannelSel = static_cast<int16_t>(d.In(0, 7));
    for (auto& x : f.GroupEnabled)
        x = static_cast<int16_t>(d.In(0, 1));
    for (auto& x : f.WorkChannel)
        x = static_cast<int16_t>(d.In(0, 79));
    for (auto& x : f.GroupEmgChannel1)
        x = static_cast<int16_t>(d.In(0, 79));
    for (auto& x : f.GroupEmgChannel2)
        x = static_cast<int16_t>(d.In(0, 79));
    for (auto& x : f.Options)
        x = static_cast<int16_t>(d.In(0, 30));
    f.Options[kOptAsqFun] = static_cast<int16_t>(d.In(0, 1));
    f.Options[kOptAsqValue] = static_cast<int16_t>(d.In(1, 9));
    f.Options[kOptMemEditAllowed] = static_cast<int16_t>(d.In(0, 1));
    f.Options[kOptSwrInUse] = static_cast<int16_t>(d.In(0, 1));
    f.Options[kOptSwrLimit] = static_cast<int16_t>(d.In(70, 200));
    for (auto& x : f.GroupEmgAmFm1)
        x = static_cast<uint8_t>(d.In(0, 255));
    for (auto& x : f.GroupEmgAmFm2)
        x = static_cast<uint8_t>(d.In(0, 255));
    for (auto& x : f.Display)
        x = static_cast<int16_t>(d.In(0, 2));
    f.EmgChannelSel = static_cast<uint8_t>(d.In(0, 2));
    f.EmgEditAllowed = static_cast<uint8_t>(d.In(0, 1));
    f.DisplayMode = static_cast<uint8_t>(d.In(0, 1));
    for (auto& x : f.Reserved)
        x = static_cast<uint8_t>(d.In(0, 255));

    s.CommonChannel.SlotNumber = static_cast<int16_t>(d.In(0, 412));
    RandomValidChannel(d, s.CommonChannel);
    s.KeyTable[0] = static_cast<int16_t>(d.In(0, 3));
    for (size_t k = 1; k < s.KeyTable.size(); ++k)
        s.KeyTable[k] = static_cast<int16_t>(d.In(1, 20));
    DtmfBlock& dt = s.Dtmf;
    for (int16_t* x :
         {&dt.DtmfRate, &dt.FirstDigitTime, &dt.FirstDigitDelay, &dt.StarHashTime, &dt.DKeySetting})
        *x = static_cast<int16_t>(d.In(0, 50));
    dt.DtmfDisplay = static_cast<int16_t>(d.In(0, 1));
    for (auto& c : dt.Codes) {
        c.Length = static_cast<int16_t>(d.In(0, 16));
        c.Code.Assign(RandomDtmfText(d, d.Coin() ? c.Length : d.In(0, 16)));
        if (c.Length > 0) c.Code.Assign(RandomDtmfText(d, c.Length));
    }
    for (auto& x : dt.Reserved)
        x = static_cast<uint8_t>(d.In(0, 255));
    for (auto& t : s.ToneTips) {
        for (auto& pair : t.Pairs) {
            pair.Tone = static_cast<int16_t>(d.In(0, 255));
            pair.Duration = static_cast<int16_t>(d.In(0, 255));
        }
        t.LoopCount = static_cast<int16_t>(d.In(0, 10));
        t.LoopInterval = static_cast<int16_t>(d.In(0, 255));
    }
    for (auto& e : s.Emergency) {
        e.EmgGroup = static_cast<int16_t>(d.In(0, 9));
        e.EmgChannel = static_cast<int16_t>(d.In(0, 40));
        e.Channel.SlotNumber = static_cast<int16_t>(d.In(1, 412));
        RandomValidChannel(d, e.Channel);
    }
}

inline void RandomHostileChannel(Dice& d, ChannelRecord& r) {
    r.SlotNumber = d.Coin() ? static_cast<int16_t>(d.In(-3, 416)) : d.Any16();
    for (int16_t* f : {&r.IsBlank, &r.Scan, &r.OffSetFre, &r.RDCT, &r.TDCT, &r.DUP, &r.HI_CUT, &r.BUSY, &r.NB,
                       &r.Add_Sub_5K, &r.AM_FM, &r.Tx_Power, &r.Public, &r.RBTone, &r.DTMF_BOT, &r.DTMF_EOT,
                       &r.DTMF_Call, &r.TSQ})
        *f = d.Coin() ? static_cast<int16_t>(d.In(-2, 300)) : d.Any16();
    for (auto& c : r.RxFreq.chars)
        c = static_cast<char>(d.In(0, 255));
    if (d.Coin()) r.RxFreq.Assign(d.Coin() ? "FFFFFFFF" : RandomFreqText(d));
}

// Every field any value; ChannelCount anywhere from negative to past 412.
inline void RandomHostileImage(Program& p, Dice& d) {
    RadioImage& im = p.Image;
    for (auto& r : im.Channels)
        RandomHostileChannel(d, r);
    const int16_t counts[] = {0, 1, 50, 411, 412, 413, -1, 32767, -32768};
    im.Settings.ChannelCount = counts[d.In(0, 8)];
    SettingsRecord& s = im.Settings;
    FeatureBlock& f = s.Features;
    for (int16_t* x : {&f.CurrentGroup, &f.MemChannelUse, &f.ActiveGroup, &f.MemChannelSel})
        *x = d.Any16();
    for (auto* a : {&f.GroupEnabled, &f.WorkChannel, &f.GroupEmgChannel1, &f.GroupEmgChannel2})
        for (auto& x : *a)
            x = d.Any16();
    for (auto& x : f.Options)
        x = d.Any16();
    for (auto& x : f.Display)
        x = d.Any16();
    f.EmgChannelSel = static_cast<uint8_t>(d.In(0, 255));
    f.EmgEditAllowed = static_cast<uint8_t>(d.In(0, 255));
    f.DisplayMode = static_cast<uint8_t>(d.In(0, 255));
    RandomHostileChannel(d, s.CommonChannel);
    for (auto& x : s.KeyTable)
        x = d.Any16();
    DtmfBlock& dt = s.Dtmf;
    for (int16_t* x : {&dt.DtmfRate, &dt.FirstDigitTime, &dt.FirstDigitDelay, &dt.StarHashTime,
                       &dt.DKeySetting, &dt.DtmfDisplay})
        *x = d.Any16();
    for (auto& c : dt.Codes) {
        c.Length = d.Coin() ? static_cast<int16_t>(d.In(-2, 40)) : d.Any16();
        for (auto& ch : c.Code.chars)
            ch = static_cast<char>(d.In(0, 255));
    }
    for (auto& t : s.ToneTips) {
        for (auto& pair : t.Pairs)
            pair = {d.Any16(), d.Any16()};
        t.LoopCount = d.Any16();
        t.LoopInterval = d.Any16();
    }
    for (auto& e : s.Emergency) {
        e.EmgGroup = d.Any16();
        e.EmgChannel = d.Any16();
        RandomHostileChannel(d, e.Channel);
    }
}

// A hostile image that still opens as a codeplug: this program's model code, a
// valid band and format, a count in 0..412, and random bytes in every carried field.
inline RadioImage RandomFileImage(Dice& d, int band) {
    Program scratch;
    RandomHostileImage(scratch, d);
    RadioImage im = scratch.Image;
    SettingsRecord& s = im.Settings;
    s.Version.ModelCode.Assign("Tarvane");
    s.Version.ModelType = static_cast<int16_t>(band);
    s.Version.FormatVersion.Assign("V100");
    s.ChannelCount = static_cast<int16_t>(d.In(0, kMaxChannels));
    for (auto* a : {&s.Features.GroupEmgAmFm1, &s.Features.GroupEmgAmFm2})
        for (auto& x : *a)
            x = static_cast<uint8_t>(d.In(0, 255));
    for (auto& x : s.Features.Reserved)
        x = static_cast<uint8_t>(d.In(0, 255));
    for (auto& x : s.Dtmf.Reserved)
        x = static_cast<uint8_t>(d.In(0, 255));
    return im;
}

} // namespace tarvane::test
