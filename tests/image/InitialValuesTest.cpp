#include <gtest/gtest.h>

#include <filesystem>

#include "TestProgram.h"
#include "base/FieldHelpers.h"
#include "freq/Bands.h"
#include "freq/ChannelSlots.h"
#include "freq/FreqCodec.h"
#include "image/CodeplugFile.h"
#include "image/ImageOps.h"
#include "image/InitialValues.h"

namespace tarvane {
namespace {
namespace fs = std::filesystem;

TEST(InitialValues, BuiltInValues) {
    auto t = test::MakeTestProgram(0);
    const SettingsRecord& s = t->Image.Settings;
    EXPECT_EQ(s.KeyTable,
              (std::array<int16_t, 19>{3, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}));
    EXPECT_EQ(s.Features.MemChannelSel, 1);
    EXPECT_EQ(s.Features.GroupEnabled, (std::array<int16_t, 10>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(s.Features.Options,
              (std::array<int16_t, 17>{0, 4, 1, 1, 3, 0, 3, 0, 0, 0, 1, 1, 1, 0, 0, 1, 160}));
    EXPECT_EQ(s.CommonChannel.OffSetFre, 5);
    EXPECT_EQ(s.CommonChannel.NB, 0);
    EXPECT_EQ(s.Dtmf.DtmfRate, 10);
    EXPECT_EQ(s.Dtmf.FirstDigitDelay, 2);
    EXPECT_EQ(s.Dtmf.DtmfDisplay, 1);
    for (const auto& c : s.Dtmf.Codes) {
        EXPECT_EQ(c.Length, 0);
        EXPECT_EQ(c.Code.Raw(), std::string(16, ' '));
    }
    EXPECT_EQ(TrimFixedText(s.Version.FormatVersion.Raw()), "V100");

    // Slots 1 and 401 at the centre of the band, then the fixed memory and emergency frequencies.
    const std::pair<int, const char*> channels[] = {
        {1, "02718500"},   {401, "02718500"}, {402, "02801500"}, {403, "02814500"}, {404, "02811500"},
        {405, "02808500"}, {406, "02805500"}, {407, "02802500"}, {408, "02807500"}, {409, "02800500"},
        {410, "02801500"}, {411, "02814500"}, {412, "02811500"}};
    ASSERT_EQ(s.ChannelCount, 13);
    for (size_t i = 0; i < 13; ++i) {
        EXPECT_EQ(t->Image.Channels[i].SlotNumber, channels[i].first);
        EXPECT_EQ(t->Image.Channels[i].RxFreq.Trimmed(), channels[i].second);
    }

    // Five preset tone tips in use, three empty.
    EXPECT_EQ(s.ToneTips[1].Pairs[13].Tone, 0);
    EXPECT_EQ(s.ToneTips[1].Pairs[13].Duration, 4);
    EXPECT_EQ(s.ToneTips[3].Pairs[4].Tone, 192);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(s.ToneTips[static_cast<size_t>(i)].LoopCount, i < 5 ? 1 : 0);
        EXPECT_EQ(s.ToneTips[static_cast<size_t>(i)].LoopInterval, 0);
    }
    // The radio information carries today's date.
    std::string today = TodayText();
    EXPECT_EQ(t->RadioInfo.TextB.Raw(), "001A");
    EXPECT_EQ(t->RadioInfo.TextA.Raw(), today.substr(5, 2) + "-1-E-1");
    EXPECT_EQ(t->RadioInfo.Tail16[1].Trimmed(), today);
    EXPECT_EQ(t->RadioInfo.Head16[0].chars[0], '\0');
    EXPECT_FALSE(ImageChanged(*t));

    auto ham = test::MakeTestProgram(2);
    EXPECT_EQ(ham->Image.Channels[0].RxFreq.Trimmed(), "02885000");
}

// A program folder whose Init/ holds exactly the given files, copied from the staged ones.
std::string InitFolder(std::initializer_list<std::pair<const char*, const char*>> files) {
    std::string dir = test::TempDir();
    fs::create_directories(dir + "/Init");
    for (auto [from, to] : files)
        fs::copy_file(std::string(TARVANE_PROGRAM_DIR) + "/Init/" + from, dir + "/Init/" + to);
    return dir;
}

TEST(InitialValues, ChoiceOfTheInitialFile) {
    { // Only the factory file: its settings, no channel in use.
        auto t = test::MakeTestProgram(0);
        t->Dirs.ProgramFolder = InitFolder({{"Tarvane_0.dat", "Tarvane_0.dat"}});
        InitImage(*t);
        EXPECT_EQ(t->Image.Settings.ChannelCount, 0);
        EXPECT_EQ(t->Image.Settings.Version.ModelType, 0);
        EXPECT_FALSE(ImageChanged(*t));
    }
    { // The new-document file: loaded whole; initial setup takes the factory file instead.
        auto t = test::MakeTestProgram(0);
        t->Dirs.ProgramFolder =
            InitFolder({{"Tarvane_0_NEW.dat", "Tarvane_0_NEW.dat"}, {"Tarvane_2_NEW.dat", "Tarvane_0.dat"}});
        InitImage(*t);
        EXPECT_GT(t->Image.Settings.ChannelCount, 300);
        EXPECT_EQ(t->Model.ModelType, 0);
        t->InitialSetupRequested = true;
        NewDocument(*t);
        EXPECT_EQ(t->Model.ModelType, 2); // the factory file here is a HAM codeplug
        EXPECT_FALSE(t->InitialSetupRequested);
        EXPECT_TRUE(t->Doc.Untitled);
    }
    { // Another model code without any file: the built-in values stand.
        auto t = test::MakeTestProgram(0);
        t->Model.ModelCode = "Other";
        t->Dirs.ProgramFolder = InitFolder({{"Tarvane_0.dat", "Tarvane_0.dat"}});
        InitImage(*t);
        EXPECT_EQ(t->Image.Settings.ChannelCount, 13);
        EXPECT_EQ(t->Image.Settings.ToneTips[4].LoopCount, 1);
        EXPECT_EQ(t->Image.Settings.Dtmf.Codes[0].Length, 0);
    }
    { // The default model with an empty Init folder: the built-in values stand too.
        auto t = test::MakeTestProgram(1);
        t->Dirs.ProgramFolder = InitFolder({});
        InitImage(*t);
        EXPECT_EQ(t->Image.Settings.ChannelCount, 13);
        EXPECT_EQ(t->Model.ModelType, 1);
        EXPECT_FALSE(ImageChanged(*t));
    }
    { // HF without its own file: the CB factory settings, no channels, HF stamped.
        auto t = test::MakeTestProgram(1);
        t->Dirs.ProgramFolder = InitFolder({{"Tarvane_0.dat", "Tarvane_0.dat"}});
        InitImage(*t);
        EXPECT_EQ(t->Image.Settings.ChannelCount, 0);
        EXPECT_EQ(t->Image.Settings.Version.ModelType, 1);
        EXPECT_EQ(t->Model.ModelType, 1);
    }
    EXPECT_EQ(InitFileName(*test::MakeTestProgram(2), false), "Tarvane_2_NEW.dat");
    EXPECT_EQ(InitFileName(*test::MakeTestProgram(2), true), "Tarvane_2.dat");
}

// The shipped initial codeplugs hold the public band plans.
TEST(InitialValues, ShippedCbPlans) {
    auto t = test::MakeTestProgram(0);
    Program& p = *t;
    InitImage(p);
    auto freq = [&](const char* group, int n) {
        int g = GroupByName(group, kBandCB);
        int i = FindChannelSlot(p.Image, GroupBase(g, kBandCB) + n);
        return i < 0 ? std::string("missing")
                     : FreqToDisplaySilent(p.Image.Channels[static_cast<size_t>(i)].RxFreq.Raw());
    };
    auto mode = [&](const char* group, int n) {
        int g = GroupByName(group, kBandCB);
        return p.Image.Channels[static_cast<size_t>(FindChannelSlot(p.Image, GroupBase(g, kBandCB) + n))]
            .AM_FM;
    };
    EXPECT_EQ(p.Image.Settings.Features.GroupEnabled,
              (std::array<int16_t, 10>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(freq("D", 1), "26.96500");
    EXPECT_EQ(freq("D", 23), "27.25500");
    EXPECT_EQ(freq("D", 24), "27.23500");
    EXPECT_EQ(freq("D", 25), "27.24500");
    EXPECT_EQ(freq("D", 26), "27.26500");
    EXPECT_EQ(freq("CE", 40), "27.40500");
    EXPECT_EQ(freq("UK", 1), "27.60100");
    EXPECT_EQ(freq("UK", 40), "27.99100");
    EXPECT_EQ(FreqToGroupDisplay(p, "02760100", 3, kBandCB), "27.60125");
    EXPECT_EQ(freq("PL", 1), "26.96000");
    EXPECT_EQ(freq("DE", 40), "27.40500");
    EXPECT_EQ(freq("DE", 41), "26.56500");
    EXPECT_EQ(freq("DE", 80), "26.95500");
    for (int n = 1; n <= 40; ++n) {
        EXPECT_EQ(mode("CE", n), 0) << n;
        EXPECT_EQ(mode("UK", n), 0) << n;
        EXPECT_EQ(mode("DE", n + 40), 0) << n;
    }
    for (const char* g : {"D", "CE", "U", "UK", "PL", "I2", "IN"})
        for (int n = 1; n <= 40; ++n)
            EXPECT_NE(freq(g, n), "missing") << g << n;
    EXPECT_EQ(freq("MEM", 1), "26.96500");
    EXPECT_EQ(freq("EMG", 1), "27.06500");
}

} // namespace
} // namespace tarvane
