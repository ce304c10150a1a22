// Every editor window over images no editor could have made: random bytes in
// every field of a file, or random radio memory decoded. The windows must open,
// take choices in every list and close without a crash (the sanitizers watch),
// without a flood of message boxes, and the image must still encode.
#include <QComboBox>
#include <QtTest>
#include <random>

#include "GuiTestSupport.h"
#include "RandomImages.h"
#include "image/CodeplugFile.h"
#include "memory/RadioMemory.h"

using namespace tarvane;
using namespace tarvane::test;

namespace {

const char* const kKinds[] = {"frmCommChInfo", "FrmCHInfoEdit", "FrmOptFeatures",
                              "FrmDTMF",       "FrmKey",        "FrmToneTips"};

// Opens each editor, then picks the first few entries of every list in it.
void ExerciseWindows(frmMain& frame) {
    for (const char* kind : kKinds) {
        QWidget* w = frame.ShowFormOnce(kind);
        QVERIFY2(w, kind);
        QApplication::processEvents();
        for (QComboBox* box : w->findChildren<QComboBox*>()) {
            if (!box->isEnabled() || !box->isVisibleTo(w)) continue;
            for (int i = 0; i < std::min(box->count(), 3); ++i) {
                box->setCurrentIndex(i);
                QApplication::processEvents();
                // A choice may close or rebuild the window; stop when it is gone.
                if (!frame.FindChildWindow(kind)) break;
            }
            if (!frame.FindChildWindow(kind)) break;
        }
    }
    frame.CloseCurAllWindows();
    QApplication::processEvents();
}

} // namespace

class HostileImageTest : public QObject {
    Q_OBJECT
  private slots:
    void windowsSurviveRandomFiles_data();
    void windowsSurviveRandomFiles();
    void windowsSurviveRandomRadioMemory_data();
    void windowsSurviveRandomRadioMemory();
};

void HostileImageTest::windowsSurviveRandomFiles_data() {
    QTest::addColumn<int>("band");
    QTest::addColumn<unsigned>("seed");
    for (int band = 0; band < 3; ++band)
        for (unsigned seed = 1; seed <= 3; ++seed)
            QTest::addRow("band %d seed %u", band, seed) << band << seed;
}

void HostileImageTest::windowsSurviveRandomFiles() {
    QFETCH(int, band);
    QFETCH(unsigned, seed);
    TestProgram t = MakeTestProgram(band);
    Program& p = *t;
    Dice dice(seed * 7919u + static_cast<unsigned>(band));
    p.Image = RandomFileImage(dice, band);
    p.Baseline = p.Image;
    frmMain frame(p);
    RegisterStandardWindows(frame);
    ExerciseWindows(frame);
    // A damaged image may explain itself once or twice, never once per row.
    QVERIFY2(t.script->shown.size() < 10, qPrintable(QString::number(t.script->shown.size())));
    EncodeRadioMemory(p);
    QVERIFY(SaveCodeplug(p, TempDir() + "/hostile.dat"));
    QVERIFY(p.Image.UsedCount() <= kMaxChannels);
}

void HostileImageTest::windowsSurviveRandomRadioMemory_data() {
    windowsSurviveRandomFiles_data();
}

void HostileImageTest::windowsSurviveRandomRadioMemory() {
    QFETCH(int, band);
    QFETCH(unsigned, seed);
    TestProgram t = MakeTestProgram(band);
    Program& p = *t;
    std::mt19937 rng(seed * 104729u + static_cast<unsigned>(band));
    for (auto& b : p.RadioMemoryBlock)
        b = static_cast<uint8_t>(rng());
    p.Link.Identity.RadioModelType = static_cast<uint8_t>(band);
    QVERIFY(DecodeRadioMemory(p));
    frmMain frame(p);
    RegisterStandardWindows(frame);
    ExerciseWindows(frame);
    QVERIFY2(t.script->shown.size() < 10, qPrintable(QString::number(t.script->shown.size())));
    EncodeRadioMemory(p);
    QVERIFY(SaveCodeplug(p, TempDir() + "/hostile-radio.dat"));
}

QTEST_MAIN(HostileImageTest)
#include "HostileImageTest.moc"
