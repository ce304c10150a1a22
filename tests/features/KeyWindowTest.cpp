// The programmable-keys window over a test program.
#include <QGroupBox>
#include <QLabel>
#include <QtTest>

#include "WindowTest.h"
#include "features/keys/FrmKey.h"
#include "features/keys/KeysArea.h"
#include "freq/Bands.h"
#include "state/Program.h"

using namespace tarvane;
using namespace tarvane::test;

class KeyWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void OutOfRangeCodesShowTheFirstEntryAndStayUntilChosen_data();
    void OutOfRangeCodesShowTheFirstEntryAndStayUntilChosen();
    void ChoicesStoreAtOnceAndReachTheRadioMemory();
    void ShowsTheStoredKeysOnTheirPages();
    void Captions();
};

void KeyWindowTest::OutOfRangeCodesShowTheFirstEntryAndStayUntilChosen_data() {
    QTest::addColumn<int>("stored");
    QTest::newRow("0") << 0;
    QTest::newRow("21") << 21;
    QTest::newRow("negative") << -7;
}

void KeyWindowTest::OutOfRangeCodesShowTheFirstEntryAndStayUntilChosen() {
    QFETCH(int, stored);
    auto t = MakeTestProgram(kBandCB);
    auto& keys = t->Image.Settings.KeyTable;
    keys[5] = static_cast<int16_t>(stored); // page 1, P5
    keys[0] = 9;                            // no such page choice
    FrmKey w(*t);
    QCOMPARE(w.Combo1[4]->currentText(), QString("MOD"));
    QCOMPARE(w.Combo2->currentText(), QString("1&2"));
    QCOMPARE(keys[5], stored);
    QCOMPARE(keys[0], 9);
    Choose(w.Combo1[4], 0);
    QCOMPARE(keys[5], 1);
}

void KeyWindowTest::ChoicesStoreAtOnceAndReachTheRadioMemory() {
    auto t = MakeTestProgram(kBandCB);
    FrmKey w(*t);
    ChooseText(w.Combo1[8], "NULL"); // page 2, P3
    QCOMPARE(t->Image.Settings.KeyTable[9], 20);
    ChooseText(w.Combo2, "1&3");
    QCOMPARE(t->Image.Settings.KeyTable[0], 1);
    RadioMemory m{};
    PackKeys(m, t->Image.Settings);
    QCOMPARE(int(m[0x1A88]), 20);
    QCOMPARE(int(m[0x1A48]), 1);
}

void KeyWindowTest::ShowsTheStoredKeysOnTheirPages() {
    auto t = MakeTestProgram(kBandCB);
    auto& keys = t->Image.Settings.KeyTable;
    for (int k = 0; k < 18; ++k)
        keys[static_cast<size_t>(k + 1)] = static_cast<int16_t>(20 - k);
    keys[0] = 2;
    FrmKey w(*t);
    QCOMPARE(w.Combo2->currentText(), QString("2&3"));
    QCOMPARE(w.Combo1[0]->currentText(), QString("NULL"));
    QCOMPARE(w.Combo1[17]->currentText(), QString("EMG")); // code 3
    QCOMPARE(w.Combo1[6]->currentText(), QString("RB"));   // code 14
}

void KeyWindowTest::Captions() {
    auto t = MakeTestProgram(kBandCB);
    FrmKey w(*t);
    QCOMPARE(w.windowTitle(), Text(*t, 25000));
    for (int d = 0; d < 3; ++d)
        QCOMPARE(w.Frame1[static_cast<size_t>(d)]->title(), Text(*t, 25008) + " " + QString::number(d + 1));
    QCOMPARE(w.Label2->text(), Text(*t, 25007));
    QCOMPARE(w.Label2->geometry().right() + 1 + 7, w.Combo2->x());
    QCOMPARE(w.Combo1[0]->count(), 20);
    QCOMPARE(Entries(w.Combo2), (QStringList{"1&2", "1&3", "2&3", "1&2&3"}));
}

QTEST_MAIN(KeyWindowTest)
#include "KeyWindowTest.moc"
