// The feature windows plugged into the frame.
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

#include "WindowTest.h"
#include "features/dtmf/FrmDTMF.h"
#include "features/emergency/Frm_EMG.h"
#include "features/keys/FrmKey.h"
#include "features/options/FrmOptFeatures.h"
#include "features/tonetips/FrmToneTips.h"
#include "frame/FeatureWindows.h"
#include "frame/frmMain.h"
#include "freq/Bands.h"
#include "state/Program.h"
#include <QTabBar>

using namespace tarvane;
using namespace tarvane::test;

class FeatureWindowsTest : public QObject {
    Q_OBJECT
  private slots:
    void KindsOpenOnceInTheFrame();
    void EmergencyWindowRunsModally();
    void TypedSwrLimitIsCommittedOnRequest();
};

void FeatureWindowsTest::KindsOpenOnceInTheFrame() {
    auto t = MakeTestProgram(kBandHF);
    frmMain m(*t);
    RegisterFeatureWindows(m);
    QWidget* opt = m.ShowFormOnce("FrmOptFeatures");
    QVERIFY(qobject_cast<FrmOptFeatures*>(opt));
    QCOMPARE(m.ShowFormOnce("FrmOptFeatures"), opt);
    QVERIFY(qobject_cast<FrmDTMF*>(m.ShowFormOnce("FrmDTMF")));
    QVERIFY(qobject_cast<FrmKey*>(m.ShowFormOnce("FrmKey")));
    QVERIFY(qobject_cast<FrmToneTips*>(m.ShowFormOnce("FrmToneTips")));
    QCOMPARE(m.FindChildWindow("FrmToneTips")->objectName(), QString("FrmToneTips"));
    // The windows follow each other: a tone tip change reaches the open options window.
    auto* o = qobject_cast<FrmOptFeatures*>(opt);
    const int before = o->Combo2[10]->count();
    t->Image.Settings.ToneTips[7].LoopCount = 1;
    t->Image.Settings.ToneTips[7].Pairs[0] = {100, 1};
    auto* tips = qobject_cast<FrmToneTips*>(m.FindChildWindow("FrmToneTips"));
    tips->TabStrip1->setCurrentIndex(7); // showing a tip runs the roger-beep check
    QCOMPARE(o->Combo2[10]->count(), before + 1);
    m.CloseCurAllWindows();
}

void FeatureWindowsTest::EmergencyWindowRunsModally() {
    auto t = MakeTestProgram(kBandCB);
    frmMain m(*t);
    RegisterFeatureWindows(m);
    bool seen = false;
    QTimer::singleShot(0, [&seen] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        seen = qobject_cast<Frm_EMG*>(d) != nullptr;
        if (d) d->reject();
    });
    QVERIFY(m.ShowDialogKind("Frm_EMG"));
    QVERIFY(seen);
}

void FeatureWindowsTest::TypedSwrLimitIsCommittedOnRequest() {
    auto t = MakeTestProgram(kBandCB);
    FrmOptFeatures w(*t);
    w.CommitEdit(); // nothing typed: nothing changes
    QCOMPARE(t->Image.Settings.Features.Options[kOptSwrLimit], 160);
    w.Text2->clear();
    QTest::keyClicks(w.Text2, "9.5");
    QMetaObject::invokeMethod(&w, "CommitEdit", Qt::DirectConnection);
    QCOMPARE(t->Image.Settings.Features.Options[kOptSwrLimit], 95);
    QCOMPARE(w.Text2->text(), QString("9.5"));
}

QTEST_MAIN(FeatureWindowsTest)
#include "FeatureWindowsTest.moc"
