#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "RandomImages.h"
#include "TestProgram.h"
#include "freq/ChannelSlots.h"
#include "image/CodeplugFile.h"
#include "image/ImageOps.h"

namespace tarvane {
namespace {
namespace fs = std::filesystem;

std::vector<uint8_t> ReadAll(const std::string& path) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadWholeFile(path, bytes));
    return bytes;
}

void WriteAll(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

int16_t I16At(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<int16_t>(b[at] | (b[at + 1] << 8));
}
std::string TextAt(const std::vector<uint8_t>& b, size_t at, size_t n) {
    return std::string(reinterpret_cast<const char*>(b.data() + at), n);
}

TEST(CodeplugFile, FieldsLandAtTheirFileOffsets) {
    auto t = test::MakeTestProgram(2);
    Program& p = *t;
    SettingsRecord& s = p.Image.Settings;
    s.Features.CurrentGroup = 0x0102;
    s.Features.GroupEnabled[9] = 0x1234;
    s.Features.Options[kOptSwrLimit] = 0x00A0;
    s.Features.EmgChannelSel = 0xAB;
    s.Features.Reserved[4] = 0xCD;
    s.CommonChannel.TSQ = 0x0707;
    s.KeyTable[18] = 0x1818;
    s.Dtmf.Codes[2].Length = 4;
    s.Dtmf.Codes[2].Code.Assign("12*#");
    s.Dtmf.Reserved[19] = 0xEE;
    s.ToneTips[1].LoopCount = 0x0303;
    s.ToneTips[7].LoopInterval = 0x0909;
    s.Emergency[1].EmgChannel = 0x0505;
    s.Emergency[1].Channel.TSQ = 0x0606;
    p.Image.Channels[2].OffSetFre = 0x4321;
    p.Image.Channels[2].Reserved[6] = 0x7777;

    std::string path = test::TempDir() + "/offsets.dat";
    ASSERT_TRUE(SaveCodeplug(p, path));
    auto b = ReadAll(path);
    ASSERT_EQ(b.size(), 25919u);
    EXPECT_EQ(TextAt(b, 0, 7), "Tarvane");
    EXPECT_EQ(I16At(b, 7), 2);
    EXPECT_EQ(TextAt(b, 9, 4), "V100");
    EXPECT_EQ(I16At(b, 13), 13); // ChannelCount of the built-in document
    EXPECT_EQ(I16At(b, 15), 0x0102);
    EXPECT_EQ(I16At(b, 15 + 8 + 18), 0x1234);
    EXPECT_EQ(I16At(b, 15 + 120), 0x00A0);
    EXPECT_EQ(b[15 + 150], 0xAB);
    EXPECT_EQ(b[15 + 157], 0xCD);
    EXPECT_EQ(I16At(b, 173 + 44), 0x0707);
    EXPECT_EQ(I16At(b, 233 + 36), 0x1818);
    EXPECT_EQ(I16At(b, 271 + 12 + 36), 4);
    EXPECT_EQ(TextAt(b, 271 + 12 + 36 + 2, 16), "12*#            ");
    EXPECT_EQ(b[271 + 319], 0xEE);
    EXPECT_EQ(I16At(b, 591 + 60 + 56), 0x0303);
    EXPECT_EQ(I16At(b, 591 + 7 * 60 + 58), 0x0909);
    EXPECT_EQ(I16At(b, 1071 + 64 + 2), 0x0505);
    EXPECT_EQ(I16At(b, 1071 + 64 + 4 + 44), 0x0606);
    // Channel slot 2: slot number, frequency text, offset and the last reserved integer.
    EXPECT_EQ(I16At(b, 1199 + 120), p.Image.Channels[2].SlotNumber);
    EXPECT_EQ(TextAt(b, 1199 + 120 + 6, 8), "02801500");
    EXPECT_EQ(I16At(b, 1199 + 120 + 14), 0x4321);
    EXPECT_EQ(I16At(b, 1199 + 120 + 58), 0x7777);
}

TEST(CodeplugFile, SaveOpenSaveIsByteIdenticalForRandomImages) {
    test::Dice dice(20261208);
    for (int round = 0; round < 12; ++round) {
        int type = round % 3;
        auto t = test::MakeTestProgram(type);
        std::string dir = test::TempDir();
        auto original = EncodeCodeplug(test::RandomFileImage(dice, type));
        WriteAll(dir + "/in.dat", original);
        ASSERT_EQ(OpenCodeplug(*t, dir + "/in.dat"), OpenResult::Opened) << "round " << round;
        EXPECT_FALSE(ImageChanged(*t));
        ASSERT_TRUE(SaveCodeplug(*t, dir + "/out.dat"));
        EXPECT_EQ(ReadAll(dir + "/out.dat"), original) << "round " << round;
        EXPECT_TRUE(t.script->shown.empty());
    }
}

TEST(CodeplugFile, UnusedSlotsAreIgnoredOnReading) {
    auto t = test::MakeTestProgram();
    Program& p = *t;
    std::string dir = test::TempDir();
    p.Image.Settings.ChannelCount = 3;
    ASSERT_TRUE(SaveCodeplug(p, dir + "/three.dat"));
    auto b = ReadAll(dir + "/three.dat");
    EXPECT_EQ(b.size(), 25919u);
    // Garbage in slot 5 must not reach the working list.
    b[1199 + 5 * 60] = 0x77;
    WriteAll(dir + "/three.dat", b);
    p.Image.Channels[5].SlotNumber = 5;
    ASSERT_EQ(OpenCodeplug(p, dir + "/three.dat"), OpenResult::Opened);
    EXPECT_EQ(p.Image.Settings.ChannelCount, 3);
    EXPECT_EQ(p.Image.Channels[5].SlotNumber, 5);
    EXPECT_EQ(FindChannelSlot(p.Image, 0x77), -1);
}

TEST(CodeplugFile, PaddedModelCodeOpensAndFormatBecomesV100) {
    auto t = test::MakeTestProgram(1);
    Program& p = *t;
    p.Versions.Firm.emplace_back("V100", "V101");
    RadioImage img = p.Image;
    img.Settings.Version.ModelCode.chars = {'T', 'a', 'r', 'v', 'a', 'n', 'e'};
    img.Settings.Version.FormatVersion.Assign("V101");
    auto bytes = EncodeCodeplug(img);
    std::string dir = test::TempDir();
    WriteAll(dir + "/v101.dat", bytes);
    ASSERT_EQ(OpenCodeplug(p, dir + "/v101.dat"), OpenResult::Opened);
    EXPECT_EQ(p.Doc.Path, dir + "/v101.dat");
    EXPECT_FALSE(p.Doc.Untitled);
    ASSERT_TRUE(SaveCodeplug(p, dir + "/again.dat"));
    EXPECT_EQ(TextAt(ReadAll(dir + "/again.dat"), 9, 4), "V100");

    // The code stored with trailing blanks: "Tarvane" is exactly 7 characters, so
    // make the program's code shorter and pad the file's.
    p.Model.ModelCode = "Tarv";
    img.Settings.Version.ModelCode.Assign("Tarv");
    img.Settings.Version.FormatVersion.Assign("V100");
    WriteAll(dir + "/padded.dat", EncodeCodeplug(img));
    EXPECT_EQ(OpenCodeplug(p, dir + "/padded.dat"), OpenResult::Opened);
    img.Settings.Version.ModelCode.chars = {'T', 'a', 'r', 'v', '\0', '\0', '\0'};
    WriteAll(dir + "/nul.dat", EncodeCodeplug(img));
    EXPECT_EQ(OpenCodeplug(p, dir + "/nul.dat"), OpenResult::Opened);
}

struct RefusalCase {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> spoil;
    const char* message; // "" for the version question; "{}" stands for the file's path
};

constexpr const char* kTooShort =
    "The file could not be read or written.\r\n{}: too short for a codeplug file";
constexpr const char* kBadCount =
    "The file could not be read or written.\r\n{}: the channel count is out of range";

std::string WithPath(std::string text, const std::string& path) {
    if (size_t at = text.find("{}"); at != std::string::npos) text.replace(at, 2, path);
    return text;
}

TEST(CodeplugFile, RefusedFilesChangeNothing) {
    const RefusalCase cases[] = {
        {"other model code", [](auto& b) { b[0] = 'X'; }, "This file or radio belongs to another model."},
        {"format without V", [](auto& b) { b[9] = 'W'; }, "The file's format version is not valid."},
        {"format not a number", [](auto& b) { b[12] = 'x'; }, "The file's format version is not valid."},
        {"format too short",
         [](auto& b) {
             b[11] = ' ';
             b[12] = ' ';
         },
         "The file's format version is not valid."},
        {"truncated by one byte", [](auto& b) { b.pop_back(); }, kTooShort},
        {"settings only", [](auto& b) { b.resize(1199); }, kTooShort},
        {"empty file", [](auto& b) { b.clear(); }, kTooShort},
        {"count above 412",
         [](auto& b) {
             b[13] = 0x9D;
             b[14] = 0x01;
         },
         kBadCount},
        {"negative count",
         [](auto& b) {
             b[13] = 0xFF;
             b[14] = 0xFF;
         },
         kBadCount},
        {"type 3", [](auto& b) { b[7] = 3; }, "Country Mode Error!"},
        {"type -1",
         [](auto& b) {
             b[7] = 0xFF;
             b[8] = 0xFF;
         },
         "Country Mode Error!"},
        {"format not listed, answered No", [](auto& b) { b[12] = '9'; }, ""},
    };
    for (const auto& c : cases) {
        auto t = test::MakeTestProgram(0);
        Program& p = *t;
        // A document with unsaved work and a distinct baseline.
        p.Image.Channels[0].RxFreq.Assign("02700000");
        const RadioImage image = p.Image, baseline = p.Baseline;
        const CurrentModel model = p.Model;
        const DocumentState doc = p.Doc;

        auto source = test::MakeTestProgram(1);
        source->Image.Settings.ChannelCount = 2;
        std::string dir = test::TempDir();
        ASSERT_TRUE(SaveCodeplug(*source, dir + "/f.dat"));
        auto bytes = ReadAll(dir + "/f.dat");
        c.spoil(bytes);
        WriteAll(dir + "/f.dat", bytes);

        EXPECT_EQ(OpenCodeplug(p, dir + "/f.dat"), OpenResult::Refused) << c.name;
        ASSERT_EQ(t.script->shown.size(), 1u) << c.name;
        if (*c.message)
            EXPECT_EQ(t.script->shown[0].text, WithPath(c.message, dir + "/f.dat")) << c.name;
        else
            EXPECT_EQ(t.script->shown[0].buttons, MsgButtons::YesNo) << c.name;
        EXPECT_TRUE(p.Image == image) << c.name;
        EXPECT_TRUE(p.Baseline == baseline) << c.name;
        EXPECT_EQ(p.Model.ModelType, model.ModelType) << c.name;
        EXPECT_EQ(p.Doc.Path, doc.Path) << c.name;
        EXPECT_FALSE(p.QuitRequested) << c.name;
    }
}

TEST(CodeplugFile, MissingFileIsRefused) {
    auto t = test::MakeTestProgram();
    const RadioImage image = t->Image;
    const std::string path = test::TempDir() + "/nothing.dat";
    EXPECT_EQ(OpenCodeplug(*t, path), OpenResult::Refused);
    EXPECT_TRUE(
        t.script->Saw("The file could not be read or written.\r\n" + path + ": No such file or directory"));
    EXPECT_TRUE(t->Image == image);
}

TEST(CodeplugFile, OtherFormatVersionAnsweredYesStartsTheOtherProgramAndEnds) {
    auto t = test::MakeTestProgram();
    Program& p = *t;
    p.Dirs.InstallRoot = "/opt/tarvane";
    p.Versions.Firm.emplace_back("V200", "V201");
    std::string started;
    p.Prompts.startProgram = [&](const std::string& path) {
        started = path;
        return true;
    };
    RadioImage img = p.Image;
    img.Settings.Version.FormatVersion.Assign("V201");
    std::string dir = test::TempDir();
    WriteAll(dir + "/v201.dat", EncodeCodeplug(img));
    const RadioImage before = p.Image;
    t.script->answers.push_back(MsgAnswer::Yes);
    EXPECT_EQ(OpenCodeplug(p, dir + "/v201.dat"), OpenResult::Quit);
    EXPECT_TRUE(p.QuitRequested);
    EXPECT_EQ(started, "/opt/tarvane/V200/tarvane-cps");
    EXPECT_TRUE(p.Image == before);
    ASSERT_EQ(t.script->shown.size(), 1u);
    EXPECT_NE(t.script->shown[0].text.find("V2.01"), std::string::npos);
}

TEST(CodeplugFile, FailedSaveKeepsFileBaselineAndDocument) {
    auto t = test::MakeTestProgram();
    Program& p = *t;
    std::string dir = test::TempDir();
    ASSERT_TRUE(SaveCodeplug(p, dir + "/kept.dat"));
    const auto kept = ReadAll(dir + "/kept.dat");
    p.Image.Channels[0].RxFreq.Assign("02700000");
    ASSERT_TRUE(ImageChanged(p));
    const RadioImage baseline = p.Baseline;
    const DocumentState doc = p.Doc;

    fs::create_directory(dir + "/folder.dat");
    const std::pair<std::string, const char*> targets[] = {
        {dir + "/folder.dat", "Is a directory"}, {dir + "/missing/dir/x.dat", "No such file or directory"}};
    for (const auto& [target, reason] : targets) {
        EXPECT_FALSE(SaveCodeplug(p, target)) << target;
        EXPECT_TRUE(p.Baseline == baseline) << target;
        EXPECT_TRUE(ImageChanged(p)) << target;
        EXPECT_EQ(p.Doc.Path, doc.Path) << target;
        EXPECT_TRUE(t.script->Saw("The file could not be read or written.\r\n" + target + ": " + reason))
            << target;
    }
    EXPECT_EQ(ReadAll(dir + "/kept.dat"), kept);
    // No temporary files are left behind.
    size_t files = 0;
    for (auto& e : fs::directory_iterator(dir))
        files += e.is_regular_file();
    EXPECT_EQ(files, 1u);
}

TEST(CodeplugFile, SaveReplacesAnExistingFileAndKeepsItsMode) {
    auto t = test::MakeTestProgram();
    std::string path = test::TempDir() + "/mode.dat";
    std::ofstream(path) << "old";
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(SaveCodeplug(*t, path));
    EXPECT_EQ(ReadAll(path).size(), 25919u);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(CodeplugFile, InitialFilesLoadWithoutChecksAndFailSafely) {
    auto t = test::MakeTestProgram(0);
    Program& p = *t;
    std::string dir = test::TempDir();
    auto source = test::MakeTestProgram(2);
    source->Model.ModelCode = "Other";
    source->Image.Settings.ChannelCount = 4;
    ASSERT_TRUE(SaveCodeplug(*source, dir + "/full.dat"));
    ASSERT_TRUE(LoadInitFull(p, dir + "/full.dat"));
    EXPECT_EQ(p.Model.ModelCode, "Other"); // no model check: the file's model becomes current
    EXPECT_EQ(p.Model.ModelType, 2);
    EXPECT_EQ(p.Image.Settings.ChannelCount, 4);
    EXPECT_FALSE(ImageChanged(p));

    auto bytes = ReadAll(dir + "/full.dat");
    bytes.resize(5000);
    WriteAll(dir + "/short.dat", bytes);
    const RadioImage image = p.Image;
    EXPECT_FALSE(LoadInitFull(p, dir + "/short.dat"));
    EXPECT_TRUE(p.Image == image);
    EXPECT_FALSE(ImageChanged(p));

    ASSERT_TRUE(LoadInitSettings(p, dir + "/short.dat"));
    EXPECT_EQ(p.Image.Settings.ChannelCount, 0);
    EXPECT_FALSE(ImageChanged(p));
    bytes.resize(1198);
    WriteAll(dir + "/tiny.dat", bytes);
    EXPECT_FALSE(LoadInitSettings(p, dir + "/tiny.dat"));
}

} // namespace
} // namespace tarvane
