// The optional-features window over a test program.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "WindowTest.h"
#include "features/dtmf/DtmfArea.h"
#include "features/options/FrmOptFeatures.h"
#include "features/tonetips/ToneTipReferences.h"
#include "freq/Bands.h"
#include "freq/ChannelEdit.h"
#include "state/Program.h"
#include "ui/FeatureWidgets.h"

using namespace tarvane;
using namespace tarvane::test;

class OptFeaturesWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void StoredSquelchOutsideTheListShowsTheFirstEntryAndStays_data();
    void StoredSquelchOutsideTheListShowsTheFirstEntryAndStays();
    void NumberOptionsShowTheirNumber();
    void AmLowersTheStoredPowerWhenShown();
    void ChoosingAmShortensThePowerListAndLowersThePower();
    void OffsetBoxStoresClampedSteppedValues_data();
    void OffsetBoxStoresClampedSteppedValues();
    void OffsetBoxShowsTheStoredValueOnLeaving();
    void SwrBoxStoresOnLeaving_data();
    void SwrBoxStoresOnLeaving();
    void SwrCheckBoxStoresItsState();
    void CountryChoicesOnCb_data();
    void CountryChoicesOnCb();
    void StoredUkShowsBothLists();
    void BandDecidesWhatIsShown();
    void WithoutDtmfCodesTheListsHoldOnlyNoneAndStore0();
    void UndefinedRogerBeepShowsFirstEntryAndStaysUntilTipsChange();
    void ToneTipChangeRebuildsRogerBeepList();
    void DtmfChangeRefillsListsKeepingTheShownEntry();
    void NotificationsChainAndUnhook();
    void OptionChoiceStoresIndexAndNumber();
};

void OptFeaturesWindowTest::StoredSquelchOutsideTheListShowsTheFirstEntryAndStays_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("shownIndex");
    QTest::newRow("off") << 0 << 0;
    QTest::newRow("28") << 28 << 28;
    QTest::newRow("29") << 29 << 0;
    QTest::newRow("negative") << -3 << 0;
}

void OptFeaturesWindowTest::StoredSquelchOutsideTheListShowsTheFirstEntryAndStays() {
    QFETCH(int, stored);
    QFETCH(int, shownIndex);
    auto t = MakeTestProgram(kBandCB);
    t->Image.Settings.Features.Options[kOptSquelch] = static_cast<int16_t>(stored);
    FrmOptFeatures w(*t);
    QCOMPARE(w.Combo1[6]->currentIndex(), shownIndex);
    QCOMPARE(w.Combo1[6]->itemText(0), Text(*t, 16040));
    QCOMPARE(t->Image.Settings.Features.Options[kOptSquelch], stored);
    Choose(w.Combo1[6], 0); // picking the entry shown stores it
    QCOMPARE(t->Image.Settings.Features.Options[kOptSquelch], 0);
}

void OptFeaturesWindowTest::NumberOptionsShowTheirNumber() {
    auto t = MakeTestProgram(kBandCB);
    auto& o = t->Image.Settings.Features.Options;
    o[kOptVolume] = 56;
    o[kOptBacklight] = 9; // not in "1".."3"
    FrmOptFeatures w(*t);
    QCOMPARE(w.Combo1[5]->currentText(), QString("56"));
    QCOMPARE(w.Combo1[4]->currentText(), QString("1"));
    QCOMPARE(o[kOptBacklight], 9);
}

void OptFeaturesWindowTest::AmLowersTheStoredPowerWhenShown() {
    auto t = MakeTestProgram(kBandHF);
    t->Image.Settings.CommonChannel.AM_FM = 1;
    t->Image.Settings.CommonChannel.Tx_Power = 2;
    FrmOptFeatures w(*t);
    QCOMPARE(t->Image.Settings.CommonChannel.Tx_Power, 1);
    QCOMPARE(w.Combo2[9]->count(), 2);
    QCOMPARE(w.Combo2[9]->currentIndex(), 1);
}

