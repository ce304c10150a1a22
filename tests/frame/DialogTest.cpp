// The small dialogs: password, progress, radio information, about.
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "GuiTestSupport.h"
#include "base/BuildVersion.h"
#include "base/IniFile.h"
#include "frame/FrmSetLanguage.h"
#include "frame/frmAbout.h"
#include "link/FrmPassWord.h"
#include "link/FrmProgress.h"
#include "link/FrmRadioInfo.h"
#include "link/FrmSetComm.h"
#include "link/RadioInfoArea.h"
#include "state/lang/LangText.h"

using namespace tarvane;
using namespace tarvane::test;

namespace {
QString T(Program& p, TextId id) {
    return QString::fromStdString(LangText(p, id));
}

void PutText(Program& p, int offset, const QByteArray& bytes) {
    for (int i = 0; i < bytes.size(); ++i)
        p.RadioInfoBlock[static_cast<size_t>(offset + i)] = uint8_t(bytes[i]);
}
} // namespace

class DialogTest : public QObject {
    Q_OBJECT
  private slots:
    void passwordIsMaskedAndAtMostFourCharacters_data();
    void passwordIsMaskedAndAtMostFourCharacters();
    void progressFollowsTheTransferOnly();
    void radioInformationShowsEveryField();
    void radioInformationOfAnErasedArea();
    void aboutTexts();
    void portDialogFollowsDiscovery();
    void portDialogTypedPathAndCancel();
    void returnPressesOk();
};

void DialogTest::passwordIsMaskedAndAtMostFourCharacters_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("entry");
    QTest::newRow("OK takes the text") << "ab12" << true << "ab12";
    QTest::newRow("OK: five typed, four kept") << "abcde" << true << "abcd";
    QTest::newRow("OK: trailing blanks go") << "ab  " << true << "ab";
    QTest::newRow("OK: empty entry") << "" << true << "";
    QTest::newRow("Cancel keeps the entry") << "zzzz" << false << "old";
}

void DialogTest::passwordIsMaskedAndAtMostFourCharacters() {
    QFETCH(QString, typed);
    QFETCH(bool, ok);
    QFETCH(QString, entry);
    TestProgram t = MakeTestProgram(0);
    std::string value = "old";
    FrmPassWord dlg(*t, value);
    QCOMPARE(dlg.windowTitle(), T(*t, 23100_txt));
    QCOMPARE(dlg.Label1->text(), T(*t, 23101_txt));
    QCOMPARE(dlg.Text1->echoMode(), QLineEdit::Password);
    QCOMPARE(dlg.Text1->text(), QString("old"));
    dlg.Text1->clear();
    QTest::keyClicks(dlg.Text1, typed);
    (ok ? dlg.CommandOK : dlg.CommandCancel)->click();
    QCOMPARE(QString::fromStdString(value), entry);
    QCOMPARE(dlg.result(), ok ? QDialog::Accepted : QDialog::Rejected);
}

void DialogTest::progressFollowsTheTransferOnly() {
    TestProgram t = MakeTestProgram(0);
    for (bool writing : {false, true}) {
        FrmProgress dlg(*t, writing);
        QCOMPARE(dlg.windowTitle(), T(*t, writing ? 9028_txt : 9027_txt));
        QCOMPARE(dlg.Label1->text(), T(*t, 9029_txt));
        QCOMPARE(dlg.Label2->text(), QString("0%"));
        QCOMPARE(dlg.ProgressBar1->value(), 0);
        QCOMPARE(dlg.ProgressBar1->maximum(), 100);
        dlg.show();
        dlg.SetProgressValue(37);
        QCOMPARE(dlg.ProgressBar1->value(), 37);
        QCOMPARE(dlg.Label2->text(), QString("37%"));
        // Label1 stands left of Label2.
        QVERIFY(dlg.Label1->geometry().right() < dlg.Label2->geometry().left());
        // The user cannot close it while blocks move.
        QVERIFY(!dlg.close());
        QTest::keyClick(&dlg, Qt::Key_Escape);
        QVERIFY(dlg.isVisible());
        dlg.Finish();
        QVERIFY(!dlg.isVisible());
    }
}

