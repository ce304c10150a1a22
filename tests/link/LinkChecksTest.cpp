// Password, identity, feature warning and the radio information read.
#include <gtest/gtest.h>

#include <cstring>

#include "TestProgram.h"
#include "image/ModelVersion.h"
#include "sim/VirtualLine.h"
#include "state/lang/LangText.h"

namespace tarvane {
namespace {

struct Rig {
    test::TestProgram t;
    RadioResponder radio;
    VirtualLine line;
    explicit Rig(RadioSetup setup = {}, int type = 0)
        : t(test::MakeTestProgram(type)), radio(setup), line(*t, radio, false) {
        t->Link.NoEchoMode = true;
        radio.SetPassword("");
    }
};

TEST(LinkPassword, CheckedAgainstTheEnteredPasswordAskingOnlyOnMismatch) {
    struct Case {
        const char* radio;
        const char* entered;
        std::vector<std::pair<bool, std::string>> dialog;
        bool success;
        int asked;
        const char* enteredAfter;
    };
    const Case cases[] = {
        {"", "", {}, true, 0, ""},                          // erased: no dialog
        {"AB", "AB", {}, true, 0, "AB"},                    // two characters then NULs
        {"AB", "", {{true, "AB"}}, true, 1, "AB"},          // asked, right entry, kept for later
        {"AB", "", {{true, "ab"}}, false, 1, "ab"},         // letter case counts
        {"AB", "", {{false, "AB"}}, false, 1, ""},          // Cancel keeps the old entry
        {"1234", "12", {{true, "1234 "}}, true, 1, "1234"}, // the entry is trimmed
    };
    for (const Case& c : cases) {
        Rig r;
        r.radio.SetPassword(c.radio);
        r.t->EnteredPassword = c.entered;
        r.t.script->passwords.assign(c.dialog.begin(), c.dialog.end());
        EXPECT_EQ(r.line.Run(LinkOperation::WriteRadio), c.success) << c.radio << "/" << c.entered;
        EXPECT_EQ(r.t.script->passwordAsked, c.asked) << c.radio;
        EXPECT_EQ(r.t->EnteredPassword, c.enteredAfter);
        if (!c.success) {
            EXPECT_TRUE(r.t.script->Saw("PassWord Failure!"));
            EXPECT_EQ(r.radio.blocksWritten, 0);
            EXPECT_EQ(r.line.sent.back(), EndPacket::encode());
        }
    }
}

TEST(LinkPassword, EnteredOnceServesLaterTransfersSilently) {
    Rig r;
    r.radio.SetPassword("PW");
    r.t.script->passwords = {{true, "PW"}};
    ASSERT_TRUE(r.line.Run(LinkOperation::ReadRadio));
    ASSERT_TRUE(r.line.Run(LinkOperation::WriteRadio));
    EXPECT_EQ(r.t.script->passwordAsked, 1);
}

TEST(LinkIdentity, ModelTypeAndVersionAreCheckedBeforeAnyBlock) {
    struct Case {
        const char* name;
        const char* code;
        uint8_t type;
        const char* firmware;
        LinkOperation op;
        bool success;
    };
    const Case cases[] = {
        {"same", "Tarvane", 0, "V100", LinkOperation::WriteRadio, true},
        {"other type, write", "Tarvane", 1, "V100", LinkOperation::WriteRadio, false},
        {"other type, read", "Tarvane", 1, "V100", LinkOperation::ReadRadio, true},
        {"other model", "Other", 0, "V100", LinkOperation::ReadRadio, false},
        {"other model, write", "Other", 0, "V100", LinkOperation::WriteRadio, false},
        {"model case", "tarvane", 0, "V100", LinkOperation::ReadRadio, false},
        {"other version", "Tarvane", 0, "V107", LinkOperation::ReadRadio, false},
    };
    for (const Case& c : cases) {
        RadioSetup s;
        s.modelCode = c.code;
        s.modelType = c.type;
        s.firmwareVersion = c.firmware;
        Rig r(s);
        EXPECT_EQ(r.line.Run(c.op), c.success) << c.name;
        EXPECT_EQ(r.radio.blocksWritten, c.success && c.op == LinkOperation::WriteRadio ? 464 : 0) << c.name;
        if (c.success) continue;
        // No block request after the identification exchange.
        EXPECT_EQ(r.line.sent.size(), 4u) << c.name;
        ASSERT_EQ(r.t.script->shown.size(), 1u) << c.name;
        const test::Shown& m = r.t.script->shown[0];
        if (std::string(c.name).starts_with("other type")) {
            EXPECT_EQ(m.text, LangText(*r.t, 9030_txt));
            EXPECT_EQ(m.icon, MsgIcon::Warning);
        } else if (std::string(c.name) == "other version") {
            EXPECT_EQ(m.text, VersionMismatchText(*r.t, "V107"));
            EXPECT_EQ(m.buttons, MsgButtons::YesNo);
            EXPECT_FALSE(r.t->QuitRequested); // answered No
        } else {
            EXPECT_EQ(m.text, LangText(*r.t, 9012_txt) + "\r\nPC is Tarvane\r\nRadio is " + c.code);
        }
    }
}

TEST(LinkIdentity, ModelCodeIsTrimmedAndEndsAtItsNul) {
    RadioSetup s;
    s.modelCode = std::string("Tarvane", 7);
    Rig padded(s);
    EXPECT_TRUE(padded.line.Run(LinkOperation::ReadRadio));
    s.modelCode = std::string("Tar\0xyz", 7);
    Rig cut(s);
    EXPECT_FALSE(cut.line.Run(LinkOperation::ReadRadio));
    EXPECT_EQ(cut.t->Link.Identity.RadioModelCode, "Tar");
}

TEST(LinkFeatureWarning, ShownOncePerWriteAfterTheChecksAndBeforeTheFirstBlock) {
    const std::string warning = "CTCSS/DCS Function is invalid,\r\nSome features will not work.";
    RadioSetup s;
    s.ctcssDcs = false;
    Rig r(s);
    size_t blocksWhenWarned = 99;
    r.t->Prompts.message = [&, script = r.t.script](const std::string& text, MsgIcon icon, MsgButtons b,
                                                    const std::string&) {
        script->shown.push_back({text, icon, b});
        if (text == warning) blocksWhenWarned = r.line.sent.size();
        return text == warning ? MsgAnswer::Ok : MsgAnswer::Ok; // OK also restarts at the give-up question
    };
    int silent = 4; // force one give-up and restart
    r.line.tamper = [&](const Bytes& packet, std::vector<SimReply>& out) {
        out = r.radio.Feed(packet);
        if (packet.size() == 22 && packet[1] == 0x00 && packet[2] == 0x40 && silent-- > 0) out.clear();
        return true;
    };
    ASSERT_TRUE(r.line.Run(LinkOperation::WriteRadio));
    EXPECT_EQ(r.t.script->Count(warning), 1u);
    EXPECT_EQ(r.t.script->shown[0].icon, MsgIcon::Warning);
    EXPECT_EQ(blocksWhenWarned, 3u); // handshake, identification, password block
    // Reading never warns; a radio with the flag set never warns.
    Rig read(s);
    ASSERT_TRUE(read.line.Run(LinkOperation::ReadRadio));
    EXPECT_FALSE(read.t.script->Saw(warning));
    Rig flagged;
    ASSERT_TRUE(flagged.line.Run(LinkOperation::WriteRadio));
    EXPECT_FALSE(flagged.t.script->Saw(warning));
}

TEST(RadioInformation, AreaDecodesIntoTheRecordAtItsOffsets) {
    Rig r;
    r.radio.info.fill(0xFF);
    auto put = [&](size_t at, const char* text) {
        std::memcpy(r.radio.info.data() + at, text, std::strlen(text));
    };
    r.radio.info[0] = 0x12;      // type in the low four bits only
    put(32, "SN12  ");           // A: trailing blanks trimmed
    put(40, "B1");               // B: ends at 0xFF
    put(44, "C ");               // C: kept as found
    put(48, "DDDDDDDDDDDDDDDD"); // D: all sixteen bytes
    put(64, "E2");
    r.radio.info[66] = 0x00; // E ends at its NUL
    put(67, "hidden");
    put(80, "F");
    put(96, "G text");
    put(192, "H");
    put(208, "I");
    put(224, "J");
    put(240, "KKKKKKKKKKKKKKKK");
    r.t->RadioMemoryBlock.fill(0x77);
    ASSERT_TRUE(r.line.Run(LinkOperation::ReadRadioInfo));
    const RadioInfoRecord& i = r.t->RadioInfo;
    EXPECT_EQ(i.ModelType, 2);
    EXPECT_EQ(i.TextA.Trimmed(), "SN12");
    EXPECT_EQ(i.TextB.Trimmed(), "B1");
    EXPECT_EQ(i.TextC, "C ");
    EXPECT_EQ(i.Head16[0].Raw(), "DDDDDDDDDDDDDDDD");
    EXPECT_EQ(i.Head16[1].Trimmed(), "E2");
    EXPECT_EQ(i.Head16[2].Trimmed(), "F");
    EXPECT_EQ(i.TextG.Trimmed(), "G text");
    EXPECT_EQ(i.Tail16[0].Trimmed(), "H");
    EXPECT_EQ(i.Tail16[2].Trimmed(), "J");
    EXPECT_EQ(i.Tail16[3].Raw(), "KKKKKKKKKKKKKKKK");
    // No password, no identity check, nothing else touched.
    EXPECT_EQ(r.line.sent.size(), 2u + 16u + 1u);
    EXPECT_TRUE(r.t.script->shown.empty());
    EXPECT_EQ(r.t->RadioMemoryBlock[0], 0x77);
}

TEST(RadioInformation, AreaOfErasedBytesGivesEmptyTextsAndTheCountryModeRefusal) {
    Rig r;
    r.radio.info.fill(0xFF);
    r.t->RadioInfo.TextA.Assign("old");
    ASSERT_TRUE(r.line.Run(LinkOperation::ReadRadioInfo));
    const RadioInfoRecord& i = r.t->RadioInfo;
    EXPECT_EQ(i.TextA.Trimmed(), "");
    EXPECT_EQ(i.TextC, "");
    EXPECT_EQ(i.TextG.Trimmed(), "");
    EXPECT_EQ(i.Tail16[3].Trimmed(), "");
    EXPECT_EQ(i.ModelType, 15);
    EXPECT_TRUE(r.t.script->Saw("Country Mode Error!"));
    EXPECT_FALSE(r.t->QuitRequested);
}

TEST(RadioInformation, RetryRereadsTheBlockThatTimedOutAndCancelKeepsTheRecord) {
    Rig r;
    for (size_t k = 0; k < 256; ++k)
        r.radio.info[k] = static_cast<uint8_t>('a' + k % 26);
    r.radio.info[0] = 1;
    int silent = 1;
    r.line.tamper = [&](const Bytes& packet, std::vector<SimReply>& out) {
        out = r.radio.Feed(packet);
        if (packet == ReadRequest{0x3E40}.encode() && silent-- > 0) out.clear();
        return true;
    };
    r.t.script->answers = {MsgAnswer::Retry};
    ASSERT_TRUE(r.line.Run(LinkOperation::ReadRadioInfo));
    EXPECT_EQ(r.t->RadioInfoBlock, r.radio.info);
    EXPECT_EQ(r.t.script->shown.at(0).buttons, MsgButtons::RetryCancel);

    Rig c;
    c.t->RadioInfo.TextA.Assign("keep");
    c.line.tamper = [&](const Bytes& packet, std::vector<SimReply>& out) {
        out = c.radio.Feed(packet);
        if (packet == ReadRequest{0x3E40}.encode()) out.clear();
        return true;
    };
    EXPECT_FALSE(c.line.Run(LinkOperation::ReadRadioInfo));
    EXPECT_EQ(c.t->RadioInfo.TextA.Trimmed(), "keep");
    EXPECT_EQ(c.line.sent.back(), EndPacket::encode());
}

} // namespace
} // namespace tarvane