void OptFeaturesWindowTest::ChoosingAmShortensThePowerListAndLowersThePower() {
    auto t = MakeTestProgram(kBandHF);
    t->Image.Settings.CommonChannel.AM_FM = 0;
    t->Image.Settings.CommonChannel.Tx_Power = 2;
    FrmOptFeatures w(*t);
    QCOMPARE(w.Combo2[9]->count(), 3);
    Choose(w.Combo2[8], 1);
    QCOMPARE(t->Image.Settings.CommonChannel.AM_FM, 1);
    QCOMPARE(t->Image.Settings.CommonChannel.Tx_Power, 1);
    QCOMPARE(w.Combo2[9]->count(), 2);
    QCOMPARE(w.Combo2[9]->currentIndex(), 1);
    Choose(w.Combo2[8], 0);
    QCOMPARE(w.Combo2[9]->count(), 3);
    QCOMPARE(t->Image.Settings.CommonChannel.Tx_Power, 1);
}

void OptFeaturesWindowTest::OffsetBoxStoresClampedSteppedValues_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::newRow("1003") << "1003" << 1000;
    QTest::newRow("7") << "7" << 5;
    QTest::newRow("empty") << "" << 5;
    QTest::newRow("123") << "123" << 120;
}

void OptFeaturesWindowTest::OffsetBoxStoresClampedSteppedValues() {
    QFETCH(QString, typed);
    QFETCH(int, stored);
    auto t = MakeTestProgram(kBandHF);
    t->Image.Settings.CommonChannel.OffSetFre = 600;
    FrmOptFeatures w(*t);
    QCOMPARE(w.Text1->text(), QString("600"));
    w.Text1->setText(typed);
    QCOMPARE(t->Image.Settings.CommonChannel.OffSetFre, stored);
}

void OptFeaturesWindowTest::OffsetBoxShowsTheStoredValueOnLeaving() {
    auto t = MakeTestProgram(kBandHF);
    FrmOptFeatures w(*t);
    w.Text1->clear();
    QTest::keyClicks(w.Text1, "1x0a03");
    QCOMPARE(w.Text1->text(), QString("1003"));
    LeaveBox(w.Text1);
    QCOMPARE(w.Text1->text(), QString("1000"));
    QCOMPARE(t->Image.Settings.CommonChannel.OffSetFre, 1000);
}

void OptFeaturesWindowTest::SwrBoxStoresOnLeaving_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("stored");
    QTest::newRow("25") << "25"
                        << "20.0" << 200;
    QTest::newRow("6.96") << "6.96"
                          << "7.0" << 70;
    QTest::newRow("12.3") << "12.3"
                          << "12.3" << 123;
}

void OptFeaturesWindowTest::SwrBoxStoresOnLeaving() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, stored);
    auto t = MakeTestProgram(kBandCB);
    t->Image.Settings.Features.Options[kOptSwrLimit] = 160;
    FrmOptFeatures w(*t);
    QCOMPARE(w.Text2->text(), QString("16.0"));
    w.Text2->clear();
    QTest::keyClicks(w.Text2, typed);
    QCOMPARE(w.Text2->text(), typed);
    QCOMPARE(t->Image.Settings.Features.Options[kOptSwrLimit], 160); // not while typing
    LeaveBox(w.Text2);
    QCOMPARE(w.Text2->text(), shown);
    QCOMPARE(t->Image.Settings.Features.Options[kOptSwrLimit], stored);
}

void OptFeaturesWindowTest::SwrCheckBoxStoresItsState() {
    auto t = MakeTestProgram(kBandCB);
    t->Image.Settings.Features.Options[kOptSwrInUse] = 1;
    FrmOptFeatures w(*t);
    QVERIFY(w.Check1->isChecked());
    w.Check1->click();
    QCOMPARE(t->Image.Settings.Features.Options[kOptSwrInUse], 0);
    w.Check1->click();
    QCOMPARE(t->Image.Settings.Features.Options[kOptSwrInUse], 1);
}

void OptFeaturesWindowTest::CountryChoicesOnCb_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<int>("stored");
    QTest::addColumn<bool>("secondShown");
    QTest::newRow("EU") << "EU"
                        << "" << 0 << false;
    QTest::newRow("DE") << "DE"
                        << "" << 6 << false;
    QTest::newRow("UK then UK") << "UK"
                                << "UK" << 3 << true;
    QTest::newRow("UK then EI") << "UK"
                                << "EI" << 2 << true;
    QTest::newRow("UK alone") << "UK"
                              << "" << 2 << true; // opens the second list on "EI"
}

