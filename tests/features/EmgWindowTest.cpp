// The emergency-channel window over a test program.
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "WindowTest.h"
#include "features/emergency/Frm_EMG.h"
#include "freq/Bands.h"
#include "state/Program.h"

using namespace tarvane;
using namespace tarvane::test;

namespace {

using R = Frm_EMG;

// Edits a list cell as a user does: double-click, choose, click the grid.
void EditList(Frm_EMG& w, int row, int column, const QString& text) {
    auto* list = qobject_cast<QComboBox*>(w.StartEdit(row, column));
    QVERIFY2(list, "no list editor");
    ChooseText(list, text);
    w.CommitEdit();
}

void EditText(Frm_EMG& w, int row, int column, const QString& typed) {
    auto* box = qobject_cast<QLineEdit*>(w.StartEdit(row, column));
    QVERIFY2(box, "no text editor");
    box->clear();
    QTest::keyClicks(box, typed);
    QTest::keyClick(box, Qt::Key_Return); // Enter commits
}

// A HAM program with channel 12 of bank "B" (slot 52) and channel 3 of bank "A".
TestProgram HamWithChannels() {
    auto t = MakeTestProgram(kBandHAM);
    ChannelRecord& b12 = AddTestChannel(*t, 52, "02852000");
    b12.DUP = 2;
    b12.OffSetFre = 300;
    b12.Tx_Power = 2;
    b12.RDCT = 7;
    b12.NB = 1;
    ChannelRecord& a3 = AddTestChannel(*t, 3, "02801500");
    a3.TDCT = 40;
    return t;
}

ChannelRecord& FindSlot(Program& p, int slot) {
    for (int i = 0; i < p.Image.UsedCount(); ++i)
        if (p.Image.Channels[static_cast<size_t>(i)].SlotNumber == slot)
            return p.Image.Channels[static_cast<size_t>(i)];
    qFatal("no channel in slot %d", slot);
}

} // namespace

class EmgWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void CancelLeavesBothRecordsUnchanged();
    void DeletedReferencedChannelStores0OnOk();
    void ChoosingAChannelLoadsItsSettings();
    void PublicChannelTakesTheCommonChannelData();
    void OffsetEditorStoresClampedValues_data();
    void OffsetEditorStoresClampedValues();
    void AmLowersThePowerAndShortensItsList();
    void RogerBeepOffersTheTipsInUse();
    void ChangingTheGroupKeepsTheChannelNumberWhereItExists();
    void EmptyColumnCannotBeEdited();
    void CbLayout();
    void HostileStoredValuesShowFirstEntries();
};

void EmgWindowTest::CancelLeavesBothRecordsUnchanged() {
    auto t = HamWithChannels();
    Program& p = *t;
    p.Image.Settings.Emergency[0].EmgGroup = 1;
    p.Image.Settings.Emergency[0].EmgChannel = 12;
    p.Image.Settings.Emergency[0].Channel.OffSetFre = 300;
    const auto before = p.Image.Settings.Emergency;
    {
        Frm_EMG w(p);
        EditText(w, R::kRowOffset, 1, "45");
        EditList(w, R::kRowAmFm, 1, "AM");
        EditList(w, R::kRowChannel, 2, "3");
        EditList(w, R::kRowGroup, 1, "A");
        QVERIFY(w.Records() != before);
        w.CommandCancel->click();
        QCOMPARE(w.result(), int(QDialog::Rejected));
    }
    QVERIFY(p.Image.Settings.Emergency == before);
}

void EmgWindowTest::DeletedReferencedChannelStores0OnOk() {
    auto t = HamWithChannels();
    Program& p = *t;
    p.Image.Settings.Emergency[1].EmgGroup = 0;
    p.Image.Settings.Emergency[1].EmgChannel = 7; // no channel 7 in bank "A"
    p.Image.Settings.Emergency[1].Channel.DUP = 1;
    Frm_EMG w(p);
    QCOMPARE(w.CellText(R::kRowGroup, 2), QString("A"));
    for (int row = R::kRowChannel; row <= R::kRowCount; ++row)
        QVERIFY(w.CellText(row, 2).isEmpty());
    QCOMPARE(p.Image.Settings.Emergency[1].EmgChannel, 7); // nothing stored before OK
    w.CommandOK->click();
    QCOMPARE(p.Image.Settings.Emergency[1].EmgChannel, 0);
    QCOMPARE(w.result(), int(QDialog::Accepted));
}

