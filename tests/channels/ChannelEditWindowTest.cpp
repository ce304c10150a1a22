// The channel edit dialog: loading, the FM-only plans, the common-data switch,
// the power and roger-beep lists, storing.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "ChannelWindowFixtures.h"
#include "channels/FrmCHInfoEdit.h"
#include "channels/GroupChoice.h"
#include "channels/frmCommChInfo.h"
#include "features/tonetips/ToneTipReferences.h"
#include "freq/ChannelEdit.h"
#include "state/lang/LangText.h"

using namespace tarvane;

namespace {
constexpr int CB = 0, HF = 1;
constexpr int kCE = 1, kMEM = 8;
constexpr int kAmFm = 8, kTxPower = 9, kRbTone = 10;

void Stand(Program& p, int group, int channel) {
    p.Image.Settings.Features.CurrentGroup = static_cast<int16_t>(group);
    p.ChannelTableChannel = static_cast<int16_t>(channel);
}

QStringList Entries(QComboBox* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->itemText(i);
    return out;
}
} // namespace

class ChannelEditWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void aCeChannelStoredWithAmBecomesFmWhenShown() {
        auto p = test::MakeTestProgram(CB);
        test::AddPlan(*p, kCE, 40, 26.965);
        test::RecordOf(*p, 45)->AM_FM = 1;
        test::RecordOf(*p, 46)->AM_FM = 1;
        Stand(*p, kCE, 5);
        FrmCHInfoEdit d(*p);
        QCOMPARE(test::RecordOf(*p, 45)->AM_FM, 0); // in the image, not only on screen
        QCOMPARE(d.OptionList(kAmFm)->currentText(), QString("FM"));
        QVERIFY(!d.OptionList(kAmFm)->isEnabled());
        QCOMPARE(test::RecordOf(*p, 46)->AM_FM, 1); // a channel not shown stays
    }

    void commonDataOnDisablesExactlyTheReplacedOptions_data() {
        QTest::addColumn<int>("publicValue");
        QTest::newRow("on") << 1;
        QTest::newRow("off") << 0;
    }
    void commonDataOnDisablesExactlyTheReplacedOptions() {
        QFETCH(int, publicValue);
        auto p = test::MakeTestProgram(HF);
        test::RecordOf(*p, 1)->Public = static_cast<int16_t>(publicValue);
        Stand(*p, 0, 1);
        FrmCHInfoEdit d(*p);
        const bool on = publicValue == 1;
        // Public, TSQ, Scan and both tone lists stay usable.
        const QSet<int> alwaysEnabled{0, 2, 3, 14, 15};
        for (int k = 0; k < FrmCHInfoEdit::kOptionLists; ++k)
            QVERIFY2(d.OptionList(k)->isEnabled() == (alwaysEnabled.contains(k) || !on),
                     qPrintable(QString::number(k)));
        QCOMPARE(d.OffsetBox()->isEnabled(), !on);
        QVERIFY(d.FreqBox()->isEnabled());
        // Switching it in the dialog stores it and follows at once.
        QVERIFY(test::Choose(d.OptionList(0), on ? "Off" : "On"));
        QCOMPARE(test::RecordOf(*p, 1)->Public, on ? 0 : 1);
        QCOMPARE(d.OptionList(1)->isEnabled(), on);
    }

    void thePowerListShrinksUnderAm() {
        auto p = test::MakeTestProgram(HF);
        ChannelRecord* r = test::RecordOf(*p, 1);
        r->Public = 0;
        r->Tx_Power = 2;
        Stand(*p, 0, 1);
        FrmCHInfoEdit d(*p);
        QCOMPARE(d.OptionList(kTxPower)->count(), 3);
        QCOMPARE(d.OptionList(kTxPower)->currentIndex(), 2);
        QVERIFY(test::Choose(d.OptionList(kAmFm), "AM"));
        QCOMPARE(r->AM_FM, 1);
        QCOMPARE(r->Tx_Power, 1);
        QCOMPARE(Entries(d.OptionList(kTxPower)),
                 QStringList({QString::fromStdString(LangText(*p, 15044_txt)),
                              QString::fromStdString(LangText(*p, 15045_txt))}));
        QCOMPARE(d.OptionList(kTxPower)->currentIndex(), 1);
    }

    void aSwitchedOffToneTipLeavesTheRogerBeepList() {
        auto p = test::MakeTestProgram(HF);
        auto& tips = p->Image.Settings.ToneTips;
        for (auto& t : tips)
            t = {};
        for (int n : {2, 3}) {
            tips[static_cast<size_t>(n - 1)].LoopCount = 1;
            tips[static_cast<size_t>(n - 1)].Pairs[0] = {100, 5};
        }
        ChannelRecord* r = test::RecordOf(*p, 1);
        r->Public = 0;
        r->RBTone = 3;
        Stand(*p, 0, 1);
        FrmCHInfoEdit d(*p);
        const QString none = QString::fromStdString(LangText(*p, 15030_txt));
        QCOMPARE(Entries(d.OptionList(kRbTone)), QStringList({none, "2", "3"}));
        QCOMPARE(d.OptionList(kRbTone)->currentText(), QString("3"));
        tips[2].LoopCount = 0; // the tone-tip editor switches tip 3 off
        RecheckToneTipReferences(*p);
        QCOMPARE(Entries(d.OptionList(kRbTone)), QStringList({none, "2"}));
        QCOMPARE(d.OptionList(kRbTone)->currentText(), none);
        QCOMPARE(r->RBTone, 0);
        QVERIFY(test::Choose(d.OptionList(kRbTone), "2"));
        QCOMPARE(r->RBTone, 2);
    }

    void aChannelWithoutRecordIsCreatedByTypingItsFrequency() {
        auto p = test::MakeTestProgram(HF);
        Stand(*p, 0, 1);
        FrmCHInfoEdit d(*p);
        QVERIFY(test::ShowAndWait(&d));
        QVERIFY(test::Choose(d.ChannelList(), "9"));
        QVERIFY(d.FreqBox()->text().isEmpty());
        d.FreqBox()->setFocus();
        QTest::keyClicks(d.FreqBox(), "28.5");
        QTest::keyClick(d.FreqBox(), Qt::Key_Return);
        const ChannelRecord* r = test::RecordOf(*p, 9);
        QVERIFY(r);
        QCOMPARE(QString::fromStdString(r->RxFreq.Trimmed()), QString("02850000"));
        // The dialog stays on its own channel after storing, though the table stands on channel 1.
        QCOMPARE(d.Channel(), 9);
        QCOMPARE(d.FreqBox()->text(), QString("28.50000"));
    }

    void theDialogFollowsTheTable() {
        auto p = test::MakeTestProgram(HF);
        test::AddPlan(*p, 0, 5, 28.0);
        frmCommChInfo table(*p);
        QVERIFY(test::ShowAndWait(&table));
        FrmCHInfoEdit d(*p);
        table.Grid()->setCurrentCell(3, 1);
        QCOMPARE(d.Channel(), 4);
        QCOMPARE(d.FreqBox()->text(), table.Grid()->item(3, 1)->text());
        table.ChooseGroup(11); // memory group: channel 1 of it
        QCOMPARE(d.Group(), 11);
        QCOMPARE(d.Channel(), 1);
        // A change in the dialog shows in the table row.
        QVERIFY(test::Choose(d.OptionList(3), "Del"));
        QCOMPARE(table.Grid()->item(0, 6)->text(), QString("Del"));
    }

    void escapeTakesBackTypingThenCloses() {
        auto p = test::MakeTestProgram(HF);
        test::AddPlan(*p, 0, 5, 28.0);
        Stand(*p, 0, 2);
        FrmCHInfoEdit d(*p);
        QVERIFY(test::ShowAndWait(&d));
        const QString loaded = d.FreqBox()->text();
        d.FreqBox()->setFocus();
        QTest::keyClicks(d.FreqBox(), "9");
        QTest::keyClick(d.FreqBox(), Qt::Key_Escape);
        QCOMPARE(d.FreqBox()->text(), loaded);
        QVERIFY(d.isVisible());
        QTest::keyClick(d.FreqBox(), Qt::Key_Escape);
        QVERIFY(!d.isVisible());
    }

    void theMemoryButtonStoresThePickedFrequency() {
        auto p = test::MakeTestProgram(CB);
        test::AddPlan(*p, kCE, 40, 26.965);
        Stand(*p, kMEM, 2);
        FrmCHInfoEdit d(*p);
        QVERIFY(test::ShowAndWait(&d));
        QVERIFY(d.MemButton()->isVisible());
        QVERIFY(d.FreqBox()->isReadOnly());
        QString offered;
        d.PickMemFreq = [&](const QString& current) {
            offered = current;
            return QString("26.98500");
        };
        QTest::mouseClick(d.MemButton(), Qt::LeftButton);
        QCOMPARE(offered, QString("28.14125")); // a memory channel above the band shows the "125" ending
        QCOMPARE(QString::fromStdString(test::RecordOf(*p, 403)->RxFreq.Trimmed()), QString("02698500"));
        QCOMPARE(d.FreqBox()->text(), QString("26.98500"));
        // The button belongs to the memory group only.
        QVERIFY(test::Choose(d.Groups()->CountryList1(), "EMG"));
        QVERIFY(!d.MemButton()->isVisible());
        QVERIFY(!d.FreqBox()->isReadOnly());
    }

    void cbHidesTheOptionsItHasNot() {
        auto cb = test::MakeTestProgram(CB);
        FrmCHInfoEdit c(*cb);
        QVERIFY(test::ShowAndWait(&c));
        auto hf = test::MakeTestProgram(HF);
        FrmCHInfoEdit h(*hf);
        QVERIFY(test::ShowAndWait(&h));
        for (int k : {1, 7, 9})
            QVERIFY(!c.OptionList(k)->isVisible());
        QVERIFY(!c.OffsetBox()->isVisible());
        QVERIFY(!h.OptionList(7)->isVisible());
        for (int k : {1, 9})
            QVERIFY(h.OptionList(k)->isVisible());
        QVERIFY(c.height() < h.height());
    }
};

QTEST_MAIN(ChannelEditWindowTest)
#include "ChannelEditWindowTest.moc"