namespace tarvane {
namespace {

TEST(LinkQuestions, InputArrivingWhileAQuestionIsOpenIsIgnored) {
    // The give-up question and the password dialog are modal: the event loop
    // runs under them and may deliver input and ticks to the engine.
    Rig r;
    r.radio.SetPassword("PW");
    r.line.tamper = [&](const Bytes& packet, std::vector<SimReply>& out) {
        out = r.radio.Feed(packet);
        if (packet == ReadRequest{0x0000}.encode()) out.clear(); // block 0 never answers
        return true;
    };
    DataBlock answer; // what the radio would have answered: its memory is erased (0xFF)
    answer.data.fill(0xFF);
    const Bytes block0 = answer.encode();
    int nested = 0;
    r.t->Prompts.password = [&](std::string& entry) {
        r.line.Engine().OnBytes(HandshakeAck::encode());
        r.line.Engine().OnTimeout();
        ++nested;
        entry = "PW";
        return true;
    };
    r.t->Prompts.message = [&](const std::string&, MsgIcon, MsgButtons, const std::string&) {
        const LinkStep step = r.line.Engine().Step();
        r.line.Engine().OnBytes(block0); // the very block the engine waits for
        r.line.Engine().OnTimeout();
        EXPECT_EQ(r.line.Engine().Step(), step);
        ++nested;
        return MsgAnswer::Cancel;
    };
    EXPECT_FALSE(r.line.Run(LinkOperation::ReadRadio));
    EXPECT_EQ(nested, 2);
    EXPECT_EQ(r.t->RadioMemoryBlock[0], 0x00); // the block delivered under the question was not stored
    EXPECT_EQ(r.line.Engine().Operation(), LinkOperation::Idle);
    EXPECT_EQ(r.line.Engine().Step(), LinkStep::AwaitHandshakeAck);
    // The tick under the password dialog did not end the transfer: block 0 was tried four times.
    EXPECT_EQ(std::count(r.line.sent.begin(), r.line.sent.end(), ReadRequest{0x0000}.encode()), 4);
}

TEST(LinkIdentity, FlagsByteIsCountedAfterTheEcho) {
    for (bool ctcss : {false, true}) {
        RadioSetup s;
        s.ctcssDcs = ctcss;
        test::TestProgram t = test::MakeTestProgram();
        t->Link.NoEchoMode = false;
        RadioResponder radio(s);
        radio.SetPassword("");
        VirtualLine line(*t, radio, true);
        ASSERT_TRUE(line.Run(LinkOperation::WriteRadio));
        EXPECT_EQ(t->Link.Identity.CtcssDcsSupported, ctcss);
        EXPECT_EQ(t->Link.Identity.RadioModelCode, "Tarvane");
        EXPECT_EQ(t->Link.Identity.RadioFirmwareVersion, "V100");
    }
}

} // namespace
} // namespace tarvane