void OptFeaturesWindowTest::CountryChoicesOnCb() {
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(int, stored);
    QFETCH(bool, secondShown);
    auto t = MakeTestProgram(kBandCB);
    t->Image.Settings.Features.ActiveGroup = 5;
    FrmOptFeatures w(*t);
    QCOMPARE(w.Combo3->currentText(), QString("I2"));
    ChooseText(w.Combo3, first);
    if (!second.isEmpty()) ChooseText(w.Combo4, second);
    QCOMPARE(t->Image.Settings.Features.ActiveGroup, stored);
    QCOMPARE(w.Combo4->isVisibleTo(&w), secondShown);
    QCOMPARE(w.Combo1[1]->currentIndex(), stored);
}

void OptFeaturesWindowTest::StoredUkShowsBothLists() {
    auto t = MakeTestProgram(kBandCB);
    t->Image.Settings.Features.ActiveGroup = 3;
    FrmOptFeatures w(*t);
    QCOMPARE(w.Combo3->currentText(), QString("UK"));
    QVERIFY(w.Combo4->isVisibleTo(&w));
    QCOMPARE(w.Combo4->currentText(), QString("UK"));
    ChooseText(w.Combo3, "CE");
    QVERIFY(!w.Combo4->isVisibleTo(&w));
    QCOMPARE(t->Image.Settings.Features.ActiveGroup, 1);
}

void OptFeaturesWindowTest::BandDecidesWhatIsShown() {
    for (int band : {kBandCB, kBandHF, kBandHAM}) {
        auto t = MakeTestProgram(band);
        FrmOptFeatures w(*t);
        const bool cb = band == kBandCB;
        QCOMPARE(w.Combo3->isVisibleTo(&w), cb);
        QCOMPARE(w.Combo1[1]->isVisibleTo(&w), !cb);
        QCOMPARE(w.Combo2[1]->isVisibleTo(&w), !cb);
        QCOMPARE(w.Combo2[9]->isVisibleTo(&w), !cb);
        QCOMPARE(w.Text1->isVisibleTo(&w), !cb);
        QVERIFY(!w.Combo2[7]->isVisibleTo(&w));
        QVERIFY(!w.CommandHelp->isVisibleTo(&w));
        // Every label ends 100 twips (7 pixels) left of its list.
        for (int i = 0; i < 23; ++i)
            QCOMPARE(w.Label1[static_cast<size_t>(i)]->geometry().right() + 1 + 7,
                     w.Combo1[static_cast<size_t>(i)]->x());
        QCOMPARE(w.windowTitle(), Text(*t, 16000));
        QCOMPARE(w.Label2[2]->text(), Text(*t, 15007));
    }
}

void OptFeaturesWindowTest::WithoutDtmfCodesTheListsHoldOnlyNoneAndStore0() {
    auto t = MakeTestProgram(kBandCB);
    for (auto& c : t->Image.Settings.Dtmf.Codes)
        c.Length = 0;
    t->Image.Settings.CommonChannel.DTMF_EOT = 4;
    FrmOptFeatures w(*t);
    for (int j = 11; j <= 13; ++j) {
        QCOMPARE(Entries(w.Combo2[static_cast<size_t>(j)]), QStringList{Text(*t, 14013)});
        Choose(w.Combo2[static_cast<size_t>(j)], 0);
    }
    QCOMPARE(t->Image.Settings.CommonChannel.DTMF_EOT, 0);
}

void OptFeaturesWindowTest::UndefinedRogerBeepShowsFirstEntryAndStaysUntilTipsChange() {
    auto t = MakeTestProgram(kBandCB);
    t->Image.Settings.ToneTips[4].LoopCount = 0; // tip 5 not defined
    t->Image.Settings.CommonChannel.RBTone = 5;
    FrmOptFeatures w(*t);
    QCOMPARE(w.Combo2[10]->currentIndex(), 0);
    QVERIFY(w.Combo2[10]->findText("5") < 0);
    QCOMPARE(t->Image.Settings.CommonChannel.RBTone, 5);
    RecheckToneTipReferences(*t);
    QCOMPARE(t->Image.Settings.CommonChannel.RBTone, 0);
}

