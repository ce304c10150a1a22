// Undo and redo over the edit operations the windows use, with the image
// compared after every step.
#include <gtest/gtest.h>

#include <functional>

#include "TestProgram.h"
#include "channels/ChannelClipboard.h"
#include "doc/Undo.h"
#include "features/dtmf/DtmfArea.h"
#include "freq/Bands.h"
#include "freq/ChannelEdit.h"
#include "freq/ChannelSlots.h"
#include "image/CodeplugFile.h"
#include "image/ImageOps.h"
#include "state/History.h"

namespace tarvane {
namespace {

struct Edit {
    const char* label; // the undo label the step must carry
    std::function<void(Program&)> run;
};

// One user action: the edit, then the frame's commit with the window's name as fallback.
bool Act(Program& p, const Edit& e) {
    e.run(p);
    return CommitStep(p, "Optional features");
}

TEST(History, UndoAndRedoWalkBackAndForthThroughEditsOfEveryKind) {
    for (int band : {kBandCB, kBandHF}) {
        auto t = test::MakeTestProgram(band);
        Program& p = *t;
        for (int n = 1; n <= 10; ++n)
            if (FindChannelSlot(p.Image, GroupBase(0, band) + n) < 0)
                AppendChannel(p.Image, GroupBase(0, band) + n, band == kBandCB ? "27.00500" : "28.10000");
        // A channel outside the group lets the group's channels be deleted.
        if (FindChannelSlot(p.Image, GroupBase(1, band) + 1) < 0)
            AppendChannel(p.Image, GroupBase(1, band) + 1, band == kBandCB ? "26.96500" : "28.20000");
        ASSERT_TRUE(SaveCodeplug(p, test::TempDir() + "/saved.dat"));
        ResetHistory(p);
        const std::string g0 = GroupName(0, band);
        const std::string copied = CopyChannels(p, 0, 1, 2);
        const Edit edits[] = {
            {"channel %g 5 transmit CTCSS/DCS", [](Program& q) { SetChannelField(q, 0, 5, kColTdct, "12"); }},
            {"channel %g 3 scan", [](Program& q) { SetChannelField(q, 0, 3, kColScan, "0"); }},
            {"paste of channels %g 7-8", [&copied](Program& q) { PasteChannels(q, 0, 7, copied); }},
            {"move of channel %g 7", [](Program& q) { MoveChannel(q, 0, 7, +1); }},
            {"delete of channel %g 2", [](Program& q) { DeleteChannelRow(q, 0, 2); }},
            {"Optional features", [](Program& q) { q.Image.Settings.Features.Options[kOptBeep] ^= 1; }},
            {"Optional features", [](Program& q) { StoreDtmfCode(q, 3, "12#"); }},
            {"Optional features", [](Program& q) { q.Image.Settings.KeyTable[4] = 7; }},
            {"Optional features", [](Program& q) { q.Image.Settings.ToneTips[2].LoopCount = 3; }},
            {"Optional features", [](Program& q) { q.Image.Settings.Emergency[0].EmgChannel = 2; }},
        };
        std::vector<RadioImage> states{p.Image};
        std::vector<std::string> labels;
        for (const Edit& e : edits) {
            ASSERT_TRUE(Act(p, e)) << e.label << " changed nothing, band " << band;
            states.push_back(p.Image);
            std::string label = e.label;
            if (auto at = label.find("%g"); at != std::string::npos) label.replace(at, 2, g0);
            labels.push_back(label);
            EXPECT_EQ(p.History.UndoLabel(), label);
        }
        EXPECT_TRUE(ImageChanged(p));
        for (size_t k = states.size() - 1; k > 0; --k) {
            EXPECT_EQ(UndoMenuText(p), "&Undo: " + labels[k - 1]);
            ASSERT_TRUE(UndoEdit(p));
            EXPECT_TRUE(p.Image == states[k - 1]) << "band " << band << " after undoing " << labels[k - 1];
        }
        EXPECT_FALSE(UndoEdit(p));
        EXPECT_FALSE(ImageChanged(p)) << "undone to the saved state, yet unsaved";
        EXPECT_EQ(UndoMenuText(p), "&Undo");
        for (size_t k = 1; k < states.size(); ++k) {
            EXPECT_EQ(RedoMenuText(p), "&Redo: " + labels[k - 1]);
            ASSERT_TRUE(RedoEdit(p));
            EXPECT_TRUE(p.Image == states[k]) << "band " << band << " after redoing " << labels[k - 1];
        }
        EXPECT_FALSE(RedoEdit(p));
    }
}

TEST(History, LabelsNameTheFieldAndTheCommandNotItsInnerEdits) {
    auto t = test::MakeTestProgram(kBandCB);
    Program& p = *t;
    EXPECT_EQ(ChannelFieldLabel(p, 0, 5, kColRxFreq), "channel D 5 frequency");
    EXPECT_EQ(ChannelFieldLabel(p, 6, 80, kColRdct), "channel DE 80 receive CTCSS/DCS");
    ResetHistory(p);
    // Cut runs a typed empty frequency per channel; the step is the cut.
    CutChannels(p, 9, 2, 2);
    ASSERT_TRUE(CommitStep(p, "window"));
    EXPECT_EQ(p.History.UndoLabel(), "cut of channels EMG 2-3");
    // A noted edit that changed nothing leaves no name behind for the next change.
    SetChannelField(p, 0, 1, kColScan, std::to_string(p.Image.Channels[0].Scan));
    EXPECT_FALSE(CommitStep(p, "window"));
    p.Image.Settings.KeyTable[3] = 9;
    ASSERT_TRUE(CommitStep(p, "Keys"));
    EXPECT_EQ(p.History.UndoLabel(), "Keys");
    EXPECT_EQ(CommitStep(p, ""), false);
    p.Image.Settings.KeyTable[3] = 10;
    ASSERT_TRUE(CommitStep(p, ""));
    EXPECT_EQ(p.History.UndoLabel(), "edit");
}

TEST(History, RulesOfTheSteps) {
    struct Case {
        const char* name;
        std::function<void(EditHistory&, RadioImage&)> run;
        size_t undo, redo;
        int keyAfter; // KeyTable[1] of the image at the end
    };
    auto set = [](EditHistory& h, RadioImage& im, int v, const std::string& merge = "") {
        im.Settings.KeyTable[1] = static_cast<int16_t>(v);
        return h.Commit(im, "k", merge);
    };
    const Case cases[] = {
        {"an unchanged image makes no step", [&](EditHistory& h, RadioImage& im) { set(h, im, 0); }, 0, 0, 0},
        {"a new edit after undo drops the redo steps",
         [&](EditHistory& h, RadioImage& im) {
             set(h, im, 1);
             set(h, im, 2);
             h.Undo(im);
             set(h, im, 5);
         },
         2, 0, 5},
        {"typing into one field is one step",
         [&](EditHistory& h, RadioImage& im) {
             set(h, im, 1, "f");
             set(h, im, 12, "f");
             set(h, im, 123, "f");
         },
         1, 0, 123},
        {"typing back to the start leaves no step",
         [&](EditHistory& h, RadioImage& im) {
             set(h, im, 1, "f");
             set(h, im, 0, "f");
         },
         0, 0, 0},
        {"another field is another step",
         [&](EditHistory& h, RadioImage& im) {
             set(h, im, 1, "f");
             set(h, im, 2, "g");
         },
         2, 0, 2},
        {"typing after an undo never folds into an older step",
         [&](EditHistory& h, RadioImage& im) {
             set(h, im, 1, "f");
             set(h, im, 2);
             set(h, im, 3, "f");
             h.Undo(im);
             set(h, im, 4, "f");
         },
         3, 0, 4},
        {"the history keeps the newest 200 steps",
         [&](EditHistory& h, RadioImage& im) {
             for (int v = 1; v <= 250; ++v)
                 set(h, im, v);
             while (h.Undo(im)) {
             }
         },
         0, 200, 50},
        {"absorbing makes no step and keeps the steps before",
         [&](EditHistory& h, RadioImage& im) {
             set(h, im, 1);
             im.Settings.Version.FormatVersion.Assign("V100");
             h.Absorb(im);
             set(h, im, 1);
         },
         1, 0, 1},
    };
    for (const Case& c : cases) {
        EditHistory h;
        RadioImage im;
        h.Reset(im);
        c.run(h, im);
        EXPECT_EQ(h.UndoSteps(), c.undo) << c.name;
        EXPECT_EQ(h.RedoSteps(), c.redo) << c.name;
        EXPECT_EQ(im.Settings.KeyTable[1], c.keyAfter) << c.name;
        EXPECT_TRUE(h.Committed() == im) << c.name;
    }
}

TEST(History, UndoCommitsPendingWorkReplacesTheImageInPlaceAndTellsTheWindows) {
    auto t = test::MakeTestProgram(kBandHF);
    Program& p = *t;
    ResetHistory(p);
    const RadioImage start = p.Image;
    int replaced = 0, captions = 0;
    auto s1 = p.Notify.imageReplaced.Subscribe([&] { ++replaced; });
    auto s2 = p.Notify.captionChanged.Subscribe([&] { ++captions; });
    const RadioImage* where = &p.Image;
    // Not committed yet: undo makes it a step first, so redo brings it back.
    SetChannelField(p, 0, 1, kColAmFm, "1");
    const RadioImage edited = p.Image;
    ASSERT_TRUE(UndoEdit(p));
    EXPECT_TRUE(p.Image == start);
    EXPECT_EQ(&p.Image, where);
    EXPECT_EQ(replaced, 1);
    EXPECT_EQ(captions, 1);
    ASSERT_TRUE(RedoEdit(p));
    EXPECT_TRUE(p.Image == edited);
    EXPECT_EQ(replaced, 2);
    // Nothing to undo past a fresh history.
    ResetHistory(p);
    EXPECT_FALSE(UndoEdit(p));
    EXPECT_EQ(replaced, 2);
}

} // namespace
} // namespace tarvane
