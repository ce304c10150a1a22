// Finding radios end to end over pseudo-terminals: a CB radio, a HAM radio
// behind an echoing cable, a silent one, one held by another program and a
// path with nothing behind it, all tried at once by the command line; the
// radios' memories stay as they were.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <random>

#include "../frame/GuiTestSupport.h"
#include "CliRunner.h"
#include "TestProgram.h"
#include "detect/FrmFindRadio.h"
#include "link/FrmSetComm.h"
#include "link/PortMap.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/ListHelpers.h"

namespace tarvane {
namespace {

std::vector<unsigned char> Pattern(unsigned seed) {
    std::vector<unsigned char> bytes(0x1D00);
    std::mt19937 rng(seed);
    for (auto& b : bytes)
        b = static_cast<unsigned char>(rng());
    return bytes;
}

// A simulator in its own folder, its memory filled with a pattern first.
struct Sim {
    std::string folder = test::TempDir();
    std::vector<unsigned char> memory;
    std::unique_ptr<test::SimulatedRadio> radio;
    Sim(unsigned seed, const std::vector<std::string>& options) : memory(Pattern(seed)) {
        EXPECT_TRUE(test::WriteBytes(folder + "/memory.bin", memory));
        radio = std::make_unique<test::SimulatedRadio>(options, folder);
        EXPECT_TRUE(radio->Ready());
    }
    bool Unchanged() {
        radio->Stop();
        return radio->Memory() == memory;
    }
};

std::string LineOf(const std::string& out, const std::string& port) {
    const size_t at = out.find(port + ": ");
    return at == std::string::npos ? "" : out.substr(at, out.find('\n', at) - at);
}

int argc = 1;
char name[] = "detect_end_to_end_tests";
char* argv[] = {name, nullptr};

TEST(DetectEndToEnd, TheCommandLineFindsEachPortsStateAtOnce) {
    QCoreApplication app(argc, argv);
    Sim cb(1, {"--model-type", "CB"});
    Sim ham(2, {"--model-type", "HAM", "--echo", "--firmware", "V100"});
    Sim silent(3, {"--ignore-handshakes", "1000"});
    Sim held(4, {});
    const std::string missing = test::TempDir() + "/no-cable-here";
    QSerialPort holder(QString::fromStdString(held.radio->Link()));
    ASSERT_TRUE(holder.open(QIODevice::ReadWrite)) << holder.errorString().toStdString();

    const std::vector<std::string> ports = {cb.radio->Link(), ham.radio->Link(), silent.radio->Link(),
                                            held.radio->Link(), missing};
    std::vector<std::string> args{"detect", "--lang", "en"};
    for (const std::string& port : ports)
        args.insert(args.end(), {"--port", port});
    const test::CliResult text = test::RunCli(args);
    args.push_back("--json");
    const test::CliResult json = test::RunCli(args);
    holder.close();

    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(json.status, 0) << json.err;
    struct Row {
        std::string port;
        std::string line; // the start of the port's line
        std::string json; // a piece of its JSON object
    };
    const std::vector<Row> rows = {
        {ports[0], ports[0] + ": radio: Tarvane (CB), firmware V100, the cable does not echo",
         "\"type\": \"CB\",\n    \"firmware\": \"V100\",\n    \"echo\": false"},
        {ports[1], ports[1] + ": radio: Tarvane (HAM), firmware V100, the cable echoes",
         "\"type\": \"HAM\",\n    \"firmware\": \"V100\",\n    \"echo\": true"},
        {ports[2], ports[2] + ": silent: Nothing answered. Check that the radio is switched on",
         "\"status\": \"silent\""},
        {ports[3], ports[3] + ": busy: In use by another program (process " + std::to_string(getpid()) + ").",
         "\"holder_pid\": " + std::to_string(getpid())},
        {ports[4], ports[4] + ": missing: " + ports[4] + " is not there: ", "\"status\": \"missing\""},
    };
    size_t lastAt = 0;
    for (const Row& r : rows) {
        EXPECT_EQ(LineOf(text.out, r.port).rfind(r.line, 0), 0u) << text.out;
        const size_t at = json.out.find("\"port\": \"" + r.port + "\"");
        ASSERT_NE(at, std::string::npos) << json.out;
        EXPECT_GT(at + 1, lastAt) << "in the order given";
        lastAt = at;
        EXPECT_NE(json.out.find(r.json, at), std::string::npos) << json.out;
    }
    EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\n'), 5) << "one line per port";
    // None answering is status 1; wrong usage 2.
    EXPECT_EQ(test::RunCli({"detect", "--lang", "en", "--port", ports[2], "--port", missing}).status, 1);
    EXPECT_EQ(test::RunCli({"detect", "--port"}).status, 2);
    for (Sim* s : {&cb, &ham, &silent, &held})
        EXPECT_TRUE(s->Unchanged()) << s->radio->Link();
}

// The port dialog's Find radio: the devices mapped to port numbers are tried at
// once; the one radio goes on the chosen number after asking, several leave
// every number as it was with each device's finding shown.
TEST(DetectEndToEnd, ThePortDialogFindsTheRadioAndPutsItOnTheChosenNumber) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    auto t = test::MakeTestProgram();
    Sim cb(6, {"--model-type", "CB"});
    Sim silent(7, {"--ignore-handshakes", "1000"});
    Sim held(8, {});
    const std::string missing = test::TempDir() + "/unplugged";
    QSerialPort holder(QString::fromStdString(held.radio->Link()));
    ASSERT_TRUE(holder.open(QIODevice::ReadWrite));
    ASSERT_TRUE(AssignPortPath(*t, 1, missing));
    ASSERT_TRUE(AssignPortPath(*t, 3, cb.radio->Link()));
    ASSERT_TRUE(AssignPortPath(*t, 4, silent.radio->Link()));
    ASSERT_TRUE(AssignPortPath(*t, 5, held.radio->Link()));
    t.script->answers = {MsgAnswer::Yes}; // port 1 has another device: replace it

