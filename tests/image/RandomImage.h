#pragma once
// Random radio images for round-trip tests: every field random, except what a
// file must hold to be opened (model code, a valid type and format, a count in range).
#include <random>

#include "image/RadioImage.h"

namespace tarvane::test {

class RandomImageMaker {
  public:
    explicit RandomImageMaker(unsigned seed) : rng_(seed) {}

    int16_t I16() { return static_cast<int16_t>(std::uniform_int_distribution<int>(-32768, 32767)(rng_)); }
    uint8_t U8() { return static_cast<uint8_t>(std::uniform_int_distribution<int>(0, 255)(rng_)); }
    int Between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    template <size_t N> void Text(FixedText<N>& t) {
        for (auto& c : t.chars) c = static_cast<char>(U8());
    }
    void Channel(ChannelRecord& r) {
        for (int16_t* f : {&r.SlotNumber, &r.IsBlank, &r.Scan, &r.OffSetFre, &r.RDCT, &r.TDCT, &r.DUP, &r.HI_CUT,
                           &r.BUSY, &r.NB, &r.Add_Sub_5K, &r.AM_FM, &r.Tx_Power, &r.Public, &r.RBTone, &r.DTMF_BOT,
                           &r.DTMF_EOT, &r.DTMF_Call, &r.TSQ})
            *f = I16();
        Text(r.RxFreq);
        for (auto& x : r.Reserved) x = I16();
    }

    RadioImage Make(int modelType) {
        RadioImage img;
        SettingsRecord& s = img.Settings;
        s.Version.ModelCode.Assign("Tarvane");
        s.Version.ModelType = static_cast<int16_t>(modelType);
        s.Version.FormatVersion.Assign("V100");
        s.ChannelCount = static_cast<int16_t>(Between(0, kMaxChannels));
        FeatureBlock& f = s.Features;
        for (int16_t* x : {&f.CurrentGroup, &f.MemChannelUse, &f.ActiveGroup, &f.MemChannelSel}) *x = I16();
        for (auto* arr : {&f.GroupEnabled, &f.WorkChannel, &f.GroupEmgChannel1, &f.GroupEmgChannel2})
            for (auto& x : *arr) x = I16();
        for (auto& x : f.Options) x = I16();
        for (auto& x : f.GroupEmgAmFm1) x = U8();
        for (auto& x : f.GroupEmgAmFm2) x = U8();
        for (auto& x : f.Display) x = I16();
        f.EmgChannelSel = U8();
        f.EmgEditAllowed = U8();
        f.DisplayMode = U8();
        for (auto& x : f.Reserved) x = U8();
        Channel(s.CommonChannel);
        for (auto& k : s.KeyTable) k = I16();
        DtmfBlock& d = s.Dtmf;
        for (int16_t* x : {&d.DtmfRate, &d.FirstDigitTime, &d.FirstDigitDelay, &d.StarHashTime, &d.DKeySetting,
                           &d.DtmfDisplay})
            *x = I16();
        for (auto& c : d.Codes) {
            c.Length = I16();
            Text(c.Code);
        }
        for (auto& x : d.Reserved) x = U8();
        for (auto& tip : s.ToneTips) {
            for (auto& pr : tip.Pairs) pr = {I16(), I16()};
            tip.LoopCount = I16();
            tip.LoopInterval = I16();
        }
        for (auto& e : s.Emergency) {
            e.EmgGroup = I16();
            e.EmgChannel = I16();
            Channel(e.Channel);
        }
        for (auto& c : img.Channels) Channel(c);
        return img;
    }

  private:
    std::mt19937 rng_;
};

} // namespace tarvane::test