void OptFeaturesWindowTest::ToneTipChangeRebuildsRogerBeepList() {
    auto t = MakeTestProgram(kBandCB);
    for (ToneTipRecord& tip : t->Image.Settings.ToneTips)
        tip = ToneTipRecord{};
    FrmOptFeatures w(*t);
    QCOMPARE(w.Combo2[10]->count(), 1);
    ToneTipRecord& tip3 = t->Image.Settings.ToneTips[2];
    tip3.LoopCount = 1;
    tip3.Pairs[0] = {100, 5};
    RecheckToneTipReferences(*t);
    QCOMPARE(Entries(w.Combo2[10]), (QStringList{Text(*t, 15030), "3"}));
    ChooseText(w.Combo2[10], "3");
    QCOMPARE(t->Image.Settings.CommonChannel.RBTone, 3);
}

void OptFeaturesWindowTest::DtmfChangeRefillsListsKeepingTheShownEntry() {
    auto t = MakeTestProgram(kBandCB);
    for (auto& c : t->Image.Settings.Dtmf.Codes)
        c.Length = 0;
    StoreDtmfCode(*t, 5, "12");
    StoreDtmfCode(*t, 6, "34");
    auto& cc = t->Image.Settings.CommonChannel;
    cc.DTMF_BOT = 5;
    cc.DTMF_EOT = 6;
    FrmOptFeatures w(*t);
    QCOMPARE(w.Combo2[11]->currentText(), QString("5"));
    StoreDtmfCode(*t, 2, "9"); // a new code: lists grow, choices stay
    QCOMPARE(Entries(w.Combo2[11]), (QStringList{Text(*t, 14013), "2", "5", "6"}));
    QCOMPARE(w.Combo2[11]->currentText(), QString("5"));
    StoreDtmfCode(*t, 5, ""); // removed: references cleared, list shows none
    QCOMPARE(cc.DTMF_BOT, 0);
    QCOMPARE(cc.DTMF_EOT, 6);
    QCOMPARE(w.Combo2[11]->currentIndex(), 0);
    QCOMPARE(w.Combo2[12]->currentText(), QString("6"));
}

void OptFeaturesWindowTest::NotificationsChainAndUnhook() {
    auto t = MakeTestProgram(kBandCB);
    int earlier = 0;
    Subscription outside = t->Notify.dtmfCodesChanged.Subscribe([&earlier] { ++earlier; });
    // Windows replaced in either order: each one going leaves the others listening.
    auto* first = new FrmOptFeatures(*t);
    auto* second = new FrmOptFeatures(*t);
    delete first; // the older goes after the newer has subscribed, as on a reopen
    StoreDtmfCode(*t, 2, "12");
    QCOMPARE(earlier, 1);
    QVERIFY(second->Combo2[11]->findText("2") > 0); // the surviving window refilled its list
    auto* third = new FrmOptFeatures(*t);
    delete second;
    StoreDtmfCode(*t, 3, "123");
    QCOMPARE(earlier, 2);
    QVERIFY(third->Combo2[11]->findText("3") > 0);
    delete third;
    StoreDtmfCode(*t, 1, "1234");
    QCOMPARE(earlier, 3);
    QCOMPARE(t->Notify.dtmfCodesChanged.Listeners(), size_t(1));
}

void OptFeaturesWindowTest::OptionChoiceStoresIndexAndNumber() {
    auto t = MakeTestProgram(kBandHF);
    FrmOptFeatures w(*t);
    Choose(w.Combo1[5], 41); // volume "42"
    QCOMPARE(t->Image.Settings.Features.Options[kOptVolume], 42);
    Choose(w.Combo1[3], 12); // time-out timer, position
    QCOMPARE(t->Image.Settings.Features.Options[kOptTimeOutTimer], 12);
    Choose(w.Combo1[1], 11); // "EMG" on HF stores its list position
    QCOMPARE(t->Image.Settings.Features.ActiveGroup, 11);
    Choose(w.Combo1[22], 1);
    QCOMPARE(t->Image.Settings.Features.DisplayMode, 1);
}

QTEST_MAIN(OptFeaturesWindowTest)
#include "OptFeaturesWindowTest.moc"
