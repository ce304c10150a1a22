// Read from radio, Write to radio, Radio information and the password through
// the frame, against the simulated radio on a pseudo-terminal, with the
// questions answered by the test.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>

#include "../cli/CliRunner.h"
#include "GuiTestSupport.h"
#include "image/ImageOps.h"
#include "link/FrmRadioInfo.h"
#include "link/SerialPorts.h"
#include "memory/RadioMemory.h"
#include "state/lang/LangText.h"

using namespace tarvane;
using namespace tarvane::test;

namespace {

// Waits for the end of the radio command started before (it may have ended already).
bool WaitDone(QSignalSpy& spy, int ms = 60000) {
    return spy.count() > 0 || spy.wait(ms);
}

void EditImage(Program& p) {
    p.Image.Settings.KeyTable[3] = static_cast<int16_t>(p.Image.Settings.KeyTable[3] % 18 + 1);
    p.Image.Settings.KeyTable[4] = static_cast<int16_t>(p.Image.Settings.KeyTable[4] % 18 + 1);
}

std::vector<unsigned char> Bytes(const std::array<uint8_t, kRadioMemorySize>& a) {
    return {a.begin(), a.end()};
}

struct RadioFixture : FrameFixture {
    SimulatedRadio radio;
    QSignalSpy done;
    explicit RadioFixture(const std::vector<std::string>& options = {}, const std::string& folder = "")
        : radio(options, folder), done(frame.get(), &frmMain::RadioCommandDone) {
        AssignRadioPort(p(), 1, QString::fromStdString(radio.Link()));
        p().Link.SerialPortNumber = 1;
    }
};

} // namespace

class RadioCommandsTest : public QObject {
    Q_OBJECT
  private slots:
    void writeThenReadThroughTheApplication();
    void cancelAtTheQuestionChangesNothing_data();
    void cancelAtTheQuestionChangesNothing();
    void giveUpCancelLeavesTheImage();
    void portThatCannotBeOpened();
    void passwordEnteredOnceServesLaterReads();
    void wrongPasswordStopsBeforeAnyBlock();
    void radioInformationWindow();
    void eventLoopRunsDuringATransfer();
};

void RadioCommandsTest::writeThenReadThroughTheApplication() {
    const std::string folder = TempDir();
    std::vector<unsigned char> written;
    RadioImage sent;
    {
        RadioFixture f({}, folder);
        QVERIFY(f.radio.Ready());
        f.Settle();
        EditImage(f.p());
        sent = f.p().Image;
        f.script().answers = {MsgAnswer::Ok}; // 9005
        f.frame->Action("mnuWriteToRadio")->trigger();
        QVERIFY(WaitDone(f.done));
        QCOMPARE(f.script().shown.front().text, LangText(f.p(), 9005_txt));
        QVERIFY(f.script().Saw(LangText(f.p(), 9010_txt)));
        QVERIFY(!f.script().Saw(LangText(f.p(), 9008_txt)));
        // The open windows were asked to commit their edits first.
        QVERIFY(f.commits >= 1);
        // What the radio holds is exactly the encoder's output for the image.
        EncodeRadioMemory(f.p());
        written = Bytes(f.p().RadioMemoryBlock);
        QCOMPARE(f.radio.Memory(), written);
        // Writing changes neither the image nor the document.
        QVERIFY(f.p().Image.Settings.KeyTable == sent.Settings.KeyTable);
        QCOMPARE(f.made.value("frmCommChInfo"), 1);
    }
    {
        // Another program reads it back.
        RadioFixture f({}, folder);
        QVERIFY(f.radio.Ready());
        f.Settle();
        QVERIFY(f.p().Image.Settings.KeyTable != sent.Settings.KeyTable);
        // The document windows are gone before the success message is shown.
        int windowsAtSuccess = -1;
        auto scripted = f.p().Prompts.message;
        const std::string success = LangText(f.p(), 9009_txt);
        f.p().Prompts.message = [&, scripted](const std::string& text, MsgIcon icon, MsgButtons buttons,
                                              const std::string& title) {
            if (text == success) windowsAtSuccess = int(f.frame->ChildWindows().size());
            return scripted(text, icon, buttons, title);
        };
        f.script().answers = {MsgAnswer::Ok}; // 9004
        f.frame->Action("mnuReadFromRadio")->trigger();
        QVERIFY(WaitDone(f.done));
        QCOMPARE(f.script().shown.front().text, LangText(f.p(), 9004_txt));
        QVERIFY(f.script().Saw(LangText(f.p(), 9009_txt)));
        QCOMPARE(windowsAtSuccess, 0);
        QCOMPARE(Bytes(f.p().RadioMemoryBlock), written);
        QVERIFY(f.p().Image.Settings.KeyTable == sent.Settings.KeyTable);
        QCOMPARE(f.p().Image.Settings.ChannelCount, sent.Settings.ChannelCount);
        // The read image is an untitled, unsaved document with its channel table reopened.
        QVERIFY(f.p().Doc.Untitled);
        QCOMPARE(f.p().Doc.Path, std::string("new.dat"));
        QVERIFY(ImageChanged(f.p()));
        QCOMPARE(f.made.value("frmCommChInfo"), 2);
        QCOMPARE(f.OpenOf("frmCommChInfo"), 1);
    }
}

