// Export then import gives back every channel field the file carries, over
// random images of all three bands, imported into a document whose channels
// hold other values or are missing.
#include <gtest/gtest.h>

#include "ExchangeHelpers.h"
#include "RandomImages.h"
#include "TestProgram.h"
#include "base/NumberText.h"
#include "channels/ChannelRules.h"
#include "exchange/ChannelExport.h"
#include "exchange/ChannelImport.h"
#include "exchange/ImageJson.h"
#include "features/dtmf/DtmfArea.h"
#include "features/tonetips/ToneTipReferences.h"
#include "freq/Bands.h"
#include "freq/ChannelEdit.h"
#include "freq/ChannelSlots.h"
#include "freq/FreqCodec.h"
#include "image/ImageOps.h"

namespace tarvane {
namespace {

std::string OnRaster(test::Dice& d, double low, double high) {
    const int steps = static_cast<int>((high - low) / 0.005 + 1e-9);
    return DisplayToFreq(FormatFixed(low + 0.005 * d.In(0, steps), 5));
}

// Makes a random image one a user could have typed: frequencies the channel
// table accepts for their group, FM where a plan is FM only, the top power only
// with FM, references to tone tips and DTMF codes that exist.
void MakeTypeable(Program& p, test::Dice& d, int band) {
    auto& s = p.Image.Settings;
    s.ToneTips[0].LoopCount = 1;
    s.ToneTips[0].Pairs[0].Duration = 5; // at least one tone tip in use
    s.Dtmf.Codes[0].Length = 3;
    s.Dtmf.Codes[0].Code.Assign("123");
    std::vector<std::string> planFreqs;
    auto legal = [&](ChannelRecord& r, int group, int channel) {
        if (band == kBandCB && group <= 7) {
            // Country plans: fixed frequencies, the UK plan above the band.
            r.RxFreq.Assign(group == 3 ? DisplayToFreq(FormatFixed(27.601 + 0.01 * (channel - 1), 5))
                                       : OnRaster(d, 26.965, 27.405));
            planFreqs.push_back(r.RxFreq.Trimmed());
        } else if (band == kBandCB && group == 8) {
            r.RxFreq.Assign(
                planFreqs.empty()
                    ? "02696500"
                    : planFreqs[static_cast<size_t>(d.In(0, static_cast<int>(planFreqs.size()) - 1))]);
        } else if (band == kBandCB) {
            r.RxFreq.Assign(OnRaster(d, 26.96, 27.405));
        } else {
            const double low = p.Model.LowerLimit - (group > 10 ? 0.005 : 0.0);
            r.RxFreq.Assign(OnRaster(d, low, p.Model.UpperLimit));
        }
        if (IsFixFM(channel, group, band)) r.AM_FM = 0;
        if (r.AM_FM == 1 && r.Tx_Power > 1) r.Tx_Power = 1;
        r.RBTone = CheckToneTipReference(p.Image, r.RBTone);
        for (int16_t* f : {&r.DTMF_BOT, &r.DTMF_EOT, &r.DTMF_Call})
            if (*f > 0 && !DtmfCodeDefined(s.Dtmf.Codes[static_cast<size_t>(*f - 1)])) *f = 0;
    };
    // Plans first, so memory channels can take their frequencies.
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < p.Image.UsedCount(); ++i) {
            ChannelRecord& r = p.Image.Channels[static_cast<size_t>(i)];
            int group = -1, channel = 0;
            if (!SlotPlace(r.SlotNumber, band, group, channel)) continue;
            const bool plan = band == kBandCB && group <= 7;
            if (plan == (pass == 0)) legal(r, group, channel);
        }
}

// Every carried field changed; channels outside the CB plans sometimes removed.
void Scramble(Program& p, test::Dice& d, int band) {
    for (int i = p.Image.UsedCount() - 1; i >= 0; --i) {
        ChannelRecord& r = p.Image.Channels[static_cast<size_t>(i)];
        int group = -1, channel = 0;
        const bool placed = SlotPlace(r.SlotNumber, band, group, channel);
        const bool plan = band == kBandCB && placed && group <= 7;
        if (!plan && placed && d.In(0, 3) == 0) {
            RemoveChannel(p, i);
            continue;
        }
        const ChannelRecord keep = r;
        test::RandomValidChannel(d, r);
        r.SlotNumber = keep.SlotNumber;
        if (plan) r.RxFreq = keep.RxFreq;
    }
}

void ExpectCarriedFieldsEqual(const ChannelRecord& a, const ChannelRecord& b) {
    EXPECT_EQ(a.RxFreq, b.RxFreq);
    const std::pair<int16_t, int16_t> pairs[] = {{a.Scan, b.Scan},
                                                 {a.OffSetFre, b.OffSetFre},
                                                 {a.RDCT, b.RDCT},
                                                 {a.TDCT, b.TDCT},
                                                 {a.DUP, b.DUP},
                                                 {a.HI_CUT, b.HI_CUT},
                                                 {a.BUSY, b.BUSY},
                                                 {a.NB, b.NB},
                                                 {a.AM_FM, b.AM_FM},
                                                 {a.Tx_Power, b.Tx_Power},
                                                 {a.Public, b.Public},
                                                 {a.RBTone, b.RBTone},
                                                 {a.DTMF_BOT, b.DTMF_BOT},
                                                 {a.DTMF_EOT, b.DTMF_EOT},
                                                 {a.DTMF_Call, b.DTMF_Call},
                                                 {a.TSQ, b.TSQ}};
    for (size_t i = 0; i < std::size(pairs); ++i)
        EXPECT_EQ(pairs[i].first, pairs[i].second) << "field " << i << " of slot " << a.SlotNumber;
}

TEST(ExchangeRoundTrip, RandomImagesOfAllBands) {
    for (int band : {kBandCB, kBandHF, kBandHAM}) {
        for (unsigned seed = 1; seed <= 12; ++seed) {
            SCOPED_TRACE("band " + std::to_string(band) + " seed " + std::to_string(seed));
            auto tp = test::NewDocumentProgram(band);
            Program& p = *tp;
            test::Dice d(seed * 31 + static_cast<unsigned>(band));
            test::RandomValidImage(p, d, band, seed % 4 == 0);
            MakeTypeable(p, d, band);
            int rows = 0;
            const std::string csv = ExportChannels(p, -1, &rows);
            const RadioImage original = p.Image;

            Scramble(p, d, band);
            const ImportResult r = ImportChannels(p, csv, {});
            ASSERT_TRUE(r.FileError.empty()) << r.FileError;
            ASSERT_EQ(static_cast<int>(r.Rows.size()), rows);
            for (const ImportRow& row : r.Rows)
                ASSERT_EQ(row.Outcome, RowOutcome::Taken) << ImportRowText(p, row);

            int compared = 0;
            for (int i = 0; i < original.UsedCount(); ++i) {
                const ChannelRecord& want = original.Channels[static_cast<size_t>(i)];
                int group = -1, channel = 0;
                if (!SlotPlace(want.SlotNumber, band, group, channel)) continue; // in no group: not exported
                const int at = FindChannelSlot(r.Image, want.SlotNumber);
                ASSERT_GE(at, 0) << "slot " << want.SlotNumber;
                ExpectCarriedFieldsEqual(want, r.Image.Channels[static_cast<size_t>(at)]);
                ++compared;
            }
            EXPECT_EQ(compared, rows);
            // And the same file exported from the result is the same file.
            p.Image = r.Image;
            EXPECT_EQ(ExportChannels(p, -1), csv);
        }
    }
}

} // namespace
} // namespace tarvane
