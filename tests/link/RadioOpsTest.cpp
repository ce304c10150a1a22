// The read and write commands around a transfer: what they do to the working
// image, the document and the memory block.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "TestProgram.h"
#include "image/ImageOps.h"
#include "link/PortMap.h"
#include "link/RadioOps.h"
#include "memory/RadioMemory.h"
#include "sim/VirtualLine.h"
#include "state/lang/LangText.h"
#include "state/lang/SystemErrors.h"

namespace tarvane {
namespace {

// A radio holding the encoding of a band's image with one visible change.
RadioResponder RadioHolding(int type) {
    auto source = test::MakeTestProgram(type);
    source->Image.Settings.Features.Options[kOptVolume] = 6;
    EncodeRadioMemory(*source);
    RadioSetup setup;
    setup.modelType = static_cast<uint8_t>(type);
    RadioResponder radio(setup);
    radio.memory = source->RadioMemoryBlock;
    radio.SetPassword("");
    return radio;
}

TEST(ReadCommand, SuccessfulReadBecomesTheUntitledNewDocumentWithTheOldBaseline) {
    for (int type : {0, 1, 2}) {
        auto t = test::MakeTestProgram(0);
        t->Link.NoEchoMode = true;
        t->Doc.Path = "/somewhere/old.dat";
        t->Doc.Untitled = false;
        CopyToBaseline(*t);
        const RadioImage baseline = t->Baseline;
        RadioResponder radio = RadioHolding(type);
        VirtualLine line(*t, radio);
        PrepareTransferData(*t, LinkOperation::ReadRadio);
        ASSERT_TRUE(line.Run(LinkOperation::ReadRadio));
        ASSERT_TRUE(PostReadStep(*t));
        EXPECT_EQ(t->Model.ModelType, type);
        EXPECT_EQ(t->Image.Settings.Features.Options[kOptVolume], 6);
        EXPECT_EQ(t->Doc.Path, "new.dat");
        EXPECT_TRUE(t->Doc.Untitled);
        EXPECT_EQ(t->Baseline, baseline);
        EXPECT_TRUE(ImageChanged(*t));
    }
}

TEST(ReadCommand, FailedOrCancelledReadLeavesImageAndDocumentAlone) {
    struct Case {
        const char* name;
        RadioFaults faults;
        std::vector<MsgAnswer> answers;
    };
    RadioFaults silentLate;
    silentLate.silenceEvery = 1;
    RadioFaults deaf;
    deaf.ignoreHandshakes = 1000;
    const Case cases[] = {{"cancel half-way", silentLate, {MsgAnswer::Cancel}},
                          {"restart, then cancel", silentLate, {MsgAnswer::Ok, MsgAnswer::Cancel}},
                          {"no radio", deaf, {MsgAnswer::Cancel}}};
    for (const Case& c : cases) {
        auto t = test::MakeTestProgram(1);
        t->Link.NoEchoMode = true;
        t->Doc.Path = "/somewhere/old.dat";
        t->Doc.Untitled = false;
        const RadioImage before = t->Image;
        RadioResponder radio = RadioHolding(0);
        radio.setup.faults = c.faults;
        t.script->answers.assign(c.answers.begin(), c.answers.end());
        VirtualLine line(*t, radio);
        PrepareTransferData(*t, LinkOperation::ReadRadio);
        EXPECT_FALSE(line.Run(LinkOperation::ReadRadio)) << c.name;
        EXPECT_EQ(t->Image, before) << c.name;
        EXPECT_EQ(t->Model.ModelType, 1) << c.name;
        EXPECT_EQ(t->Doc.Path, "/somewhere/old.dat") << c.name;
        EXPECT_EQ(line.Engine().Operation(), LinkOperation::Idle);
    }
}

TEST(ReadCommand, RadioTypeWithoutBandIsReadButRefusedAndTheProgramGoesOn) {
    auto t = test::MakeTestProgram(0);
    t->Link.NoEchoMode = true;
    RadioResponder radio = RadioHolding(0);
    radio.setup.modelType = 5;
    const RadioImage before = t->Image;
    VirtualLine line(*t, radio);
    PrepareTransferData(*t, LinkOperation::ReadRadio);
    ASSERT_TRUE(line.Run(LinkOperation::ReadRadio)); // the type is not compared when reading
    EXPECT_FALSE(PostReadStep(*t));
    EXPECT_TRUE(t.script->Saw("Country Mode Error!"));
    EXPECT_EQ(t->Image, before);
    EXPECT_FALSE(t->QuitRequested);
}

TEST(WriteCommand, BytesSentAreTheEncoderOutputOfTheWorkingImage) {
    auto t = test::MakeTestProgram(2);
    t->Link.NoEchoMode = true;
    t->Image.Settings.Features.Options[kOptSquelch] = 3;
    t->RadioMemoryBlock.fill(0xEE); // stale bytes from an earlier transfer must not go out
    RadioSetup setup;
    setup.modelType = 2;
    RadioResponder radio(setup);
    radio.SetPassword("");
    VirtualLine line(*t, radio);
    PrepareTransferData(*t, LinkOperation::WriteRadio);
    const RadioImage before = t->Image;
    ASSERT_TRUE(line.Run(LinkOperation::WriteRadio));
    auto expected = test::MakeTestProgram(2);
    expected->Image = before;
    EncodeRadioMemory(*expected);
    EXPECT_EQ(radio.memory, expected->RadioMemoryBlock);
    EXPECT_EQ(t->Image, before);
}

TEST(InfoCommand, ClearsTheMemoryBlockAndLeavesTheImageAlone) {
    auto t = test::MakeTestProgram(0);
    t->Link.NoEchoMode = true;
    t->RadioMemoryBlock.fill(0x55);
    const RadioImage before = t->Image;
    RadioResponder radio;
    radio.info[0] = 0x01;
    VirtualLine line(*t, radio);
    PrepareTransferData(*t, LinkOperation::ReadRadioInfo);
    ASSERT_TRUE(line.Run(LinkOperation::ReadRadioInfo));
    EXPECT_EQ(t->RadioInfo.ModelType, 1);
    EXPECT_TRUE(std::all_of(t->RadioMemoryBlock.begin(), t->RadioMemoryBlock.end(),
                            [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(t->Image, before);
}

TEST(PortNumbers, NewDevicesTakeTheLowestFreeNumbersAndTypedPathsMove) {
    auto t = test::MakeTestProgram();
    PortMap map = LoadPortMap(*t);
    map[0] = "/dev/serial/by-id/usb-A";
    map[2] = "/dev/ttyUSB7";
    ASSERT_TRUE(SavePortMap(*t, map));
    map = LoadPortMap(*t);
    EXPECT_TRUE(MapNewDevices(map, {"/dev/ttyUSB7", "/dev/serial/by-id/usb-B", "/dev/ttyACM0"}));
    EXPECT_EQ(map[1], "/dev/serial/by-id/usb-B");
    EXPECT_EQ(map[2], "/dev/ttyUSB7");
    EXPECT_EQ(map[3], "/dev/ttyACM0");
    EXPECT_FALSE(MapNewDevices(map, {"/dev/ttyACM0"}));
    ASSERT_TRUE(SavePortMap(*t, map));

    ASSERT_TRUE(AssignPortPath(*t, 16, "/tmp/sim/radio"));
    ASSERT_TRUE(AssignPortPath(*t, 5, "/dev/ttyUSB7")); // moves from 3 to 5
    EXPECT_EQ(PortDevicePath(*t, 16), "/tmp/sim/radio");
    EXPECT_EQ(PortDevicePath(*t, 5), "/dev/ttyUSB7");
    EXPECT_EQ(PortDevicePath(*t, 3), "/dev/ttyS2"); // unmapped: the classic port of that number
    EXPECT_EQ(PortDevicePath(*t, 1), "/dev/serial/by-id/usb-A");
    EXPECT_FALSE(AssignPortPath(*t, 17, "/dev/x"));
    EXPECT_FALSE(AssignPortPath(*t, 0, "/dev/x"));
}

TEST(PortNumbers, ClassicPortsKeepTheirOwnNumbers) {
    PortMap map;
    map[0] = "/tmp/sim/radio"; // port 1 given to a simulator: /dev/ttyS0 does not move to port 2
    EXPECT_TRUE(MapNewDevices(map, {"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyUSB0", "/dev/ttyS1a"}));
    EXPECT_EQ(map, (PortMap{"/tmp/sim/radio", "/dev/ttyUSB0", "/dev/ttyS1a"}));
    for (const auto& [device, number] : {std::pair{"/dev/ttyS15", 16}, {"/dev/ttyS", 0}, {"/dev/ttyUSB0", 0}})
        EXPECT_EQ(ClassicPortNumber(device), number) << device;
}

TEST(PortNumbers, FullMapLeavesFurtherDevicesUnnumbered) {
    PortMap map;
    std::vector<std::string> devices;
    for (int i = 0; i < 20; ++i)
        devices.push_back("/dev/ttyUSB" + std::to_string(i));
    EXPECT_TRUE(MapNewDevices(map, devices));
    EXPECT_EQ(map[15], "/dev/ttyUSB15");
    EXPECT_EQ(std::count(map.begin(), map.end(), "/dev/ttyUSB16"), 0);
}

TEST(PortNumbers, OpenFailureNamesDeviceAndReasonAndHowToGetPermission) {
    auto t = test::MakeTestProgram();
    // A device this user cannot open (none here): a real permission error.
    const std::string plain =
        PortOpenFailureText(*t, "/nonexistent/ttyUSB0", "No such file or directory", false);
    EXPECT_EQ(plain, LangText(*t, 9003_txt) + "\r\n/nonexistent/ttyUSB0: No such file or directory");
    const std::string denied = PortOpenFailureText(*t, "/nonexistent/ttyUSB0", "Permission denied", true);
    EXPECT_EQ(denied, plain.substr(0, plain.find(':')) + ": Permission denied\r\n" + LangText(*t, 9031_txt) +
                          "\r\n" + LangText(*t, 32604_txt));
    EXPECT_NE(LangText(*t, 9031_txt).find("dialout"), std::string::npos);
}

TEST(FailedTransfer, OnlyAFailedWriteThatSentBlocksSaysTheRadioMayHoldAMix) {
    struct Case {
        LinkOperation op;
        int silentFrom;    // blocks from this address on get no reply (0x3E00: none)
        const char* model; // the radio's model code
        bool mixed;
    };
    const Case cases[] = {{LinkOperation::WriteRadio, 0x0800, "Tarvane", true},
                          {LinkOperation::WriteRadio, 0x0000, "Tarvane", true}, // a block went out unanswered
                          {LinkOperation::WriteRadio, 0x0800, "Other", false},  // stopped before any block
                          {LinkOperation::WriteRadio, 0x3E00, "Tarvane", false},
                          {LinkOperation::ReadRadio, 0x0800, "Tarvane", false}};
    for (const Case& c : cases) {
        auto t = test::MakeTestProgram();
        t->Link.NoEchoMode = true;
        RadioSetup setup;
        setup.modelCode = c.model;
        RadioResponder radio(setup);
        VirtualLine line(*t, radio);
        line.tamper = [&](const Bytes& packet, std::vector<SimReply>& out) {
            const int address = packet.size() >= 4 ? (packet[1] << 8) | packet[2] : -1;
            out = address >= c.silentFrom && address < 0x3E00 ? std::vector<SimReply>{} : radio.Feed(packet);
            return true;
        };
        t.script->answers = {MsgAnswer::Cancel}; // the give-up question
        line.Run(c.op);
        const std::string mix = c.mixed ? "\r\n" + LangText(*t, 32015_txt) : "";
        const std::string lost = FillIn(LangText(*t, 33600_txt), {"/dev/ttyUSB0"});
        EXPECT_EQ(FailedTransferText(*t, line.Engine(), ""), mix.empty() ? "" : mix.substr(2))
            << c.silentFrom;
        EXPECT_EQ(FailedTransferText(*t, line.Engine(), "/dev/ttyUSB0"), lost + mix) << c.silentFrom;
    }
}

TEST(SystemErrors, TheCommonRefusalsComeFromTheLanguageFile) {
    auto t = test::MakeTestProgram();
    SetLanguage(*t, 2); // Chinese
    const std::pair<int, TextId> cases[] = {{ENOENT, 33610_txt}, {ENODEV, 33611_txt}, {EIO, 33611_txt},
                                            {EBUSY, 33612_txt},  {EACCES, 33613_txt}, {EPERM, 33613_txt},
                                            {ENOSPC, 33614_txt}, {EROFS, 33615_txt}};
    for (auto [errnum, id] : cases)
        EXPECT_EQ(SystemErrorText(*t, errnum), LangText(*t, id)) << errnum;
    EXPECT_EQ(SystemErrorText(*t, EINVAL), std::strerror(EINVAL)); // the system's own words
}

} // namespace
} // namespace tarvane