void DialogTest::radioInformationShowsEveryField() {
    TestProgram t = MakeTestProgram(0);
    Program& p = *t;
    p.RadioInfoBlock.fill(0xFF);
    p.RadioInfoBlock[0] = 0x21; // type 1 in the low four bits
    PutText(p, 32, "08-1-E-1");
    PutText(p, 40, "001A");
    PutText(p, 44, QByteArray("AB\0", 3));
    PutText(p, 48, "DDDDDDDDDDDDDDDD"); // exactly 16: the whole field
    PutText(p, 64, QByteArray("E short\0tail", 12));
    PutText(p, 80, "2026-12-08");
    PutText(p, 96, "A remark that is longer than sixteen characters");
    for (int i = 0; i < 4; ++i)
        PutText(p, 192 + 16 * i, QByteArray("tail ") + char('H' + i));
    QVERIFY(DecodeRadioInfo(p));
    p.RadioInfo.ModelCode = "Tarvane";
    FrmRadioInfo w(p);
    QCOMPARE(w.windowTitle(), T(p, 21000_txt));
    QCOMPARE(w.Combo1[0]->currentText(), QString("Tarvane"));
    QCOMPARE(w.Combo1[1]->count(), 3);
    QCOMPARE(w.Combo1[1]->currentText(), QString("25.615 - 30.105 MHz"));
    QCOMPARE(w.Combo3->currentText(), QString("HF"));
    const QStringList expected = {"AB",
                                  "DDDDDDDDDDDDDDDD",
                                  "E short",
                                  "2026-12-08",
                                  "A remark that is longer than sixteen characters",
                                  "V1.00",
                                  "08-1-E-1",
                                  "001A",
                                  "tail H",
                                  "tail I",
                                  "tail J",
                                  "tail K"};
    for (int i = 0; i < 12; ++i)
        QCOMPARE(w.Text1[static_cast<size_t>(i)]->text(), expected[i]);
    QVERIFY(!w.CommandHelp->isVisibleTo(&w));
    QCOMPARE(w.CommandClose->text(), T(p, 9023_txt));
    // Every label of the window carries its text.
    int labelled = 0;
    for (QLabel* l : w.findChildren<QLabel*>())
        labelled += l->text().isEmpty() ? 0 : 1;
    QCOMPARE(labelled, 15);
}

void DialogTest::radioInformationOfAnErasedArea() {
    TestProgram t = MakeTestProgram(0);
    Program& p = *t;
    p.RadioInfoBlock.fill(0xFF);
    // Type 15 names no band: the lists show nothing instead of a wrong band.
    QVERIFY(!DecodeRadioInfo(p));
    FrmRadioInfo w(p);
    for (size_t i : {0u, 1u, 2u, 3u, 4u, 6u, 7u, 8u, 9u, 10u, 11u})
        QCOMPARE(w.Text1[i]->text(), QString());
    QCOMPARE(w.Combo3->currentIndex(), -1);
    QCOMPARE(w.Combo1[1]->currentIndex(), -1);
}

void DialogTest::aboutTexts() {
    TestProgram t = MakeTestProgram(0);
    frmAbout dlg(*t);
    QCOMPARE(dlg.windowTitle(), T(*t, 24000_txt));
    QCOMPARE(dlg.lblTitle->text(), T(*t, 24001_txt));
    // The build's version, not one typed into the language files.
    QCOMPARE(dlg.lblVersion->text(), T(*t, 24002_txt) + " " + TARVANE_VERSION);
    QVERIFY(!T(*t, 24002_txt).contains(QRegularExpression("[0-9]")));
    QCOMPARE(dlg.lblLicence->text(), T(*t, 32600_txt));
    QVERIFY(dlg.lblLicence->text().contains("GPL-3.0-or-later"));
    QCOMPARE(dlg.lblDescription->text(), T(*t, 24003_txt));
    QCOMPARE(dlg.lblDisclaimer->text(), T(*t, 24004_txt));
    QCOMPARE(dlg.cmdOK->text(), T(*t, 24005_txt));
    dlg.show();
    dlg.cmdOK->click();
    QVERIFY(!dlg.isVisible());
}

namespace {
QList<PortEntry> Ports(QList<int> present) {
    QList<PortEntry> out;
    for (int n = 1; n <= 16; ++n) {
        PortEntry e;
        e.number = n;
        e.device = QString("/dev/ttyS%1").arg(n - 1);
        e.present = present.contains(n);
        if (n == 3) {
            e.device = "/dev/serial/by-id/usb-Maker_Cable-if00-port0";
            e.description = "USB Serial (Maker)";
        }
        out.append(e);
    }
    return out;
}

std::string SetupValue(Program& p, const char* section, const char* key) {
    IniFile ini;
    ini.Load(p.Dirs.SetupFile);
    return ini.GetOr(section, key);
}
} // namespace