    FrmSetComm dlg(*t);
    OfferFindRadio(dlg, *t);
    dlg.show();
    ASSERT_TRUE(dlg.CommandFind->isVisible());
    SetOptionState(dlg.Option1[0], 1);
    dlg.CommandFind->click(); // the find window closes by itself: one radio
    EXPECT_EQ(dlg.Device[0]->text().toStdString(), cb.radio->Link());
    EXPECT_EQ(t.script->shown.size(), 1u) << "the question about port 1's device";
    EXPECT_NE(dlg.FindResult->text().toStdString().find(cb.radio->Link()), std::string::npos);
    dlg.CommandOK->click();
    EXPECT_EQ(LoadPortMap(*t)[0], cb.radio->Link());
    EXPECT_EQ(t->Link.SerialPortNumber, 1);
    holder.close();
    for (Sim* s : {&cb, &silent, &held})
        EXPECT_TRUE(s->Unchanged()) << s->radio->Link();
}

TEST(DetectEndToEnd, TwoRadiosLeaveThePortsAsTheyWereAndShowEveryFinding) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    auto t = test::MakeTestProgram();
    Sim cb(9, {"--model-type", "CB"});
    Sim ham(10, {"--model-type", "HAM", "--echo"});
    const std::vector<std::string> devices = {cb.radio->Link(), ham.radio->Link(), "/nonexistent/cable"};
    FrmFindRadio find(*t, devices);
    QTimer::singleShot(0, &find, [&find] { find.show(); });
    QTRY_VERIFY_WITH_TIMEOUT(find.Finished(), 20000);
    EXPECT_TRUE(find.isVisible()) << "several radios: the window stays";
    EXPECT_TRUE(find.FoundDevice().isEmpty());
    ASSERT_EQ(find.List->topLevelItemCount(), 3);
    const std::vector<std::string> words = {"radio", "radio", "missing"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(find.List->topLevelItem(i)->text(0).toStdString(), devices[static_cast<size_t>(i)]);
        EXPECT_EQ(find.List->topLevelItem(i)->text(1).toStdString(), words[static_cast<size_t>(i)]);
    }
    EXPECT_NE(find.List->topLevelItem(1)->text(2).toStdString().find("HAM"), std::string::npos);
    EXPECT_NE(find.Head->text().toStdString().find("2"), std::string::npos);
    find.reject();
    EXPECT_TRUE(cb.Unchanged());
    EXPECT_TRUE(ham.Unchanged());
}

// A read that nothing answers offers to look for the radio on every device;
// No tries the same port again, Cancel ends the read with nothing changed.
TEST(DetectEndToEnd, AReadThatNothingAnswersOffersToFindTheRadio) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Sim silent(11, {"--ignore-handshakes", "1000"});
    test::FrameFixture f(0, false);
    f.p().Dirs.SetupFile = silent.folder + "/mysetup.ini";
    ASSERT_TRUE(AssignPortPath(f.p(), 1, silent.radio->Link()));
    f.p().Link.SerialPortNumber = 1;
    const RadioImage before = f.p().Image;
    // Read? OK; find the radio? No (again); find the radio? Cancel.
    f.script().answers = {MsgAnswer::Ok, MsgAnswer::No, MsgAnswer::Cancel};
    QSignalSpy done(f.frame.get(), &frmMain::RadioCommandDone);
    f.frame->Action("mnuReadFromRadio")->trigger();
    ASSERT_TRUE(done.count() > 0 || done.wait(20000));
    const std::string offer = FillIn(LangText(f.p(), txt::kNothingAnsweredOn), {silent.radio->Link()});
    EXPECT_EQ(f.script().Count(offer + "\r\n" + LangText(f.p(), txt::kFindRadioEveryDevice)), 2u);
    EXPECT_FALSE(f.frame->TransferRunning());
    EXPECT_TRUE(f.p().Image == before);
    EXPECT_TRUE(silent.Unchanged());
}

} // namespace
} // namespace tarvane