void EmgWindowTest::ChoosingAChannelLoadsItsSettings() {
    auto t = HamWithChannels();
    Program& p = *t;
    Frm_EMG w(p);
    EditList(w, R::kRowGroup, 1, "B");
    auto* channels = qobject_cast<QComboBox*>(w.StartEdit(R::kRowChannel, 1));
    QVERIFY(channels);
    QCOMPARE(Entries(channels), (QStringList{Text(p, 14013), "12"}));
    ChooseText(channels, "12");
    w.CommitEdit();
    QCOMPARE(w.CellText(R::kRowFreq, 1), QString("28.52000"));
    QCOMPARE(w.CellText(R::kRowDup, 1), QString("-"));
    QCOMPARE(w.CellText(R::kRowOffset, 1), QString("300"));
    QCOMPARE(w.CellText(R::kRowPower, 1), Text(p, 15046));
    w.CommandOK->click();
    const EmergencyRecord& e = p.Image.Settings.Emergency[0];
    QCOMPARE(e.EmgGroup, 1);
    QCOMPARE(e.EmgChannel, 12);
    QCOMPARE(e.Channel.RxFreq.Trimmed(), std::string("02852000"));
    QCOMPARE(e.Channel.DUP, 2);
    QCOMPARE(e.Channel.RDCT, 7);
    QCOMPARE(e.Channel.NB, 1);
}

void EmgWindowTest::PublicChannelTakesTheCommonChannelData() {
    auto t = HamWithChannels();
    Program& p = *t;
    FindSlot(p, 52).Public = 1;
    ChannelRecord& cc = p.Image.Settings.CommonChannel;
    cc.DUP = 1;
    cc.OffSetFre = 45;
    cc.Tx_Power = 0;
    cc.NB = 0;
    cc.RDCT = 99; // not one of the twelve: stays the channel's own
    Frm_EMG w(p);
    EditList(w, R::kRowGroup, 2, "B");
    EditList(w, R::kRowChannel, 2, "12");
    w.CommandOK->click();
    const ChannelRecord& r = p.Image.Settings.Emergency[1].Channel;
    QCOMPARE(r.DUP, 1);
    QCOMPARE(r.OffSetFre, 45);
    QCOMPARE(r.Tx_Power, 0);
    QCOMPARE(r.NB, 0);
    QCOMPARE(r.RDCT, 7);
}

void EmgWindowTest::OffsetEditorStoresClampedValues_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::newRow("1002") << "1002" << 1000;
    QTest::newRow("empty") << "" << 5;
    QTest::newRow("letters refused") << "4x7" << 45;
}

void EmgWindowTest::OffsetEditorStoresClampedValues() {
    QFETCH(QString, typed);
    QFETCH(int, stored);
    auto t = HamWithChannels();
    t->Image.Settings.Emergency[0].EmgGroup = 1;
    t->Image.Settings.Emergency[0].EmgChannel = 12;
    Frm_EMG w(*t);
    EditText(w, R::kRowOffset, 1, typed);
    QCOMPARE(w.CellText(R::kRowOffset, 1), QString::number(stored));
    w.CommandOK->click();
    QCOMPARE(t->Image.Settings.Emergency[0].Channel.OffSetFre, stored);
}

void EmgWindowTest::AmLowersThePowerAndShortensItsList() {
    auto t = HamWithChannels();
    t->Image.Settings.Emergency[0].EmgGroup = 1;
    t->Image.Settings.Emergency[0].EmgChannel = 12;
    t->Image.Settings.Emergency[0].Channel.Tx_Power = 2;
    Frm_EMG w(*t);
    auto* power = qobject_cast<QComboBox*>(w.StartEdit(R::kRowPower, 1));
    QVERIFY(power);
    QCOMPARE(power->count(), 3);
    w.CommitEdit();
    EditList(w, R::kRowAmFm, 1, "AM");
    QCOMPARE(w.CellText(R::kRowPower, 1), Text(*t, 15045));
    power = qobject_cast<QComboBox*>(w.StartEdit(R::kRowPower, 1));
    QCOMPARE(power->count(), 2);
    w.CommitEdit();
    w.CommandOK->click();
    QCOMPARE(t->Image.Settings.Emergency[0].Channel.Tx_Power, 1);
    QCOMPARE(t->Image.Settings.Emergency[0].Channel.AM_FM, 1);
}

void EmgWindowTest::RogerBeepOffersTheTipsInUse() {
    auto t = HamWithChannels();
    for (ToneTipRecord& tip : t->Image.Settings.ToneTips)
        tip = ToneTipRecord{};
    for (int n : {2, 5}) {
        t->Image.Settings.ToneTips[static_cast<size_t>(n - 1)].LoopCount = 1;
        t->Image.Settings.ToneTips[static_cast<size_t>(n - 1)].Pairs[0] = {100, 3};
    }
    t->Image.Settings.Emergency[1].EmgGroup = 1;
    t->Image.Settings.Emergency[1].EmgChannel = 12;
    Frm_EMG w(*t);
    auto* rb = qobject_cast<QComboBox*>(w.StartEdit(R::kRowRbTone, 2));
    QVERIFY(rb);
    QCOMPARE(Entries(rb), (QStringList{Text(*t, 15030), "2", "5"}));
    ChooseText(rb, "5");
    w.CommitEdit();
    QCOMPARE(w.CellText(R::kRowRbTone, 2), QString("5"));
    w.CommandOK->click();
    QCOMPARE(t->Image.Settings.Emergency[1].Channel.RBTone, 5);
}