void DialogTest::portDialogFollowsDiscovery() {
    TestProgram t = MakeTestProgram(0);
    Program& p = *t;
    p.Link.SerialPortNumber = 5;
    QVERIFY(AssignRadioPort(p, 3, "/dev/serial/by-id/usb-Maker_Cable-if00-port0"));
    QList<int> present = {3};
    FrmSetComm dlg(p);
    dlg.Discover = [&] { return Ports(present); };
    dlg.show();
    QCOMPARE(dlg.windowTitle(), T(p, 22000_txt));
    for (int i = 0; i < 16; ++i) {
        QCOMPARE(dlg.Option1[i]->text(), QString("Port %1:").arg(i + 1)); // the device stands beside it
        QCOMPARE(dlg.Option1[i]->isEnabled(), i == 2);
    }
    QCOMPARE(dlg.Device[2]->text(), QString("/dev/serial/by-id/usb-Maker_Cable-if00-port0"));
    // A number without its own device shows the classic port it falls back to, as a hint only.
    QCOMPARE(dlg.Device[3]->text(), QString());
    QCOMPARE(dlg.Device[3]->placeholderText(), QString("/dev/ttyS3"));
    QCOMPARE(dlg.Description[2]->text(), QString("USB Serial (Maker)"));
    // The stored number stays chosen though its port is not there, shown with its device.
    QVERIFY(dlg.Option1[4]->isChecked());
    QCOMPARE(dlg.Chosen->text(), QString("Port 5: /dev/ttyS4"));
    QVERIFY(dlg.ReCommTimer.isActive());
    QCOMPARE(dlg.ReCommTimer.interval(), 1000);
    // A cable plugged in while the dialog is open shows at the next tick; the choice stays.
    present = {3, 9};
    dlg.ReCommTimer_Timer();
    QVERIFY(dlg.Option1[8]->isEnabled());
    QVERIFY(dlg.Option1[4]->isChecked());
    // Unplugged again: disabled, and still the choice made.
    dlg.Option1[2]->click();
    present = {};
    dlg.ReCommTimer_Timer();
    QVERIFY(!dlg.Option1[2]->isEnabled());
    QVERIFY(dlg.Option1[2]->isChecked());
    QCOMPARE(dlg.Chosen->text(), QString("Port 3: /dev/serial/by-id/usb-Maker_Cable-if00-port0"));
    dlg.CommandOK->click();
    QVERIFY(!dlg.ReCommTimer.isActive());
    QCOMPARE(p.Link.SerialPortNumber, int16_t(3));
    QCOMPARE(SetupValue(p, "language", "comPort"), std::string("3"));
}

void DialogTest::portDialogTypedPathAndCancel() {
    TestProgram t = MakeTestProgram(0);
    Program& p = *t;
    // A name with a placeholder in it is shown as it is.
    const QString pty = QString::fromStdString(TempDir()) + "/radio-link-%1";
    QFile link(pty);
    QVERIFY(link.open(QIODevice::WriteOnly));
    link.close();
    for (bool ok : {false, true}) {
        QFile::remove(QString::fromStdString(p.Dirs.SetupFile));
        FrmSetComm dlg(p);
        dlg.Discover = [] { return Ports({}); };
        dlg.show();
        QVERIFY(!dlg.Option1[6]->isEnabled());
        dlg.Device[6]->setFocus();
        dlg.Device[6]->selectAll();
        QTest::keyClicks(dlg.Device[6], pty);
        QTest::keyClick(dlg.Device[6], Qt::Key_Return);
        // The typed path exists, so its number can be chosen.
        QVERIFY(dlg.Option1[6]->isEnabled());
        dlg.Option1[6]->click();
        QCOMPARE(dlg.Chosen->text(), "Port 7: " + pty);
        (ok ? dlg.CommandOK : dlg.CommandCancel)->click();
        QCOMPARE(SetupValue(p, "Ports", "Port7"), ok ? pty.toStdString() : std::string());
        QCOMPARE(SetupValue(p, "language", "comPort"), ok ? std::string("7") : std::string());
        QCOMPARE(p.Link.SerialPortNumber, int16_t(ok ? 7 : 1));
    }
}

// Return on the first control presses OK, which writes the setup file.
void DialogTest::returnPressesOk() {
    TestProgram t = MakeTestProgram(0);
    const QString setup = QString::fromStdString(t->Dirs.SetupFile);
    FrmSetComm port(*t);
    port.Discover = [] { return Ports({1}); };
    FrmSetLanguage language(*t);
    for (auto [dlg, first] :
         {std::pair<QDialog*, QWidget*>{&port, port.Option1[0]}, {&language, language.Combo1}}) {
        QFile::remove(setup);
        dlg->show();
        first->setFocus();
        QTest::keyClick(first, Qt::Key_Return);
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QVERIFY(QFile::exists(setup));
    }
}

QTEST_MAIN(DialogTest)
#include "DialogTest.moc"
