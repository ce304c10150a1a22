#include <gtest/gtest.h>

#include <functional>

#include "TestProgram.h"
#include "freq/ChannelSlots.h"
#include "image/CodeplugFile.h"
#include "image/ImageOps.h"

namespace tarvane {
namespace {

struct Edit {
    const char* name;
    std::function<void(RadioImage&)> apply;
    bool changes;
};

// Each edit is made to a freshly saved document; the test says whether closing
// would have to ask about unsaved changes.
TEST(ImageChanged, ComparesTheEditableFields) {
    const Edit edits[] = {
        {"frequency", [](RadioImage& i) { i.Channels[0].RxFreq.Assign("02700000"); }, true},
        {"TSQ", [](RadioImage& i) { i.Channels[3].TSQ = 1; }, true},
        {"reserved channel field", [](RadioImage& i) { i.Channels[3].Reserved[0] = 9; }, false},
        {"channel count", [](RadioImage& i) { i.Settings.ChannelCount -= 1; }, true},
        {"model type", [](RadioImage& i) { i.Settings.Version.ModelType = 1; }, true},
        {"format version", [](RadioImage& i) { i.Settings.Version.FormatVersion.Assign("V101"); }, false},
        {"key", [](RadioImage& i) { i.Settings.KeyTable[7] = 20; }, true},
        {"current group", [](RadioImage& i) { i.Settings.Features.CurrentGroup = 3; }, true},
        {"group flag", [](RadioImage& i) { i.Settings.Features.GroupEnabled[9] = 1; }, true},
        {"working channel", [](RadioImage& i) { i.Settings.Features.WorkChannel[2] = 5; }, true},
        {"group emergency channel", [](RadioImage& i) { i.Settings.Features.GroupEmgChannel2[1] = 5; }, true},
        {"group emergency modulation", [](RadioImage& i) { i.Settings.Features.GroupEmgAmFm1[4] = 1; }, true},
        {"SWR limit", [](RadioImage& i) { i.Settings.Features.Options[kOptSwrLimit] = 90; }, true},
        {"screen saver", [](RadioImage& i) { i.Settings.Features.Display[3] = 1; }, true},
        {"emergency selection byte", [](RadioImage& i) { i.Settings.Features.EmgChannelSel = 2; }, true},
        {"display mode byte", [](RadioImage& i) { i.Settings.Features.DisplayMode = 1; }, true},
        {"unused feature bytes", [](RadioImage& i) { i.Settings.Features.Reserved[0] = 1; }, false},
        {"common channel receive tone", [](RadioImage& i) { i.Settings.CommonChannel.RDCT = 4; }, true},
        {"common channel transmit tone", [](RadioImage& i) { i.Settings.CommonChannel.TDCT = 4; }, true},
        {"common channel roger beep", [](RadioImage& i) { i.Settings.CommonChannel.RBTone = 2; }, true},
        {"common channel slot number", [](RadioImage& i) { i.Settings.CommonChannel.SlotNumber = 2; }, false},
        {"DTMF rate", [](RadioImage& i) { i.Settings.Dtmf.DtmfRate = 3; }, true},
        {"DTMF code", [](RadioImage& i) { i.Settings.Dtmf.Codes[15].Code.Assign("1"); }, true},
        {"DTMF code length", [](RadioImage& i) { i.Settings.Dtmf.Codes[0].Length = 1; }, true},
        {"unused DTMF bytes", [](RadioImage& i) { i.Settings.Dtmf.Reserved[0] = 1; }, false},
        {"tone tip pair", [](RadioImage& i) { i.Settings.ToneTips[6].Pairs[13].Duration = 1; }, true},
        {"tone tip interval", [](RadioImage& i) { i.Settings.ToneTips[0].LoopInterval = 1; }, true},
        {"emergency record", [](RadioImage& i) { i.Settings.Emergency[1].EmgChannel = 3; }, true},
        {"emergency record channel", [](RadioImage& i) { i.Settings.Emergency[0].Channel.AM_FM = 1; }, true},
        {"unused slot", [](RadioImage& i) { i.Channels[300].RxFreq.Assign("02700000"); }, false},
    };
    for (const auto& e : edits) {
        auto t = test::MakeTestProgram();
        ASSERT_TRUE(SaveCodeplug(*t, test::TempDir() + "/base.dat"));
        ASSERT_FALSE(ImageChanged(*t)) << e.name;
        e.apply(t->Image);
        EXPECT_EQ(ImageChanged(*t), e.changes) << e.name;
    }
}

// Every byte a document stores either counts as an edit or is carried unchanged:
// a byte that is stored, reaches the radio and is missed here would be lost on
// closing without a question. The walk follows the file layout, so a field added
// to a record is covered without a new row.
TEST(ImageChanged, EveryStoredByteCountsButTheCarriedOnes) {
    auto t = test::MakeTestProgram();
    Program& p = *t;
    // A text ends at its first NUL; full texts make every byte of them count.
    for (auto& e : p.Image.Settings.Emergency)
        e.Channel.RxFreq.Assign("02712500");
    ASSERT_TRUE(SaveCodeplug(p, test::TempDir() + "/walk.dat"));
    ASSERT_GT(p.Baseline.UsedCount(), 1);
    struct Range {
        size_t from, to;
    };
    // Offsets in the settings record: format version, unused feature bytes, the
    // common channel's slot, blank flag, scan flag, frequency, public flag and TSQ
    // (no window edits them) and its unused words, the unused DTMF bytes, and the
    // unused words of both emergency channels.
    const Range carriedSettings[] = {{9, 13},    {168, 173}, {173, 187},   {207, 209},
                                     {217, 233}, {571, 591}, {1121, 1135}, {1185, 1199}};
    const Range carriedChannel[] = {{46, 60}};
    auto carried = [](const auto& ranges, size_t at) {
        for (const Range& r : ranges)
            if (at >= r.from && at < r.to) return true;
        return false;
    };

    std::array<uint8_t, kSettingsFileSize> settings{};
    EncodeSettings(p.Baseline.Settings, settings);
    for (size_t at = 0; at < settings.size(); ++at) {
        auto edited = settings;
        edited[at] ^= 1;
        DecodeSettings(edited, p.Image.Settings);
        EXPECT_EQ(ImageChanged(p), !carried(carriedSettings, at)) << "settings byte " << at;
    }
    p.Image.Settings = p.Baseline.Settings;

    for (size_t index : {size_t{0}, static_cast<size_t>(p.Baseline.UsedCount() - 1)}) {
        std::array<uint8_t, kChannelFileSize> channel{};
        EncodeChannelRecord(p.Baseline.Channels[index], channel);
        for (size_t at = 0; at < channel.size(); ++at) {
            auto edited = channel;
            edited[at] ^= 1;
            DecodeChannelRecord(edited, p.Image.Channels[index]);
            EXPECT_EQ(ImageChanged(p), !carried(carriedChannel, at)) << "channel " << index << " byte " << at;
        }
        p.Image.Channels[index] = p.Baseline.Channels[index];
    }
    EXPECT_FALSE(ImageChanged(p));
}

TEST(ImageChanged, EditingAndUndoingAFrequency) {
    auto t = test::MakeTestProgram();
    Program& p = *t;
    ASSERT_TRUE(SaveCodeplug(p, test::TempDir() + "/a.dat"));
    EXPECT_FALSE(ImageChanged(p));
    std::string old = p.Image.Channels[1].RxFreq.Trimmed();
    p.Image.Channels[1].RxFreq.Assign("02700000");
    EXPECT_TRUE(ImageChanged(p));
    p.Image.Channels[1].RxFreq.Assign(old);
    EXPECT_FALSE(ImageChanged(p));
}

TEST(ImageChanged, RecordsAreMatchedBySlotWhenTheyMoved) {
    auto t = test::MakeTestProgram();
    Program& p = *t;
    // Same channels in another list order: unchanged.
    std::swap(p.Image.Channels[0], p.Image.Channels[5]);
    EXPECT_FALSE(ImageChanged(p));
    // A slot that no longer exists: changed.
    p.Image.Channels[0].SlotNumber = 300;
    EXPECT_TRUE(ImageChanged(p));
}

TEST(ImageOps, FindAndAppend) {
    auto t = test::MakeTestProgram();
    RadioImage& img = t->Image;
    // Duplicate slots: the lower list index wins.
    img.Channels[4].SlotNumber = 1;
    EXPECT_EQ(FindChannelSlot(img, 1), 0);
    EXPECT_EQ(FindChannelSlot(img, 402), 2);
    EXPECT_EQ(FindChannelSlot(img, 5), -1);
    // Slots beyond the count are not in use.
    img.Channels[20].SlotNumber = 77;
    EXPECT_EQ(FindChannelSlot(img, 77), -1);

    ASSERT_TRUE(AppendChannel(img, 77, "27.4059"));
    int i = FindChannelSlot(img, 77);
    ASSERT_EQ(i, 13);
    const ChannelRecord& r = img.Channels[13];
    EXPECT_EQ(r.RxFreq.Trimmed(), "02740590");
    EXPECT_EQ(r.Scan, 1);
    EXPECT_EQ(r.OffSetFre, 100);
    EXPECT_EQ(r.NB, 1);
    EXPECT_EQ(r.Public, 1);
    EXPECT_EQ(r.TSQ, 0);

    img.Settings.ChannelCount = kMaxChannels;
    EXPECT_FALSE(AppendChannel(img, 5, "27.0"));
    EXPECT_EQ(img.Settings.ChannelCount, kMaxChannels);
    img.Settings.ChannelCount = 5000; // hostile count: lookups stay inside the list
    EXPECT_EQ(img.UsedCount(), kMaxChannels);
    EXPECT_FALSE(AppendChannel(img, 5, "27.0"));
}

TEST(ImageOps, ApplyVersionRefusesAnUnknownType) {
    auto t = test::MakeTestProgram(1);
    SettingsRecord s = t->Image.Settings;
    s.Version.ModelType = 7;
    EXPECT_FALSE(ApplyVersion(*t, s));
    EXPECT_TRUE(t.script->Saw("Country Mode Error!"));
    EXPECT_EQ(t->Model.ModelType, 1);
    EXPECT_EQ(t->Model.BandText, "25.615 - 30.105 MHz");
    s.Version.ModelType = 2;
    s.Version.ModelCode.Assign("Tarvane");
    ASSERT_TRUE(ApplyVersion(*t, s));
    EXPECT_DOUBLE_EQ(t->Model.LowerLimit, 28.0);
    EXPECT_DOUBLE_EQ(t->Model.UpperLimit, 29.7);
}

} // namespace
} // namespace tarvane
