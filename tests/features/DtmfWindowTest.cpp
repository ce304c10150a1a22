// The DTMF window over a test program.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include "WindowTest.h"
#include "features/dtmf/DtmfArea.h"
#include "features/dtmf/FrmDTMF.h"
#include "features/options/FrmOptFeatures.h"
#include "freq/Bands.h"
#include "state/Program.h"

using namespace tarvane;
using namespace tarvane::test;

class DtmfWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void ShowingStoresTheShownValuesBack_data();
    void ShowingStoresTheShownValuesBack();
    void ChoosingStoresTheShownNumberInItsUnit_data();
    void ChoosingStoresTheShownNumberInItsUnit();
    void DisplayCheckBox();
    void CodeBoxesShowTheirCodes();
    void CodeKeysAreFilteredAndUpperCased_data();
    void CodeKeysAreFilteredAndUpperCased();
    void EveryChangeStoresTheCode();
    void RemovingACodeClearsItsReferencesAndRefillsOpenLists();
    void CaptionsAndTabs();
};

void DtmfWindowTest::ShowingStoresTheShownValuesBack_data() {
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("after");
    QTest::newRow("rate 0") << 0 << 0 << "10" << 1;
    QTest::newRow("rate 50") << 0 << 50 << "500" << 50;
    QTest::newRow("rate 51") << 0 << 51 << "10" << 1;
    QTest::newRow("first digit 10") << 1 << 10 << "1000" << 10;
    QTest::newRow("first digit 11") << 1 << 11 << "0" << 0;
    QTest::newRow("delay 0") << 2 << 0 << "100" << 1;
    QTest::newRow("delay 25") << 2 << 25 << "2500" << 25;
    QTest::newRow("star hash 10") << 3 << 10 << "1000" << 10;
    QTest::newRow("star hash 3") << 3 << 3 << "0" << 0;
    QTest::newRow("d key 16") << 4 << 16 << "16s" << 16;
    QTest::newRow("d key 17") << 4 << 17 << "" << 0; // first entry, a language text
}

namespace {
int16_t& DtmfField(DtmfBlock& d, int list) {
    int16_t* fields[] = {&d.DtmfRate, &d.FirstDigitTime, &d.FirstDigitDelay, &d.StarHashTime, &d.DKeySetting};
    return *fields[list];
}
} // namespace

void DtmfWindowTest::ShowingStoresTheShownValuesBack() {
    QFETCH(int, list);
    QFETCH(int, stored);
    QFETCH(QString, shown);
    QFETCH(int, after);
    auto t = MakeTestProgram(kBandCB);
    DtmfField(t->Image.Settings.Dtmf, list) = static_cast<int16_t>(stored);
    FrmDTMF w(*t);
    QComboBox* c = w.Combo1[static_cast<size_t>(list)];
    QCOMPARE(c->currentText(), shown.isEmpty() ? Text(*t, 18040) : shown);
    QCOMPARE(DtmfField(t->Image.Settings.Dtmf, list), after);
}

void DtmfWindowTest::ChoosingStoresTheShownNumberInItsUnit_data() {
    QTest::addColumn<int>("list");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("stored");
    QTest::newRow("rate 370") << 0 << "370" << 37;
    QTest::newRow("first digit 700") << 1 << "700" << 7;
    QTest::newRow("delay 1300") << 2 << "1300" << 13;
    QTest::newRow("star hash 500") << 3 << "500" << 5;
    QTest::newRow("d key 3s") << 4 << "3s" << 3;
}

void DtmfWindowTest::ChoosingStoresTheShownNumberInItsUnit() {
    QFETCH(int, list);
    QFETCH(QString, chosen);
    QFETCH(int, stored);
    auto t = MakeTestProgram(kBandCB);
    FrmDTMF w(*t);
    ChooseText(w.Combo1[static_cast<size_t>(list)], chosen);
    QCOMPARE(DtmfField(t->Image.Settings.Dtmf, list), stored);
}

void DtmfWindowTest::DisplayCheckBox() {
    auto t = MakeTestProgram(kBandCB);
    t->Image.Settings.Dtmf.DtmfDisplay = 2;
    FrmDTMF w(*t);
    QVERIFY(!w.Check1->isChecked());
    QCOMPARE(t->Image.Settings.Dtmf.DtmfDisplay, 0);
    w.Check1->click();
    QCOMPARE(t->Image.Settings.Dtmf.DtmfDisplay, 1);
}

void DtmfWindowTest::CodeBoxesShowTheirCodes() {
    auto t = MakeTestProgram(kBandCB);
    auto& codes = t->Image.Settings.Dtmf.Codes;
    codes[0].Length = 3;
    codes[0].Code.Assign("12*#99");
    codes[1].Length = 17; // read as no code
    codes[1].Code.Assign("1234567890123456");
    codes[2].Length = 16;
    codes[2].Code.Assign("ABCD0123456789*#");
    FrmDTMF w(*t);
    QCOMPARE(w.Text1[0]->text(), QString("12*"));
    QCOMPARE(w.Text1[1]->text(), QString());
    QCOMPARE(w.Text1[2]->text(), QString("ABCD0123456789*#"));
    QCOMPARE(codes[0].Length, 3);
}

