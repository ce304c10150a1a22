// Backups around real transfers: against the simulated radio on a pseudo-
// terminal, a radio overwritten by mistake is put back from the backup of its
// last read, and a write whose backup cannot be made asks first.
#include <QAction>
#include <QDir>
#include <QSignalSpy>

#include "../cli/CliRunner.h"
#include "GuiTestSupport.h"
#include "doc/Backups.h"
#include "image/CodeplugFile.h"
#include "link/SerialPorts.h"
#include "state/lang/LangText.h"

using namespace tarvane;
using namespace tarvane::test;

namespace {

struct RadioFrame : FrameFixture {
    SimulatedRadio radio;
    QSignalSpy done;
    std::string backups = TempDir() + "/backups";
    explicit RadioFrame(const std::string& folder)
        : radio({}, folder), done(frame.get(), &frmMain::RadioCommandDone) {
        AssignRadioPort(p(), 1, QString::fromStdString(radio.Link()));
        p().Link.SerialPortNumber = 1;
        frame->BackupDir = QString::fromStdString(backups);
    }
    bool Run(const char* action) {
        done.clear();
        frame->Action(action)->trigger();
        return done.count() > 0 || done.wait(60000);
    }
};

void SetKeys(Program& p, int first) {
    for (int k = 1; k < kKeyTableSize; ++k)
        p.Image.Settings.KeyTable[static_cast<size_t>(k)] = static_cast<int16_t>((first + k) % 20 + 1);
}

} // namespace

class BackupRadioTest : public QObject {
    Q_OBJECT
  private slots:
    void aRadioOverwrittenByMistakeIsPutBack() {
        RadioFrame f(TempDir());
        QVERIFY(f.radio.Ready());
        f.Settle();
        // The radio's own configuration A, written by the program.
        SetKeys(f.p(), 3);
        const auto keysA = f.p().Image.Settings.KeyTable;
        f.script().answers = {MsgAnswer::Ok}; // 9005
        QVERIFY(f.Run("mnuWriteToRadio"));
        const std::vector<unsigned char> memoryA = f.radio.Memory();
        auto kept = ListBackups(f.backups);
        QCOMPARE(kept.size(), size_t(1));
        QVERIFY(QString::fromStdString(kept[0]).endsWith("_write.dat"));

        // Read: the radio's configuration is kept without a question.
        f.script().answers = {MsgAnswer::Ok}; // 9004
        QVERIFY(f.Run("mnuReadFromRadio"));
        kept = ListBackups(f.backups);
        QCOMPARE(kept.size(), size_t(2));
        const std::string readBackup = kept[0];
        QVERIFY(QString::fromStdString(readBackup).endsWith("_read.dat"));

        // By mistake another configuration B goes into the radio.
        SetKeys(f.p(), 11);
        f.script().answers = {MsgAnswer::Ok}; // 9005
        QVERIFY(f.Run("mnuWriteToRadio"));
        QVERIFY(f.radio.Memory() != memoryA);

        // Put back: open the backup of the read and write it.
        f.frame->AskOpenPath = [&](const QString&) { return QString::fromStdString(readBackup); };
        f.script().answers = {MsgAnswer::No}; // 9006: the unsaved read is not saved
        f.frame->Action("mnuFileOpen")->trigger();
        f.Settle();
        QVERIFY(f.p().Image.Settings.KeyTable == keysA);
        f.script().answers = {MsgAnswer::Ok}; // 9005
        QVERIFY(f.Run("mnuWriteToRadio"));
        QCOMPARE(f.radio.Memory(), memoryA);
        QCOMPARE(ListBackups(f.backups).size(), size_t(4)); // three writes and the read
    }

    void aWriteWhoseBackupCannotBeMadeAsksFirst() {
        RadioFrame f(TempDir());
        QVERIFY(f.radio.Ready());
        f.Settle();
        const std::vector<unsigned char> before = f.radio.Memory();
        const std::string blocker = TempDir() + "/a-file";
        QVERIFY(WriteFileAtomic(blocker, std::vector<uint8_t>{1}));
        f.frame->BackupDir = QString::fromStdString(blocker + "/backups");
        SetKeys(f.p(), 5);
        // Cancel at the backup question: nothing reaches the radio.
        f.script().answers = {MsgAnswer::Ok, MsgAnswer::Cancel};
        QVERIFY(f.Run("mnuWriteToRadio"));
        const std::string asked = FillIn(LangText(f.p(), 33321_txt), {blocker + "/backups"});
        QVERIFY(f.script().Saw(asked));
        QCOMPARE(f.radio.Memory(), before);
        QVERIFY(!f.script().Saw(LangText(f.p(), 9010_txt)));
        // OK writes without the backup.
        f.script().answers = {MsgAnswer::Ok, MsgAnswer::Ok};
        QVERIFY(f.Run("mnuWriteToRadio"));
        QVERIFY(f.script().Saw(LangText(f.p(), 9010_txt)));
        QVERIFY(f.radio.Memory() != before);
    }
};

QTEST_MAIN(BackupRadioTest)
#include "BackupRadioTest.moc"