void EmgWindowTest::ChangingTheGroupKeepsTheChannelNumberWhereItExists() {
    auto t = HamWithChannels();
    AddTestChannel(*t, 40 * 2 + 12, "02870000"); // bank "C" channel 12
    t->Image.Settings.Emergency[0].EmgGroup = 1;
    t->Image.Settings.Emergency[0].EmgChannel = 12;
    Frm_EMG w(*t);
    EditList(w, R::kRowGroup, 1, "C");
    QCOMPARE(w.CellText(R::kRowChannel, 1), QString("12"));
    QCOMPARE(w.CellText(R::kRowFreq, 1), QString("28.70000"));
    EditList(w, R::kRowGroup, 1, "D"); // no channel 12 there: the column empties
    QVERIFY(w.CellText(R::kRowChannel, 1).isEmpty());
    QVERIFY(w.CellText(R::kRowFreq, 1).isEmpty());
    QCOMPARE(w.Records()[0].EmgChannel, 0);
    QCOMPARE(w.Records()[0].EmgGroup, 3);
}

void EmgWindowTest::EmptyColumnCannotBeEdited() {
    auto t = HamWithChannels();
    Frm_EMG w(*t);
    QVERIFY(w.StartEdit(R::kRowDup, 1) == nullptr);
    QVERIFY(w.StartEdit(R::kRowFreq, 1) == nullptr);
    QVERIFY(w.StartEdit(R::kRowGroup, 0) == nullptr); // caption column
    QVERIFY(w.StartEdit(R::kRowScan, 1) == nullptr);  // hidden row
    QVERIFY(w.StartEdit(R::kRowChannel, 1) != nullptr);
}

void EmgWindowTest::CbLayout() {
    auto t = MakeTestProgram(kBandCB);
    Frm_EMG w(*t);
    QTableWidget* g = w.MSFlexGrid1;
    for (int r : {R::kRowDup, R::kRowOffset, R::kRowScan, R::kRowPower, R::kRowAddSub5K})
        QVERIFY(g->isRowHidden(r - 1));
    QVERIFY(!g->isRowHidden(R::kRowAmFm - 1));
    QCOMPARE(g->height(), 276);       // 4135 twips
    QCOMPARE(w.CommandOK->y(), 304);  // 4560 twips
    QCOMPARE(g->columnWidth(0), 200); // 3000 twips
    QCOMPARE(g->columnWidth(1), 100);
    QCOMPARE(g->horizontalHeaderItem(1)->text(), QString("EMG 1"));
    QCOMPARE(g->horizontalHeaderItem(2)->text(), QString("EMG 2"));
    QCOMPARE(g->item(R::kRowRdct - 1, 0)->text(), Text(*t, 15019));
    auto* groups = qobject_cast<QComboBox*>(w.StartEdit(R::kRowGroup, 1));
    QVERIFY(groups);
    QCOMPARE(Entries(groups), QStringList{"D"});
    auto hf = MakeTestProgram(kBandHF);
    Frm_EMG wide(*hf);
    QVERIFY(!wide.MSFlexGrid1->isRowHidden(R::kRowPower - 1));
    QVERIFY(wide.MSFlexGrid1->isRowHidden(R::kRowScan - 1));
    QVERIFY(wide.height() > w.height());
}

void EmgWindowTest::HostileStoredValuesShowFirstEntries() {
    auto t = HamWithChannels();
    EmergencyRecord& e = t->Image.Settings.Emergency[0];
    e.EmgGroup = 1;
    e.EmgChannel = 12;
    ChannelRecord& b12 = FindSlot(*t, 52);
    b12.DUP = 9;
    b12.RDCT = 500;
    b12.DTMF_BOT = -4;
    e.Channel = b12;
    EmergencyRecord& other = t->Image.Settings.Emergency[1];
    other.EmgGroup = 40; // no such bank
    other.EmgChannel = 3;
    Frm_EMG w(*t);
    QCOMPARE(w.CellText(R::kRowDup, 1), QString("Off"));
    QCOMPARE(w.CellText(R::kRowRdct, 1), QString("Off"));
    QCOMPARE(w.CellText(R::kRowDtmfBot, 1), Text(*t, 14013));
    QCOMPARE(w.CellText(R::kRowGroup, 2), QString("A"));
    QVERIFY(w.CellText(R::kRowChannel, 2).isEmpty());
    w.CommandOK->click();
    QCOMPARE(t->Image.Settings.Emergency[0].Channel.RDCT, 500); // shown, not rewritten
    QCOMPARE(t->Image.Settings.Emergency[1].EmgChannel, 0);
}

QTEST_MAIN(EmgWindowTest)
#include "EmgWindowTest.moc"