void RadioCommandsTest::cancelAtTheQuestionChangesNothing_data() {
    QTest::addColumn<bool>("writing");
    QTest::newRow("read") << false;
    QTest::newRow("write") << true;
}

void RadioCommandsTest::cancelAtTheQuestionChangesNothing() {
    QFETCH(bool, writing);
    RadioFixture f;
    QVERIFY(f.radio.Ready());
    f.Settle();
    EditImage(f.p());
    const RadioImage before = f.p().Image;
    const std::vector<unsigned char> radioBefore = f.radio.Memory();
    f.p().RadioMemoryBlock.fill(0x5A);
    f.script().answers = {MsgAnswer::Cancel};
    f.frame->Action(writing ? "mnuWriteToRadio" : "mnuReadFromRadio")->trigger();
    QVERIFY(WaitDone(f.done));
    QCOMPARE(f.script().shown.size(), size_t(1));
    QVERIFY(f.p().Image.Settings.KeyTable == before.Settings.KeyTable);
    QVERIFY(ImageChanged(f.p()));
    QCOMPARE(f.p().RadioMemoryBlock[100], uint8_t(0x5A)); // nothing cleared
    QCOMPARE(f.radio.Memory(), radioBefore);
    QVERIFY(!f.frame->TransferRunning());
    QCOMPARE(f.made.value("frmCommChInfo"), 1);
}

void RadioCommandsTest::giveUpCancelLeavesTheImage() {
    // A radio that never answers the handshake: four tries, then the question,
    // which offers to look for the radio on every device.
    RadioFixture f({"--ignore-handshakes", "1000"});
    QVERIFY(f.radio.Ready());
    f.Settle();
    EditImage(f.p());
    const RadioImage before = f.p().Image;
    f.script().answers = {MsgAnswer::Ok, MsgAnswer::Cancel}; // 9004, then find the radio?
    f.frame->mnuReadFromRadio_Click();
    QVERIFY(WaitDone(f.done));
    const std::string offer = LangText(f.p(), 34231_txt);
    QVERIFY(std::any_of(f.script().shown.begin(), f.script().shown.end(),
                        [&](const auto& s) { return s.text.find(offer) != std::string::npos; }));
    QVERIFY(!f.script().Saw(LangText(f.p(), 9009_txt)));
    QVERIFY(f.p().Image.Settings.KeyTable == before.Settings.KeyTable);
    QVERIFY(!f.frame->TransferRunning());
    f.Settle(700);
    // No post-read step came, and the document windows stayed.
    QCOMPARE(f.made.value("frmCommChInfo"), 1);
    QCOMPARE(f.OpenOf("frmCommChInfo"), 1);
}

void RadioCommandsTest::portThatCannotBeOpened() {
    FrameFixture f;
    QSignalSpy done(f.frame.get(), &frmMain::RadioCommandDone);
    AssignRadioPort(f.p(), 1, QString::fromStdString(TempDir() + "/no-such-port"));
    f.p().Link.SerialPortNumber = 1;
    f.frame->mnuReadFromRadio_Click();
    QCOMPARE(f.script().shown.size(), size_t(1));
    QVERIFY(f.script().shown[0].text.starts_with(LangText(f.p(), 9003_txt)));
    QCOMPARE(f.script().shown[0].icon, MsgIcon::Critical);
    QVERIFY(!f.frame->TransferRunning());
}

