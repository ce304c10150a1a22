// The memory-frequency picker.
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "ChannelWindowFixtures.h"
#include "features/memfreq/Frm_Mem_Freq.h"

using namespace tarvane;

namespace {
constexpr int CB = 0;
constexpr int kCE = 1, kUK = 3, kDE = 6;
} // namespace

class MemFreqWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void anEmptyBoxSelectsOff() {
        auto p = test::MakeTestProgram(CB);
        test::AddPlan(*p, kCE, 40, 26.965);
        Frm_Mem_Freq w(*p, "");
        QCOMPARE(w.GroupList()->currentText(), QString("Off"));
        QCOMPARE(w.GroupList()->count(), 9);
        QCOMPARE(w.ChannelList()->count(), 0);
        QCOMPARE(w.FreqText(), QString());
    }

    void deOffersEightyChannelsAndCeStartsAtChannelOne() {
        auto p = test::MakeTestProgram(CB);
        test::AddPlan(*p, kCE, 40, 26.965);
        test::AddPlan(*p, kDE, 80, 26.965);
        Frm_Mem_Freq w(*p, "");
        QVERIFY(test::Choose(w.GroupList(), "DE"));
        QCOMPARE(w.ChannelList()->count(), 80);
        QVERIFY(test::Choose(w.ChannelList(), "60"));
        QCOMPARE(w.FreqText(), QString("27.26000"));
        QVERIFY(test::Choose(w.GroupList(), "CE"));
        QCOMPARE(w.ChannelList()->count(), 40);
        QCOMPARE(w.ChannelList()->currentText(), QString("1"));
        QCOMPARE(w.FreqText(), QString("26.96500"));
        // A channel within both plans keeps its number.
        QVERIFY(test::Choose(w.ChannelList(), "7"));
        QVERIFY(test::Choose(w.GroupList(), "DE"));
        QCOMPARE(w.ChannelList()->currentText(), QString("7"));
        QVERIFY(test::Choose(w.GroupList(), "Off"));
        QCOMPARE(w.ChannelList()->count(), 0);
        QCOMPARE(w.FreqText(), QString());
    }

    void theNearestPlanChannelIsPreselected() {
        auto p = test::MakeTestProgram(CB);
        test::AddPlan(*p, kCE, 10, 26.965); // 26.965 .. 27.010
        test::AddPlan(*p, kUK, 10, 27.300); // 27.300 .. 27.345, shown with "125"
        Frm_Mem_Freq w(*p, "27.3230");
        QCOMPARE(w.GroupList()->currentText(), QString("UK"));
        QCOMPARE(w.ChannelList()->currentText(), QString("5"));
        QCOMPARE(w.FreqText(), QString("27.3230")); // the box keeps what it was given
        QVERIFY(test::Choose(w.ChannelList(), "6"));
        QCOMPARE(w.FreqText(), QString("27.32125"));
    }

    void aChannelThePlanDoesNotHoldKeepsTheFrequency() {
        auto p = test::MakeTestProgram(CB);
        test::AddPlan(*p, kCE, 3, 26.965);
        Frm_Mem_Freq w(*p, "26.97000");
        QCOMPARE(w.ChannelList()->currentText(), QString("2"));
        QVERIFY(test::Choose(w.ChannelList(), "30"));
        QCOMPARE(w.FreqText(), QString("26.97000"));
        QVERIFY(test::Choose(w.GroupList(), "PL"));
        QCOMPARE(w.FreqText(), QString("26.97000"));
    }

    void aTextThatIsNoNumberOpensWithOff() {
        auto p = test::MakeTestProgram(CB);
        test::AddPlan(*p, kCE, 3, 26.965);
        Frm_Mem_Freq w(*p, "abc");
        QCOMPARE(w.GroupList()->currentIndex(), 0);
        QCOMPARE(w.FreqText(), QString("abc"));
        QVERIFY(p.script->shown.empty());
    }
};

QTEST_MAIN(MemFreqWindowTest)
#include "MemFreqWindowTest.moc"
