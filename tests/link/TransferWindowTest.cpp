// The transfer windows against the simulated radio on a pseudo-terminal:
// Cancel and Escape in the progress window end a transfer cleanly, a failed
// write offers to write again, and the port dialog's always-verify choice
// makes a clean write read back what it wrote.
#include <QApplication>
#include <QCheckBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <fstream>
#include <regex>

#include "../cli/CliRunner.h"
#include "../frame/GuiTestSupport.h"
#include "link/FrmProgress.h"
#include "link/FrmSetComm.h"
#include "link/SerialPorts.h"
#include "state/lang/LangText.h"

using namespace tarvane;
using namespace tarvane::test;

namespace {

struct Fixture : FrameFixture {
    std::string folder = TempDir();
    SimulatedRadio radio;
    QSignalSpy done;
    explicit Fixture(const std::vector<std::string>& options)
        : radio(options, folder), done(frame.get(), &frmMain::RadioCommandDone) {
        p().Dirs.SetupFile = folder + "/mysetup.ini"; // the port map and the choices live here
        AssignRadioPort(p(), 1, QString::fromStdString(radio.Link()));
        p().Link.SerialPortNumber = 1;
    }
    std::string SimTrace() const {
        std::ifstream in(folder + "/sim-trace");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

// Once the progress window shows the transfer under way, press its Cancel (or
// Escape), or with no key given, act otherwise.
void CancelProgressWhenUnderWay(QObject* owner, bool escape, bool& pressed, std::function<void()> act = {}) {
    auto* poll = new QTimer(owner);
    QObject::connect(poll, &QTimer::timeout, [poll, escape, &pressed, act] {
        auto* progress = qobject_cast<FrmProgress*>(QApplication::activeModalWidget());
        if (!progress || progress->ProgressBar1->value() < 1) return;
        poll->stop();
        pressed = true;
        if (act)
            act();
        else if (escape)
            QTest::keyClick(progress, Qt::Key_Escape);
        else
            progress->CommandCancel->click();
    });
    poll->start(50);
}

} // namespace

class TransferWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void cancelEndsTheTransferCleanly_data() {
        QTest::addColumn<bool>("writing");
        QTest::addColumn<bool>("escape");
        QTest::newRow("read, Cancel") << false << false;
        QTest::newRow("read, Escape") << false << true;
        QTest::newRow("write, Escape") << true << true;
    }
    void cancelEndsTheTransferCleanly() {
        QFETCH(bool, writing);
        QFETCH(bool, escape);
        Fixture f({"--late-every", "1", "--late-ms", "60"}); // a read of about half a minute
        QVERIFY(f.radio.Ready());
        f.Settle();
        const RadioImage before = f.p().Image;
        f.script().answers = {MsgAnswer::Ok}; // 9004 / 9005; nothing else may be asked
        bool pressed = false;
        CancelProgressWhenUnderWay(f.frame.get(), escape, pressed);
        f.frame->Action(writing ? "mnuWriteToRadio" : "mnuReadFromRadio")->trigger();
        QVERIFY(f.done.count() > 0 || f.done.wait(10000));
        QVERIFY(pressed);
        QVERIFY(!f.frame->TransferRunning());
        QVERIFY(!f.script().Saw(LangText(f.p(), writing ? 9010_txt : 9009_txt)));
        QVERIFY(!f.script().Saw(LangText(f.p(), 32003_txt))); // a cancel is not offered again
        QCOMPARE(f.script().shown.size(), size_t{1});
        QVERIFY(f.p().Image == before);
        // The radio got "END" and the port was closed: it answers the next command at once.
        // The simulator is another process: wait for its trace to show END, not for a time.
        // On a busy machine END can arrive in one read with the request before it.
        const std::regex end(R"(rx( [0-9a-f]{2})* 45 4e 44\n)");
        QTRY_VERIFY_WITH_TIMEOUT(std::regex_search(f.SimTrace(), end), 10000);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void failedWriteOffersToWriteAgain() {
        Fixture f({"--nak-every", "1"});
        QVERIFY(f.radio.Ready());
        f.Settle();
        // 9005 OK; refusals: give up, Cancel; write again? Yes; give up, Cancel; write again? No.
        f.script().answers = {MsgAnswer::Ok, MsgAnswer::Cancel, MsgAnswer::Yes, MsgAnswer::Cancel,
                              MsgAnswer::No};
        f.frame->Action("mnuWriteToRadio")->trigger();
        QVERIFY(f.done.count() > 0 || f.done.wait(20000));
        QTest::qWait(50);
        QCOMPARE(f.done.count(), 1);
        QCOMPARE(f.script().Count(LangText(f.p(), 9008_txt)), size_t{2});
        const std::string again = LangText(f.p(), 32015_txt) + "\r\n" + LangText(f.p(), 33601_txt);
        QCOMPARE(f.script().Count(again), size_t{2});
        QVERIFY(!f.script().Saw(LangText(f.p(), 9010_txt)));
        QVERIFY(!f.frame->TransferRunning());
    }

    void radioGoneMidTransferGivesOneMessage_data() {
        QTest::addColumn<bool>("writing");
        QTest::addColumn<bool>("portBack");
        QTest::newRow("read, port gone") << false << false;
        QTest::newRow("write, port gone") << true << false;
        QTest::newRow("write, port back") << true << true;
    }
    void radioGoneMidTransferGivesOneMessage() {
        QFETCH(bool, writing);
        QFETCH(bool, portBack);
        Fixture f({"--late-every", "1", "--late-ms", "60"});
        QVERIFY(f.radio.Ready());
        f.Settle();
        f.script().answers = {MsgAnswer::Ok, MsgAnswer::No}; // 9004 / 9005; start again? No
        bool pulled = false;
        CancelProgressWhenUnderWay(f.frame.get(), false, pulled, [&] {
            f.radio.Stop(); // the simulator ends: its pseudo-terminal and link go
            if (portBack) std::ofstream(f.radio.Link()).put('\n');
        });
        f.frame->Action(writing ? "mnuWriteToRadio" : "mnuReadFromRadio")->trigger();
        QVERIFY(f.done.count() > 0 || f.done.wait(20000));
        QVERIFY(pulled && !f.frame->TransferRunning());
        QCOMPARE(f.script().shown.size(), size_t{2}); // the question before, one message after
        const Shown& told = f.script().shown[1];
        std::string expected = FillIn(LangText(f.p(), 33600_txt), {f.radio.Link()});
        if (writing) expected += "\r\n" + LangText(f.p(), 32015_txt);
        expected += portBack ? "\r\n" + LangText(f.p(), 33603_txt) + "\r\n" + LangText(f.p(), 33601_txt)
                             : "\r\n" + LangText(f.p(), 33602_txt);
        QCOMPARE(told.text, expected);
        QCOMPARE(told.buttons, portBack ? MsgButtons::YesNo : MsgButtons::Ok);
    }

    void alwaysVerifyFromThePortDialogReadsACleanWriteBack() {
        Fixture f({});
        QVERIFY(f.radio.Ready());
        f.Settle();
        {
            FrmSetComm dialog(f.p());
            dialog.Discover = [] { return QList<PortEntry>{}; };
            QVERIFY(!dialog.CheckVerify->isChecked());
            dialog.CheckVerify->setChecked(true);
            dialog.CommandOK->click();
        }
        QCOMPARE(ReadIniValue(f.p().Dirs.SetupFile, "language", "VerifyWrite"), std::string("1"));
        f.p().Link.VerifyWrite = false; // the write takes the stored choice
        f.script().answers = {MsgAnswer::Ok};
        f.frame->Action("mnuWriteToRadio")->trigger();
        QVERIFY(f.done.count() > 0 || f.done.wait(20000));
        QVERIFY(f.script().Saw(LangText(f.p(), 9010_txt)));
        const std::string trace = f.SimTrace();
        const size_t lastWrite = trace.find(" rx 57 1c f0 10");
        QVERIFY(lastWrite != std::string::npos);
        QVERIFY(trace.find(" rx 52 1c f0 10", lastWrite) != std::string::npos);
        // And the dialog shows the stored choice the next time.
        FrmSetComm again(f.p());
        QVERIFY(again.CheckVerify->isChecked());
    }
};

QTEST_MAIN(TransferWindowTest)
#include "TransferWindowTest.moc"