void RadioCommandsTest::passwordEnteredOnceServesLaterReads() {
    RadioFixture f({"--password", "7Ab"});
    QVERIFY(f.radio.Ready());
    f.Settle();
    // Entered beforehand from the menu, through the dialog.
    OnNextModal([](QWidget* dlg) {
        auto* text = dlg->findChild<QLineEdit*>("Text1");
        QCOMPARE(text->maxLength(), 4);
        QCOMPARE(text->echoMode(), QLineEdit::Password);
        QTest::keyClicks(text, "7Ab");
        dlg->findChild<QPushButton*>("CommandOK")->click();
    });
    f.frame->Action("MnuProPassWord")->trigger();
    QCOMPARE(f.p().EnteredPassword, std::string("7Ab"));
    for (int run = 0; run < 2; ++run) {
        f.done.clear();
        f.script().shown.clear();
        f.script().answers = {MsgAnswer::Ok};
        f.frame->mnuReadFromRadio_Click();
        QVERIFY(WaitDone(f.done));
        QVERIFY(f.script().Saw(LangText(f.p(), 9009_txt)));
    }
    QCOMPARE(f.script().passwordAsked, 0);
}

void RadioCommandsTest::wrongPasswordStopsBeforeAnyBlock() {
    RadioFixture f({"--password", "7Ab"});
    QVERIFY(f.radio.Ready());
    f.Settle();
    const RadioImage before = f.p().Image;
    f.script().answers = {MsgAnswer::Ok};
    f.script().passwords = {{true, "7ab"}}; // differs in letter case only
    f.frame->mnuReadFromRadio_Click();
    QVERIFY(WaitDone(f.done));
    QCOMPARE(f.script().passwordAsked, 1);
    QVERIFY(f.script().Saw("PassWord Failure!"));
    QVERIFY(!f.script().Saw(LangText(f.p(), 9009_txt)));
    QVERIFY(f.p().Image.Settings.KeyTable == before.Settings.KeyTable);
    QVERIFY(!f.frame->TransferRunning());
}

void RadioCommandsTest::radioInformationWindow() {
    const std::string folder = TempDir();
    std::vector<unsigned char> info(256, 0xFF);
    info[0] = 0x01; // HF
    const std::string dealer = "Dealer Sixteen!!";
    std::copy(dealer.begin(), dealer.end(), info.begin() + 48);
    QVERIFY(WriteBytes(folder + "/info.bin", info));
    RadioFixture f({}, folder);
    QVERIFY(f.radio.Ready());
    f.Settle();
    const RadioImage before = f.p().Image;
    f.p().RadioMemoryBlock.fill(0x77);
    f.frame->Action("MnuLocalInfo")->trigger();
    QVERIFY(WaitDone(f.done));
    auto* w = qobject_cast<FrmRadioInfo*>(f.frame->FindChildWindow("FrmRadioInfo"));
    QVERIFY(w);
    QCOMPARE(w->Combo3->currentText(), QString("HF"));
    QCOMPARE(w->Text1[1]->text(), QString::fromStdString(dealer));
    QCOMPARE(w->Text1[2]->text(), QString());
    // The working image stays; the memory block is cleared.
    QVERIFY(f.p().Image.Settings.KeyTable == before.Settings.KeyTable);
    QCOMPARE(f.p().RadioMemoryBlock[5], uint8_t(0));
    // The tree entry reads again into the same window.
    f.done.clear();
    info[0] = 0x02;
    f.frame->TreeClicked(f.frame->Tree()->topLevelItem(0)->child(5));
    QVERIFY(WaitDone(f.done));
    QCOMPARE(f.OpenOf("FrmRadioInfo"), 1);
}

void RadioCommandsTest::eventLoopRunsDuringATransfer() {
    RadioFixture f({}, "");
    QVERIFY(f.radio.Ready());
    f.Settle();
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(5);
    f.script().answers = {MsgAnswer::Ok};
    f.frame->mnuWriteToRadio_Click();
    QVERIFY(WaitDone(f.done));
    const int duringAndAfter = ticks;
    QVERIFY(f.script().Saw(LangText(f.p(), 9010_txt)));
    // Timers kept firing while the 464 blocks moved.
    QVERIFY2(duringAndAfter > 10, qPrintable(QString::number(duringAndAfter)));
}

int main(int argc, char** argv) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    RadioCommandsTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "RadioCommandsTest.moc"
