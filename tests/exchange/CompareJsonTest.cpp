// The comparison of two documents and the JSON both are named by.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "ExchangeHelpers.h"
#include "RandomImages.h"
#include "TestProgram.h"
#include "base/FieldHelpers.h"
#include "exchange/CsvFile.h"
#include "exchange/DifferenceTexts.h"
#include "exchange/ImageCompare.h"
#include "exchange/ImageJson.h"
#include "features/keys/KeysArea.h"
#include "features/options/OptionFields.h"
#include "freq/Bands.h"
#include "freq/ChannelSlots.h"
#include "image/ImageOps.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

namespace tarvane {
namespace {

std::vector<std::string> Lines(const std::vector<Difference>& diffs) {
    std::vector<std::string> out;
    for (const Difference& d : diffs)
        out.push_back(DifferenceText(d));
    return out;
}

TEST(CompareImages, EachChangeIsOneLineNamedByFieldAndChannel) {
    struct Case {
        const char* name;
        void (*change)(RadioImage&);
        std::vector<std::string> lines; // whole lines, or their start when ending in "..."
        int band = kBandHAM;
    } cases[] = {
        {"nothing", [](RadioImage&) {}, {}},
        {"a frequency",
         [](RadioImage& im) {
             im.Channels[static_cast<size_t>(FindChannelSlot(im, 2))].RxFreq.Assign("02953000");
         },
         {"Channels A 2: RxFreq: \"29.52000\" -> \"29.53000\"",
          "Channels A 2: RxFreqStored: \"02952000\" -> \"02953000\""}},
        {"two stored values a plan shows alike",
         [](RadioImage& im) {
             im.Channels[static_cast<size_t>(
                             FindChannelSlot(im, GroupBase(GroupByName("UK", kBandCB), kBandCB) + 1))]
                 .RxFreq.Assign("02707130");
         },
         {"Channels UK 1: RxFreqStored: \"02707000\" -> \"02707130\""},
         kBandCB},
        {"a tone",
         [](RadioImage& im) { im.Channels[static_cast<size_t>(FindChannelSlot(im, 3))].RDCT = 12; },
         {"Channels A 3: RDCT: 0 -> 12", "Channels A 3: RxTone: \"Off\" -> \"C_012(100.0Hz)\""}},
        {"a setting",
         [](RadioImage& im) { im.Settings.Features.Options[kOptSquelch] = 77; },
         {"Settings.Squelch: ..."}},
        {"a DTMF code",
         [](RadioImage& im) {
             im.Settings.Dtmf.Codes[2].Length = 2;
             im.Settings.Dtmf.Codes[2].Code.Assign("12");
         },
         {"Dtmf.Codes 3: Length: ...", "Dtmf.Codes 3: Code: ..."}},
        {"a key", [](RadioImage& im) { im.Settings.KeyTable[4] = 99; }, {"Keys.Key4: ..."}},
        {"a tone tip",
         [](RadioImage& im) { im.Settings.ToneTips[7].LoopCount = 99; },
         {"ToneTips 8: LoopCount: ..."}},
        {"an emergency channel",
         [](RadioImage& im) { im.Settings.Emergency[1].Channel.NB = 7; },
         {"Emergency 2: Channel.NB: ..."}},
        {"list order only", [](RadioImage& im) { std::swap(im.Channels[0], im.Channels[1]); }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto p = test::NewDocumentProgram(c.band);
        if (c.band == kBandCB) // the UK plan's first channel, stored as the plan has it
            p->Image
                .Channels[static_cast<size_t>(
                    FindChannelSlot(p->Image, GroupBase(GroupByName("UK", kBandCB), kBandCB) + 1))]
                .RxFreq.Assign("02707000");
        RadioImage b = p->Image;
        c.change(b);
        const auto lines = Lines(CompareImages(p->Image, b));
        ASSERT_EQ(lines.size(), c.lines.size());
        for (size_t i = 0; i < lines.size(); ++i) {
            const std::string& want = c.lines[i];
            if (want.ends_with("..."))
                EXPECT_EQ(lines[i].rfind(want.substr(0, want.size() - 3), 0), 0u) << lines[i];
            else
                EXPECT_EQ(lines[i], want);
        }
    }
}

TEST(CompareImages, ChannelsOnOneSideOnly) {
    auto p = test::NewDocumentProgram(kBandHAM);
    RadioImage b = p->Image;
    const int at = FindChannelSlot(b, 5);
    ASSERT_GE(at, 0);
    b.Channels[static_cast<size_t>(at)].SlotNumber = 45; // bank A 5 becomes bank B 5
    const auto lines = Lines(CompareImages(p->Image, b));
    EXPECT_EQ(lines, (std::vector<std::string>{"Channels A 5: only in A", "Channels B 5: only in B"}));
}

// What the compare window shows: fields by the windows' names and list words in
// the chosen language; copies and inner flags left out.
TEST(ShownDifferences, FieldsSpeakTheWindowsLanguage) {
    for (int language : {1, 2}) {
        auto p = test::NewDocumentProgram(kBandHAM);
        SetLanguage(*p, language);
        RadioImage b = p->Image;
        ChannelRecord& c = b.Channels[static_cast<size_t>(FindChannelSlot(b, 3))];
        c.Scan = 1 - c.Scan;
        c.TDCT = 39;
        c.IsBlank = 1;
        b.Channels[static_cast<size_t>(FindChannelSlot(b, 5))].SlotNumber = 45;
        FeatureBlock& f = b.Settings.Features;
        f.WorkChannel[0] = 4;
        f.GroupEmgAmFm2[0] = 1;
        f.GroupEnabled[0] = static_cast<int16_t>(f.GroupEnabled[0] > 0 ? 0 : 1);
        f.Options[kOptTimeOutTimer] = 0;
        f.Options[kOptSwrLimit] = 125;
        f.DisplayMode = 7; // no such entry: shown as its number
        b.Settings.KeyTable[0] = 0;
        b.Settings.KeyTable[8] = 99;
        b.Settings.Dtmf.DtmfRate = 7;
        const FeatureBlock& was = p->Image.Settings.Features;
        const std::string ch = LangText(*p, 15000_txt),
                          scans[] = {LangText(*p, 32402_txt), LangText(*p, 32403_txt)};
        auto caption = [&](TextId id) { return WithoutAccessMark(LangText(*p, id)); };
        const std::string groupA = caption(txt::kTableGroup) + " A: ";
        const std::string enabled[] = {LangText(*p, txt::kDisable), LangText(*p, txt::kEnable)};
        const std::vector<std::string> want = {
            groupA + caption(txt::kGroupSwitched) + ": " + enabled[was.GroupEnabled[0] > 0] + " -> " +
                enabled[f.GroupEnabled[0] > 0],
            groupA + caption(txt::kWorkingChannel) + ": " + std::to_string(was.WorkChannel[0] + 1) + " -> 5",
            groupA + caption(txt::kEmergencyChannel2) + ": FM -> AM",
            caption(kOptionCaptions[3]) + ": " + OptionValueText(*p, 3, was.Options[kOptTimeOutTimer]) + " -> " +
                LangText(*p, txt::kOptOff),
            caption(txt::kSWRLimit) + ": " + SwrText(was.Options[kOptSwrLimit]) + " -> 12.5",
            caption(kOptionCaptions[22]) + ": " + OptionValueText(*p, 22, was.DisplayMode) + " -> ?7",
            caption(txt::kPagesUse) + ": " + KeyPagesText(p->Image.Settings.KeyTable[0]) + " -> 1&2",
            LangText(*p, txt::kKeyPage) + " 2 P2: " + KeyFunctionText(p->Image.Settings.KeyTable[8]) + " -> ?99",
            caption(txt::kDTMFRate) + ": " + std::to_string(p->Image.Settings.Dtmf.DtmfRate) + " -> 7",
            ch + " A 3: " + LangText(*p, 14008_txt) + ": " + scans[1 - c.Scan] + " -> " + scans[c.Scan],
            ch + " A 3: " + LangText(*p, 15020_txt) + ": " + LangText(*p, 32400_txt) + " -> D_001(023N)",
            ch + " A 5: " + LangText(*p, 34001_txt),
            ch + " B 5: " + FillIn(LangText(*p, 34002_txt), {"cb1.dat"})};
        EXPECT_EQ(ShownDifferences(*p, CompareImages(p->Image, b), "cb1.dat"), want) << language;
    }
}

// Random documents: a document equals itself in any list order, and every
// difference named goes away when the named channel field is copied over.
TEST(CompareImages, RandomDocuments) {
    for (int band : {kBandCB, kBandHF, kBandHAM}) {
        auto p = test::NewDocumentProgram(band);
        test::Dice d(100 + static_cast<unsigned>(band));
        test::RandomValidImage(*p, d, band);
        RadioImage a = p->Image;
        a.Settings.Version.ModelType = static_cast<int16_t>(band);
        RadioImage b = a;
        std::shuffle(b.Channels.begin(), b.Channels.begin() + b.UsedCount(), d.Rng());
        EXPECT_TRUE(CompareImages(a, b).empty());
        const int i = d.In(0, b.UsedCount() - 1);
        b.Channels[static_cast<size_t>(i)].TSQ =
            static_cast<int16_t>(1 - b.Channels[static_cast<size_t>(i)].TSQ);
        const auto diffs = CompareImages(a, b);
        ASSERT_EQ(diffs.size(), 1u);
        EXPECT_EQ(diffs[0].Field, "TSQ");
        const int slot = b.Channels[static_cast<size_t>(i)].SlotNumber;
        int group = -1, channel = 0;
        const std::string where = SlotPlace(slot, band, group, channel)
                                      ? GroupName(group, band) + " " + std::to_string(channel)
                                      : "slot " + std::to_string(slot);
        EXPECT_EQ(diffs[0].Where, "Channels " + where);
    }
}

// The JSON is valid whatever bytes a hostile file put into its texts.
TEST(ImageJson, HostileTextsStayValidJson) {
    auto p = test::NewDocumentProgram(kBandCB);
    test::Dice d(5);
    test::RandomHostileImage(*p, d);
    p->Image.Settings.Dtmf.Codes[0].Length = 16;
    p->Image.Settings.Dtmf.Codes[0].Code.Assign(std::string("\"\\\x01\xFF\xC3", 5));
    const std::string json = WriteJson(DocumentJson(*p));
    EXPECT_NE(json.find(R"("Code": "\"\\\u0001ÿÃ)"), std::string::npos);
    // No raw control character and nothing that is not UTF-8 in the output.
    for (size_t i = 0; i < json.size(); ++i) {
        const auto c = static_cast<unsigned char>(json[i]);
        EXPECT_FALSE(c < 0x20 && c != '\n') << i;
    }
    EXPECT_NE(ReadCsv(json).Error, CsvError::NotUtf8);
    EXPECT_TRUE(p.script->shown.empty()); // no frequency text made it complain
}

} // namespace
} // namespace tarvane