void DtmfWindowTest::CodeKeysAreFilteredAndUpperCased_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("entered");
    QTest::newRow("b becomes B") << "b"
                                 << "B";
    QTest::newRow("E is refused") << "E"
                                  << "";
    QTest::newRow("a to d") << "abcd"
                            << "ABCD";
    QTest::newRow("e and f refused") << "1e2f3"
                                     << "123";
    QTest::newRow("star and hash") << "*#0"
                                   << "*#0";
    QTest::newRow("blank and letters refused") << " x!Z9"
                                               << "9";
    QTest::newRow("at most 16") << "12345678901234567890"
                                << "1234567890123456";
}

void DtmfWindowTest::CodeKeysAreFilteredAndUpperCased() {
    QFETCH(QString, typed);
    QFETCH(QString, entered);
    auto t = MakeTestProgram(kBandCB);
    FrmDTMF w(*t);
    QLineEdit* box = w.Text1[7];
    box->clear();
    QTest::keyClicks(box, typed);
    QCOMPARE(box->text(), entered);
    const DtmfCodeEntry& e = t->Image.Settings.Dtmf.Codes[7];
    QCOMPARE(int(e.Length), int(entered.size()));
    QCOMPARE(QString::fromStdString(e.Code.Trimmed()), entered);
}

void DtmfWindowTest::EveryChangeStoresTheCode() {
    auto t = MakeTestProgram(kBandCB);
    FrmDTMF w(*t);
    QLineEdit* box = w.Text1[15];
    box->clear();
    QTest::keyClicks(box, "12");
    QCOMPARE(t->Image.Settings.Dtmf.Codes[15].Length, 2);
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(t->Image.Settings.Dtmf.Codes[15].Length, 1);
    QCOMPARE(QString::fromStdString(t->Image.Settings.Dtmf.Codes[15].Code.Trimmed()), QString("1"));
}

void DtmfWindowTest::RemovingACodeClearsItsReferencesAndRefillsOpenLists() {
    auto t = MakeTestProgram(kBandCB);
    Program& p = *t;
    for (auto& c : p.Image.Settings.Dtmf.Codes)
        c.Length = 0;
    StoreDtmfCode(p, 5, "55");
    StoreDtmfCode(p, 6, "66");
    ChannelRecord& a = AddTestChannel(p, 1, "02696500");
    ChannelRecord& b = AddTestChannel(p, 2, "02697500");
    a.DTMF_BOT = 5;
    a.DTMF_EOT = 6;
    b.DTMF_Call = 5;
    b.DTMF_EOT = 5;
    p.Image.Settings.CommonChannel.DTMF_Call = 5;
    p.Image.Settings.CommonChannel.DTMF_BOT = 6;
    FrmOptFeatures opt(p);
    QCOMPARE(opt.Combo2[13]->currentText(), QString("5"));
    FrmDTMF w(p);
    w.Text1[4]->clear();
    QCOMPARE(p.Image.Settings.Dtmf.Codes[4].Length, 0);
    QCOMPARE(a.DTMF_BOT, 0);
    QCOMPARE(a.DTMF_EOT, 6);
    QCOMPARE(b.DTMF_Call, 0);
    QCOMPARE(b.DTMF_EOT, 0);
    QCOMPARE(p.Image.Settings.CommonChannel.DTMF_Call, 0);
    QCOMPARE(p.Image.Settings.CommonChannel.DTMF_BOT, 6);
    QCOMPARE(Entries(opt.Combo2[11]), (QStringList{Text(p, 14013), "6"}));
    QCOMPARE(opt.Combo2[11]->currentText(), QString("6"));
    QCOMPARE(opt.Combo2[13]->currentIndex(), 0);
}

void DtmfWindowTest::CaptionsAndTabs() {
    auto t = MakeTestProgram(kBandCB);
    FrmDTMF w(*t);
    QCOMPARE(w.windowTitle(), Text(*t, 18000));
    QCOMPARE(w.SSTab1->count(), 3);
    QCOMPARE(w.SSTab1->currentIndex(), 0);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(w.SSTab1->tabText(i), Text(*t, 18002 + i));
    QCOMPARE(w.Combo1[0]->count(), 50);
    QCOMPARE(w.Combo1[1]->count(), 11);
    QCOMPARE(w.Combo1[2]->count(), 25);
    QCOMPARE(Entries(w.Combo1[3]), (QStringList{"0", "100", "500", "1000"}));
    QCOMPARE(w.Combo1[4]->count(), 17);
    for (int n = 0; n < 16; ++n) {
        QCOMPARE(w.Label2[static_cast<size_t>(n)]->text(), QString::number(n + 1));
        QCOMPARE(w.Label2[static_cast<size_t>(n)]->geometry().right() + 1 + 1,
                 w.Text1[static_cast<size_t>(n)]->x());
    }
}

QTEST_MAIN(DtmfWindowTest)
#include "DtmfWindowTest.moc"
